#include "users/setting_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "lessons/view_commands.h"
#include "support/practice_harness.h"
#include "support/test_util.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;
using test::PracticeHarness;
using test::Sj;

TEST(SettingFolder, ChoosesOverrideThenExecutableFolderThenDataHome) {
    const test::TempFolder folder("kibiki_folder");
    const std::string& root = folder.Path();
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/installed");
    std::ofstream(root + "/installed/Setting") << "not a folder";

    struct Case { SettingFolderSources sources; std::string folder; };
    const Case cases[] = {
        {{root + "/mine", root + "/bin", root + "/data", root + "/home", ""}, root + "/mine/"},
        {{"", root + "/bin/", root + "/data", root + "/home", ""}, root + "/bin/Setting/"},
        {{"", root + "/installed", root + "/data", root + "/home", ""}, root + "/data/Kibiki/Setting/"},
        {{"", "", "", root + "/home", ""}, root + "/home/.local/share/Kibiki/Setting/"},
        {{"", "", "relative", root + "/home", ""}, root + "/home/.local/share/Kibiki/Setting/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveSettingFolder(c.sources), c.folder);
        EXPECT_TRUE(fs::is_directory(c.folder)) << c.folder;
    }

    // Installed where the build installs it: the XDG folder, and nothing beside the program,
    // though its folder could be written (as root it could be anywhere).
    fs::create_directories(root + "/prefix/bin");
    const SettingFolderSources installed{"", root + "/prefix/bin", root + "/data", root + "/home",
                                         root + "/prefix/bin/"};
    EXPECT_EQ(ResolveSettingFolder(installed), root + "/data/Kibiki/Setting/");
    EXPECT_FALSE(fs::exists(root + "/prefix/bin/Setting"));

    ::setenv("KIBIKI_SETTING_DIR", (root + "/env").c_str(), 1);
    CUserSettings s;
    s.m_strUser = Sj("ユーザ");
    EXPECT_EQ(s.SettingsPath(), root + "/env/ユーザ.dat");
    ::unsetenv("KIBIKI_SETTING_DIR");
}

TEST(SettingFolder, InstalledProgramFolders) {
    struct Case { const char* exeDir; const char* installBinDir; bool installed; };
    const Case cases[] = {
        {"/usr/bin", "", true},
        {"/usr/local/bin/", "", true},
        {"/usr/games", "/usr/local/bin", true},
        {"/bin", "", true},
        {"/sbin/", "", true},
        {"/usr", "", true},
        {"/usrlocal/bin", "", false},
        {"/home/u/kibiki/build/src/ui/", "/usr/local/bin", false},
        {"/opt/kibiki", "", false},
        {"/opt/kibiki/bin/", "/opt/kibiki/bin", true},
        {"/opt/kibiki/bin2", "/opt/kibiki/bin", false},
        {"/opt/kibiki", "/opt/kibiki/bin", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsInstalledProgramFolder(c.exeDir, c.installBinDir), c.installed)
            << c.exeDir << " installing to " << c.installBinDir;
}

// A save killed between writing its temporary file and renaming it leaves the file behind.
TEST(SettingFolder, StartUpRemovesTheTemporaryFilesOfKilledSavesOnly) {
    const test::TempFolder folder("kibiki_temps");
    const std::string dir = folder.Path() + "/";
    const pid_t dead = ::fork();
    ASSERT_GE(dead, 0);
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string deadPid = std::to_string(dead);
    const std::string ownPid = std::to_string(::getpid());

    struct Case { std::string name; bool removed; };
    const Case cases[] = {
        {".default.dat." + deadPid + ".0.tmp", true},
        {".花子.dat." + deadPid + ".12.tmp", true},
        {".default.dat." + ownPid + ".3.tmp", true},  // an earlier process of our pid
        {".default.dat.1.0.tmp", false},              // pid 1 runs: it may be saving now
        {"default.dat." + deadPid + ".0.tmp", false},
        {".default.hst." + deadPid + ".0.tmp", false},
        {".default.dat." + deadPid + ".x.tmp", false},
        {".default.dat.tmp", false},
        {"default.dat", false},
    };
    for (const auto& c : cases) std::ofstream(dir + c.name) << "Type=1\r\n";
    fs::create_directory(dir + ".folder.dat." + deadPid + ".0.tmp");

    PracticeHarness h;
    h.m_doc.Settings().SetFolder(dir);
    InitialUpdate(h.m_view, h.m_doc, h.m_profile);
    for (const auto& c : cases) EXPECT_EQ(!fs::exists(dir + c.name), c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(dir + ".folder.dat." + deadPid + ".0.tmp"));
}

}  // namespace
}  // namespace kibiki
