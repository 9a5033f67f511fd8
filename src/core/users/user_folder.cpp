#include "users/user_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/messenger.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/file_error.h"
#include "users/setting_folder.h"
#include "users/user_name.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

constexpr std::string_view kDat = ".dat";

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    for (; i < a.size() && i < b.size();) {
        const std::size_t n = CharLenAt(a, i);
        const bool bSingle = n == 1 && CharLenAt(b, i) == 1;
        for (std::size_t k = 0; k < n && i + k < b.size(); ++k) {
            auto ca = static_cast<unsigned char>(a[i + k]);
            auto cb = static_cast<unsigned char>(b[i + k]);
            if (bSingle) {
                ca = UpperAsciiChar(ca);
                cb = UpperAsciiChar(cb);
            }
            if (ca != cb) return ca < cb ? -1 : 1;
        }
        i += n;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int CompareUserNames(std::string_view a, std::string_view b) {
    if (const int n = CompareNoCase(a, b)) return n;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

bool EqualUserNamesNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

std::vector<std::string> ListUsers(const std::string& strFolder) {
    std::vector<std::string> aUsers;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (!pDir) return aUsers;
    const int dirFd = ::dirfd(pDir);
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string_view file = pEntry->d_name;
        if (file.size() <= kDat.size() || file.substr(file.size() - kDat.size()) != kDat) continue;
        const std::string_view utf8 = file.substr(0, file.size() - kDat.size());
        bool bLossless = false;
        std::string strUser = Utf8ToCp932(utf8, &bLossless);
        // A name that does not come back as the same file name could not be opened again.
        if (!bLossless || Cp932ToUtf8(strUser) != utf8 || !IsUsableUserName(strUser)) continue;
        struct stat st;
        if (::fstatat(dirFd, pEntry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        aUsers.push_back(std::move(strUser));
    }
    ::closedir(pDir);
    std::sort(aUsers.begin(), aUsers.end(),
              [](const std::string& a, const std::string& b) { return CompareUserNames(a, b) < 0; });
    return aUsers;
}

int FindUser(const std::vector<std::string>& aUsers, std::string_view strUser) {
    const auto exact = std::find(aUsers.begin(), aUsers.end(), strUser);
    if (exact != aUsers.end()) return static_cast<int>(exact - aUsers.begin());
    for (std::size_t i = 0; i < aUsers.size(); ++i)
        if (EqualUserNamesNoCase(aUsers[i], strUser)) return static_cast<int>(i);
    return -1;
}

int InsertUser(std::vector<std::string>& aUsers, const std::string& strUser) {
    const auto at = std::upper_bound(
        aUsers.begin(), aUsers.end(), strUser,
        [](const std::string& a, const std::string& b) { return CompareUserNames(a, b) < 0; });
    const auto nAt = at - aUsers.begin();
    aUsers.insert(at, strUser);
    return static_cast<int>(nAt);
}

NewUserName CheckNewUserName(const std::string& strFolder, std::string_view strTyped) {
    NewUserName result;
    if (strTyped.empty()) return result;
    bool bLossless = false;
    const std::string strName = Utf8ToCp932(strTyped, &bLossless);
    if (!bLossless) {
        result.check = NewUserCheck::NotCp932;
        return result;
    }
    if (!IsNewUserNameAllowed(strName)) {
        result.check = NewUserCheck::Unusable;
        return result;
    }
    result.strName = strName;
    result.bStoredOtherwise = Cp932ToUtf8(strName) != strTyped;
    // Windows would find "Taro" as "taro.dat"; so does the user list.
    struct stat st;
    const bool bExists = ::lstat(UserFilePath(strFolder, strName, ".dat").c_str(), &st) == 0 ||
                         FindUser(ListUsers(strFolder), strName) >= 0;
    result.check = bExists ? NewUserCheck::Exists : NewUserCheck::Accepted;
    return result;
}

bool AcceptNewUserName(const std::string& strFolder, std::string_view strTyped, Messenger& messenger,
                       std::string& strName, bool* pbSelectAll) {
    const NewUserName result = CheckNewUserName(strFolder, strTyped);
    if (pbSelectAll) *pbSelectAll = false;
    strName.clear();
    switch (result.check) {
        case NewUserCheck::Accepted:
            if (result.bStoredOtherwise &&
                messenger.ShowMessage(FillIn(IDS_USER_NAME_STORED_AS, result.strName), "", MsgButtons::YesNo,
                                      MsgIcon::Question) != MsgResult::Yes)
                return false;
            strName = result.strName;
            return true;
        case NewUserCheck::Empty:
            return true;
        case NewUserCheck::Exists:
            messenger.ShowMessage(result.strName + StringOrEmpty(IDS_USER_EXISTS), "", MsgButtons::Ok,
                                  MsgIcon::None);
            return false;
        case NewUserCheck::Unusable:
        case NewUserCheck::NotCp932:
            messenger.ShowMessage(StringOrEmpty(result.check == NewUserCheck::Unusable
                                                    ? IDS_USER_NAME_UNUSABLE
                                                    : IDS_USER_NAME_NOT_CP932),
                                  "", MsgButtons::Ok, MsgIcon::Warning);
            if (pbSelectAll) *pbSelectAll = true;
            return false;
    }
    return false;
}

bool CreateUser(const std::string& strFolder, const std::string& strUser, Messenger& messenger) {
    CUserSettings settings(nullptr, &messenger);
    settings.SetFolder(strFolder);
    return settings.WriteNewUserFile(strUser);
}

bool DeleteUser(const std::string& strFolder, const std::string& strUser, Messenger& messenger) {
    if (::unlink(UserFilePath(strFolder, strUser, ".dat").c_str()) == 0 || errno == ENOENT) return true;
    const int err = errno;
    messenger.ShowMessage(FileErrorText(IDS_DELETE_USER_FAILED, strUser, err), "", MsgButtons::Ok,
                          MsgIcon::Warning);
    return false;
}

}  // namespace kibiki
