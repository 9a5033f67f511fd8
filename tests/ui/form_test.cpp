// The practice window as laid out from its template, and the controls it is built from.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/app/color_edit.h"
#include "ui/app/color_static.h"
#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "ui/guide/guide_static.h"
#include "text/cp932.h"

using namespace kibiki::ui;

TEST(DialogUnits, MapsLikeDialogTemplatesRoundingHalvesAway) {
    const DialogUnits du(7, 13);
    struct Case { int x, y, px, py; } cases[] = {
        {0, 0, 0, 0}, {4, 8, 7, 13}, {1, 1, 2, 2}, {2, 4, 4, 7}, {379, 269, 663, 437}, {-2, -4, -4, -7}};
    for (const auto& c : cases) {
        EXPECT_EQ(du.X(c.x), c.px) << c.x;
        EXPECT_EQ(du.Y(c.y), c.py) << c.y;
    }
    // Adjacent items share their edge whatever the rounding.
    EXPECT_EQ(du.Rect(20, 144, 24, 24).right() + 1, du.Rect(44, 144, 3, 24).left());
    EXPECT_EQ(du.Rect(1, 1, 1, 1).width(), du.X(2) - du.X(1));
}

TEST(DialogUnits, ComeFromTheFontAverageLetterAndHeight) {
    const QFont font = FormFont();
    const DialogUnits du(font);
    EXPECT_EQ(du.BaseY(), QFontMetrics(font).height());
    EXPECT_GT(du.BaseX(), 4);
    EXPECT_LT(du.BaseX(), du.BaseY());
}

TEST(Fonts, PointSizesShrinkWithTheDisplayScaling) {
    struct Case { int base; double dpi; int points; } cases[] = {
        {15, 96, 15}, {14, 96, 14}, {17, 96, 17}, {23, 96, 23},
        {15, 120, 12}, {14, 120, 11}, {17, 120, 13}, {23, 120, 18},
        {15, 0, 15},  // unknown DPI counts as 96
    };
    for (const auto& c : cases) EXPECT_EQ(ScaledPointSize(c.base, c.dpi), c.points) << c.base << "@" << c.dpi;
}

class FormTest : public ::testing::Test {
protected:
    CMainFrame frame;
    PracticeWindow& form = *frame.Form();
    const DialogUnits& du = form.Units();
};

TEST_F(FormTest, FrameIsFixedSizeTitledKibikiWithoutMaximise) {
    EXPECT_EQ(frame.windowTitle(), "Kibiki");
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.size(), du.Size(379, 269));
    EXPECT_EQ(frame.width(), form.width());
    const QRect screen = frame.screen()->availableGeometry();
    EXPECT_LE(std::abs(frame.geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.geometry().center().y() - screen.center().y()), 1);
}

TEST_F(FormTest, ControlsSitAtTheirTemplatePlaces) {
    struct Item { const char* name; int x, y, cx, cy; } items[] = {
        {"title", 81, 5, 225, 18},          {"question", 23, 29, 259, 47},
        {"answer", 23, 79, 259, 47},        {"progress", 283, 30, 7, 47},
        {"miss_count", 333, 35, 31, 16},    {"accuracy", 333, 53, 31, 16},
        {"remaining", 333, 71, 31, 16},     {"miss_key", 333, 92, 31, 26},
        {"finger_left_little", 20, 130, 22, 11}, {"finger_left_index", 102, 130, 49, 11},
        {"finger_right_little", 264, 130, 104, 11},
        {"shift_left", 4, 243, 34, 24},     {"shift_right", 341, 243, 34, 24},
        {"marker_A", 41, 236, 9, 5},        {"marker_;", 283, 236, 9, 5},
        // key caps: first of each row, a middle one, the last of the number row
        {"cap_ぬ", 20, 144, 24, 24},  {"cap_た", 26, 177, 24, 24},  {"cap_ち", 33, 210, 24, 24},
        {"cap_つ", 43, 243, 24, 24},  {"cap_け", 303, 210, 24, 24}, {"cap_ろ", 313, 243, 24, 24},
        {"cap_へ", 317, 144, 24, 24}, {"cap_ー", 344, 144, 24, 24},
    };
    for (const auto& it : items) {
        const QWidget* p = form.findChild<QWidget*>(QString::fromUtf8(it.name));
        ASSERT_NE(p, nullptr) << it.name;
        EXPECT_EQ(p->geometry(), du.Rect(it.x, it.y, it.cx, it.cy)) << it.name;
    }
    // Labels without ids
    EXPECT_EQ(form.findChild<QWidget*>("label問題")->geometry(), du.Rect(3, 48, 16, 8));
    EXPECT_EQ(form.findChild<QWidget*>("labelミスキー")->geometry(), du.Rect(304, 101, 27, 8));
}

TEST_F(FormTest, KeyboardRowsHoldThirteenTwelveTwelveAndElevenCaps) {
    std::map<int, int> capsAtY;
    for (int k = 0; k < kKeyCount; ++k) ++capsAtY[form.KeyCap(k)->y()];
    ASSERT_EQ(capsAtY.size(), 4u);
    std::vector<int> counts;
    for (const auto& [y, n] : capsAtY) counts.push_back(n);
    EXPECT_EQ(counts, (std::vector<int>{13, 12, 12, 11}));
}

TEST_F(FormTest, FontsFollowThePointSizesOfTheForm) {
    struct Case { int id; int points; bool bold; } cases[] = {
        {1000, 15, true}, {1047, 15, true}, {1079, 14, false}, {1080, 14, false}, {1072, 17, true},
        {1075, 14, false}, {1077, 14, false}, {1078, 14, false}, {1076, 23, false}, {1060, 9, false},
    };
    for (const auto& c : cases) {
        const QFont f = form.Control(c.id)->font();
        EXPECT_EQ(f.pointSize(), c.points) << c.id;
        EXPECT_EQ(f.bold(), c.bold) << c.id;
    }
    EXPECT_EQ(form.FingerLabel(3)->text(), "人差し指");
    EXPECT_EQ(form.Static(1080)->text(), "SHIFT");
}

TEST_F(FormTest, ClickingIntoATextBoxLeavesTheFocusWithTheForm) {
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    form.setFocus();
    for (int id : {1073, 1074}) {
        CColorEdit* pEdit = form.Edit(id);
        QTest::mouseClick(pEdit->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(pEdit->hasFocus()) << id;
        pEdit->setFocus();  // even when asked directly, the box passes the focus on
        EXPECT_FALSE(pEdit->hasFocus()) << id;
        EXPECT_EQ(QApplication::focusWidget(), &form) << id;
    }
}

TEST_F(FormTest, MenuBarCarriesTheCommandsWithAccessKeysAndNoNetworkItem) {
    QStringList titles;
    for (QAction* p : frame.menuBar()->actions()) titles << p->text();
    EXPECT_EQ(titles, (QStringList{"レッスン(&L)", "ユーザ(&U)", "設定(&O)", "ヘルプ(&H)"}));
    struct Case { int id; const char* text; } cases[] = {
        {57600, "レッスンの開始(&N)..."}, {32771, "レッスンの終了"}, {57665, "Kibikiの終了(&X)"},
        {149, "選択(&S)..."}, {150, "履歴表示(&H)..."}, {32776, "かな入力練習"},
        {32777, "ローマ字入力練習"}, {32778, "ひらがなローマ字入力練習"}, {147, "かな入力練習（漢字）"},
        {148, "ローマ字入力練習（漢字）"}, {32774, "色の設定..."}, {32775, "オリジナルレッスン..."},
        {137, "小"}, {138, "中"}, {139, "大"}, {32781, "ローマ字の設定..."}, {32772, "目次(&C)"},
        {57664, "バージョン情報(&A)..."},
    };
    for (const auto& c : cases) {
        ASSERT_NE(frame.Action(c.id), nullptr) << c.id;
        EXPECT_EQ(frame.Action(c.id)->text(), QString::fromUtf8(c.text)) << c.id;
    }
    EXPECT_EQ(frame.Action(57600)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame.Action(32782), nullptr);
    for (QAction* p : frame.findChildren<QAction*>()) EXPECT_FALSE(p->text().contains("ネットワーク"));
}

TEST(ColorStatic, CapLooksSwapRaisedAndSunkenKeepingOtherEdges) {
    CColorStatic cap;
    cap.SetEdges(CColorStatic::kModalFrame);
    cap.SetSunken(true);
    EXPECT_EQ(cap.Edges(), unsigned(CColorStatic::kStaticEdge | CColorStatic::kClientEdge));
    cap.SetSunken(false);
    EXPECT_EQ(cap.Edges(), unsigned(CColorStatic::kModalFrame));
    CColorStatic title;
    title.SetEdges(CColorStatic::kStaticEdge | CColorStatic::kModalFrame);
    title.SetSunken(false);
    EXPECT_EQ(title.Edges(), unsigned(CColorStatic::kModalFrame));
}

TEST(ColorStatic, PaintsTheStoredColorRefExactly) {
    CColorStatic cap;
    cap.resize(40, 40);
    cap.SetEdges(CColorStatic::kModalFrame);
    cap.SetBackColor(0x00FF8000);  // blue 0xFF, green 0x80, red 0x00
    const QImage img = cap.grab().toImage();
    EXPECT_EQ(img.pixelColor(20, 20), QColor(0x00, 0x80, 0xFF));
    EXPECT_NE(img.pixelColor(0, 0), QColor(0x00, 0x80, 0xFF));  // the edge is drawn
}

TEST(ColorStatic, AFramedCapIsRingedInItsLegendColourOutsideTheLegend) {
    CColorStatic cap;
    cap.resize(40, 40);
    cap.SetEdges(CColorStatic::kModalFrame);
    cap.SetBackColor(0x00FFFF);
    cap.SetTextColor(0xCC3300);
    const QColor ink(0x00, 0x33, 0xCC);
    EXPECT_NE(cap.grab().toImage().pixelColor(1, 20), ink);
    cap.SetFramed(true);
    const QImage img = cap.grab().toImage();
    for (const QPoint at : {QPoint(0, 0), QPoint(2, 20), QPoint(20, 39), QPoint(37, 20)})
        EXPECT_EQ(img.pixelColor(at), ink) << at.x() << "," << at.y();
    EXPECT_EQ(img.pixelColor(CColorStatic::kFrameWidth, 20), QColor(0xFF, 0xFF, 0x00));  // the face inside
}

TEST(GuideStatic, DrawsAnUpwardTriangleOnlyWhenVisible) {
    CGuideStatic marker;
    marker.resize(16, 9);
    marker.SetMarkerColor(0x000000FF);
    QImage img = marker.grab().toImage();
    EXPECT_EQ(img.pixelColor(8, 7), QColor(0xFF, 0, 0));  // bottom middle
    EXPECT_NE(img.pixelColor(1, 1), QColor(0xFF, 0, 0));  // above the left slope
    marker.SetMarkerVisible(false);
    img = marker.grab().toImage();
    EXPECT_NE(img.pixelColor(8, 7), QColor(0xFF, 0, 0));
}

TEST(ColorEdit, CellHeightMakesTheChosenNumberOfLinesFillTheBox) {
    CMainFrame frame;
    CColorEdit* pEdit = frame.Form()->Edit(1073);
    const int h = pEdit->FormatHeight();
    for (int nLines : {1, 2, 3}) {
        pEdit->SetCellHeight(h / nLines);
        const int cell = QFontMetrics(pEdit->font()).height();
        EXPECT_LE(cell, h / nLines) << nLines;
        EXPECT_GE(cell, h / nLines - 2) << nLines;
    }
}

// The size a legend is drawn at is kept between paints; it must follow the text, the set size
// and the room, or a cap would keep the size of the legend it showed before.
TEST(ColorStatic, DrawnSizeFollowsTextSizeAndRoom) {
    CColorStatic cap;
    cap.setFont(FormFont());
    cap.SetEdges(CColorStatic::kModalFrame);
    cap.resize(40, 40);
    cap.SetPointSize(15);
    cap.setText(QStringLiteral("ち"));
    EXPECT_EQ(cap.DrawnFont().pointSizeF(), 15);
    cap.setText(QStringLiteral("SHIFT"));
    const qreal shrunk = cap.DrawnFont().pointSizeF();
    EXPECT_LT(shrunk, 15);
    EXPECT_LE(QFontMetrics(cap.DrawnFont()).horizontalAdvance(cap.text()), 40 - 2 * (cap.EdgeWidth() + CColorStatic::kTextAir));
    cap.resize(120, 40);
    EXPECT_EQ(cap.DrawnFont().pointSizeF(), 15);
    cap.SetPointSize(9);
    EXPECT_EQ(cap.DrawnFont().pointSizeF(), 9);
    cap.resize(40, 40);
    cap.SetPointSize(15);
    EXPECT_EQ(cap.DrawnFont().pointSizeF(), shrunk);
    EXPECT_EQ(cap.DrawnFont().bold(), cap.font().bold());
}

// Text that extends the shown text is added to it; the box must end as if it had been set whole.
TEST(ColorEdit, AddedTextEndsLikeTextSetWhole) {
    CMainFrame frame;
    CColorEdit* pAdded = frame.Form()->Edit(1073);
    CColorEdit* pWhole = frame.Form()->Edit(1074);
    const std::vector<std::string> steps = {kibiki::Utf8ToCp932("ま"), kibiki::Utf8ToCp932("まの"),
                                            kibiki::Utf8ToCp932("まの\r\nき"), kibiki::Utf8ToCp932("まの\r\nきく"),
                                            "", kibiki::Utf8ToCp932("ち"), kibiki::Utf8ToCp932("と")};
    for (const std::string& text : steps) {
        pAdded->SetCp932Text(text);
        pWhole->SetCp932Text("x");  // a prefix of none of them: the text is set whole
        pWhole->SetCp932Text(text);
        EXPECT_EQ(pAdded->toPlainText(), pWhole->toPlainText()) << text;
        EXPECT_EQ(pAdded->document()->blockCount(), pWhole->document()->blockCount()) << text;
        EXPECT_EQ(pAdded->textCursor().position(), 0) << text;
        EXPECT_FALSE(pAdded->document()->isUndoAvailable()) << text;
        EXPECT_EQ(pAdded->LineFromOffset(static_cast<int>(text.size())), pWhole->LineFromOffset(static_cast<int>(text.size())));
    }
}

TEST(ColorEdit, LinesAndCaretCountInCp932Bytes) {
    CMainFrame frame;
    CColorEdit* pEdit = frame.Form()->Edit(1073);
    pEdit->SetCellHeight(pEdit->FormatHeight() / 3);
    std::string text;
    for (int i = 0; i < 60; ++i) text += kibiki::Utf8ToCp932("あ");
    pEdit->SetCp932Text(text);
    const int nLines = pEdit->LineCount();
    EXPECT_GT(nLines, 1);
    EXPECT_EQ(pEdit->LineFromOffset(0), 0);
    EXPECT_EQ(pEdit->LineFromOffset(static_cast<int>(text.size())), nLines - 1);
    // The first character of line 1 sits at an even byte offset: lines never split a kana.
    int nFirst = 0;
    while (nFirst < int(text.size()) && pEdit->LineFromOffset(nFirst) == 0) nFirst += 2;
    EXPECT_EQ(pEdit->LineFromOffset(nFirst - 1), 0);
    pEdit->SetCaret(nFirst);
    EXPECT_EQ(pEdit->textCursor().position(), nFirst / 2);
    EXPECT_FALSE(pEdit->textCursor().hasSelection());
}
