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

namespace kibiki::ui {

// Paints a series; holds no rule of its own.
class CProgressChart : public QWidget {
    Q_OBJECT
public:
    explicit CProgressChart(QWidget* pParent = nullptr);
    // The records the series points into, for the tips.
    void SetSeries(ProgressSeries series, std::shared_ptr<const CHistoryRecords> pRecords = {});
    const ProgressSeries& Series() const { return m_series; }
    // The tip of the point nearest to pos within a few pixels; empty when none is.
    QString TipAt(QPoint pos) const;
    // Where a point is drawn: its speed and its accuracy dot.
    QPointF SpeedPoint(std::size_t i) const;
    QPointF AccuracyPoint(std::size_t i) const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* pEvent) override;

private:
    struct Frame;
    Frame Layout() const;
    ProgressSeries m_series;
    std::shared_ptr<const CHistoryRecords> m_pRecords;
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
};

}  // namespace kibiki::ui
