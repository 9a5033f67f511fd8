#include "ui/app/color_static.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <cmath>

#include "ui/app/colorref.h"

namespace kibiki::ui {

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

namespace {

QColor Blend(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// One bevel line of width u on each side of r (device pixels); top and left are drawn first,
// bottom and right over the corners, as 3-D edges are.
void Bevel(QPainter& p, QRect& r, int u, const QColor& topLeft, const QColor& bottomRight) {
    p.fillRect(QRect(r.left(), r.top(), r.width() - u, u), topLeft);
    p.fillRect(QRect(r.left(), r.top(), u, r.height() - u), topLeft);
    p.fillRect(QRect(r.left(), r.bottom() - u + 1, r.width(), u), bottomRight);
    p.fillRect(QRect(r.right() - u + 1, r.top(), u, r.height()), bottomRight);
    r.adjust(u, u, -u, -u);
}

// The voiced and semi-voiced marks, full- and half-width.
bool IsSoundMark(const QString& s) {
    return s.size() == 1 && (s[0] == u'\u309B' || s[0] == u'\u309C' || s[0] == u'\uFF9E' || s[0] == u'\uFF9F');
}

}  // namespace

CColorStatic::CColorStatic(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::NoFocus);
}

void CColorStatic::setText(const QString& strText) {
    if (strText == m_strText) return;
    m_strText = strText;
    update();
}

void CColorStatic::setAlignment(Qt::Alignment align) {
    m_align = align;
    update();
}

void CColorStatic::SetEdges(unsigned nEdges) {
    if (nEdges == m_nEdges) return;
    m_nEdges = nEdges;
    update();
}

void CColorStatic::SetSunken(bool bSunken) {
    if (bSunken)
        SetEdges((m_nEdges & ~unsigned(kModalFrame)) | kStaticEdge | kClientEdge);
    else
        SetEdges((m_nEdges & ~unsigned(kStaticEdge | kClientEdge)) | kModalFrame);
}

void CColorStatic::SetFramed(bool bFramed) {
    if (bFramed == m_bFramed) return;
    m_bFramed = bFramed;
    update();
}

void CColorStatic::SetBackColor(std::uint32_t crBack) {
    // A control with a background fills all of itself: the form and frame behind it need not
    // paint first when it changes (a key repaints caps, not the window under them).
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    if (m_crBack == crBack) return;
    m_crBack = crBack;
    update();
}

void CColorStatic::SetTextColor(std::uint32_t crText) {
    if (crText == m_crText) return;
    m_crText = crText;
    update();
}

void CColorStatic::SetPointSize(int nPoints) {
    QFont f = font();
    f.setPointSize(nPoints > 0 ? nPoints : 1);
    setFont(f);
    update();
}

int CColorStatic::EdgeWidth() const {
    int n = 0;
    if (m_nEdges & kBorder) n += 1;
    if (m_nEdges & kModalFrame) n += 3;
    if (m_nEdges & kClientEdge) n += 2;
    if (m_nEdges & kStaticEdge) n += 1;
    return n;
}

QRect CColorStatic::TextRect() const {
    const int e = EdgeWidth();
    return rect().adjusted(e, e, -e, -e);
}

QFont CColorStatic::DrawnFont() const {
    // Shrunk in steps until the text fits with air each side; the set size stays
    // what the settings and the layout ask for. Kept until the text, font or room changes: a
    // cap repainted on every key need not measure its legend again.
    const QRect room = TextRect().adjusted(kTextAir, 0, -kTextAir, 0);
    if (m_drawn && m_drawn->text == m_strText && m_drawn->room == room.size() && m_drawn->set == font())
        return m_drawn->drawn;
    QFont f = font();
    qreal points = f.pointSizeF();
    while (points > 4) {
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(m_strText) <= room.width() && fm.height() <= room.height()) break;
        points -= 0.5;
        f.setPointSizeF(points);
    }
    m_drawn = DrawnFontCache{m_strText, room.size(), font(), f};
    return f;
}

void CColorStatic::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor face = m_crBack ? FromColorRef(*m_crBack) : ButtonFace();
    if (m_crBack) p.fillRect(rect(), face);

    if (m_nEdges || m_bFramed) {
        // Edges are laid in whole device pixels so they stay sharp at any scale factor.
        const qreal dpr = devicePixelRatioF();
        const int u = std::max(1, static_cast<int>(std::lround(dpr)));
        p.save();
        p.scale(1 / dpr, 1 / dpr);
        QRect r(0, 0, static_cast<int>(std::lround(width() * dpr)),
                static_cast<int>(std::lround(height() * dpr)));
        const QRect full = r;
        // Shades follow the face, so a coloured cap keeps its colour in its bevel.
        const QColor hilight = Blend(face, Qt::white, 0.75);
        const QColor light = Blend(face, Qt::white, 0.35);
        const QColor shadow = Blend(face, Qt::black, 0.35);
        const QColor dkShadow = Blend(face, Qt::black, 0.6);
        if (m_nEdges & kBorder) Bevel(p, r, u, QColor(0x64, 0x64, 0x64), QColor(0x64, 0x64, 0x64));
        if (m_nEdges & kModalFrame) {
            Bevel(p, r, u, light, dkShadow);
            Bevel(p, r, u, hilight, shadow);
            Bevel(p, r, u, face, face);
        }
        if (m_nEdges & kClientEdge) {
            // A pressed cap: a deep dark edge on the top and left, so a missed key stands out.
            Bevel(p, r, u, dkShadow, hilight);
            Bevel(p, r, u, Blend(face, Qt::black, 0.45), light);
        }
        if (m_nEdges & kStaticEdge) Bevel(p, r, u, shadow, hilight);
        if (m_bFramed) {
            // Over the edges, never over the legend inside them.
            QRect outer = full;
            const QColor ink = FromColorRef(m_crText);
            Bevel(p, outer, kFrameWidth * u, ink, ink);
        }
        p.restore();
    }

    if (!m_strText.isEmpty()) {
        QRect inner = TextRect();
        if (IsSunken()) inner.translate(1, 1);  // the legend goes down with the cap
        p.setClipRect(inner);
        if (IsSoundMark(m_strText)) {
            DrawSoundMark(p, inner);
        } else {
            p.setPen(FromColorRef(m_crText));
            p.setFont(DrawnFont());
            p.drawText(inner, static_cast<int>(m_align) | Qt::TextSingleLine, m_strText);
        }
    }
}

void CColorStatic::DrawSoundMark(QPainter& p, const QRect& inner) const {
    // The font draws ゛ and ゜ as a speck in the corner of the character cell, where a learner
    // cannot see it or its light: the mark's own outline is centred and sized like a kana's.
    // Scaled up several times, a bold mark would blot: its strokes are drawn from the plain face.
    QFont plain = font();
    plain.setBold(false);
    QPainterPath path;
    path.addText(0, 0, plain, m_strText);
    const QRectF ink = path.boundingRect();
    if (ink.isEmpty()) return;
    const qreal kana = QFontMetricsF(font()).tightBoundingRect(QStringLiteral("あ")).height();
    const qreal scale = 0.7 * kana / std::max(ink.width(), ink.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QRectF(inner).center());
    p.scale(scale, scale);
    p.translate(-ink.center());
    p.fillPath(path, FromColorRef(m_crText));
    p.restore();
}

}  // namespace kibiki::ui
