#pragma once
// The users of a settings folder: a user is a "<name>.dat" file there. Listing, the order the
// user list keeps, checking a new user's name, creating and deleting a user.
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

class Messenger;

// Letter case aside, as the user list sorts and finds: "abc" < "ABD" < "b"; ties (only on a
// case-sensitive file system) fall back to the bytes. Only single-byte letters fold: the trail
// byte 0x41 of ア is no "A".
int CompareUserNames(std::string_view a, std::string_view b);
bool EqualUserNamesNoCase(std::string_view a, std::string_view b);

// CP932 names of the regular "<name>.dat" files in the folder whose names are usable user
// names, sorted with CompareUserNames. Temporary and hidden files, folders and names that have
// no CP932 form are left out.
std::vector<std::string> ListUsers(const std::string& strFolder);

// Index of the entry that names strUser: the same bytes first, else the first one equal but for
// letter case; -1 when there is none.
int FindUser(const std::vector<std::string>& aUsers, std::string_view strUser);

// Inserts strUser where the sort order puts it; returns its index.
int InsertUser(std::vector<std::string>& aUsers, const std::string& strUser);

// What the new-user dialog makes of the typed name.
enum class NewUserCheck {
    Accepted,  // a new, allowed name
    Empty,     // nothing typed: no new user
    Exists,    // a user of that name (letter case aside) is there already
    Unusable,  // cannot be a user's file name here or on Windows
    NotCp932,  // holds characters the CP932 files cannot store
};
struct NewUserName {
    NewUserCheck check = NewUserCheck::Empty;
    std::string strName;  // CP932; set when Accepted or Exists
    // The name as stored reads otherwise than typed: CP932 holds a few characters only in a
    // form of their own (〜 is stored as ～, — as ―).
    bool bStoredOtherwise = false;
};
// strTyped is the edit box's text in UTF-8.
NewUserName CheckNewUserName(const std::string& strFolder, std::string_view strTyped);

// The new-user dialog's "OK": checks the typed name and says why one is refused; a name that
// will be stored otherwise than typed is shown as stored and created only when the user agrees.
// True when the dialog closes (strName then holds the accepted CP932 name, or is empty for no
// new user).
// *pbSelectAll says whether the edit box should select its text for the correction.
bool AcceptNewUserName(const std::string& strFolder, std::string_view strTyped,
                       Messenger& messenger, std::string& strName, bool* pbSelectAll);

// Writes a new user's settings file; a failure is told through messenger and returns false.
bool CreateUser(const std::string& strFolder, const std::string& strUser, Messenger& messenger);

// Removes the user's ".dat"; the history stays. A file already gone is no failure; any other
// failure is told through messenger and returns false.
bool DeleteUser(const std::string& strFolder, const std::string& strUser, Messenger& messenger);

}  // namespace kibiki
