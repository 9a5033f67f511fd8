#include "users/user_name.h"

#include <cstring>

#include "text/sjis.h"

namespace kibiki {

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
    return true;
}

}  // namespace kibiki
