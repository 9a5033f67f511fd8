#pragma once
// The history as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so the Japanese is
// read as such), a header row, one row per run, ISO 8601 times, fields quoted where needed.
#include <string>

#include "users/history_record.h"

namespace kibiki {

std::string HistoryCsv(const CHistoryRecords& records);

// One field, quoted when it holds a comma, a quote or a line break (quotes doubled). A text a
// spreadsheet would take for a formula (=, +, -, @ first) gets a leading apostrophe.
std::string CsvField(const std::string& strUtf8, bool bText = true);

}  // namespace kibiki
