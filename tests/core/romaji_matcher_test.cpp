// Romaji modes: building the expected letters, judging with alternatives and the single N,
// learning, and the answer display.
#include <gtest/gtest.h>

#include "judge_script.h"

namespace kibiki {
namespace {

using test::Sj;
using test::TypeScript;
using test::U8;

class RomajiMatcherTest : public test::DocFixture {};

TEST_F(RomajiMatcherTest, BuildsTheExpectedLetters) {
    struct Case { bool bFixed; const char* question; const char* roman; };
    const Case cases[] = {
        {false, "しんぶん", "SINNBUNN"},
        {false, "きんえん", "KINNENN"},    {true, "きんえん", "KINENN"},
        {false, "こんな", "KONNNA"},       {true, "こんな", "KONNNA"},
        {true, "ほん", "HONN"},            {true, "ほんや", "HONYA"},
        {false, "がっこう", "GAKKOU"},     {false, "みっつ", "MITTSU"},
        {false, "っっか", "KKA"},          {false, "あっ", "A"},
        {false, "ちゃ", "CYA"},            {false, "じゃ", "JYA"},     {false, "ぐぁ", "GWA"},
        {false, "ちゅ", "CYU"},            {false, "ふ", "HU"},        {false, "つ", "TSU"},
        {false, "っちゃ", "CCYA"},         {false, "キャット", "KYATTO"},
        {false, "「あ」、。", "[A],."},     {false, "あっ！", "A!"},    {false, "１０ー", "10-"},
        // う゛ forms at their real length; ヴ alone is one unit.
        {false, "う゛ぁう゛ぃう゛う゛ぇう゛ぉ", "VAVIVUVEVO"},
        {false, "ヴァヴィヴヴェヴォ", "VAVIVUVEVO"},
        {false, "ッヴ", "VVU"},
    };
    for (const auto& c : cases) {
        m_doc.SetRomanMode(c.bFixed);
        ASSERT_TRUE(Start(2, c.question)) << c.question;
        EXPECT_EQ(Roman(), c.roman) << c.question << (c.bFixed ? " (fixed)" : "");
    }
    // An empty question never starts a run, so it is built here directly.
    std::string empty;
    EXPECT_TRUE(m_doc.BuildRoman(empty));
    EXPECT_EQ(Roman(), "");
    EXPECT_TRUE(m_messages.m_shown.empty());
}

TEST_F(RomajiMatcherTest, UnitListsRecordLengthKindAndDoubling) {
    using Unit = CRomajiMatcher::Unit;
    ASSERT_TRUE(Start(2, "しんぶん"));
    EXPECT_EQ(m_doc.Matcher().Units(), (std::vector<Unit>{{2, 40111, 5, 2}, {2, 40145, 5, 2},
                                                          {2, 40163, 5, 2}, {2, 40145, 5, 2}}));
    m_doc.SetRomanMode(true);
    ASSERT_TRUE(Start(2, "こんなっちゃ、"));  // KONNNACCYA,
    EXPECT_EQ(m_doc.Matcher().Units(), (std::vector<Unit>{{2, 40109, 5, 2}, {2, 40145, 5, 2},
                                                          {2, 40120, 6, 2}, {14, 40190, 3, 6},
                                                          {1, 40286, 9, 2}}));
}

TEST_F(RomajiMatcherTest, TranscriptsWithAlternativesAndSingleN) {
    struct Case { const char* question; const char* keys; const char* transcript; const char* roman; };
    const Case cases[] = {
        {"しんぶん", "SHINBUNN", "S:S H:SH I:し N:しN B:しんB U:しんぶ N:しんぶN N:しんぶん [done]", "SHINBUNN"},
        {"きんえん", "KINENN", "K:K I:き N:きN E:きんえ N:きんえN N:きんえん [done]", "KINENN"},
        {"きんえん", "KINNENN", "K:K I:き N:きN N:きん E:きんえ N:きんえN N:きんえん [done]", "KINNENN"},
        // The second N ends ん (rule order), so one N too few is wrong at the A.
        {"こんな", "KONNA", "K:K O:こ N:こN N:こん A!N", "KONNNA"},
        {"がっこう", "GAKKOU", "G:G A:が K:がK K:がっK O:がっこ U:がっこう [done]", "GAKKOU"},
        {"みっつ", "MITTSU", "M:M I:み T:みT T:みっT S:みっTS U:みっつ [done]", "MITTSU"},
        {"ちゃ", "TYA", "T:T Y:TY A:ちゃ [done]", "TYA"},
        {"ちゃ", "CHA", "C:C H:CH A:ちゃ [done]", "CHA"},
        {"つき", "TUKI", "T:T U:つ K:つK I:つき [done]", "TUKI"},
        {"じゃま", "JAMA", "J:J A:じゃ M:じゃM A:じゃま [done]", "JAMA"},
        {"し", "ZI", "Z!S I!S", "SI"},
        {"じ", "ZI", "Z!J I!J", "JI"},
        {"あっ", "A", "A:あ [done]", "A"},
        {"あっ、い", "A,I", "A:あ ,:あっ、 I:あっ、い [done]", "A,I"},
        // After a small tsu an alternative keeps the doubled letter.
        {"っし", "SSHI", "S:S S:っS H:っSH I:っし [done]", "SSHI"},
        {"っちゃ", "TTYA", "T:T T:っT Y:っTY A:っちゃ [done]", "TTYA"},
        {"っちゃ", "CCHA", "C:C C:っC H:っCH A:っちゃ [done]", "CCHA"},
        {"っち", "TI", "T:T I!T", "TTI"},
        // A single N before an alternative of the next kana.
        {"ちんちゃ", "CHINTYA", "C:C H:CH I:ち N:ちN T:ちんT Y:ちんTY A:ちんちゃ [done]", "CHINTYA"},
        {"ちんっち", "CHINTTI", "C:C H:CH I:ち N:ちN T:ちんT T:ちんっT I:ちんっち [done]", "CHINTTI"},
        {"ほん", "HON", "H:H O:ほ N:ほN", "HONN"},  // the last ん has no next letter
        {"っんし", "NSNNSI", "N:N S!N N:っN N:っん S:っんS I:っんし [done]", "NNNSI"},  // NNN is not NN
        {"う゛ぃヴ", "VIVU", "V:V I:う゛ぃ V:う゛ぃV U:う゛ぃヴ [done]", "VIVU"},
    };
    for (const auto& c : cases) {
        m_doc.Settings().ClearEntries("DynRoman");
        ASSERT_TRUE(Start(2, c.question)) << c.question;
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.question << " typed " << c.keys;
        EXPECT_EQ(Roman(), c.roman) << c.question << " typed " << c.keys;
    }
}

TEST_F(RomajiMatcherTest, FixedSpellingModeAcceptsOnlyTheExpectedLetters) {
    m_doc.SetRomanMode(true);
    struct Case { const char* question; const char* keys; const char* transcript; };
    const Case cases[] = {
        {"きんえん", "KINNENN", "K:K I:き N:きん N!E E:きんえ N:きんえN N:きんえん [done]"},
        {"こんな", "KONNA", "K:K O:こ N:こN N:こん A!N"},
        {"ちゃ", "TYA", "T!C Y!C A!C"},
        {"し", "SHI", "S:S H!I I:し [done]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start(2, c.question));
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.question;
    }
    EXPECT_TRUE(m_doc.Settings().m_mapDynRoman.empty());
}

TEST_F(RomajiMatcherTest, CompletingAnAlternativeLearnsAndSavesIt) {
    struct Case { const char* question; const char* keys; int kana; int alt; };
    const Case cases[] = {
        {"しんぶん", "SHI", 40111, 40710},
        {"ちゃ", "TYA", 40190, 40726},
        {"つき", "TU", 40117, 40714},    // complete at the switching letter
        {"じゃま", "JA", 40239, 40742},
        {"っし", "SSHI", 40111, 40710},  // learned without its doubled letter
        {"ちんちゃ", "CHINTYA", 40190, 40726},
        {"シ", "SHI", 40319, 40710},     // katakana are learned apart
    };
    for (const auto& c : cases) {
        m_doc.Settings().ClearEntries("DynRoman");
        ASSERT_TRUE(Start(2, c.question));
        TypeScript(m_doc, c.keys);
        EXPECT_EQ(m_doc.Settings().m_mapDynRoman, (std::map<int, int>{{c.kana, c.alt}})) << c.question;
        const std::string line = "DynRoman" + std::to_string(c.kana) + "=" + std::to_string(c.alt) + "\r\n";
        EXPECT_NE(SavedFile().find(line), std::string::npos) << c.question;
    }

    // The next question is built with what was learned; シ keeps its own default.
    m_doc.Settings().ClearEntries("DynRoman");
    Start(2, "しゃ");
    TypeScript(m_doc, "SHA");
    ASSERT_TRUE(Start(2, "しゃしゃっしゃシャ"));
    EXPECT_EQ(Roman(), "SHASHASSHASYA");
}

TEST_F(RomajiMatcherTest, FollowingTheExpectedLettersNeitherLearnsNorSaves) {
    ASSERT_TRUE(Start(2, "しちつ"));
    EXPECT_EQ(TypeScript(m_doc, "SICHITSU"), "S:S I:し C:しC H:しCH I:しち T:しちT S:しちTS U:しちつ [done]");
    EXPECT_TRUE(m_doc.Settings().m_mapDynRoman.empty());
    EXPECT_EQ(SavedFile().find("DynRoman"), std::string::npos);
}

TEST_F(RomajiMatcherTest, WrongKeyChangesNoMatcherState) {
    ASSERT_TRUE(Start(2, "ちゃん"));
    TypeScript(m_doc, "T");  // switched to TYA
    const CRomajiMatcher before = m_doc.Matcher();
    const int nKanaPos = m_doc.Run().KanaPos();
    EXPECT_EQ(TypeScript(m_doc, "HCX"), "H!Y C!Y X!Y");
    EXPECT_TRUE(m_doc.Matcher() == before);
    EXPECT_EQ(m_doc.Run().KanaPos(), nKanaPos);
    EXPECT_EQ(TypeScript(m_doc, "YANN"), "Y:TY A:ちゃ N:ちゃN N:ちゃん [done]");
}

TEST_F(RomajiMatcherTest, FindAlternativeTakesTheFirstMatchInListOrder) {
    ASSERT_TRUE(Start(2, "ちゅっチュじ"));
    struct Case { int unit; int pos; char ch; const char* prefix; int id; const char* alt; };
    const Case cases[] = {
        {0, 0, 'T', "", 40731, "TYU"},   {0, 1, 'H', "C", 40732, "CHU"}, {0, 1, 'Y', "C", 40733, "CYU"},
        {0, 1, 'Y', "T", 40731, "TYU"},  {1, 0, 'T', "", 40731, "TTYU"}, {1, 2, 'H', "CC", 40732, "CCHU"},
        {0, 0, 'X', "", 0, ""},          {0, 1, 'H', "T", 0, ""},        {2, 0, 'Z', "", 0, ""},
        {0, 3, 'U', "CYU", 0, ""},       {3, 0, 'T', "", 0, ""},         {-1, 0, 'T', "", 0, ""},
    };
    for (const auto& c : cases) {
        int id = 0;
        std::string alt;
        const bool found = m_doc.Matcher().FindAlternative(c.unit, c.pos, c.ch, c.prefix, id, alt);
        EXPECT_EQ(found, c.id != 0) << c.unit << " " << c.pos << " " << c.ch;
        EXPECT_EQ(id, c.id) << c.unit << " " << c.pos << " " << c.ch;
        EXPECT_EQ(alt, c.alt) << c.unit << " " << c.pos << " " << c.ch;
    }
}

TEST_F(RomajiMatcherTest, FaultyQuestionIsReportedAndEmptied) {
    // っ alone builds no letter at all: no key could ever finish it.
    for (const char* question : {"あ!い", "ｱ", "あ漢", "　", "う゛゛", "っ", "ッッ"}) {
        ASSERT_TRUE(Start(2, "おるど"));
        m_messages.m_shown.clear();
        EXPECT_FALSE(Start(2, question)) << question;
        EXPECT_TRUE(m_doc.Run().Question().empty()) << question;
        EXPECT_EQ(Roman(), "ORUDO") << question;
        ASSERT_EQ(m_messages.m_shown.size(), 1u) << question;
        EXPECT_EQ(m_messages.m_shown[0].text,
                  std::string("　　問題文にミスがあります。\r\n\r\n問題文　") + question +
                      "\r\n問題文を訂正して、再度開始してください。\r\n"
                      "特に、記号が半角で入力されていないか、確認をしてください。");
        EXPECT_EQ(m_messages.m_shown[0].buttons, MsgButtons::Ok);
    }
    // A lone lead byte at the end is faulty too, and nothing reads past it.
    std::string text = Sj("あ") + "\x82";
    EXPECT_FALSE(m_doc.BuildRoman(text));
    EXPECT_TRUE(text.empty());
}

TEST_F(RomajiMatcherTest, EmptyQuestionExpectsNothing) {
    ASSERT_TRUE(Start(2, ""));
    EXPECT_EQ(m_doc.NextExpectedKey(), 0);
    EXPECT_EQ(TypeScript(m_doc, "A"), "A! [done]");
}

TEST_F(RomajiMatcherTest, RomajiInputComparesLetterByLetter) {
    ASSERT_TRUE(Start(1, "Ab,", {}, true));
    EXPECT_EQ(TypeScript(m_doc, "aAB,b,"), "a!A A:A B!b ,!b b:Ab ,:Ab, [done]");
}

TEST_F(RomajiMatcherTest, CustomRomajiInputLessonTurnsKanaIntoLetters) {
    Lesson lesson;
    lesson.source = LessonSource::File;
    lesson.mode = PracticeMode::RomajiInput;
    lesson.nNumber = 8;
    m_doc.SetLesson(lesson);
    std::string text = Sj("きゃんぷ");
    ASSERT_TRUE(m_doc.BuildRoman(text));
    EXPECT_EQ(text, "KYANNPU");
    m_doc.SetLesson(BuiltInLesson(PracticeMode::RomajiInput, 3));  // other lessons keep their text
    text = Sj("きゃ");
    ASSERT_TRUE(m_doc.BuildRoman(text));
    EXPECT_EQ(U8(text), "きゃ");
}

TEST_F(RomajiMatcherTest, KanjiModeShowsCompletedRunsInKanji) {
    struct Case { const char* reading; const char* kanji; const char* keys; const char* transcript; };
    const Case cases[] = {
        {"まど｜り", "間取り", "MADORI", "M:M A:ま D:まD O:間取 R:間取R I:間取り [done]"},
        {"ほん｜と", "本と", "HONTO", "H:H O:ほ N:ほN T:本T O:本と [done]"},
        {"き｜って", "切って", "KITTE", "K:K I:切 T:切T T:切っT E:切って [done]"},
        {"すいか", "", "SUIKA", "S:S U:す I:すい K:すいK A:すいか [done]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start(4, c.reading, c.kanji)) << c.reading;
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.reading;
    }
}

}  // namespace
}  // namespace kibiki
