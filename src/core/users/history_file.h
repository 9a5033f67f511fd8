#pragma once
// The user's history file "<user>.hst" in the settings folder: one CP932 line per finished run,
// "date,lesson,speed,accuracy,missed keys" with CR LF. Only ever appended to, read whole or
// deleted.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "users/history_record.h"

namespace kibiki {

class CUserSettings;
class Messenger;

// UTF-8 file-system path of the current user's history file.
std::string HistoryPath(const CUserSettings& settings);

// Appends one record in a single write under a lock, so that two running copies never
// interleave lines; a failed write leaves the file as it was.
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

HistoryRow HistoryRowOf(const HistoryRecord& record);
HistoryRow ParseHistoryLine(std::string_view line);

// Every record of a history for the history list. A year of daily practice is thousands of
// rows and the list must open fast however long it has grown: the records are read once (and
// shared with the progress pages) and a cell's text is made from its record when asked for;
// only the rows holding each column's longest texts are remembered, for sizing the columns.
class CHistoryRows {
public:
    enum Column { COL_TIME, COL_LESSON, COL_SPEED, COL_ACCURACY, COL_TOP_THREE, COL_COUNT };
    // How many of the longest rows each column remembers.
    static constexpr std::size_t kLongestKept = 32;

    CHistoryRows() = default;
    explicit CHistoryRows(std::shared_ptr<const CHistoryRecords> pRecords);
    // Takes a history file's bytes: every non-empty line is a row, in order; CR LF or LF.
    explicit CHistoryRows(std::string text);

    std::size_t size() const { return m_pRecords ? m_pRecords->size() : 0; }
    bool empty() const { return size() == 0; }
    HistoryRow operator[](std::size_t nRow) const;
    // CP932 text of one cell (nColumn a Column); empty outside the rows.
    std::string Text(std::size_t nRow, int nColumn) const;
    // "A…3回\r\n..." of the row, empty without misses.
    std::string Details(std::size_t nRow) const;

    // Up to n (at most kLongestKept) rows whose text in the column has the most bytes, longest
    // first: where a list finds its widest text without measuring every row (a double-byte
    // character is about twice as wide as a single-byte one, as in CP932).
    std::vector<std::size_t> LongestRows(int nColumn, std::size_t n) const;

    void clear();

private:
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    std::vector<std::pair<std::size_t, std::size_t>> m_aLongest[COL_COUNT];  // (bytes, row), unordered
};

CHistoryRows ParseHistory(std::string_view text);
// The whole file, or its newest kHistoryReadCap bytes from the first line that starts in them; a
// missing file, or one that is not a regular file, has no records.
CHistoryRows ReadHistory(const CUserSettings& settings);
// The same bytes unparsed; *pbNewestOnly (when given) says whether older runs were left out.
std::string ReadHistoryText(const CUserSettings& settings, bool* pbNewestOnly = nullptr);
// The same records, once, for the list and the progress pages to share.
std::shared_ptr<const CHistoryRecords> ReadHistoryRecords(const CUserSettings& settings,
                                                          bool* pbNewestOnly = nullptr);
// What the history dialog says when older runs were left out: the newest nRuns are shown.
std::string NewestRunsNotice(std::size_t nRuns);
// Decades of daily practice fill a few MB; the cap keeps a damaged file from filling memory.
constexpr std::size_t kHistoryReadCap = 64u << 20;

// Deletes the user's history file. A file already gone is no failure; any other failure is told
// through pMessenger (may be null) and returns false.
bool DeleteHistory(const CUserSettings& settings, Messenger* pMessenger);
// "履歴削除": asks the user first. True when the history is gone (deleted, or there was none).
bool AskAndDeleteHistory(const CUserSettings& settings, Messenger& messenger);

}  // namespace kibiki
