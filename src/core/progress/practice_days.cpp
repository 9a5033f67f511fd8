#include "progress/practice_days.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "kana/kana_tables.h"
#include "kana/practice_mode.h"
#include "kana/romaji_matcher.h"
#include "lessons/catalogue.h"
#include "lessons/lesson.h"
#include "progress/progress_summary.h"
#include "users/history_file.h"
#include "users/user_settings.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr std::int64_t kMinutesPerDay = 24 * 60;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Keystrokes of one question as the run counts them: a kana reading one per kana and one more
// for each voiced mark, romaji the letters of the standard spellings (a new user's fixed ones).
double QuestionKeystrokes(PracticeMode mode, std::string text) {
    if (HasKanjiQuestions(mode)) {
        std::string kanji, reading;
        SplitKanjiReading(text, kanji, reading);
        // The reading's "｜" only aligns it with the kanji.
        text.clear();
        for (std::size_t i = 0; i < reading.size();) {
            const std::size_t n = CharLenAt(reading, i);
            if (reading.compare(i, n, "\x81\x62") != 0) text.append(reading, i, n);
            i += n;
        }
    }
    if (IsKanaAnswer(mode)) {
        double n = static_cast<double>(text.size() / 2);
        for (std::size_t i = 0; i < text.size(); i += CharLenAt(text, i)) {
            unsigned char base = 0, mark = 0;
            SplitVoicedKana(base, std::string_view(text).substr(i, CharLenAt(text, i)), mark);
            if (mark != 0) ++n;
        }
        return n;
    }
    if (ShowsRomaji(mode)) return static_cast<double>(text.size());
    CRomajiMatcher matcher;
    if (!matcher.BuildRoman(text, true)) return 0;
    return static_cast<double>(matcher.Roman().size());
}

std::array<std::array<double, 8>, 5> ComputeLessonKeystrokes() {
    std::array<std::array<double, 8>, 5> table{};
    for (int m = 0; m < 5; ++m)
        for (int l = 1; l <= 7; ++l) {
            int nFirst = 0, nLast = 0;
            if (!LessonIdRange(PracticeMode{m}, l, nFirst, nLast)) continue;
            double sum = 0;
            for (int id = nFirst; id <= nLast; ++id) sum += QuestionKeystrokes(PracticeMode{m}, StringOrEmpty(id));
            const int n = nLast - nFirst + 1;
            // Lesson 7 asks twenty of its entries at random: the expected count.
            table[std::size_t(m)][std::size_t(l)] = l == 7 ? sum / n * 20 : sum;
        }
    return table;
}

}  // namespace

// --- days ---------------------------------------------------------------------------------------

std::int64_t DayOfMinute(std::int64_t nMinute) { return FloorDiv(nMinute, kMinutesPerDay); }

std::int64_t LocalDay(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return FloorDiv(static_cast<std::int64_t>(t), 86400);
    return DayOfDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

// Days from civil dates and back, proleptic Gregorian.
std::int64_t DayOfDate(int nYear, int nMonth, int nDay) {
    const std::int64_t y = nYear - (nMonth <= 2);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (nMonth + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + nDay - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate DateOfDay(std::int64_t nDay) {
    const std::int64_t z = nDay + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilDate d;
    d.nDay = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.nMonth = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.nYear = static_cast<int>(yoe + era * 400 + (d.nMonth <= 2));
    return d;
}

int WeekdayOfDay(std::int64_t nDay) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((nDay + 4) % 7 + 7) % 7);
}

// --- minutes ------------------------------------------------------------------------------------

double LessonKeystrokes(int nMode, int nLesson) {
    static const auto table = ComputeLessonKeystrokes();
    if (nMode < 0 || nMode > 4 || nLesson < 1 || nLesson > 7) return 0;
    return table[std::size_t(nMode)][std::size_t(nLesson)];
}

double RunMinutes(const HistoryRecord& record) {
    if (record.nSpeed <= 0) return 0;
    const double keys = record.IsBuiltIn() ? LessonKeystrokes(record.nMode, record.nLesson) : kCustomRunKeystrokes;
    return std::min(keys / record.nSpeed, kMaxRunMinutes);
}

int WholeMinutes(double dMinutes) {
    if (!(dMinutes > 0)) return 0;
    return static_cast<int>(std::min(std::lround(dMinutes), 1L << 30));
}

// --- the days of a history ----------------------------------------------------------------------

const PracticeDay* PracticeDays::Find(std::int64_t nDay) const {
    const auto it = std::lower_bound(aDays.begin(), aDays.end(), nDay,
                                     [](const PracticeDay& d, std::int64_t n) { return d.nDay < n; });
    return it != aDays.end() && it->nDay == nDay ? &*it : nullptr;
}

PracticeDays BuildPracticeDays(const CHistoryRecords& records) {
    PracticeDays days;
    // Lines are mostly in day order: extend the last day while it matches, sort at the end only
    // when a clock or zone change put a day out of order.
    bool bSorted = true;
    for (const HistoryRecord& r : records.Records()) {
        if (r.nMinute == kNoTime) {
            ++days.nSkipped;
            continue;
        }
        const std::int64_t nDay = DayOfMinute(r.nMinute);
        const double dMinutes = RunMinutes(r);
        ++days.nRuns;
        days.dTotalMinutes += dMinutes;
        if (days.aDays.empty() || days.aDays.back().nDay != nDay) {
            if (!days.aDays.empty() && days.aDays.back().nDay > nDay) bSorted = false;
            days.aDays.push_back({nDay, 0, 0});
        }
        days.aDays.back().dMinutes += dMinutes;
        ++days.aDays.back().nRuns;
    }
    if (!bSorted) {
        std::stable_sort(days.aDays.begin(), days.aDays.end(),
                         [](const PracticeDay& a, const PracticeDay& b) { return a.nDay < b.nDay; });
        std::vector<PracticeDay> merged;
        merged.reserve(days.aDays.size());
        for (const PracticeDay& d : days.aDays) {
            if (!merged.empty() && merged.back().nDay == d.nDay) {
                merged.back().dMinutes += d.dMinutes;
                merged.back().nRuns += d.nRuns;
            } else {
                merged.push_back(d);
            }
        }
        days.aDays = std::move(merged);
    }
    return days;
}

// --- the goal and streaks -----------------------------------------------------------------------

int ClampGoal(int nMinutes) { return std::clamp(nMinutes, 0, kMaxGoalMinutes); }

bool CountsForStreak(const PracticeDay& day, int nGoal) {
    if (day.nRuns <= 0) return false;
    nGoal = ClampGoal(nGoal);
    return nGoal == 0 || WholeMinutes(day.dMinutes) >= nGoal;
}

Streaks StreaksOf(const PracticeDays& days, std::int64_t nToday, int nGoal) {
    Streaks s;
    // Longest: runs of consecutive counting days anywhere in the history.
    int nRun = 0;
    std::int64_t nPrev = 0;
    for (const PracticeDay& d : days.aDays) {
        if (!CountsForStreak(d, nGoal)) {
            nRun = 0;
            continue;
        }
        nRun = nRun > 0 && d.nDay == nPrev + 1 ? nRun + 1 : 1;
        nPrev = d.nDay;
        s.nLongest = std::max(s.nLongest, nRun);
    }
    // Current: back from tomorrow (a zone change), today or yesterday, whichever counts first;
    // a day still open does not break it.
    auto counts = [&](std::int64_t nDay) {
        const PracticeDay* p = days.Find(nDay);
        return p && CountsForStreak(*p, nGoal);
    };
    std::int64_t nDay = nToday + 1;
    if (!counts(nDay)) nDay = nToday;
    if (!counts(nDay)) nDay = nToday - 1;
    while (counts(nDay)) {
        ++s.nCurrent;
        --nDay;
    }
    return s;
}

std::string GoalLine(const PracticeDays& days, std::int64_t nToday, int nGoal) {
    nGoal = ClampGoal(nGoal);
    if (nGoal == 0) return {};
    const CalendarFigures figures = CalendarFiguresOf(days, nToday, nGoal);
    return figures.strToday + "・" + figures.strCurrent;
}

std::string LessonEndGoalLine(const CUserSettings& settings, std::int64_t nToday) {
    if (ClampGoal(settings.m_nDailyGoal) == 0) return {};
    const auto pRecords = ReadHistoryRecords(settings);
    return Utf8ToCp932(GoalLine(BuildPracticeDays(*pRecords), nToday, settings.m_nDailyGoal));
}

// --- the calendar -------------------------------------------------------------------------------

int CalendarLevel(const PracticeDay* pDay, int nGoal) {
    if (!pDay || pDay->nRuns <= 0) return 0;
    nGoal = ClampGoal(nGoal);
    const int m = WholeMinutes(pDay->dMinutes);
    if (nGoal > 0) return m >= 2 * nGoal ? 4 : m >= nGoal ? 3 : 2 * m >= nGoal ? 2 : 1;
    return m >= 40 ? 4 : m >= 20 ? 3 : m >= 10 ? 2 : 1;
}

std::string CalendarLevelText(int nLevel, int nGoal) {
    if (ClampGoal(nGoal) > 0) {
        static const char* const kGoal[] = {"練習なし", "目標の半分未満", "目標の半分以上", "目標達成", "目標の2倍以上"};
        return kGoal[std::clamp(nLevel, 0, 4)];
    }
    static const char* const kPlain[] = {"練習なし", "10分未満", "10分以上", "20分以上", "40分以上"};
    return kPlain[std::clamp(nLevel, 0, 4)];
}

std::uint32_t CalendarBackColour(int nLevel) {
    // Pale grey, then greens from light to dark (0x00BBGGRR).
    static constexpr std::array<std::uint32_t, kCalendarLevels> kBack = {0xEBEBEB, 0xB5E6C6, 0x6EC77B, 0x3A9A2E, 0x1C5F0E};
    return kBack[std::size_t(std::clamp(nLevel, 0, kCalendarLevels - 1))];
}

CalendarGrid CalendarGridFor(std::int64_t nToday) {
    CalendarGrid g;
    g.nToday = nToday;
    const std::int64_t nStart = nToday - 364;
    g.nFirstDay = nStart - WeekdayOfDay(nStart);
    g.nWeeks = static_cast<int>((nToday - g.nFirstDay) / 7 + 1);
    for (int w = 0; w < g.nWeeks; ++w)
        for (int wd = 0; wd < 7; ++wd) {
            const std::int64_t nDay = g.DayAt(w, wd);
            if (nDay > nToday) break;
            const CivilDate d = DateOfDay(nDay);
            // The first column names its month even when the 1st lies before it.
            if (d.nDay == 1 || (w == 0 && wd == 0)) g.aMonths.push_back({w, d.nMonth, d.nYear});
        }
    // A month starting in the second column leaves the first column's name no room.
    if (g.aMonths.size() > 1 && g.aMonths[1].nWeek - g.aMonths[0].nWeek < 2) g.aMonths.erase(g.aMonths.begin());
    return g;
}

std::string MinutesText(double dMinutes) {
    const int m = WholeMinutes(dMinutes);
    if (m < 60) return std::to_string(m) + "分";
    return std::to_string(m / 60) + "時間" + std::to_string(m % 60) + "分";
}

std::string DayText(std::int64_t nDay) {
    static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    const CivilDate d = DateOfDay(nDay);
    return std::to_string(d.nYear) + "年" + std::to_string(d.nMonth) + "月" + std::to_string(d.nDay) + "日(" +
           kWeekdays[WeekdayOfDay(nDay)] + ")";
}

}  // namespace kibiki
