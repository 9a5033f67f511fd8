#include "users/user_select.h"

#include "platform/messenger.h"
#include "text/string_ids.h"
#include "users/file_error.h"
#include "users/user_folder.h"

namespace kibiki {

CUserSelectModel::CUserSelectModel(const std::string& strFolder, const std::string& strCurrent,
                                   Messenger& messenger)
    : m_aUsers(ListUsers(strFolder)),
      m_nSelected(FindUser(m_aUsers, strCurrent)),
      m_strFolder(strFolder),
      m_messenger(messenger) {}

bool CUserSelectModel::AddUser(const std::string& strUser) {
    if (strUser.empty() || !CreateUser(m_strFolder, strUser, m_messenger)) return false;
    // The name may be listed already when another copy of the program created it meanwhile.
    const int nAt = FindUser(m_aUsers, strUser);
    m_nSelected = nAt >= 0 && m_aUsers[nAt] == strUser ? nAt : InsertUser(m_aUsers, strUser);
    return true;
}

bool CUserSelectModel::DeleteSelected() {
    const std::string strUser = ChosenUser();
    if (strUser.empty() || m_aUsers.size() < 2) return false;
    if (m_messenger.ShowMessage(FillIn(IDS_CONFIRM_DELETE_USER, strUser), "", MsgButtons::YesNoDefaultNo,
                                MsgIcon::Warning) != MsgResult::Yes)
        return false;
    if (!DeleteUser(m_strFolder, strUser, m_messenger)) return false;
    m_aUsers.erase(m_aUsers.begin() + m_nSelected);
    m_nSelected = 0;
    return true;
}

std::string CUserSelectModel::ChosenUser() const {
    if (m_nSelected < 0 || m_nSelected >= static_cast<int>(m_aUsers.size())) return {};
    return m_aUsers[m_nSelected];
}

}  // namespace kibiki
