#pragma once
// The progress window's "カレンダー" page: the last twelve months as a grid of days shaded by the
// minutes practised, with its legend, today's minutes against the daily goal (set here), the
// current and the longest streak, and the totals. Every figure comes from the core.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "progress/practice_days.h"
#include "users/history_record.h"

class QLabel;
class QSpinBox;

namespace kibiki {
class CUserSettings;
}

namespace kibiki::ui {

// Paints the grid; a day's tip tells its date, minutes and runs.
class CCalendarGrid : public QWidget {
    Q_OBJECT
public:
    explicit CCalendarGrid(QWidget* pParent = nullptr);
    void SetDays(const PracticeDays* pDays, const CalendarGrid& grid, int nGoal);
    const CalendarGrid& Grid() const { return m_grid; }
    // The cell of a day, in widget coordinates; empty when it is not shown.
    QRect CellOf(std::int64_t nDay) const;
    QString TipAt(QPoint pos) const;
    // The day the arrow keys have chosen (today at first): it is said as it changes and framed
    // while the grid has the focus.
    std::int64_t Chosen() const { return m_nChosen; }
    void Choose(std::int64_t nDay);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // As high as its width's cells need: the page below it stays for the legend.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int nWidth) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    struct Metrics {
        int nCell, nGap, nLeft, nTop;
    };
    Metrics Measure() const { return MeasureFor(width(), height()); }
    Metrics MeasureFor(int nWidth, int nHeight) const;
    const PracticeDays* m_pDays = nullptr;
    CalendarGrid m_grid;
    int m_nGoal = 0;
    std::int64_t m_nChosen = 0;
};

class CCalendarPage : public QWidget {
    Q_OBJECT
public:
    // nToday: the local day the page counts up to. The goal is saved in the settings file.
    CCalendarPage(CUserSettings& settings, std::shared_ptr<const CHistoryRecords> pRecords, std::int64_t nToday,
                  QWidget* pParent = nullptr);

    QSpinBox* Goal() const { return m_pGoal; }
    CCalendarGrid* Grid() const { return m_pGrid; }
    const PracticeDays& Days();

private:
    void Refresh();
    void OnGoal(int nMinutes);

    CUserSettings& m_settings;
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    std::int64_t m_nToday;
    PracticeDays m_days;
    bool m_bCounted = false;
    QSpinBox* m_pGoal;
    QLabel* m_pToday;
    QLabel* m_pCurrent;
    QLabel* m_pLongest;
    QLabel* m_pTotals;
    QLabel* m_pRule;
    CCalendarGrid* m_pGrid;
    QLabel* m_apLegend[kCalendarLevels]{};
    QLabel* m_apLegendText[kCalendarLevels]{};
};

}  // namespace kibiki::ui
