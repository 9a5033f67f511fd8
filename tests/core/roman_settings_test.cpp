// The romaji settings dialogs' rules, without the dialogs: the spelling list, the spelling
// check, the copy that "OK" applies and the learned spellings that "学習削除" deletes at once.
#include <gtest/gtest.h>

#include "judge_script.h"
#include "lessons/roman_settings.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

class RomanSettingsTest : public test::DocFixture {
protected:
    std::string Row(const CRomanSettingModel& m, int i) {
        return U8(m.m_aRows[i].strKana) + "=" + U8(m.m_aRows[i].strRoman);
    }
};

TEST_F(RomanSettingsTest, ListsTheKanaFromAToDhiWithTheFixedSpellingElseTheDefault) {
    CUserSettings& s = m_doc.Settings();
    s.SetIndexedString("Roman", 11, "SHI");
    s.SetIndexedString("Roman", 16, "");         // empty: the default
    s.SetIndexedString("Roman", 219, "XX");      // シ has no row
    s.SetIndexedInt("DynRoman", 40117, 40714);   // learned つ: TU, not shown
    // Hand-edited values practice passes over show as the default; lower case as practice reads it.
    s.SetIndexedString("Roman", 1, "A B");
    s.SetIndexedString("Roman", 2, "shi!!!");
    s.SetIndexedString("Roman", 3, "SSSSSSS");
    s.SetIndexedString("Roman", 4, "wu");
    for (const bool bFix : {true, false}) {      // the rows do not depend on the mode
        const CRomanSettingModel m(s, bFix);
        ASSERT_EQ(m.m_aRows.size(), 151u);
        const std::pair<int, const char*> rows[] = {
            {0, "あ=A"},      {11, "し=SHI"},  {16, "ち=CHI"},  {17, "つ=TSU"}, {27, "ふ=HU"},
            {45, "ん=N"},     {46, "が=GA"},   {71, "ぁ=XA"},   {79, "きゃ=KYA"}, {90, "ちゃ=CYA"},
            {139, "じゃ=JYA"}, {149, "でゃ=DHA"}, {150, "でぃ=DHI"},
            {1, "い=I"},      {2, "う=U"},     {3, "え=E"},     {4, "お=WU"},
        };
        for (const auto& [i, text] : rows) EXPECT_EQ(Row(m, i), text) << i;
        EXPECT_EQ(m.m_bFixRoman, bFix);
        EXPECT_EQ(m.ListEnabled(), bFix);
    }
}

TEST_F(RomanSettingsTest, ChangeIsOfferedOnlyForASelectedRowOfAnEnabledList) {
    CRomanSettingModel m(m_doc.Settings(), false);
    struct Step { bool bFix; int nSelect; bool bCanChange; int nSelected; };
    const Step steps[] = {
        {false, -1, false, -1}, {false, 3, false, 3},  // list disabled: the row waits
        {true, 3, true, 3},     {true, -1, false, -1}, {true, 150, true, 150},
        {true, 151, false, -1}, {true, 5, true, 5},    {false, 5, false, 5},
    };
    for (const auto& st : steps) {
        m.SetFixRoman(st.bFix);
        m.Select(st.nSelect);
        EXPECT_EQ(m.m_bCanChange, st.bCanChange) << st.bFix << " " << st.nSelect;
        EXPECT_EQ(m.m_nSelected, st.nSelected) << st.bFix << " " << st.nSelect;
    }
}

TEST_F(RomanSettingsTest, SpellingsAreTheLettersAToZStoredUpperCaseAndEmptyMeansTheDefault) {
    struct Case { const char* typed; const char* stored; };  // stored null: refused
    const Case cases[] = {
        {"shi", "SHI"}, {"ShI", "SHI"}, {"CHA", "CHA"}, {"", ""}, {"abcdef", "ABCDEF"},
        {"abcdefg", nullptr},  // longer than any spelling
        {"し", nullptr}, {"ｓｈｉ", nullptr}, {"SH1", nullptr}, {"S I", nullptr}, {" SI", nullptr},
        {"N'", nullptr}, {"-", nullptr}, {"SI\n", nullptr}, {"\xC3\xA9", nullptr},  // é
    };
    for (const auto& c : cases) {
        RecordingMessenger messages;
        std::string spelling = "kept";
        const bool ok = CheckRomanSpelling(c.typed, spelling, &messages);
        EXPECT_EQ(ok, c.stored != nullptr) << c.typed;
        EXPECT_EQ(spelling, c.stored ? c.stored : "kept") << c.typed;
        ASSERT_EQ(messages.m_shown.size(), c.stored ? 0u : 1u) << c.typed;
        if (!c.stored) {
            EXPECT_NE(messages.m_shown[0].text.find("A～Z"), std::string::npos);
            EXPECT_EQ(messages.m_shown[0].buttons, MsgButtons::Ok);
            EXPECT_EQ(messages.m_shown[0].icon, MsgIcon::Warning);
        }
    }
    std::string spelling;
    EXPECT_FALSE(CheckRomanSpelling("1", spelling, nullptr));
}

TEST_F(RomanSettingsTest, OkAppliesTheChangesInOrderAndSavesTheRecordOnce) {
    CUserSettings& s = m_doc.Settings();
    s.SetIndexedString("Roman", 27, "FU");
    m_doc.SetRomanMode(false);
    CRomanSettingModel m(s, false);
    m.SetFixRoman(true);
    m.Change(11, "SHI");
    m.Change(90, "TYA");
    m.Change(11, "SI");  // a row changed twice keeps its later text
    m.Change(27, "");    // back to the default, shown as such
    EXPECT_EQ(Row(m, 11), "し=SI");
    EXPECT_EQ(Row(m, 27), "ふ=HU");
    EXPECT_EQ(m.m_aChangedRows, (std::vector<int>{11, 90, 11, 27}));

    // The record waits for "OK".
    EXPECT_EQ(s.GetIndexedString("Roman", 11, "none"), "none");
    EXPECT_EQ(s.GetInt("RomanMode", -1), 1);
    const std::string before = SavedFile();

    ASSERT_TRUE(m.Apply(m_doc));
    EXPECT_TRUE(m_doc.RomanMode());
    EXPECT_NE(SavedFile(), before);
    EXPECT_EQ(SavedFile(),
              "Type=0\r\nHomePos=1\r\nHomeColor=0\r\nRomanMode=1\r\nFont=3\r\nColor=1\r\ncount=0\r\n"
              "KanaSepa=" + Sj("｜") + "\r\n"
              "ColorL0=0\r\nColorB0=65535\r\nColorLG0=255\r\n"
              "ColorL1=0\r\nColorB1=16776960\r\nColorLG1=255\r\n"
              "ColorL2=0\r\nColorB2=12632256\r\nColorLG2=255\r\n"
              "ColorL3=0\r\nColorB3=65280\r\nColorLG3=255\r\n"
              "Roman11=SI\r\nRoman27=\r\nRoman90=TYA\r\n");

    // The next question is built with them; the empty one falls back to HU.
    ASSERT_TRUE(Start(2, "しふちゃ"));
    EXPECT_EQ(Roman(), "SIHUTYA");

    // The input-method option adds one line at the end, and only while it is on.
    CRomanSettingModel ime(s, m_doc.RomanMode());
    EXPECT_FALSE(ime.m_bImeSpellings);
    ime.m_bImeSpellings = true;
    const std::string withoutIme = SavedFile();
    ASSERT_TRUE(ime.Apply(m_doc));
    EXPECT_EQ(SavedFile(), withoutIme + "ImeSpellings=1\r\n");
    CRomanSettingModel imeOff(s, m_doc.RomanMode());
    EXPECT_TRUE(imeOff.m_bImeSpellings);
    imeOff.m_bImeSpellings = false;
    ASSERT_TRUE(imeOff.Apply(m_doc));
    EXPECT_EQ(SavedFile(), withoutIme);

    // Turning the switch off is stored too; the spellings stay.
    CRomanSettingModel off(s, m_doc.RomanMode());
    off.SetFixRoman(false);
    ASSERT_TRUE(off.Apply(m_doc));
    EXPECT_FALSE(m_doc.RomanMode());
    EXPECT_NE(SavedFile().find("RomanMode=0\r\n"), std::string::npos);
    EXPECT_NE(SavedFile().find("Roman90=TYA\r\n"), std::string::npos);
}

TEST_F(RomanSettingsTest, CancelLeavesRecordFileAndDocumentAsTheyWere) {
    m_doc.SetRomanMode(true);
    const std::string before = SavedFile();
    {
        CRomanSettingModel m(m_doc.Settings(), true);
        m.SetFixRoman(false);
        m.Change(11, "SHI");
    }
    EXPECT_TRUE(m_doc.Settings().m_mapRoman.empty());
    EXPECT_EQ(m_doc.Settings().GetInt("RomanMode", -1), 1);
    EXPECT_TRUE(m_doc.RomanMode());
    EXPECT_EQ(SavedFile(), before);
}

TEST_F(RomanSettingsTest, DeletingTheLearningAsksAndOnYesClearsAndSavesAtOnce) {
    CUserSettings& s = m_doc.Settings();
    s.SetIndexedInt("DynRoman", 40111, 40710);
    s.SetIndexedInt("DynRoman", 40319, 40711);
    s.SetIndexedString("ImeRoman", 40111, "CI");
    s.SetIndexedString("Roman", 11, "SHI");
    s.SaveUser();

    m_messages.m_answer = MsgResult::No;
    EXPECT_FALSE(CRomanSettingModel::DeleteLearning(s, m_messages));
    ASSERT_EQ(m_messages.m_shown.size(), 1u);
    EXPECT_EQ(m_messages.m_shown[0].text, "ローマ字の学習を削除してよろしいですか？");
    EXPECT_EQ(m_messages.m_shown[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(s.m_mapDynRoman.size(), 2u);
    EXPECT_NE(SavedFile().find("DynRoman40111=40710\r\n"), std::string::npos);

    m_messages.m_answer = MsgResult::Yes;
    EXPECT_TRUE(CRomanSettingModel::DeleteLearning(s, m_messages));
    EXPECT_TRUE(s.m_mapDynRoman.empty());
    EXPECT_TRUE(s.m_mapImeRoman.empty());
    EXPECT_EQ(SavedFile().find("DynRoman"), std::string::npos);  // saved, no dialog "OK" needed
    EXPECT_EQ(SavedFile().find("ImeRoman"), std::string::npos);
    EXPECT_NE(SavedFile().find("Roman11=SHI\r\n"), std::string::npos);

    // Every kana is built with its default again in the learning mode.
    m_doc.SetRomanMode(false);
    ASSERT_TRUE(Start(2, "しシ"));
    EXPECT_EQ(Roman(), "SISI");
}

}  // namespace
}  // namespace kibiki
