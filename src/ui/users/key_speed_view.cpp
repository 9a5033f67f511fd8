#include "ui/users/key_speed_view.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "practice_log/practice_log.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_key_drill_start.h"
#include "ui/app/colorref.h"
#include "ui/app/qt_text.h"
#include "ui/users/cap_grid.h"
#include "ui/users/mode_chooser.h"

namespace kibiki::ui {

void CFigureCap::Set(const FigureCap& cap) {
    m_strLegend = FromCp932(cap.strLegend);
    m_strBadge = FromCp932(cap.strBadge);
    m_back = FromColorRef(cap.crBack);
    m_text = FromColorRef(cap.crText);
    setToolTip(FromCp932(cap.strTip));
    setAccessibleName(FromCp932(cap.strTip));
    update();
}

void CFigureCap::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    p.setBrush(m_back);
    p.drawRoundedRect(r, 3, 3);
    QFont legend = font();
    legend.setBold(true);
    legend.setPixelSize(std::max(8, height() * 2 / 5));
    p.setFont(legend);
    p.setPen(m_text);
    // The legend keeps the upper left, the badge the lower right: "Q" and "6" never meet.
    p.drawText(rect().adjusted(3, 1, -2, -2), Qt::AlignLeft | Qt::AlignTop, m_strLegend);
    if (m_strBadge.isEmpty()) return;
    QFont small = font();
    small.setPixelSize(std::max(8, height() * 3 / 10));
    p.setFont(small);
    const QFontMetrics fm(small);
    const int w = fm.horizontalAdvance(m_strBadge) + 6, h = fm.height() + 1;
    const QRect badge(width() - w - 2, height() - h - 2, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(badge, h / 2.0, h / 2.0);
    p.setPen(Qt::black);
    p.drawText(badge, Qt::AlignCenter, m_strBadge);
}

CKeySpeedView::CKeySpeedView(std::shared_ptr<const CHistoryRecords> pRecords, std::function<PracticeLog*()> fnLog,
                             PracticeMode mode, bool bJisLayout, QWidget* pParent)
    : QWidget(pParent), m_pRecords(std::move(pRecords)), m_fnLog(std::move(fnLog)), m_bJisLayout(bJisLayout) {
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    auto* pRow = new QHBoxLayout;
    auto* pModeLabel = new QLabel(QStringLiteral("練習モード(&M)"), this);
    m_pMode = new QComboBox(this);
    m_pMode->setObjectName(QStringLiteral("speed_mode"));
    AddModeNames(m_pMode);
    m_pMode->setCurrentIndex(ModeValue(KnownMode(mode)));
    pModeLabel->setBuddy(m_pMode);
    auto* pMisses = new QRadioButton(QStringLiteral("ミス(&I)"), this);
    auto* pSpeed = new QRadioButton(QStringLiteral("速さ(&P)"), this);
    pMisses->setObjectName(QStringLiteral("speed_view_misses"));
    pSpeed->setObjectName(QStringLiteral("speed_view_speed"));
    m_pViewGroup = new QButtonGroup(this);
    m_pViewGroup->addButton(pMisses, static_cast<int>(FigureView::Misses));
    m_pViewGroup->addButton(pSpeed, static_cast<int>(FigureView::Speed));
    pSpeed->setChecked(true);
    auto* pTargetLabel = new QLabel(QStringLiteral("1打の目標(&T)"), this);
    m_pTarget = new QSpinBox(this);
    m_pTarget->setObjectName(QStringLiteral("speed_target"));
    m_pTarget->setRange(0, 2000);
    m_pTarget->setSingleStep(10);
    m_pTarget->setSuffix(QStringLiteral(" ms"));
    m_pTarget->setSpecialValueText(QStringLiteral("自分の中央値"));
    m_pTarget->setToolTip(QStringLiteral("キーの速さを比べる目標の時間。0 にすると、全キーの中央値を目標にします。"));
    pTargetLabel->setBuddy(m_pTarget);
    for (QWidget* p : std::initializer_list<QWidget*>{pModeLabel, m_pMode, pMisses, pSpeed, pTargetLabel, m_pTarget})
        pRow->addWidget(p);
    pRow->addStretch(1);
    pLayout->addLayout(pRow);
    m_pNote = new QLabel(this);
    m_pNote->setObjectName(QStringLiteral("speed_note"));
    m_pNote->setWordWrap(true);
    pLayout->addWidget(m_pNote);

    auto* pBody = new QHBoxLayout;
    auto* pKeys = new QVBoxLayout;
    auto* pGrid = new CCapGrid(this);
    pGrid->setMinimumSize(300, 110);
    for (int k = 0; k < 48; ++k) {
        auto* p = new CFigureCap(pGrid);
        p->setObjectName(QStringLiteral("speed_cap%1").arg(k));
        pGrid->caps[static_cast<std::size_t>(k)] = m_apCaps[static_cast<std::size_t>(k)] = p;
    }
    pKeys->addWidget(pGrid, 1);
    auto* pLegend = new QHBoxLayout;
    pLegend->setSpacing(2);
    for (int level = 0; level < kHeatLevels; ++level) {
        auto* p = new QLabel(this);
        p->setObjectName(QStringLiteral("speed_legend%1").arg(level));
        p->setAlignment(Qt::AlignCenter);
        p->setAutoFillBackground(true);
        p->setMargin(2);
        QPalette pal = p->palette();
        pal.setColor(QPalette::Window, FromColorRef(HeatBackColour(level)));
        pal.setColor(QPalette::WindowText, FromColorRef(HeatTextColour(level)));
        p->setPalette(pal);
        m_apLegend[static_cast<std::size_t>(level)] = p;
        pLegend->addWidget(p, 1);
    }
    pKeys->addLayout(pLegend);
    pBody->addLayout(pKeys, 4);

    auto* pSide = new QVBoxLayout;
    auto* pPairsLabel = new QLabel(QStringLiteral("遅い運指(&O)"), this);
    m_pPairs = new QTreeWidget(this);
    m_pPairs->setObjectName(QStringLiteral("speed_pairs"));
    m_pPairs->setAccessibleName(QStringLiteral("遅い運指"));
    m_pPairs->setRootIsDecorated(false);
    m_pPairs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pPairs->setHeaderLabels({QStringLiteral("運指"), QStringLiteral("中央値"), QStringLiteral("回数")});
    m_pPairs->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pPairs->header()->setStretchLastSection(false);
    pPairsLabel->setBuddy(m_pPairs);
    m_pDrillPairs = new QPushButton(QStringLiteral("運指の練習(&R)"), this);
    m_pDrillPairs->setObjectName(QStringLiteral("speed_drill_pairs"));
    m_pDrillPairs->setToolTip(QStringLiteral("選んだ運指（選ばなければ一覧のすべて）を含む問題で練習します"));
    m_pDrillKeys = new QPushButton(QStringLiteral("苦手キーの練習(&W)"), this);
    m_pDrillKeys->setObjectName(QStringLiteral("speed_drill_keys"));
    pSide->addWidget(pPairsLabel);
    pSide->addWidget(m_pPairs, 1);
    pSide->addWidget(m_pDrillPairs);
    pSide->addWidget(m_pDrillKeys);
    pBody->addLayout(pSide, 1);
    pLayout->addLayout(pBody, 1);

    connect(m_pMode, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
    connect(m_pViewGroup, &QButtonGroup::idClicked, this, [this] { Fill(); });
    connect(m_pTarget, &QSpinBox::editingFinished, this, &CKeySpeedView::OnTargetChanged);
    connect(m_pDrillKeys, &QPushButton::clicked, this, [this] {
        if (m_fnDrillKeys) m_fnDrillKeys(Mode());
    });
    connect(m_pDrillPairs, &QPushButton::clicked, this, [this] {
        std::vector<bool> chosen;
        for (int i = 0; i < m_pPairs->topLevelItemCount(); ++i) chosen.push_back(m_pPairs->topLevelItem(i)->isSelected());
        const std::vector<KeyPair> pairs = ChosenPairs(m_figures.slowPairs, chosen);
        if (m_fnDrillPairs && !pairs.empty()) m_fnDrillPairs(Mode(), pairs);
    });
}

PracticeMode CKeySpeedView::Mode() const { return PracticeMode{std::max(0, m_pMode->currentIndex())}; }

FigureView CKeySpeedView::View() const { return static_cast<FigureView>(std::max(0, m_pViewGroup->checkedId())); }

void CKeySpeedView::SetView(FigureView view) {
    m_pViewGroup->button(static_cast<int>(view))->setChecked(true);
    Fill();
}

void CKeySpeedView::SetMode(PracticeMode mode) { m_pMode->setCurrentIndex(ModeValue(KnownMode(mode))); }

void CKeySpeedView::SetRecords(std::shared_ptr<const CHistoryRecords> pRecords) {
    m_pRecords = std::move(pRecords);
    m_bFilled = false;
    if (isVisible()) Refill();
}

void CKeySpeedView::showEvent(QShowEvent* pEvent) {
    if (!m_bFilled) Refill();
    QWidget::showEvent(pEvent);
}

void CKeySpeedView::Refill() {
    m_bFilled = true;
    PracticeLog* log = m_fnLog ? m_fnLog() : nullptr;
    m_figures = log ? ReadSpeedFigures(*log, Mode()) : SpeedFigures();
    const std::optional<int> target = log ? log->TargetMs() : std::nullopt;
    const QSignalBlocker block(m_pTarget);
    m_pTarget->setValue(target.value_or(0));
    m_pTarget->setEnabled(log != nullptr);
    Fill();
}

void CKeySpeedView::OnTargetChanged() {
    PracticeLog* log = m_fnLog ? m_fnLog() : nullptr;
    if (!log) return;
    const int v = m_pTarget->value();
    log->SetTargetMs(v > 0 ? std::optional<int>(v) : std::nullopt);
    Refill();
}

void CKeySpeedView::Fill() {
    const PracticeMode mode = Mode();
    const MissedKeyCounts counts = m_pRecords ? CountMissedKeys(*m_pRecords, mode, kWeakKeyRuns) : MissedKeyCounts();
    const bool bLog = !m_figures.Empty();
    const FigureView view = View();
    m_caps = KeyFigureCaps(bLog ? &m_figures : nullptr, counts, mode, m_bJisLayout, view);
    for (std::size_t k = 0; k < m_caps.size(); ++k) m_apCaps[k]->Set(m_caps[k]);
    const auto labels = FigureLevelLabels(view, bLog);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        m_apLegend[i]->setText(FromCp932(labels[i]));
        m_apLegend[i]->setVisible(!labels[i].empty());
    }
    if (bLog) {
        m_pNote->setText(QStringLiteral("練習ログの最近の%1打から。キーの右下は%2。目標 %3 ms%4。")
                             .arg(m_figures.nKeysRead)
                             .arg(view == FigureView::Speed ? QStringLiteral("1打の中央値（ms）") : QStringLiteral("ミス率"))
                             .arg(m_figures.nTargetMs)
                             .arg(m_pTarget->value() ? QString() : QStringLiteral("（自分の中央値）")));
    } else {
        m_pNote->setText(view == FigureView::Speed
                             ? QStringLiteral("この練習モードの練習ログはまだありません。レッスンを終えると、キーごとの速さがここに出ます。")
                             : QStringLiteral("履歴の最近%1回から（練習ログができると、ミス率で表示します）").arg(kWeakKeyRuns));
    }
    m_pPairs->clear();
    for (const KeyPair& p : m_figures.slowPairs) {
        auto* item = new QTreeWidgetItem(m_pPairs);
        item->setText(0, FromCp932(p.strFrom) + QStringLiteral(" → ") + FromCp932(p.strTo));
        item->setText(1, QStringLiteral("%1 ms").arg(p.nMedianMs));
        item->setText(2, QString::number(p.nSamples));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_pDrillPairs->setEnabled(!m_figures.slowPairs.empty());
}

}  // namespace kibiki::ui
