// What the learner reads on the keyboard picture and in the counters: every legend large enough
// to see and inside its control.
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include "ui/app/color_static.h"
#include "ui/app/practice_window.h"
#include "lessons/catalogue.h"
#include "ui/kana/roman_edit_dlg.h"
#include "ui/kana/roman_setting_dlg.h"
#include "progress/practice_days.h"
#include "ui/users/progress_window.h"
#include "users/history_record.h"
#include "ui/lessons/custom_start_dlg.h"
#include "ui/lessons/lesson_end_dlg.h"
#include "ui/lessons/lesson_select_dlg.h"
#include "support/fakes.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/user_settings.h"

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

// Every text of the widget's children that does not fit its control, one per line.
std::string Clipped(const QWidget& top) {
    std::string out;
    auto report = [&](const QWidget* p, const QString& text, int need, int room) {
        if (need > room)
            out += (p->objectName() + " \"" + text + "\" needs " + QString::number(need) + " of " +
                    QString::number(room) + "\n").toStdString();
    };
    for (const QWidget* p : top.findChildren<QWidget*>()) {
        if (!p->isVisibleTo(&top)) continue;
        if (const auto* s = qobject_cast<const CColorStatic*>(p)) {
            if (s->text().isEmpty()) continue;
            const QRect room = s->TextRect().adjusted(CColorStatic::kTextAir, 0, -CColorStatic::kTextAir, 0);
            const QFontMetrics fm(s->DrawnFont());
            report(p, s->text(), fm.horizontalAdvance(s->text()), room.width());
            report(p, s->text(), fm.height(), room.height());
        } else if (const auto* l = qobject_cast<const QLabel*>(p)) {
            if (l->text().isEmpty()) continue;
            const QFontMetrics fm(l->font());
            if (l->wordWrap()) {  // wraps to its width: its lines must fit its height
                report(p, l->text(), l->heightForWidth(l->contentsRect().width()), l->contentsRect().height());
                continue;
            }
            report(p, l->text(), fm.horizontalAdvance(l->text()), l->contentsRect().width());
            report(p, l->text(), fm.height(), l->contentsRect().height());
        } else if (const auto* b = qobject_cast<const QRadioButton*>(p)) {
            report(p, b->text(), b->sizeHint().width(), b->width());
        } else if (const auto* c = qobject_cast<const QCheckBox*>(p)) {
            report(p, c->text(), c->sizeHint().width(), c->width());
        } else if (const auto* g = qobject_cast<const QGroupBox*>(p)) {
            report(p, g->title(), QFontMetrics(g->font()).horizontalAdvance(g->title()) + 16, g->width());
        }
    }
    return out;
}

// Run at 96 DPI, and at 120, 144 and 192 DPI by the entries of the test list.
TEST(Fit, EveryFixedTextFitsItsControl) {
    const std::string dpi = std::to_string(qRound(qApp->primaryScreen()->logicalDotsPerInchY()));
    PracticeWindow form;
    // The longest texts each control can be given.
    std::string title;
    for (int m = 0; m <= 4; ++m)
        for (int lesson = 1; lesson <= 7; ++lesson) {
            const std::string t = LessonTitle(lesson, static_cast<PracticeMode>(m));
            if (Cp932ToUtf8(t).size() > Cp932ToUtf8(title).size()) title = t;
        }
    form.SetControlText(IDC_TITLE, title);
    form.SetControlText(IDC_MISS_COUNT, "99999");
    form.SetControlText(IDC_ACCURACY, "100");
    form.SetControlText(IDC_REMAINING, "100000");
    for (const char* mark : {"BS", "CR", "TB", "ES", "LF", "SP", "DL", "^W", "W", "M", "ゑ", "・"}) {
        form.SetControlText(IDC_MISS_KEY, Utf8ToCp932(mark));
        EXPECT_EQ(Clipped(*form.Control(IDC_MISS_KEY)->parentWidget()), "") << dpi << " DPI, " << mark;
    }
    for (int first : {IDS_KANA_LEGEND_FIRST, IDS_ASCII_LEGEND_FIRST}) {
        for (int k = 0; k < kKeyCount; ++k) form.SetControlText(IDC_KEY_FIRST + k, StringOrEmpty(first + k));
        EXPECT_EQ(Clipped(form), "") << dpi << " DPI, legends " << first;
    }

    CUserSettings settings;
    kibiki::RecordingMessenger messenger;
    CCustomStartDlg custom(settings, messenger);
    EXPECT_EQ(Clipped(custom), "") << dpi << " DPI";
    for (int m = 0; m <= 4; ++m) {
        CLessonSelectDlg select(LessonSelectLabels(static_cast<PracticeMode>(m)));
        EXPECT_EQ(Clipped(select), "") << dpi << " DPI, mode " << m;
    }
    CRomanSettingDlg roman(settings, true);
    EXPECT_EQ(Clipped(roman), "") << dpi << " DPI";
    CRomanEditDlg edit;
    edit.KanaLabel()->setText(QStringLiteral("でぃ"));
    EXPECT_EQ(Clipped(edit), "") << dpi << " DPI";

    // The lesson end's additions at their longest.
    LessonEndInfo end;
    end.strMessage = StringOrEmpty(43003);
    end.strAccuracy = Utf8ToCp932("100％");
    end.strSpeed = Utf8ToCp932("9999／分");
    end.strKanaSpeed = Utf8ToCp932("9999字/分");
    end.strGoal = Utf8ToCp932("今日 9999／600分・連続 99999日");
    CLessonEndDlg lessonEnd(end);
    EXPECT_EQ(Clipped(lessonEnd), "") << dpi << " DPI";

    // The progress window at its smallest, each page, with a goal (the longer legend).
    settings.m_nDailyGoal = 600;
    CProgressWindow progress(settings, std::make_shared<const CHistoryRecords>(), nullptr, true, DayOfDate(2026, 12, 11));
    progress.resize(progress.minimumSize());
    progress.show();
    for (int page = 0; page < progress.Pages()->count(); ++page) {
        progress.Pages()->setCurrentIndex(page);
        QApplication::processEvents();
        EXPECT_EQ(Clipped(progress), "") << dpi << " DPI, page " << page;
    }
}

}  // namespace
