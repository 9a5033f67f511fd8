#include "ui/app/dialog_units.h"

#include <QFontMetrics>
#include <cstdlib>

namespace kibiki::ui {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long num = static_cast<long long>(a) * b;
    const long long q = (std::llabs(num) * 2 + std::llabs(c)) / (2 * std::llabs(static_cast<long long>(c)));
    return static_cast<int>(((num < 0) != (c < 0)) ? -q : q);
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    // Average width of the 52 Latin letters, rounded: the classic dialog base unit.
    const int nLetters =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (nLetters / 26 + 1) / 2;
    m_nBaseY = fm.height();
}

int DialogUnits::X(int nUnits) const { return MulDiv(nUnits, m_nBaseX, 4); }
int DialogUnits::Y(int nUnits) const { return MulDiv(nUnits, m_nBaseY, 8); }

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const {
    const int left = X(x), top = Y(y);
    return {left, top, X(x + cx) - left, Y(y + cy) - top};
}

}  // namespace kibiki::ui
