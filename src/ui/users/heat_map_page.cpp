#include "ui/users/heat_map_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/app/color_static.h"
#include "ui/app/qt_text.h"
#include "ui/users/cap_grid.h"
#include "ui/users/mode_chooser.h"

namespace kibiki::ui {


CHeatMapPage::CHeatMapPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                           QWidget* pParent)
    : QWidget(pParent), m_pRecords(std::move(pRecords)), m_bJisLayout(bJisLayout) {
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(4);
    auto* pRow = new QHBoxLayout;
    auto* pModeLabel = new QLabel(QStringLiteral("練習モード"), this);
    m_pMode = new QComboBox(this);
    m_pMode->setObjectName(QStringLiteral("heat_mode"));
    AddModeNames(m_pMode);
    m_pMode->setCurrentIndex(ModeValue(mode));
    pModeLabel->setBuddy(m_pMode);
    auto* pRunsLabel = new QLabel(QStringLiteral("対象"), this);
    m_pRuns = new QComboBox(this);
    m_pRuns->setObjectName(QStringLiteral("heat_runs"));
    m_pRuns->addItems({QStringLiteral("最近の%1回").arg(kWeakKeyRuns), QStringLiteral("すべて")});
    pRunsLabel->setBuddy(m_pRuns);
    m_pNote = new QLabel(this);
    m_pNote->setObjectName(QStringLiteral("heat_note"));
    for (QWidget* p : std::initializer_list<QWidget*>{pModeLabel, m_pMode, pRunsLabel, m_pRuns}) pRow->addWidget(p);
    pRow->addStretch(1);
    pLayout->addLayout(pRow);
    // Its own line: beside the choosers a narrow window would cut it.
    pLayout->addWidget(m_pNote);

    auto* pGrid = new CCapGrid(this);
    for (int k = 0; k < 48; ++k) {
        auto* p = new CColorStatic(pGrid);
        p->setObjectName(QStringLiteral("heat_cap%1").arg(k));
        p->setAlignment(Qt::AlignCenter);
        p->SetEdges(CColorStatic::kModalFrame);
        QFont bold = p->font();
        bold.setBold(true);
        p->setFont(bold);
        pGrid->caps[static_cast<std::size_t>(k)] = m_apCaps[static_cast<std::size_t>(k)] = p;
    }
    pLayout->addWidget(pGrid, 1);

    connect(m_pMode, &QComboBox::currentIndexChanged, this, &CHeatMapPage::Recount);
    connect(m_pRuns, &QComboBox::currentIndexChanged, this, &CHeatMapPage::Recount);
}

void CHeatMapPage::showEvent(QShowEvent* pEvent) {
    if (!m_bCounted) Recount();
    QWidget::showEvent(pEvent);
}

void CHeatMapPage::SetRecords(std::shared_ptr<const CHistoryRecords> pRecords) {
    m_pRecords = std::move(pRecords);
    m_bCounted = false;
    if (isVisible()) Recount();
}

const std::vector<HeatCap>& CHeatMapPage::Counted() {
    if (!m_bCounted) Recount();
    return m_aCaps;
}

void CHeatMapPage::Recount() {
    m_bCounted = true;
    const PracticeMode mode{m_pMode->currentIndex() < 0 ? 0 : m_pMode->currentIndex()};
    const MissedKeyCounts counts = m_pRecords ? CountMissedKeys(*m_pRecords, mode, m_pRuns->currentIndex() == 1 ? kAllRuns : kWeakKeyRuns)
                                              : MissedKeyCounts();
    m_aCaps = HeatMap(counts, mode, m_bJisLayout);
    for (std::size_t k = 0; k < m_aCaps.size(); ++k) {
        const HeatCap& cap = m_aCaps[k];
        const QString legend = FromCp932(cap.strLegend);
        CColorStatic* p = m_apCaps[k];
        p->setText(cap.nCount > 0 ? legend + QLatin1Char(' ') + QString::number(cap.nCount) : legend);
        p->SetBackColor(cap.crBack);
        p->SetTextColor(cap.crText);
        p->setToolTip(QStringLiteral("%1：%2回").arg(legend).arg(cap.nCount));
    }
    m_pNote->setText(counts.nRuns == 0 ? QStringLiteral("この練習モードの記録はまだありません")
                                       : QStringLiteral("%1回の練習から（オリジナルレッスンは含みません）").arg(counts.nRuns));
}

}  // namespace kibiki::ui
