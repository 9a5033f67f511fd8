// The timed test: its scoring under every rule set, the countdown, and the run itself on the
// fake clock.
#include <gtest/gtest.h>

#include "lessons/test_passages.h"
#include "lessons/test_score.h"
#include "lessons/timed_test.h"
#include "support/practice_harness.h"
#include "support/test_util.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

TestYardsticks SmallYardsticks() {
    TestYardsticks y;
    y.grades = {{"A", "4", 200, 1}, {"A", "3", 300, 2}};
    y.bands = {{"B", "40", 40}, {"B", "60", 60}};
    return y;
}

TEST(TimedTestScore, GradesWithDeductionsAndBoundaries) {
    struct Case {
        const char* what;
        int nChars, nMisses;
        std::uint32_t dwMs;
        const char* gradeA;  // "" none
        const char* bandB;
        int nShort;
        const char* next;
    };
    const Case cases[] = {
        {"the top line met exactly", 300, 0, 600000, "3", "", 0, ""},
        {"one mistake costs each grade its own deduction", 300, 1, 600000, "4", "", 2, "3"},
        {"a character below the lowest line", 199, 0, 600000, "", "", 1, "4"},
        {"a 1-minute test counts per 10 minutes, mistakes too", 30, 1, 60000, "4", "", 20, "3"},
        {"a band met exactly", 40, 0, 60000, "3", "40", 0, ""},
        {"the shortfall is rounded up", 59, 0, 180000, "", "", 4, "4"},
        {"mistakes can take the net below nothing", 10, 20, 600000, "", "", 210, "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TestScore s = ScoreTimedTest({c.nChars, 0, 0, c.nMisses, c.dwMs}, SmallYardsticks());
        ASSERT_EQ(s.sets.size(), 2u);
        EXPECT_EQ(s.sets[0].strSet, "A");
        EXPECT_EQ(s.sets[0].strReached, c.gradeA);
        EXPECT_EQ(s.sets[1].strSet, "B");
        EXPECT_EQ(s.sets[1].strReached, c.bandB);
        EXPECT_EQ(s.nShort, c.nShort);
        EXPECT_EQ(s.strNextGrade, c.next);
    }
}

TEST(TimedTestScore, RatesAndAccuracy) {
    const TestScore s = ScoreTimedTest({45, 60, 150, 3, 90000}, SmallYardsticks());
    EXPECT_DOUBLE_EQ(s.dCharsPerMinute, 30);
    EXPECT_DOUBLE_EQ(s.dCharsPer10Min, 300);
    EXPECT_DOUBLE_EQ(s.dKanaPerMinute, 40);
    EXPECT_DOUBLE_EQ(s.dKeysPerMinute, 100);
    EXPECT_DOUBLE_EQ(s.dAccuracy, 98);
}

TEST(TimedTestScore, CompiledTableAndTexts) {
    const TestYardsticks& y = DefaultYardsticks();
    ASSERT_FALSE(y.grades.empty());
    ASSERT_FALSE(y.bands.empty());
    // Each set's grades rise in both the line and the deduction, so a grade reached means
    // every lower one of its set is reached too.
    for (std::size_t i = 1; i < y.grades.size(); ++i) {
        if (y.grades[i].strSet != y.grades[i - 1].strSet) continue;
        EXPECT_GT(y.grades[i].nPassLine, y.grades[i - 1].nPassLine);
        EXPECT_GE(y.grades[i].nDeduction, y.grades[i - 1].nDeduction);
    }
    const TestScore s = ScoreTimedTest({258, 0, 0, 0, 600000});
    EXPECT_EQ(U8(NextGradeText(s)), "あと 42字で3級の目安");
    EXPECT_EQ(U8(ReachedText(s.sets[0])), "4級の目安");
    EXPECT_EQ(U8(ReachedText(s.sets[1])), "目安に届かず");
    EXPECT_EQ(U8(TimedTestName(10)), "腕試し10分");
    EXPECT_EQ(CountChars(Sj("図書館が、半年")), 7);
}

TEST(TimedTestScore, CountdownRoundsUp) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {600000, "残り 10:00"}, {599001, "残り 10:00"}, {599000, "残り 9:59"}, {61000, "残り 1:01"},
        {1, "残り 0:01"}, {0, "残り 0:00"}};
    for (const auto& [ms, text] : cases) EXPECT_EQ(U8(CountdownText(ms)), text) << ms;
}

// A 1-minute kana test over the first passage, 200 ms a key.
struct TimedRun : test::PracticeHarness {
    TimedRun() {
        m_dwMsPerKey = 200;
        EXPECT_TRUE(m_view.StartLesson(TimedTestLesson(TestPassages().at(0), false, 1)));
    }
    std::string Title() const { return Shown(IDC_TITLE); }  // UTF-8
    int FirstSentenceChars() const { return FinishedChars(m_doc.CurrentLesson().texts, 1); }
};

TEST(TimedTestRun, TimedFromTheFirstKeyAndEndsAtTheLimitMidQuestion) {
    TimedRun r;
    EXPECT_NE(r.Title().find("腕試し1分　"), std::string::npos) << r.Title();
    EXPECT_NE(r.Title().find("残り 1:00"), std::string::npos) << r.Title();
    r.m_clock.m_dwTick += 5 * 60000;  // waiting before the first key costs nothing
    r.m_view.OnTimer();
    ASSERT_TRUE(r.m_view.IsRunning());
    EXPECT_NE(r.Title().find("残り 1:00"), std::string::npos);

    const std::uint32_t start = r.m_clock.m_dwTick;
    r.TypeQuestion();
    r.Type("ｱ");  // a miss in the second sentence
    const int done = r.m_doc.Run().QuestionsDone();
    ASSERT_EQ(done, 1);
    for (int i = 0; i < 5; ++i) r.m_view.OnTypedChar(r.m_doc.NextExpectedKey());  // part way
    ASSERT_EQ(r.m_doc.Run().QuestionsDone(), 1);
    r.m_clock.m_dwTick = start + 59000;
    r.m_view.OnTimer();
    EXPECT_NE(r.Title().find("残り 0:01"), std::string::npos) << r.Title();
    r.m_clock.m_dwTick = start + 60000;
    r.m_view.OnTimer();

    EXPECT_FALSE(r.m_view.IsRunning());
    ASSERT_EQ(r.m_form.m_timedResults.size(), 1u);
    const TimedTestResultInfo& info = r.m_form.m_timedResults[0];
    EXPECT_EQ(U8(info.strTitle), "腕試し1分");
    ASSERT_FALSE(info.rows.empty());
    // Only the finished sentence counts, however far the second one got.
    EXPECT_EQ(U8(info.rows[0].second), std::to_string(r.FirstSentenceChars()) + "字");
    EXPECT_EQ(U8(info.rows[5].second), "1回");
    EXPECT_NE(r.HistoryFile().find("腕試し1分"), std::string::npos) << r.HistoryFile();
}

TEST(TimedTestRun, AKeyAfterTheLimitEndsItUncounted) {
    TimedRun r;
    r.TypeQuestion();
    const int misses = r.m_doc.Run().Misses();
    r.m_clock.m_dwTick += 60000;
    r.Type("ｱ");
    EXPECT_FALSE(r.m_view.IsRunning());
    ASSERT_EQ(r.m_form.m_timedResults.size(), 1u);
    EXPECT_EQ(U8(r.m_form.m_timedResults[0].rows[5].second), std::to_string(misses) + "回");
}

TEST(TimedTestRun, AgainRestartsAndTheResultShowsTheBestSoFar) {
    TimedRun r;
    r.m_form.m_lessonEndAnswers.push_back(LESSON_END_AGAIN);
    for (int run = 0; run < 2; ++run) {
        r.TypeQuestion();
        r.m_clock.m_dwTick += 60000;
        r.m_view.OnTimer();
    }
    ASSERT_EQ(r.m_form.m_timedResults.size(), 2u);
    const auto& first = r.m_form.m_timedResults[0].rows;
    const auto& second = r.m_form.m_timedResults[1].rows;
    EXPECT_NE(U8(first[6].first), "これまでの最高");
    EXPECT_EQ(U8(second[6].first), "これまでの最高");
    EXPECT_EQ(second[6].second, first[2].second);
    EXPECT_FALSE(r.m_view.IsRunning());
}

// Esc or "レッスンの終了" stops a test unasked, with no result and no history line; the log's
// recorder hears it as stopped.
TEST(TimedTestRun, EscapeOrTheMenuStopsWithoutAResult) {
    struct EndListener : KeystrokeListener {
        void OnRunStart(const Lesson&) override {}
        void OnKeystroke(const KeystrokeEvent&) override {}
        void OnRunEnd(RunEnd end) override { ends.push_back(end); }
        std::vector<RunEnd> ends;
    };
    for (const bool bMenu : {false, true}) {
        SCOPED_TRACE(bMenu ? "menu" : "Esc");
        TimedRun r;
        EndListener listener;
        r.m_view.AddListener(&listener);
        r.TypeQuestion();
        const std::string asked = r.m_form.Lines({"message"});
        if (bMenu)
            r.m_view.FinishRun();
        else
            EXPECT_TRUE(r.m_view.OnEscape());
        EXPECT_FALSE(r.m_view.IsRunning());
        EXPECT_EQ(r.m_form.Lines({"message"}), asked);
        EXPECT_TRUE(r.m_form.m_timedResults.empty());
        EXPECT_EQ(r.HistoryFile().find("腕試し"), std::string::npos);
        EXPECT_EQ(listener.ends, std::vector<RunEnd>{RunEnd::Stopped});
        EXPECT_FALSE(r.m_view.OnEscape());  // nothing to stop
        r.m_view.RemoveListener(&listener);
    }
}

}  // namespace
}  // namespace kibiki
