#pragma once
// CP932 (Shift-JIS as Windows uses it) <-> UTF-8. Core text is CP932 bytes; UTF-8 only at the
// edges (ui, file names, tests).
#include <cstddef>
#include <string>
#include <string_view>

namespace kibiki {

// Bytes that do not form a CP932 character decode to U+FFFD; a lone lead byte at the end too.
std::string Cp932ToUtf8(std::string_view cp932);

// Characters with no CP932 form become strReplacement ('?' unless given); *pLossless (when
// given) says whether any did. The JIS forms of the few characters CP932 maps elsewhere (〜 ‖ −
// ¢ £ ¬ —, as Linux input methods and editors write them) take their CP932 codes.
std::string Utf8ToCp932(std::string_view utf8, bool* pLossless = nullptr,
                        std::string_view strReplacement = "?");

// Whether bytes are well-formed UTF-8 holding something beyond ASCII (a byte-order mark alone
// counts): such a text is read as UTF-8, anything else as CP932.
bool IsUtf8Text(std::string_view bytes);

// Bytes read as UTF-8: how many well-formed characters beyond ASCII they hold and how many bytes
// belong to no well-formed character.
struct Utf8Tally {
    std::size_t nMultiByte = 0;
    std::size_t nMalformed = 0;
};
Utf8Tally TallyUtf8(std::string_view bytes);

}  // namespace kibiki
