#pragma once
#include <string_view>

namespace kibiki {

// Whether a CP932 user name can name its ".dat" and ".hst" files inside the settings folder:
// not empty, no path step ("." or ".."), no separator, control character or character that
// Windows refuses in file names (\ / : * ? " < > |), and short enough that every file the
// program keeps for the user (the settings file's temporary twin is the longest) fits the
// file system's 255-byte name limit. A trail byte 0x5C (as in ソ) is no backslash.
bool IsUsableUserName(std::string_view strUser);

// The stricter rule for a name given to a new user: usable, and also a name Windows keeps as
// typed, so a settings folder carried between systems keeps working: no leading or trailing
// space or dot, no device name such as CON or LPT1.
bool IsNewUserNameAllowed(std::string_view strUser);

}  // namespace kibiki
