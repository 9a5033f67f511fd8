#include "text/cp932.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "text/sjis.h"

namespace kibiki {
namespace {

struct MapEntry {
    std::uint16_t code;
    std::uint16_t unicode;
    std::uint8_t canonical;
};

constexpr MapEntry kTable[] = {
#include "text/cp932_table.inc"
};

constexpr char32_t kReplacement = 0xFFFD;

char32_t DecodeDouble(unsigned lead, unsigned trail) {
    const std::uint16_t code = static_cast<std::uint16_t>((lead << 8) | trail);
    const auto* it = std::lower_bound(std::begin(kTable), std::end(kTable), code,
                                      [](const MapEntry& e, std::uint16_t c) { return e.code < c; });
    return (it != std::end(kTable) && it->code == code) ? it->unicode : kReplacement;
}

struct ReverseEntry {
    std::uint16_t unicode;
    std::uint16_t code;
};

constexpr std::size_t CanonicalCount() {
    std::size_t n = 0;
    for (const auto& e : kTable) n += e.canonical ? 1 : 0;
    return n;
}

// Sorted by the compiler: sorting at run time took a few milliseconds of every start, as the
// first control named from its text converts to CP932.
constexpr std::array<ReverseEntry, CanonicalCount()> kReverse = [] {
    std::array<ReverseEntry, CanonicalCount()> a{};
    std::size_t n = 0;
    for (const auto& e : kTable)
        if (e.canonical) a[n++] = {e.unicode, e.code};
    std::sort(a.begin(), a.end(), [](const ReverseEntry& x, const ReverseEntry& y) { return x.unicode < y.unicode; });
    return a;
}();

// One canonical code per character, so the order is the same whatever sort made it.
static_assert(std::adjacent_find(kReverse.begin(), kReverse.end(), [](const ReverseEntry& x, const ReverseEntry& y) {
                  return x.unicode >= y.unicode;
              }) == kReverse.end());

const std::array<ReverseEntry, CanonicalCount()>& ReverseTable() { return kReverse; }

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Next code point of UTF-8 text; malformed input yields U+FFFD and consumes one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) { ++i; return b0; }
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; }
    else { ++i; return kReplacement; }
    if (i + len > s.size()) { ++i; return kReplacement; }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) { ++i; return kReplacement; }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; return kReplacement; }
    i += len;
    return cp;
}

// Characters whose JIS mapping differs from CP932's: 〜 ‖ − ¢ £ ¬ —.
std::uint16_t JisAlias(char32_t cp) {
    static constexpr struct { char32_t cp; std::uint16_t code; } kAliases[] = {
        {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x2014, 0x815C},
        {0x2016, 0x8161}, {0x2212, 0x817C}, {0x301C, 0x8160},
    };
    for (const auto& a : kAliases)
        if (a.cp == cp) return a.code;
    return 0;
}

}  // namespace

bool IsUtf8Text(std::string_view s) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        // NextCodePoint steps one byte over anything malformed; a real U+FFFD takes three.
        if (NextCodePoint(s, i) == kReplacement && i - start != 3) return false;
        beyondAscii = true;
    }
    return beyondAscii;
}

Utf8Tally TallyUtf8(std::string_view s) {
    Utf8Tally tally;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        if (NextCodePoint(s, i) == kReplacement && i - start != 3) ++tally.nMalformed;
        else ++tally.nMultiByte;
    }
    return tally;
}

std::string Cp932ToUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() * 3 / 2);
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            AppendUtf8(out, 0xFF61 + (b - 0xA1));
            ++i;
        } else if (IsLeadByte(b) && i + 1 < in.size()) {
            const char32_t cp = DecodeDouble(b, static_cast<unsigned char>(in[i + 1]));
            AppendUtf8(out, cp);
            // A bad trail byte that is itself ASCII must not be swallowed.
            const auto t = static_cast<unsigned char>(in[i + 1]);
            i += (cp == kReplacement && t < 0x40) ? 1 : 2;
        } else {
            AppendUtf8(out, kReplacement);
            ++i;
        }
    }
    return out;
}

std::string Utf8ToCp932(std::string_view in, bool* pLossless, std::string_view strReplacement) {
    std::string out;
    out.reserve(in.size());
    bool lossless = true;
    const auto& rev = ReverseTable();
    for (std::size_t i = 0; i < in.size();) {
        const char32_t cp = NextCodePoint(in, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
            out += static_cast<char>(0xA1 + (cp - 0xFF61));
        } else if (cp == 0x00A5) {  // yen sign: the 0x5C byte of Japanese text
            out += '\x5C';
        } else if (cp == 0x203E) {  // overline: the 0x7E byte
            out += '\x7E';
        } else {
            const auto it = cp > 0xFFFF ? rev.end()
                : std::lower_bound(rev.begin(), rev.end(), cp,
                                   [](const ReverseEntry& e, char32_t c) { return e.unicode < c; });
            std::uint16_t code = it != rev.end() && it->unicode == cp ? it->code : JisAlias(cp);
            if (code) {
                out += static_cast<char>(code >> 8);
                out += static_cast<char>(code & 0xFF);
            } else {
                out += strReplacement;
                lossless = false;
            }
        }
    }
    if (pLossless) *pLossless = lossless;
    return out;
}

}  // namespace kibiki
