#pragma once
// A home-position marker: a small filled triangle pointing up at its home key.
#include <QWidget>
#include <cstdint>

namespace kibiki::ui {

class CGuideStatic : public QWidget {
    Q_OBJECT
public:
    explicit CGuideStatic(QWidget* pParent = nullptr);

    void SetMarkerColor(std::uint32_t crMarker);
    std::uint32_t MarkerColor() const { return m_crMarker; }
    // An invisible marker draws nothing.
    void SetMarkerVisible(bool bVisible);
    bool MarkerVisible() const { return m_bVisible; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    std::uint32_t m_crMarker = 0;
    bool m_bVisible = true;
};

}  // namespace kibiki::ui
