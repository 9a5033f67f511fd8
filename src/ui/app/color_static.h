#pragma once
// A static text with its own background, text colour and point-size font, drawn with the edge
// looks of the form: plain border, static edge, raised frame (key caps) and sunken (a missed key).
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <optional>

class QPainter;

namespace kibiki::ui {
class CColorStatic : public QWidget {
    Q_OBJECT
public:
    // Edges, outermost first when combined.
    enum Edge : unsigned {
        kBorder = 1,      // one dark line
        kModalFrame = 2,  // raised, three pixels: a key cap at rest
        kClientEdge = 4,  // sunken, two pixels
        kStaticEdge = 8,  // sunken, one pixel
    };

    explicit CColorStatic(QWidget* pParent = nullptr);

    void setText(const QString& strText);
    QString text() const { return m_strText; }
    void setAlignment(Qt::Alignment align);
    Qt::Alignment alignment() const { return m_align; }

    void SetEdges(unsigned nEdges);
    unsigned Edges() const { return m_nEdges; }
    // The cap looks the judge switches between; a raised cap keeps any other edges it has.
    void SetSunken(bool bSunken);
    bool IsSunken() const { return (m_nEdges & kClientEdge) != 0; }
    // A thick frame in the text colour over the edges: the next key, found at a glance.
    void SetFramed(bool bFramed);
    bool IsFramed() const { return m_bFramed; }
    static constexpr int kFrameWidth = 3;  // logical pixels, the width of a cap's raised edge

    // No background set: the parent's shows through.
    void SetBackColor(std::uint32_t crBack);
    std::optional<std::uint32_t> BackColor() const { return m_crBack; }
    void SetTextColor(std::uint32_t crText);
    std::uint32_t TextColor() const { return m_crText; }
    void SetPointSize(int nPoints);

    // Width of the edges on each side, in logical pixels.
    int EdgeWidth() const;
    // Pixels kept clear between a text and the edges at its sides: a text that touches an
    // edge reads as cut.
    static constexpr int kTextAir = 2;
    // Where the text goes, and its font: the set one, or smaller where the text would not fit.
    QRect TextRect() const;
    QFont DrawnFont() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void DrawSoundMark(QPainter& p, const QRect& inner) const;
    QString m_strText;
    Qt::Alignment m_align = Qt::AlignLeft | Qt::AlignTop;
    unsigned m_nEdges = 0;
    std::optional<std::uint32_t> m_crBack;
    std::uint32_t m_crText = 0;
    bool m_bFramed = false;
    struct DrawnFontCache {
        QString text;
        QSize room;
        QFont set, drawn;
    };
    mutable std::optional<DrawnFontCache> m_drawn;
};

}  // namespace kibiki::ui
