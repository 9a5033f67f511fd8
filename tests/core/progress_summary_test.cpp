// The chart and the calendar in words: what a screen reader hears of them and the page shows.
#include <gtest/gtest.h>

#include "progress/chart_axes.h"
#include "progress/practice_days.h"
#include "progress/progress_summary.h"
#include "support/test_util.h"

namespace kibiki {
namespace {

using test::Sj;

std::int64_t Day(int y, int m, int d) { return DayOfDate(y, m, d); }

// A custom lesson's run counts 200 keystrokes: at 20 打/分 it is 10 minutes, at 30 about 7, at 40 five.
const char* const kHistory =
    "2004年05月05日 09:00,W,20,90, \r\n"
    "2004年05月06日 09:00,W,30,100, \r\n"
    "2004年05月06日 23:58,W,20,95, \r\n"
    "2004年05月08日 09:00,W,40,96, \r\n";

TEST(ProgressSummary, TheChartSaysItsRunsNewestMeanAndBestAndEachRun) {
    const CHistoryRecords records(Sj(kHistory));
    ProgressFilter filter;
    filter.bCustom = true;
    filter.strCustomName = "W";
    EXPECT_EQ(ChartSummary(BuildProgressSeries(records, filter)),
              "記録 4回。最新 2004年5月8日(土) 速度 40打/分、正解率 96%。"
              "10回平均 速度 28打/分、正解率 95%。最高 速度 40打/分、正解率 100%");
    const ProgressSeries series = BuildProgressSeries(records, filter);
    EXPECT_EQ(SpokenPoint(records, series.aPoints[1]), "2004-05-06 09:00。W。速度 30打/分。正解率 100%。間違えたキー なし");
    filter.strCustomName = "X";
    EXPECT_EQ(ChartSummary(BuildProgressSeries(records, filter)), "この条件の記録はありません");
}

TEST(ProgressSummary, TheCalendarSaysTodayStreaksTotalsAndEachDay) {
    const PracticeDays days = BuildPracticeDays(CHistoryRecords(Sj(kHistory)));
    const std::int64_t today = Day(2004, 5, 8);
    struct Case {
        int nGoal;
        const char* summary;
        const char* sixth;
    };
    const Case cases[] = {
        {0, "今日 5分。連続 1日。最長 2日。これまでの合計 32分・4回", "2004年5月6日(木)。17分・2回"},
        {10, "今日 5／10分。連続 0日。最長 2日。これまでの合計 32分・4回", "2004年5月6日(木)。17分・2回・目標達成"},
        {30, "今日 5／30分。連続 0日。最長 0日。これまでの合計 32分・4回", "2004年5月6日(木)。17分・2回"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CalendarSummary(CalendarFiguresOf(days, today, c.nGoal)), c.summary) << c.nGoal;
        EXPECT_EQ(SpokenDay(days, Day(2004, 5, 6), c.nGoal), c.sixth) << c.nGoal;
    }
    EXPECT_EQ(SpokenDay(days, Day(2004, 5, 7), 10), "2004年5月7日(金)。練習なし");
    EXPECT_EQ(CalendarFiguresOf(days, Day(2005, 1, 1), 0).strToday, "今日 0分");
    // The lesson end's goal line is made of the same phrases.
    EXPECT_EQ(GoalLine(days, today, 10), "今日 5／10分・連続 0日");
}

}  // namespace
}  // namespace kibiki
