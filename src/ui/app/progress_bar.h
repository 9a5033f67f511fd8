#pragma once
// The vertical, smooth progress bar beside the question box: pages done of the question.
#include <QWidget>

namespace kibiki::ui {

class CProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit CProgressBar(QWidget* pParent = nullptr);

    void setRange(int nLower, int nUpper);
    void setValue(int nValue);
    int minimum() const { return m_nLower; }
    int maximum() const { return m_nUpper; }
    int value() const { return m_nValue; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_nLower = 0, m_nUpper = 100, m_nValue = 0;
};

}  // namespace kibiki::ui
