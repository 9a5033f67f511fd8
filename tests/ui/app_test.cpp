// The whole window on a real document and view: start-up, menu states, commands and dialogs.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "ui/app/application.h"
#include "ui/app/color_edit.h"
#include "ui/app/color_static.h"
#include "ui/app/kibiki_app.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "ui/app/qt_profile.h"
#include "ui/guide/color_dlg.h"
#include "ui/guide/guide_static.h"
#include "ui/kana/roman_setting_dlg.h"
#include "ui/lessons/custom_lesson_dlg.h"
#include "lessons/kibiki_view.h"
#include "text/cp932.h"
#include "ui_test_util.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

class AppTest : public ::testing::Test {
protected:
    AppTest() : profile(dir.filePath("Kibiki.conf")) {
        qputenv("KIBIKI_SETTING_DIR", dir.filePath("Setting").toUtf8());
        app.m_fnOpenUrl = [this](const QUrl& url) { opened << url; return true; };
        app.InitInstance();
        QApplication::setActiveWindow(&app.Frame());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&app.Frame()));
    }
    ~AppTest() override { qunsetenv("KIBIKI_SETTING_DIR"); }

    bool Enabled(int nCommand) { return app.Frame().Action(nCommand)->isEnabled(); }
    bool MenuEnabled(int nPos) { return app.Frame().TopMenu(nPos)->menuAction()->isEnabled(); }
    void StartLesson(int nIndex) {
        OnNextModal([nIndex](QWidget* p) {
            p->findChild<QRadioButton*>(QStringLiteral("lesson_%1").arg(nIndex + 1))->setChecked(true);
            p->findChild<QPushButton*>("start")->click();
        });
        QTest::keyClick(app.Form().focusWidget() ? app.Form().focusWidget() : &app.Form(), Qt::Key_N,
                        Qt::ControlModifier);
    }
    QString Text(int nId) { return QString::fromStdString(Cp932ToUtf8(app.Form().GetControlText(nId))); }

    QTemporaryDir dir;
    QtProfile profile;
    CKibikiApp app{profile};
    QList<QUrl> opened;
};

TEST_F(AppTest, StartsIdleWithTheDefaultUsersSettingsApplied) {
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Setting/default.dat")));
    EXPECT_TRUE(Enabled(ID_FILE_NEW));
    EXPECT_FALSE(Enabled(ID_LESSON_END));
    EXPECT_TRUE(MenuEnabled(MENU_USER));
    EXPECT_TRUE(MenuEnabled(MENU_SETTINGS));
    EXPECT_EQ(app.Form().KeyCap(0)->text(), "ぬ");  // a new user practises kana input
    EXPECT_TRUE(app.Frame().Action(ID_MODE_KANA)->isChecked());
    EXPECT_TRUE(app.Frame().Action(ID_FONT_SMALL)->isChecked());
    for (int i = 0; i < kMarkerCount; ++i) EXPECT_TRUE(app.Form().Marker(i)->isVisible()) << i;
    EXPECT_TRUE(app.Form().Static(IDC_TITLE)->text().isEmpty());
}

TEST_F(AppTest, RunningGreysUserAndSettingsMenusAndSwapsTheLessonCommands) {
    StartLesson(1);
    EXPECT_TRUE(app.View().IsRunning());
    EXPECT_EQ(Text(IDC_TITLE), "Lesson2　人差し指の練習");
    EXPECT_FALSE(Text(IDC_QUESTION).isEmpty());
    EXPECT_FALSE(Enabled(ID_FILE_NEW));
    EXPECT_TRUE(Enabled(ID_LESSON_END));
    EXPECT_FALSE(MenuEnabled(MENU_USER));
    EXPECT_FALSE(MenuEnabled(MENU_SETTINGS));
    EXPECT_TRUE(MenuEnabled(MENU_HELP));

    // Ending early asks first; No keeps the run as it was.
    OnNextModal([](QWidget* p) {
        auto* box = qobject_cast<QMessageBox*>(p);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "レッスンを終了してよろしいですか。");
        EXPECT_EQ(box->windowTitle(), "レッスンの終了");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        // Qt's own buttons read in Japanese whatever the locale
        EXPECT_TRUE(box->button(QMessageBox::Yes)->text().startsWith("はい")) << box->button(QMessageBox::Yes)->text().toStdString();
        EXPECT_TRUE(box->button(QMessageBox::No)->text().startsWith("いいえ"));
        box->button(QMessageBox::No)->click();
    });
    app.Frame().Action(ID_LESSON_END)->trigger();
    EXPECT_TRUE(app.View().IsRunning());

    AnswerNextMessageBox(QMessageBox::Yes);
    app.Frame().Action(ID_LESSON_END)->trigger();
    EXPECT_FALSE(app.View().IsRunning());
    EXPECT_TRUE(Enabled(ID_FILE_NEW));
    EXPECT_FALSE(Enabled(ID_LESSON_END));
    EXPECT_TRUE(MenuEnabled(MENU_SETTINGS));
    EXPECT_TRUE(Text(IDC_QUESTION).isEmpty());
}

TEST_F(AppTest, CancellingTheLessonSelectionChangesNothing) {
    OnNextModal([](QWidget* p) {
        EXPECT_EQ(p->windowTitle(), "レッスンの選択");
        EXPECT_TRUE(p->findChild<QRadioButton*>("lesson_1")->isChecked());
        EXPECT_EQ(p->findChild<QRadioButton*>("lesson_1")->text(), "Lesson1　ホームポジションの練習");
        p->findChild<QPushButton*>("cancel")->click();
    });
    app.Frame().Action(ID_FILE_NEW)->trigger();
    EXPECT_FALSE(app.View().IsRunning());
    EXPECT_TRUE(Enabled(ID_FILE_NEW));
}

TEST_F(AppTest, TypedKanaGoToTheJudgeThroughTheKanaLock) {
    StartLesson(0);
    ASSERT_TRUE(app.Keys().KanaLock());  // forced on for kana input
    const std::string question = app.Doc().Run().Question();
    // Type a wrong key: the miss shows and the cap sinks.
    const unsigned char expected = app.Doc().NextExpectedKey();
    const int wrongKey = expected == Utf8ToCp932("ﾁ")[0] ? Qt::Key_S : Qt::Key_A;
    QTest::keyClick(&app.Form(), static_cast<Qt::Key>(wrongKey));
    EXPECT_EQ(Text(IDC_MISS_COUNT), "1");
    const int cap = wrongKey == Qt::Key_A ? 2 : 6;
    EXPECT_TRUE(app.Form().KeyCap(cap)->IsSunken());
    EXPECT_TRUE(Text(IDC_ANSWER).isEmpty());
}

TEST_F(AppTest, AfterTheMenuBarAndEscTheNextKeyIsJudged) {
    StartLesson(0);
    app.Frame().activateWindow();  // the lesson dialog is gone: the frame is the active window again
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app.Frame()));
    EXPECT_EQ(QApplication::focusWidget(), &app.Form());  // starting gives the practice area the keys
    // Keys go through the window as the system delivers them: to whatever holds the focus.
    QWindow* window = app.Frame().windowHandle();
    QTest::keyClick(window, Qt::Key_L, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000));
    EXPECT_EQ(QApplication::activePopupWidget(), app.Frame().TopMenu(MENU_LESSON));
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    const unsigned char expected = app.Doc().NextExpectedKey();
    const int wrongKey = expected == Utf8ToCp932("ﾁ")[0] ? Qt::Key_S : Qt::Key_A;
    QTest::keyClick(window, static_cast<Qt::Key>(wrongKey));
    EXPECT_EQ(Text(IDC_MISS_COUNT), "1");
}

TEST_F(AppTest, ModeAndFontCommandsSaveAndShowAtOnce) {
    app.Frame().Action(ID_MODE_HIRAGANA_ROMAN)->trigger();
    EXPECT_EQ(app.Form().KeyCap(0)->text(), "1 !");
    EXPECT_TRUE(app.Frame().Action(ID_MODE_HIRAGANA_ROMAN)->isChecked());
    EXPECT_FALSE(app.Frame().Action(ID_MODE_KANA)->isChecked());

    CColorEdit* pQuestion = app.Form().Edit(IDC_QUESTION);
    const int small = QFontMetrics(pQuestion->font()).height();
    app.Frame().Action(ID_FONT_MEDIUM)->trigger();
    const int medium = QFontMetrics(pQuestion->font()).height();
    EXPECT_GT(medium, small);
    EXPECT_LE(medium, pQuestion->FormatHeight() / 2);
    EXPECT_EQ(QFontMetrics(app.Form().Edit(IDC_ANSWER)->font()).height(), medium);
    EXPECT_TRUE(app.Frame().Action(ID_FONT_MEDIUM)->isChecked());
    EXPECT_FALSE(app.Frame().Action(ID_FONT_SMALL)->isChecked());

    QFile file(dir.filePath("Setting/default.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("Type=2\r\n"));
    EXPECT_TRUE(text.contains("\r\nFont=2\r\n"));
}

TEST_F(AppTest, RomajiSettingsAreOfferedWhileIdleAndOkStoresTheSwitchAndSpellings) {
    EXPECT_TRUE(Enabled(ID_ROMAN_SETTINGS));
    ASSERT_TRUE(app.Doc().RomanMode());  // a new user's default
    OnNextModal([](QWidget* p) {
        auto* dlg = qobject_cast<CRomanSettingDlg*>(p);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->FixRoman()->isChecked());
        dlg->List()->setCurrentItem(dlg->List()->topLevelItem(11));
        OnNextModal([](QWidget* edit) {
            edit->findChild<QLineEdit*>("roman")->setText("shi");
            edit->findChild<QPushButton*>("ok")->click();
        });
        dlg->ChangeButton()->click();
        dlg->findChild<QPushButton*>("ok")->click();
    });
    app.Frame().Action(ID_ROMAN_SETTINGS)->trigger();
    EXPECT_EQ(app.Doc().Settings().GetIndexedString("Roman", 11, ""), "SHI");

    // The switch turned off reaches the document and the file; "キャンセル" keeps it off.
    for (const char* button : {"ok", "cancel"}) {
        OnNextModal([button](QWidget* p) {
            auto* dlg = qobject_cast<CRomanSettingDlg*>(p);
            ASSERT_NE(dlg, nullptr);
            dlg->FixRoman()->setChecked(!dlg->FixRoman()->isChecked());
            dlg->findChild<QPushButton*>(button)->click();
        });
        app.Frame().Action(ID_ROMAN_SETTINGS)->trigger();
        EXPECT_FALSE(app.Doc().RomanMode()) << button;
    }
    QFile file(dir.filePath("Setting/default.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\r\nRomanMode=0\r\n"));
    EXPECT_TRUE(text.endsWith("\r\nRoman11=SHI\r\n"));

    OnNextModal([](QWidget* p) { p->findChild<QPushButton*>("start")->click(); });
    app.Frame().Action(ID_FILE_NEW)->trigger();
    ASSERT_TRUE(app.View().IsRunning());
    EXPECT_FALSE(MenuEnabled(MENU_SETTINGS));
}

TEST_F(AppTest, SettingsDialogsAreOfferedWhileIdleAndOkAppliesTheirChoice) {
    EXPECT_TRUE(Enabled(ID_COLOR_SETTINGS));
    EXPECT_TRUE(Enabled(ID_CUSTOM_LESSONS));

    // Colours: the easy-to-see preset is on the keyboard at once and in the file.
    OnNextModal([](QWidget* p) {
        ASSERT_NE(qobject_cast<CColorDlg*>(p), nullptr);
        p->findChild<QPushButton*>("clear_colors")->click();
        p->findChild<QPushButton*>("ok")->click();
    });
    app.Frame().Action(ID_COLOR_SETTINGS)->trigger();
    EXPECT_EQ(app.Form().KeyCap(0)->BackColor(), kClearColors.colorB[0]);
    EXPECT_EQ(app.Form().KeyCap(0)->TextColor(), kClearColors.colorL[0]);
    QFile file(dir.filePath("Setting/default.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\r\nColorLG0=" + QByteArray::number(kClearColors.colorLG[0]) + "\r\n"));
    file.close();

    // Registered lessons: a file added and kept; "キャンセル" in the colour dialog keeps all.
    QFile lesson(dir.filePath("words.txt"));
    ASSERT_TRUE(lesson.open(QIODevice::WriteOnly));
    lesson.write("#KANA\nことば\nかさ\n");
    lesson.close();
    OnNextModal([&](QWidget* p) {
        auto* dlg = qobject_cast<CCustomLessonDlg*>(p);
        ASSERT_NE(dlg, nullptr);
        dlg->m_fnChooseFile = [&](QWidget*, const QString&) { return lesson.fileName(); };
        dlg->Button(1069)->click();
        dlg->findChild<QPushButton*>("ok")->click();
    });
    app.Frame().Action(ID_CUSTOM_LESSONS)->trigger();
    EXPECT_EQ(app.Doc().Settings().GetInt("count", 0), 1);
    OnNextModal([](QWidget* p) {
        p->findChild<QPushButton*>("standard_colors")->click();
        p->findChild<QPushButton*>("cancel")->click();
    });
    app.Frame().Action(ID_COLOR_SETTINGS)->trigger();
    EXPECT_EQ(app.Form().KeyCap(0)->BackColor(), kClearColors.colorB[0]);
}

TEST_F(AppTest, HelpOpensThePageOrSaysItCannot) {
    const QString page = QStringLiteral(KIBIKI_SOURCE_DIR "/resources/help/index.html");
    app.m_aHelpCandidates = {dir.filePath("missing/index.html"), page};
    app.Frame().Action(ID_HELP_CONTENTS)->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl::fromLocalFile(QFileInfo(page).canonicalFilePath()));

    // No page, or no browser to show it: the same message.
    app.m_fnOpenUrl = [](const QUrl&) { return false; };
    auto shown = AnswerNextMessageBox(QMessageBox::Ok);
    app.Frame().Action(ID_HELP_CONTENTS)->trigger();
    EXPECT_EQ(shown->CaptionAndText(), "Kibiki|ヘルプの起動に失敗しました。");
    EXPECT_EQ(shown->icon, QMessageBox::Warning);
    app.m_aHelpCandidates = {dir.filePath("missing/index.html")};
    shown = AnswerNextMessageBox(QMessageBox::Ok);
    app.Frame().Action(ID_HELP_CONTENTS)->trigger();
    EXPECT_EQ(shown->text, "ヘルプの起動に失敗しました。");
}

}  // namespace

// The icon comes after the first frame, but it comes: the window and the About box show it.
TEST(Application, WindowIconIsSetOnceTheEventLoopRuns) {
    QApplication::setWindowIcon(QIcon());
    SetWindowIconSoon(*qApp);
    EXPECT_TRUE(QApplication::windowIcon().isNull());
    QCoreApplication::processEvents();
    const QImage shown = QApplication::windowIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown, QIcon(QStringLiteral(":/kibiki/kibiki.png")).pixmap(32, 32).toImage());
}

// The boxes' text size is set after the window shows: by the time a lesson can start, both boxes
// show the user's number of lines.
TEST_F(AppTest, BoxesHaveTheUsersTextSizeOnceTheWindowIsUp) {
    const QFont question = app.Form().Edit(IDC_QUESTION)->font();
    const QFont answer = app.Form().Edit(IDC_ANSWER)->font();
    EXPECT_NE(question, app.Form().font());  // sized for the boxes, not the form's
    app.Form().ApplyTextSize(app.View().PageLines());
    EXPECT_EQ(app.Form().Edit(IDC_QUESTION)->font(), question);
    EXPECT_EQ(app.Form().Edit(IDC_ANSWER)->font(), answer);
    StartLesson(0);
    EXPECT_EQ(app.Form().Edit(IDC_QUESTION)->font(), app.Form().Edit(IDC_ANSWER)->font());
    EXPECT_EQ(app.Form().Edit(IDC_QUESTION)->FirstVisibleLine(), 0);
}

namespace {

// The widgets that paint while the events posted so far are handled.
std::vector<QString> PaintedDuring(const std::function<void()>& fn) {
    struct Log : QObject {
        std::vector<QString> names;
        bool eventFilter(QObject* p, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                const bool bViewport = p->objectName() == QLatin1String("qt_scrollarea_viewport") && p->parent();
                names.push_back(bViewport ? p->parent()->objectName() + "/viewport" : p->objectName());
            }
            return false;
        }
    } log;
    QTest::qWait(30);
    qApp->installEventFilter(&log);
    fn();
    QTest::qWait(30);
    qApp->removeEventFilter(&log);
    std::sort(log.names.begin(), log.names.end());
    return log.names;
}

}  // namespace

// A key repaints what it changed and nothing else: each control once, of the caps only the key
// done, the key due and the one a wrong key sank (or the one it sinks), and for a wrong key, whose controls all
// fill themselves, never the frame and form under them.
TEST_F(AppTest, AKeyRepaintsOnlyWhatItChanged) {
    StartLesson(0);
    const auto typeDue = [this] { app.Form().m_fnTypedChar(static_cast<char>(app.Doc().NextExpectedKey())); };
    typeDue();  // the clock starts
    const QString answer = app.Form().Edit(IDC_ANSWER)->objectName() + "/viewport";
    auto check = [&](const std::vector<QString>& painted, bool bRight) {
        std::string all;
        for (const QString& s : painted) all += s.toStdString() + " ";
        EXPECT_EQ(std::set<QString>(painted.begin(), painted.end()).size(), painted.size()) << all;
        EXPECT_LE(std::count_if(painted.begin(), painted.end(), [](const QString& s) { return s.startsWith("cap_"); }), 3)
            << all;
        EXPECT_EQ(std::count(painted.begin(), painted.end(), answer), bRight ? 1 : 0) << all;
        if (!bRight)
            for (const QObject* p : {static_cast<QObject*>(&app.Frame()), static_cast<QObject*>(&app.Form())})
                EXPECT_EQ(std::count(painted.begin(), painted.end(), p->objectName()), 0) << all;
    };
    for (int i = 0; i < 3; ++i) {
        check(PaintedDuring(typeDue), true);
        const char due = static_cast<char>(app.Doc().NextExpectedKey());
        const char wrong = due == Utf8ToCp932("ﾁ")[0] ? Utf8ToCp932("ﾄ")[0] : Utf8ToCp932("ﾁ")[0];
        check(PaintedDuring([&] { app.Form().m_fnTypedChar(wrong); }), false);
    }
}
