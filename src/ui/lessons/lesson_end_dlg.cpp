#include "ui/lessons/lesson_end_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "ui/app/color_static.h"
#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"
#include "ui/users/show_miss_details_dlg.h"

namespace kibiki::ui {

CLessonEndDlg::CLessonEndDlg(const LessonEndInfo& info, QWidget* pParent)
    : QDialog(pParent), m_info(info) {
    setObjectName(QStringLiteral("lessonEndDlg"));
    setWindowTitle(QStringLiteral("レッスン終了"));
    setFont(FormFont());
    const DialogUnits du(font());
    // Kana per minute takes a row of its own, below the keystrokes, in the modes with kana; the
    // daily goal's line one more, while a goal is set.
    const bool bKana = !info.strKanaSpeed.empty();
    const bool bGoal = !info.strGoal.empty();
    const int dyGoal = bGoal ? 16 : 0;
    const int dy = (bKana ? 18 : 0) + dyGoal;
    setFixedSize(du.Size(220, 140 + dy));

    auto addStatic = [&](const char* pszName, const std::string& text, int x, int y, int cx, int cy,
                         Qt::Alignment align) {
        auto* p = new CColorStatic(this);
        p->setObjectName(QString::fromUtf8(pszName));
        p->setGeometry(du.Rect(x, y, cx, cy));
        p->setAlignment(align);
        p->setText(FromCp932(text));
        return p;
    };
    auto addLabel = [&](const char* pszText, int x, int y, int cx) {
        auto* p = new QLabel(QString::fromUtf8(pszText), this);
        p->setGeometry(du.Rect(x, y, cx, 12));
        p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return p;
    };

    addStatic("message", info.strMessage, 7, 6, 206, 24, Qt::AlignCenter)->SetPointSize(15);
    addLabel("正解率", 14, 36, 34);
    addStatic("accuracy", info.strAccuracy, 52, 34, 50, 16, Qt::AlignLeft | Qt::AlignVCenter)
        ->SetPointSize(13);
    addLabel("速度", 110, 36, 24);
    addStatic("speed", info.strSpeed, 138, 34, 70, 16, Qt::AlignLeft | Qt::AlignVCenter)
        ->SetPointSize(13);
    if (bKana) {
        addLabel("かな速度", 90, 54, 44);
        addStatic("kana_speed", info.strKanaSpeed, 138, 52, 70, 16, Qt::AlignLeft | Qt::AlignVCenter)
            ->SetPointSize(13);
    }
    if (bGoal)
        addStatic("goal", info.strGoal, 7, 54 + (bKana ? 18 : 0), 206, 14, Qt::AlignCenter);

    auto* pGroup = new QGroupBox(QStringLiteral("間違えたキー　上位３キー"), this);
    pGroup->setGeometry(du.Rect(7, 56 + dy, 206, 52));
    addStatic("top_three", info.strTopThree, 14, 70 + dy, 192, 12, Qt::AlignLeft | Qt::AlignVCenter);

    auto addButton = [&](const char* pszName, const char* pszText, int x, int y, int cx) {
        auto* p = new QPushButton(QString::fromUtf8(pszText), this);
        p->setObjectName(QString::fromUtf8(pszName));
        p->setGeometry(du.Rect(x, y, cx, 14));
        return p;
    };
    QPushButton* pShowAll = addButton("show_all", "すべて表示", 150, 88 + dy, 56);
    pShowAll->setEnabled(info.bShowAllEnabled);
    connect(pShowAll, &QPushButton::clicked, this, [this] {
        CShowMissDetailsDlg dlg(m_info.strDetails, this);
        dlg.exec();
    });

    QPushButton* pNext = addButton("next", "次のレッスン", 14, 118 + dy, 60);
    pNext->setEnabled(info.bNextEnabled);
    QPushButton* pAgain = addButton("again", "もう一度", 80, 118 + dy, 60);
    QPushButton* pStop = addButton("stop", "やめる", 146, 118 + dy, 60);
    pAgain->setDefault(true);
    connect(pNext, &QPushButton::clicked, this, [this] { done(LESSON_END_NEXT); });
    connect(pAgain, &QPushButton::clicked, this, [this] { done(LESSON_END_AGAIN); });
    connect(pStop, &QPushButton::clicked, this, [this] { done(LESSON_END_STOP); });
}

void CLessonEndDlg::reject() { done(LESSON_END_STOP); }

int CLessonEndDlg::Run() {
    const int nCode = exec();
    return nCode == LESSON_END_NEXT || nCode == LESSON_END_AGAIN ? nCode : LESSON_END_STOP;
}

QPushButton* CLessonEndDlg::Button(const char* pszName) const {
    return findChild<QPushButton*>(QString::fromUtf8(pszName));
}

}  // namespace kibiki::ui
