#include "ui/users/user_select_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"
#include "ui/users/add_user_dlg.h"

namespace kibiki::ui {

CUserSelectDlg::CUserSelectDlg(const std::string& strFolder, const std::string& strCurrent,
                               QWidget* pParent)
    : QDialog(pParent), m_model(strFolder, strCurrent, m_messenger), m_pList(new QComboBox(this)) {
    setObjectName(QStringLiteral("userSelectDlg"));
    setWindowTitle(QStringLiteral("ユーザの選択"));
    setFont(FormFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(219, 57));

    auto* pLabel = new QLabel(QStringLiteral("ユーザ名"), this);
    pLabel->setGeometry(du.Rect(9, 14, 33, 14));
    pLabel->setBuddy(m_pList);
    m_pList->setObjectName(QStringLiteral("users"));
    m_pList->setGeometry(du.Rect(43, 14, 114, 14));
    m_pList->setMaxVisibleItems(12);

    auto addButton = [&](const char* pszName, const char* pszText, int x, int y) {
        auto* p = new QPushButton(QString::fromUtf8(pszText), this);
        p->setObjectName(QString::fromUtf8(pszName));
        p->setGeometry(du.Rect(x, y, 50, 14));
        return p;
    };
    m_pOk = addButton("ok", "OK", 161, 7);
    m_pOk->setDefault(true);
    QPushButton* pCancel = addButton("cancel", "キャンセル", 161, 24);
    QPushButton* pNew = addButton("new", "新規", 33, 36);
    QPushButton* pDelete = addButton("delete", "削除", 98, 36);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(pNew, &QPushButton::clicked, this, &CUserSelectDlg::OnNew);
    connect(pDelete, &QPushButton::clicked, this, &CUserSelectDlg::OnDelete);
    connect(m_pList, &QComboBox::currentIndexChanged, this, [this](int nIndex) {
        m_model.m_nSelected = nIndex;
        m_pOk->setEnabled(nIndex >= 0);
    });
    ShowUsers();
    m_pList->setFocus();
}

void CUserSelectDlg::ShowUsers() {
    {
        const QSignalBlocker block(m_pList);
        m_pList->clear();
        for (const std::string& strUser : m_model.m_aUsers) m_pList->addItem(FromCp932(strUser));
        m_pList->setCurrentIndex(m_model.m_nSelected);
    }
    // "OK" without a chosen user would choose nothing.
    m_pOk->setEnabled(m_model.m_nSelected >= 0);
}

void CUserSelectDlg::OnNew() {
    CAddUserDlg dlg(m_model.Folder(), this);
    if (dlg.exec() == QDialog::Accepted && m_model.AddUser(dlg.Name())) ShowUsers();
    m_pList->setFocus();
}

void CUserSelectDlg::OnDelete() {
    if (m_model.DeleteSelected()) ShowUsers();
    m_pList->setFocus();
}

}  // namespace kibiki::ui
