// Users of a settings folder: listing and its order, new users' names, creating, deleting,
// the selection dialog's rules and the switch to another user.
#include "users/user_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lessons/view_commands.h"
#include "support/fakes.h"
#include "support/practice_harness.h"
#include "support/test_util.h"
#include "users/user_select.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;
using test::Sj;
using test::U8;

class UserFolderTest : public ::testing::Test {
protected:
    void Touch(const std::string& utf8Name) { std::ofstream(m_dir + utf8Name) << "Type=1\r\n"; }
    std::vector<std::string> Listed() {
        std::vector<std::string> out;
        for (const auto& name : ListUsers(m_dir)) out.push_back(U8(name));
        return out;
    }

    test::TempFolder m_folder{"kibiki_users"};
    const std::string m_dir = m_folder.Path() + "/";
    RecordingMessenger m_messenger;
};

TEST_F(UserFolderTest, ListsUsableDatFilesSortedWithoutRegardToCase) {
    for (const char* name : {"default.dat", "b.dat", "A.dat", "ab.dat", "山田.dat", "ユーザ１.dat",
                             "x.hst", "notes.txt", ".dat", ".default.dat.123.0.tmp", "a:b.dat"})
        Touch(name);
    fs::create_directories(m_dir + "folder.dat");
    std::ofstream(m_dir + "bad\xff.dat") << "";  // no CP932 name
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "ab", "b", "default", "ユーザ１", "山田"}));
    EXPECT_TRUE(ListUsers(m_dir + "missing/").empty());
}

TEST(UserNames, CompareFoldsSingleByteLettersOnly) {
    struct Case { const char* a; const char* b; int order; } cases[] = {
        {"abc", "ABD", -1}, {"ABD", "b", -1}, {"a", "ab", -1}, {"Taro", "taro", -1}, {"taro", "taro", 0},
        // ア and ャ differ only in a trail byte that reads as "A" and "a".
        {"ア", "ャ", -1}, {"ャ", "ア", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareUserNames(Sj(c.a), Sj(c.b)), c.order) << c.a << " " << c.b;
        EXPECT_EQ(CompareUserNames(Sj(c.b), Sj(c.a)), -c.order) << c.a << " " << c.b;
    }
    EXPECT_FALSE(EqualUserNamesNoCase(Sj("ア"), Sj("ャ")));
    EXPECT_TRUE(EqualUserNamesNoCase("TARO", "taro"));
}

TEST(UserNames, FindPrefersTheSameBytesThenIgnoresCase) {
    const std::vector<std::string> users = {"a", "ab", "Taro", "taro"};
    struct Case { const char* name; int index; } cases[] = {
        {"a", 0}, {"A", 0}, {"ab", 1}, {"AB", 1}, {"taro", 3}, {"TARO", 2}, {"b", -1}, {"", -1}};
    for (const auto& c : cases) EXPECT_EQ(FindUser(users, c.name), c.index) << c.name;

    std::vector<std::string> sorted = {"a", "c"};
    EXPECT_EQ(InsertUser(sorted, "B"), 1);
    EXPECT_EQ(InsertUser(sorted, "d"), 3);
    EXPECT_EQ(sorted, (std::vector<std::string>{"a", "B", "c", "d"}));
}

TEST_F(UserFolderTest, NewUserNamesAreCheckedAsTyped) {
    Touch("taro.dat");
    const std::string longest(224, 'x');
    std::string kana74, kana75;
    for (int i = 0; i < 74; ++i) kana74 += "あ";  // 222 bytes as a file name
    kana75 = kana74 + "あ";
    struct Case { std::string typed; NewUserCheck check; } cases[] = {
        {"", NewUserCheck::Empty},
        {"山田", NewUserCheck::Accepted}, {"ユーザ１", NewUserCheck::Accepted},
        {"かなだけ", NewUserCheck::Accepted}, {"Taro Yamada", NewUserCheck::Accepted},
        {"ソラ", NewUserCheck::Accepted}, {"a.b", NewUserCheck::Accepted},
        {"CONSOLE", NewUserCheck::Accepted}, {"ﾊﾝｶｸ", NewUserCheck::Accepted},
        {longest, NewUserCheck::Accepted}, {kana74, NewUserCheck::Accepted},
        {"taro", NewUserCheck::Exists}, {"TARO", NewUserCheck::Exists},
        {"   ", NewUserCheck::Unusable}, {" a", NewUserCheck::Unusable}, {"a ", NewUserCheck::Unusable},
        {".a", NewUserCheck::Unusable}, {"a.", NewUserCheck::Unusable}, {".", NewUserCheck::Unusable},
        {"..", NewUserCheck::Unusable}, {"a\tb", NewUserCheck::Unusable}, {"a\x7f", NewUserCheck::Unusable},
        {"a\\b", NewUserCheck::Unusable}, {"a/b", NewUserCheck::Unusable}, {"/x", NewUserCheck::Unusable},
        {"a:b", NewUserCheck::Unusable}, {"x*y", NewUserCheck::Unusable}, {"a?b", NewUserCheck::Unusable},
        {"a\"b", NewUserCheck::Unusable}, {"a<b", NewUserCheck::Unusable}, {"a>b", NewUserCheck::Unusable},
        {"a|b", NewUserCheck::Unusable}, {"CON", NewUserCheck::Unusable}, {"nul.txt", NewUserCheck::Unusable},
        {"com1", NewUserCheck::Unusable}, {"LPT9", NewUserCheck::Unusable},
        {longest + "x", NewUserCheck::Unusable}, {kana75, NewUserCheck::Unusable},
        {"😀", NewUserCheck::NotCp932}, {"♡ちゃん", NewUserCheck::NotCp932}, {"한국", NewUserCheck::NotCp932},
    };
    for (const auto& c : cases) {
        const NewUserName result = CheckNewUserName(m_dir, c.typed);
        EXPECT_EQ(result.check, c.check) << c.typed;
        if (c.check == NewUserCheck::Accepted) {
            EXPECT_EQ(U8(result.strName), c.typed);
        }
    }
    EXPECT_FALSE(fs::exists(m_dir + "x"));  // checking creates nothing
}

TEST_F(UserFolderTest, RefusedNamesSayWhyAndKeepTheDialogOpen) {
    Touch("taro.dat");
    struct Case { const char* typed; bool closes; const char* accepted; const char* text; MsgIcon icon; bool selectAll; };
    const Case cases[] = {
        {"花子", true, "花子", nullptr, MsgIcon::None, false},
        {"", true, "", nullptr, MsgIcon::None, false},
        {"taro", false, "", "taroは存在します。別のユーザ名を指定してください", MsgIcon::None, false},
        {"x*y", false, "",
         "ユーザ名に利用できない文字(\\ / : * ? < >  |)が使われている可能性があります。\r\n変更してください。",
         MsgIcon::Warning, true},
        {"😀", false, "", nullptr, MsgIcon::Warning, true},
    };
    for (const auto& c : cases) {
        m_messenger.m_shown.clear();
        std::string name = "left over";
        bool bSelectAll = !c.selectAll;
        EXPECT_EQ(AcceptNewUserName(m_dir, c.typed, m_messenger, name, &bSelectAll), c.closes) << c.typed;
        EXPECT_EQ(U8(name), c.accepted) << c.typed;
        EXPECT_EQ(bSelectAll, c.selectAll) << c.typed;
        ASSERT_EQ(m_messenger.m_shown.size(), c.closes ? 0u : 1u) << c.typed;
        if (c.closes) continue;
        if (c.text) {
            EXPECT_EQ(m_messenger.m_shown[0].text, c.text);
        }
        EXPECT_EQ(m_messenger.m_shown[0].caption, "");
        EXPECT_EQ(m_messenger.m_shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(m_messenger.m_shown[0].icon, c.icon);
    }
}

TEST_F(UserFolderTest, ANameStoredOtherwiseThanTypedIsShownAsStoredAndCreatedOnlyWhenAgreed) {
    struct Case { const char* typed; const char* stored; } cases[] = {
        {"波〜線", "波～線"},  // U+301C, what input methods type, is stored as U+FF5E
        {"a—b", "a―b"},
        {"x‾", "x~"},
    };
    for (const auto& c : cases) {
        for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
            m_messenger.m_shown.clear();
            m_messenger.m_answer = answer;
            std::string name = "left over";
            bool bSelectAll = true;
            EXPECT_EQ(AcceptNewUserName(m_dir, c.typed, m_messenger, name, &bSelectAll), answer == MsgResult::Yes)
                << c.typed;
            ASSERT_EQ(m_messenger.m_shown.size(), 1u) << c.typed;
            EXPECT_EQ(m_messenger.m_shown[0].text, std::string("ユーザ名は「") + c.stored + "」として作成します。よろしいですか？");
            EXPECT_EQ(m_messenger.m_shown[0].buttons, MsgButtons::YesNo);
            EXPECT_EQ(U8(name), answer == MsgResult::Yes ? c.stored : "") << c.typed;
            EXPECT_FALSE(bSelectAll);
        }
    }
    // A name that reads back as typed is not asked about.
    m_messenger.m_shown.clear();
    std::string name;
    EXPECT_TRUE(AcceptNewUserName(m_dir, "～", m_messenger, name, nullptr));
    EXPECT_TRUE(m_messenger.m_shown.empty());
}

TEST_F(UserFolderTest, SelectionOpensWithTheCurrentUserChosenIgnoringCase) {
    Touch("a.dat");
    Touch("ab.dat");
    Touch("B.dat");
    struct Case { const char* current; const char* chosen; } cases[] = {
        {"a", "a"}, {"ab", "ab"}, {"b", "B"}, {"gone", ""}};
    for (const auto& c : cases) {
        CUserSelectModel model(m_dir, c.current, m_messenger);
        EXPECT_EQ(model.m_aUsers, (std::vector<std::string>{"a", "ab", "B"}));
        EXPECT_EQ(model.ChosenUser(), c.chosen) << c.current;
    }
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    CUserSelectModel empty(m_dir, "default", m_messenger);
    EXPECT_TRUE(empty.m_aUsers.empty());
    EXPECT_EQ(empty.ChosenUser(), "");
    EXPECT_FALSE(empty.DeleteSelected());
}

TEST_F(UserFolderTest, NewUserIsWrittenListedAndChosen) {
    Touch("default.dat");
    CUserSelectModel model(m_dir, "default", m_messenger);
    ASSERT_TRUE(model.AddUser(Sj("花子")));
    ASSERT_TRUE(model.AddUser("Bob"));
    EXPECT_EQ(model.m_aUsers, (std::vector<std::string>{"Bob", "default", Sj("花子")}));
    EXPECT_EQ(model.ChosenUser(), "Bob");
    // The 19 lines of a new user, without KanaSepa.
    EXPECT_EQ(test::ReadFile(m_dir + "花子.dat"), CUserSettings::NewUserFileText());
    EXPECT_EQ(test::ReadFile(m_dir + "花子.dat").find("KanaSepa"), std::string::npos);
    EXPECT_TRUE(m_messenger.m_shown.empty());

    // A file that cannot be written is reported and the user is not listed.
    fs::create_directories(m_dir + "stuck.dat/inside");
    EXPECT_FALSE(model.AddUser("stuck"));
    ASSERT_EQ(m_messenger.m_shown.size(), 1u);
    EXPECT_NE(m_messenger.m_shown[0].text.find("書き込めませんでした"), std::string::npos);
    EXPECT_EQ(model.m_aUsers.size(), 3u);
    EXPECT_EQ(model.ChosenUser(), "Bob");
}

TEST_F(UserFolderTest, DeleteAsksFirstRemovesTheSettingsOnlyAndChoosesTheFirst) {
    for (const char* name : {"a.dat", "b.dat", "default.dat", "b.hst"}) Touch(name);
    CUserSelectModel model(m_dir, "b", m_messenger);

    m_messenger.m_answer = MsgResult::No;
    EXPECT_FALSE(model.DeleteSelected());
    EXPECT_TRUE(fs::exists(m_dir + "b.dat"));
    ASSERT_EQ(m_messenger.m_shown.size(), 1u);
    EXPECT_EQ(m_messenger.m_shown[0].text, "ユーザ”b”の情報を削除してもよろしいですか？");
    EXPECT_EQ(m_messenger.m_shown[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(m_messenger.m_shown[0].icon, MsgIcon::Warning);

    m_messenger.m_answer = MsgResult::Yes;
    EXPECT_TRUE(model.DeleteSelected());
    EXPECT_FALSE(fs::exists(m_dir + "b.dat"));
    EXPECT_TRUE(fs::exists(m_dir + "b.hst"));
    EXPECT_EQ(model.m_aUsers, (std::vector<std::string>{"a", "default"}));
    EXPECT_EQ(model.ChosenUser(), "a");

    // A file someone else removed meanwhile is no failure.
    fs::remove(m_dir + "a.dat");
    EXPECT_TRUE(model.DeleteSelected());
    EXPECT_EQ(model.m_aUsers, (std::vector<std::string>{"default"}));

    // The last user stays, and nothing is asked.
    m_messenger.m_shown.clear();
    EXPECT_FALSE(model.DeleteSelected());
    EXPECT_TRUE(fs::exists(m_dir + "default.dat"));
    EXPECT_TRUE(m_messenger.m_shown.empty());
}

TEST_F(UserFolderTest, DeleteThatFailsIsReportedAndKeepsTheUser) {
    fs::create_directories(m_dir + "c.dat/inside");
    EXPECT_FALSE(DeleteUser(m_dir, "c", m_messenger));
    ASSERT_EQ(m_messenger.m_shown.size(), 1u);
    EXPECT_EQ(m_messenger.m_shown[0].text.rfind("ユーザ”c”の情報を削除できませんでした。", 0), 0u);
    EXPECT_TRUE(fs::exists(m_dir + "c.dat"));
}

// --- the switch ---

TEST(UserSwitch, LoadsAndAppliesTheChosenUsersSettingsAndRemembersThem) {
    test::PracticeHarness h;
    std::string text = CUserSettings::NewUserFileText();
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"Type=0", "Type=0"}, {"HomePos=1", "HomePos=0"}, {"RomanMode=1", "RomanMode=0"},
             {"Font=3", "Font=1"}, {"Color=1", "Color=0"}, {"ColorL2=0", "ColorL2=17"},
             {"ColorLG2=255", "ColorLG2=34"}})
        text.replace(text.find(from), from.size(), to);
    std::ofstream(h.m_dir + "/Setting/hanako.dat", std::ios::binary) << text;
    SetPracticeMode(h.m_view, h.m_doc, PracticeMode::RomajiInput);  // the current user practises romaji
    ASSERT_EQ(h.Shown(IDC_KEY_FIRST), "1 !");

    ASSERT_TRUE(SwitchUser(h.m_view, h.m_doc, h.m_profile, "hanako"));
    EXPECT_EQ(h.m_profile.GetProfileString("Settings", "User", ""), "hanako");
    EXPECT_EQ(h.m_doc.Settings().m_strUser, "hanako");
    EXPECT_EQ(h.m_view.ShownMode(), PracticeMode::KanaInput);
    EXPECT_EQ(h.Shown(IDC_KEY_FIRST), "ぬ");
    EXPECT_EQ(h.m_view.Font(), 1);
    EXPECT_FALSE(h.m_doc.RomanMode());
    EXPECT_FALSE(h.m_view.ColorKeys());
    EXPECT_EQ(h.m_view.LegendColors()[2], 17u);
    EXPECT_EQ(h.m_view.LitLegendColors()[2], 34u);
    ASSERT_EQ(h.m_form.m_markers.size(), 8u);
    for (const auto& [id, marker] : h.m_form.m_markers) EXPECT_FALSE(marker.bVisible) << id;
    // Font is saved as at start-up; the missing KanaSepa takes the previous user's.
    EXPECT_NE(test::ReadFile(h.m_dir + "/Setting/hanako.dat").find("Font=1\r\nColor=0\r\ncount=0\r\nKanaSepa=" + Sj("｜")),
              std::string::npos);

    // The next start opens the same user.
    test::PracticeHarness next;
    next.m_profile = h.m_profile;
    next.m_doc.Settings().SetFolder(h.m_dir + "/Setting/");
    InitialUpdate(next.m_view, next.m_doc, next.m_profile);
    EXPECT_EQ(next.m_doc.Settings().m_strUser, "hanako");
}

TEST(UserSwitch, NoUsableNameChangesNothing) {
    test::PracticeHarness h;
    for (const char* name : {"", "../x", "a/b"}) {
        EXPECT_FALSE(SwitchUser(h.m_view, h.m_doc, h.m_profile, name)) << name;
        EXPECT_EQ(h.m_doc.Settings().m_strUser, "test");
        EXPECT_EQ(h.m_profile.GetProfileString("Settings", "User", "none"), "none");
    }
}

TEST(UserSwitch, StartUpWithAStoredNameTooLongForAFileOpensDefaultQuietly) {
    test::PracticeHarness h;
    h.m_form.m_log.clear();
    h.m_profile.WriteProfileString("Settings", "User", std::string(10000, 'n'));
    InitialUpdate(h.m_view, h.m_doc, h.m_profile);
    EXPECT_EQ(h.m_doc.Settings().m_strUser, "default");
    EXPECT_TRUE(fs::exists(h.m_dir + "/Setting/default.dat"));
    for (const auto& line : h.m_form.m_log) EXPECT_EQ(line.rfind("message", 0), std::string::npos) << line;
}

}  // namespace
}  // namespace kibiki
