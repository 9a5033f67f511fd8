#include "progress/history_records.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <unordered_set>

#include "text/cp932.h"

namespace kibiki {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
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

// A whole number or decimal as "%.0f" writes it; anything else, or not finite, is -1.
double ReadNumber(std::string_view s) {
    double d = -1;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(d) || d < 0 || d > 1e9) return -1;
    return d;
}

}  // namespace

std::int64_t ParseHistoryDate(std::string_view date) {
    static const std::string year = Utf8ToCp932("年"), month = Utf8ToCp932("月"), day = Utf8ToCp932("日");
    int y, mo, d, h, mi;
    if (!TakeNumber(date, 4, y) || !TakeText(date, year) || !TakeNumber(date, 2, mo) ||
        !TakeText(date, month) || !TakeNumber(date, 2, d) || !TakeText(date, day) ||
        !TakeText(date, " ") || !TakeNumber(date, 2, h) || !TakeText(date, ":") ||
        !TakeNumber(date, 2, mi) || !date.empty())
        return kNoTime;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59) return kNoTime;
    return (DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 24 + h) * 60 + mi;
}

std::string IsoMinute(std::int64_t nMinute) {
    // Civil date from days (the inverse of DaysFromCivil).
    std::int64_t minutes = nMinute % 1440;
    std::int64_t z = nMinute / 1440;
    if (minutes < 0) minutes += 1440, --z;
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d", static_cast<long long>(y), m, d,
                  static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    return buf;
}

CHistoryRecords::CHistoryRecords(std::string text) : m_strText(std::move(text)) {
    const std::string_view all(m_strText);
    m_aRecords.reserve(all.size() / 48);
    for (std::size_t pos = 0; pos < all.size();) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        std::size_t length = end - pos;
        if (length > 0 && all[pos + length - 1] == '\r') --length;
        const std::string_view line = all.substr(pos, length);
        HistoryRecord r;
        r.nLine = pos;
        r.nLineLength = length;
        pos = end + 1;
        if (line.empty()) continue;

        // Four fields up to the first four commas; the fifth is the rest.
        std::size_t starts[5] = {}, ends[5] = {};
        int fields = 0;
        std::size_t from = 0;
        while (fields < 4) {
            const std::size_t comma = line.find(',', from);
            if (comma == std::string_view::npos) break;
            starts[fields] = from;
            ends[fields] = comma;
            ++fields;
            from = comma + 1;
        }
        starts[fields] = from;
        ends[fields] = line.size();
        const auto field = [&](int i) { return line.substr(starts[i], ends[i] - starts[i]); };

        r.nMinute = ParseHistoryDate(field(0));
        if (fields >= 1) {
            r.nName = r.nLine + starts[1];
            r.nNameLength = ends[1] - starts[1];
            const std::string_view lesson = field(1);
            // Two digits: lesson and mode, as the history list reads them.
            if (lesson.size() == 2 && lesson[0] >= '1' && lesson[0] <= '7' && lesson[1] >= '0' &&
                lesson[1] <= '4') {
                r.nLesson = lesson[0] - '0';
                r.nMode = lesson[1] - '0';
            }
        }
        if (fields >= 3) r.dSpeed = ReadNumber(field(2));
        if (fields >= 4) {
            r.dAccuracy = ReadNumber(field(3));
            if (r.dAccuracy > 100) r.dAccuracy = -1;
            r.nMisses = r.nLine + starts[4];
            r.nMissesLength = ends[4] - starts[4];
        }
        m_aRecords.push_back(r);
    }
    m_aRecords.shrink_to_fit();
}

std::string_view CHistoryRecords::Line(std::size_t n) const {
    return std::string_view(m_strText).substr(m_aRecords[n].nLine, m_aRecords[n].nLineLength);
}

std::string_view CHistoryRecords::DateField(std::size_t n) const {
    const std::string_view line = Line(n);
    return line.substr(0, line.find(','));
}

std::string_view CHistoryRecords::LessonField(std::size_t n) const {
    return std::string_view(m_strText).substr(m_aRecords[n].nName, m_aRecords[n].nNameLength);
}

std::size_t CHistoryRecords::NextPair(std::string_view& keys, std::string_view& counts,
                                      std::string_view& key, int& count) {
    const std::size_t keyEnd = keys.find(' ');
    const std::size_t countEnd = counts.find(' ');
    if (keyEnd == std::string_view::npos || countEnd == std::string_view::npos) return 0;
    key = keys.substr(0, keyEnd);
    const std::string_view number = counts.substr(0, countEnd);
    keys.remove_prefix(keyEnd + 1);
    counts.remove_prefix(countEnd + 1);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), count);
    const bool ok = ec == std::errc() && end == number.data() + number.size() && count > 0 && !key.empty();
    return ok ? 1 : 2;
}

std::vector<std::pair<std::string_view, int>> CHistoryRecords::Misses(std::size_t n) const {
    std::vector<std::pair<std::string_view, int>> pairs;
    ForEachMiss(n, [&](std::string_view key, int count) { pairs.emplace_back(key, count); });
    return pairs;
}

std::vector<std::string> CHistoryRecords::CustomNames() const {
    std::vector<std::string> names;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < m_aRecords.size(); ++i) {
        if (m_aRecords[i].IsBuiltIn()) continue;
        const std::string_view name = LessonField(i);
        if (name.empty() || !seen.insert(name).second) continue;
        names.emplace_back(name);
    }
    return names;
}

}  // namespace kibiki
