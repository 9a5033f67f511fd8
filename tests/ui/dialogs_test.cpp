// The lesson dialogs: what they show when they open and what they answer.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/app/color_static.h"
#include "ui/app/qt_messenger.h"
#include "ui/lessons/custom_start_dlg.h"
#include "ui/lessons/lesson_end_dlg.h"
#include "ui/lessons/lesson_select_dlg.h"
#include "text/cp932.h"
#include "ui_test_util.h"
#include "ui/users/show_miss_details_dlg.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

LessonEndInfo SampleEnd() {
    LessonEndInfo info;
    info.strMessage = Sj("すばらしい！");
    info.strAccuracy = Sj("95％");
    info.strSpeed = Sj("122／分");
    info.strTopThree = Sj("A…5回　S…5回　D…2回");
    info.strDetails = Sj("A…5回\r\nS…5回\r\nD…2回\r\nF…1回\r\n");
    return info;
}

TEST(LessonEndDlg, ShowsTheDecidedTextsAndButtonStates) {
    LessonEndInfo info = SampleEnd();
    info.bNextEnabled = false;
    info.bShowAllEnabled = false;
    CLessonEndDlg dlg(info);
    EXPECT_EQ(dlg.windowTitle(), "レッスン終了");
    EXPECT_EQ(dlg.findChild<CColorStatic*>("message")->text(), "すばらしい！");
    EXPECT_EQ(dlg.findChild<CColorStatic*>("message")->font().pointSize(), 15);
    EXPECT_EQ(dlg.findChild<CColorStatic*>("accuracy")->text(), "95％");
    EXPECT_EQ(dlg.findChild<CColorStatic*>("speed")->text(), "122／分");
    EXPECT_EQ(dlg.findChild<CColorStatic*>("top_three")->text(), "A…5回　S…5回　D…2回");
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "間違えたキー　上位３キー");
    EXPECT_FALSE(dlg.Button("next")->isEnabled());
    EXPECT_FALSE(dlg.Button("show_all")->isEnabled());
    EXPECT_TRUE(dlg.Button("again")->isEnabled());
    EXPECT_EQ(dlg.Button("next")->text(), "次のレッスン");
    EXPECT_EQ(dlg.Button("again")->text(), "もう一度");
    EXPECT_EQ(dlg.Button("stop")->text(), "やめる");
}

TEST(LessonEndDlg, KanaPerMinuteAndTheDailyGoalEachGetARowOnlyWhenGiven) {
    CLessonEndDlg romaji(SampleEnd());
    EXPECT_EQ(romaji.findChild<CColorStatic*>("kana_speed"), nullptr);
    EXPECT_EQ(romaji.findChild<CColorStatic*>("goal"), nullptr);
    for (const bool bKana : {false, true}) {
        LessonEndInfo info = SampleEnd();
        if (bKana) info.strKanaSpeed = Sj("85字/分");
        CLessonEndDlg plain(info);
        info.strGoal = Sj("今日 12／15分・連続 5日");
        CLessonEndDlg goal(info);
        auto* pGoal = goal.findChild<CColorStatic*>("goal");
        ASSERT_NE(pGoal, nullptr);
        EXPECT_EQ(pGoal->text(), "今日 12／15分・連続 5日");
        EXPECT_GT(goal.height(), plain.height());
        EXPECT_GE(pGoal->width(), pGoal->fontMetrics().horizontalAdvance(pGoal->text()));
        // Each row sits between the figures and the missed keys, one under the other.
        CColorStatic* pAbove = goal.findChild<CColorStatic*>(bKana ? "kana_speed" : "speed");
        if (bKana) {
            EXPECT_EQ(pAbove->text(), "85字/分");
            EXPECT_GT(pAbove->y(), goal.findChild<CColorStatic*>("speed")->geometry().bottom());
        }
        EXPECT_GT(pGoal->y(), pAbove->geometry().bottom());
        EXPECT_LT(pGoal->geometry().bottom(), goal.findChild<QGroupBox*>()->y());
    }
}

TEST(LessonEndDlg, AnswersNextAgainOrStopAndEnterMeansAgain) {
    struct Case { const char* how; int code; } cases[] = {
        {"next", LESSON_END_NEXT}, {"again", LESSON_END_AGAIN}, {"stop", LESSON_END_STOP},
        {"Enter", LESSON_END_AGAIN}, {"Escape", LESSON_END_STOP}, {"close", LESSON_END_STOP},
    };
    for (const auto& c : cases) {
        CLessonEndDlg dlg(SampleEnd());
        const std::string how = c.how;
        OnNextModal([how](QWidget* p) {
            if (how == "Enter") QTest::keyClick(p, Qt::Key_Return);
            else if (how == "Escape") QTest::keyClick(p, Qt::Key_Escape);
            else if (how == "close") p->close();
            else p->findChild<QPushButton*>(QString::fromStdString(how))->click();
        });
        EXPECT_EQ(dlg.Run(), c.code) << c.how;
    }
}

TEST(LessonEndDlg, ShowAllListsEveryMissedKeyOnItsOwnLine) {
    CLessonEndDlg dlg(SampleEnd());
    QStringList lines;
    OnNextModal([&](QWidget* p) {
        OnNextModal([&](QWidget* pDetails) {
            EXPECT_EQ(pDetails->windowTitle(), "間違えたキー一覧");
            auto* list = pDetails->findChild<QListWidget*>("missed_keys");
            for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
            pDetails->findChild<QPushButton*>("ok")->click();
            p->findChild<QPushButton*>("stop")->click();
        });
        p->findChild<QPushButton*>("show_all")->click();
    });
    EXPECT_EQ(dlg.Run(), LESSON_END_STOP);
    EXPECT_EQ(lines, (QStringList{"A…5回", "S…5回", "D…2回", "F…1回"}));
}

TEST(ShowMissDetailsDlg, SplitsAtLineBreaksAndShowsNothingForNoMisses) {
    struct Case { const char* text; QStringList lines; } cases[] = {
        {"", {}},
        {"A…3回\r\n", {"A…3回"}},
        {"A…3回\r\nK…2回\r\nS…1回\r\n", {"A…3回", "K…2回", "S…1回"}},
        {"A…3回\r\nK…2回", {"A…3回", "K…2回"}},  // a last line without a break still shows
    };
    for (const auto& c : cases) {
        CShowMissDetailsDlg dlg(Sj(c.text));
        QStringList lines;
        for (int i = 0; i < dlg.List()->count(); ++i) lines << dlg.List()->item(i)->text();
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_EQ(dlg.List()->selectionMode(), QAbstractItemView::NoSelection);
    }
}

TEST(LessonSelectDlg, OffersTheGivenLabelsWithLessonOneChosen) {
    std::array<std::string, 8> labels;
    for (int i = 0; i < 8; ++i) labels[i] = Sj(("L" + std::to_string(i)).c_str());
    labels[7] = Sj("オリジナルレッスン");
    CLessonSelectDlg dlg(labels);
    EXPECT_EQ(dlg.windowTitle(), "レッスンの選択");
    EXPECT_EQ(dlg.Radio(7)->text(), "オリジナルレッスン");
    EXPECT_EQ(dlg.Selected(), 0);
    dlg.Radio(5)->setChecked(true);
    EXPECT_EQ(dlg.Selected(), 5);
    EXPECT_FALSE(dlg.Radio(0)->isChecked());  // one group: one choice
}

class CustomStartDlgTest : public ::testing::Test {
protected:
    CustomStartDlgTest() {
        settings.SetFolder(dir.filePath("Setting").toStdString());
        settings.LoadUser("test");
        for (const char* name : {"one", "two"}) {
            const QString path = dir.filePath(QString::fromUtf8(name) + ".txt");
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("#KANA\r\nname\r\n");
            const int i = settings.GetInt("count", 0);
            settings.SetIndexedString("No", i, Sj((std::string("レッスン") + name).c_str()));
            settings.SetIndexedString("File", i, Utf8ToCp932(path.toStdString()));
            settings.SetInt("count", i + 1);
        }
        settings.SaveUser();
    }
    QTemporaryDir dir;
    CUserSettings settings;
    QtMessenger messenger;
};

TEST_F(CustomStartDlgTest, OpensWithTheListAllQuestionsAndStartDisabled) {
    CCustomStartDlg dlg(settings, messenger);
    EXPECT_EQ(dlg.windowTitle(), "オリジナルレッスン開始");
    ASSERT_EQ(dlg.List()->count(), 2);
    EXPECT_EQ(dlg.List()->item(1)->text(), "レッスンtwo");
    EXPECT_FALSE(dlg.StartButton()->isEnabled());
    EXPECT_TRUE(dlg.ModeRadio(0)->isChecked());
    EXPECT_EQ(dlg.ModeRadio(1)->text(), "ランダム２０問");
    dlg.List()->item(1)->setSelected(true);
    EXPECT_TRUE(dlg.StartButton()->isEnabled());
    dlg.ModeRadio(1)->setChecked(true);
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Model().m_strPath, dir.filePath("two.txt").toStdString());
    EXPECT_EQ(dlg.Model().m_nMode, 1);
}

TEST_F(CustomStartDlgTest, BrowsingStartsAFileAndNamesIt) {
    CCustomStartDlg dlg(settings, messenger);
    dlg.m_fnChooseFile = [](QWidget*, const QString&) { return QStringLiteral("/tmp/elsewhere/ことば.txt"); };
    dlg.findChild<QPushButton*>("browse")->click();
    EXPECT_TRUE(dlg.StartButton()->isEnabled());
    EXPECT_EQ(dlg.BrowsedName()->text(), "ことば.txt");
    EXPECT_EQ(dlg.Model().m_strPath, "/tmp/elsewhere/ことば.txt");
    EXPECT_EQ(dlg.List()->count(), 2);  // not registered
}

TEST_F(CustomStartDlgTest, SelectingAnEntryWhoseFileIsGoneWarnsAndDropsIt) {
    QFile::remove(dir.filePath("one.txt"));
    CCustomStartDlg dlg(settings, messenger);
    const auto shown = AnswerNextMessageBox(QMessageBox::Ok);
    dlg.List()->item(0)->setSelected(true);
    EXPECT_EQ(shown->CaptionAndText(), "Kibiki|ファイルがありません\nリストから削除します。");
    EXPECT_EQ(shown->icon, QMessageBox::Warning);
    ASSERT_EQ(dlg.List()->count(), 1);
    EXPECT_EQ(dlg.List()->item(0)->text(), "レッスンtwo");
    EXPECT_FALSE(dlg.StartButton()->isEnabled());
    EXPECT_EQ(settings.GetInt("count", 0), 1);
}

}  // namespace
