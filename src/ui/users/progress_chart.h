#pragma once
// The history dialog's chart page: speed and accuracy of each run over time with the mean of the
// last ten runs, for the runs of one lesson chosen in a combo box.
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
    void SetSeries(ProgressSeries series);
    const ProgressSeries& Series() const { return m_series; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ProgressSeries m_series;
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
