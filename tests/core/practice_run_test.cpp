// Whole runs typed through the view and a recording form.
#include <gtest/gtest.h>

#include <random>

#include "lessons/catalogue.h"
#include "lessons/evaluation.h"
#include "lessons/lesson_file.h"
#include "support/practice_harness.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::PracticeHarness;
using test::U8;

// --- the judge -------------------------------------------------------------------------------

TEST(Judge, VoicedKanaIsBaseThenMarkAndCountsTwice) {
    PracticeHarness h;
    h.StartCustom("#KANA\nテスト\nがか\n");
    ASSERT_TRUE(h.m_view.IsRunning());
    EXPECT_EQ(h.Shown(IDC_QUESTION), "がか");

    h.m_form.m_log.clear();
    h.Type("ｶ");
    EXPECT_EQ(h.Shown(IDC_ANSWER), "か");  // the base shown as its plain kana
    EXPECT_EQ(h.m_doc.Run().KanaPos(), 0);
    // The guide moves from ｶ (left index finger) to the mark ﾞ (right little finger).
    EXPECT_EQ(h.m_form.Lines({"color"}),
              "color shift_left 000000\ncolor shift_right 000000\n"
              "color cap_か 000000\ncolor finger_left_index 000000\n"
              "color cap_゛ 0000FF\ncolor finger_right_little 0000FF");

    h.Type("ｷ");  // wrong between the two strokes: tallied under the mark
    EXPECT_EQ(h.Shown(IDC_MISS_KEY), "き");
    EXPECT_EQ(h.Shown(IDC_MISS_COUNT), "1");
    h.Type("ﾞ");
    EXPECT_EQ(h.Shown(IDC_ANSWER), "が");
    h.Type("ｶ");
    ASSERT_FALSE(h.m_view.IsRunning());  // the lesson-end dialog answered "やめる"

    // Four keys 500 ms apart: 1.5 s, taken as 1 s.

    EXPECT_EQ(h.m_doc.Run().Keystrokes(), 3.0);
    EXPECT_EQ(h.m_doc.Run().MissedKeys(), (std::map<unsigned char, int>{{0xDE, 1}}));
    EXPECT_EQ(h.m_form.Lines({"lesson-end"}),
              "lesson-end message=\"もう少し練習しましょう。\" accuracy=\"67％\" speed=\"180／分\" "
              "top=\"゛…1回　\" details=\"゛…1回\\r\\n\" next=off showall=off -> 2");
    EXPECT_EQ(h.HistoryFile(), "2004年05月06日 09:07,テスト,180,67,゛  1 \r\n");
}

TEST(Judge, WrongKeyIsTalliedUnderTheExpectedKeyAndSinksTheTypedCap) {
    PracticeHarness h;
    h.StartBuiltIn(1, 1);
    h.TypeQuestion();
    ASSERT_EQ(h.Shown(IDC_QUESTION), "AIUEO");

    h.m_form.m_log.clear();
    h.Type("S");
    EXPECT_EQ(h.m_form.Transcript(),
              "text miss_key \"S\"\n"
              "sunken cap_と\n"
              "beep\n"
              "text miss_count \"1\"\n"
              "ime close");
    EXPECT_EQ(h.m_doc.Run().MissedKeys().at(static_cast<unsigned char>('A')), 1);

    h.m_form.m_log.clear();
    h.Type("a");  // right: built-in lessons fold case; the S cap comes back up first
    EXPECT_EQ(h.m_form.Lines({"raised", "text miss_key", "text answer"}),
              "raised cap_と\ntext miss_key \"\"\ntext answer \"A\"");
    EXPECT_TRUE(h.m_form.m_sunken.empty());
}

TEST(Judge, TheFirstKeyStartsTheClockEvenWhenWrong) {
    PracticeHarness h;
    h.StartBuiltIn(0, 1);
    h.m_clock.m_dwTick = 70000;
    h.m_clock.m_tNow = test::kStartTime + 60;
    h.Type("1");
    EXPECT_EQ(h.m_doc.Run().StartTick(), 70000u);
    EXPECT_EQ(h.m_doc.Run().StartTime(), test::kStartTime + 60);
    h.m_clock.m_tNow += 30;
    h.Type("ﾏ");
    EXPECT_EQ(h.m_doc.Run().StartTick(), 70000u);
    EXPECT_EQ(h.m_doc.Run().StartTime(), test::kStartTime + 60);
}

TEST(Judge, CaseAndTheShownWrongKeyFollowTheModeAndLesson) {
    struct Case {
        const char* name;
        const char* file;  // lesson file, or nullptr for built-in lesson 1
        int type;
        const char* keys;
        const char* missKey;  // last-wrong-key control after the keys
        int misses;
    };
    const Case cases[] = {
        {"built-in romaji folds a to A", nullptr, 1, "a", "", 0},
        {"English text keeps the case: a is wrong for A", "#ROMAN\nE\nAb\n", 1, "a", "a", 1},
        {"English text: lower-case b after A is right", "#ROMAN\nE\nAb\n", 1, "Ab", "", 0},
        {"romaji-reading mode shows / as the middle dot", "#ROMANJ\nR\nあ\n", 2, "/", "・", 1},
        {"romaji-reading mode folds a wrong s", "#ROMANJ\nR\nあ\n", 2, "s", "S", 1},
        {"kana mode shows a wrong kana as hiragana", "#KANA\nK\nあい\n", 0, "ｱｳ", "う", 1},
        {"kana mode shows a wrong letter upper-cased", "#KANA\nK\nあい\n", 0, "ｱq", "Q", 1},
        // The keypad types ASCII even with the kana lock on.
        {"kana mode: keypad +", "#KANA\nK\nあい\n", 0, "ｱ+", "+", 1},
        {"kana mode: keypad -, not the ほ of the - key", "#KANA\nK\nあい\n", 0, "ｱ-", "-", 1},
        {"kana mode: keypad 1", "#KANA\nK\nあい\n", 0, "ｱ1", "1", 1},
        // Keys that type no letter are named in two half-width letters, in every mode.
        {"kana mode: Backspace", "#KANA\nK\nあい\n", 0, "\b", "BS", 1},
        {"kana mode: Enter", "#KANA\nK\nあい\n", 0, "\r", "CR", 1},
        {"romaji: Tab", "#ROMAN\nE\nAb\n", 1, "\t", "TB", 1},
        {"romaji: Escape", "#ROMAN\nE\nAb\n", 1, "\x1b", "ES", 1},
        {"romaji: a space", "#ROMAN\nE\nAb\n", 1, " ", "SP", 1},
        {"romaji-reading: Ctrl+Enter", "#ROMANJ\nR\nあ\n", 2, "\n", "LF", 1},
        {"romaji-reading: Ctrl+Backspace", "#ROMANJ\nR\nあ\n", 2, "\x7f", "DL", 1},
        {"romaji-reading: Ctrl+C in caret notation", "#ROMANJ\nR\nあ\n", 2, "\x03", "^C", 1},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_form.m_msgAnswers.push_back(MsgResult::Yes);  // "英文モードですか？"
        if (c.file) h.StartCustom(c.file);
        else h.StartBuiltIn(c.type, 1);
        if (!c.file) {
            h.TypeQuestion();  // lesson 1 of mode 1: AIUEO is the second question
        }
        ASSERT_TRUE(h.m_view.IsRunning()) << c.name;
        ASSERT_EQ(ModeValue(h.m_view.ShownMode()), c.type) << c.name;
        h.Type(c.keys);
        EXPECT_EQ(h.Shown(IDC_MISS_KEY), c.missKey) << c.name;
        EXPECT_EQ(h.m_doc.Run().Misses(), c.misses) << c.name;
    }
}

TEST(Judge, KanaLockAndInputMethodAreSetAfterEveryJudgedKeyButNotTheLast) {
    PracticeHarness h;
    h.StartCustom("#KANA\nK\nあ\n");
    EXPECT_EQ(h.m_keyboard.m_state[VK_KANA], 1);
    h.m_keyboard.m_state[VK_KANA] = 0;
    h.m_form.m_log.clear();
    h.Type("ｲ");  // wrong
    EXPECT_EQ(h.m_keyboard.m_state[VK_KANA], 1);
    EXPECT_EQ(h.m_form.Lines({"ime"}), "ime close");
    h.m_form.m_log.clear();
    const int writes = h.m_keyboard.m_nWrites;
    h.Type("ｱ");  // completes the lesson: only the evaluation sets the lock
    EXPECT_EQ(h.m_form.Lines({"ime"}), "");
    EXPECT_EQ(h.m_keyboard.m_nWrites, writes + 1);
}

TEST(Judge, KeysWhileIdleOnlyRaiseAPendingMissMark) {
    PracticeHarness h;
    h.StartBuiltIn(1, 1);
    h.Type("Z");
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.m_view.FinishRun();  // "レッスンの終了", confirmed
    ASSERT_FALSE(h.m_view.IsRunning());
    h.m_form.m_log.clear();
    h.Type("Q");
    EXPECT_EQ(h.m_form.Transcript(), "raised cap_つ\ntext miss_key \"\"");
    h.Type("Q");
    EXPECT_EQ(h.m_form.Transcript(), "raised cap_つ\ntext miss_key \"\"");
}

// --- paging of the question box ----------------------------------------------------------------

TEST(Paging, EachPageShowsItsLinesFromTheTopAndTheAnswerSinceThePageBegan) {
    struct Case {
        const char* file;
        int nLineBytes;
        int nLines;
        const char* progressRange;
        // The answer box after each key; "|n" before it when the question box turned to the
        // page that starts on line n.
        const char* answers;
        int lastPos;
    };
    // 14 letters at 4 bytes a line: 4 lines.
    const char* const roman = "#ROMAN\nP\nABCDEFGHIJKLMN\nX\n";
    const Case cases[] = {
        {roman, 4, 1, "0..4", "A AB ABC |1 E EF EFG |2 I IJ IJK |3 M", 4},
        {roman, 4, 2, "0..2", "A AB ABC ABCD ABCDE ABCDEF ABCDEFG |2 I IJ IJK IJKL IJKLM", 2},
        // The last page holds one line of three; the bar ends full instead of starting again.
        {roman, 4, 3, "0..2", "A AB ABC ABCD ABCDE ABCDEF ABCDEFG ABCDEFGH ABCDEFGHI ABCDEFGHIJ ABCDEFGHIJK |3 M", 2},
        // A kana moves the caret two lines at a time past a page's first line: the page turns
        // all the same.
        {"#KANA\nP\nあいうえお\nか\n", 1, 3, "0..4", "あ |3 |6 え", 3},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_form.m_nLineBytes = c.nLineBytes;
        h.m_view.SetFont(c.nLines);
        h.m_form.m_msgAnswers.push_back(MsgResult::Yes);  // English text
        h.StartCustom(c.file);
        EXPECT_EQ(h.m_form.Lines({"progress"}), std::string("progress range ") + c.progressRange +
                                                    "\nprogress step 1\nprogress step-it 1");
        std::string seen;
        int lastPos = 0;
        for (int i = 0; i < 40 && h.m_doc.Run().QuestionsDone() == 0; ++i) {
            const unsigned char next = h.m_doc.NextExpectedKey();
            h.m_form.m_log.clear();
            h.m_view.OnTypedChar(next);
            if (h.m_doc.Run().QuestionsDone() != 0) break;
            lastPos = h.m_form.m_nProgressPos;
            if (!seen.empty()) seen += ' ';
            if (!h.m_form.Lines({"top-line"}).empty()) seen += "|" + std::to_string(h.m_form.m_nQuestionTopLine);
            seen += h.Shown(IDC_ANSWER);
        }
        EXPECT_EQ(seen, c.answers) << c.file << c.nLines;
        EXPECT_EQ(lastPos, c.lastPos) << c.file << c.nLines;
        // The next question starts a fresh box on its first page.
        EXPECT_EQ(h.m_form.m_nQuestionTopLine, 0);
        EXPECT_EQ(h.Shown(IDC_ANSWER), "");
        EXPECT_EQ(h.m_form.m_nProgressLower, 0);
        EXPECT_EQ(h.m_form.m_nProgressUpper, 1);
        EXPECT_EQ(h.m_form.m_nProgressPos, 1);
    }
}

// --- evaluation ---------------------------------------------------------------------------------

TEST(Evaluation, MessageFollowsTheUnroundedAccuracy) {
    struct Case { double keystrokes; int misses; const char* accuracy; int messageId; };
    const Case cases[] = {
        {200, 0, "100", 43000},  {200, 1, "100", 43001}, {200, 20, "90", 43001},
        {200, 21, "90", 43002},  {200, 40, "80", 43002}, {200, 50, "75", 43003},
        {1000, 251, "75", 43004}, {10, 15, "0", 43004},  {0, 3, "0", 43004},
    };
    for (const auto& c : cases) {
        const double x = AccuracyPercent(c.keystrokes, c.misses);
        EXPECT_EQ(WholeNumber(x), c.accuracy) << c.keystrokes << "/" << c.misses;
        EXPECT_EQ(EvaluationMessageId(x, c.misses), c.messageId) << c.keystrokes << "/" << c.misses;
    }
}

TEST(Evaluation, SpeedIsPerWholeSecondAndFiniteUnderOneSecond) {
    struct Case { double keystrokes; std::uint32_t ms; const char* speed; };
    const Case cases[] = {
        {120, 59900, "122"}, {120, 60000, "120"}, {10, 1000, "600"},
        {10, 500, "1200"},   {10, 0, "600000"},   {0, 0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WholeNumber(KeystrokesPerMinute(c.keystrokes, c.ms)), c.speed) << c.ms;
}

TEST(Evaluation, TopThreeAndShowAll) {
    struct Case {
        std::map<unsigned char, int> misses;
        const char* top;
        const char* details;
        bool showAll;
        const char* history;
    };
    const Case cases[] = {
        {{{'A', 5}, {'S', 5}, {'D', 2}, {'F', 1}}, "A…5回　S…5回　D…2回",
         "A…5回\r\nS…5回\r\nD…2回\r\nF…1回\r\n", true, "A S D F  5 5 2 1 "},
        {{{'A', 5}, {'S', 1}}, "A…5回　S…1回　", "A…5回\r\nS…1回\r\n", false, "A S  5 1 "},
        {{{'A', 1}, {'B', 1}, {'C', 1}}, "A…1回　B…1回　C…1回", "A…1回\r\nB…1回\r\nC…1回\r\n", false,
         "A B C  1 1 1 "},
        {{}, "間違いはありませんでした", "間違いはありませんでした", false, " "},
        {{{' ', 2}, {',', 1}}, "スペース…2回　,…1回　", "スペース…2回\r\n,…1回\r\n", false,
         "スペース ,  2 1 "},
    };
    for (const auto& c : cases) {
        const std::vector<MissedKey> missed = SummariseMisses(PracticeMode::RomajiInput, c.misses);
        const std::vector<MissedKeyView> keys = ViewsOf(missed);
        EXPECT_EQ(U8(MissedKeysField(keys)), c.history);
        EXPECT_EQ(U8(LessonEndTopThree(keys)), c.top);
        EXPECT_EQ(U8(LessonEndDetails(keys)), c.details);
        EXPECT_EQ(keys.size() > kTopMissedKeys, c.showAll) << c.top;
    }
}

TEST(Evaluation, MissedKanaAndSlashAreShownAsTheyAreTyped) {
    struct Case { int type; unsigned char key; const char* shown; };
    const Case cases[] = {{0, 0xDE, "゛"}, {3, 0xB6, "か"}, {2, '/', "・"}, {4, '/', "・"}, {1, '/', "/"}};
    for (const auto& c : cases) {
        EXPECT_EQ(U8(MissedKeysField(ViewsOf(SummariseMisses(PracticeMode{c.type}, {{c.key, 4}})))),
                  std::string(c.shown) + "  4 ")
            << c.type;
    }
}

TEST(Evaluation, WholeRunScoresRecordsAndOffersTheNextLesson) {
    // Mode 1, lesson 3: 13 questions, a wrong first key, 500 ms a key.
    PracticeHarness h;
    h.StartBuiltIn(1, 3);
    EXPECT_EQ(h.Shown(IDC_TITLE), "Lesson3　中指の練習");
    EXPECT_EQ(h.Shown(IDC_REMAINING), "13");
    h.Type("Q");
    h.TypeQuestion();
    EXPECT_EQ(h.Shown(IDC_REMAINING), "12");
    h.m_form.m_lessonEndAnswers.push_back(LESSON_END_NEXT);
    h.TypeQuestions(12);

    double letters = 0;
    for (int id = 41440; id <= 41452; ++id) letters += static_cast<double>(StringOrEmpty(id).size());
    const std::uint32_t seconds = static_cast<std::uint32_t>(letters) * 500 / 1000;
    const std::string speed = WholeNumber(letters / seconds * 60.0);
    const std::string accuracy = WholeNumber((letters - 1) / letters * 100.0);
    EXPECT_EQ(h.HistoryFile(), "2004年05月06日 09:07,31," + speed + "," + accuracy + "," +
                                   StringOrEmpty(41440).substr(0, 1) + "  1 \r\n");
    EXPECT_NE(h.m_form.Lines({"lesson-end"}).find("next=on"), std::string::npos);

    // "次のレッスン": lesson 4 of the same mode; still running, menus still grey, the
    // remaining count empty until a question is done, progress at 0.
    EXPECT_EQ(h.m_doc.CurrentLesson().nNumber, 4);
    EXPECT_TRUE(h.m_view.IsRunning());
    EXPECT_FALSE(h.m_form.m_bMenusEnabled);
    EXPECT_EQ(h.Shown(IDC_TITLE), "Lesson4　薬指の練習");
    EXPECT_EQ(h.Shown(IDC_QUESTION), U8(StringOrEmpty(41460)));
    EXPECT_EQ(h.Shown(IDC_REMAINING), "");
    EXPECT_EQ(h.Shown(IDC_MISS_COUNT), "0");
    EXPECT_EQ(h.m_form.m_nProgressPos, 0);
}

// --- questions ----------------------------------------------------------------------------------

TEST(Questions, LessonSevenDrawsTwentyFromTheSecondItStarted) {
    // The generator is seeded with the calendar seconds: the same second, the same questions,
    // each floor(r * 100 / 2^32) into the general list (mode 2 asks the list of mode 0).
    std::mt19937 reference(static_cast<std::uint32_t>(test::kStartTime));
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        const auto r = static_cast<std::uint64_t>(reference());
        expected.push_back(U8(StringOrEmpty(41220 + static_cast<int>(r * 100 >> 32))));
    }
    for (int type : {0, 2}) {
        PracticeHarness h;
        h.m_form.m_lessonEndAnswers.push_back(LESSON_END_AGAIN);
        h.StartBuiltIn(type, 7);
        EXPECT_EQ(h.Shown(IDC_REMAINING), "20");
        std::vector<std::string> asked;
        for (int i = 0; i < 20; ++i) {
            asked.push_back(h.Shown(IDC_QUESTION));
            h.TypeQuestion();
        }
        EXPECT_EQ(asked, expected) << type;
        EXPECT_NE(h.m_form.Lines({"lesson-end"}).find("next=off"), std::string::npos);
        // "もう一度" in the same second starts the same sequence again.
        EXPECT_EQ(h.Shown(IDC_QUESTION), expected[0]);
    }
}

TEST(Questions, TextsArePlacedForEachMode) {
    struct Case {
        int type;
        int lesson;
        int skip;               // questions typed before the one looked at
        const char* shown;      // question box
        const char* firstKeys;  // keys that complete it
    };
    const Case cases[] = {
        {0, 1, 0, "まの", "ﾏﾉ"},
        {1, 1, 1, "AIUEO", "aiueo"},
        {3, 1, 1, "鳩", "ﾊﾄ"},      // 42101 鳩,はと
        {3, 1, 3, "のり", "ﾉﾘ"},    // 42103 without a comma
        {1, 6, 18, "OH,BOY!", "OH,BOY!"},  // 41518: the comma is typed like any symbol
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.StartBuiltIn(c.type, c.lesson);
        h.TypeQuestions(c.skip);
        EXPECT_EQ(h.Shown(IDC_QUESTION), c.shown) << c.type << "/" << c.lesson;
        const std::string before = h.Shown(IDC_QUESTION);
        h.Type(c.firstKeys);
        EXPECT_EQ(h.m_doc.Run().Misses(), 0) << c.shown;
        EXPECT_NE(h.Shown(IDC_QUESTION), before) << c.shown;
    }
}

TEST(Questions, KanjiModeAnswerShowsCompletedKanjiRuns) {
    // 42714 浮き草,う｜き｜くさ in mode 4.
    PracticeHarness h;
    h.StartBuiltIn(4, 1);
    h.TypeQuestions(14);
    ASSERT_EQ(h.Shown(IDC_QUESTION), "浮き草");
    std::string seen;
    for (char key : std::string("UKIKUSA")) {
        h.Type(std::string(1, key));
        if (h.Shown(IDC_QUESTION) != "浮き草") break;
        seen += h.Shown(IDC_ANSWER) + " ";
    }
    EXPECT_EQ(seen, "浮 浮K 浮き 浮きK 浮きく 浮きくS ");
}

TEST(Questions, CustomLessonsAskTheirLinesInOrderOrTwentyDrawn) {
    PracticeHarness h;
    h.StartCustom("#KANA\nK\nあ\nい\nう\nえ\nお\n", 0);
    EXPECT_EQ(h.Shown(IDC_REMAINING), "5");
    std::string asked;
    for (int i = 0; i < 5; ++i) {
        asked += h.Shown(IDC_QUESTION);
        h.TypeQuestion();
    }
    EXPECT_EQ(asked, "あいうえお");
    EXPECT_FALSE(h.m_view.IsRunning());

    // 20 random questions of 3, each kanji text with its own reading.
    PracticeHarness r;
    r.StartCustom("#kanakanji\nK\n雨,あめ\n飴,あめ\n天,てん\n", 1);
    EXPECT_EQ(r.m_doc.CurrentLesson().nNumber, 9);
    int questions = 0;
    while (r.m_view.IsRunning()) {
        const std::string shown = r.Shown(IDC_QUESTION);
        const std::string reading = U8(r.m_doc.Run().Question());
        EXPECT_EQ(reading, shown == "天" ? "てん" : "あめ") << shown;
        ++questions;
        r.TypeQuestion();
    }
    EXPECT_EQ(questions, 20);
}

TEST(Questions, AnEmptyLaterQuestionEndsTheLessonWithWhatWasTyped) {
    PracticeHarness h;
    h.StartCustom("#KANA\nK\nあ\n\nい\n");
    h.Type("ｱ");
    EXPECT_FALSE(h.m_view.IsRunning());
    // One key, no time between first key and end: 1 × 60000 ÷ max(0 ms, 1).
    EXPECT_EQ(h.HistoryFile(), "2004年05月06日 09:07,K,60000,100, \r\n");
}

TEST(Questions, LessonFileHeaderNamesTheModeAndKanjiLinesSplitAtTheComma) {
    struct Case {
        const char* header;
        int mode;
        const char* lines;  // line list after the header and name, "|" between
        const char* kanji;
    };
    const Case cases[] = {
        {"#KANA", 0, "あ,い", ""},           {"#roman", 1, "あ,い", ""},
        {"#romanj", 2, "あ,い", ""},         {"#KanaKanji", 3, "はと|ひらがな", "鳩|"},
        {"#ROMANJKANJI", 4, "はと|ひらがな", "鳩|"}, {"#KANA ", 5, "あ,い", ""},
        {"KANA", 5, "あ,い", ""},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        const std::string body = std::string(c.header) + "\r\nName\r\n" +
                                 (c.mode == 3 || c.mode == 4 ? "鳩,はと\r\nひらがな\r\n" : "あ,い\r\n");
        LessonFile file;
        EXPECT_EQ(ReadLessonFile(h.WriteLessonFile("l.txt", body), file), c.mode) << c.header;
        EXPECT_EQ(U8(file.strTitle), "Name");
        std::string lines, kanji;
        for (std::size_t i = 0; i < file.texts.aReadings.size(); ++i)
            lines += (i ? "|" : "") + U8(file.texts.aReadings[i]);
        for (std::size_t i = 0; i < file.texts.aKanji.size(); ++i)
            kanji += (i ? "|" : "") + U8(file.texts.aKanji[i]);
        EXPECT_EQ(lines, c.lines) << c.header;
        EXPECT_EQ(kanji, c.kanji) << c.header;
    }
    PracticeHarness h;
    LessonFile file;
    EXPECT_EQ(ReadLessonFile(h.m_dir + "/none.txt", file), -1);
}

// A line end converted twice (CR CR LF) ends a line; a name line that never ends is cut, since
// every history record of the lesson repeats it.
TEST(Questions, LessonFileLineEndsAndAnOverlongName) {
    PracticeHarness h;
    LessonFile file;
    ASSERT_EQ(ReadLessonFile(h.WriteLessonFile("crcr.txt", "#KANA\r\r\nName\r\r\nかさ\r\r\nあ\r\n"), file), 0);
    EXPECT_EQ(U8(file.strTitle), "Name");
    ASSERT_EQ(file.texts.aReadings.size(), 2u);
    EXPECT_EQ(U8(file.texts.aReadings[0]), "かさ");

    const std::string longName(100000, 'x');
    ASSERT_EQ(ReadLessonFile(h.WriteLessonFile("long.txt", "#KANA\n" + longName + "\nかさ\n"), file), 0);
    EXPECT_EQ(U8(file.strTitle), std::string(kLessonNameCap, 'x') + "…");
    EXPECT_EQ(file.strHistoryName, file.strTitle);
    // Cut between characters, never inside one.
    std::string kana;
    for (int i = 0; i < 150; ++i) kana += "か";
    ASSERT_EQ(ReadLessonFile(h.WriteLessonFile("kana.txt", "#KANA\n" + kana + "\nかさ\n"), file), 0);
    EXPECT_EQ(U8(file.strTitle), kana.substr(0, 3 * kLessonNameCap / 2) + "…");
}

// --- questions that cannot be typed ---------------------------------------------------------------

TEST(FaultyQuestions, AreRefusedWithTheFaultyTextMessage) {
    struct Case {
        const char* name;
        const char* file;
        bool starts;         // the first question is fine
        const char* keys;    // typed after the start
        const char* text;    // the question text the message names
    };
    const Case cases[] = {
        {"kana the kana keys do not give", "#KANA\nK\n！\n", false, "", "！"},
        {"half-width symbol in a kana reading", "#KANA\nK\nあ!\n", false, "", "あ!"},
        {"half-width symbol in a romaji reading", "#ROMANJ\nR\nあ!\n", false, "", "あ!"},
        {"kanji text without a reading", "#KANAKANJI\nK\n漢字,\n", false, "", ""},
        {"faulty second question stops the run", "#ROMANJ\nR\nあ\nか!\n", true, "a", "か!"},
        {"small tsu alone has no letter to type", "#ROMANJ\nR\nあ\nっ\n", true, "a", "っ"},
        {"ヴ is typed ｳﾞ and is fine", "#KANA\nK\nヴ\n", true, "ｳﾞ", nullptr},
        {"a tab is shown where it is", "#KANA\nK\nあ\tい\n", false, "", "あ[TB]い"},
        {"so is a stray CR", "#ROMANJ\nR\nあ\rい\n", false, "", "あ[CR]い"},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_doc.SetUserMode(PracticeMode::RomajiInput);
        h.StartCustom(c.file);
        EXPECT_EQ(h.m_view.IsRunning(), c.starts) << c.name;
        h.Type(c.keys);
        EXPECT_FALSE(h.m_view.IsRunning()) << c.name;
        const std::string messages = h.m_form.Lines({"message"});
        if (c.text) {
            EXPECT_NE(messages.find(std::string("問題文　") + c.text + "\\r\\n問題文を訂正して"),
                      std::string::npos)
                << c.name << "\n" << messages;
            EXPECT_EQ(h.HistoryFile(), "") << c.name;  // never evaluated
            EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 1) << c.name;  // the saved mode is back
            EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "1 !") << c.name;
            EXPECT_TRUE(h.m_form.m_bMenusEnabled) << c.name;
        } else {
            EXPECT_EQ(messages, "") << c.name;
            EXPECT_EQ(h.m_doc.Run().Misses(), 0) << c.name;
        }
    }
}

TEST(FaultyQuestions, AQuestionLongerThanTheBoxesTakeIsRefusedNamingItsBeginning) {
    auto repeat = [](const std::string& unit, std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i) out += unit;
        return out;
    };
    struct Case {
        std::string file;
        bool starts;
        bool refused;
    };
    const std::string ascii = "#ROMAN\nR\n";
    const Case cases[] = {
        {ascii + repeat("A", 4096) + "\n", true, false},
        {ascii + repeat("A", 4097) + "\n", false, true},
        {"#KANA\nK\n" + repeat("あ", 2048) + "\n", true, false},
        {"#KANA\nK\n" + repeat("あ", 2049) + "\n", false, true},
        // a later question: the run stops when it comes up, without an evaluation
        {ascii + "A\n" + repeat("B", 5000) + "\n", true, true},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_form.m_msgAnswers.push_back(MsgResult::Yes);  // English text
        h.StartCustom(c.file);
        const std::string where = c.file.substr(0, 12) + " " + std::to_string(c.file.size());
        EXPECT_EQ(h.m_view.IsRunning(), c.starts) << where;
        if (c.starts && c.refused) h.Type("A");
        const std::string messages = h.m_form.Lines({"message \"問題文が長すぎます"});
        if (!c.refused) {
            EXPECT_EQ(messages, "") << where;
            continue;
        }
        EXPECT_FALSE(h.m_view.IsRunning()) << where;
        EXPECT_EQ(h.HistoryFile(), "") << where;
        const std::string head = c.file.find("あ") != std::string::npos ? repeat("あ", 20) : repeat("A", 40);
        EXPECT_NE(messages.find("問題文　" + (c.starts ? repeat("B", 40) : head) + "…\""), std::string::npos)
            << where << "\n" << messages;
    }
}

// --- starting, restarting and stopping ------------------------------------------------------------

TEST(Runs, NewDocumentShowsNoDialogAtStartUpThenOffersLabelsForTheMode) {
    PracticeHarness h;  // its start-up call showed nothing
    EXPECT_EQ(h.m_form.Lines({"lesson-select"}), "");
    h.m_doc.SetUserMode(PracticeMode::KanaInput);
    h.m_view.OnNewDocument();  // cancelled: nothing changes
    EXPECT_EQ(h.m_form.Lines({"lesson-select"}),
              "lesson-select \"Lesson1　ホームポジションの練習\" \"Lesson2　人差し指の練習\" "
              "\"Lesson3　中指の練習\" \"Lesson4　薬指の練習\" \"Lesson5　小指の練習\" "
              "\"Lesson6　記号・小文字の練習\" \"Lesson7　総合練習\" \"オリジナルレッスン\" -> -1");
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_TRUE(h.m_form.m_bMenusEnabled);
    const auto labels = LessonSelectLabels(PracticeMode::RomajiInput);
    EXPECT_EQ(U8(labels[0]), "Lesson1　ホームポジション・母音の練習");
    EXPECT_EQ(U8(labels[5]), "Lesson6　記号の練習");
}

TEST(Runs, StartGreysTheMenusAndStopRestoresThem) {
    PracticeHarness h;
    h.m_form.m_log.clear();
    h.StartBuiltIn(0, 1);
    EXPECT_TRUE(h.m_view.IsRunning());
    EXPECT_FALSE(h.m_view.CanStartLesson());
    EXPECT_TRUE(h.m_view.CanEndLesson());
    // The first key ﾏ (right index finger) is lit.
    EXPECT_EQ(h.m_form.Lines({"text remaining", "text title", "text question", "text miss_count",
                              "text accuracy", "text answer", "text miss_key", "menus",
                              "color cap_ま", "color finger_right_index", "ime"}),
              "text remaining \"20\"\n"
              "text title \"Lesson1　ホームポジションの練習\"\n"
              "text question \"まの\"\n"
              "text miss_count \"0\"\n"
              "menus off\n"
              "color cap_ま 0000FF\n"
              "color finger_right_index 0000FF\n"
              "ime close");
    h.Type("ﾏ1");
    h.m_form.m_log.clear();
    h.m_form.m_msgAnswers.push_back(MsgResult::No);
    h.m_view.FinishRun();  // "レッスンの終了", answered No: nothing changes
    EXPECT_EQ(h.m_form.Transcript(),
              "message \"レッスンを終了してよろしいですか。\" caption=\"レッスンの終了\" yesno question -> no");
    EXPECT_TRUE(h.m_view.IsRunning());
    EXPECT_EQ(h.m_doc.Run().KanaPos(), 2);
    h.Type("ﾉ");
    EXPECT_EQ(h.Shown(IDC_ANSWER), "");
    EXPECT_EQ(h.Shown(IDC_ACCURACY), "50");

    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.m_view.FinishRun();
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_TRUE(h.m_form.m_bMenusEnabled);
    for (int id : {IDC_TITLE, IDC_QUESTION, IDC_ANSWER, IDC_MISS_COUNT, IDC_MISS_KEY, IDC_ACCURACY,
                   IDC_REMAINING})
        EXPECT_EQ(h.Shown(id), "") << id;
    EXPECT_EQ(h.m_form.m_nProgressPos, 0);
    EXPECT_EQ(h.HistoryFile(), "");  // an early end records nothing
    for (const auto& [id, color] : h.m_form.m_textColors) EXPECT_EQ(color, 0u) << id;
}

TEST(Runs, RestartShowsTheTitleTheDialogGivesTheLesson) {
    struct Case { int type; int lesson; const char* title; };
    const Case cases[] = {
        {0, 1, "Lesson1　ホームポジションの練習"}, {1, 1, "Lesson1　ホームポジション・母音の練習"},
        {0, 6, "Lesson6　記号・小文字の練習"},     {1, 6, "Lesson6　記号の練習"},
        {4, 6, "Lesson6　記号の練習"},             {2, 7, "Lesson7　総合練習"},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.StartBuiltIn(c.type, c.lesson);
        h.Type("\x1b");
        h.m_view.RestartRun();
        EXPECT_EQ(h.Shown(IDC_TITLE), c.title) << c.type << "/" << c.lesson;
        EXPECT_EQ(h.Shown(IDC_MISS_COUNT), "0");
        EXPECT_EQ(h.m_doc.Run().Misses(), 0);
        EXPECT_TRUE(h.m_view.AwaitsFirstKey());
    }
}

TEST(Runs, CustomLessonModeLastsForItsRunOnly) {
    PracticeHarness h;
    h.m_doc.Settings().SetInt("Type", 1);
    h.m_doc.SetUserMode(PracticeMode::RomajiInput);
    h.m_view.ShowKeyLegends();
    ASSERT_EQ(h.Shown(IDC_KEY_FIRST), "1 !");
    h.StartCustom("#KANA\n\nあ\n", 0, "kana words.txt");
    EXPECT_EQ(h.Shown(IDC_TITLE), "オリジナルレッスン");
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 0);
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "ぬ");
    EXPECT_EQ(h.m_keyboard.m_state[VK_KANA], 1);
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.m_view.FinishRun();
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 1);
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "1 !");
    EXPECT_EQ(h.m_doc.Settings().GetInt("Type", -1), 1);

    // Completed, it is recorded under "オリジナル(<file name>)".
    h.StartCustom("#KANA\n\nあ\n", 0, "kana words.txt");
    h.Type("ｱ");
    EXPECT_EQ(h.HistoryFile(), "2004年05月06日 09:07,オリジナル(kana words.txt),60000,100, \r\n");
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 1);
}

TEST(Runs, AStoredModeOutsideTheFiveRunsAsRomajiWithKanjiAndIsKeptAsRead) {
    // A hand-edited Type: the lessons are those of romaji with kanji, the value stays.
    PracticeHarness reference;
    reference.StartBuiltIn(4, 6);
    for (const int stored : {7, -1}) {
        PracticeHarness h;
        h.m_doc.Settings().SetInt("Type", stored);
        h.m_view.ApplySettings();
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "1 !") << stored;
        h.m_form.m_lessonSelectAnswers.push_back(5);
        h.m_view.OnNewDocument();
        ASSERT_TRUE(h.m_view.IsRunning()) << stored;
        EXPECT_EQ(h.Shown(IDC_TITLE), "Lesson6　記号の練習");
        EXPECT_EQ(h.Shown(IDC_QUESTION), reference.Shown(IDC_QUESTION)) << stored;
        EXPECT_EQ(h.m_doc.Matcher().Roman(), reference.m_doc.Matcher().Roman()) << stored;
        EXPECT_EQ(h.m_keyboard.m_state[VK_KANA], 0);
        h.Type("/");  // a wrong "/" shows as the key of "・", as in the romaji reading modes
        EXPECT_EQ(h.Shown(IDC_MISS_KEY), "・");
        h.TypeQuestions(20);
        EXPECT_FALSE(h.m_view.IsRunning()) << stored;
        EXPECT_NE(h.HistoryFile().find(",64,"), std::string::npos) << h.HistoryFile();
        EXPECT_EQ(ModeValue(h.m_view.ShownMode()), stored);
        EXPECT_EQ(h.m_doc.Settings().GetInt("Type", 0), stored);
    }
}

TEST(Runs, StoppingACustomLessonBringsBackAKanjiModeAndItsLegends) {
    PracticeHarness h;
    h.m_doc.SetUserMode(PracticeMode::KanaKanji);
    h.m_form.m_msgAnswers.push_back(MsgResult::No);  // not English text: romaji letters
    h.StartCustom("#ROMAN\nかさ\nかさ\n");
    EXPECT_EQ(h.Shown(IDC_QUESTION), "KASA");
    EXPECT_EQ(h.Shown(IDC_TITLE), "かさ");
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "1 !");
    h.Type("kas");  // folded to upper case
    EXPECT_EQ(h.m_doc.Run().Misses(), 0);
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.m_view.FinishRun();
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 3);
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "ぬ");
}

TEST(Runs, EnglishTextLessonIsTypedAsWrittenWithShiftForCapitals) {
    PracticeHarness h;
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.StartCustom("#ROMAN\nEnglish\nHello\n");
    EXPECT_EQ(h.m_form.Lines({"message"}),
              "message \"英文モードですか？\\r\\n\\r\\nはい:　英文モード　いいえ:　ローマ字モード\" "
              "caption=\"\" yesno question -> yes");
    // H: cap 22 with the left SHIFT (a right-hand letter).
    EXPECT_EQ(h.m_form.m_textColors[IDC_KEY_FIRST + 22], 0x0000FFu);
    EXPECT_EQ(h.m_form.m_textColors[IDC_SHIFT_LEFT], 0x0000FFu);
    EXPECT_EQ(h.m_form.m_textColors[IDC_SHIFT_RIGHT], 0u);
    h.Type("hHelL");
    EXPECT_EQ(h.m_doc.Run().Misses(), 2);
    EXPECT_EQ(h.Shown(IDC_MISS_KEY), "L");
    h.Type("lo");
    EXPECT_FALSE(h.m_view.IsRunning());
    // 5 keystrokes in 3 s, 2 misses.
    EXPECT_EQ(h.HistoryFile(), "2004年05月06日 09:07,English,100,60,H l  1 1 \r\n");
}

TEST(Runs, CustomFilesThatCannotStartAreRefusedAndChangeNothing) {
    struct Case { const char* name; const char* file; const char* message; };
    const Case cases[] = {
        {"bad header", "#KANA \nK\nあ\n",
         "message \"練習の種類を１行目に指定してください。\" caption=\"警告\" ok none -> ok"},
        {"no question line", "#KANA\nK\n",
         "message \"このファイルには問題文がありません。\\r\\n単語ファイルの書き方をヘルプで確認してください。\" "
         "caption=\"\" ok warning -> ok"},
        {"missing file", nullptr, "message \"レッスンファイルを開けません。\\r\\n"},
        // An empty line ends the lesson: asked in order, this one would end before it began.
        {"empty first question", "#KANA\nK\n\nあ\n",
         "message \"最初の問題文（３行目）が空行です。空行のところでレッスンが終わるため、開始できません。"
         "\\r\\n単語ファイルの書き方をヘルプで確認してください。\" caption=\"\" ok warning -> ok"},
        {"empty first kanji question", "#KANAKANJI\nK\n,\n漢字,かんじ\n", "message \"最初の問題文（３行目）が空行です。"},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_doc.SetUserMode(PracticeMode::HiraganaRomaji);
        if (c.file) {
            h.StartCustom(c.file);
        } else {
            h.m_form.m_customStartAnswers.push_back({h.m_dir + "/gone.txt", 0});
            h.m_form.m_lessonSelectAnswers.push_back(7);
            h.m_view.OnNewDocument();
        }
        EXPECT_EQ(h.m_form.Lines({"message"}).substr(0, std::string(c.message).size()), c.message)
            << c.name;
        EXPECT_FALSE(h.m_view.IsRunning()) << c.name;
        EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 2) << c.name;
    }
}

TEST(Runs, HistoryThatCannotBeWrittenIsToldAndTheDialogStillShows) {
    PracticeHarness h;
    std::filesystem::create_directories(h.m_dir + "/Setting/test.hst");
    h.StartCustom("#KANA\nK\nあ\n");
    h.Type("ｱ");
    const std::string log = h.m_form.Transcript();
    const auto told = log.find("今回の結果を履歴に保存できませんでした。");
    ASSERT_NE(told, std::string::npos);
    EXPECT_GT(log.find("lesson-end"), told);
}

}  // namespace
}  // namespace kibiki
