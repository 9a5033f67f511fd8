#include "ui/app/progress_bar.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace kibiki::ui {

CProgressBar::CProgressBar(QWidget* pParent) : QWidget(pParent) { setFocusPolicy(Qt::NoFocus); }

void CProgressBar::setRange(int nLower, int nUpper) {
    m_nLower = nLower;
    m_nUpper = std::max(nLower, nUpper);
    m_nValue = std::clamp(m_nValue, m_nLower, m_nUpper);
    update();
}

void CProgressBar::setValue(int nValue) {
    nValue = std::clamp(nValue, m_nLower, m_nUpper);
    if (nValue == m_nValue) return;
    m_nValue = nValue;
    update();
}

void CProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect outer = rect();
    p.fillRect(outer, palette().color(QPalette::Base));
    p.setPen(QColor(0x64, 0x64, 0x64));
    p.drawRect(outer.adjusted(0, 0, -1, -1));
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    const int nSpan = m_nUpper - m_nLower;
    if (nSpan <= 0 || m_nValue <= m_nLower || inner.height() <= 0) return;
    // Filled from the bottom, in whole pixels.
    const int h = static_cast<int>(static_cast<long long>(inner.height()) * (m_nValue - m_nLower) / nSpan);
    p.fillRect(QRect(inner.left(), inner.bottom() - h + 1, inner.width(), h), QColor(0x06, 0xB0, 0x25));
}

}  // namespace kibiki::ui
