// The 腕試し page's figures: which runs of the log it charts, and what each point says.
#include <gtest/gtest.h>

#include "progress/test_results.h"

namespace kibiki {
namespace {

LoggedRun TestRun(std::time_t tStart, int nChars, std::int64_t nMs, int nKeys, int nMisses,
                  RunEnd end = RunEnd::Finished, const char* source = "test") {
    LoggedRun r;
    r.tStart = tStart;
    r.strSource = source;
    r.strLesson = "腕試し1分";
    r.nChars = nChars;
    r.nElapsedMs = nMs;
    r.nKeystrokes = nKeys;
    r.nMisses = nMisses;
    r.end = end;
    return r;
}

TEST(TestResults, OnlyFinishedCountedTestsOldestFirst) {
    const std::time_t day = 86400;
    const std::vector<LoggedRun> runs = {
        TestRun(20 * day, 60, 60000, 200, 10),                       // 600 a 10 minutes, 95%
        TestRun(10 * day, 450, 600000, 900, 0),                      // older, read later
        TestRun(11 * day, 99, 60000, 200, 0, RunEnd::Stopped),       // stopped: no result
        TestRun(12 * day, -1, 60000, 200, 0),                        // kept before chars counted
        TestRun(13 * day, 50, 60000, 200, 0, RunEnd::Finished, "file"),  // no test
        TestRun(14 * day, 50, 0, 200, 0),                            // no time measured
    };
    const std::vector<TestResultPoint> points = TestResultPoints(runs);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[0].dCharsPer10Min, 450);
    EXPECT_DOUBLE_EQ(points[0].dAccuracy, 100);
    EXPECT_DOUBLE_EQ(points[1].dCharsPer10Min, 600);
    EXPECT_DOUBLE_EQ(points[1].dAccuracy, 95);
    EXPECT_EQ(points[1].nMinute - points[0].nMinute, 10 * 1440);

    const std::string tip = TestResultTip(points[1]);
    EXPECT_NE(tip.find("腕試し1分\n10分あたり 600字\n正確さ 95%"), std::string::npos) << tip;

    const TestResultChart chart = TestResultChartFor(points, 5, 8);
    EXPECT_EQ(chart.charsAxis.dLow, 0);
    EXPECT_GE(chart.charsAxis.dHigh, 600);
    EXPECT_LE(chart.accuracyAxis.dLow, 95);
    EXPECT_LE(chart.accuracyAxis.dHigh, 100);
    EXPECT_FALSE(chart.ticks.aTicks.empty());
    EXPECT_LE(chart.nFirst, points[0].nMinute);
    EXPECT_GE(chart.nLast, points[1].nMinute);
}

TEST(TestResults, NoTestsNoPoints) {
    // An empty chart still has axes to draw.
    const TestResultChart chart = TestResultChartFor({}, 5, 8);
    EXPECT_GT(chart.charsAxis.dHigh, chart.charsAxis.dLow);
    EXPECT_GT(chart.nLast, chart.nFirst);
    EXPECT_TRUE(TestResultPoints({TestRun(0, 10, 60000, 20, 0, RunEnd::Stopped)}).empty());
}

}  // namespace
}  // namespace kibiki
