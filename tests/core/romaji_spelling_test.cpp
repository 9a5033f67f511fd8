#include <gtest/gtest.h>

#include "judge_script.h"

namespace kibiki {
namespace {

class RomajiSpellingTest : public test::DocFixture {
protected:
    std::string Spelling(int nKanaId) {
        std::string s = "stale";
        GetRomaji(nKanaId, m_doc.RomanMode(), m_doc.RomajiCallbacks(), s);
        return s;
    }
};

TEST_F(RomajiSpellingTest, DefaultsForHiraganaKatakanaAndSymbols) {
    struct Case { int id; const char* romaji; };
    const Case cases[] = {
        {40100, "A"},   {40111, "SI"},  {40116, "CHI"}, {40117, "TSU"}, {40127, "HU"},
        {40145, "N"},   {40190, "CYA"}, {40239, "JYA"}, {40184, "KWA"}, {40267, "VU"},
        {40272, "["},   {40285, "\\"},  {40307, "`"},   {40319, "SI"},  {40475, "VU"},
        {40479, "RYI"},
    };
    for (const auto& c : cases) EXPECT_EQ(Spelling(c.id), c.romaji) << c.id;
}

TEST_F(RomajiSpellingTest, HandEditedValuesThatNoDialogWritesAreNoSpelling) {
    // The settings file is text: a fixed spelling may be lower case, too long or no letters, a
    // learned id any number. Only what the dialog and the matcher could have stored is used.
    struct Fixed { const char* value; const char* spelling; };
    CUserSettings& s = m_doc.Settings();
    m_doc.SetRomanMode(true);
    for (const Fixed& c : {Fixed{"shi", "SHI"}, {"ShI", "SHI"}, {"SHIIIIIIIIIIII", "SI"}, {"S1", "SI"},
                           {"S-", "SI"}, {"\x82\xB5", "SI"}, {"", "SI"}}) {
        s.SetIndexedString("Roman", 11, c.value);
        EXPECT_EQ(Spelling(40111), c.spelling) << c.value;
    }
    m_doc.SetRomanMode(false);
    for (const int id : {43000, 40726 /* ちゃ's TYA */, -1, 40500 /* あ's A */}) {
        s.SetIndexedInt("DynRoman", 40111, id);
        EXPECT_EQ(Spelling(40111), "SI") << id;
    }
    // A long fixed spelling once made the matcher read a two-kana unit's length.
    m_doc.SetRomanMode(true);
    s.SetIndexedString("Roman", 11, "SSSSSSSSSSSS");
    m_doc.SetLesson(BuiltInLesson(PracticeMode::HiraganaRomaji, 1));
    std::string text = test::Sj("しか");
    ASSERT_TRUE(m_doc.BuildRoman(text));
    EXPECT_EQ(m_doc.Matcher().Roman(), "SIKA");
}

TEST_F(RomajiSpellingTest, EachModeReadsOnlyItsOwnPreferences) {
    CUserSettings& s = m_doc.Settings();
    s.SetIndexedString("Roman", 11, "SHI");   // fixed し
    s.SetIndexedInt("DynRoman", 40116, 40712);  // learned ち: TI
    s.SetIndexedInt("DynRoman", 40117, 12345);  // names no string
    s.SetIndexedInt("DynRoman", 40127, 0);

    m_doc.SetRomanMode(true);
    EXPECT_EQ(Spelling(40111), "SHI");
    EXPECT_EQ(Spelling(40319), "SI");  // シ would be key 219, which the dialog never sets
    EXPECT_EQ(Spelling(40116), "CHI");

    m_doc.SetRomanMode(false);
    EXPECT_EQ(Spelling(40111), "SI");
    EXPECT_EQ(Spelling(40116), "TI");
    EXPECT_EQ(Spelling(40324), "CHI");  // チ is learned on its own
    EXPECT_EQ(Spelling(40117), "TSU");
    EXPECT_EQ(Spelling(40127), "HU");
}

TEST_F(RomajiSpellingTest, FixedSpellingIsBuiltAndStrictlyMatched) {
    m_doc.Settings().SetIndexedString("Roman", 11, "SHI");
    m_doc.SetRomanMode(true);
    ASSERT_TRUE(Start(2, "しシ"));
    EXPECT_EQ(Roman(), "SHISI");
    EXPECT_EQ(test::TypeScript(m_doc, "SIHISHI"), "S:S I!H H:SH I:し S:しS H!I I:しシ [done]");
}

}  // namespace
}  // namespace kibiki
