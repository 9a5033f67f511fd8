#pragma once
#include <string_view>

namespace kibiki {

// Whether a CP932 user name can name its ".dat" and ".hst" files inside the settings folder:
// not empty, no path step ("." or ".."), no separator, control character or character that
// Windows refuses in file names (\ / : * ? " < > |). A trail byte 0x5C (as in ソ) is no backslash.
bool IsUsableUserName(std::string_view strUser);

}  // namespace kibiki
