// Start-up of the practice view and the mode and text-size commands.
#include <gtest/gtest.h>

#include "lessons/view_commands.h"
#include "support/practice_harness.h"

namespace kibiki::test {
namespace {

std::string SettingsFile(const PracticeHarness& h, const std::string& user) {
    return ReadFile(h.m_dir + "/Setting/" + user + ".dat");
}

bool HasLine(const std::string& file, const std::string& line) {
    return file.find("\r\n" + line + "\r\n") != std::string::npos || file.rfind(line + "\r\n", 0) == 0;
}

TEST(ViewCommands, StartUpOpensTheProfilesUserAndAppliesAndSavesTheirSettings) {
    PracticeHarness h;
    std::filesystem::create_directories(h.m_dir + "/Setting");
    std::string text = h.m_doc.Settings().NewUserFileText();
    text.replace(text.find("Type=0"), 6, "Type=3");
    text.replace(text.find("Font=3"), 6, "Font=2");
    std::ofstream(h.m_dir + "/Setting/hanako.dat", std::ios::binary) << text;
    h.m_profile.WriteProfileString("Settings", "User", "hanako");

    InitialUpdate(h.m_view, h.m_doc, h.m_profile);
    EXPECT_EQ(h.m_doc.Settings().m_strUser, "hanako");
    EXPECT_EQ(ModeValue(h.m_view.ShownMode()), 3);
    EXPECT_EQ(h.m_view.Font(), 2);
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "ぬ");
    EXPECT_EQ(h.m_form.m_markers.size(), 8u);
    EXPECT_TRUE(HasLine(SettingsFile(h, "hanako"), "Font=2"));
}

TEST(ViewCommands, StartUpWithoutAStoredUserOpensDefault) {
    PracticeHarness h;
    InitialUpdate(h.m_view, h.m_doc, h.m_profile);
    EXPECT_EQ(h.m_doc.Settings().m_strUser, "default");
    EXPECT_FALSE(SettingsFile(h, "default").empty());
}

TEST(ViewCommands, StartUpNeverOpensAFileOutsideTheSettingsFolder) {
    // A hand-edited profile: each name would name a file elsewhere, or no file at all.
    for (const char* name : {"../outside", "a/b", "a\\b", "..", "", "x:y", "tab\t"}) {
        PracticeHarness h;
        h.m_profile.WriteProfileString("Settings", "User", name);
        InitialUpdate(h.m_view, h.m_doc, h.m_profile);
        EXPECT_EQ(h.m_doc.Settings().m_strUser, "default") << name;
        EXPECT_FALSE(std::filesystem::exists(h.m_dir + "/outside.dat")) << name;
    }
    // ソ ends in the byte 0x5C, which is no backslash inside a double-byte character.
    PracticeHarness h;
    h.m_profile.WriteProfileString("Settings", "User", Sj("ソラ"));
    InitialUpdate(h.m_view, h.m_doc, h.m_profile);
    EXPECT_EQ(h.m_doc.Settings().m_strUser, Sj("ソラ"));
}

TEST(ViewCommands, ModeIsSavedAtOnceAndRelabelsTheKeyboard) {
    PracticeHarness h;
    struct Case { int mode; const char* cap0; } cases[] = {{2, "1 !"}, {3, "ぬ"}, {1, "1 !"}, {0, "ぬ"}};
    for (const auto& c : cases) {
        SetPracticeMode(h.m_view, h.m_doc, PracticeMode{c.mode});
        EXPECT_EQ(ModeValue(h.m_view.ShownMode()), c.mode);
        EXPECT_EQ(h.Shown(IDC_KEY_FIRST), c.cap0) << c.mode;
        EXPECT_TRUE(HasLine(SettingsFile(h, "test"), "Type=" + std::to_string(c.mode))) << c.mode;
    }
}

TEST(ViewCommands, TextSizeIsSavedAtOnce) {
    PracticeHarness h;
    SetTextSize(h.m_view, h.m_doc, 2);
    EXPECT_EQ(h.m_view.Font(), 2);
    EXPECT_TRUE(HasLine(SettingsFile(h, "test"), "Font=2"));
}

TEST(ViewCommands, AHandEditedTextSizeOutsideOneToThreePagesAsSmall) {
    PracticeHarness h;
    for (const auto& [nFont, nLines] : {std::pair{1, 1}, {2, 2}, {3, 3}, {0, 3}, {4, 3}, {-1, 3}}) {
        h.m_view.SetFont(nFont);
        EXPECT_EQ(h.m_view.PageLines(), nLines) << nFont;
    }
}

}  // namespace
}  // namespace kibiki::test
