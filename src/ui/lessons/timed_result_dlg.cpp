#include "ui/lessons/timed_result_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/qt_text.h"

namespace kibiki::ui {

CTimedResultDlg::CTimedResultDlg(const TimedTestResultInfo& info, QWidget* pParent) : QDialog(pParent) {
    setObjectName("timed_result");
    setWindowTitle(FromCp932(info.strTitle));
    auto* pLayout = new QVBoxLayout(this);
    auto* pForm = new QFormLayout;
    int nRow = 0;
    for (const auto& [label, value] : info.rows) {
        auto* pValue = new QLabel(FromCp932(value), this);
        pValue->setObjectName(QString("row_%1").arg(nRow++));
        pForm->addRow(FromCp932(label), pValue);
    }
    pLayout->addLayout(pForm);
    auto* pNext = new QLabel(FromCp932(info.strNextGrade), this);
    pNext->setObjectName("next_grade");
    pNext->setVisible(!info.strNextGrade.empty());
    pLayout->addWidget(pNext);
    auto* pButtons = new QDialogButtonBox(this);
    QPushButton* pAgain = pButtons->addButton(QString::fromUtf8("もう一度"), QDialogButtonBox::AcceptRole);
    pAgain->setObjectName("again");
    QPushButton* pClose = pButtons->addButton(QString::fromUtf8("閉じる"), QDialogButtonBox::RejectRole);
    pClose->setObjectName("close");
    pClose->setDefault(true);
    connect(pAgain, &QPushButton::clicked, this, [this] {
        m_nAnswer = LESSON_END_AGAIN;
        accept();
    });
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
    pLayout->addWidget(pButtons);
}

int CTimedResultDlg::Run() {
    m_nAnswer = LESSON_END_STOP;
    exec();
    return m_nAnswer;
}

}  // namespace kibiki::ui
