#include "ui/users/calendar_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/app/accessible.h"
#include "ui/app/colorref.h"
#include "ui/app/point_tip.h"
#include "progress/progress_summary.h"
#include "users/user_settings.h"

namespace kibiki::ui {

namespace {

constexpr int kWeekdayLabels[] = {1, 3, 5};  // 月, 水, 金: every day's would crowd the column
const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

QString U(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// --- the grid -----------------------------------------------------------------------------------

CCalendarGrid::CCalendarGrid(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("calendar_grid"));
    setAccessibleName(QStringLiteral("カレンダー"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CCalendarGrid::SetDays(const PracticeDays* pDays, const CalendarGrid& grid, int nGoal) {
    m_pDays = pDays;
    m_grid = grid;
    m_nGoal = nGoal;
    if (!m_grid.Shown(m_nChosen)) m_nChosen = m_grid.nToday;
    update();
}

void CCalendarGrid::Choose(std::int64_t nDay) {
    m_nChosen = m_grid.Moved(nDay, 0);
    update();
    Announce(*this, U(SpokenDay(m_pDays ? *m_pDays : PracticeDays{}, m_nChosen, m_nGoal)));
    // Seen as well as heard: the day's tip beside its cell.
    if (isVisible()) {
        const QRect cell = CellOf(m_nChosen);
        QToolTip::showText(mapToGlobal(cell.bottomRight()), TipAt(cell.center()), this, cell);
    }
}

void CCalendarGrid::keyPressEvent(QKeyEvent* pEvent) {
    // Days run down a column, weeks across.
    std::int64_t nBy = 0;
    switch (pEvent->key()) {
        case Qt::Key_Up: nBy = -1; break;
        case Qt::Key_Down: nBy = 1; break;
        case Qt::Key_Left: nBy = -7; break;
        case Qt::Key_Right: nBy = 7; break;
        case Qt::Key_PageUp: nBy = -28; break;
        case Qt::Key_PageDown: nBy = 28; break;
        case Qt::Key_Home: nBy = m_grid.nFirstDay - m_nChosen; break;
        case Qt::Key_End: nBy = m_grid.nToday - m_nChosen; break;
        default: QWidget::keyPressEvent(pEvent); return;
    }
    Choose(m_grid.Moved(m_nChosen, nBy));
}

void CCalendarGrid::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    update();
}

void CCalendarGrid::focusOutEvent(QFocusEvent* pEvent) {
    QWidget::focusOutEvent(pEvent);
    QToolTip::hideText();
    update();
}

CCalendarGrid::Metrics CCalendarGrid::MeasureFor(int nWidth, int nHeight) const {
    const QFontMetrics fm(font());
    Metrics m{};
    m.nLeft = fm.horizontalAdvance(QStringLiteral("水")) + 8;
    m.nTop = fm.height() + 4;
    const int nWeeks = std::max(m_grid.nWeeks, 1);
    const int nByWidth = (nWidth - m.nLeft - 2) / nWeeks;
    const int nByHeight = (nHeight - m.nTop - 2) / 7;
    const int nPitch = std::clamp(std::min(nByWidth, nByHeight), 6, 44);
    m.nGap = std::max(1, nPitch / 7);
    m.nCell = nPitch - m.nGap;
    // The grid sits in the middle of the room it has.
    const int nGridWidth = nWeeks * nPitch;
    m.nLeft += std::max(0, (nWidth - m.nLeft - nGridWidth) / 2);
    return m;
}

int CCalendarGrid::heightForWidth(int nWidth) const {
    const Metrics m = MeasureFor(nWidth, 1 << 20);
    return m.nTop + 7 * (m.nCell + m.nGap) + 2;
}

QSize CCalendarGrid::sizeHint() const {
    const QFontMetrics fm(font());
    const int nPitch = std::max(14, fm.height());
    const int nWidth = fm.horizontalAdvance(QStringLiteral("水")) + 10 + 53 * nPitch;
    // No taller than the cells of the width it has: the legend follows right below them.
    return {nWidth, heightForWidth(std::max(width(), nWidth))};
}

void CCalendarGrid::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    if (pEvent->size().width() != pEvent->oldSize().width()) updateGeometry();
}

QSize CCalendarGrid::minimumSizeHint() const {
    // Small cells still read as a year; month names that would touch are left out.
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QStringLiteral("水")) + 10 + 53 * 9, fm.height() + 6 + 7 * std::max(9, fm.height() * 2 / 3)};
}

QRect CCalendarGrid::CellOf(std::int64_t nDay) const {
    if (!m_grid.Shown(nDay)) return {};
    const Metrics m = Measure();
    const int nIndex = static_cast<int>(nDay - m_grid.nFirstDay);
    const int nPitch = m.nCell + m.nGap;
    return {m.nLeft + (nIndex / 7) * nPitch, m.nTop + (nIndex % 7) * nPitch, m.nCell, m.nCell};
}

QString CCalendarGrid::TipAt(QPoint pos) const {
    const Metrics m = Measure();
    const int nPitch = m.nCell + m.nGap;
    if (pos.x() < m.nLeft || pos.y() < m.nTop) return {};
    const int nWeek = (pos.x() - m.nLeft) / nPitch, nWeekday = (pos.y() - m.nTop) / nPitch;
    if (nWeek >= m_grid.nWeeks || nWeekday >= 7) return {};
    const std::int64_t nDay = m_grid.DayAt(nWeek, nWeekday);
    if (!m_grid.Shown(nDay)) return {};
    return U(DayText(nDay)) + QLatin1Char('\n') + U(DayFigures(m_pDays ? *m_pDays : PracticeDays{}, nDay, m_nGoal));
}

bool CCalendarGrid::event(QEvent* pEvent) {
    return ShowTipAt(this, pEvent, [this](QPoint pos) { return TipAt(pos); }) || QWidget::event(pEvent);
}

void CCalendarGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const Metrics m = Measure();
    const int nPitch = m.nCell + m.nGap;
    const QColor text = palette().color(QPalette::WindowText);
    p.setPen(text);
    for (int wd : kWeekdayLabels)
        p.drawText(QRect(0, m.nTop + wd * nPitch, m.nLeft - 6, m.nCell), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromUtf8(kWeekdays[wd]));
    // Month names over the column of their 1st; one that would touch the previous is left out.
    int nRightmost = -1;
    for (const CalendarGrid::MonthMark& mark : m_grid.aMonths) {
        const QString s = QStringLiteral("%1月").arg(mark.nMonth);
        const int x = m.nLeft + mark.nWeek * nPitch;
        if (x <= nRightmost + 4) continue;
        const int w = fm.horizontalAdvance(s);
        if (x + w > width()) continue;
        p.drawText(QRect(x, 0, w + 2, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, s);
        nRightmost = x + w;
    }
    for (int w = 0; w < m_grid.nWeeks; ++w)
        for (int wd = 0; wd < 7; ++wd) {
            const std::int64_t nDay = m_grid.DayAt(w, wd);
            if (!m_grid.Shown(nDay)) continue;
            const QRect r(m.nLeft + w * nPitch, m.nTop + wd * nPitch, m.nCell, m.nCell);
            const int nLevel = CalendarLevel(m_pDays ? m_pDays->Find(nDay) : nullptr, m_nGoal);
            p.fillRect(r, FromColorRef(CalendarBackColour(nLevel)));
            if (nDay == m_grid.nToday) {
                p.setPen(QPen(text, std::max(1, m.nGap)));
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
    if (hasFocus() && m_grid.Shown(m_nChosen)) {
        // Outside the cell, in the highlight colour over a dark ring: it shows on every shade.
        const QRect r = CellOf(m_nChosen);
        const int nPen = std::max(2, m.nGap);
        p.setPen(QPen(Qt::black, nPen + 2));
        p.drawRect(r.adjusted(-nPen, -nPen, nPen - 1, nPen - 1));
        p.setPen(QPen(palette().color(QPalette::Highlight), nPen));
        p.drawRect(r.adjusted(-nPen, -nPen, nPen - 1, nPen - 1));
    }
}

// --- the page -----------------------------------------------------------------------------------

CCalendarPage::CCalendarPage(CUserSettings& settings, std::shared_ptr<const CHistoryRecords> pRecords,
                             std::int64_t nToday, QWidget* pParent)
    : QWidget(pParent), m_settings(settings), m_pRecords(std::move(pRecords)), m_nToday(nToday) {
    setObjectName(QStringLiteral("calendar_page"));
    if (!m_pRecords) m_pRecords = std::make_shared<const CHistoryRecords>();
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(8, 8, 8, 8);
    pLayout->setSpacing(8);

    // Today and the streaks, large; the goal beside them.
    auto* pTop = new QHBoxLayout;
    auto figure = [&](const char* pszName, const char* pszLongest) {
        auto* p = new QLabel(this);
        p->setObjectName(QString::fromUtf8(pszName));
        QFont f = p->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        f.setBold(true);
        p->setFont(f);
        // Room for the longest figure, so a window that fits once fits always.
        p->setMinimumWidth(QFontMetrics(f).horizontalAdvance(QString::fromUtf8(pszLongest)) + 4);
        pTop->addWidget(p);
        pTop->addSpacing(24);
        return p;
    };
    m_pToday = figure("today_minutes", "今日 9999／600分");
    m_pCurrent = figure("current_streak", "連続 9999日");
    m_pLongest = figure("longest_streak", "最長 9999日");
    pTop->addStretch();
    auto* pGoalLabel = new QLabel(QStringLiteral("1日の目標"), this);
    m_pGoal = new QSpinBox(this);
    m_pGoal->setObjectName(QStringLiteral("daily_goal"));
    m_pGoal->setRange(0, kMaxGoalMinutes);
    m_pGoal->setSingleStep(5);
    m_pGoal->setSuffix(QStringLiteral(" 分"));
    m_pGoal->setSpecialValueText(QStringLiteral("なし"));
    m_pGoal->setValue(ClampGoal(settings.m_nDailyGoal));
    pGoalLabel->setBuddy(m_pGoal);
    pTop->addWidget(pGoalLabel);
    pTop->addWidget(m_pGoal);
    pLayout->addLayout(pTop);

    m_pTotals = new QLabel(this);
    m_pTotals->setObjectName(QStringLiteral("totals"));
    pLayout->addWidget(m_pTotals);

    m_pGrid = new CCalendarGrid(this);
    pLayout->addWidget(m_pGrid);

    auto* pLegend = new QHBoxLayout;
    pLegend->setSpacing(4);
    pLegend->addStretch();
    for (int n = 0; n < kCalendarLevels; ++n) {
        m_apLegend[n] = new QLabel(this);
        m_apLegend[n]->setObjectName(QStringLiteral("legend_swatch_%1").arg(n));
        const int nSide = fontMetrics().height() - 2;
        m_apLegend[n]->setFixedSize(nSide, nSide);
        m_apLegend[n]->setAutoFillBackground(true);
        QPalette pal = m_apLegend[n]->palette();
        pal.setColor(QPalette::Window, FromColorRef(CalendarBackColour(n)));
        m_apLegend[n]->setPalette(pal);
        m_apLegendText[n] = new QLabel(this);
        m_apLegendText[n]->setObjectName(QStringLiteral("legend_text_%1").arg(n));
        m_apLegendText[n]->setMinimumWidth(
            std::max(fontMetrics().horizontalAdvance(QString::fromStdString(CalendarLevelText(n, 0))),
                     fontMetrics().horizontalAdvance(QString::fromStdString(CalendarLevelText(n, 1)))) + 2);
        pLegend->addWidget(m_apLegend[n]);
        pLegend->addWidget(m_apLegendText[n]);
        pLegend->addSpacing(10);
    }
    pLayout->addLayout(pLegend);

    m_pRule = new QLabel(this);
    m_pRule->setObjectName(QStringLiteral("streak_rule"));
    m_pRule->setWordWrap(true);
    pLayout->addWidget(m_pRule);
    pLayout->addStretch(1);

    connect(m_pGoal, &QSpinBox::valueChanged, this, &CCalendarPage::OnGoal);
    // A year of days from 100,000 runs takes a couple of milliseconds: counted at once, so every
    // text is in place when the window sizes itself.
    Refresh();
}

const PracticeDays& CCalendarPage::Days() {
    if (!m_bCounted) Refresh();
    return m_days;
}

void CCalendarPage::OnGoal(int nMinutes) {
    m_settings.m_nDailyGoal = ClampGoal(nMinutes);
    m_settings.SaveUser();
    Refresh();
}

void CCalendarPage::Refresh() {
    if (!m_bCounted) m_days = BuildPracticeDays(*m_pRecords);
    m_bCounted = true;
    const int nGoal = ClampGoal(m_settings.m_nDailyGoal);
    const CalendarFigures figures = CalendarFiguresOf(m_days, m_nToday, nGoal);
    m_pToday->setText(U(figures.strToday));
    m_pCurrent->setText(U(figures.strCurrent));
    m_pLongest->setText(U(figures.strLongest));
    m_pTotals->setText(U(figures.strTotals));
    m_pGrid->setAccessibleDescription(U(CalendarSummary(figures)));
    for (int n = 0; n < kCalendarLevels; ++n) {
        m_apLegendText[n]->setText(U(CalendarLevelText(n, nGoal)));
        // A swatch alone says nothing: its shade's words.
        m_apLegend[n]->setAccessibleName(m_apLegendText[n]->text());
    }
    m_pRule->setText((nGoal > 0 ? QStringLiteral("連続日数は、目標の時間だけ練習した日が途切れずに続いた日数です（今日の分はまだ数えなくても途切れません）。")
                                : QStringLiteral("連続日数は、1回でも練習した日が途切れずに続いた日数です（今日まだ練習していなくても途切れません）。")) +
                     QStringLiteral("時間は各回の打鍵数と速度から求めた目安です。"));
    m_pGrid->SetDays(&m_days, CalendarGridFor(m_nToday), nGoal);
}

}  // namespace kibiki::ui
