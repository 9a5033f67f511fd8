#include "ui/lessons/timed_test_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "ui/app/qt_text.h"

namespace kibiki::ui {

CTimedTestDlg::CTimedTestDlg(const TimedTestChoice& initial, const std::vector<std::string>& aFileNames,
                             const std::vector<std::string>& aFilePaths, QWidget* pParent)
    : QDialog(pParent) {
    setObjectName("timed_test");
    setWindowTitle(QString::fromUtf8("腕試し"));
    auto* pForm = new QFormLayout(this);
    m_pLength = new QComboBox(this);
    m_pLength->setObjectName("length");
    for (int m : kTestMinutes) {
        m_pLength->addItem(QString::fromUtf8("%1 分").arg(m), m);
        if (m == initial.nMinutes) m_pLength->setCurrentIndex(m_pLength->count() - 1);
    }
    m_pInput = new QComboBox(this);
    m_pInput->setObjectName("input");
    m_pInput->addItem(QString::fromUtf8("かな入力"));
    m_pInput->addItem(QString::fromUtf8("ローマ字入力"));
    m_pInput->setCurrentIndex(initial.bRomaji ? 1 : 0);
    m_pText = new QComboBox(this);
    m_pText->setObjectName("text");
    m_pText->addItem(QString::fromUtf8("ランダムに選ぶ"), -1);
    int n = 0;
    for (const TestPassage& p : TestPassages()) m_pText->addItem(FromCp932(p.strTitle), n++);
    m_pText->setCurrentIndex(initial.nPassage + 1 < m_pText->count() ? initial.nPassage + 1 : 0);
    // A file's entry carries its path; a passage's its index.
    for (std::size_t i = 0; i < aFileNames.size() && i < aFilePaths.size(); ++i) {
        if (i == 0) m_pText->insertSeparator(m_pText->count());
        m_pText->addItem(QString::fromUtf8("ファイル: ") + FromCp932(aFileNames[i]), FromCp932(aFilePaths[i]));
    }
    pForm->addRow(QString::fromUtf8("時間(&T):"), m_pLength);
    pForm->addRow(QString::fromUtf8("入力(&I):"), m_pInput);
    pForm->addRow(QString::fromUtf8("文章(&X):"), m_pText);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("開始"));
    pButtons->button(QDialogButtonBox::Ok)->setObjectName("start");
    pButtons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    pButtons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pForm->addRow(pButtons);
}

TimedTestChoice CTimedTestDlg::Choice() const {
    TimedTestChoice choice;
    choice.nMinutes = m_pLength->currentData().toInt();
    choice.bRomaji = m_pInput->currentIndex() == 1;
    const QVariant text = m_pText->currentData();
    if (text.typeId() == QMetaType::QString)
        choice.strFile = text.toString().toStdString();
    else
        choice.nPassage = text.toInt();
    return choice;
}

}  // namespace kibiki::ui
