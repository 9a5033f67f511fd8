#pragma once
// "学習の記録": the learner's progress in one resizable window: speed and accuracy over time, the
// weak keys, a calendar with the daily goal and streaks, and the timed tests' results. Its size
// and page are view state, kept by the ui apart from the user's settings file.
#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class QTabWidget;

namespace kibiki {
class CHistoryRecords;
class CUserSettings;
}  // namespace kibiki

namespace kibiki::ui {

class CCalendarPage;
class CProgressPage;
class CTestResultsPage;
class CWeakKeysPage;

class CProgressWindow : public QDialog {
    Q_OBJECT
public:
    enum Page { PAGE_CHART, PAGE_WEAK_KEYS, PAGE_CALENDAR, PAGE_TESTS };

    // pRecords: the history as already read, or null to read the settings record's user's.
    // nToday: the local day the calendar counts to; by default the machine's today.
    CProgressWindow(CUserSettings& settings, std::shared_ptr<const CHistoryRecords> pRecords,
                    QWidget* pParent = nullptr, bool bJisLayout = true, std::int64_t nToday = kToday);

    QTabWidget* Pages() const { return m_pPages; }
    CProgressPage* ChartPage() const { return m_pChartPage; }
    CWeakKeysPage* WeakKeysPage() const { return m_pWeakKeysPage; }
    CCalendarPage* CalendarPage() const { return m_pCalendarPage; }
    // Empty until the practice log is read into it (CTestResultsPage::ReadLog).
    CTestResultsPage* TestsPage() const { return m_pTestsPage; }

    // Where the view state lives: an INI file for tests and benchmarks; empty (the default) is the
    // ui's own store beside the profile. Returns the one it replaces.
    static QString SetViewStateFile(const QString& strPath);

    static constexpr std::int64_t kToday = INT64_MIN;

protected:
    void done(int nResult) override;

private:
    QTabWidget* m_pPages;
    CProgressPage* m_pChartPage;
    CWeakKeysPage* m_pWeakKeysPage;
    CCalendarPage* m_pCalendarPage;
    CTestResultsPage* m_pTestsPage;
};

}  // namespace kibiki::ui
