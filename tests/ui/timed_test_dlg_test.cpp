// The timed test's dialogs: the choice made, and the result shown and answered.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "lessons/test_passages.h"
#include "text/cp932.h"
#include "ui/lessons/timed_result_dlg.h"
#include "ui/lessons/timed_test_dlg.h"

using namespace kibiki;
using namespace kibiki::ui;

namespace {

TEST(TimedTestDlg, OffersTheLengthsInputsAndPassagesAndAnswersTheChoice) {
    CTimedTestDlg dlg(DefaultTestChoice(PracticeMode::RomajiKanji));
    auto* length = dlg.findChild<QComboBox*>("length");
    auto* input = dlg.findChild<QComboBox*>("input");
    auto* text = dlg.findChild<QComboBox*>("text");
    ASSERT_TRUE(length && input && text);
    EXPECT_EQ(length->count(), 4);
    EXPECT_EQ(length->currentText(), "10 分");
    EXPECT_EQ(input->currentText(), "ローマ字入力");
    EXPECT_EQ(text->count(), static_cast<int>(TestPassages().size()) + 1);
    EXPECT_EQ(dlg.Choice().nPassage, -1);

    length->setCurrentIndex(0);
    input->setCurrentIndex(0);
    text->setCurrentIndex(2);
    const TimedTestChoice c = dlg.Choice();
    EXPECT_EQ(c.nMinutes, 1);
    EXPECT_FALSE(c.bRomaji);
    EXPECT_EQ(c.nPassage, 1);
    EXPECT_EQ(text->currentText().toStdString(), Cp932ToUtf8(TestPassages()[1].strTitle));
}

TEST(TimedTestDlg, OffersTheRegisteredLessonFilesAfterThePassages) {
    CTimedTestDlg dlg(DefaultTestChoice(PracticeMode::KanaKanji), {Utf8ToCp932("天気の言葉")},
                      {Utf8ToCp932("/home/u/天気.txt")});
    auto* text = dlg.findChild<QComboBox*>("text");
    ASSERT_TRUE(text);
    const int file = static_cast<int>(TestPassages().size()) + 2;  // after a separator
    ASSERT_EQ(text->count(), file + 1);
    EXPECT_EQ(text->itemText(file), "ファイル: 天気の言葉");
    text->setCurrentIndex(file);
    EXPECT_EQ(dlg.Choice().strFile, "/home/u/天気.txt");
    text->setCurrentIndex(1);
    EXPECT_EQ(dlg.Choice().strFile, "");
    EXPECT_EQ(dlg.Choice().nPassage, 0);
}

TEST(TimedResultDlg, ShowsTheRowsAndTheNextGradeAndAnswersAgain) {
    TimedTestResultInfo info;
    info.strTitle = Utf8ToCp932("腕試し1分");
    info.rows = {{Utf8ToCp932("入力した文字数"), Utf8ToCp932("52字")}};
    info.strNextGrade = Utf8ToCp932("あと 42字で3級の目安");
    CTimedResultDlg dlg(info);
    EXPECT_EQ(dlg.windowTitle(), "腕試し1分");
    EXPECT_EQ(dlg.findChild<QLabel*>("row_0")->text(), "52字");
    EXPECT_EQ(dlg.findChild<QLabel*>("next_grade")->text(), "あと 42字で3級の目安");
    QTimer::singleShot(0, &dlg, [&] { dlg.findChild<QPushButton*>("again")->click(); });
    EXPECT_EQ(dlg.Run(), LESSON_END_AGAIN);
    QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
    EXPECT_EQ(dlg.Run(), LESSON_END_STOP);
}

}  // namespace
