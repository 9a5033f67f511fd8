// What the learner reads on the keyboard picture and in the counters: every legend large enough
// to see and inside its control.
#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "app/color_static.h"
#include "app/practice_window.h"

using namespace kibiki;
using namespace kibiki::ui;

namespace {

// The box around the pixels of one colour in a control's picture.
QRect InkOf(CColorStatic& cap, QColor colour) {
    const QImage image = cap.grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(Legends, SoundMarksAreCentredAndAsLargeAsAKanaLitOrNot) {
    PracticeWindow form;
    CColorStatic& cap = *form.KeyCap(41);
    const QRect centre = QRect(QPoint(0, 0), cap.size());
    for (const auto& [text, colour] : {std::pair{u"゛", 0x000000u}, {u"゜", 0x000000u}, {u"゛", 0x0000FFu},
                                       {u"ﾞ", 0x000000u}, {u"ﾟ", 0x0000FFu}}) {
        const QString mark = QString::fromUtf16(text);
        cap.SetTextColor(colour);
        cap.setText(QStringLiteral("あ"));
        const QColor ink = QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        const QRect kana = InkOf(cap, ink);
        cap.setText(mark);
        const QRect drawn = InkOf(cap, ink);
        ASSERT_FALSE(drawn.isEmpty()) << mark.toStdString();
        EXPECT_GE(std::max(drawn.width(), drawn.height()), kana.height() / 2) << mark.toStdString();
        EXPECT_LE((drawn.center() - centre.center()).manhattanLength(), 3) << mark.toStdString();
    }
}

}  // namespace
