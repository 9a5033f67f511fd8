#include "ui/users/weak_keys_page.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/users/heat_map_page.h"
#include "ui/users/key_speed_view.h"

namespace kibiki::ui {

CWeakKeysPage::CWeakKeysPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                             QWidget* pParent)
    : QWidget(pParent), m_pRecords(pRecords), m_mode(mode), m_bJisLayout(bJisLayout) {
    setObjectName(QStringLiteral("weak_keys_page"));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pViews = new QStackedWidget(this);
    m_pViews->setObjectName(QStringLiteral("weak_key_views"));
    m_pHeatMap = new CHeatMapPage(std::move(pRecords), mode, bJisLayout, m_pViews);
    m_pHeatMap->setObjectName(QStringLiteral("heat_map_page"));
    m_pViews->addWidget(m_pHeatMap);
    pLayout->addWidget(m_pViews, 1);
}

void CWeakKeysPage::AttachLog(LogAccess access) {
    if (m_pSpeed) return;
    auto* pRow = new QHBoxLayout;
    pRow->setContentsMargins(4, 4, 4, 0);
    auto* pHistory = new QRadioButton(QStringLiteral("履歴のミス回数(&H)"), this);
    auto* pLog = new QRadioButton(QStringLiteral("練習ログ（ミス率と速さ）(&L)"), this);
    pHistory->setObjectName(QStringLiteral("weak_keys_from_history"));
    pLog->setObjectName(QStringLiteral("weak_keys_from_log"));
    m_pSource = new QButtonGroup(this);
    m_pSource->addButton(pHistory, 0);
    m_pSource->addButton(pLog, 1);
    pRow->addWidget(pHistory);
    pRow->addWidget(pLog);
    pRow->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, pRow);

    m_pSpeed = new CKeySpeedView(m_pRecords, access.fnLog, m_mode, m_bJisLayout, m_pViews);
    m_pSpeed->setObjectName(QStringLiteral("key_speed_view"));
    m_pSpeed->m_fnDrillKeys = std::move(access.fnDrillKeys);
    m_pSpeed->m_fnDrillPairs = std::move(access.fnDrillPairs);
    m_pViews->addWidget(m_pSpeed);
    connect(m_pSource, &QButtonGroup::idClicked, m_pViews, &QStackedWidget::setCurrentIndex);
    const bool bHasLog = access.fnLog && access.fnLog();
    m_pSource->button(bHasLog ? 1 : 0)->setChecked(true);
    m_pViews->setCurrentIndex(bHasLog ? 1 : 0);
}

}  // namespace kibiki::ui
