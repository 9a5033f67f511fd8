#pragma once
// Bytes that show nothing on screen, named so the user can see them: the miss-key box names a
// wrong key so, and a message quoting a line of a file marks them so.
#include <string>
#include <string_view>

namespace kibiki {

// "BS", "TB", "LF", "CR", "ES", "SP", "DL", caret notation ("^@") for the other control bytes;
// empty for any other byte.
std::string ControlMark(unsigned char ch);

// The text with each control byte (not the space) as its mark in brackets: "あ[TB]い". CP932:
// a control byte is never the second byte of a double-byte character.
std::string ShowControls(std::string_view text);

}  // namespace kibiki
