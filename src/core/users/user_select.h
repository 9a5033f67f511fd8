#pragma once
// What the user-selection dialog shows and decides: the sorted list of users with the current
// one chosen, creating a user from an accepted name, deleting the chosen one, and the name
// "OK" gives. The window only shows this state and passes the user's actions in.
#include <string>
#include <vector>

namespace kibiki {

class Messenger;

class CUserSelectModel {
public:
    // strCurrent: the current user's name as the profile holds it (CP932).
    CUserSelectModel(const std::string& strFolder, const std::string& strCurrent, Messenger& messenger);

    // "新規" after the new-user dialog accepted strUser: the user's file is written, then listed
    // and chosen. False (after a message) when the file could not be written; nothing is listed.
    bool AddUser(const std::string& strUser);
    // "削除": asks first, then removes the chosen user's file and chooses the first entry. The
    // last user stays and nothing is asked. False when nothing was deleted.
    bool DeleteSelected();
    // The name "OK" gives: the chosen entry, or empty for no choice.
    std::string ChosenUser() const;

    const std::string& Folder() const { return m_strFolder; }

    std::vector<std::string> m_aUsers;  // CP932, in list order
    int m_nSelected = -1;

private:
    std::string m_strFolder;
    Messenger& m_messenger;
};

}  // namespace kibiki
