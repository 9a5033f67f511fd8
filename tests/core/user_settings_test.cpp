#include "users/user_settings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "support/fakes.h"
#include "support/test_util.h"
#include "users/history_file.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;
using test::Sj;
using test::U8;

// Expectations are written with "\n"; the file has CR LF.
std::string Crlf(std::string_view lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

const std::string kDefaultHead = Crlf(
    "Type=0\nHomePos=1\nHomeColor=0\nRomanMode=1\nFont=3\nColor=1\ncount=0\n");
const std::string kDefaultColours = Crlf(
    "ColorL0=0\nColorB0=65535\nColorLG0=255\n"
    "ColorL1=0\nColorB1=16776960\nColorLG1=255\n"
    "ColorL2=0\nColorB2=12632256\nColorLG2=255\n"
    "ColorL3=0\nColorB3=65280\nColorLG3=255\n");

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "|" : "") + items[i];
    return out;
}

std::string JoinColours(const int (&a)[4]) {
    return std::to_string(a[0]) + "," + std::to_string(a[1]) + "," + std::to_string(a[2]) + "," +
           std::to_string(a[3]);
}

// The fields of s that differ from a freshly constructed record, in file order.
std::string Describe(const CUserSettings& s) {
    const CUserSettings fresh;
    std::ostringstream os;
    auto scalar = [&](const char* key) {
        if (s.GetInt(key, -1) != fresh.GetInt(key, -1)) os << key << "=" << s.GetInt(key, -1) << " ";
    };
    for (const char* key : {"Type", "HomePos", "HomeColor", "RomanMode", "Font", "Color", "count"})
        scalar(key);
    if (s.m_strKanaSepa != fresh.m_strKanaSepa) os << "KanaSepa=" << U8(s.m_strKanaSepa) << " ";
    auto colours = [&](const char* key, const int (&a)[4], const int (&b)[4]) {
        if (JoinColours(a) != JoinColours(b)) os << key << "=" << JoinColours(a) << " ";
    };
    colours("ColorL", s.m_nColorL, fresh.m_nColorL);
    colours("ColorB", s.m_nColorB, fresh.m_nColorB);
    colours("ColorLG", s.m_nColorLG, fresh.m_nColorLG);
    if (!s.m_aNo.empty()) os << "No=[" << U8(Join(s.m_aNo)) << "] ";
    if (!s.m_aFile.empty()) os << "File=[" << U8(Join(s.m_aFile)) << "] ";
    for (const auto& [k, v] : s.m_mapRoman) os << "Roman" << k << "=" << U8(v) << " ";
    for (const auto& [k, v] : s.m_mapDynRoman) os << "DynRoman" << k << "=" << v << " ";
    std::string out = os.str();
    if (!out.empty()) out.pop_back();
    return out;
}

class UserSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_settings.SetFolder(m_dir); }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir + name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const { return test::ReadFile(m_dir + name); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder m_folder{"kibiki_settings"};
    const std::string m_dir = m_folder.Path() + "/";
    FakeProfile m_profile;
    RecordingMessenger m_messages;
    CUserSettings m_settings{&m_profile, &m_messages};
};

TEST_F(UserSettingsTest, FirstStartWithEmptyProfileWritesTheDefaultFile) {
    m_settings.LoadUser("default");
    EXPECT_EQ(Read("default.dat"), kDefaultHead + Sj("KanaSepa=｜\r\n") + kDefaultColours);
    EXPECT_EQ(Entries(), std::vector<std::string>{"default.dat"});
    EXPECT_TRUE(m_messages.m_shown.empty());
}

TEST_F(UserSettingsTest, NewUserFileIsNineteenLinesWithoutSeparator) {
    ASSERT_TRUE(m_settings.WriteNewUserFile(Sj("山田")));
    EXPECT_EQ(Read("山田.dat"), kDefaultHead + kDefaultColours);
    EXPECT_EQ(CUserSettings::NewUserFileText(), kDefaultHead + kDefaultColours);
}

TEST_F(UserSettingsTest, SeparatorCarriesOverToAUserWhoseFileLacksIt) {
    Write("a.dat", "KanaSepa=/\r\n");
    m_settings.LoadUser("a");
    ASSERT_TRUE(m_settings.WriteNewUserFile("b"));
    m_settings.LoadUser("b");
    EXPECT_EQ(m_settings.m_strKanaSepa, "/");
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_NE(Read("b.dat").find("\r\nKanaSepa=/\r\n"), std::string::npos);
}

TEST_F(UserSettingsTest, ParsesLinesByTheFirstMatchingRule) {
    struct Case { const char* file; const char* loaded; };
    const Case cases[] = {
        {"File5=a\nFile0=b\n", "File=[a|b]"},
        {"count=3\nFile0=x\n", "count=3 File=[x]"},
        {"Type=2x\nFont=\nHomeColor= -12z\n", "Type=2 HomeColor=-12 Font=0"},
        {"KanaSepa=a=b\n", "KanaSepa=a=b"},
        {"ColorB2=255\nColorB12=1\nColorLG3=0\n", "ColorB=65535,16776960,255,65280 ColorLG=255,255,255,0"},
        {"ColorL4=1\nColorLG7=1\nColorB9=1\n", ""},  // no fifth finger group
        {"Roman12=SHI\nDynRoman40111=40712\n", "Roman12=SHI DynRoman40111=40712"},
        {"Font=2\nType\n", "Font=2"},
        {"RomanMode=0\nColor=0\n", "RomanMode=0 Color=0"},  // exact keys before prefixes
        {"Type=99999999999999999999\nHomeColor=-99999999999999999999\nDynRoman123456789012345=7\n",
         "Type=2147483647 HomeColor=-2147483648 DynRoman2147483647=7"},
        {"Type=+3\nFont=+-4\nHomeColor=\t-2147483648x\n", "Type=3 HomeColor=-2147483648 Font=0"},
        {"Type=1\r\nKanaSepa=/\r\nFont=2", "Type=1 Font=2 KanaSepa=/"},  // CR LF, no final line end
        {"=\n==\nNo=x\nFile=y\nRoman=z\nDynRoman=5\nColorL=1\ntype=3\n\x82\nNo\x82=\x82\n", "No=[\xEF\xBF\xBD]"},
    };
    for (const auto& c : cases) {
        CUserSettings s;
        s.SetFolder(m_dir);
        Write("u.dat", c.file);
        s.LoadUser("u");
        EXPECT_EQ(Describe(s), c.loaded) << c.file;
    }
}

TEST_F(UserSettingsTest, SavesWhatItLoadedInItsOwnOrder) {
    Write("u.dat",
          "DynRoman40111=40712\nRoman12=SHI\nFile5=a\nHomePos=7\nFile0=b\ncount=3\nNo9=x\n"
          "KanaSepa=" + Sj("・") + "\nDynRoman-5=40500\n");
    m_settings.LoadUser("u");
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat"), Crlf("Type=0\nHomePos=1\nHomeColor=0\nRomanMode=1\nFont=3\nColor=1\ncount=3\n") +
                                 Sj("KanaSepa=・\r\n") + kDefaultColours +
                                 Crlf("No0=x\nFile0=a\nFile1=b\nRoman12=SHI\n"
                                      "DynRoman-5=40500\nDynRoman40111=40712\n"));
}

TEST_F(UserSettingsTest, InputMethodLinesComeLastOnlyWhileUsedAndGoWithTheUser) {
    const std::string plain = Crlf("Type=0\nHomePos=1\nHomeColor=0\nRomanMode=1\nFont=3\nColor=1\ncount=0\n") +
                              Sj("KanaSepa=｜\r\n") + kDefaultColours + Crlf("DynRoman40111=40710\n");
    Write("u.dat", "ImeRoman40179=KILYA\nImeSpellings=1\n" + plain + "ImeRoman40111=CI\n");
    m_settings.LoadUser("u");
    EXPECT_TRUE(m_settings.m_bImeSpellings);
    EXPECT_EQ(m_settings.GetInt("ImeSpellings", -1), 1);
    EXPECT_EQ(m_settings.GetIndexedString("ImeRoman", 40179, ""), "KILYA");
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat"), plain + Crlf("ImeSpellings=1\nImeRoman40111=CI\nImeRoman40179=KILYA\n"));

    // Off and unlearned, the file is what it always was; Roman is not cleared, ImeRoman is.
    m_settings.SetInt("ImeSpellings", 0);
    m_settings.ClearEntries("ImeRoman");
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat"), plain);

    // Another user's file without them does not inherit them.
    Write("a.dat", "ImeSpellings=1\nImeRoman40111=CI\n");
    Write("b.dat", "Type=2\n");
    m_settings.LoadUser("a");
    m_settings.LoadUser("b");
    EXPECT_FALSE(m_settings.m_bImeSpellings);
    EXPECT_TRUE(m_settings.m_mapImeRoman.empty());
    EXPECT_EQ(CUserSettings::NewUserFileText().find("Ime"), std::string::npos);
}

TEST_F(UserSettingsTest, DailyGoalIsALineOnlyWhileSetAndGoesWithTheUser) {
    const std::string plain = kDefaultHead + Sj("KanaSepa=｜\r\n") + kDefaultColours;
    Write("u.dat", "DailyGoal=15\n" + plain + "ImeSpellings=1\n");
    m_settings.LoadUser("u");
    EXPECT_EQ(m_settings.GetInt("DailyGoal", -1), 15);
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat"), plain + Crlf("ImeSpellings=1\nDailyGoal=15\n"));

    m_settings.SetInt("ImeSpellings", 0);
    m_settings.SetInt("DailyGoal", 0);
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat"), plain);

    Write("a.dat", "DailyGoal=30\n");
    Write("b.dat", "Type=2\n");
    m_settings.LoadUser("a");
    m_settings.LoadUser("b");
    EXPECT_EQ(m_settings.m_nDailyGoal, 0);
    EXPECT_EQ(CUserSettings::NewUserFileText().find("DailyGoal"), std::string::npos);
}

TEST_F(UserSettingsTest, ValueWithALineBreakCannotInjectALine) {
    m_settings.LoadUser("u");
    m_settings.SetIndexedString("File", 0, "/tmp/a\nType=3");
    ASSERT_TRUE(m_settings.SaveUser());
    CUserSettings again;
    again.SetFolder(m_dir);
    again.LoadUser("u");
    EXPECT_EQ(again.m_nType, 0);
    EXPECT_EQ(again.m_aFile, std::vector<std::string>{"/tmp/a"});
}

TEST_F(UserSettingsTest, LoadingEmptiesListsAndMapsButKeepsScalars) {
    Write("a.dat", "Type=4\nFont=1\nNo0=n\nFile0=f\nRoman1=A\nDynRoman40100=40500\nColorL2=9\n");
    Write("b.dat", "Type=2\n");
    m_settings.LoadUser("a");
    m_settings.LoadUser("b");
    EXPECT_EQ(Describe(m_settings), "Type=2 Font=1 ColorL=0,0,9,0");
    EXPECT_EQ(m_settings.m_strUser, "b");
}

TEST_F(UserSettingsTest, ScalarAndColourKeys) {
    EXPECT_TRUE(m_settings.SetInt("HomePos", 5));
    EXPECT_EQ(m_settings.GetInt("HomePos", -1), 1);
    EXPECT_TRUE(m_settings.SetInt("Color", 0));
    EXPECT_EQ(m_settings.GetInt("Color", -1), 0);
    EXPECT_TRUE(m_settings.SetInt("Font", -2));
    EXPECT_EQ(m_settings.GetInt("Font", 9), -2);
    for (const char* bad : {"type", "KanaSepa", "ColorL", "Type ", ""}) {
        EXPECT_FALSE(m_settings.SetInt(bad, 1)) << bad;
        EXPECT_EQ(m_settings.GetInt(bad, 77), 77) << bad;
    }

    EXPECT_TRUE(m_settings.SetIndexedInt("ColorLG", 3, 0x123456));
    EXPECT_EQ(m_settings.GetIndexedInt("ColorLG", 3, -1), 0x123456);
    EXPECT_EQ(m_settings.GetIndexedInt("ColorB", 0, -1), 65535);
    for (int i : {-1, 4, 1000}) {
        EXPECT_FALSE(m_settings.SetIndexedInt("ColorL", i, 1)) << i;
        EXPECT_EQ(m_settings.GetIndexedInt("ColorL", i, -7), -7) << i;
    }
    EXPECT_FALSE(m_settings.SetIndexedInt("Type", 0, 1));
    EXPECT_EQ(Describe(m_settings), "Font=-2 Color=0 ColorLG=255,255,255,1193046");
}

TEST_F(UserSettingsTest, ListsAndMaps) {
    CUserSettings& s = m_settings;
    EXPECT_EQ(s.GetIndexedInt("DynRoman", 40111, -1), -1);
    EXPECT_TRUE(s.SetIndexedInt("DynRoman", 40111, 40712));
    EXPECT_TRUE(s.SetIndexedInt("DynRoman", 40111, 40713));
    EXPECT_EQ(s.GetIndexedInt("DynRoman", 40111, -1), 40713);

    EXPECT_EQ(s.GetIndexedString("Roman", 12, "fb"), "fb");
    EXPECT_TRUE(s.SetIndexedString("Roman", 12, "SI"));
    EXPECT_EQ(s.GetIndexedString("Roman", 12, "fb"), "SI");

    // An index that is not a position appends; reading it gives the fallback.
    EXPECT_TRUE(s.SetIndexedString("No", 5, "a"));
    EXPECT_TRUE(s.SetIndexedString("No", -1, "b"));
    EXPECT_TRUE(s.SetIndexedString("No", 0, "c"));
    EXPECT_TRUE(s.SetIndexedString("File", 0, "f"));
    EXPECT_FALSE(s.SetIndexedString("Name", 0, "x"));
    EXPECT_EQ(s.GetIndexedString("No", 1, "fb"), "b");
    for (int i : {-1, 2, 5}) EXPECT_EQ(s.GetIndexedString("No", i, "fb"), "fb") << i;
    EXPECT_EQ(Describe(s), "No=[c|b] File=[f] Roman12=SI DynRoman40111=40713");

    s.ClearEntries("Roman");  // not a clearable key
    s.ClearEntries("count");
    EXPECT_EQ(Describe(s), "No=[c|b] File=[f] Roman12=SI DynRoman40111=40713");
    for (const char* key : {"No", "File", "DynRoman"}) s.ClearEntries(key);
    EXPECT_EQ(Describe(s), "Roman12=SI");
}

TEST_F(UserSettingsTest, MissingFileIsImportedFromTheProfileAndSaved) {
    m_profile.m_sections["Settings"] = {{"Type", "2"}, {"HomePos", "0"}, {"ColorB1", "7"},
                                        {"ColorLG0", "-1"}, {"Font", "1"}, {"User", "x"}};
    m_profile.m_sections["Original"] = {{"count", "2"}, {"No0", Sj("初級")}, {"File0", "/l/a.txt"},
                                        {"File1", "/l/b.txt"}};
    m_profile.m_sections["Roman"] = {{"12", "SI"}, {"0", "A"}};
    m_profile.m_sections["DynRoman"] = {{"40111", "40712"}};
    m_settings.m_strKanaSepa = "/";
    m_settings.LoadUser("u");
    EXPECT_EQ(Read("u.dat"),
              Crlf("Type=2\nHomePos=0\nHomeColor=0\nRomanMode=1\nFont=1\nColor=1\ncount=2\n") +
                  Sj("KanaSepa=｜\r\n") +
                  Crlf("ColorL0=0\nColorB0=65535\nColorLG0=-1\n"
                       "ColorL1=0\nColorB1=7\nColorLG1=255\n"
                       "ColorL2=0\nColorB2=12632256\nColorLG2=255\n"
                       "ColorL3=0\nColorB3=65280\nColorLG3=255\n") +
                  Sj("No0=初級\r\nNo1=\r\nFile0=/l/a.txt\r\nFile1=/l/b.txt\r\n") +
                  Crlf("Roman0=A\nRoman12=SI\nDynRoman40111=40712\n"));
}

TEST_F(UserSettingsTest, ImportTakesOnlyTheCustomLessonsTheProfileHolds) {
    // A damaged count must not fill memory with empty entries.
    struct Case { std::map<std::string, std::string> original; const char* loaded; };
    const Case cases[] = {
        {{{"count", "2000000000"}, {"No0", "a"}, {"File1", "b"}},
         "count=2000000000 KanaSepa=｜ No=[a|] File=[|b]"},
        {{{"count", "2147483647"}, {"No2147483646", "x"}}, "count=2147483647 KanaSepa=｜ No=[x] File=[]"},
        {{{"count", "3"}, {"No0", "a"}, {"File2", "c"}, {"No3", "d"}, {"No01", "e"}, {"No-1", "f"}},
         "count=3 KanaSepa=｜ No=[a|] File=[|c]"},
        {{{"count", "0"}, {"No0", "a"}}, "KanaSepa=｜"},
    };
    for (const auto& c : cases) {
        FakeProfile profile;
        profile.m_sections["Original"] = {c.original.begin(), c.original.end()};
        CUserSettings s(&profile);
        s.SetFolder(m_dir);
        s.LoadUser("u" + std::to_string(&c - cases));
        EXPECT_EQ(Describe(s), c.loaded);
    }
}

TEST_F(UserSettingsTest, SaveReplacesTheFileAndKeepsItsPermissions) {
    Write("u.dat", "Type=3\n");
    ::chmod((m_dir + "u.dat").c_str(), 0640);
    m_settings.LoadUser("u");
    m_settings.SetInt("Type", 1);
    ASSERT_TRUE(m_settings.SaveUser());
    EXPECT_EQ(Read("u.dat").substr(0, 8), "Type=1\r\n");
    EXPECT_EQ(fs::status(m_dir + "u.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), std::vector<std::string>{"u.dat"});
}

// Root ignores permissions, so each failure here is one that stops root as well.
TEST_F(UserSettingsTest, FailedSaveKeepsTheOldFileAndTellsTheUser) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dir, CUserSettings&)> arrange;
        const char* reason;  // expected in the message, may be empty
    };
    const Case cases[] = {
        {"dat is a folder",
         [](const std::string& dir, CUserSettings&) {
             fs::create_directory(dir + "u.dat");
             std::ofstream(dir + "u.dat/keep") << "x";
         },
         "同じ名前のフォルダがあります。"},
        {"folder is a file",
         [](const std::string& dir, CUserSettings& s) {
             std::ofstream(dir + "Setting") << "x";
             s.SetFolder(dir + "Setting/sub");
         },
         "設定を保存するフォルダの場所に、フォルダではなくファイルがあります。"},
        {"file size limit reached mid-write",
         [](const std::string& dir, CUserSettings&) {
             std::ofstream(dir + "u.dat") << "Type=3\r\n";
             const rlimit limit{10, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         },
         "ディスクの空き容量が足りません。"},
    };
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = m_dir + std::to_string(n++) + "/";
        fs::create_directory(dir);
        RecordingMessenger messages;
        CUserSettings s(nullptr, &messages);
        s.SetFolder(dir);
        s.m_strUser = "u";
        c.arrange(dir, s);
        auto entries = [&] {
            std::vector<std::string> names;
            for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path());
            std::sort(names.begin(), names.end());
            return names;
        };
        const auto before = entries();
        const std::string oldFile = fs::is_regular_file(dir + "u.dat") ? Read(dir.substr(m_dir.size()) + "u.dat") : "";

        EXPECT_FALSE(s.SaveUser());
        ::setrlimit(RLIMIT_FSIZE, &saved);

        EXPECT_EQ(entries(), before);  // no temporary file left
        EXPECT_EQ(fs::is_regular_file(dir + "u.dat") ? Read(dir.substr(m_dir.size()) + "u.dat") : "", oldFile);
        ASSERT_EQ(messages.m_shown.size(), 1u);
        const auto& shown = messages.m_shown[0];
        EXPECT_EQ(shown.icon, MsgIcon::Error);
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
        EXPECT_NE(shown.text.find("設定ファイルに書き込めませんでした。\r\n\r\n" + s.SettingsPath()),
                  std::string::npos)
            << shown.text;
        EXPECT_NE(shown.text.find(c.reason), std::string::npos) << shown.text;
    }
    ::signal(SIGXFSZ, SIG_DFL);
}

TEST_F(UserSettingsTest, AFolderThatIsAFileIsToldOnceAsSuchNotAtEverySave) {
    Write("Setting", "x");
    RecordingMessenger messages;
    CUserSettings s(nullptr, &messages);
    s.SetFolder(m_dir + "Setting");
    s.LoadUser("u");  // at start: the missing file is made from the defaults and saved
    s.SetInt("Type", 2);
    EXPECT_FALSE(s.SaveUser());
    EXPECT_FALSE(AppendHistory(s, "2026/12/10 13:43", "31", "120", "95", " ", &messages));
    ASSERT_EQ(messages.m_shown.size(), 1u);
    EXPECT_NE(messages.m_shown[0].text.find("フォルダではなくファイルがあります"), std::string::npos)
        << messages.m_shown[0].text;
    EXPECT_EQ(messages.m_shown[0].text.find("見つかりません"), std::string::npos);
    EXPECT_EQ(Read("Setting"), "x");
}

TEST_F(UserSettingsTest, ASettingsFileThatIsALinkKeepsTheLinkAndItsTargetIsReplacedWhole) {
    // Setting/u.dat -> ../dotfiles/link.dat -> kibiki/u.dat (relative links, a chain of two)
    fs::create_directories(m_dir + "Setting");
    fs::create_directories(m_dir + "dotfiles/kibiki");
    Write("dotfiles/kibiki/u.dat", "Type=3\r\n");
    ::chmod((m_dir + "dotfiles/kibiki/u.dat").c_str(), 0600);
    fs::create_symlink("kibiki/u.dat", m_dir + "dotfiles/link.dat");
    fs::create_symlink("../dotfiles/link.dat", m_dir + "Setting/u.dat");
    CUserSettings s(nullptr, &m_messages);
    s.SetFolder(m_dir + "Setting");
    s.LoadUser("u");
    EXPECT_EQ(s.m_nType, 3);
    s.SetInt("Type", 1);
    ASSERT_TRUE(s.SaveUser());
    EXPECT_TRUE(fs::is_symlink(m_dir + "Setting/u.dat"));
    EXPECT_TRUE(fs::is_symlink(m_dir + "dotfiles/link.dat"));
    EXPECT_EQ(Read("dotfiles/kibiki/u.dat"), s.FileText());
    EXPECT_EQ(Read("dotfiles/kibiki/u.dat").substr(0, 8), "Type=1\r\n");
    EXPECT_EQ(fs::status(m_dir + "dotfiles/kibiki/u.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // No temporary file left anywhere.
    std::size_t nFiles = 0;
    for (const auto& e : fs::recursive_directory_iterator(m_dir)) nFiles += !e.is_directory();
    EXPECT_EQ(nFiles, 3u);
    // A dangling link: the target is made, as an editor would.
    fs::remove(m_dir + "dotfiles/kibiki/u.dat");
    ASSERT_TRUE(s.SaveUser());
    EXPECT_TRUE(fs::is_symlink(m_dir + "Setting/u.dat"));
    EXPECT_EQ(Read("dotfiles/kibiki/u.dat"), s.FileText());
    EXPECT_TRUE(m_messages.m_shown.empty());
}

TEST_F(UserSettingsTest, UnreadableFileKeepsValuesAndTellsTheUser) {
    fs::create_directory(m_dir + "u.dat");
    m_settings.m_nType = 4;
    m_settings.LoadUser("u");
    EXPECT_EQ(m_settings.m_nType, 4);
    EXPECT_TRUE(fs::is_directory(m_dir + "u.dat"));  // not imported over
    ASSERT_EQ(m_messages.m_shown.size(), 1u);
    EXPECT_EQ(m_messages.m_shown[0].icon, MsgIcon::Warning);
    EXPECT_NE(m_messages.m_shown[0].text.find("設定ファイルを読み込めませんでした。\r\n\r\n" + m_dir + "u.dat"),
              std::string::npos)
        << m_messages.m_shown[0].text;
}

}  // namespace
}  // namespace kibiki

namespace kibiki {
namespace {

// Start-up saves the text size it has just read: an unchanged file must not be rewritten (each
// rewrite waits for the disk), while any change still is.
TEST(UserSettingsSave, UnchangedFileIsNotRewrittenButAChangeIs) {
    const test::TempFolder folder("kibiki_same");
    CUserSettings s;
    s.SetFolder(folder.Path());
    s.LoadUser("same");
    const std::string path = s.SettingsPath();
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    ASSERT_TRUE(s.SaveUser());
    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // an atomic save would have renamed a new file in

    s.SetInt("Font", 1);
    ASSERT_TRUE(s.SaveUser());
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    CUserSettings t;
    t.SetFolder(folder.Path());
    t.LoadUser("same");
    EXPECT_EQ(t.GetInt("Font", 0), 1);
}

// The save after a load does not read the file again; a file changed since (another program
// instance, an editor) must still be brought back to what the record holds.
TEST(UserSettingsSave, AFileChangedSinceTheLoadIsRewrittenEvenWhenTheRecordIsNot) {
    const struct {
        const char* name;
        std::function<void(const std::string& path, const std::string& text)> change;
    } kChanges[] = {
        {"written in place", [](const std::string& path, const std::string&) {
             std::ofstream(path, std::ios::binary | std::ios::trunc) << "Type=2\r\n";
         }},
        {"replaced by a file of the same size", [](const std::string& path, const std::string& text) {
             std::string other = text;
             other[5] = other[5] == '0' ? '1' : '0';  // Type=N
             std::ofstream(path + ".new", std::ios::binary) << other;
             fs::rename(path + ".new", path);
         }},
    };
    for (const auto& c : kChanges) {
        SCOPED_TRACE(c.name);
        const test::TempFolder folder("kibiki_changed");
        CUserSettings s;
        s.SetFolder(folder.Path());
        s.LoadUser("u");  // made from the defaults
        s.SetInt("Font", 1);
        ASSERT_TRUE(s.SaveUser());
        CUserSettings loaded;
        loaded.SetFolder(folder.Path());
        loaded.LoadUser("u");
        const std::string path = loaded.SettingsPath();
        c.change(path, loaded.FileText());
        ASSERT_NE(test::ReadFile(path), loaded.FileText());
        ASSERT_TRUE(loaded.SaveUser());
        EXPECT_EQ(test::ReadFile(path), loaded.FileText());
        // After its own write, too.
        c.change(path, loaded.FileText());
        ASSERT_TRUE(loaded.SaveUser());
        EXPECT_EQ(test::ReadFile(path), loaded.FileText());
    }
}

}  // namespace
}  // namespace kibiki
