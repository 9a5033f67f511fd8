// The romaji settings dialog and its spelling editor: what they show, what they refuse, and
// what reaches the settings record.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ui/kana/roman_edit_dlg.h"
#include "ui/kana/roman_setting_dlg.h"
#include "lessons/kibiki_doc.h"
#include "ui_test_util.h"
#include "users/user_settings.h"

using namespace kibiki;
using namespace kibiki::ui;
using namespace kibiki::ui::test;

namespace {

class RomanSettingDlgTest : public ::testing::Test {
protected:
    RomanSettingDlgTest() {
        doc.Settings().SetFolder(dir.filePath("Setting").toStdString());
        doc.Settings().LoadUser("test");
    }
    QString Spelling(const CRomanSettingDlg& dlg, int nRow) { return dlg.List()->topLevelItem(nRow)->text(1); }
    void SelectRow(CRomanSettingDlg& dlg, int nRow) {
        dlg.List()->setCurrentItem(dlg.List()->topLevelItem(nRow));
    }
    // Clicks "変更" and runs fn on the edit dialog once it is open.
    void Edit(CRomanSettingDlg& dlg, std::function<void(CRomanEditDlg*)> fn) {
        bool bRan = false;
        OnNextModal([&](QWidget* p) {
            auto* edit = qobject_cast<CRomanEditDlg*>(p);
            ASSERT_NE(edit, nullptr);
            bRan = true;
            fn(edit);
            if (edit->isVisible()) edit->reject();
        });
        dlg.ChangeButton()->click();
        EXPECT_TRUE(bRan);
    }

    QTemporaryDir dir;
    CKibikiDoc doc;
};

TEST_F(RomanSettingDlgTest, ListIsUsableOnlyWithFixedSpellingAndChangeOnlyWithARowSelected) {
    CRomanSettingDlg dlg(doc.Settings(), false);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "ローマ字の設定");
    EXPECT_FALSE(dlg.FixRoman()->isChecked());
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 151);
    EXPECT_EQ(dlg.List()->headerItem()->text(0), "ひらがな");
    EXPECT_EQ(dlg.List()->headerItem()->text(1), "ローマ字");
    EXPECT_EQ(dlg.List()->topLevelItem(150)->text(0), "でぃ");
    EXPECT_EQ(Spelling(dlg, 150), "DHI");
    EXPECT_FALSE(dlg.List()->isEnabled());
    EXPECT_FALSE(dlg.ChangeButton()->isEnabled());
    EXPECT_TRUE(dlg.DeleteLearningButton()->isEnabled());
    EXPECT_TRUE(dlg.findChild<QPushButton*>("ok")->isDefault());
    // Both headings show whole and the two columns share the list's width.
    for (int c = 0; c < 2; ++c)
        EXPECT_GE(dlg.List()->columnWidth(c), dlg.List()->header()->sectionSizeHint(c)) << c;
    EXPECT_LE(dlg.List()->columnWidth(0) + dlg.List()->columnWidth(1), dlg.List()->viewport()->width());

    dlg.FixRoman()->click();
    EXPECT_TRUE(dlg.List()->isEnabled());
    EXPECT_FALSE(dlg.ChangeButton()->isEnabled());  // focus alone chooses no row
    SelectRow(dlg, 11);
    EXPECT_TRUE(dlg.ChangeButton()->isEnabled());
    dlg.List()->clearSelection();
    EXPECT_FALSE(dlg.ChangeButton()->isEnabled());
    SelectRow(dlg, 12);
    dlg.FixRoman()->click();
    EXPECT_FALSE(dlg.List()->isEnabled());
    EXPECT_FALSE(dlg.ChangeButton()->isEnabled());
    EXPECT_FALSE(dlg.Model().m_bFixRoman);
}

TEST_F(RomanSettingDlgTest, EditOffersTheRowRefusesAnythingButLettersAndShowsTheUpperCaseAtOnce) {
    doc.Settings().SetIndexedString("Roman", 16, "TI");
    CRomanSettingDlg dlg(doc.Settings(), true);
    dlg.show();
    EXPECT_EQ(Spelling(dlg, 16), "TI");
    SelectRow(dlg, 11);

    std::vector<std::shared_ptr<ShownMessage>> shown;
    Edit(dlg, [&](CRomanEditDlg* edit) {
        EXPECT_EQ(edit->windowTitle(), "ローマ字の変更");
        EXPECT_EQ(edit->KanaLabel()->text(), "し");
        EXPECT_EQ(edit->RomanEdit()->text(), "SI");
        EXPECT_EQ(edit->RomanEdit()->selectedText(), "SI");
        EXPECT_FALSE(edit->RomanEdit()->testAttribute(Qt::WA_InputMethodEnabled));
        for (const char* bad : {"し", "sh1", "s i", "ｓｈｉ", "shiiiii"}) {
            edit->RomanEdit()->setText(QString::fromUtf8(bad));
            shown.push_back(AnswerNextMessageBox(QMessageBox::Ok));
            edit->findChild<QPushButton*>("ok")->click();
            EXPECT_TRUE(edit->isVisible()) << bad;
            EXPECT_EQ(edit->RomanEdit()->selectedText(), QString::fromUtf8(bad));
        }
        edit->RomanEdit()->setText("sHi");
        edit->findChild<QPushButton*>("ok")->click();
        EXPECT_FALSE(edit->isVisible());
    });
    ASSERT_EQ(shown.size(), 5u);
    for (const auto& p : shown) {
        EXPECT_TRUE(p->answered);
        EXPECT_TRUE(p->text.contains("A～Z")) << p->text.toStdString();
        EXPECT_EQ(p->icon, QMessageBox::Warning);
    }
    EXPECT_EQ(Spelling(dlg, 11), "SHI");
    EXPECT_EQ(doc.Settings().GetIndexedString("Roman", 11, "none"), "none");  // waits for "OK"

    // Cancel changes nothing; an empty spelling shows the default it stands for.
    SelectRow(dlg, 16);
    Edit(dlg, [](CRomanEditDlg* edit) {
        edit->RomanEdit()->setText("CHA");
        edit->findChild<QPushButton*>("cancel")->click();
    });
    EXPECT_EQ(Spelling(dlg, 16), "TI");
    Edit(dlg, [](CRomanEditDlg* edit) {
        edit->RomanEdit()->clear();
        edit->findChild<QPushButton*>("ok")->click();
    });
    EXPECT_EQ(Spelling(dlg, 16), "CHI");

    // A double click edits the row too.
    bool bOpened = false;
    OnNextModal([&](QWidget* p) {
        bOpened = qobject_cast<CRomanEditDlg*>(p) != nullptr;
        static_cast<QDialog*>(p)->reject();
    });
    QTreeWidgetItem* row = dlg.List()->topLevelItem(16);
    const QPoint at = dlg.List()->visualItemRect(row).center();
    QTest::mouseClick(dlg.List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dlg.List()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(bOpened);
    EXPECT_TRUE(dlg.isVisible());

    dlg.accept();
    ASSERT_TRUE(dlg.Model().Apply(doc));
    EXPECT_EQ(doc.Settings().GetIndexedString("Roman", 11, "none"), "SHI");
    EXPECT_EQ(doc.Settings().GetIndexedString("Roman", 16, "none"), "");
    EXPECT_TRUE(doc.RomanMode());
}

TEST_F(RomanSettingDlgTest, InputMethodSpellingsBoxWorksInEitherModeAndOkStoresIt) {
    CRomanSettingDlg dlg(doc.Settings(), true);
    dlg.show();
    QCheckBox* box = dlg.ImeSpellings();
    EXPECT_EQ(box->text(), "IMEと同じつづりをすべて受け付ける");
    EXPECT_FALSE(box->isChecked());
    dlg.FixRoman()->click();
    EXPECT_TRUE(box->isEnabled());
    // The whole text fits in the dialog, clear of the list and the buttons.
    EXPECT_GE(box->width(), box->sizeHint().width());
    EXPECT_LE(box->geometry().right(), dlg.width());
    EXPECT_GT(box->y(), dlg.List()->geometry().bottom());
    // Tab goes down the left column, then to the buttons.
    const auto nextTabStop = [&dlg](QWidget* w) {
        QWidget* n = w->nextInFocusChain();
        while (n != w && (!(n->focusPolicy() & Qt::TabFocus) || !n->isVisibleTo(&dlg) || w->isAncestorOf(n)))
            n = n->nextInFocusChain();
        return n;
    };
    EXPECT_EQ(nextTabStop(dlg.FixRoman()), dlg.List());
    EXPECT_EQ(nextTabStop(dlg.List()), box);
    EXPECT_EQ(nextTabStop(box), dlg.findChild<QPushButton*>("ok"));
    box->click();
    EXPECT_FALSE(doc.Settings().m_bImeSpellings);  // waits for OK
    dlg.findChild<QPushButton*>("ok")->click();
    ASSERT_TRUE(dlg.Model().Apply(doc));
    EXPECT_TRUE(doc.Settings().m_bImeSpellings);
    CRomanSettingDlg again(doc.Settings(), false);
    EXPECT_TRUE(again.ImeSpellings()->isChecked());
}

TEST_F(RomanSettingDlgTest, DeletingTheLearningActsAtOnceAndCancelDoesNotBringItBack) {
    doc.Settings().SetIndexedInt("DynRoman", 40111, 40710);
    CRomanSettingDlg dlg(doc.Settings(), false);
    dlg.show();

    auto no = AnswerNextMessageBox(QMessageBox::No);
    dlg.DeleteLearningButton()->click();
    ASSERT_TRUE(no->answered);
    EXPECT_EQ(no->text, "ローマ字の学習を削除してよろしいですか？");
    EXPECT_EQ(no->caption, "Kibiki");
    EXPECT_EQ(no->defaultButton, QMessageBox::No);
    EXPECT_EQ(doc.Settings().GetIndexedInt("DynRoman", 40111, 0), 40710);

    auto yes = AnswerNextMessageBox(QMessageBox::Yes);
    dlg.DeleteLearningButton()->click();
    ASSERT_TRUE(yes->answered);
    dlg.findChild<QPushButton*>("cancel")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(doc.Settings().m_mapDynRoman.empty());
    CUserSettings reread;
    reread.SetFolder(dir.filePath("Setting").toStdString());
    reread.LoadUser("test");
    EXPECT_TRUE(reread.m_mapDynRoman.empty());
}

}  // namespace
