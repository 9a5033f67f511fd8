// Romaji judged as an input method takes it ("IMEと同じつづりをすべて受け付ける"): every spelling
// of a word completes it, the ones an input method refuses miss where they should, the guide's
// key is always right, and spellings are learned into their own family.
#include <gtest/gtest.h>

#include <map>

#include "judge_script.h"

namespace kibiki {
namespace {

using test::Sj;
using test::TypeScript;

class ImeMatcherTest : public test::DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        m_doc.RomajiCallbacks().fnImeSpellings = [] { return true; };
        m_doc.RomajiCallbacks().fnImeLearned = [this](int nKanaId) {
            const auto it = m_learned.find(nKanaId);
            return it == m_learned.end() ? std::string() : it->second;
        };
        m_doc.RomajiCallbacks().fnLearnIme = [this](int nKanaId, const std::string& letters) {
            if (letters.empty()) m_learned.erase(nKanaId);
            else m_learned[nKanaId] = letters;
        };
    }

    // Types the guide's key until the question ends; the keys typed.
    std::string FollowGuide() {
        std::string keys;
        for (int n = 0; n < 200; ++n) {
            const unsigned char ch = m_doc.NextExpectedKey();
            if (ch == 0) break;
            keys += static_cast<char>(ch);
            // "k:answer" after a right key, "k!e" after a wrong one.
            if (TypeScript(m_doc, std::string(1, static_cast<char>(ch)))[1] != ':') return keys + "<missed>";
        }
        return keys;
    }

    std::map<int, std::string> m_learned;
};

TEST_F(ImeMatcherTest, EverySpellingAnInputMethodTakesCompletesTheWord) {
    struct Case { const char* question; std::vector<const char*> spellings; };
    const Case cases[] = {
        {"しんぶん", {"SINBUNN", "SHINBUNN", "CINBUNN", "SHINNBUNN", "SIN'BUXN", "SIXNBUNN"}},
        {"きんえん", {"KINNENN", "KIN'ENN", "KIXNEXN"}},
        {"こんや", {"KONNYA", "KON'YA", "KOXNYA"}},
        {"こんな", {"KONNNA", "KON'NA", "KOXNNA"}},
        {"がっこう", {"GAKKOU", "GAXTUKOU", "GALTUKOU", "GAXTSUKOU", "GALTSUKOU", "GAKKOWU"}},
        {"っ", {"XTU", "LTU", "XTSU", "LTSU"}},
        {"あっ", {"AXTU", "ALTU"}},
        {"ちゃ", {"CHA", "TYA", "CYA", "CHIXYA", "TILYA"}},
        {"じゃ", {"JA", "ZYA", "JYA", "JIXYA", "ZILYA"}},
        {"まっちゃ", {"MACCHA", "MATTYA", "MACCYA", "MAXTUCHA", "MACCHILYA"}},
        {"ウィッヤ", {"WIYYA", "UXILTUYA", "WHIYYA"}},
        {"ぢ", {"DI"}},
        {"ふぁ", {"FA", "FWA", "HUXA", "FULA"}},
        {"てぃ", {"THI", "TEXI", "TELI"}},
        {"ヴ", {"VU"}},
        {"う゛ぁヴォ", {"VAVO", "VUXAVULO"}},
        {"きゃ", {"KYA", "KIXYA", "KILYA"}},
        {"キャット", {"KYATTO", "KILYAXTUTO", "KYALTSUTO"}},
        {"っっか", {"KKKA", "XTUKKA", "XTULTUKA"}},
        {"しっかん", {"CILTUKAN'", "SHIKKAXN", "SIXTUCANN"}},
        {"「あ」、。", {"[A],."}},
        {"あっ。", {"AXTU.", "ALTSU."}},
    };
    for (const auto& c : cases) {
        for (const char* keys : c.spellings) {
            ASSERT_TRUE(Start(2, c.question)) << c.question;
            const std::string transcript = TypeScript(m_doc, keys);
            EXPECT_EQ(transcript.find('!'), std::string::npos) << c.question << " typed " << keys << ": " << transcript;
            EXPECT_NE(transcript.find("[done]"), std::string::npos) << c.question << " typed " << keys << ": " << transcript;
            EXPECT_EQ(Roman(), keys) << c.question;
        }
    }
}

TEST_F(ImeMatcherTest, SpellingsAnInputMethodRefusesMissWhereTheyShould) {
    struct Case { const char* question; const char* keys; const char* tail; };
    const Case cases[] = {
        // ん before a vowel, Y or N, or at the end, is NN, N' or XN.
        {"きんえん", "KINE", "N:きN E!N"},
        {"こんや", "KONY", "N:こN Y!N"},
        {"こんな", "KONA", "N:こN A!N"},
        {"ほん", "HONX", "N:ほN X!N"},
        {"ぢ", "JI", "J!D I!D"},
        {"っ", "TT", "T!X T!X"},
        {"がっこう", "GANK", "A:が N!K K:がK"},
        {"し", "SY", "S:S Y!I"},
        // A symbol after a small tsu does not type the tsu for it.
        {"あっ。", "A.", "A:あ .!X"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start(2, c.question)) << c.question;
        const std::string transcript = TypeScript(m_doc, c.keys);
        EXPECT_EQ(transcript.substr(transcript.size() - std::min(transcript.size(), std::string(c.tail).size())), c.tail)
            << c.question << " typed " << c.keys << ": " << transcript;
    }
    // A final ん typed N is not yet done.
    ASSERT_TRUE(Start(2, "ほん"));
    EXPECT_EQ(TypeScript(m_doc, "HON"), "H:H O:ほ N:ほN");
    EXPECT_EQ(TypeScript(m_doc, "N"), "N:ほん [done]");
}

TEST_F(ImeMatcherTest, AnswerShowsKanaDoneAndTheLettersOfTheKanaBeingTyped) {
    struct Case { const char* question; const char* keys; const char* transcript; };
    const Case cases[] = {
        {"がっこう", "GAKKOU", "G:G A:が K:がK K:がっK O:がっこ U:がっこう [done]"},
        {"がっこう", "GAXTUKOU", "G:G A:が X:がX T:がXT U:がっ K:がっK O:がっこ U:がっこう [done]"},
        {"しんぶん", "SINBUN'", "S:S I:し N:しN B:しんB U:しんぶ N:しんぶN ':しんぶん [done]"},
        {"きゃ", "KIXYA", "K:K I:き X:きX Y:きXY A:きゃ [done]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Start(2, c.question));
        EXPECT_EQ(TypeScript(m_doc, c.keys), c.transcript) << c.question;
    }
    // The kanji romaji mode shows completed runs in kanji as before, fixed spelling or not.
    for (const bool bFixed : {false, true}) {
        m_doc.SetRomanMode(bFixed);
        ASSERT_TRUE(Start(4, "き｜って", "切って"));
        EXPECT_EQ(TypeScript(m_doc, "KILTUTE"), "K:K I:切 L:切L T:切LT U:切っ T:切っT E:切って [done]");
        ASSERT_TRUE(Start(4, "ほん｜と", "本と"));
        EXPECT_EQ(TypeScript(m_doc, "HOXNTO"), "H:H O:ほ X:ほX N:本 T:本T O:本と [done]");
        ASSERT_TRUE(Start(4, "ほん｜と", "本と"));
        EXPECT_EQ(TypeScript(m_doc, "HONTO"), "H:H O:ほ N:ほN T:本T O:本と [done]");
    }
}

TEST_F(ImeMatcherTest, TypingTheGuidesKeyAlwaysSucceeds) {
    const char* questions[] = {"しんぶん", "きんえん", "こんや", "こんな", "ほん", "がっこう", "っ", "あっ",
                               "っっか", "ちゃ", "う゛ぁヴ", "「あ」、。１０ー", "あっ！", "ンッ", "ふぁいる"};
    for (const bool bFixed : {false, true}) {
        m_doc.SetRomanMode(bFixed);
        for (const char* q : questions) {
            ASSERT_TRUE(Start(2, q)) << q;
            const std::string keys = FollowGuide();
            EXPECT_EQ(keys.find("<missed>"), std::string::npos) << q << (bFixed ? " fixed: " : ": ") << keys;
            EXPECT_EQ(m_doc.NextExpectedKey(), 0) << q;
        }
    }
    // After a spelling of its own the guide goes on from there.
    m_doc.SetRomanMode(false);
    ASSERT_TRUE(Start(2, "ちゃん"));
    TypeScript(m_doc, "CHI");
    EXPECT_EQ(Roman(), "CHIXYANN");
}

TEST_F(ImeMatcherTest, FixedSpellingDecidesWhatTheGuideShowsAndNothingIsLearned) {
    m_doc.SetRomanMode(true);
    m_doc.Settings().SetIndexedString("Roman", 11, "SHI");  // し
    ASSERT_TRUE(Start(2, "しちゃ"));
    EXPECT_EQ(Roman(), "SHICYA");
    EXPECT_EQ(TypeScript(m_doc, "CIT").find('!'), std::string::npos);
    EXPECT_EQ(Roman(), "CITYA");
    ASSERT_TRUE(Start(2, "きんえん"));
    EXPECT_EQ(Roman(), "KINNENN");  // the fixed mode's single N before a vowel will not do
    TypeScript(m_doc, "KINNENN");
    EXPECT_TRUE(m_learned.empty());
    EXPECT_TRUE(m_doc.Settings().m_mapDynRoman.empty());
}

TEST_F(ImeMatcherTest, SpellingsAreLearnedInTheirOwnFamilyAndUsedByTheNextQuestion) {
    // The rules' alternatives stay DynRoman; any other spelling goes to the input-method family.
    ASSERT_TRUE(Start(2, "しか"));
    TypeScript(m_doc, "CICA");
    EXPECT_EQ(m_learned, (std::map<int, std::string>{{40111, "CI"}, {40105, "CA"}}));
    EXPECT_TRUE(m_doc.Settings().m_mapDynRoman.empty());
    ASSERT_TRUE(Start(2, "かし"));
    EXPECT_EQ(Roman(), "CACI");

    ASSERT_TRUE(Start(2, "し"));
    TypeScript(m_doc, "SHI");
    EXPECT_EQ(m_doc.Settings().m_mapDynRoman, (std::map<int, int>{{40111, 40710}}));
    EXPECT_EQ(m_learned.count(40111), 0u);  // the alternative replaces it
    ASSERT_TRUE(Start(2, "し"));
    EXPECT_EQ(Roman(), "SHI");

    // A two-kana unit typed one kana at a time is learned whole; a small tsu keeps its own.
    ASSERT_TRUE(Start(2, "きゃっきゃ"));
    TypeScript(m_doc, "KIXYAKKILYA");
    EXPECT_EQ(m_learned.at(40179), "KILYA");
    ASSERT_TRUE(Start(2, "きゃっきゃ"));
    EXPECT_EQ(Roman(), "KILYAKKILYA");
    TypeScript(m_doc, "KYAXTUKYA");  // back to the default: the learned one goes
    EXPECT_EQ(m_learned.count(40179), 0u);

    // ん and the units typed through a small tsu teach nothing.
    m_learned.clear();
    ASSERT_TRUE(Start(2, "かんっか"));
    TypeScript(m_doc, "KAXNXTUKA");
    EXPECT_TRUE(m_learned.empty());
}

TEST(ImeMatcherSettings, TheUsersOptionAndLearningLiveInTheSettingsFile) {
    test::TempFolder folder("kibiki_ime");
    CKibikiDoc doc;
    doc.Settings().SetFolder(folder.Path());
    doc.Settings().LoadUser("taro");
    doc.SetRomanMode(false);
    doc.SetLesson(BuiltInLesson(PracticeMode::HiraganaRomaji, 1));
    std::string text = Sj("し");
    ASSERT_TRUE(doc.BuildRoman(text));
    EXPECT_FALSE(doc.Matcher().InputMethod());  // off for every user until chosen

    doc.Settings().m_bImeSpellings = true;
    ASSERT_TRUE(doc.BuildRoman(text));
    ASSERT_TRUE(doc.Matcher().InputMethod());
    TypeScript(doc, "CI");
    EXPECT_NE(test::ReadFile(folder.Path() + "/taro.dat").find("ImeRoman40111=CI\r\n"), std::string::npos);
    EXPECT_TRUE(doc.Settings().m_mapDynRoman.empty());
    ASSERT_TRUE(doc.BuildRoman(text));
    EXPECT_EQ(doc.Matcher().Roman(), "CI");

    // A hand-edited value that is no spelling is passed over.
    for (const char* bad : {"ci", "C1", "XYZ", "SSSSSSSSSSSSSSSSSSSS"}) {
        doc.Settings().m_mapImeRoman[40111] = bad;
        ASSERT_TRUE(doc.BuildRoman(text));
        EXPECT_EQ(doc.Matcher().Roman(), "SI") << bad;
    }
}

TEST_F(ImeMatcherTest, OptionOffKeepsTheFixedSpellingMatcher) {
    m_doc.RomajiCallbacks().fnImeSpellings = [] { return false; };
    ASSERT_TRUE(Start(2, "しんぶん"));
    EXPECT_FALSE(m_doc.Matcher().InputMethod());
    EXPECT_EQ(TypeScript(m_doc, "CI"), "C!S I!S");
    EXPECT_FALSE(Start(2, "っ"));  // still a faulty question
}

}  // namespace
}  // namespace kibiki
