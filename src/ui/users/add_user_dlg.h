#pragma once
// "新規ユーザ": asks for a new user's name; "OK" closes only on a name the core accepts.
#include <QDialog>
#include <string>

#include "ui/app/qt_messenger.h"

class QLineEdit;

namespace kibiki::ui {

class CAddUserDlg : public QDialog {
    Q_OBJECT
public:
    CAddUserDlg(const std::string& strFolder, QWidget* pParent = nullptr);

    // After "OK": the accepted CP932 name, or empty for no new user.
    const std::string& Name() const { return m_strName; }
    QLineEdit* Edit() const { return m_pEdit; }

    void accept() override;

private:
    std::string m_strFolder;
    std::string m_strName;
    QLineEdit* m_pEdit;
    QtMessenger m_messenger{this};
};

}  // namespace kibiki::ui
