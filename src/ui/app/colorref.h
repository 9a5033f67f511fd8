#pragma once
// Colours travel through core and the settings files as COLORREF (0x00BBGGRR); they become
// QColor only here, at the edge of the screen.
#include <QColor>
#include <cstdint>

namespace kibiki::ui {

inline QColor FromColorRef(std::uint32_t cr) {
    return QColor(static_cast<int>(cr & 0xFF), static_cast<int>((cr >> 8) & 0xFF),
                  static_cast<int>((cr >> 16) & 0xFF));
}

inline std::uint32_t ToColorRef(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

// The system's button-face colour: caps without finger colours, SHIFT caps, finger labels.
QColor ButtonFace();

}  // namespace kibiki::ui
