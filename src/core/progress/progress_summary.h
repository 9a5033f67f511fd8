#pragma once
// The chart and the calendar in words: what a glance at them tells, for the page itself and for
// a screen reader, which sees neither. All texts UTF-8.
#include <cstdint>
#include <string>

#include "progress/practice_days.h"
#include "progress/progress_series.h"

namespace kibiki {

// "記録 12回。最新 2004年5月8日(土) 速度 40打/分、正解率 95%。10回平均 …。最高 …": the runs
// charted, the newest, the mean of the last ten as the chart's lines end, the fastest and the
// most accurate. The chart's own words when it has no run.
std::string ChartSummary(const ProgressSeries& series);

// A run of the chart as said: its tip's lines as one text.
std::string SpokenPoint(const CHistoryRecords& records, const ProgressPoint& point);

// The calendar page's figures, each as its label shows it.
struct CalendarFigures {
    std::string strToday;    // "今日 5分", with a goal "今日 5／10分"
    std::string strCurrent;  // "連続 3日"
    std::string strLongest;  // "最長 7日"
    std::string strTotals;   // "これまでの合計 1時間5分・12回"
};
CalendarFigures CalendarFiguresOf(const PracticeDays& days, std::int64_t nToday, int nGoal);
// The four as one text.
std::string CalendarSummary(const CalendarFigures& figures);

// A day's figures: "20分・2回", "・目標達成" added when it met the goal, or "練習なし".
std::string DayFigures(const PracticeDays& days, std::int64_t nDay, int nGoal);
// The day as said: "2004年5月6日(木)。20分・2回".
std::string SpokenDay(const PracticeDays& days, std::int64_t nDay, int nGoal);

}  // namespace kibiki
