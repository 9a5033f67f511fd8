#include "ui/users/add_user_dlg.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/app/dialog_frame.h"
#include "users/user_folder.h"

namespace kibiki::ui {

CAddUserDlg::CAddUserDlg(const std::string& strFolder, QWidget* pParent)
    : QDialog(pParent), m_strFolder(strFolder), m_pEdit(new QLineEdit(this)) {
    setObjectName(QStringLiteral("addUserDlg"));
    const DialogUnits du = SetUpDialogFrame(*this, QStringLiteral("新規ユーザ"), 163, 47);

    auto* pLabel = new QLabel(QStringLiteral("新規ユーザ名"), this);
    pLabel->setGeometry(du.Rect(7, 13, 81, 12));
    pLabel->setBuddy(m_pEdit);
    m_pEdit->setObjectName(QStringLiteral("user_name"));
    m_pEdit->setGeometry(du.Rect(7, 26, 81, 14));

    AddAcceptCancel(*this, du, QStringLiteral("OK"), QStringLiteral("ok"), {106, 7, 50, 14}, {106, 24, 50, 14});
    m_pEdit->setFocus();
}

void CAddUserDlg::accept() {
    bool bSelectAll = false;
    if (AcceptNewUserName(m_strFolder, m_pEdit->text().toStdString(), m_messenger, m_strName,
                          &bSelectAll)) {
        QDialog::accept();
        return;
    }
    m_pEdit->setFocus();
    if (bSelectAll) m_pEdit->selectAll();
}

}  // namespace kibiki::ui
