#include "users/user_name.h"

#include <cstring>
#include <string>

#include "text/cp932.h"
#include "text/sjis.h"

namespace kibiki {
namespace {

// ".<name>.dat.<pid>.<serial>.tmp" with a 10-digit pid and serial: 31 bytes besides the name.
constexpr std::size_t kMaxNameBytes = 255 - 31;

bool IsDeviceName(std::string_view strUser) {
    // Windows reserves these with any extension: "nul.x" is the null device too.
    std::string base(strUser.substr(0, strUser.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(UpperAsciiChar(static_cast<unsigned char>(c)));
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsUsableUserName(std::string_view strUser) {
    if (strUser.empty() || strUser == "." || strUser == "..") return false;
    for (std::size_t i = 0; i < strUser.size();) {
        const std::size_t n = CharLenAt(strUser, i);
        if (n == 1) {
            const auto ch = static_cast<unsigned char>(strUser[i]);
            if (ch < 0x20 || ch == 0x7F || std::strchr("\\/:*?\"<>|", ch)) return false;
            if (IsLeadByte(ch)) return false;  // a lone lead byte at the end
        }
        i += n;
    }
    // The file system counts the UTF-8 bytes of the name; CP932 is never longer than that.
    return strUser.size() <= kMaxNameBytes && Cp932ToUtf8(strUser).size() <= kMaxNameBytes;
}

bool IsNewUserNameAllowed(std::string_view strUser) {
    if (!IsUsableUserName(strUser)) return false;
    const auto edge = [](char c) { return c == ' ' || c == '.'; };
    return !edge(strUser.front()) && !edge(strUser.back()) && !IsDeviceName(strUser);
}

}  // namespace kibiki
