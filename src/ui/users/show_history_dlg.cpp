#include "ui/users/show_history_dlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include "ui/app/color_static.h"
#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"
#include "platform/regular_file.h"
#include "progress/history_csv.h"
#include "users/history_file.h"
#include "ui/users/history_table_model.h"
#include "ui/users/progress_window.h"
#include "ui/users/show_miss_details_dlg.h"
#include "users/user_settings.h"

namespace kibiki::ui {

CShowHistoryDlg::CShowHistoryDlg(CUserSettings& settings, QWidget* pParent, bool bJisLayout)
    : QDialog(pParent), m_settings(settings), m_bJisLayout(bJisLayout) {
    setObjectName(QStringLiteral("showHistoryDlg"));
    setWindowTitle(QStringLiteral("履歴表示"));
    setFont(FormFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(426, 140));

    auto* pNameLabel = new QLabel(QStringLiteral("ユーザ名"), this);
    pNameLabel->setGeometry(du.Rect(14, 10, 34, 14));
    auto* pName = new CColorStatic(this);
    pName->setObjectName(QStringLiteral("user_name"));
    // Up to the buttons; a longer name ends in "…" and shows whole as a tip.
    pName->setGeometry(du.Rect(50, 10, 36, 14));
    pName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QString strName = FromCp932(settings.m_strUser);
    pName->setText(pName->fontMetrics().elidedText(strName, Qt::ElideRight, pName->width() - 4));
    pName->setToolTip(strName);

    auto addButton = [&](const char* pszName, const char* pszText, int x, int cx) {
        auto* p = new QPushButton(QString::fromUtf8(pszText), this);
        p->setObjectName(QString::fromUtf8(pszName));
        p->setGeometry(du.Rect(x, 8, cx, 14));
        return p;
    };
    QPushButton* pProgress = addButton("progress", "学習の記録...", 89, 52);
    connect(pProgress, &QPushButton::clicked, this, &CShowHistoryDlg::OnProgress);
    QPushButton* pCsv = addButton("save_csv", "CSV保存...", 143, 48);
    connect(pCsv, &QPushButton::clicked, this, [this] { SaveCsv(); });
    QPushButton* pDelete = addButton("delete_history", "履歴削除", 195, 50);
    m_pShowAll = addButton("show_all", "間違えたキーをすべて表示", 255, 102);
    QPushButton* pClose = addButton("close", "閉じる", 369, 50);
    pClose->setDefault(true);
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pShowAll, &QPushButton::clicked, this, &CShowHistoryDlg::OnShowAll);
    connect(pDelete, &QPushButton::clicked, this, &CShowHistoryDlg::OnDeleteHistory);

    // One reading of the file, parsed once: the list's rows and the progress window share it.
    bool bNewestOnly = false;
    m_pRecords = ReadHistoryRecords(settings, &bNewestOnly);
    if (bNewestOnly) {
        // A line below the list says that it and the progress window leave out the oldest runs
        // (the CSV holds them all).
        setFixedSize(du.Size(426, 152));
        m_pNotice = new QLabel(FromCp932(NewestRunsNotice(m_pRecords->size())), this);
        m_pNotice->setObjectName(QStringLiteral("newest_only"));
        m_pNotice->setGeometry(du.Rect(7, 137, 412, 12));
    }
    m_pModel = new HistoryTableModel(CHistoryRows(m_pRecords), this);
    m_pList = new QTableView(this);
    m_pList->setObjectName(QStringLiteral("history"));
    m_pList->setAccessibleName(QStringLiteral("履歴"));
    m_pList->setGeometry(du.Rect(7, 26, 412, 108));
    m_pList->setModel(m_pModel);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setTabKeyNavigation(false);
    m_pList->setShowGrid(false);
    m_pList->setWordWrap(false);
    m_pList->setCornerButtonEnabled(false);
    m_pList->setSortingEnabled(false);
    m_pList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_pList->verticalHeader()->hide();
    // Every row one line high: the view never asks a row for its height.
    m_pList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pList->verticalHeader()->setDefaultSectionSize(m_pList->fontMetrics().height() + 4);
    QHeaderView* pHeader = m_pList->horizontalHeader();
    pHeader->setSectionsClickable(false);
    pHeader->setHighlightSections(false);
    pHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pHeader->setStretchLastSection(true);
    FitColumns();

    // Any change of the chosen row offers the missed keys; only deleting the history withdraws it.
    m_pShowAll->setEnabled(false);
    connect(m_pList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_pShowAll->setEnabled(true); });
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_pShowAll->setEnabled(true); });
    // Ctrl+C copies the chosen row, to keep a result elsewhere.
    auto* pCopy = new QShortcut(QKeySequence::Copy, m_pList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(pCopy, &QShortcut::activated, this, [this] {
        const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
        if (!rows.isEmpty()) QGuiApplication::clipboard()->setText(m_pModel->RowText(rows.first().row()));
    });
    pClose->setFocus();
}

void CShowHistoryDlg::FitColumns() {
    QHeaderView* pHeader = m_pList->horizontalHeader();
    const QFontMetrics cell(m_pList->font());
    const QFontMetrics head(pHeader->font());
    // The cell's and the header's margins on both sides.
    const int nPadding = 2 * m_pList->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, pHeader) + 12;
    for (int c = 0; c < CHistoryRows::COL_COUNT; ++c)
        pHeader->resizeSection(c, m_pModel->ContentWidth(c, cell, head) + nPadding);
}

bool CShowHistoryDlg::SaveCsv(QString strPath) {
    if (strPath.isEmpty()) {
        const QString strSuggested = QDir::home().filePath(FromCp932(m_settings.m_strUser) + QStringLiteral("_履歴.csv"));
        strPath = QFileDialog::getSaveFileName(this, QStringLiteral("CSV保存"), strSuggested,
                                               QStringLiteral("CSVファイル (*.csv)"));
        if (strPath.isEmpty()) return false;
    }
    FileFault fault = FileFault::None;
    if (SaveHistoryCsv(m_settings, strPath.toStdString(), &fault)) return true;
    QMessageBox::warning(this, QStringLiteral("Kibiki"), FromCp932(CsvSaveFailedText(strPath.toStdString(), fault)));
    return false;
}

void CShowHistoryDlg::OnShowAll() {
    const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
    const std::string strDetails =
        rows.isEmpty() ? std::string()
                       : m_pModel->Rows().Details(static_cast<std::size_t>(rows.first().row()));
    CShowMissDetailsDlg dlg(strDetails, this);
    dlg.exec();
    m_pList->setFocus();
}

void CShowHistoryDlg::OnDeleteHistory() {
    if (!AskAndDeleteHistory(m_settings, m_messenger)) return;
    if (m_fnHistoryDeleted) m_fnHistoryDeleted();
    m_pModel->Clear();
    m_pRecords = std::make_shared<const CHistoryRecords>();
    m_pShowAll->setEnabled(false);
    if (m_pNotice) m_pNotice->hide();
}

void CShowHistoryDlg::OnProgress() {
    CProgressWindow window(m_settings, m_pRecords, this, m_bJisLayout);
    if (m_fnPrepareProgress) m_fnPrepareProgress(window);
    window.exec();
    if (m_fnCloseAfterProgress && m_fnCloseAfterProgress()) {
        accept();
        return;
    }
    m_pList->setFocus();
}

}  // namespace kibiki::ui
