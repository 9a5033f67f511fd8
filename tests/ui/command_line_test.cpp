#include "ui/app/command_line.h"

#include <QLabel>
#include <gtest/gtest.h>

#include "ui/app/about_dlg.h"

#include <vector>

namespace kibiki::ui {
namespace {

QStringList Args(std::initializer_list<const char*> list) {
    QStringList args{QStringLiteral("kibiki")};
    for (const char* p : list) args << QString::fromUtf8(p);
    return args;
}

TEST(CommandLine, HelpAndVersionAnswerInTheUsersLanguage) {
    const auto en = ParseCommandLine(Args({"--help"}), false);
    ASSERT_TRUE(en);
    EXPECT_EQ(en->nExitCode, 0);
    EXPECT_TRUE(en->strOut.contains(u"Touch-typing trainer")) << en->strOut.toStdString();
    EXPECT_TRUE(en->strOut.contains(u"--version"));
    EXPECT_TRUE(en->strErr.isEmpty());
    // The usage line names the program, never the path it was started by.
    EXPECT_TRUE(en->strOut.section(u'\n', 0, 0).contains(u": kibiki [")) << en->strOut.toStdString();

    const auto ja = ParseCommandLine(Args({"-h"}), true);
    ASSERT_TRUE(ja);
    EXPECT_TRUE(ja->strOut.contains(u"タッチタイピング練習")) << ja->strOut.toStdString();
    EXPECT_TRUE(ja->strOut.contains(u"バージョンを表示"));
    EXPECT_TRUE(ja->strOut.section(u'\n', 0, 0).contains(u": kibiki [")) << ja->strOut.toStdString();

    // Help wins over what else is given, an unknown option included.
    for (const QStringList& args : {Args({"--bogus", "--help"}), Args({"-v", "-h"})}) {
        const auto reply = ParseCommandLine(args, false);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->nExitCode, 0);
        EXPECT_TRUE(reply->strOut.contains(u"Show this help")) << args.join(u' ').toStdString();
    }

    const auto version = ParseCommandLine(Args({"--version"}), true);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->nExitCode, 0);
    EXPECT_TRUE(version->strOut.startsWith(u"Kibiki 0.")) << version->strOut.toStdString();
    EXPECT_TRUE(version->strOut.startsWith(VersionLine() + u'\n'));
    EXPECT_TRUE(version->strOut.contains(u"License GPL-3.0-or-later")) << version->strOut.toStdString();
}

TEST(CommandLine, AboutBoxShowsTheVersionTheCommandLineGives) {
    const QString version = VersionNumber();
    EXPECT_FALSE(version.isEmpty());
    EXPECT_EQ(VersionLine(), "Kibiki " + version);
    CAboutDlg dlg;
    auto* label = dlg.findChild<QLabel*>("version");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "バージョン " + version.section(u'+', 0, 0));
    EXPECT_EQ(label->toolTip(), version);
    EXPECT_GE(label->width(), label->sizeHint().width());
    auto* license = dlg.findChild<QLabel*>("license");
    ASSERT_NE(license, nullptr);
    EXPECT_EQ(license->text(), "ライセンス GPL-3.0-or-later");
    EXPECT_GE(license->width(), license->sizeHint().width());
}

TEST(CommandLine, NoOptionsStartsTheTrainerAndBadOnesAreRefused) {
    EXPECT_FALSE(ParseCommandLine(Args({}), false));

    struct Case { QStringList args; const char16_t* mention; };
    const std::vector<Case> cases = {
        {Args({"--bogus"}), u"bogus"},
        {Args({"-x"}), u"x"},
        {Args({"lesson.txt"}), u"lesson.txt"},
    };
    for (const auto& c : cases) {
        const auto reply = ParseCommandLine(c.args, false);
        ASSERT_TRUE(reply) << c.args.join(u' ').toStdString();
        EXPECT_EQ(reply->nExitCode, 1);
        EXPECT_TRUE(reply->strOut.isEmpty());
        EXPECT_TRUE(reply->strErr.contains(QStringView(c.mention)));
        EXPECT_TRUE(reply->strErr.contains(u"kibiki --help")) << reply->strErr.toStdString();
    }
}

TEST(CommandLine, OnlyHelpAndVersionSkipTheWindowSystem) {
    struct Case { std::vector<const char*> argv; bool textOnly; };
    const Case cases[] = {
        {{"kibiki"}, false},
        {{"kibiki", "-platform", "wayland"}, false},
        {{"kibiki", "--helpful"}, false},
        {{"kibiki", "-h"}, true},
        {{"kibiki", "-platform", "wayland", "--help"}, true},
        {{"kibiki", "-v"}, true},
        {{"kibiki", "--version"}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsksForTextOnly(static_cast<int>(c.argv.size()), c.argv.data()), c.textOnly) << c.argv.back();
}

TEST(CommandLine, JapaneseWhenTheMessageLocaleIsJapanese) {
    struct Case { const char* language; const char* all; const char* messages; const char* lang; bool japanese; };
    const Case cases[] = {
        {"", "", "", "ja_JP.UTF-8", true},
        {"", "", "", "en_US.UTF-8", false},
        {"", "", "", "", false},
        {"", "", "ja_JP.UTF-8", "en_US.UTF-8", true},
        {"", "en_US.UTF-8", "", "ja_JP.UTF-8", false},
        {"ja:en", "", "", "en_US.UTF-8", true},
        {"en", "", "", "ja_JP.UTF-8", false},
        {"ja", "C.UTF-8", "", "", false},  // LANGUAGE counts only with a real locale
        {"ja", "", "", "C", false},
    };
    const char* const names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<QByteArray> saved;
    for (const char* name : names) saved.push_back(qgetenv(name));
    for (const auto& c : cases) {
        const char* const values[] = {c.language, c.all, c.messages, c.lang};
        for (int i = 0; i < 4; ++i) qputenv(names[i], values[i]);
        EXPECT_EQ(PrefersJapanese(), c.japanese)
            << c.language << " / " << c.all << " / " << c.messages << " / " << c.lang;
    }
    for (int i = 0; i < 4; ++i) qputenv(names[i], saved[i]);
}

}  // namespace
}  // namespace kibiki::ui
