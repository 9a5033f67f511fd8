// Kana modes (0, 3) and the kanji-mode answer display.
#include <gtest/gtest.h>

#include "judge_script.h"

namespace kibiki {
namespace {

using test::Sj;
using test::TypeScript;
using test::U8;

class KanaInputTest : public test::DocFixture {};

TEST_F(KanaInputTest, TranscriptsOfKanaQuestions) {
    struct Case { int mode; const char* question; const char* kanji; const char* keys; const char* transcript; };
    const Case cases[] = {
        // A voiced kana is its base and then the mark; between them the answer shows the base.
        {0, "が", "", "ｶﾞ", "ｶ:か ﾞ:が [done]"},
        {0, "が", "", "ﾞｶｱﾞ", "ﾞ!ｶ ｶ:か ｱ!ﾞ ﾞ:が [done]"},
        {0, "ぱん", "", "ﾊﾟﾝ", "ﾊ:は ﾟ:ぱ ﾝ:ぱん [done]"},
        {0, "パ", "", "ﾊﾞ", "ﾊ:は ﾞ!ﾟ"},
        {0, "゛ー、", "", "ﾞｰ､", "ﾞ:゛ ｰ:゛ー ､:゛ー、 [done]"},
        {0, "ヴァ", "", "ｳﾞｧ", "ｳ:う ﾞ:ヴ ｧ:ヴァ [done]"},
        {0, "きょう", "", "ｷｮｳ", "ｷ:き ｮ:きょ ｳ:きょう [done]"},
        {0, "", "", "ｱ", "ｱ! [done]"},
        // Kanji modes: completed kanji runs show in kanji, the run being typed in kana (the
        // last run too, until the question is done).
        {3, "と｜まり", "止まり", "ﾄﾏﾘ", "ﾄ:止 ﾏ:止ま ﾘ:止まり [done]"},
        {3, "まど｜り", "間取り", "ﾏﾄﾞﾘ", "ﾏ:ま ﾄ:まと ﾞ:間取 ﾘ:間取り [done]"},
        {3, "おお｜げさ", "大げさ", "ｵｵｹﾞｻ", "ｵ:お ｵ:大 ｹ:大け ﾞ:大げ ｻ:大げさ [done]"},
        {3, "はと", "鳩", "ﾊﾄ", "ﾊ:は ﾄ:はと [done]"},
        {3, "すいか", "", "ｽｲｶ", "ｽ:す ｲ:すい ｶ:すいか [done]"},
        {3, "じょう｜・｜ちゅう｜・｜げ", "上・中・下", "ｼﾞｮｳ･ﾁｭｳ･ｹﾞ",
         "ｼ:し ﾞ:じ ｮ:じょ ｳ:上 ･:上・ ﾁ:上・ち ｭ:上・ちゅ ｳ:上・中 ･:上・中・ ｹ:上・中・け ﾞ:上・中・げ [done]"},
    };
    for (const auto& c : cases) {
        Start(c.mode, c.question, c.kanji);
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.question << " typed " << c.keys;
    }
}

// The loader refuses a question with a character outside the kana rows; put into the run even
// so, no key is right at that character.
TEST_F(KanaInputTest, NoKeyIsRightAtACharacterTheKanaKeysCannotType) {
    struct Case { const char* question; const char* keys; const char* transcript; };
    const Case cases[] = {
        {"あ！", "ｱ!ﾞ", "ｱ:あ !! ﾞ!"},
        {"あ\x82", "ｱｱ", "ｱ:あ ｱ!"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Start(0, c.question)) << c.question;
        DocTestPeer::PutQuestion(m_doc, Sj(c.question));
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.question;
    }
}

TEST_F(KanaInputTest, VoicedKanaIsFlaggedAtItsBaseStrokeOnly) {
    Start(0, "がか");
    unsigned char expected = 0;
    ASSERT_TRUE(m_doc.IsExpectedKey(Sj("ｶ")[0], expected));
    EXPECT_TRUE(m_doc.Run().Voiced());
    std::string answer;
    int caret = 0;
    m_doc.AdvanceAnswer(answer, caret);
    EXPECT_FALSE(m_doc.Run().BaseStroke());
    EXPECT_EQ(m_doc.Run().KanaPos(), 0);
    EXPECT_EQ(m_doc.NextExpectedKey(), kVoicedMark);
    ASSERT_TRUE(m_doc.IsExpectedKey(kVoicedMark, expected));
    m_doc.AdvanceAnswer(answer, caret);
    EXPECT_FALSE(m_doc.Run().Voiced());
    EXPECT_TRUE(m_doc.Run().BaseStroke());
    EXPECT_EQ(m_doc.Run().KanaPos(), 2);
    EXPECT_EQ(U8(std::string(1, static_cast<char>(m_doc.NextExpectedKey()))), "ｶ");
}

std::string Bounds(const std::vector<int>& v) {
    std::string s;
    for (int b : v) s += (s.empty() ? "" : ",") + std::to_string(b);
    return "[" + s + "]";
}

TEST_F(KanaInputTest, SplitKanjiSegmentsAlignsRunsAndRemovesSeparators) {
    struct Case { int lesson; const char* sepa; const char* display; const char* reading;
                  const char* displayBounds; const char* readingBounds; const char* cleaned; };
    const Case cases[] = {
        {1, "", "止まり", "と｜まり", "[2]", "[2]", "とまり"},
        {1, "", "間取り", "まど｜り", "[4]", "[4]", "まどり"},
        {1, "", "鳩", "はと", "[]", "[]", "はと"},
        {1, "/", "止まり", "と/まり", "[2]", "[]", "と/まり"},  // built-in lessons use ｜ only
        {8, "/", "止まり", "と/まり", "[2]", "[2]", "とまり"},    // one byte: only it is removed
        {8, "/", "浮き草", "う/き｜くさ", "[2,4]", "[2,4]", "うきくさ"},
        {8, "\\", "空", "ソラ", "[]", "[]", "ソラ"},  // "\" is the second byte of ソ
        {8, "", "止まり", "と｜まり", "[2]", "[2]", "とまり"},
        {1, "", "Tシャツ", "ティー｜シャツ", "[1]", "[6]", "ティーシャツ"},
        {1, "", "", "", "[]", "[]", ""},
        {1, "", "止\x82", "と｜", "[]", "[2]", "と"},
    };
    for (const auto& c : cases) {
        Lesson lesson;
        lesson.nNumber = c.lesson;
        m_doc.SetLesson(lesson);
        m_doc.Settings().m_strKanaSepa = Sj(c.sepa);
        std::string reading = Sj(c.reading);
        CKanjiSegments segments;
        segments.m_nSegment = 5;
        segments.SplitKanjiSegments(Sj(c.display), reading, m_doc.KanaSeparator());
        EXPECT_EQ(Bounds(segments.m_aDisplayBounds), c.displayBounds) << c.display;
        EXPECT_EQ(Bounds(segments.m_aReadingBounds), c.readingBounds) << c.reading;
        EXPECT_EQ(U8(reading), c.cleaned) << c.reading;
        EXPECT_EQ(segments.m_nSegment, -1);
    }
}

TEST_F(KanaInputTest, MoreSeparatorsThanKanjiRunsNeverReadOutsideTheDisplay) {
    Start(3, "あ｜い｜う｜え", "亜");
    EXPECT_EQ(TypeScript(m_doc, "ｱｲｳｴ"), "ｱ:亜 ｲ:亜 ｳ:亜 ｴ:亜え [done]");
}

TEST_F(KanaInputTest, KanaLockThroughTheDocument) {
    FakeKeyboardState keyboard;
    m_doc.ApplyKanaLock(PracticeMode::KanaInput);  // no keyboard attached: nothing happens
    m_doc.SetKeyboard(&keyboard);
    m_doc.ApplyKanaLock(PracticeMode::KanaKanji);
    EXPECT_EQ(keyboard.m_state[VK_KANA], 1);
    m_doc.ApplyKanaLock(PracticeMode::RomajiKanji);
    EXPECT_EQ(keyboard.m_state[VK_KANA], 0);
    EXPECT_EQ(keyboard.m_nWrites, 2);
}

}  // namespace
}  // namespace kibiki
