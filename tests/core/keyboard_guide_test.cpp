// Which cap, finger label and SHIFT cap the guide lights, and the keyboard's legends and colours.
#include <gtest/gtest.h>

#include "lessons/lesson_number.h"
#include "support/practice_harness.h"

namespace kibiki {
namespace {

using test::PracticeHarness;
using test::Sj;

// What is lit: every control whose legend colour is not black, as "id" or "id=RRGGBB" when
// the colour is not the default red.
std::string Lit(const RecordingPracticeForm& form) {
    std::string out;
    for (const auto& [id, color] : form.m_textColors) {
        if (color == 0) continue;
        if (!out.empty()) out += ' ';
        out += std::to_string(id);
        if (color != 0x0000FF) out += "=" + ColorText(color);
    }
    return out;
}

TEST(KeyboardGuide, LightsTheCapItsFingerAndTheOtherHandsShift) {
    struct Case {
        const char* name;
        int type;
        bool english;
        bool jis;
        const char* ch;
        const char* lit;
    };
    const Case cases[] = {
        {"! is 1 with the right SHIFT", 1, false, true, "!", "1000 1060 1080"},
        {"& is 6 with the left SHIFT", 1, false, true, "&", "1020 1064 1079"},
        {"plain F", 1, false, true, "F", "1014 1063"},
        {"lower-case a finds A", 1, false, true, "a", "1002 1060"},
        {"ｦ is the わ cap with the left SHIFT", 0, false, true, "ｦ", "1036 1067 1079"},
        {"ｯ is the つ cap with the right SHIFT", 0, false, true, "ｯ", "1003 1060 1080"},
        {"ｧ is the あ cap with the right SHIFT", 0, false, true, "ｧ", "1008 1062 1080"},
        {"ﾞ is cap 41", 0, false, true, "ﾞ", "1041 1067"},
        {"English A: its letter with the right SHIFT", 1, true, true, "A", "1002 1060 1080"},
        {"English P: its letter with the left SHIFT", 1, true, true, "P", "1037 1067 1079"},
        {"English a: the letter alone", 1, true, true, "a", "1002 1060"},
        {"~ on JIS is the ^ cap", 1, false, true, "~", "1044 1067 1079"},
        {"~ elsewhere is the @ cap", 1, false, false, "~", "1041 1067 1079"},
        {"` on JIS is the @ cap", 1, false, true, "`", "1041 1067 1079"},
        {"` elsewhere is the ^ cap", 1, false, false, "`", "1044 1067 1079"},
        {"a space lights nothing", 1, true, true, " ", ""},
        {"a character on no cap lights nothing", 1, false, true, "\t", ""},
        {"kana mode: a shifted ASCII character is on no kana cap", 0, false, true, "&", ""},
        {"romaji mode: ｦ is the 0 cap with the left SHIFT", 1, false, true, "ｦ", "1036 1067 1079"},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_layout.m_bJis = c.jis;
        h.m_doc.SetUserMode(PracticeMode{c.type});
        Lesson lesson = BuiltInLesson(PracticeMode{c.type}, 1);
        if (c.english) {
            lesson.source = LessonSource::File;
            lesson.nNumber = kCustomLessonInOrder;
            lesson.bEnglish = true;
        }
        h.m_doc.SetLesson(lesson);
        const unsigned char ch = static_cast<unsigned char>(Sj(c.ch)[0]);
        h.m_view.GuideChar(ch, true);
        EXPECT_EQ(Lit(h.m_form), c.lit) << c.name;
        h.m_view.GuideChar(ch, false);
        EXPECT_EQ(Lit(h.m_form), "") << c.name;
    }
}

TEST(KeyboardGuide, LitLegendUsesTheFingerColoursWhenColouringIsOn) {
    PracticeHarness h;
    h.m_view.SetColorKeys(true);
    std::array<COLORREF, 4> legend = h.m_view.LegendColors(), lit = h.m_view.LitLegendColors();
    lit[3] = 0x123456;  // index fingers
    legend[3] = 0x000001;
    h.m_view.SetLegendColors(legend, lit);
    h.m_doc.SetUserMode(PracticeMode::RomajiInput);
    h.m_view.GuideChar('F', true);
    EXPECT_EQ(Lit(h.m_form), "1014=123456 1063=123456");
    h.m_view.GuideChar('F', false);
    EXPECT_EQ(Lit(h.m_form), "1014=000001 1063=000001");
}

TEST(KeyboardGuide, AdvanceGuideMovesTheLightAndShiftFollowsTheKey) {
    PracticeHarness h;
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.StartCustom("#ROMAN\nE\n!a&\n");
    EXPECT_EQ(Lit(h.m_form), "1000 1060 1080");
    h.Type("!");
    EXPECT_EQ(Lit(h.m_form), "1002 1060");
    h.Type("x");  // a wrong key leaves the guide alone
    EXPECT_EQ(Lit(h.m_form), "1002 1060");
    h.Type("a");
    EXPECT_EQ(Lit(h.m_form), "1020 1064 1079");
}

TEST(KeyboardGuide, LegendsFollowTheModeAndTheLayout) {
    struct Case { int type; bool jis; const char* cap0; const char* cap41; const char* cap44; };
    const Case cases[] = {
        {0, true, "ぬ", "゛", "へ"},   {3, false, "ぬ", "゛", "へ"},
        {1, true, "1 !", "@ `", "^ ~"}, {2, false, "1 !", "@ ~", "^ `"},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        h.m_layout.m_bJis = c.jis;
        h.m_doc.SetUserMode(PracticeMode{c.type});
        h.m_view.ShowKeyLegends();
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST), c.cap0) << c.type;
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST + 41), c.cap41) << c.type;
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST + 44), c.cap44) << c.type;
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST + 47), c.type == 0 || c.type == 3 ? "ー" : "\\ |");
    }
}

TEST(KeyboardGuide, KeyColoursByFingerOrButtonFace) {
    PracticeHarness h;
    h.m_view.ApplyKeyColors(true);
    // Standard colours: little yellow, ring cyan, middle silver, index green.
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 0], 0x00FFFFu);
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 5], 0xFFFF00u);
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 30], 0xC0C0C0u);
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 14], 0x00FF00u);
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 47], 0x00FFFFu);
    EXPECT_EQ(h.m_form.m_backColors[IDC_FINGER_FIRST + 4], 0x00FF00u);
    EXPECT_EQ(h.m_form.m_backColors[IDC_FINGER_FIRST + 7], 0x00FFFFu);
    EXPECT_EQ(h.m_form.m_backColors.size(), 56u);

    h.m_view.ApplyKeyColors(false);
    for (const auto& [id, color] : h.m_form.m_backColors) EXPECT_EQ(color, h.m_form.m_buttonFace) << id;
    for (const auto& [id, color] : h.m_form.m_textColors) EXPECT_EQ(color, 0u) << id;
}

TEST(KeyboardGuide, MarkersFollowHomePosAndHomeColor) {
    PracticeHarness h;
    h.m_doc.Settings().SetInt("HomePos", 0);
    h.m_doc.Settings().SetInt("HomeColor", 0x0000FF);
    h.m_view.ApplyHomeMarkers();
    ASSERT_EQ(h.m_form.m_markers.size(), 8u);
    for (const auto& [id, marker] : h.m_form.m_markers) {
        EXPECT_FALSE(marker.bVisible) << id;
        EXPECT_EQ(marker.color, 0x0000FFu) << id;
    }
    h.m_doc.Settings().SetInt("HomePos", 1);
    h.m_view.ApplyHomeMarkers();
    for (const auto& [id, marker] : h.m_form.m_markers) EXPECT_TRUE(marker.bVisible) << id;
}

TEST(KeyboardGuide, ApplySettingsBringsAUsersModeColoursAndMarkers) {
    PracticeHarness h;
    CUserSettings& s = h.m_doc.Settings();
    s.SetInt("Type", 2);
    s.SetInt("Font", 1);
    s.SetInt("Color", 1);
    s.SetInt("RomanMode", 0);
    s.SetIndexedInt("ColorLG", 3, 0x00AA00);
    s.SetInt("HomePos", 1);
    s.SetInt("HomeColor", 0x0000FF);
    h.m_view.ApplySettings();
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 2);
    EXPECT_EQ(h.m_view.Font(), 1);
    EXPECT_FALSE(h.m_doc.RomanMode());
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "1 !");
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 14], 0x00FF00u);
    EXPECT_EQ(h.m_form.m_markers[IDC_MARKER_FIRST].color, 0x0000FFu);
    h.m_view.GuideChar('F', true);
    EXPECT_EQ(Lit(h.m_form), "1014=00AA00 1063=00AA00");
}

}  // namespace
}  // namespace kibiki
