// "学習の記録": its pages found by object name, the chart opening on the lesson last practised,
// the weak keys, the calendar with the daily goal, and the view state it keeps.
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

#include "progress/practice_days.h"
#include "text/cp932.h"
#include "ui/app/color_static.h"
#include "ui/app/colorref.h"
#include "ui/app/kibiki_app.h"
#include "ui/app/main_frame.h"
#include "ui/app/qt_profile.h"
#include "ui/users/calendar_page.h"
#include "ui/users/heat_map_page.h"
#include "ui/users/progress_chart.h"
#include "ui/users/progress_window.h"
#include "ui/users/test_results_page.h"
#include "ui/users/key_speed_view.h"
#include "ui/users/weak_keys_page.h"
#include "lessons/kibiki_view.h"
#include "lessons/lesson.h"
#include "practice_log/practice_log.h"
#include <QRadioButton>
#include "ui_test_util.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
    ProgressWindowTest() {
        settings.SetFolder(Folder());
        settings.m_strUser = Utf8ToCp932("花子");
        strOuterViewState = CProgressWindow::SetViewStateFile(dir.filePath("view.ini"));
    }
    ~ProgressWindowTest() override { CProgressWindow::SetViewStateFile(strOuterViewState); }
    std::string Folder() const { return dir.path().toStdString() + "/"; }
    void WriteHistory(const std::string& utf8Lines) {
        std::ofstream(Folder() + "花子.hst", std::ios::binary) << Utf8ToCp932(utf8Lines);
    }
    std::string SettingsFile() {
        std::ifstream in(Folder() + "花子.dat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    template <class T>
    T* Find(QWidget& w, const char* pszName) {
        T* p = w.findChild<T*>(QString::fromUtf8(pszName));
        EXPECT_NE(p, nullptr) << pszName;
        return p;
    }

    QTemporaryDir dir;
    QString strOuterViewState;
    CUserSettings settings;
    const std::int64_t today = DayOfDate(2004, 5, 8);
};

TEST_F(ProgressWindowTest, FourPagesEachFoundByName) {
    WriteHistory("2004年05月08日 08:00,31,140,85, \r\n");
    CProgressWindow w(settings, nullptr, nullptr, true, today);
    EXPECT_EQ(w.windowTitle(), "学習の記録");
    auto* pPages = Find<QTabWidget>(w, "progress_pages");
    ASSERT_EQ(pPages->count(), 4);
    EXPECT_EQ(pPages->tabText(0), "速さと正確さ");
    EXPECT_EQ(pPages->tabText(1), "苦手キー");
    EXPECT_EQ(pPages->tabText(2), "カレンダー");
    EXPECT_EQ(pPages->tabText(3), "腕試し");
    Find<CProgressChart>(w, "progress_chart");
    Find<QComboBox>(w, "chart_filter");
    // The weak keys are one view of a stack that has room for more.
    auto* pViews = Find<QStackedWidget>(w, "weak_key_views");
    EXPECT_EQ(pViews->count(), 1);
    EXPECT_EQ(pViews->widget(0), Find<CHeatMapPage>(w, "heat_map_page"));
    Find<CCalendarGrid>(w, "calendar_grid");
    for (const char* name : {"today_minutes", "current_streak", "longest_streak", "totals", "streak_rule",
                             "legend_text_0", "legend_text_4", "legend_swatch_4"})
        Find<QLabel>(w, name);
    Find<QSpinBox>(w, "daily_goal");
    EXPECT_TRUE(Find<QWidget>(w, "close"));
    EXPECT_FALSE(w.sizePolicy().horizontalPolicy() == QSizePolicy::Fixed);
    EXPECT_LT(w.minimumWidth(), w.width());
}

// The 腕試し page: a hint without tests; with the log's tests, their points and tips.
TEST_F(ProgressWindowTest, TheTestsPageShowsAHintOrTheLogsTests) {
    CProgressWindow w(settings, nullptr, nullptr, true, today);
    w.resize(900, 600);
    w.show();
    w.Pages()->setCurrentIndex(CProgressWindow::PAGE_TESTS);
    CTestResultsPage* page = w.TestsPage();
    ASSERT_EQ(page, Find<CTestResultsPage>(w, "test_results_page"));
    page->ReadLog(nullptr);
    EXPECT_TRUE(page->Hint()->isVisible());
    EXPECT_FALSE(page->Chart()->isVisible());
    EXPECT_TRUE(page->Hint()->text().contains("腕試しの記録はまだありません"));

    LoggedRun test;
    test.strSource = "test";
    test.strLesson = "腕試し1分";
    test.tStart = 1700000000;
    test.nChars = 60;
    test.nElapsedMs = 60000;
    test.nKeystrokes = 200;
    test.nMisses = 10;
    test.end = RunEnd::Finished;
    LoggedRun later = test;
    later.tStart += 86400;
    later.nChars = 80;
    page->SetRuns({test, later});
    EXPECT_FALSE(page->Hint()->isVisible());
    ASSERT_TRUE(page->Chart()->isVisible());
    ASSERT_EQ(page->Chart()->Points().size(), 2u);
    // The later, faster test stands higher; its tip says what it was.
    EXPECT_LT(page->Chart()->CharsPoint(1).y(), page->Chart()->CharsPoint(0).y());
    const QString tip = page->Chart()->TipAt(page->Chart()->CharsPoint(1).toPoint());
    EXPECT_TRUE(tip.contains("10分あたり 800字")) << tip.toStdString();
    page->Chart()->grab();  // paints without a fault
}

TEST_F(ProgressWindowTest, ChartOpensOnTheLessonLastPractisedAndTipsItsPoints) {
    WriteHistory("2004年05月06日 09:07,31,120,95,A K  3 1 \r\n"
                 "2004年05月06日 09:30,10,60,90, \r\n"
                 "2004年05月07日 10:00,ことわざ,80,100, \r\n"
                 "2004年05月08日 08:00,31,140,85, \r\n"
                 "2004年05月08日 09:00,10,70,92, \r\n");
    CProgressWindow w(settings, nullptr, nullptr, true, today);
    w.resize(900, 600);
    w.show();
    CProgressPage* page = w.ChartPage();
    QComboBox* pFilter = page->Filter();
    QStringList items;
    for (int i = 0; i < pFilter->count(); ++i) items << pFilter->itemText(i);
    EXPECT_EQ(items, QStringList({"Lesson1(かな)", "Lesson3(ローマ字)", "ことわざ"}));
    EXPECT_EQ(pFilter->currentText(), "Lesson1(かな)");  // the newest line's lesson

    const auto& pts = [&]() -> const std::vector<ProgressPoint>& { return page->Chart()->Series().aPoints; };
    ASSERT_EQ(pts().size(), 2u);
    pFilter->setCurrentIndex(1);
    ASSERT_EQ(pts().size(), 2u);
    EXPECT_EQ(pts()[0].dSpeed, 120);
    EXPECT_EQ(pts()[1].dSpeed, 140);
    EXPECT_EQ(pts()[1].dSpeedAverage, 130);
    EXPECT_EQ(pts()[1].dAccuracyAverage, 90);
    CProgressChart* pChart = page->Chart();
    EXPECT_EQ(pChart->TipAt(pChart->SpeedPoint(0).toPoint()),
              "2004-05-06 09:07\nLesson3(ローマ字)\n速度 120打/分\n正解率 95%\n間違えたキー A×3　K×1");
    EXPECT_TRUE(pChart->TipAt(pChart->AccuracyPoint(1).toPoint()).startsWith("2004-05-08 08:00\n"));
    EXPECT_EQ(pChart->TipAt(QPoint(2, 2)), "");
    // The points sit inside the chart, the newer to the right.
    EXPECT_LT(pChart->SpeedPoint(0).x(), pChart->SpeedPoint(1).x());
    EXPECT_TRUE(pChart->rect().contains(pChart->AccuracyPoint(1).toPoint()));
    pFilter->setCurrentIndex(2);
    ASSERT_EQ(pts().size(), 1u);
    EXPECT_EQ(pts()[0].dAccuracy, 100);
}

TEST_F(ProgressWindowTest, WeakKeysPageShadesEachCapByItsMissesInTheChosenModeAndRuns) {
    std::string lines;
    for (int i = 0; i < 60; ++i) lines += "2004年05月06日 09:07,10,120,95,ち  1 \r\n";  // kana input
    lines += "2004年05月07日 09:07,10,120,95,し  30 \r\n";                               // the latest
    lines += "2004年05月07日 10:00,11,100,90,A  7 \r\n";                                 // romaji input
    lines += "2004年05月07日 11:00,ことわざ,80,90,ち  9 \r\n";                           // custom
    WriteHistory(lines);
    settings.m_nType = 0;
    CProgressWindow w(settings, nullptr, nullptr, true, today);
    w.Pages()->setCurrentWidget(w.WeakKeysPage());
    CHeatMapPage* page = w.WeakKeysPage()->HeatMap();
    EXPECT_EQ(page->ModeChooser()->currentIndex(), 0);
    // The latest 50 kana-input runs: し 30 times, ち once in each of 49 runs.
    EXPECT_EQ(page->Counted()[10].nCount, 30);
    EXPECT_EQ(page->Counted()[2].nCount, 49);
    EXPECT_EQ(page->Counted()[2].nLevel, 4);
    EXPECT_EQ(page->Counted()[10].nLevel, 3);
    EXPECT_EQ(page->Counted()[0].nLevel, 0);
    EXPECT_EQ(page->Cap(2)->text(), "ち 49");
    EXPECT_EQ(page->Cap(2)->toolTip(), "ち：49回");
    EXPECT_EQ(page->Cap(0)->text(), "ぬ");
    EXPECT_EQ(*page->Cap(2)->BackColor(), HeatBackColour(4));
    EXPECT_EQ(page->Note()->text(), "50回の練習から（オリジナルレッスンは含みません）");

    page->RunsChooser()->setCurrentIndex(1);  // all of them
    EXPECT_EQ(page->Counted()[2].nCount, 60);
    EXPECT_EQ(page->Note()->text(), "61回の練習から（オリジナルレッスンは含みません）");
    page->ModeChooser()->setCurrentIndex(1);  // romaji input: ASCII legends
    EXPECT_EQ(page->Cap(2)->text(), "A 7");
    EXPECT_EQ(page->Counted()[10].nCount, 0);
    page->ModeChooser()->setCurrentIndex(3);
    EXPECT_EQ(page->Note()->text(), "この練習モードの記録はまだありません");
    for (int k = 0; k < 48; ++k) EXPECT_EQ(page->Counted()[k].nLevel, 0);
}

TEST_F(ProgressWindowTest, CalendarShowsTheDaysAndTheGoalIsSavedOnlyWhileSet) {
    // A custom lesson's run counts 200 keystrokes: 20 打/分 is ten minutes.
    WriteHistory("2004年05月05日 09:00,W,20,95, \r\n"
                 "2004年05月06日 09:00,W,20,95, \r\n"
                 "2004年05月06日 23:58,W,20,95, \r\n"  // over midnight: the 6th's
                 "2004年05月08日 09:00,W,40,95, \r\n");
    std::ofstream(Folder() + "花子.dat", std::ios::binary) << CUserSettings::NewUserFileText();
    settings.LoadUser(Utf8ToCp932("花子"));
    ASSERT_TRUE(settings.SaveUser());
    const std::string before = SettingsFile();
    CProgressWindow w(settings, nullptr, nullptr, true, today);
    w.resize(900, 600);
    w.Pages()->setCurrentWidget(w.CalendarPage());
    w.show();
    EXPECT_EQ(Find<QLabel>(w, "today_minutes")->text(), "今日 5分");
    EXPECT_EQ(Find<QLabel>(w, "current_streak")->text(), "連続 1日");
    EXPECT_EQ(Find<QLabel>(w, "longest_streak")->text(), "最長 2日");
    EXPECT_EQ(Find<QLabel>(w, "totals")->text(), "これまでの合計 35分・4回");
    EXPECT_EQ(Find<QLabel>(w, "legend_text_1")->text(), "10分未満");
    CCalendarGrid* pGrid = w.CalendarPage()->Grid();
    EXPECT_EQ(pGrid->TipAt(pGrid->CellOf(DayOfDate(2004, 5, 6)).center()), "2004年5月6日(木)\n20分・2回");
    EXPECT_EQ(pGrid->TipAt(pGrid->CellOf(DayOfDate(2004, 5, 7)).center()), "2004年5月7日(金)\n練習なし");
    EXPECT_TRUE(pGrid->CellOf(today + 1).isEmpty());
    // Every shown day's cell lies inside the grid and none overlaps the next.
    const QRect first = pGrid->CellOf(pGrid->Grid().nFirstDay), last = pGrid->CellOf(today);
    EXPECT_TRUE(pGrid->rect().contains(first));
    EXPECT_TRUE(pGrid->rect().contains(last));
    EXPECT_LT(first.bottom(), pGrid->CellOf(pGrid->Grid().nFirstDay + 1).top());

    // A goal: set here, written as one line at the end, and every figure follows it.
    QSpinBox* pGoal = Find<QSpinBox>(w, "daily_goal");
    EXPECT_EQ(pGoal->text(), "なし");
    pGoal->setValue(10);
    EXPECT_EQ(settings.m_nDailyGoal, 10);
    EXPECT_EQ(SettingsFile(), before + "DailyGoal=10\r\n");
    EXPECT_EQ(Find<QLabel>(w, "today_minutes")->text(), "今日 5／10分");
    EXPECT_EQ(Find<QLabel>(w, "current_streak")->text(), "連続 0日");  // the 7th broke it; today is open
    EXPECT_EQ(Find<QLabel>(w, "longest_streak")->text(), "最長 2日");
    EXPECT_EQ(Find<QLabel>(w, "legend_text_3")->text(), "目標達成");
    EXPECT_TRUE(Find<QLabel>(w, "streak_rule")->text().contains("目標"));
    pGoal->setValue(0);
    EXPECT_EQ(SettingsFile(), before);
}

TEST_F(ProgressWindowTest, RemembersItsSizeAndPageAsViewState) {
    {
        CProgressWindow w(settings, nullptr, nullptr, true, today);
        EXPECT_EQ(w.Pages()->currentIndex(), CProgressWindow::PAGE_CHART);
        w.resize(1000, 700);
        w.Pages()->setCurrentIndex(CProgressWindow::PAGE_CALENDAR);
        w.reject();
    }
    CProgressWindow again(settings, nullptr, nullptr, true, today);
    EXPECT_EQ(again.size(), QSize(1000, 700));
    EXPECT_EQ(again.Pages()->currentIndex(), CProgressWindow::PAGE_CALENDAR);
    EXPECT_EQ(settings.FileText().find("Progress"), std::string::npos);
}

TEST_F(ProgressWindowTest, TheUserMenuOpensIt) {
    qputenv("KIBIKI_SETTING_DIR", Folder().c_str());
    QtProfile profile(dir.filePath("Kibiki.conf"));
    CKibikiApp app(profile);
    app.InitInstance();
    QAction* pAction = app.Frame().Action(ID_USER_PROGRESS);
    ASSERT_NE(pAction, nullptr);
    EXPECT_EQ(pAction->text(), "学習の記録(&R)...");
    QString strTitle;
    OnNextModal([&strTitle](QWidget* p) {
        strTitle = p->windowTitle();
        qobject_cast<QDialog*>(p)->reject();
    });
    pAction->trigger();
    EXPECT_EQ(strTitle, "学習の記録");
    qunsetenv("KIBIKI_SETTING_DIR");
}

TEST_F(ProgressWindowTest, KeysTypedGoToTheLogAndItsWeakKeysStartADrill) {
    qputenv("KIBIKI_SETTING_DIR", Folder().c_str());
    QtProfile profile(dir.filePath("Kibiki.conf"));
    CKibikiApp app(profile);
    app.InitInstance();
    // A run of a built-in lesson: every key right but ten misses, stopped before the end.
    ASSERT_TRUE(app.View().StartLesson(BuiltInLesson(app.Doc().UserMode(), 1)));
    const unsigned char wrong = 0xB1;  // ｱ
    int missed = 0;
    for (int i = 0; i < 18 && app.View().IsRunning(); ++i) {
        const unsigned char due = app.Doc().NextExpectedKey();
        if (i % 6 == 5 && due != wrong) {
            app.View().OnTypedChar(wrong);
            ++missed;
        }
        app.View().OnTypedChar(due);
    }
    app.View().StopRun();
    const std::string logPath = Folder() + Utf8ToCp932("花子") + ".db";
    PracticeLog* log = app.Recorder().ExistingLog();
    ASSERT_NE(log, nullptr) << "no log for the user " << app.Doc().Settings().m_strUser;
    std::vector<LoggedRun> runs;
    ASSERT_EQ(log->ReadRunSummaries(runs), LogFault::None);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].nMisses, missed);
    EXPECT_EQ(runs[0].end, RunEnd::Stopped);
    // Earlier practice the log already kept: か slow and often missed.
    LoggedRun earlier = runs[0];
    earlier.keys.clear();
    for (int i = 0; i < 40; ++i) {
        LoggedKey k;
        k.chDue = 0xB6;  // ｶ
        k.chTyped = i % 4 ? 0xB6 : 0xB1;
        k.nMs = 400;
        k.nFlags = i % 4 ? LoggedKey::kRight : 0;
        earlier.keys.push_back(k);
    }
    ASSERT_EQ(log->WriteRun(earlier), LogFault::None);

    // 学習の記録 > 苦手キー opens on the log's view; its drill closes the window and starts.
    bool bSeen = false;
    std::vector<std::string> badgesBefore;
    OnNextModal([&](QWidget* p) {
        auto* window = qobject_cast<CProgressWindow*>(p);
        ASSERT_NE(window, nullptr);
        window->Pages()->setCurrentIndex(CProgressWindow::PAGE_WEAK_KEYS);
        CWeakKeysPage* page = window->WeakKeysPage();
        ASSERT_NE(page->SpeedView(), nullptr);
        EXPECT_TRUE(Find<QRadioButton>(*page, "weak_keys_from_log")->isChecked());
        CKeySpeedView* view = page->SpeedView();
        view->SetView(FigureView::Misses);
        int badges = 0;
        for (const FigureCap& cap : view->Caps()) badges += !cap.strBadge.empty();
        EXPECT_GE(badges, 1);
        for (const FigureCap& cap : view->Caps()) badgesBefore.push_back(cap.strBadge);
        EXPECT_NE(view->Note()->text().indexOf(QStringLiteral("練習ログ")), -1) << view->Note()->text().toStdString();
        view->SetView(FigureView::Speed);
        bSeen = true;
        Find<QPushButton>(*view, "speed_drill_keys")->click();
    });
    app.Frame().Action(ID_USER_PROGRESS)->trigger();
    EXPECT_TRUE(bSeen);
    EXPECT_TRUE(app.View().IsRunning());
    EXPECT_EQ(app.Doc().CurrentLesson().source, LessonSource::WeakKeyDrill);
    EXPECT_EQ(app.Doc().CurrentLesson().strTitle.rfind(Utf8ToCp932("苦手キー:"), 0), 0u);

    // The drill's own misses reach the log and the page the next time it opens.
    int drillMissed = 0;
    for (int i = 0; i < 30 && app.View().IsRunning(); ++i) {
        const unsigned char due = app.Doc().NextExpectedKey();
        if (due != wrong) {
            app.View().OnTypedChar(wrong);
            ++drillMissed;
        }
        app.View().OnTypedChar(due);
    }
    app.View().StopRun();
    ASSERT_GT(drillMissed, 0);
    runs.clear();
    ASSERT_EQ(log->ReadRunSummaries(runs), LogFault::None);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs.back().strSource, "drill");
    EXPECT_EQ(runs.back().nMisses, drillMissed);
    std::vector<std::string> badgesAfter;
    OnNextModal([&](QWidget* p) {
        auto* window = qobject_cast<CProgressWindow*>(p);
        ASSERT_NE(window, nullptr);
        window->Pages()->setCurrentIndex(CProgressWindow::PAGE_WEAK_KEYS);
        CKeySpeedView* view = window->WeakKeysPage()->SpeedView();
        ASSERT_NE(view, nullptr);
        view->SetView(FigureView::Misses);
        for (const FigureCap& cap : view->Caps()) badgesAfter.push_back(cap.strBadge);
        window->reject();
    });
    app.Frame().Action(ID_USER_PROGRESS)->trigger();
    ASSERT_EQ(badgesAfter.size(), badgesBefore.size());
    int changed = 0;
    for (std::size_t i = 0; i < badgesAfter.size(); ++i) changed += badgesAfter[i] != badgesBefore[i];
    EXPECT_GE(changed, 1) << "the page shows the misses as they were before the drill";
    qunsetenv("KIBIKI_SETTING_DIR");
}

}  // namespace
