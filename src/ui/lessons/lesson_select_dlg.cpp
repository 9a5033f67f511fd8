#include "ui/lessons/lesson_select_dlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "ui/app/dialog_frame.h"
#include "ui/app/qt_text.h"

namespace kibiki::ui {

CLessonSelectDlg::CLessonSelectDlg(const std::array<std::string, 8>& labels, QWidget* pParent)
    : QDialog(pParent) {
    setObjectName(QStringLiteral("lessonSelectDlg"));
    const DialogUnits du = SetUpDialogFrame(*this, QStringLiteral("レッスンの選択"), 200, 176);

    auto* pPrompt = new QLabel(QStringLiteral("練習をしたいレッスンを選択してください。"), this);
    pPrompt->setGeometry(du.Rect(10, 8, 180, 10));
    auto* pGroup = new QGroupBox(QStringLiteral("レッスン選択"), this);
    pGroup->setGeometry(du.Rect(7, 22, 186, 124));
    auto* pButtons = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        auto* p = new QRadioButton(FromCp932(labels[i]), this);
        p->setObjectName(QStringLiteral("lesson_%1").arg(i + 1));
        p->setGeometry(du.Rect(18, 36 + 13 * i, 170, 11));
        pButtons->addButton(p, i);
        m_apRadios[i] = p;
    }
    m_apRadios[0]->setChecked(true);
    m_apRadios[0]->setFocus();

    AddAcceptCancel(*this, du, QStringLiteral("開始"), QStringLiteral("start"), {43, 154, 54, 14}, {103, 154, 54, 14});
}

int CLessonSelectDlg::Selected() const {
    for (int i = 0; i < 8; ++i)
        if (m_apRadios[i]->isChecked()) return i;
    return 0;
}

}  // namespace kibiki::ui
