#include "ui/guide/color_swatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kibiki::ui {

CColorSwatch::CColorSwatch(QWidget* pParent) : CColorStatic(pParent) {
    SetEdges(kBorder);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CColorSwatch::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton && rect().contains(pEvent->position().toPoint())) emit clicked();
}

void CColorSwatch::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit clicked();
            return;
        default:
            CColorStatic::keyPressEvent(pEvent);
    }
}

void CColorSwatch::paintEvent(QPaintEvent* pEvent) {
    CColorStatic::paintEvent(pEvent);
    if (!hasFocus()) return;
    // A dark and a light ring, so the focus shows on any colour.
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(3, 3, -4, -4));
}

void CColorSwatch::focusInEvent(QFocusEvent* pEvent) {
    CColorStatic::focusInEvent(pEvent);
    update();
}

void CColorSwatch::focusOutEvent(QFocusEvent* pEvent) {
    CColorStatic::focusOutEvent(pEvent);
    update();
}

}  // namespace kibiki::ui
