// Days, minutes, goal and streaks from the history lines, the calendar's grid, and the chart's
// axes, date ticks, mean-line breaks, opening lesson and tips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

#include "progress/chart_axes.h"
#include "progress/practice_days.h"
#include "support/practice_harness.h"
#include "support/test_util.h"
#include "users/history_file.h"

namespace kibiki {
namespace {

using test::Sj;

CHistoryRecords Records(std::string_view utf8) { return CHistoryRecords(Sj(utf8)); }

std::int64_t Day(int y, int m, int d) { return DayOfDate(y, m, d); }

// A custom lesson's run counts 200 keystrokes: at 20 打/分 it is 10 minutes, at 40 five.
std::string Line(const char* date, int nSpeed) { return std::string(date) + ",W," + std::to_string(nSpeed) + ",95, \r\n"; }

TEST(PracticeDays, DatesCountAsTheLocalDayTheLineNames) {
    EXPECT_EQ(Day(1970, 1, 1), 0);
    EXPECT_EQ(WeekdayOfDay(0), 4);  // a Thursday
    EXPECT_EQ(DayOfMinute(-1), -1);
    for (std::int64_t d : {std::int64_t{-800000}, std::int64_t{-1}, std::int64_t{0}, Day(2024, 2, 29), Day(9999, 12, 31)}) {
        const CivilDate c = DateOfDay(d);
        EXPECT_EQ(Day(c.nYear, c.nMonth, c.nDay), d);
    }
    EXPECT_EQ(DayText(Day(2026, 12, 11)), "2026年12月11日(金)");

    // Today follows the machine's zone: 2026-12-11 20:00 UTC is already the 12th in Tokyo.
    const char* pOld = std::getenv("TZ");
    const std::string old = pOld ? pOld : "";
    const std::time_t t = static_cast<std::time_t>(Day(2026, 12, 11)) * 86400 + 20 * 3600;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(LocalDay(t), Day(2026, 12, 11));
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
    EXPECT_EQ(LocalDay(t), Day(2026, 12, 12));
    if (pOld) ::setenv("TZ", old.c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
}

TEST(PracticeDays, StreaksAndMinutesFromTheLines) {
    struct Case {
        const char* name;
        std::string lines;
        std::int64_t today;
        int goal;
        int current, longest;
        std::size_t days, skipped;
        int todayMinutes;
    };
    const std::int64_t d10 = Day(2026, 12, 10);
    const Case cases[] = {
        {"empty history", "", d10, 0, 0, 0, 0, 0, 0},
        {"one run today", Line("2026年12月10日 09:00", 20), d10, 0, 1, 1, 1, 0, 10},
        {"one run yesterday: today is still open", Line("2026年12月09日 21:00", 20), d10, 0, 1, 1, 1, 0, 0},
        {"two days ago: the streak is over", Line("2026年12月08日 21:00", 20), d10, 0, 0, 1, 1, 0, 0},
        {"a gap", Line("2026年12月01日 09:00", 20) + Line("2026年12月02日 09:00", 20) + Line("2026年12月03日 09:00", 20) +
                      Line("2026年12月09日 09:00", 20) + Line("2026年12月10日 07:00", 40) + Line("2026年12月10日 08:00", 40),
         d10, 0, 2, 3, 5, 0, 10},
        // Begun at 23:58, ended ten minutes later: the line names the 9th only.
        {"a run over midnight", Line("2026年12月09日 23:58", 20), d10, 0, 1, 1, 1, 0, 0},
        // Tokyo, then a flight west: the last line's local date is back on the 10th, and the
        // run dated the 11th is a day ahead of the local today.
        {"a time-zone change", Line("2026年12月10日 09:00", 20) + Line("2026年12月11日 01:00", 20) + Line("2026年12月10日 20:00", 20),
         d10, 0, 2, 2, 2, 0, 20},
        // The clocks jump from 02:00 to 03:00 (and later fall back and repeat 01:30): one day each.
        {"daylight saving", Line("2026年03月08日 01:59", 20) + Line("2026年03月08日 03:00", 20) +
                                Line("2026年11月01日 01:30", 20) + Line("2026年11月01日 01:30", 20),
         Day(2026, 11, 1), 0, 1, 1, 2, 0, 20},
        {"damaged lines", "garbage\r\n" + Line("2026年02月30日 09:00", 20) + Line("2026年12月09日 09:00", 20) +
                              "2026年12月10日 09:00,W,fast,95, \r\n,,,,\r\n",
         d10, 0, 2, 2, 2, 3, 0},
        // With a goal only days that met it count; today's 5 minutes leave it open, not broken.
        {"a goal", Line("2026年12月07日 09:00", 20) + Line("2026年12月08日 09:00", 20) + Line("2026年12月08日 10:00", 20) +
                       Line("2026年12月09日 09:00", 20) + Line("2026年12月09日 09:30", 40) + Line("2026年12月10日 09:00", 40),
         d10, 15, 2, 2, 4, 0, 5},
        {"a goal met today", Line("2026年12月09日 09:00", 20) + Line("2026年12月10日 09:00", 20) + Line("2026年12月10日 19:00", 40),
         d10, 15, 1, 1, 2, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PracticeDays days = BuildPracticeDays(Records(c.lines));
        const Streaks s = StreaksOf(days, c.today, c.goal);
        EXPECT_EQ(s.nCurrent, c.current);
        EXPECT_EQ(s.nLongest, c.longest);
        EXPECT_EQ(days.aDays.size(), c.days);
        EXPECT_EQ(days.nSkipped, c.skipped);
        const PracticeDay* pToday = days.Find(c.today);
        EXPECT_EQ(pToday ? WholeMinutes(pToday->dMinutes) : 0, c.todayMinutes);
        for (std::size_t i = 1; i < days.aDays.size(); ++i) EXPECT_LT(days.aDays[i - 1].nDay, days.aDays[i].nDay);
    }
}

TEST(PracticeDays, GoalLineAndCalendarShades) {
    const PracticeDays days = BuildPracticeDays(Records(Line("2026年12月09日 09:00", 20) + Line("2026年12月09日 10:00", 40) +
                                                        Line("2026年12月10日 09:00", 20) + Line("2026年12月10日 10:00", 40)));
    const std::int64_t d10 = Day(2026, 12, 10);
    EXPECT_EQ(GoalLine(days, d10, 15), "今日 15／15分・連続 2日");
    EXPECT_EQ(GoalLine(days, d10 + 1, 20), "今日 0／20分・連続 0日");
    EXPECT_EQ(GoalLine(days, d10, 0), "");
    EXPECT_EQ(GoalLine(BuildPracticeDays({}), d10, 9999), "今日 0／600分・連続 0日");

    struct Shade {
        double minutes;
        int goal, level;
    };
    for (const Shade& s : {Shade{0, 0, 1}, Shade{9.4, 0, 1}, Shade{10, 0, 2}, Shade{20, 0, 3}, Shade{40, 0, 4},
                           Shade{7, 15, 1}, Shade{7.5, 15, 2}, Shade{15, 15, 3}, Shade{30, 15, 4}}) {
        const PracticeDay day{0, s.minutes, 1};
        EXPECT_EQ(CalendarLevel(&day, s.goal), s.level) << s.minutes << " min, goal " << s.goal;
    }
    EXPECT_EQ(CalendarLevel(nullptr, 15), 0);
}

TEST(PracticeDays, CalendarGridIsTheLastYearInWeeks) {
    const std::int64_t today = Day(2026, 12, 11);  // a Friday
    const CalendarGrid g = CalendarGridFor(today);
    EXPECT_EQ(WeekdayOfDay(g.nFirstDay), 0);
    EXPECT_LE(g.nFirstDay, today - 364);
    EXPECT_GT(g.nFirstDay, today - 364 - 7);
    EXPECT_EQ(g.nWeeks, 53);
    EXPECT_EQ(g.DayAt(g.nWeeks - 1, 5), today);
    EXPECT_FALSE(g.Shown(today + 1));
    // Every month's 1st is marked in the column it falls in, oldest first, and no two marks
    // share a column or sit side by side.
    ASSERT_GE(g.aMonths.size(), 12u);
    for (std::size_t i = 0; i < g.aMonths.size(); ++i) {
        if (i > 0) EXPECT_GE(g.aMonths[i].nWeek - g.aMonths[i - 1].nWeek, 2);
        if (i == 0) continue;
        const std::int64_t first = Day(g.aMonths[i].nYear, g.aMonths[i].nMonth, 1);
        EXPECT_EQ((first - g.nFirstDay) / 7, g.aMonths[i].nWeek);
    }
    EXPECT_EQ(g.aMonths.back().nMonth, 12);
}

TEST(PracticeDays, LessonKeystrokesAreWhatTypingTheLessonCounts) {
    // Lessons 1-6 ask every entry once: typing one through counts exactly what the minutes
    // assume, in each mode.
    for (int mode = 0; mode < 5; ++mode)
        for (int lesson = 1; lesson <= 6; ++lesson) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " lesson " << lesson);
            test::PracticeHarness h;
            h.m_form.m_lessonEndAnswers.push_back(LESSON_END_STOP);
            h.StartBuiltIn(mode, lesson);
            for (int i = 0; i < 40 && h.m_view.IsRunning(); ++i) h.TypeQuestion();
            ASSERT_FALSE(h.m_view.IsRunning());
            EXPECT_EQ(LessonKeystrokes(mode, lesson), h.m_doc.Run().Keystrokes());
        }
    // Lesson 7: twenty of its entries, on average.
    EXPECT_GT(LessonKeystrokes(1, 7), 20 * 5);
    EXPECT_EQ(LessonKeystrokes(1, 8), 0);
    EXPECT_EQ(LessonKeystrokes(5, 1), 0);

    const CHistoryRecords r = Records("2026年12月10日 09:00,31,120,95, \r\n"
                                      "2026年12月10日 09:10,My words,50,95, \r\n"
                                      "2026年12月10日 09:20,My words,0,95, \r\n"
                                      "2026年12月10日 09:30,My words,1,95, \r\n"
                                      "2026年12月10日 09:40,31,-3,95, \r\n");
    EXPECT_DOUBLE_EQ(RunMinutes(r[0]), LessonKeystrokes(1, 3) / 120);
    EXPECT_DOUBLE_EQ(RunMinutes(r[1]), 4);
    EXPECT_EQ(RunMinutes(r[2]), 0);
    EXPECT_EQ(RunMinutes(r[3]), kMaxRunMinutes);
    EXPECT_EQ(RunMinutes(r[4]), 0);
    EXPECT_EQ(MinutesText(59.6), "1時間0分");
    EXPECT_EQ(MinutesText(12.2), "12分");
}

TEST(PracticeDays, AHundredThousandRuns) {
    // Four runs a day, every day, for 25,000 days.
    std::string text;
    text.reserve(100000 * 40);
    const std::int64_t first = Day(1990, 1, 1);
    for (int i = 0; i < 100000; ++i) {
        const CivilDate d = DateOfDay(first + i / 4);
        char line[96];
        std::snprintf(line, sizeof line, "%04d年%02d月%02d日 %02d:00,W,40,95, \r\n", d.nYear, d.nMonth, d.nDay, 8 + i % 4);
        text += line;
    }
    const PracticeDays days = BuildPracticeDays(Records(text));
    EXPECT_EQ(days.nRuns, 100000u);
    EXPECT_EQ(days.aDays.size(), 25000u);
    EXPECT_DOUBLE_EQ(days.dTotalMinutes, 100000 * 5.0);
    const Streaks s = StreaksOf(days, first + 24999, 20);
    EXPECT_EQ(s.nCurrent, 25000);
    EXPECT_EQ(s.nLongest, 25000);
}

TEST(PracticeDays, TheLessonEndAddsTheGoalLineOnlyWhileAGoalIsSet) {
    for (int goal : {0, 15}) {
        test::PracticeHarness h;
        // Yesterday met the goal (200 keystrokes at 10 打/分); today is still open.
        std::ofstream(HistoryPath(h.m_doc.Settings()), std::ios::binary) << Sj("2004年05月05日 09:00,W,10,95, \r\n");
        h.m_doc.Settings().m_nDailyGoal = goal;
        h.m_view.SetLessonEndNote([&h] { return LessonEndGoalLine(h.m_doc.Settings(), LocalDay(test::kStartTime)); });
        h.m_form.m_lessonEndAnswers.push_back(LESSON_END_STOP);
        h.StartBuiltIn(1, 1);
        for (int i = 0; i < 40 && h.m_view.IsRunning(); ++i) h.TypeQuestion();
        const std::string line = test::U8(h.m_form.m_lastLessonEnd.strGoal);
        if (goal == 0) {
            EXPECT_EQ(line, "");
            continue;
        }
        // The run just written counts for today; yesterday carries the streak.
        const auto records = ReadHistoryRecords(h.m_doc.Settings());
        ASSERT_EQ(records->size(), 2u);
        const int nToday = WholeMinutes(RunMinutes((*records)[1]));
        ASSERT_LT(nToday, 15);
        EXPECT_EQ(line, "今日 " + std::to_string(nToday) + "／15分・連続 1日");
    }
}

// --- the chart ----------------------------------------------------------------------------------

TEST(ChartAxes, ValueAxesHugTheirDataInRoundSteps) {
    struct Case {
        double min, max, limitLow, limitHigh;
        double low, high, step;
    };
    const Case cases[] = {
        {83, 100, 0, 100, 80, 100, 5},        // accuracy as the learner's runs sit
        {0, 100, 0, 100, 0, 100, 20},
        {97, 97, 0, 100, 96, 98, 2},          // flat: a span around it
        {100, 100, 0, 100, 98, 100, 2},       // and never past 100
        {112, 187, 0, 1e12, 100, 200, 20},    // speed
        {0, 0, 0, 1e12, 0, 1, 1},
        {std::nan(""), 50, 0, 100, 0, 1, 1},  // nothing readable: the lowest span
    };
    for (const Case& c : cases) {
        const ValueAxis a = ValueAxisFor(c.min, c.max, c.limitLow, c.limitHigh);
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
        EXPECT_DOUBLE_EQ(a.dLow, c.low);
        EXPECT_DOUBLE_EQ(a.dHigh, c.high);
        EXPECT_DOUBLE_EQ(a.dStep, c.step);
        ASSERT_GE(a.aTicks.size(), 2u);
        EXPECT_LE(a.aTicks.size(), 6u);
        EXPECT_DOUBLE_EQ(a.aTicks.front(), a.dLow);
        EXPECT_DOUBLE_EQ(a.aTicks.back(), a.dHigh);
    }
}

TEST(ChartAxes, DateTicksFallOnMidnightsInRegularSteps) {
    const std::int64_t kDayMin = 24 * 60;
    auto at = [&](int y, int m, int d, int h = 0) { return Day(y, m, d) * kDayMin + h * 60; };
    struct Case {
        std::int64_t first, last;
        int maxTicks;
        TickUnit unit;
        const char* firstLabel;
    };
    const Case cases[] = {
        {at(2026, 11, 26, 9), at(2026, 12, 1, 20), 10, TickUnit::Day, "11/27"},
        // The runs of 11/26, 11/28, 11/29 and 12/1 no longer set the ticks: every other day.
        {at(2026, 11, 26, 9), at(2026, 12, 1, 20), 4, TickUnit::TwoDays, "11/27"},
        {at(2026, 11, 1), at(2026, 12, 10), 6, TickUnit::Week, "11/2"},
        {at(2026, 9, 15), at(2026, 12, 10), 4, TickUnit::Month, "2026/10"},
        {at(2024, 1, 5), at(2026, 12, 10), 6, TickUnit::HalfYear, "2024/7"},
        {at(1990, 1, 1), at(2026, 12, 10), 8, TickUnit::Year, "1990"},
        {at(2026, 12, 10, 9), at(2026, 12, 10, 10), 5, TickUnit::Day, "12/10"},
    };
    for (const Case& c : cases) {
        const DateTicks t = DateTicksFor(c.first, c.last, c.maxTicks);
        SCOPED_TRACE(c.firstLabel);
        EXPECT_EQ(t.unit, c.unit);
        ASSERT_FALSE(t.aTicks.empty());
        EXPECT_LE(static_cast<int>(t.aTicks.size()), c.maxTicks);
        EXPECT_EQ(t.aTicks.front().strLabel, c.firstLabel);
        for (std::size_t i = 0; i < t.aTicks.size(); ++i) {
            EXPECT_EQ(t.aTicks[i].nMinute % kDayMin, 0);
            if (i > 0 && c.unit <= TickUnit::TwoWeeks)
                EXPECT_EQ(t.aTicks[i].nMinute - t.aTicks[i - 1].nMinute, t.aTicks[1].nMinute - t.aTicks[0].nMinute);
        }
        EXPECT_LE(t.aTicks.back().nMinute, c.last);
    }
}

TEST(ChartAxes, MeanLineBreaksAcrossMoreThanTwoWeeks) {
    std::vector<ProgressPoint> pts(4);
    const std::int64_t kDayMin = 24 * 60;
    pts[0].nMinute = 0;
    pts[1].nMinute = 14 * kDayMin;       // exactly two weeks: joined
    pts[2].nMinute = 28 * kDayMin + 1;   // a minute more: broken
    pts[3].nMinute = 90 * kDayMin;
    EXPECT_EQ(MeanLineBreaks(pts), (std::vector<bool>{true, false, true, true}));
    EXPECT_TRUE(MeanLineBreaks({}).empty());
}

TEST(ChartAxes, OpensOnTheLessonLastPractisedAndTipsAPoint) {
    ProgressFilter f;
    EXPECT_FALSE(LastPractisedFilter(Records(""), f));
    ASSERT_TRUE(LastPractisedFilter(Records("2026年12月10日 09:00,My words,100,95, \r\n"
                                            "2026年12月10日 09:05,31,120,95,A K S  3 2 1 \r\n"
                                            "2026年12月10日 09:10,41,fast,95, \r\n"), f));
    EXPECT_FALSE(f.bCustom);
    EXPECT_EQ(f.nMode, 1);
    EXPECT_EQ(f.nLesson, 3);
    ASSERT_TRUE(LastPractisedFilter(Records("2026年12月10日 09:05,31,120,95, \r\n2026年12月10日 09:10,My words,100,95, \r\n"), f));
    EXPECT_TRUE(f.bCustom);
    EXPECT_EQ(f.strCustomName, "My words");

    const CHistoryRecords r = Records("2026年12月10日 09:05,31,120,95,A K S J  3 2 1 1 \r\n");
    ProgressPoint p;
    p.nMinute = r[0].nMinute;
    p.nRecord = 0;
    EXPECT_EQ(PointTip(r, p), "2026-12-10 09:05\nLesson3(ローマ字)\n速度 120打/分\n正解率 95%\n間違えたキー A×3　K×2　S×1 ほか1キー");
}

}  // namespace
}  // namespace kibiki
