#include "progress/progress_summary.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "progress/chart_axes.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// The table's text (UTF-8) with each "%s" replaced by the next value.
std::string Phrase(int nId, std::initializer_list<std::string_view> values = {}) {
    std::string text = Cp932ToUtf8(StringOrEmpty(nId));
    std::size_t at = 0;
    for (std::string_view v : values) {
        at = text.find("%s", at);
        if (at == std::string::npos) break;
        text.replace(at, 2, v);
        at += v.size();
    }
    return text;
}

std::string Whole(double d) { return std::to_string(std::lround(d)); }

std::string Joined(std::initializer_list<std::string_view> phrases) {
    const std::string join = Phrase(IDS_SUMMARY_JOIN);
    std::string out;
    for (std::string_view p : phrases) {
        if (p.empty()) continue;
        if (!out.empty()) out += join;
        out += p;
    }
    return out;
}

}  // namespace

std::string ChartSummary(const ProgressSeries& series) {
    const auto& pts = series.aPoints;
    if (pts.empty()) return Phrase(IDS_CHART_NO_RUNS);
    const ProgressPoint& last = pts.back();
    double dFastest = 0, dMostAccurate = 0;
    for (const ProgressPoint& pt : pts) {
        dFastest = std::max(dFastest, pt.dSpeed);
        dMostAccurate = std::max(dMostAccurate, pt.dAccuracy);
    }
    return Joined({Phrase(IDS_CHART_RUNS, {std::to_string(pts.size())}),
                   Phrase(IDS_CHART_NEWEST, {DayText(DayOfMinute(last.nMinute)), Whole(last.dSpeed), Whole(last.dAccuracy)}),
                   Phrase(IDS_CHART_MEAN, {Whole(last.dSpeedAverage), Whole(last.dAccuracyAverage)}),
                   Phrase(IDS_CHART_BEST, {Whole(dFastest), Whole(dMostAccurate)})});
}

std::string SpokenPoint(const CHistoryRecords& records, const ProgressPoint& point) {
    std::string tip = PointTip(records, point);
    const std::string join = Phrase(IDS_SUMMARY_JOIN);
    for (std::size_t at = tip.find('\n'); at != std::string::npos; at = tip.find('\n', at + join.size()))
        tip.replace(at, 1, join);
    return tip;
}

CalendarFigures CalendarFiguresOf(const PracticeDays& days, std::int64_t nToday, int nGoal) {
    nGoal = ClampGoal(nGoal);
    const Streaks streaks = StreaksOf(days, nToday, nGoal);
    const PracticeDay* pToday = days.Find(nToday);
    const std::string today = std::to_string(pToday ? WholeMinutes(pToday->dMinutes) : 0);
    CalendarFigures f;
    f.strToday = nGoal > 0 ? Phrase(IDS_CALENDAR_TODAY_GOAL, {today, std::to_string(nGoal)})
                           : Phrase(IDS_CALENDAR_TODAY, {today});
    f.strCurrent = Phrase(IDS_CALENDAR_CURRENT, {std::to_string(streaks.nCurrent)});
    f.strLongest = Phrase(IDS_CALENDAR_LONGEST, {std::to_string(streaks.nLongest)});
    f.strTotals = Phrase(IDS_CALENDAR_TOTALS, {MinutesText(days.dTotalMinutes), std::to_string(days.nRuns)});
    return f;
}

std::string CalendarSummary(const CalendarFigures& f) {
    return Joined({f.strToday, f.strCurrent, f.strLongest, f.strTotals});
}

std::string DayFigures(const PracticeDays& days, std::int64_t nDay, int nGoal) {
    const PracticeDay* pDay = days.Find(nDay);
    if (!pDay) return Phrase(IDS_CALENDAR_NO_RUN);
    std::string text = Phrase(IDS_CALENDAR_DAY, {MinutesText(pDay->dMinutes), std::to_string(pDay->nRuns)});
    nGoal = ClampGoal(nGoal);
    if (nGoal > 0 && CountsForStreak(*pDay, nGoal)) text += Phrase(IDS_CALENDAR_GOAL_MET);
    return text;
}

std::string SpokenDay(const PracticeDays& days, std::int64_t nDay, int nGoal) {
    return Joined({DayText(nDay), DayFigures(days, nDay, nGoal)});
}

}  // namespace kibiki
