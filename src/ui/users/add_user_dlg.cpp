#include "users/add_user_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialog_units.h"
#include "app/fonts.h"
#include "users/user_folder.h"

namespace kibiki::ui {

CAddUserDlg::CAddUserDlg(const std::string& strFolder, QWidget* pParent)
    : QDialog(pParent), m_strFolder(strFolder), m_pEdit(new QLineEdit(this)) {
    setObjectName(QStringLiteral("addUserDlg"));
    setWindowTitle(QStringLiteral("新規ユーザ"));
    setFont(FormFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(163, 47));

    auto* pLabel = new QLabel(QStringLiteral("新規ユーザ名"), this);
    pLabel->setGeometry(du.Rect(7, 13, 81, 12));
    pLabel->setBuddy(m_pEdit);
    m_pEdit->setObjectName(QStringLiteral("user_name"));
    m_pEdit->setGeometry(du.Rect(7, 26, 81, 14));

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setGeometry(du.Rect(106, 7, 50, 14));
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    pCancel->setObjectName(QStringLiteral("cancel"));
    pCancel->setGeometry(du.Rect(106, 24, 50, 14));
    connect(pOk, &QPushButton::clicked, this, &CAddUserDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
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
