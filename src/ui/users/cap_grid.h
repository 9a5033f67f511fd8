#pragma once
// The practice window's 48 key caps laid over any area, as the weak-key pages show them: row r
// starts at kRowX[r] of the window's own units, a column is 27 wide, a row 33 high, a cap 24
// square. Caps grow wider than high in a wide, low area, never taller than wide.
#include <QWidget>
#include <algorithm>
#include <array>

#include "kana/jis_keyboard.h"

namespace kibiki::ui {

class CCapGrid : public QWidget {
public:
    using QWidget::QWidget;
    std::array<QWidget*, 48> caps{};

protected:
    void resizeEvent(QResizeEvent*) override {
        constexpr int kRowX[4] = {20, 26, 33, 43};
        constexpr int kWide = 20 + 27 * 12 + 24 + 20, kHigh = 3 * 33 + 24;
        double sy = height() / static_cast<double>(kHigh);
        const double sx = std::min(width() / static_cast<double>(kWide), 2.5 * sy);
        sy = std::min(sy, sx);
        const int x0 = static_cast<int>((width() - kWide * sx) / 2);
        const int y0 = static_cast<int>((height() - kHigh * sy) / 2);
        for (int k = 0; k < 48; ++k) {
            if (!caps[static_cast<std::size_t>(k)]) continue;
            const KeyPlace place = PlaceOfKey(k);
            const double x = kRowX[place.nRow] + 27.0 * place.nColumn, y = 33.0 * place.nRow;
            caps[static_cast<std::size_t>(k)]->setGeometry(x0 + static_cast<int>(x * sx), y0 + static_cast<int>(y * sy),
                                                          static_cast<int>(24 * sx), static_cast<int>(24 * sy));
        }
    }
};

}  // namespace kibiki::ui
