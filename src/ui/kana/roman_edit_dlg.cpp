#include "ui/kana/roman_edit_dlg.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/app/dialog_frame.h"
#include "ui/app/qt_text.h"
#include "lessons/roman_settings.h"

namespace kibiki::ui {

CRomanEditDlg::CRomanEditDlg(QWidget* pParent) : QDialog(pParent), m_messenger(this) {
    setObjectName(QStringLiteral("romanEditDlg"));
    const DialogUnits du = SetUpDialogFrame(*this, QStringLiteral("ローマ字の変更"), 149, 43);

    auto* pKanaCaption = new QLabel(QStringLiteral("ひらがな"), this);
    pKanaCaption->setGeometry(du.Rect(11, 8, 29, 8));
    m_pKana = new QLabel(this);
    m_pKana->setObjectName(QStringLiteral("kana"));
    m_pKana->setGeometry(du.Rect(46, 7, 34, 8));
    m_pKana->setTextFormat(Qt::PlainText);
    auto* pRomanCaption = new QLabel(QStringLiteral("ローマ字"), this);
    pRomanCaption->setGeometry(du.Rect(11, 23, 29, 8));
    m_pRoman = new QLineEdit(this);
    m_pRoman->setObjectName(QStringLiteral("roman"));
    m_pRoman->setGeometry(du.Rect(46, 21, 40, 14));
    // Spellings are Latin letters: an input method would only compose full-width text here.
    m_pRoman->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_pRoman->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText | Qt::ImhPreferUppercase);
    pRomanCaption->setBuddy(m_pRoman);

    AddAcceptCancel(*this, du, QStringLiteral("OK"), QStringLiteral("ok"), {95, 4, 50, 14}, {95, 21, 50, 14});
}

int CRomanEditDlg::exec() {
    m_pKana->setText(FromCp932(m_strKanaText));
    m_pRoman->setText(FromCp932(m_strRomanText));
    m_pRoman->selectAll();
    m_pRoman->setFocus();
    return QDialog::exec();
}

void CRomanEditDlg::accept() {
    std::string strSpelling;
    if (!CheckRomanSpelling(m_pRoman->text().toStdString(), strSpelling, &m_messenger)) {
        m_pRoman->setFocus();
        m_pRoman->selectAll();
        return;
    }
    m_strRomanText = strSpelling;
    QDialog::accept();
}

}  // namespace kibiki::ui
