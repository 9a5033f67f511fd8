#pragma once
// "履歴表示": the user's finished lessons, oldest first, with every missed key of a row one click
// away and the whole history deletable; "学習の記録..." opens the progress window on the same
// records, "CSV保存..." writes them for a spreadsheet.
#include <QDialog>
#include <functional>
#include <memory>

#include "ui/app/qt_messenger.h"

class QLabel;
class QPushButton;
class QString;
class QTableView;

namespace kibiki {
class CHistoryRecords;
class CUserSettings;
}

namespace kibiki::ui {

class HistoryTableModel;

class CShowHistoryDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the history of the settings record's user once, now. bJisLayout: the keyboard's
    // legends in the progress window. The progress window may change the daily goal.
    explicit CShowHistoryDlg(CUserSettings& settings, QWidget* pParent = nullptr, bool bJisLayout = true);

    QTableView* List() const { return m_pList; }
    HistoryTableModel* Model() const { return m_pModel; }
    // The line saying that only the newest runs are shown; null when the history was read whole.
    QLabel* NewestOnlyNotice() const { return m_pNotice; }

    // "CSV保存...": the history as a CSV file; false when nothing was written. strPath given
    // skips the save-file dialog.
    bool SaveCsv(QString strPath = {});

    // After "履歴削除" deleted the history: what goes with it (the practice log).
    std::function<void()> m_fnHistoryDeleted;
    // Readies the progress window it opens (the practice log's view); returns nothing.
    std::function<void(class CProgressWindow&)> m_fnPrepareProgress;
    // Asked after that window closed: true when it started something this dialog must give way to.
    std::function<bool()> m_fnCloseAfterProgress;

private:
    void OnShowAll();
    void OnDeleteHistory();
    void FitColumns();
    void OnProgress();

    CUserSettings& m_settings;
    bool m_bJisLayout;
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    QtMessenger m_messenger{this};
    HistoryTableModel* m_pModel;
    QTableView* m_pList;
    QPushButton* m_pShowAll;
    QLabel* m_pNotice = nullptr;  // "the newest N runs are shown", for a history over the read cap
};

}  // namespace kibiki::ui
