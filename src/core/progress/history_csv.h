#pragma once
// The history as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so the Japanese is
// read as such), a header row, one row per run, ISO 8601 times, fields quoted where needed.
#include <string>
#include <string_view>

namespace kibiki {

class CUserSettings;
enum class FileFault;

// The CSV of a history's bytes (CP932, CR LF or LF): a row for every non-empty line.
std::string HistoryCsv(std::string_view history);

// The CSV of the user's whole history written to strCsvPath (UTF-8), however large the history
// has grown: read and written a piece at a time, so memory stays small. The file is replaced
// whole (a temporary file beside it, renamed over it; a symbolic link keeps its link and its
// target is replaced): a failure leaves what was there. False
// with *pFault (when given) saying why.
bool SaveHistoryCsv(const CUserSettings& settings, const std::string& strCsvPath, FileFault* pFault = nullptr);

// The message for a CSV file that could not be saved: the path and the reason (CP932).
std::string CsvSaveFailedText(const std::string& strCsvPath, FileFault fault);

// One field, quoted when it holds a comma, a quote or a line break (quotes doubled). A text a
// spreadsheet would take for a formula (=, +, -, @ first) gets a leading apostrophe. NUL bytes
// are left out: spreadsheets end a cell at one.
std::string CsvField(const std::string& strUtf8, bool bText = true);

}  // namespace kibiki
