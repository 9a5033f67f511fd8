// Without a mouse: every menu command reached from the keyboard, each dialog's Tab order
// following its layout with a visible focus mark, the progress window's chart and calendar
// walked with the arrows, and the practice window's controls named for a screen reader.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "lessons/practice_form.h"
#include "lessons/catalogue.h"
#include "support/fakes.h"
#include "ui/app/about_dlg.h"
#include "ui/app/color_static.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "ui/guide/color_dlg.h"
#include "ui/kana/roman_edit_dlg.h"
#include "ui/kana/roman_setting_dlg.h"
#include "ui/lessons/custom_lesson_dlg.h"
#include "ui/lessons/custom_start_dlg.h"
#include "ui/lessons/lesson_end_dlg.h"
#include "ui/lessons/lesson_select_dlg.h"
#include "ui/users/add_user_dlg.h"
#include "ui/users/show_miss_details_dlg.h"
#include "ui/users/calendar_page.h"
#include "ui/users/progress_chart.h"
#include "ui/users/progress_window.h"
#include "ui/users/user_select_dlg.h"
#include "progress/practice_days.h"
#include "text/cp932.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;

namespace {

// The mnemonic letter of a menu text ("レッスン(&L)": L), 0 for none.
QChar Mnemonic(const QString& strText) {
    for (int i = 0; i + 1 < strText.size(); ++i)
        if (strText[i] == '&') {
            if (strText[i + 1] != '&') return strText[i + 1].toUpper();
            ++i;
        }
    return QChar();
}

TEST(KeyboardOnly, EveryMenuCommandIsReachedFromTheKeyboard) {
    CMainFrame frame;
    std::set<QChar> topLetters;
    std::set<QString> shortcuts;
    int nCommands = 0;
    // Alt+letter opens a top menu; in an open menu the arrows reach every item and a letter
    // picks the item that has it, unless two items share it (then it only moves between them).
    std::function<void(QMenu*)> visit = [&](QMenu* pMenu) {
        std::set<QChar> letters;
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->isSeparator()) continue;
            const QChar letter = Mnemonic(pAction->text());
            if (!letter.isNull()) {
                EXPECT_TRUE(letters.insert(letter).second) << "two items share " << qPrintable(pAction->text());
            }
            if (!pAction->shortcut().isEmpty()) {
                EXPECT_TRUE(shortcuts.insert(pAction->shortcut().toString()).second) << qPrintable(pAction->text());
            }
            if (pAction->menu()) visit(pAction->menu());
            else ++nCommands;
        }
    };
    for (QAction* pTop : frame.menuBar()->actions()) {
        const QChar letter = Mnemonic(pTop->text());
        EXPECT_FALSE(letter.isNull()) << qPrintable(pTop->text()) << " opens only with the mouse";
        EXPECT_TRUE(topLetters.insert(letter).second) << qPrintable(pTop->text());
        ASSERT_NE(pTop->menu(), nullptr);
        visit(pTop->menu());
    }
    EXPECT_GE(nCommands, 15);

    // The keys themselves: Alt+L opens the lesson menu on the window.
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
    EXPECT_EQ(qobject_cast<QMenu*>(QApplication::activePopupWidget())->title(), "レッスン(&L)");
    QApplication::activePopupWidget()->close();
}

// What a control is called in a chain: its object name, else its text.
QString Label(QWidget* p) {
    if (!p->objectName().isEmpty() && !p->objectName().startsWith("qt_")) return p->objectName();
    if (auto* pButton = qobject_cast<QAbstractButton*>(p)) return pButton->text();
    return p->metaObject()->className();
}

// The controls Tab visits from the dialog's first focus, once round. On a second round, made
// after Tab has been pressed (the styles mark the focus only then), each must look different
// while it has the focus.
QStringList TabChain(QDialog& dlg, QStringList& unmarked) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QStringList chain;
    QWidget* pFirst = QApplication::focusWidget();
    if (!pFirst) return chain;
    for (int nRound = 0; nRound < 2; ++nRound) {
        QWidget* p = pFirst;
        for (int i = 0; i < 60; ++i) {
            if (nRound == 0) chain << Label(p);
            const QImage focused = p->grab().toImage();
            QTest::keyClick(p, Qt::Key_Tab);
            QWidget* pNext = QApplication::focusWidget();
            if (nRound == 1 && pNext != p && p->grab().toImage() == focused) unmarked << Label(p);
            if (!pNext || pNext == pFirst || pNext == p) break;
            p = pNext;
        }
    }
    dlg.hide();
    return chain;
}

TEST(KeyboardOnly, EachDialogsTabOrderFollowsItsLayoutWithAVisibleFocus) {
    QTemporaryDir dir;
    CUserSettings settings;
    settings.SetFolder(dir.filePath("Setting").toStdString() + "/");
    settings.SetFlushToDisk(false);
    settings.LoadUser("test");
    kibiki::RecordingMessenger messenger;
    LessonEndInfo end;
    end.strMessage = "OK";

    // Each chain starts at the control focused when the dialog opens and leaves out what a new
    // user's dialog shows disabled (開始 with no lesson chosen, the spellings list while off).
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        const char* chain;
    };
    const Case cases[] = {
        {"lesson select", [] { return std::make_unique<CLessonSelectDlg>(LessonSelectLabels(PracticeMode::KanaInput)); },
         "lesson_1 > start > cancel"},
        {"lesson end", [&] { return std::make_unique<CLessonEndDlg>(end); },
         "again > stop > show_all > next"},
        {"custom start", [&] { return std::make_unique<CCustomStartDlg>(settings, messenger); },
         "lessons > cancel > browse > all_questions"},
        {"custom lessons", [&] { return std::make_unique<CCustomLessonDlg>(settings, dir.path()); },
         "lessons > ok > cancel > add > separator"},
        {"colours", [&] { return std::make_unique<CColorDlg>(settings); },
         "ok > cancel > keyboard_colors > home_guide > frame_next > key_little > key_ring > key_middle > key_index > text_little > text_ring > text_middle > text_index > guide_little > guide_ring > guide_middle > guide_index > home_color > clear_colors > standard_colors > high_contrast_colors"},
        {"romaji settings", [&] { return std::make_unique<CRomanSettingDlg>(settings, false); },
         "fix_roman > ime_spellings > ok > delete_learning > cancel"},
        {"romaji edit", [] { return std::make_unique<CRomanEditDlg>(); },
         "roman > ok > cancel"},
        {"about", [] { return std::make_unique<CAboutDlg>(); },
         "ok"},
        {"user select", [&] { return std::make_unique<CUserSelectDlg>(settings.Folder(), "test"); },
         "users > ok > cancel > new > delete"},
        {"add user", [&] { return std::make_unique<CAddUserDlg>(settings.Folder()); },
         "user_name > ok > cancel"},
        {"missed keys", [] { return std::make_unique<CShowMissDetailsDlg>("A"); },
         "ok"},
    };
    for (const Case& c : cases) {
        auto pDlg = c.make();
        QStringList unmarked;
        const QStringList chain = TabChain(*pDlg, unmarked);
        EXPECT_EQ(chain.join(" > ").toStdString(), c.chain) << c.name;
        EXPECT_TRUE(unmarked.isEmpty()) << c.name << ": no focus mark on " << unmarked.join(", ").toStdString();
    }
}

TEST(KeyboardOnly, TheProgressWindowsChoosersChartAndCalendarWorkFromTheKeys) {
    QTemporaryDir dir;
    const QString strOuterViewState = CProgressWindow::SetViewStateFile(dir.filePath("view.ini"));
    CUserSettings settings;
    settings.SetFolder(dir.path().toStdString() + "/");
    settings.SetFlushToDisk(false);
    settings.LoadUser("test");
    const std::string history = Utf8ToCp932("2004年05月05日 09:00,W,20,90, \r\n"
                                            "2004年05月06日 09:00,W,30,100, \r\n"
                                            "2004年05月08日 09:00,W,40,96, \r\n");
    std::ofstream(dir.filePath("test.hst").toStdString(), std::ios::binary) << history;
    const std::int64_t today = DayOfDate(2004, 5, 8);
    CProgressWindow w(settings, nullptr, nullptr, true, today);

    // Each page's chain, from its tab through its choosers and its chart to 閉じる.
    const char* const chains[] = {
        "QTabBar > chart_filter > progress_chart > close",
        "QTabBar > heat_mode > heat_runs > close",
        "QTabBar > daily_goal > calendar_grid > close",
    };
    for (int nPage = 0; nPage < 3; ++nPage) {
        w.Pages()->setCurrentIndex(nPage);
        w.Pages()->tabBar()->setFocus();
        QStringList unmarked;
        QStringList chain = TabChain(w, unmarked);
        EXPECT_EQ(chain.join(" > ").toStdString(), chains[nPage]) << nPage;
        EXPECT_TRUE(unmarked.isEmpty()) << nPage << ": no focus mark on " << unmarked.join(", ").toStdString();
    }

    // The arrows move through the runs and the days, and each is said.
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Pages()->setCurrentIndex(CProgressWindow::PAGE_CHART);
    CProgressChart* pChart = w.ChartPage()->Chart();
    pChart->setFocus();
    EXPECT_TRUE(pChart->accessibleDescription().startsWith("記録 3回。最新 2004年5月8日(土)"));
    QTest::keyClick(pChart, Qt::Key_Left);
    EXPECT_EQ(pChart->Chosen(), 1u);
    EXPECT_TRUE(pChart->accessibleDescription().startsWith("2004-05-06 09:00。W。速度 30打/分"))
        << pChart->accessibleDescription().toStdString();
    QTest::keyClick(pChart, Qt::Key_Home);
    QTest::keyClick(pChart, Qt::Key_Left);  // stays on the first
    EXPECT_EQ(pChart->Chosen(), 0u);

    w.Pages()->setCurrentIndex(CProgressWindow::PAGE_CALENDAR);
    CCalendarGrid* pGrid = w.CalendarPage()->Grid();
    pGrid->setFocus();
    EXPECT_EQ(pGrid->accessibleDescription(), "今日 5分。連続 1日。最長 2日。これまでの合計 22分・3回");
    struct Step { Qt::Key key; const char* said; };
    const Step steps[] = {
        {Qt::Key_Up, "2004年5月7日(金)。練習なし"},
        {Qt::Key_Up, "2004年5月6日(木)。7分・1回"},
        {Qt::Key_Down, "2004年5月7日(金)。練習なし"},
        {Qt::Key_Right, "2004年5月8日(土)。5分・1回"},  // a week on is past today: today
        {Qt::Key_Left, "2004年5月1日(土)。練習なし"},
        {Qt::Key_End, "2004年5月8日(土)。5分・1回"},
    };
    for (const Step& step : steps) {
        QTest::keyClick(pGrid, step.key);
        EXPECT_EQ(pGrid->accessibleDescription().toStdString(), step.said) << step.key;
    }
    w.hide();
    CProgressWindow::SetViewStateFile(strOuterViewState);
}

TEST(KeyboardOnly, ThePracticeWindowsControlsAreNamedAndHaveRoles) {
    PracticeWindow form;
    form.SetControlText(IDC_KEY_FIRST + 17, "\xB6");  // ｶ
    form.SetControlText(IDC_MISS_COUNT, "3");
    auto name = [](QWidget* p) {
        QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(p);
        return pIface ? pIface->text(QAccessible::Name).toStdString() : std::string("(none)");
    };
    EXPECT_EQ(name(form.Control(IDC_KEY_FIRST + 17)), "か キー、左手人差し指");
    EXPECT_EQ(name(form.Control(IDC_MISS_COUNT)), "ミス回数 3");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.Control(IDC_KEY_FIRST))->role(), QAccessible::StaticText);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.Control(IDC_PROGRESS))->role(), QAccessible::ProgressBar);
    for (QWidget* p : form.findChildren<QWidget*>()) {
        QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(p);
        ASSERT_NE(pIface, nullptr) << qPrintable(p->objectName());
        if (p->parentWidget() != &form) continue;  // the boxes' own viewports and scroll bars
        EXPECT_FALSE(pIface->text(QAccessible::Name).isEmpty()) << qPrintable(p->objectName());
    }
    form.Announce("次は か、左手人差し指");
    EXPECT_EQ(form.accessibleDescription(), "次は か、左手人差し指");
    EXPECT_EQ(form.Control(IDC_ANSWER)->accessibleDescription(), "次は か、左手人差し指");
    EXPECT_EQ(form.accessibleName(), "練習");
    EXPECT_EQ(form.Control(IDC_ANSWER)->accessibleName(), "解答");
}

}  // namespace
