#pragma once
// The progress window's "腕試し" page: each finished test's characters per 10 minutes and
// accuracy over time, from the practice log; a hint while there is none.
#include <QWidget>
#include <vector>

#include "practice_log/logged_run.h"
#include "progress/test_results.h"

class QLabel;

namespace kibiki {
class PracticeLog;
}

namespace kibiki::ui {

// Paints the points; the figures and axes are the core's.
class CTestResultsChart : public QWidget {
    Q_OBJECT
public:
    explicit CTestResultsChart(QWidget* pParent = nullptr);
    void SetPoints(std::vector<TestResultPoint> points);
    const std::vector<TestResultPoint>& Points() const { return m_points; }
    // The tip of the point nearest to pos within a few pixels; empty when none is.
    QString TipAt(QPoint pos) const;
    QPointF CharsPoint(std::size_t i) const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* pEvent) override;

private:
    struct Frame;
    Frame Layout() const;
    std::vector<TestResultPoint> m_points;
};

class CTestResultsPage : public QWidget {
    Q_OBJECT
public:
    explicit CTestResultsPage(QWidget* pParent = nullptr);
    // The log's runs (summaries); the tests among them are charted.
    void SetRuns(const std::vector<LoggedRun>& runs);
    // Reads the runs of the user's log; none (null) shows the hint.
    void ReadLog(PracticeLog* pLog);
    CTestResultsChart* Chart() const { return m_pChart; }
    QLabel* Hint() const { return m_pHint; }

private:
    CTestResultsChart* m_pChart;
    QLabel* m_pHint;
};

}  // namespace kibiki::ui
