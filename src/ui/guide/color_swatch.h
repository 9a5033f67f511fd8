#pragma once
// A colour field of the colour dialog: a bordered CColorStatic that is clicked with the mouse or,
// having the focus, with Space or Enter.
#include "ui/app/color_static.h"

namespace kibiki::ui {

class CColorSwatch : public CColorStatic {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* pParent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
};

}  // namespace kibiki::ui
