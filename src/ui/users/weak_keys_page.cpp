#include "ui/users/weak_keys_page.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/users/heat_map_page.h"

namespace kibiki::ui {

CWeakKeysPage::CWeakKeysPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                             QWidget* pParent)
    : QWidget(pParent) {
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

}  // namespace kibiki::ui
