// The timed test: its scoring under every rule set, the countdown, and the run itself on the
// fake clock.
#include <gtest/gtest.h>

#include "kana/kanji_segments.h"

#include "lessons/test_passages.h"
#include "lessons/test_score.h"
#include "lessons/test_text.h"
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

// The sentences run on as one question: a bar where the text turns between kana and kanji at
// a join, none where it does not, and the runs of every sentence still paired with the display.
TEST(TimedTestText, SentencesJoinIntoOneQuestion) {
    LessonTexts texts;
    const auto add = [&](const char* kanji, const char* reading) {
        texts.aKanji.push_back(Sj(kanji));
        texts.aReadings.push_back(Sj(reading));
    };
    add("駅前の本。", "えきまえ｜の｜ほん｜。");
    add("本を読む。", "ほん｜を｜よ｜む。");       // kanji after "。": a bar at the join
    add("", "ＡＢです。");                       // no kanji: shown as its reading
    add("", "");                                 // nothing to type: left out
    add("今日は晴れ。", "きょう｜は｜は｜れ｜。");  // a bar too many: shown as its reading
    add("雨だ。", "あめ/だ。");                 // the user's separator
    const TestText t = JoinTestText(texts, "/", 4096);
    EXPECT_EQ(U8(t.strDisplay), "駅前の本。本を読む。ＡＢです。きょうははれ。雨だ。");
    EXPECT_EQ(U8(t.strReading), "えきまえ｜の｜ほん｜。｜ほん｜を｜よ｜む。｜ＡＢ｜です。きょうははれ。｜あめ｜だ。");
    EXPECT_EQ(t.aChars, (std::vector<int>{5, 5, 5, 7, 3}));
    EXPECT_EQ(t.aReadingEnds, (std::vector<int>{16, 28, 38, 52, 60}));

    // What a stop counts: whole sentences only.
    const std::pair<int, int> stops[] = {{0, 0}, {15, 0}, {16, 5}, {27, 5}, {28, 10}, {60, 25}, {9999, 25}};
    for (const auto& [pos, chars] : stops) EXPECT_EQ(FinishedChars(t, pos), chars) << pos;

    // Sentences stop where the box's limit would be passed; the first is always taken.
    EXPECT_EQ(JoinTestText(texts, "/", 20).aChars, (std::vector<int>{5, 5}));
    EXPECT_EQ(JoinTestText(texts, "/", 4).aChars, (std::vector<int>{5}));
}

TEST(TimedTestText, EveryPassageKeepsItsKanjiAndItsRunsPairUp) {
    for (const TestPassage& p : TestPassages()) {
        SCOPED_TRACE(U8(p.strTitle));
        const Lesson lesson = TimedTestLesson(p, false, 10);
        TestText t = JoinTestText(lesson.texts, "", 4096);
        std::string kanji;
        for (const std::string& k : lesson.texts.aKanji) kanji += k;
        EXPECT_EQ(t.strDisplay, kanji);
        EXPECT_EQ(t.aChars.size(), lesson.texts.aKanji.size());
        CKanjiSegments segments;
        segments.SplitKanjiSegments(t.strDisplay, t.strReading, "");
        EXPECT_EQ(segments.m_aDisplayBounds.size(), segments.m_aReadingBounds.size());
    }
}

// A 1-minute test over the first passage, 200 ms a key.
struct TimedRun : test::PracticeHarness {
    explicit TimedRun(bool bRomaji = false) {
        m_dwMsPerKey = 200;
        EXPECT_TRUE(m_view.StartLesson(TimedTestLesson(TestPassages().at(0), bRomaji, 1)));
        m_text = JoinTestText(m_doc.CurrentLesson().texts, "", 4096);
    }
    std::string Title() const { return Shown(IDC_TITLE); }  // UTF-8
    // Right keys until the reading reaches nKanaPos; how many were typed.
    int TypeTo(int nKanaPos) {
        int keys = 0;
        while (m_view.IsRunning() && m_doc.Run().KanaPos() < nKanaPos) {
            m_view.OnTypedChar(m_doc.NextExpectedKey());
            m_clock.m_dwTick += m_dwMsPerKey;
            ++keys;
        }
        return keys;
    }
    int TypeKeys(int n) {
        for (int i = 0; i < n; ++i) {
            m_view.OnTypedChar(m_doc.NextExpectedKey());
            m_clock.m_dwTick += m_dwMsPerKey;
        }
        return n;
    }
    TestText m_text;
};

TEST(TimedTestRun, TimedFromTheFirstKeyAndEndsAtTheLimitMidQuestion) {
    TimedRun r;
    EXPECT_NE(r.Title().find("腕試し1分　"), std::string::npos) << r.Title();
    EXPECT_NE(r.Title().find("残り 1:00"), std::string::npos) << r.Title();
    // The whole passage is the one question, shown at once.
    EXPECT_EQ(r.m_doc.Run().QuestionCount(), 1);
    EXPECT_EQ(r.m_form.Text(IDC_QUESTION), U8(r.m_text.strDisplay));
    r.m_clock.m_dwTick += 5 * 60000;  // waiting before the first key costs nothing
    r.m_view.OnTimer();
    ASSERT_TRUE(r.m_view.IsRunning());
    EXPECT_NE(r.Title().find("残り 1:00"), std::string::npos);

    const std::uint32_t start = r.m_clock.m_dwTick;
    int keys = r.TypeTo(r.m_text.aReadingEnds[0]);
    r.Type("ｱ");  // a miss in the second sentence
    keys += r.TypeKeys(5);  // part way
    ASSERT_EQ(r.m_doc.Run().QuestionsDone(), 0);
    r.m_clock.m_dwTick = start + 59000;
    r.m_view.OnTimer();
    EXPECT_NE(r.Title().find("残り 0:01"), std::string::npos) << r.Title();
    r.m_clock.m_dwTick = start + 60000;
    r.m_view.OnTimer();

    EXPECT_NE(r.m_form.Transcript().find("残り 0:00"), std::string::npos);
    EXPECT_FALSE(r.m_view.IsRunning());
    ASSERT_EQ(r.m_form.m_timedResults.size(), 1u);
    const TimedTestResultInfo& info = r.m_form.m_timedResults[0];
    EXPECT_EQ(U8(info.strTitle), "腕試し1分");
    ASSERT_GE(info.rows.size(), 6u);
    // Only the finished sentence counts as text, however far the second one got; the keys
    // count as far as they went, so speed and accuracy cover the whole minute.
    EXPECT_EQ(U8(info.rows[0].second), std::to_string(r.m_text.aChars[0]) + "字");
    EXPECT_EQ(U8(info.rows[2].second), std::to_string(keys) + "／分");
    EXPECT_EQ(U8(info.rows[5].second), "1回");
    EXPECT_NE(r.HistoryFile().find("腕試し1分"), std::string::npos) << r.HistoryFile();
    EXPECT_NE(r.HistoryFile().find(",腕試し1分," + std::to_string(keys) + ","), std::string::npos) << r.HistoryFile();
}

// The text runs on from line to line: the question box turns its pages as a long question's.
TEST(TimedTestRun, TheQuestionBoxTurnsPagesThroughThePassage) {
    TimedRun r(true);
    r.m_form.m_nLineBytes = 20;
    r.TypeTo(r.m_text.aReadingEnds[2]);
    EXPECT_GT(r.m_form.m_nQuestionTopLine, 0);
    EXPECT_EQ(r.m_doc.Run().QuestionsDone(), 0);
    EXPECT_TRUE(r.m_view.IsRunning());
}

// Typed to the end before the limit, the whole text counts and the time is what it took.
TEST(TimedTestRun, ThePassageFinishedEarlyCountsWhole) {
    TimedRun r;
    r.m_dwMsPerKey = 10;
    r.TypeTo(1 << 20);
    EXPECT_FALSE(r.m_view.IsRunning());
    ASSERT_EQ(r.m_form.m_timedResults.size(), 1u);
    int chars = 0;
    for (int n : r.m_text.aChars) chars += n;
    EXPECT_EQ(U8(r.m_form.m_timedResults[0].rows[0].second), std::to_string(chars) + "字");
}

// A registered lesson file as the test's text: its typeable lines in order; a file with none,
// or one that cannot be read, is told and starts nothing.
TEST(TimedTestFile, ALessonFilesTypeableLinesBecomeTheText) {
    test::PracticeHarness h;
    RecordingMessenger told;
    const auto choose = [&](const std::string& path, bool bRomaji, Lesson& lesson) {
        TimedTestChoice choice;
        choice.nMinutes = 3;
        choice.bRomaji = bRomaji;
        choice.strFile = path;
        return ChosenTestLesson(choice, 0, "", lesson, &told);
    };
    const std::string kanji = h.WriteLessonFile(
        "k.txt", "#KANAKANJI\n天気\n晴れ,は｜れ\nＡＢＣ,えーびーしー\n\n雨が降る,あめ｜が｜ふ｜る\nＡＢＣ\n");
    Lesson lesson;
    ASSERT_TRUE(choose(kanji, false, lesson));
    EXPECT_EQ(lesson.source, LessonSource::TimedTest);
    EXPECT_EQ(lesson.mode, PracticeMode::KanaKanji);
    EXPECT_EQ(lesson.nTimeLimitSec, 180);
    EXPECT_EQ(U8(lesson.strTitle), "腕試し3分　天気");
    EXPECT_EQ(U8(lesson.strHistoryName), "腕試し3分");
    // "ＡＢＣ" alone has no kana reading to type; the empty line is skipped, not an end.
    ASSERT_EQ(lesson.texts.aReadings.size(), 3u);
    EXPECT_EQ(U8(lesson.texts.aKanji[2]), "雨が降る");
    ASSERT_TRUE(h.m_view.StartLesson(std::move(lesson)));
    EXPECT_EQ(h.m_form.Text(IDC_QUESTION), "晴れＡＢＣ雨が降る");
    EXPECT_TRUE(told.m_shown.empty());

    // A kana file reads as readings, in romaji input too.
    const std::string kana = h.WriteLessonFile("kana.txt", "#KANA\n\nりんご\nみかん\n");
    ASSERT_TRUE(choose(kana, true, lesson));
    EXPECT_EQ(lesson.mode, PracticeMode::RomajiKanji);
    EXPECT_EQ(lesson.texts.aReadings.size(), 2u);

    // Letters to type as English text are no reading.
    const std::string english = h.WriteLessonFile("en.txt", "#ROMAN\nwords\nDOG\nCAT\n");
    for (const std::string& path : {english, h.WriteLessonFile("none.txt", "#KANA\nx\n")}) {
        told.m_shown.clear();
        EXPECT_FALSE(choose(path, false, lesson));
        ASSERT_EQ(told.m_shown.size(), 1u);
        EXPECT_NE(told.m_shown[0].text.find("打てる問題文がありません"), std::string::npos) << told.m_shown[0].text;
    }
    told.m_shown.clear();
    EXPECT_FALSE(choose(h.m_dir + "/gone.txt", false, lesson));
    ASSERT_EQ(told.m_shown.size(), 1u);
    EXPECT_NE(told.m_shown[0].text.find("開けません"), std::string::npos) << told.m_shown[0].text;
}

TEST(TimedTestRun, AKeyAfterTheLimitEndsItUncounted) {
    TimedRun r;
    r.TypeKeys(20);
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
        r.TypeKeys(20);
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
        r.TypeKeys(20);
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
