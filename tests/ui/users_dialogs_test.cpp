// The user-selection, new-user and history dialogs on a settings folder of their own.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/app/color_static.h"
#include "ui/app/kibiki_app.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "ui/app/qt_profile.h"
#include "ui/guide/guide_static.h"
#include "lessons/kibiki_view.h"
#include "text/cp932.h"
#include "support/test_util.h"
#include "ui_test_util.h"
#include "ui/users/add_user_dlg.h"
#include "progress/history_csv.h"
#include "ui/users/history_table_model.h"
#include "ui/users/progress_chart.h"
#include "ui/users/heat_map_page.h"
#include "ui/users/progress_window.h"
#include "ui/users/show_history_dlg.h"
#include "ui/users/weak_keys_page.h"
#include "ui/users/user_select_dlg.h"
#include "users/history_file.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

class UsersDialogsTest : public ::testing::Test {
protected:
    void Write(const QString& name, const std::string& utf8 = "Type=0\r\n") {
        std::ofstream(Path(name).toStdString(), std::ios::binary) << Utf8ToCp932(utf8);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    std::string Folder() const { return dir.path().toStdString() + "/"; }
    QStringList Items(QComboBox* p) {
        QStringList out;
        for (int i = 0; i < p->count(); ++i) out << p->itemText(i);
        return out;
    }
    QPushButton* Button(QWidget* p, const char* pszName) { return p->findChild<QPushButton*>(pszName); }
    // Answers the next message box with the button and keeps what it said.
    void AnswerNextMessage(QMessageBox::StandardButton button) { messages << AnswerNextMessageBox(button); }
    QStringList Shown() const {
        QStringList out;
        for (const auto& p : messages)
            if (p->answered) out << p->text;
        return out;
    }
    QList<QMessageBox::Icon> Icons() const {
        QList<QMessageBox::Icon> out;
        for (const auto& p : messages)
            if (p->answered) out << p->icon;
        return out;
    }

    QTemporaryDir dir;
    QList<std::shared_ptr<ShownMessage>> messages;
};

TEST_F(UsersDialogsTest, SelectionListsUsersSortedWithTheCurrentOneChosen) {
    for (const char* name : {"b.dat", "A.dat", "ab.dat", "山田.dat", "x.hst"}) Write(name);
    CUserSelectDlg dlg(Folder(), "a");
    EXPECT_EQ(dlg.windowTitle(), "ユーザの選択");
    EXPECT_EQ(Items(dlg.List()), (QStringList{"A", "ab", "b", "山田"}));
    EXPECT_EQ(dlg.List()->currentText(), "A");
    EXPECT_TRUE(Button(&dlg, "ok")->isEnabled());
    EXPECT_TRUE(Button(&dlg, "ok")->isDefault());
    EXPECT_EQ(dlg.ChosenUser(), "A");
    dlg.List()->setCurrentIndex(3);
    EXPECT_EQ(dlg.ChosenUser(), Utf8ToCp932("山田"));

    // The current user's file is gone: nothing is chosen and "OK" has nothing to give.
    CUserSelectDlg none(Folder(), "gone");
    EXPECT_EQ(none.List()->currentIndex(), -1);
    EXPECT_FALSE(Button(&none, "ok")->isEnabled());
    EXPECT_EQ(none.ChosenUser(), "");
}

TEST_F(UsersDialogsTest, DeleteAsksAndKeepsTheHistoryButNeverDeletesTheLastUser) {
    for (const char* name : {"a.dat", "b.dat", "default.dat", "b.hst"}) Write(name);
    CUserSelectDlg dlg(Folder(), "b");
    AnswerNextMessage(QMessageBox::No);
    Button(&dlg, "delete")->click();
    EXPECT_TRUE(QFileInfo::exists(Path("b.dat")));
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0], "ユーザ”b”の情報を削除してもよろしいですか？");
    EXPECT_EQ(Icons()[0], QMessageBox::Warning);
    EXPECT_EQ(messages[0]->defaultButton, QMessageBox::No);  // a stray Enter keeps the user

    AnswerNextMessage(QMessageBox::Yes);
    Button(&dlg, "delete")->click();
    EXPECT_FALSE(QFileInfo::exists(Path("b.dat")));
    EXPECT_TRUE(QFileInfo::exists(Path("b.hst")));
    EXPECT_EQ(Items(dlg.List()), (QStringList{"a", "default"}));
    EXPECT_EQ(dlg.List()->currentText(), "a");

    AnswerNextMessage(QMessageBox::Yes);
    Button(&dlg, "delete")->click();
    EXPECT_EQ(Items(dlg.List()), QStringList{"default"});
    messages.clear();
    Button(&dlg, "delete")->click();  // the last one: no question, nothing deleted
    QTest::qWait(20);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(Path("default.dat")));
}

TEST_F(UsersDialogsTest, NewUserRefusesBadNamesThenCreatesAndChoosesTheUser) {
    Write("default.dat");
    CUserSelectDlg dlg(Folder(), "default");
    OnNextModal([this](QWidget* p) {
        auto* pAdd = qobject_cast<CAddUserDlg*>(p);
        ASSERT_NE(pAdd, nullptr);
        EXPECT_EQ(pAdd->windowTitle(), "新規ユーザ");
        EXPECT_TRUE(Button(pAdd, "ok")->isDefault());
        // Refused: the warning, then the whole name selected for correcting it.
        pAdd->Edit()->setText("x*y");
        AnswerNextMessage(QMessageBox::Ok);
        Button(pAdd, "ok")->click();
        EXPECT_TRUE(pAdd->isVisible());
        EXPECT_EQ(pAdd->Edit()->selectedText(), "x*y");
        // Taken already, whatever the letter case.
        pAdd->Edit()->setText("DEFAULT");
        AnswerNextMessage(QMessageBox::Ok);
        Button(pAdd, "ok")->click();
        EXPECT_TRUE(pAdd->isVisible());
        EXPECT_EQ(pAdd->Edit()->text(), "DEFAULT");
        pAdd->Edit()->setText("花子");
        Button(pAdd, "ok")->click();
    });
    Button(&dlg, "new")->click();
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_EQ(Icons()[0], QMessageBox::Warning);
    EXPECT_EQ(Shown()[1], "DEFAULTは存在します。別のユーザ名を指定してください");
    EXPECT_EQ(Icons()[1], QMessageBox::NoIcon);
    EXPECT_EQ(Items(dlg.List()), (QStringList{"default", "花子"}));
    EXPECT_EQ(dlg.List()->currentText(), "花子");
    QFile file(Path("花子.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), CUserSettings::NewUserFileText());

    // Cancelled: nothing is created.
    OnNextModal([this](QWidget* p) {
        qobject_cast<CAddUserDlg*>(p)->Edit()->setText("next");
        Button(p, "cancel")->click();
    });
    Button(&dlg, "new")->click();
    EXPECT_FALSE(QFileInfo::exists(Path("next.dat")));
    EXPECT_EQ(dlg.List()->count(), 2);
}

class HistoryDialogTest : public UsersDialogsTest {
protected:
    HistoryDialogTest() {
        settings.SetFolder(Folder());
        settings.m_strUser = Utf8ToCp932("花子");
    }
    void WriteHistory(const std::string& utf8Lines) { Write("花子.hst", utf8Lines); }
    QString Cell(CShowHistoryDlg& dlg, int r, int c) {
        return dlg.Model()->index(r, c).data().toString();
    }
    CUserSettings settings;
};

TEST_F(HistoryDialogTest, NoHistoryShowsAnEmptyListWithShowAllDisabled) {
    CShowHistoryDlg dlg(settings);
    EXPECT_EQ(dlg.windowTitle(), "履歴表示");
    EXPECT_EQ(dlg.findChild<CColorStatic*>("user_name")->text(), "花子");
    EXPECT_EQ(dlg.Model()->rowCount(), 0);
    EXPECT_FALSE(Button(&dlg, "show_all")->isEnabled());
    EXPECT_TRUE(Button(&dlg, "close")->isDefault());
    const QStringList headers = {"日時", "レッスン名", "速度／分", "正解率(％)", "間違えたキー　上位３キー"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(dlg.Model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_GT(dlg.List()->columnWidth(c), dlg.List()->fontMetrics().horizontalAdvance(headers[c]));
    }
    EXPECT_FALSE(dlg.List()->horizontalHeader()->sectionsClickable());
}

TEST_F(HistoryDialogTest, TheRulesLayoutWithTheProgressWindowAndCsvButtonsBesideIt) {
    WriteHistory("2004年05月06日 09:07,31,120,95, \r\n");
    CShowHistoryDlg dlg(settings);
    EXPECT_EQ(dlg.findChild<QStackedWidget*>(), nullptr);
    EXPECT_EQ(dlg.List()->parentWidget(), &dlg);
    // The buttons stand in one row, none over another or past the dialog, each text whole.
    QList<QPushButton*> row;
    for (const char* name : {"progress", "save_csv", "delete_history", "show_all", "close"}) row << Button(&dlg, name);
    EXPECT_EQ(row[0]->text(), "学習の記録...");
    EXPECT_EQ(row[1]->text(), "CSV保存...");
    for (int i = 0; i < row.size(); ++i) {
        EXPECT_GE(row[i]->width(), row[i]->fontMetrics().horizontalAdvance(row[i]->text()) + 6) << i;
        EXPECT_LE(row[i]->geometry().right(), dlg.width());
        if (i > 0) EXPECT_LT(row[i - 1]->geometry().right(), row[i]->x()) << i;
    }
    EXPECT_LT(dlg.findChild<CColorStatic*>("user_name")->geometry().right(), row[0]->x());

    // The window opens on the dialog's records.
    int nPoints = -1;
    OnNextModal([&nPoints](QWidget* p) {
        auto* pWindow = qobject_cast<CProgressWindow*>(p);
        ASSERT_NE(pWindow, nullptr);
        nPoints = static_cast<int>(pWindow->ChartPage()->Chart()->Series().aPoints.size());
        pWindow->reject();
    });
    Button(&dlg, "progress")->click();
    EXPECT_EQ(nPoints, 1);
}

TEST_F(HistoryDialogTest, RowsInFileOrderAndEachRowsMissedKeys) {
    WriteHistory("2004年05月06日 09:07,31,120,95,A K S D F  5 4 3 2 1 \r\n"
                 "2004年05月07日 10:00,ことわざ,80,100, \r\n");
    CShowHistoryDlg dlg(settings);
    ASSERT_EQ(dlg.Model()->rowCount(), 2);
    const QStringList first = {"2004年05月06日 09:07", "Lesson3(ローマ字)", "120", "95",
                               "A…5回　K…4回　S…3回　"};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Cell(dlg, 0, c), first[c]) << c;
    EXPECT_EQ(Cell(dlg, 1, 1), "ことわざ");
    EXPECT_EQ(Cell(dlg, 1, 4), "間違いはありません");
    // Every text fits its column.
    for (int c = 0; c + 1 < 5; ++c)
        for (int r = 0; r < 2; ++r)
            EXPECT_LT(dlg.List()->fontMetrics().horizontalAdvance(Cell(dlg, r, c)), dlg.List()->columnWidth(c));

    dlg.List()->selectRow(0);
    EXPECT_TRUE(Button(&dlg, "show_all")->isEnabled());
    // Ctrl+C copies the row as the list shows it.
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.List()->setFocus();
    QTest::keyClick(dlg.List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), first.join('\t'));
    QStringList lines;
    OnNextModal([&lines](QWidget* p) {
        auto* pList = p->findChild<QListWidget*>("missed_keys");
        for (int i = 0; i < pList->count(); ++i) lines << pList->item(i)->text();
        p->findChild<QPushButton*>("ok")->click();
    });
    Button(&dlg, "show_all")->click();
    EXPECT_EQ(lines, (QStringList{"A…5回", "K…4回", "S…3回", "D…2回", "F…1回"}));

    // No row chosen any more: the button stays and opens an empty list.
    dlg.List()->clearSelection();
    EXPECT_TRUE(Button(&dlg, "show_all")->isEnabled());
    lines = {"x"};
    OnNextModal([&lines](QWidget* p) {
        lines = QStringList();
        auto* pList = p->findChild<QListWidget*>("missed_keys");
        for (int i = 0; i < pList->count(); ++i) lines << pList->item(i)->text();
        p->findChild<QPushButton*>("ok")->click();
    });
    Button(&dlg, "show_all")->click();
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(HistoryDialogTest, CsvSavedThroughTheDialogIsTheCoresTextAndAWriteErrorSaysWhy) {
    const std::string text = "2004年05月06日 09:07,31,120,95,A K  3 2 \r\nt,My, \"list\",8,100, \r\n";
    WriteHistory(text);
    CShowHistoryDlg dlg(settings);
    ASSERT_NE(dlg.findChild<QPushButton*>("save_csv"), nullptr);
    const std::string path = Folder() + "out.csv";
    ASSERT_TRUE(dlg.SaveCsv(QString::fromStdString(path)));
    EXPECT_EQ(kibiki::test::ReadFile(path), HistoryCsv(Utf8ToCp932(text)));

    // "CSV保存..." asks where through the save-file dialog, suggesting the user's name.
    const std::string chosen = Folder() + "chosen.csv";
    QString suggested;
    OnNextModal([&](QWidget* p) {
        auto* pFileDlg = qobject_cast<QFileDialog*>(p);
        ASSERT_NE(pFileDlg, nullptr);
        suggested = pFileDlg->selectedFiles().value(0);
        auto* pName = pFileDlg->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(pName, nullptr);
        pName->setText(QString::fromStdString(chosen));
        QTest::keyClick(pName, Qt::Key_Return);
    });
    Button(&dlg, "save_csv")->click();
    EXPECT_TRUE(suggested.endsWith("花子_履歴.csv")) << suggested.toStdString();
    EXPECT_EQ(kibiki::test::ReadFile(chosen), kibiki::test::ReadFile(path));

    // A folder where the file should go: refused, with the path and the reason.
    auto shown = AnswerNextMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(dlg.SaveCsv(QString::fromStdString(Folder() + "no/such/folder/out.csv")));
    EXPECT_TRUE(shown->answered);
    EXPECT_TRUE(shown->text.contains("out.csv")) << shown->text.toStdString();
    EXPECT_GT(shown->text.count('\n'), 1);
}

TEST_F(HistoryDialogTest, AHistoryOverTheReadCapSaysItsNewestRunsAreShownUntilItIsDeleted) {
    // Older runs as a hole the size of the cap, then the two newest.
    WriteHistory("");
    std::filesystem::resize_file(Path("花子.hst").toStdString(), kHistoryReadCap + 10);
    {
        std::ofstream out(Path("花子.hst").toStdString(), std::ios::binary | std::ios::app);
        out << Utf8ToCp932("\r\n2004年05月06日 09:07,31,120,95, \r\n2004年05月07日 09:07,31,130,95, \r\n");
    }
    CShowHistoryDlg dlg(settings);
    EXPECT_EQ(dlg.Model()->rowCount(), 2);
    ASSERT_NE(dlg.NewestOnlyNotice(), nullptr);
    EXPECT_EQ(dlg.NewestOnlyNotice()->text(), "履歴が大きいため、最新の 2 回分を表示しています。");
    dlg.show();
    EXPECT_TRUE(dlg.NewestOnlyNotice()->isVisible());
    EXPECT_TRUE(dlg.rect().contains(dlg.NewestOnlyNotice()->geometry()));
    AnswerNextMessage(QMessageBox::Yes);
    Button(&dlg, "delete_history")->click();
    EXPECT_FALSE(dlg.NewestOnlyNotice()->isVisible());

    WriteHistory("2004年05月06日 09:07,31,120,95, \r\n");
    EXPECT_EQ(CShowHistoryDlg(settings).NewestOnlyNotice(), nullptr);
}

TEST_F(HistoryDialogTest, DeletingAsksThenEmptiesTheListAndRemovesTheFile) {
    std::string text;
    for (int i = 0; i < 500; ++i) text += "2004年05月06日 09:07,1" + std::to_string(i % 5) + ",120,95,A  2 \r\n";
    WriteHistory(text);
    CShowHistoryDlg dlg(settings);
    EXPECT_EQ(dlg.Model()->rowCount(), 500);
    dlg.List()->selectRow(250);

    AnswerNextMessage(QMessageBox::No);
    Button(&dlg, "delete_history")->click();
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0], "ユーザ名　花子の履歴をすべて削除していいですか？");
    EXPECT_EQ(Icons()[0], QMessageBox::Warning);
    EXPECT_EQ(messages[0]->defaultButton, QMessageBox::No);
    EXPECT_EQ(dlg.Model()->rowCount(), 500);
    EXPECT_TRUE(QFileInfo::exists(Path("花子.hst")));

    AnswerNextMessage(QMessageBox::Yes);
    Button(&dlg, "delete_history")->click();
    EXPECT_EQ(dlg.Model()->rowCount(), 0);
    EXPECT_FALSE(Button(&dlg, "show_all")->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(Path("花子.hst")));
    // The progress window opened from the dialog now has nothing to show either.
    long long nMissed = -1;
    OnNextModal([&nMissed](QWidget* p) {
        auto* pWindow = qobject_cast<CProgressWindow*>(p);
        ASSERT_NE(pWindow, nullptr);
        nMissed = pWindow->WeakKeysPage()->HeatMap()->Counted()[2].nCount;
        pWindow->reject();
    });
    Button(&dlg, "progress")->click();
    EXPECT_EQ(nMissed, 0);

    CShowHistoryDlg again(settings);
    EXPECT_EQ(again.Model()->rowCount(), 0);
}

TEST_F(UsersDialogsTest, MenuSwitchesToTheChosenUserAndShowsTheirHistory) {
    qputenv("KIBIKI_SETTING_DIR", Folder().c_str());
    std::string text = CUserSettings::NewUserFileText();
    text.replace(text.find("Type=0"), 6, "Type=1");
    text.replace(text.find("Font=3"), 6, "Font=1");
    Write("hanako.dat", text);
    QtProfile profile(Path("Kibiki.conf"));
    CKibikiApp app(profile);
    app.InitInstance();
    for (int nCommand : {ID_USER_SELECT, ID_USER_HISTORY})
        EXPECT_TRUE(app.Frame().Action(nCommand)->isEnabled()) << nCommand;

    OnNextModal([](QWidget* p) {
        auto* pList = p->findChild<QComboBox*>("users");
        EXPECT_EQ(pList->currentText(), "default");
        pList->setCurrentIndex(pList->findText("hanako"));
        p->findChild<QPushButton*>("ok")->click();
    });
    app.Frame().Action(ID_USER_SELECT)->trigger();
    EXPECT_EQ(profile.GetProfileString("Settings", "User", ""), "hanako");
    EXPECT_EQ(app.Doc().Settings().m_strUser, "hanako");
    EXPECT_EQ(app.Form().KeyCap(0)->text(), "1 !");
    app.UpdateMenus();
    EXPECT_TRUE(app.Frame().Action(ID_MODE_ROMAN)->isChecked());
    EXPECT_TRUE(app.Frame().Action(ID_FONT_LARGE)->isChecked());

    QString strShownUser;
    OnNextModal([&strShownUser](QWidget* p) {
        strShownUser = p->findChild<CColorStatic*>("user_name")->text();
        p->findChild<QPushButton*>("close")->click();
    });
    app.Frame().Action(ID_USER_HISTORY)->trigger();
    EXPECT_EQ(strShownUser, "hanako");

    // Cancelled: the user stays.
    OnNextModal([](QWidget* p) { p->findChild<QPushButton*>("cancel")->click(); });
    app.Frame().Action(ID_USER_SELECT)->trigger();
    EXPECT_EQ(app.Doc().Settings().m_strUser, "hanako");
    qunsetenv("KIBIKI_SETTING_DIR");
}

}  // namespace
