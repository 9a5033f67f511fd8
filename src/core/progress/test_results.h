#pragma once
// The "腕試し" page: each finished timed test's characters per 10 minutes and accuracy over
// time, from the practice log's "test" runs, with the chart's axes and date ticks.
#include <cstdint>
#include <string>
#include <vector>

#include "practice_log/logged_run.h"
#include "progress/chart_axes.h"

namespace kibiki {

struct TestResultPoint {
    std::int64_t nMinute = 0;   // the local minute the test began, as the history's records
    std::string strLesson;      // UTF-8: "腕試し10分"
    double dCharsPer10Min = 0;  // characters of whole sentences, per 10 minutes
    double dAccuracy = 0;       // percent
};

struct TestResultChart {
    ValueAxis charsAxis;     // from 0
    ValueAxis accuracyAxis;  // within 0-100
    std::int64_t nFirst = 0, nLast = 1;  // the time axis, in minutes; a lone test gets a day
    DateTicks ticks;
};

// The tests that ran to their end and counted their characters (a stopped test, and one kept
// before the log counted them, are left out), oldest first. runs: the log's summaries.
std::vector<TestResultPoint> TestResultPoints(const std::vector<LoggedRun>& runs);

// The chart's axes for those points: at most nMaxSteps value steps and nMaxTicks date ticks.
TestResultChart TestResultChartFor(const std::vector<TestResultPoint>& points, int nMaxSteps, int nMaxTicks);

// A point's tip (UTF-8): date and time, test, characters per 10 minutes, accuracy.
std::string TestResultTip(const TestResultPoint& point);

// What the page says while there is nothing to chart (UTF-8).
inline constexpr const char* kNoTestResults =
    "腕試しの記録はまだありません。\n「レッスン」→「腕試し...」で最後まで打つと、ここに結果が並びます。";

}  // namespace kibiki
