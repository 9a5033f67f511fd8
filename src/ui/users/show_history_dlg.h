#pragma once
// "履歴表示": the user's finished lessons, oldest first, with every missed key of a row one click
// away and the whole history deletable. The list is one page of the dialog's content area, so
// further views of the same rows can sit beside it.
#include <QDialog>
#include <functional>

#include "ui/app/qt_messenger.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QString;
class QTabWidget;
class QTableView;

namespace kibiki {
class CUserSettings;
}

namespace kibiki::ui {

class CHeatMapPage;
class CProgressPage;
class HistoryTableModel;

class CShowHistoryDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the history of the settings record's user once, now. bJisLayout: the keyboard's
    // legends on the weak-keys page.
    explicit CShowHistoryDlg(const CUserSettings& settings, QWidget* pParent = nullptr, bool bJisLayout = true);

    QTableView* List() const { return m_pList; }
    HistoryTableModel* Model() const { return m_pModel; }
    CProgressPage* ChartPage() const { return m_pChartPage; }
    CHeatMapPage* HeatPage() const { return m_pHeatPage; }
    QTabWidget* ProgressTabs() const { return m_pTabs; }
    QPushButton* ShowChart() const { return m_pShowChart; }
    // The line saying that only the newest runs are shown; null when the history was read whole.
    QLabel* NewestOnlyNotice() const { return m_pNotice; }

    // "CSV保存...": the history as a CSV file; false when nothing was written. strPath given
    // skips the save-file dialog.
    bool SaveCsv(QString strPath = {});

    // After "履歴削除" deleted the history: what goes with it (the practice log).
    std::function<void()> m_fnHistoryDeleted;

private:
    void OnShowAll();
    void OnDeleteHistory();
    void FitColumns();

    const CUserSettings& m_settings;
    QtMessenger m_messenger{this};
    HistoryTableModel* m_pModel;
    QTableView* m_pList;
    QPushButton* m_pShowAll;
    QPushButton* m_pShowChart;
    QStackedWidget* m_pPages;
    QTabWidget* m_pTabs;
    CProgressPage* m_pChartPage;
    CHeatMapPage* m_pHeatPage;
    QLabel* m_pNotice = nullptr;  // "the newest N runs are shown", for a history over the read cap
};

}  // namespace kibiki::ui
