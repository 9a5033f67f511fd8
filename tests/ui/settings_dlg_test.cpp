// The settings dialogs: colours and registered lesson files, what they show and what they answer.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/app/color_static.h"
#include "ui/app/colorref.h"
#include "ui/guide/color_dlg.h"
#include "ui/guide/color_swatch.h"
#include "ui/lessons/custom_lesson_dlg.h"
#include "text/cp932.h"
#include "ui_test_util.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

TEST(ColorDlg, FoldsToItsTopStripWhileBothSwitchesAreClear) {
    CUserSettings settings;
    settings.SetInt("Color", 0);
    settings.SetInt("HomePos", 0);
    CColorDlg dlg(settings);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "色の設定");
    EXPECT_EQ(dlg.size(), dlg.FoldedSize());
    EXPECT_LT(dlg.FoldedSize().height(), dlg.FullSize().height() / 3);
    EXPECT_FALSE(dlg.Swatch(1109)->isVisible());
    EXPECT_TRUE(dlg.findChild<QPushButton*>("cancel")->isVisible());

    dlg.CheckBox(IDC_CHECK_HOMEPOS)->click();
    EXPECT_EQ(dlg.size(), dlg.FullSize());
    EXPECT_TRUE(dlg.Swatch(1109)->isVisible());
    EXPECT_TRUE(dlg.Sample(9)->isVisible());
    dlg.CheckBox(IDC_CHECK_COLOR)->click();
    dlg.CheckBox(IDC_CHECK_HOMEPOS)->click();
    EXPECT_EQ(dlg.size(), dlg.FullSize());
    dlg.CheckBox(IDC_CHECK_COLOR)->click();
    EXPECT_EQ(dlg.size(), dlg.FoldedSize());
    EXPECT_FALSE(dlg.Model().m_bColor);
    EXPECT_FALSE(dlg.Model().m_bHomePos);
}

TEST(ColorDlg, SwatchesAndSamplesShowTheColoursAndFollowThePresetsAndTheChooser) {
    CUserSettings settings;
    for (int g = 0; g < 4; ++g) settings.SetIndexedInt("ColorB", g, 0x808080);
    settings.SetInt("HomeColor", 0x00FF00);
    CColorDlg dlg(settings);
    EXPECT_EQ(dlg.Swatch(1110)->BackColor(), 0x808080u);
    EXPECT_EQ(dlg.Swatch(1114)->BackColor(), 0x00FF00u);
    EXPECT_EQ(dlg.Sample(0)->text(), "A");
    EXPECT_EQ(dlg.Sample(9)->text(), ";");
    EXPECT_EQ(dlg.Sample(0)->font().pointSize(), 13);

    dlg.findChild<QPushButton*>("standard_colors")->click();  // 標準配色
    const std::uint32_t rows[3][4] = {{0x00FFFF, 0xFFFF00, 0xC0C0C0, 0x00FF00}, {0, 0, 0, 0},
                                      {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF}};
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(dlg.Swatch(1109 + g)->BackColor(), rows[0][g]) << g;
        EXPECT_EQ(dlg.Swatch(1123 + g)->BackColor(), rows[1][g]) << g;
        EXPECT_EQ(dlg.Swatch(1119 + g)->BackColor(), rows[2][g]) << g;
    }
    EXPECT_EQ(dlg.Swatch(1114)->BackColor(), 0u);
    EXPECT_EQ(dlg.Sample(4)->TextColor(), 0u);        // G: its legend colour
    EXPECT_EQ(dlg.Sample(5)->TextColor(), 0x0000FFu);  // H: lit

    // A chosen colour lands in its swatch and the samples; a cancelled chooser changes nothing.
    QColor offered;
    dlg.m_fnChooseColor = [&](QWidget*, const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(0, 0, 170);
    };
    QTest::mouseClick(dlg.Swatch(1122), Qt::LeftButton);
    EXPECT_EQ(offered, QColor(255, 0, 0));
    EXPECT_EQ(dlg.Swatch(1122)->BackColor(), 0xAA0000u);
    EXPECT_EQ(dlg.Sample(6)->TextColor(), 0xAA0000u);  // J
    EXPECT_EQ(dlg.Sample(3)->TextColor(), 0u);         // F keeps its legend colour
    dlg.m_fnChooseColor = [](QWidget*, const QColor&) { return std::nullopt; };
    dlg.Swatch(1109)->setFocus();
    QTest::keyClick(dlg.Swatch(1109), Qt::Key_Space);
    EXPECT_EQ(dlg.Swatch(1109)->BackColor(), 0x00FFFFu);

    dlg.findChild<QPushButton*>("clear_colors")->click();  // 見やすい配色
    EXPECT_EQ(dlg.Swatch(1119)->BackColor(), kClearColors.colorLG[0]);
    EXPECT_EQ(dlg.Sample(2)->BackColor(), kClearColors.colorB[2]);
    EXPECT_EQ(dlg.findChild<QPushButton*>("clear_colors")->text(), "見やすい配色");
    EXPECT_EQ(settings.GetIndexedInt("ColorB", 0, 0), 0x808080);  // the record waits for "OK"

    // The clear scheme frames the next key; the lit samples show it. The standard one does not;
    // the check box stays in the top strip, so it works with the dialog folded too.
    QCheckBox* frame = dlg.CheckBox(1059);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->text(), "次のキーを太枠で示す");
    EXPECT_TRUE(frame->isChecked());
    EXPECT_TRUE(dlg.Sample(5)->IsFramed());
    EXPECT_FALSE(dlg.Sample(4)->IsFramed());
    dlg.findChild<QPushButton*>("standard_colors")->click();
    EXPECT_FALSE(frame->isChecked());
    EXPECT_FALSE(dlg.Sample(5)->IsFramed());
    frame->click();
    EXPECT_TRUE(dlg.Sample(9)->IsFramed());
    dlg.CheckBox(1097)->setChecked(false);
    dlg.CheckBox(1098)->setChecked(false);
    EXPECT_EQ(dlg.size(), dlg.FoldedSize());
    EXPECT_FALSE(frame->isHidden());
    EXPECT_LE(frame->geometry().bottom(), dlg.height());
    EXPECT_EQ(settings.GetInt("NextKeyFrame", -1), 0);
}

class CustomLessonDlgTest : public ::testing::Test {
protected:
    CustomLessonDlgTest() {
        settings.SetFolder(dir.filePath("Setting").toStdString());
        settings.LoadUser("test");
        Write("one.txt", "#KANA\r\nレッスンone\r\nかさ\r\n");
        settings.SetIndexedString("No", 0, Utf8ToCp932("レッスンone"));
        settings.SetIndexedString("File", 0, dir.filePath("one.txt").toStdString());
        settings.SetInt("count", 1);
        settings.SaveUser();
    }
    QString Write(const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    QByteArray SettingsFile() {
        QFile f(dir.filePath("Setting/test.dat"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir dir;
    CUserSettings settings;
};

TEST_F(CustomLessonDlgTest, OpensWithTheListAndOnlyAddOffered) {
    CCustomLessonDlg dlg(settings, "/samples");
    EXPECT_EQ(dlg.windowTitle(), "オリジナルレッスン設定");
    ASSERT_EQ(dlg.List()->count(), 1);
    EXPECT_EQ(dlg.List()->item(0)->text(), "レッスンone");
    EXPECT_TRUE(dlg.Button(1069)->isEnabled());
    EXPECT_FALSE(dlg.Button(1070)->isEnabled());
    EXPECT_FALSE(dlg.Button(1071)->isEnabled());
    EXPECT_EQ(dlg.Separator()->text(), "｜");
    dlg.List()->item(0)->setSelected(true);
    EXPECT_TRUE(dlg.Button(1070)->isEnabled());
    EXPECT_TRUE(dlg.Button(1071)->isEnabled());
}

TEST_F(CustomLessonDlgTest, AddChangeDeleteAndSeparatorAreSavedByOkOnly) {
    const QString utf8 = Write("utf8.txt", "#KanaKanji\n天気\n雨,あめ\n");
    const QString other = Write("other.txt", "#ROMANJ\n\nかさ\n");
    const QByteArray before = SettingsFile();
    {
        CCustomLessonDlg dlg(settings, "/samples");
        QStringList folders;
        QString next = utf8;
        dlg.m_fnChooseFile = [&](QWidget*, const QString& folder) { folders << folder; return next; };
        dlg.Button(1069)->click();
        ASSERT_EQ(dlg.List()->count(), 2);
        EXPECT_EQ(dlg.List()->item(1)->text(), "天気");
        EXPECT_TRUE(dlg.List()->item(1)->isSelected());
        next = other;
        dlg.Button(1071)->click();  // replaces the selected entry
        EXPECT_EQ(dlg.List()->item(1)->text(), "オリジナル(other.txt)");
        dlg.List()->item(0)->setSelected(true);
        dlg.Button(1070)->click();
        ASSERT_EQ(dlg.List()->count(), 1);
        EXPECT_EQ(folders, QStringList({dir.path(), dir.path()}));
        dlg.Separator()->clear();
        QTest::keyClicks(dlg.Separator(), "/x");  // one character only
        EXPECT_EQ(dlg.Separator()->text(), "/");
        dlg.reject();
    }
    EXPECT_EQ(SettingsFile(), before);  // "キャンセル" keeps the file as it was

    CCustomLessonDlg dlg(settings, "/samples");
    QStringList folders;
    dlg.m_fnChooseFile = [&](QWidget*, const QString& folder) { folders << folder; return utf8; };
    dlg.List()->item(0)->setSelected(true);
    dlg.Button(1070)->click();
    EXPECT_FALSE(dlg.Button(1070)->isEnabled());
    dlg.Button(1069)->click();
    EXPECT_EQ(folders, QStringList({"/samples"}));  // nothing registered: the sample lessons
    dlg.Separator()->setText("・");
    dlg.findChild<QPushButton*>("ok")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const QByteArray file = SettingsFile();
    EXPECT_TRUE(file.contains("\r\ncount=1\r\nKanaSepa=" + QByteArray(Utf8ToCp932("・").c_str()) + "\r\n"));
    EXPECT_TRUE(file.contains("\r\nNo0=" + QByteArray(Utf8ToCp932("天気").c_str()) + "\r\nFile0=" +
                              utf8.toUtf8() + "\r\n"));
}

TEST_F(CustomLessonDlgTest, AFileThatIsNoLessonIsRefusedOverTheDialog) {
    const QString bad = Write("bad.txt", "#KANA \r\nx\r\n");
    CCustomLessonDlg dlg(settings, "/samples");
    dlg.m_fnChooseFile = [&](QWidget*, const QString&) { return bad; };
    QString shown;
    QWidget* parent = nullptr;
    OnNextModal([&](QWidget* p) {
        auto* box = qobject_cast<QMessageBox*>(p);
        shown = box->text();
        parent = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    dlg.Button(1069)->click();
    EXPECT_EQ(shown, "このファイルは、登録できません。\n単語ファイルの書き方をヘルプで確認してください。");
    EXPECT_EQ(parent, &dlg);
    EXPECT_EQ(dlg.List()->count(), 1);
}

}  // namespace
