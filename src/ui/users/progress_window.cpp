#include "ui/users/progress_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>
#include <ctime>
#include <utility>

#include "progress/practice_days.h"
#include "ui/app/fonts.h"
#include "ui/users/calendar_page.h"
#include "ui/users/progress_chart.h"
#include "ui/users/test_results_page.h"
#include "ui/users/weak_keys_page.h"
#include "users/history_file.h"
#include "users/user_settings.h"

namespace kibiki::ui {

namespace {

QString& ViewStateFile() {
    static QString s;
    return s;
}

std::unique_ptr<QSettings> ViewState() {
    if (!ViewStateFile().isEmpty()) return std::make_unique<QSettings>(ViewStateFile(), QSettings::IniFormat);
    // Not the profile: that store holds the rules' own sections.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tobira software"),
                                       QStringLiteral("Kibiki-view"));
}

const QString kSizeKey = QStringLiteral("ProgressWindow/size");
const QString kPageKey = QStringLiteral("ProgressWindow/page");

}  // namespace

QString CProgressWindow::SetViewStateFile(const QString& strPath) { return std::exchange(ViewStateFile(), strPath); }

CProgressWindow::CProgressWindow(CUserSettings& settings, std::shared_ptr<const CHistoryRecords> pRecords,
                                 QWidget* pParent, bool bJisLayout, std::int64_t nToday)
    : QDialog(pParent) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral("学習の記録"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    setFont(FormFont());
    if (!pRecords) pRecords = ReadHistoryRecords(settings);
    if (nToday == kToday) nToday = LocalDay(std::time(nullptr));

    auto* pLayout = new QVBoxLayout(this);
    m_pPages = new QTabWidget(this);
    m_pPages->setObjectName(QStringLiteral("progress_pages"));
    m_pChartPage = new CProgressPage(pRecords, m_pPages);
    m_pPages->addTab(m_pChartPage, QStringLiteral("速さと正確さ"));
    m_pWeakKeysPage = new CWeakKeysPage(pRecords, PracticeMode{settings.m_nType}, bJisLayout, m_pPages);
    m_pPages->addTab(m_pWeakKeysPage, QStringLiteral("苦手キー"));
    m_pCalendarPage = new CCalendarPage(settings, std::move(pRecords), nToday, m_pPages);
    m_pPages->addTab(m_pCalendarPage, QStringLiteral("カレンダー"));
    m_pTestsPage = new CTestResultsPage(m_pPages);
    m_pPages->addTab(m_pTestsPage, QStringLiteral("腕試し"));
    pLayout->addWidget(m_pPages, 1);

    auto* pButtons = new QDialogButtonBox(this);
    QPushButton* pClose = pButtons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    pClose->setObjectName(QStringLiteral("close"));
    // Never the default: in the Fusion style a default button looks the same with the focus as
    // without, and Enter in the goal's box would close the window. Esc and Space close it.
    pClose->setAutoDefault(false);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLayout->addWidget(pButtons);

    // The smallest size every page reads whole in; the first opening gets room to look around.
    setMinimumSize(minimumSizeHint().expandedTo(QSize(560, 420)));
    const auto pState = ViewState();
    const QSize size = pState->value(kSizeKey).toSize();
    resize(size.isValid() ? size.expandedTo(minimumSize()) : QSize(860, 600).expandedTo(minimumSize()));
    const int nPage = pState->value(kPageKey, PAGE_CHART).toInt();
    m_pPages->setCurrentIndex(nPage >= 0 && nPage < m_pPages->count() ? nPage : PAGE_CHART);
}

void CProgressWindow::done(int nResult) {
    const auto pState = ViewState();
    // A maximised window keeps the size to return to.
    pState->setValue(kSizeKey, isMaximized() ? normalGeometry().size() : size());
    pState->setValue(kPageKey, m_pPages->currentIndex());
    QDialog::done(nResult);
}

}  // namespace kibiki::ui
