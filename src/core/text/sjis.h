#pragma once
// Byte-string helpers for CP932 text. Positions are byte offsets; a double-byte character is a
// lead byte (0x81-0x9F, 0xE0-0xFC) and any following byte.
#include <cstddef>
#include <string>
#include <string_view>

namespace kibiki {

inline bool IsLeadByte(unsigned char ch) {
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

// Byte length of the character at pos: 2 for a complete double-byte character, 1 otherwise
// (a lead byte at the very end counts as 1 so stepping never runs past the end); 0 at the end.
inline std::size_t CharLenAt(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return 0;
    return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// One byte with a-z upper-cased; every other byte as it is.
inline unsigned char UpperAsciiChar(unsigned char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<unsigned char>(ch - 'a' + 'A') : ch;
}

inline bool IsAsciiAlnum(unsigned char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// Upper-cases ASCII letters only, never the second byte of a double-byte character.
std::string UpperAscii(std::string_view s);

// Offset of needle at or after from (a character boundary), on character boundaries only: a
// "\" must not match the trail byte of ソ. npos when absent or empty.
inline std::size_t FindWhole(std::string_view hay, std::string_view needle, std::size_t from = 0) {
    if (needle.empty()) return std::string_view::npos;
    for (std::size_t i = from; i < hay.size(); i += CharLenAt(hay, i))
        if (hay.compare(i, needle.size(), needle) == 0) return i;
    return std::string_view::npos;
}

// The up to n bytes at pos, clipped to the string (never throws).
inline std::string_view BytesAt(std::string_view s, std::size_t pos, std::size_t n) {
    if (pos >= s.size()) return {};
    return s.substr(pos, n);
}

}  // namespace kibiki
