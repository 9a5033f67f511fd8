#pragma once
// "ユーザの選択": the users of the settings folder with the current one chosen; "新規" and
// "削除" act on the folder at once, "OK" gives the chosen name. The rules are the core's.
#include <QDialog>
#include <string>

#include "ui/app/qt_messenger.h"
#include "users/user_select.h"

class QComboBox;
class QPushButton;

namespace kibiki::ui {

class CUserSelectDlg : public QDialog {
    Q_OBJECT
public:
    // strCurrent: the current user's name as the profile holds it (CP932).
    CUserSelectDlg(const std::string& strFolder, const std::string& strCurrent,
                   QWidget* pParent = nullptr);

    // After "OK": the chosen CP932 name; empty for no choice.
    std::string ChosenUser() const { return m_model.ChosenUser(); }
    QComboBox* List() const { return m_pList; }

private:
    void OnNew();
    void OnDelete();
    void ShowUsers();

    QtMessenger m_messenger{this};
    CUserSelectModel m_model;
    QComboBox* m_pList;
    QPushButton* m_pOk;
};

}  // namespace kibiki::ui
