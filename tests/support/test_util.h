#pragma once
// Tests write expectations in UTF-8; the core speaks CP932.
#include <string>
#include <string_view>

#include "text/cp932.h"

namespace kibiki::test {

inline std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }
inline std::string U8(std::string_view cp932) { return Cp932ToUtf8(cp932); }

}  // namespace kibiki::test
