#include "progress/test_results.h"

#include <algorithm>
#include <ctime>

#include "lessons/evaluation.h"
#include "progress/practice_days.h"
#include "users/history_record.h"

namespace kibiki {

namespace {

// The log keeps UTC seconds; the chart counts local minutes, as the history's dates are.
std::int64_t LocalMinute(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return 0;
    return DayOfDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * 1440 + tm.tm_hour * 60 + tm.tm_min;
}

std::string Whole(double d) { return std::to_string(static_cast<long long>(d + 0.5)); }

}  // namespace

std::vector<TestResultPoint> TestResultPoints(const std::vector<LoggedRun>& runs) {
    std::vector<TestResultPoint> points;
    for (const LoggedRun& r : runs) {
        if (r.strSource != "test" || r.end != RunEnd::Finished || r.nChars < 0 || r.nElapsedMs <= 0) continue;
        TestResultPoint p;
        p.nMinute = LocalMinute(r.tStart);
        p.strLesson = r.strLesson;
        p.dCharsPer10Min = static_cast<double>(r.nChars) * 600000.0 / static_cast<double>(r.nElapsedMs);
        p.dAccuracy = AccuracyPercent(r.nKeystrokes, r.nMisses);
        points.push_back(std::move(p));
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const TestResultPoint& a, const TestResultPoint& b) { return a.nMinute < b.nMinute; });
    return points;
}

TestResultChart TestResultChartFor(const std::vector<TestResultPoint>& points, int nMaxSteps, int nMaxTicks) {
    TestResultChart chart;
    double charsHigh = 0, accuracyLow = points.empty() ? 0 : 100, accuracyHigh = points.empty() ? 100 : 0;
    for (const TestResultPoint& p : points) {
        charsHigh = std::max(charsHigh, p.dCharsPer10Min);
        accuracyLow = std::min(accuracyLow, p.dAccuracy);
        accuracyHigh = std::max(accuracyHigh, p.dAccuracy);
    }
    // Characters from nothing, so that the heights compare; accuracy where it lies.
    chart.charsAxis = ValueAxisFor(0, charsHigh, 0, 1e9, nMaxSteps);
    chart.accuracyAxis = ValueAxisFor(accuracyLow, accuracyHigh, 0, 100, nMaxSteps);
    if (!points.empty()) {
        chart.nFirst = points.front().nMinute;
        chart.nLast = points.back().nMinute;
    }
    if (chart.nLast - chart.nFirst < 60) {
        chart.nFirst -= 12 * 60;
        chart.nLast += 12 * 60;
    }
    chart.ticks = DateTicksFor(chart.nFirst, chart.nLast, nMaxTicks);
    return chart;
}

std::string TestResultTip(const TestResultPoint& point) {
    std::string tip = IsoMinute(point.nMinute);
    if (tip.size() > 10) tip[10] = ' ';  // "2026-12-11 09:07"
    tip += "\n" + point.strLesson;
    tip += "\n10分あたり " + Whole(point.dCharsPer10Min) + "字";
    tip += "\n正確さ " + Whole(point.dAccuracy) + "%";
    return tip;
}

}  // namespace kibiki
