#include "users/history_record.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <unordered_set>

#include "kana/practice_mode.h"
#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

const std::string& Ellipsis() {
    static const std::string s = StringOrEmpty(IDS_ELLIPSIS);
    return s;
}
const std::string& Times() {
    static const std::string s = StringOrEmpty(IDS_TIMES);
    return s;
}
const std::string& WideSpace() {
    static const std::string s = StringOrEmpty(IDS_WIDE_SPACE);
    return s;
}

void AppendCount(std::string& out, int n) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

// "A…3回"
void AppendEntry(std::string& out, const MissedKeyView& key) {
    out += key.strKey;
    out += Ellipsis();
    AppendCount(out, key.nCount);
    out += Times();
}

// A whole number written as digits only; false for a sign, a point, an exponent or overflow.
bool ReadWhole(std::string_view s, int& n) {
    if (s.empty() || s[0] < '0' || s[0] > '9') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && end == s.data() + s.size();
}

// Up to nCap bytes, whole characters only.
std::string_view Cut(std::string_view s, std::size_t nCap) {
    if (s.size() <= nCap) return s;
    std::size_t n = 0;
    while (n < s.size()) {
        const std::size_t len = CharLenAt(s, n);
        if (n + len > nCap) break;
        n += len;
    }
    return s.substr(0, n);
}

// Reads exactly nDigits decimal digits off the front.
bool TakeNumber(std::string_view& s, std::size_t nDigits, int& value) {
    if (s.size() < nDigits) return false;
    value = 0;
    for (std::size_t i = 0; i < nDigits; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    s.remove_prefix(nDigits);
    return true;
}

bool TakeText(std::string_view& s, std::string_view text) {
    if (s.substr(0, text.size()) != text) return false;
    s.remove_prefix(text.size());
    return true;
}

// The fastest speed a record can say: every key of a lesson within a millisecond.
constexpr int kMaxSpeed = 1000000000;

// The record with its missed keys as (first, count) in aMisses; the span is set by the caller.
HistoryRecord Parse(std::string_view line, std::vector<MissedKeyView>& aMisses, std::size_t& nFirst,
                    std::size_t& nCount) {
    HistoryRecord r;
    // Four fields up to the first four commas; the fifth is the rest.
    std::string_view fields[4];
    std::size_t pos = 0;
    bool bFifth = true;
    for (auto& field : fields) {
        const std::size_t comma = line.find(',', pos);
        if (comma == std::string_view::npos) {
            field = line.substr(std::min(pos, line.size()));
            bFifth = false;
            pos = line.size();
            break;
        }
        field = line.substr(pos, comma - pos);
        pos = comma + 1;
    }
    r.strDate = Cut(fields[0], kHistoryTextCap);
    r.strLesson = Cut(fields[1], kHistoryLessonCap);
    r.strSpeed = Cut(fields[2], kHistoryTextCap);
    r.strAccuracy = Cut(fields[3], kHistoryTextCap);
    r.nMinute = ParseHistoryDate(fields[0]);
    if (const auto lesson = ChartLesson(fields[1])) {
        r.nLesson = lesson->nLesson;
        r.nMode = lesson->nMode;
    }
    if (int n; ReadWhole(fields[2], n) && n <= kMaxSpeed) r.nSpeed = n;
    if (int n; ReadWhole(fields[3], n) && n <= 100) r.nAccuracy = n;

    nFirst = aMisses.size();
    nCount = 0;
    if (!bFifth) return r;
    MissedPairReader pairs(line.substr(pos));
    for (std::string_view key, countText; pairs.Next(key, countText);) {
        int count = 0;
        if (!key.empty() && key.size() <= kHistoryKeyCap && ReadWhole(countText, count) && count > 0) {
            aMisses.push_back({key, count});
            ++nCount;
        }
    }
    return r;
}

}  // namespace

MissedPairReader::MissedPairReader(std::string_view field) {
    const std::size_t twoSpaces = field.find("  ");
    if (twoSpaces == std::string_view::npos) return;
    m_keys = field.substr(0, twoSpaces + 1);
    m_counts = field.substr(twoSpaces + 2);
}

bool MissedPairReader::Next(std::string_view& key, std::string_view& count) {
    if (m_nPairs >= kHistoryMissedKeysCap) return false;
    const std::size_t keyEnd = m_keys.find(' ');
    const std::size_t countEnd = m_counts.find(' ');
    if (keyEnd == std::string_view::npos || countEnd == std::string_view::npos) return false;
    key = m_keys.substr(0, keyEnd);
    count = m_counts.substr(0, countEnd);
    m_keys.remove_prefix(keyEnd + 1);
    m_counts.remove_prefix(countEnd + 1);
    ++m_nPairs;
    return true;
}

std::vector<MissedKeyView> ViewsOf(const std::vector<MissedKey>& keys) {
    std::vector<MissedKeyView> views;
    views.reserve(keys.size());
    for (const MissedKey& k : keys) views.push_back({k.strKey, k.nCount});
    return views;
}

std::string MissedKeysField(std::span<const MissedKeyView> keys) {
    std::string field;
    for (const auto& k : keys) field.append(k.strKey) += ' ';
    field += ' ';
    for (const auto& k : keys) {
        AppendCount(field, k.nCount);
        field += ' ';
    }
    return field;
}

std::string HistoryTopThree(std::span<const MissedKeyView> keys) {
    if (keys.empty()) {
        static const std::string noMisses = StringOrEmpty(IDS_NO_MISSES);
        return noMisses;
    }
    std::string text;
    for (const auto& k : keys.first(std::min<std::size_t>(keys.size(), kTopMissedKeys))) {
        AppendEntry(text, k);
        text += WideSpace();
    }
    return text;
}

std::string LessonEndTopThree(std::span<const MissedKeyView> keys) {
    if (keys.empty()) return StringOrEmpty(IDS_NO_MISSES_AT_ALL);
    std::string text;
    for (std::size_t i = 0; i < keys.size() && i < kTopMissedKeys; ++i) {
        if (i > 0) text += WideSpace();
        AppendEntry(text, keys[i]);
    }
    if (keys.size() < kTopMissedKeys) text += WideSpace();
    return text;
}

std::string MissedKeyLines(std::span<const MissedKeyView> keys) {
    std::string text;
    for (const auto& k : keys) {
        AppendEntry(text, k);
        text += "\r\n";
    }
    return text;
}

std::string LessonEndDetails(std::span<const MissedKeyView> keys) {
    return keys.empty() ? StringOrEmpty(IDS_NO_MISSES_AT_ALL) : MissedKeyLines(keys);
}

std::string BuiltInLessonName(int nLesson, int nMode) {
    std::string name = "Lesson" + std::to_string(nLesson);
    static const std::string suffixes[5] = {
        StringOrEmpty(IDS_SUFFIX_FIRST), StringOrEmpty(IDS_SUFFIX_FIRST + 1),
        StringOrEmpty(IDS_SUFFIX_FIRST + 2), StringOrEmpty(IDS_SUFFIX_FIRST + 3),
        StringOrEmpty(IDS_SUFFIX_FIRST + 4)};
    if (IsKnownMode(static_cast<PracticeMode>(nMode))) name += suffixes[nMode];
    return name;
}

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string LessonName(std::string_view field) {
    if (field.size() < 2 || !IsDigit(field[0]) || !IsDigit(field[1])) return std::string(field);
    return BuiltInLessonName(field[0] - '0', field[1] - '0');
}

std::optional<LessonAndMode> ChartLesson(std::string_view field) {
    if (field.size() != 2 || field[0] < '1' || field[0] > '7' || field[1] < '0' || field[1] > '4')
        return std::nullopt;
    return LessonAndMode{field[0] - '0', field[1] - '0'};
}

std::int64_t ParseHistoryDate(std::string_view date) {
    static const std::string nen = Utf8ToCp932("年"), gatsu = Utf8ToCp932("月"), nichi = Utf8ToCp932("日");
    int y, mo, d, h, mi;
    if (!TakeNumber(date, 4, y) || !TakeText(date, nen) || !TakeNumber(date, 2, mo) ||
        !TakeText(date, gatsu) || !TakeNumber(date, 2, d) || !TakeText(date, nichi) ||
        !TakeText(date, " ") || !TakeNumber(date, 2, h) || !TakeText(date, ":") ||
        !TakeNumber(date, 2, mi) || !date.empty())
        return kNoTime;
    using namespace std::chrono;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    // No clock writes year 0, and the calendars that show dates have none.
    if (y < 1 || !ymd.ok() || h > 23 || mi > 59) return kNoTime;
    return (sys_days{ymd}.time_since_epoch() + hours{h} + minutes{mi}) / minutes{1};
}

std::string IsoMinute(std::int64_t nMinute) {
    using namespace std::chrono;
    const sys_time<minutes> t{minutes{nMinute}};
    const sys_days dayOf = floor<days>(t);
    const year_month_day ymd{dayOf};
    const hh_mm_ss<minutes> hms{t - dayOf};
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()));
    return buf;
}

HistoryRecord ParseHistoryRecord(std::string_view line, std::vector<MissedKeyView>& aMisses) {
    std::size_t nFirst = 0, nCount = 0;
    HistoryRecord r = Parse(line, aMisses, nFirst, nCount);
    r.misses = std::span<const MissedKeyView>(aMisses).subspan(nFirst, nCount);
    return r;
}

CHistoryRecords::CHistoryRecords(std::string text) : m_pText(std::make_unique<const std::string>(std::move(text))) {
    const std::string_view all(*m_pText);
    // At most one record a line: reserved once, the records are never moved while read.
    const std::size_t nLines = static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1;
    m_aRecords.reserve(nLines);
    m_aMisses.reserve(nLines * 4);
    // A million records fill hundreds of MB: first touches of 4 kB pages were a third of the parse.
    AdviseHugePages(m_aRecords.data(), m_aRecords.capacity() * sizeof(HistoryRecord));
    AdviseHugePages(m_aMisses.data(), m_aMisses.capacity() * sizeof(MissedKeyView));
    // Where each record's keys lie; the spans are made once the keys stop moving.
    std::vector<std::pair<std::size_t, std::size_t>> aKeys;
    aKeys.reserve(nLines);
    for (std::size_t pos = 0; pos < all.size();) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        std::size_t length = end - pos;
        if (length > 0 && all[pos + length - 1] == '\r') --length;
        const std::string_view line = all.substr(pos, length);
        pos = end + 1;
        if (line.empty()) continue;
        std::size_t nFirst = 0, nCount = 0;
        m_aRecords.push_back(Parse(line, m_aMisses, nFirst, nCount));
        aKeys.emplace_back(nFirst, nCount);
    }
    // Blank lines and few missed keys leave room; give it back only when it is much.
    if (m_aRecords.capacity() > m_aRecords.size() * 2) m_aRecords.shrink_to_fit();
    if (m_aMisses.capacity() > m_aMisses.size() * 2) m_aMisses.shrink_to_fit();
    for (std::size_t i = 0; i < m_aRecords.size(); ++i)
        m_aRecords[i].misses = std::span<const MissedKeyView>(m_aMisses).subspan(aKeys[i].first, aKeys[i].second);
}

std::vector<std::string> CHistoryRecords::CustomNames() const {
    std::vector<std::string> names;
    std::unordered_set<std::string_view> seen;
    for (const HistoryRecord& r : m_aRecords) {
        if (r.IsBuiltIn() || r.strLesson.empty() || !seen.insert(r.strLesson).second) continue;
        names.emplace_back(r.strLesson);
    }
    return names;
}

}  // namespace kibiki
