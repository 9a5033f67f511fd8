#pragma once
// The history file's records as numbers for charts, counts and export: when, which lesson, how
// fast, how accurate and which keys were missed. Fields that do not read as what they should be
// are marked as missing, never guessed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kibiki {

// Minutes since 1970-01-01 00:00 of the record's own (local) clock; kNoTime when unreadable.
constexpr std::int64_t kNoTime = INT64_MIN;

struct HistoryRecord {
    std::int64_t nMinute = kNoTime;
    double dSpeed = -1;     // keystrokes per minute; < 0 when unreadable
    double dAccuracy = -1;  // percent; < 0 when unreadable
    int nMode = -1;         // built-in lesson: practice mode 0-4; -1 for a custom lesson
    int nLesson = 0;        // built-in lesson 1-7; 0 for a custom lesson
    // Byte ranges of the record's line in the history text.
    std::size_t nLine = 0, nLineLength = 0;
    std::size_t nName = 0, nNameLength = 0;      // the lesson field
    std::size_t nMisses = 0, nMissesLength = 0;  // the missed-keys field
    bool IsBuiltIn() const { return nMode >= 0; }
};

class CHistoryRecords {
public:
    CHistoryRecords() = default;
    // A history file's bytes (CP932, CR LF or LF); every non-empty line is a record, in order.
    explicit CHistoryRecords(std::string text);

    std::size_t size() const { return m_aRecords.size(); }
    bool empty() const { return m_aRecords.empty(); }
    const HistoryRecord& operator[](std::size_t n) const { return m_aRecords[n]; }
    const std::vector<HistoryRecord>& Records() const { return m_aRecords; }

    std::string_view Line(std::size_t n) const;
    std::string_view DateField(std::size_t n) const;  // field 1 as written
    std::string_view LessonField(std::size_t n) const;
    // (key text, count) in written order; pairs whose count is no number are left out.
    std::vector<std::pair<std::string_view, int>> Misses(std::size_t n) const;
    // The same without building a vector: fn(key, count) for each pair.
    template <class Fn> void ForEachMiss(std::size_t n, Fn&& fn) const;

    // The distinct custom lesson names, in order of first appearance.
    std::vector<std::string> CustomNames() const;

private:
    static std::size_t NextPair(std::string_view& keys, std::string_view& counts,
                                std::string_view& key, int& count);
    std::string m_strText;
    std::vector<HistoryRecord> m_aRecords;
};

// "2004年05月06日 09:07" as minutes since 1970-01-01 00:00; kNoTime when it is not that form.
std::int64_t ParseHistoryDate(std::string_view date);
// Minutes since 1970-01-01 00:00 as "2004-05-06T09:07".
std::string IsoMinute(std::int64_t nMinute);

template <class Fn> void CHistoryRecords::ForEachMiss(std::size_t n, Fn&& fn) const {
    const HistoryRecord& r = m_aRecords[n];
    std::string_view field = std::string_view(m_strText).substr(r.nMisses, r.nMissesLength);
    const std::size_t twoSpaces = field.find("  ");
    if (twoSpaces == std::string_view::npos) return;
    std::string_view keys = field.substr(0, twoSpaces + 1), counts = field.substr(twoSpaces + 2);
    std::string_view key;
    int count = 0;
    for (;;) {
        const std::size_t got = NextPair(keys, counts, key, count);
        if (got == 0) break;
        if (got == 1) fn(key, count);
    }
}

}  // namespace kibiki
