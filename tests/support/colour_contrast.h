#pragma once
// WCAG relative luminance and contrast of COLORREF colours (0x00BBGGRR), for tests that check a
// colour choice still reads.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kibiki::test {

struct Rgb { double r, g, b; };  // linear, 0..1

inline double Linear(int c8) {
    const double c = c8 / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
inline Rgb ToLinear(std::uint32_t cr) {
    return {Linear(cr & 0xFF), Linear((cr >> 8) & 0xFF), Linear((cr >> 16) & 0xFF)};
}
inline double Luminance(const Rgb& c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }
inline double Contrast(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(ToLinear(a)), lb = Luminance(ToLinear(b));
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace kibiki::test
