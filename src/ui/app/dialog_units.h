#pragma once
// Dialog units -> pixels, the way a dialog template is laid out: x·baseX/4, y·baseY/8, with the
// base units taken from the dialog font. Every window and dialog keeps its template geometry
// through this one class, whatever font the system substitutes.
#include <QFont>
#include <QRect>
#include <QSize>

namespace kibiki::ui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int nBaseX, int nBaseY) : m_nBaseX(nBaseX), m_nBaseY(nBaseY) {}

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    int X(int nUnits) const;
    int Y(int nUnits) const;
    // Each edge is mapped on its own, so adjacent items share their pixel edges.
    QRect Rect(int x, int y, int cx, int cy) const;
    QSize Size(int cx, int cy) const { return {X(cx), Y(cy)}; }

private:
    int m_nBaseX;
    int m_nBaseY;
};

// a·b/c rounded half away from zero, as dialog-unit mapping rounds.
int MulDiv(int a, int b, int c);

}  // namespace kibiki::ui
