#pragma once
// The user's history file "<user>.hst" in the settings folder: one CP932 line per finished run,
// "date,lesson,speed,accuracy,missed keys" with CR LF. Only ever appended to, read whole or
// deleted.
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

class CUserSettings;
class Messenger;

// UTF-8 file-system path of the current user's history file.
std::string HistoryPath(const CUserSettings& settings);

// Appends one record in a single write, so that two running copies never interleave lines.
// The speed text loses its "／分" and the accuracy text its "％"; a "," in the lesson text
// becomes "，" and runs of spaces become one, so the record reads back with the same fields.
// A failure is told through pMessenger (may be null) and returns false.
bool AppendHistory(const CUserSettings& settings, const std::string& strDate,
                   const std::string& strLesson, const std::string& strSpeed,
                   const std::string& strAccuracy, const std::string& strMissed,
                   Messenger* pMessenger);

// One record as the history dialog shows it (CP932).
struct HistoryRow {
    std::string strTime;
    std::string strLesson;    // "31" reads "Lesson3(ローマ字)"; a custom name stays as it is
    std::string strSpeed;
    std::string strAccuracy;
    std::string strTopThree;  // "A…3回　K…2回　S…1回　", or "間違いはありません"
    std::string strDetails;   // "A…3回\r\nK…2回\r\n...", empty without misses
};

HistoryRow ParseHistoryLine(std::string_view line);
// Every non-empty line of a file's contents, in order; accepts CR LF and LF.
std::vector<HistoryRow> ParseHistory(std::string_view text);
// The whole file; a missing file has no records.
std::vector<HistoryRow> ReadHistory(const CUserSettings& settings);

}  // namespace kibiki
