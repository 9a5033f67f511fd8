#pragma once
// CP932 (Shift-JIS as Windows uses it) <-> UTF-8. Core text is CP932 bytes; UTF-8 only at the
// edges (ui, file names, tests).
#include <string>
#include <string_view>

namespace kibiki {

// Bytes that do not form a CP932 character decode to U+FFFD; a lone lead byte at the end too.
std::string Cp932ToUtf8(std::string_view cp932);

// Characters with no CP932 form become '?'; *pLossless (when given) says whether any did.
std::string Utf8ToCp932(std::string_view utf8, bool* pLossless = nullptr);

}  // namespace kibiki
