#pragma once
// The progress window's chart page: speed and accuracy of each run over time with the mean of
// the last ten runs, for the runs of one lesson chosen in a combo box (at first the lesson last
// practised). A point's tip tells its run.
#include <QWidget>
#include <memory>
#include <vector>

#include "users/history_record.h"
#include "progress/progress_series.h"

class QComboBox;
class QLabel;

namespace kibiki::ui {

// Paints a series; holds no rule of its own.
class CProgressChart : public QWidget {
    Q_OBJECT
public:
    explicit CProgressChart(QWidget* pParent = nullptr);
    // The records the series points into, for the tips.
    void SetSeries(ProgressSeries series, std::shared_ptr<const CHistoryRecords> pRecords = {});
    const ProgressSeries& Series() const { return m_series; }
    // The series in words: its accessible description, and the page's line below it.
    const QString& Summary() const { return m_strSummary; }
    // The tip of the point nearest to pos within a few pixels; empty when none is.
    QString TipAt(QPoint pos) const;
    // Where a point is drawn: its speed and its accuracy dot.
    QPointF SpeedPoint(std::size_t i) const;
    QPointF AccuracyPoint(std::size_t i) const;
    // The run the arrow keys have chosen (the newest at first): said as it changes, ringed while
    // the chart has the focus. Size of the series when it has none.
    std::size_t Chosen() const { return m_nChosen; }
    void Choose(std::size_t i);

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    struct Frame;
    Frame Layout() const;
    ProgressSeries m_series;
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    QString m_strSummary;
    std::size_t m_nChosen = 0;
};

class CProgressPage : public QWidget {
    Q_OBJECT
public:
    // The records are shared with the dialog's other pages.
    explicit CProgressPage(std::shared_ptr<const CHistoryRecords> pRecords, QWidget* pParent = nullptr);
    void SetRecords(std::shared_ptr<const CHistoryRecords> pRecords);
    QComboBox* Filter() const { return m_pFilter; }
    CProgressChart* Chart() const { return m_pChart; }

private:
    void OnFilter(int nIndex);
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    std::vector<ProgressFilter> m_aFilters;
    QComboBox* m_pFilter;
    CProgressChart* m_pChart;
    QLabel* m_pSummary;
};

}  // namespace kibiki::ui
