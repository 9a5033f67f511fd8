#pragma once
// One line of the history file read once into its fields, "date,lesson,speed,accuracy,missed
// keys" (CP932): the list, the chart, the weak keys, the drill and the CSV all read this. Also
// the missed keys of a run as data, formatted only where the file or the screen needs text, and
// the two ways a lesson field is named.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

// --- missed keys -------------------------------------------------------------------------------

// A key as the lesson-end dialog names it (CP932: "A", "ち", "゛", "・", "スペース") and how often
// it was missed; a run's keys, most missed first.
struct MissedKey {
    std::string strKey;
    int nCount = 0;
};

// The same inside the bytes of a history.
struct MissedKeyView {
    std::string_view strKey;
    int nCount = 0;
    bool operator==(const MissedKeyView&) const = default;
};

std::vector<MissedKeyView> ViewsOf(const std::vector<MissedKey>& keys);

// The list and the lesson end show the most missed keys, "すべて表示" every one.
constexpr std::size_t kTopMissedKeys = 3;

// The history file's fifth field: each key and a space, one more space, each count and a space
// ("A S  5 1 "); " " without misses.
std::string MissedKeysField(std::span<const MissedKeyView> keys);
// The history list's column: the first three as "A…3回　" each; "間違いはありません" without misses.
std::string HistoryTopThree(std::span<const MissedKeyView> keys);
// The lesson-end dialog's line: the first three "A…3回" joined by wide spaces, with one after
// each when there are fewer than three; "間違いはありませんでした" without misses.
std::string LessonEndTopThree(std::span<const MissedKeyView> keys);
// Every key on a line of its own, "A…3回\r\n"; empty without misses.
std::string MissedKeyLines(std::span<const MissedKeyView> keys);
// The lesson-end dialog's full list: the lines, or "間違いはありませんでした" without misses.
std::string LessonEndDetails(std::span<const MissedKeyView> keys);

// --- lesson names -------------------------------------------------------------------------------

// How both readings name a built-in lesson: "Lesson3(ローマ字)"; a mode outside 0-4 adds nothing.
std::string BuiltInLessonName(int nLesson, int nMode);

// The history list (and the CSV) read a lesson field as the rules do: two leading digits are a
// lesson and a mode whatever follows ("10分の練習" reads "Lesson1(かな)"); anything else is a
// custom lesson's name as written.
std::string LessonName(std::string_view field);

// The chart reads it strictly: exactly two digits, lesson 1-7 and mode 0-4, or nothing (a
// custom lesson: "10分の練習", "81", "15").
struct LessonAndMode {
    int nLesson = 0;
    int nMode = 0;
};
std::optional<LessonAndMode> ChartLesson(std::string_view field);

// --- dates --------------------------------------------------------------------------------------

// Minutes since 1970-01-01 00:00 of the record's own (local) clock; kNoTime when unreadable.
constexpr std::int64_t kNoTime = INT64_MIN;

// "2004年05月06日 09:07" as minutes since 1970-01-01 00:00; kNoTime when it is not that form or
// no such day (2004年02月31日, year 0000).
std::int64_t ParseHistoryDate(std::string_view date);
// Minutes since 1970-01-01 00:00 as "2004-05-06T09:07".
std::string IsoMinute(std::int64_t nMinute);

// --- records ------------------------------------------------------------------------------------

// What a real record can hold, and what reading keeps of a damaged one: a run misses at most one
// entry per byte value, a lesson's name is a line of its file. Longer fields are cut (whole
// characters), further keys left out.
constexpr std::size_t kHistoryTextCap = 64;       // date, speed and accuracy as written
constexpr std::size_t kHistoryLessonCap = 400;    // the lesson field
constexpr std::size_t kHistoryKeyCap = 32;        // one missed key's text; longer is damage
constexpr std::size_t kHistoryMissedKeysCap = 256;

struct HistoryRecord {
    // The fields as written (cut to the caps); they point into the history's bytes.
    std::string_view strDate, strLesson, strSpeed, strAccuracy;
    std::int64_t nMinute = kNoTime;
    int nSpeed = -1;     // keystrokes per minute as the program writes it; -1 when damaged
    int nAccuracy = -1;  // percent 0-100; -1 when damaged
    int nLesson = 0;     // the chart's reading: built-in lesson 1-7, 0 for a custom lesson
    int nMode = -1;      // practice mode 0-4 of a built-in lesson; -1 for a custom lesson
    // Pairs whose key is empty or over kHistoryKeyCap, or whose count is no whole number over
    // 0, are left out; a key without its count ends the list.
    std::span<const MissedKeyView> misses;
    bool IsBuiltIn() const { return nMode >= 0; }
};

// The (key, count text) pairs of a record's fifth field as written, in order, at most
// kHistoryMissedKeysCap of them: keys up to and including the first of two spaces, counts after
// both; a key without its count ends the list. The record keeps only the pairs whose key and
// count are sound; the CSV also writes a count too large for a number as its digits.
class MissedPairReader {
public:
    explicit MissedPairReader(std::string_view field);
    bool Next(std::string_view& key, std::string_view& count);

private:
    std::string_view m_keys, m_counts;
    std::size_t m_nPairs = 0;
};

// One line without its line break; the record points into line and, for its missed keys, into
// aMisses (appended to: valid until aMisses grows again).
HistoryRecord ParseHistoryRecord(std::string_view line, std::vector<MissedKeyView>& aMisses);

// Every record of a history's bytes (CP932, CR LF or LF), each parsed once; every non-empty line
// is a record, in order. Move-only: the records point into the bytes it holds.
class CHistoryRecords {
public:
    CHistoryRecords() = default;
    explicit CHistoryRecords(std::string text);

    std::size_t size() const { return m_aRecords.size(); }
    bool empty() const { return m_aRecords.empty(); }
    const HistoryRecord& operator[](std::size_t n) const { return m_aRecords[n]; }
    const std::vector<HistoryRecord>& Records() const { return m_aRecords; }

    // The distinct custom lesson names, in order of first appearance.
    std::vector<std::string> CustomNames() const;

private:
    std::unique_ptr<const std::string> m_pText;
    std::vector<MissedKeyView> m_aMisses;
    std::vector<HistoryRecord> m_aRecords;
};

}  // namespace kibiki
