#include "ui/guide/guide_static.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/app/colorref.h"

namespace kibiki::ui {

CGuideStatic::CGuideStatic(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CGuideStatic::SetMarkerColor(std::uint32_t crMarker) {
    m_crMarker = crMarker;
    update();
}

void CGuideStatic::SetMarkerVisible(bool bVisible) {
    m_bVisible = bVisible;
    update();
}

void CGuideStatic::paintEvent(QPaintEvent*) {
    if (!m_bVisible) return;
    QPainter p(this);
    // Anti-aliased in logical coordinates: the triangle keeps its shape at any scale factor.
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width(), b = height();
    QPainterPath path;
    path.moveTo((width() / 2) + 0.5, 0.5);
    path.lineTo(0.5, b - 0.5);
    path.lineTo(w - 0.5, b - 0.5);
    path.closeSubpath();
    const QColor c = FromColorRef(m_crMarker);
    p.setPen(QPen(c, 1.0));
    p.setBrush(c);
    p.drawPath(path);
}

}  // namespace kibiki::ui
