#include "ui/users/progress_chart.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "ui/app/accessible.h"
#include "ui/app/point_tip.h"
#include "ui/app/qt_text.h"
#include "progress/chart_axes.h"
#include "progress/progress_summary.h"
#include "users/history_record.h"

namespace kibiki::ui {

namespace {

const QColor kSpeedColour(0, 90, 181), kAccuracyColour(220, 50, 32);  // apart without red-green

}  // namespace

// Where everything sits for the current size and series.
struct CProgressChart::Frame {
    QRect plot;
    int nLeft = 0, nRight = 0;
    ValueAxis speed, accuracy;
    std::int64_t t0 = 0, t1 = 1;
    double X(std::int64_t nMinute) const {
        return plot.left() + 8 + double(nMinute - t0) / double(t1 - t0) * (plot.width() - 16);
    }
    double YSpeed(double v) const { return plot.bottom() - (v - speed.dLow) / (speed.dHigh - speed.dLow) * plot.height(); }
    double YAccuracy(double v) const {
        return plot.bottom() - (v - accuracy.dLow) / (accuracy.dHigh - accuracy.dLow) * plot.height();
    }
};

CProgressChart::CProgressChart(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("progress_chart"));
    setAccessibleName(QStringLiteral("速さと正確さのグラフ"));
    SetSeries({});
    setMinimumSize(240, 160);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void CProgressChart::SetSeries(ProgressSeries series, std::shared_ptr<const CHistoryRecords> pRecords) {
    m_series = std::move(series);
    m_pRecords = std::move(pRecords);
    m_strSummary = QString::fromStdString(ChartSummary(m_series));
    setAccessibleDescription(m_strSummary);
    m_nChosen = m_series.aPoints.empty() ? 0 : m_series.aPoints.size() - 1;
    update();
}

void CProgressChart::Choose(std::size_t i) {
    const auto& pts = m_series.aPoints;
    if (pts.empty() || !m_pRecords) return;
    m_nChosen = std::min(i, pts.size() - 1);
    update();
    Announce(*this, QString::fromStdString(SpokenPoint(*m_pRecords, pts[m_nChosen])));
    // Seen as well as heard: the run's tip beside its dot.
    if (isVisible()) {
        const QPoint at = SpeedPoint(m_nChosen).toPoint();
        QToolTip::showText(mapToGlobal(at + QPoint(8, 8)), QString::fromStdString(PointTip(*m_pRecords, pts[m_nChosen])),
                           this, QRect(at - QPoint(6, 6), QSize(12, 12)));
    }
}

void CProgressChart::keyPressEvent(QKeyEvent* pEvent) {
    const std::size_t n = m_series.aPoints.size();
    if (n == 0) return QWidget::keyPressEvent(pEvent);
    switch (pEvent->key()) {
        case Qt::Key_Left: Choose(m_nChosen > 0 ? m_nChosen - 1 : 0); break;
        case Qt::Key_Right: Choose(m_nChosen + 1); break;
        case Qt::Key_PageUp: Choose(m_nChosen > 10 ? m_nChosen - 10 : 0); break;
        case Qt::Key_PageDown: Choose(m_nChosen + 10); break;
        case Qt::Key_Home: Choose(0); break;
        case Qt::Key_End: Choose(n - 1); break;
        default: QWidget::keyPressEvent(pEvent);
    }
}

void CProgressChart::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    update();
}

void CProgressChart::focusOutEvent(QFocusEvent* pEvent) {
    QWidget::focusOutEvent(pEvent);
    QToolTip::hideText();
    update();
}

CProgressChart::Frame CProgressChart::Layout() const {
    Frame f;
    const QFontMetrics fm(font());
    const auto& pts = m_series.aPoints;
    double sMin = 0, sMax = 0, aMin = 0, aMax = 100;
    if (!pts.empty()) {
        sMin = aMin = 1e300;
        sMax = aMax = -1e300;
        for (const ProgressPoint& pt : pts) {
            sMin = std::min({sMin, pt.dSpeed, pt.dSpeedAverage});
            sMax = std::max({sMax, pt.dSpeed, pt.dSpeedAverage});
            aMin = std::min({aMin, pt.dAccuracy, pt.dAccuracyAverage});
            aMax = std::max({aMax, pt.dAccuracy, pt.dAccuracyAverage});
        }
        f.t0 = pts.front().nMinute;
        f.t1 = pts.back().nMinute;
    }
    if (f.t1 - f.t0 < 60) {  // one moment: a day around it
        f.t0 -= 12 * 60;
        f.t1 += 12 * 60;
    }
    const int nTop = fm.height() + 10;
    const int nBottom = fm.height() + 8;
    // A step for every two lines of text at most, so no two value labels touch.
    const int nSteps = std::clamp((height() - nTop - nBottom) / (2 * fm.height()), 2, 8);
    f.speed = ValueAxisFor(sMin, sMax, 0, kMaxAxisSpeed, nSteps);
    f.accuracy = ValueAxisFor(aMin, aMax, 0, 100, nSteps);
    int nSpeedLabel = 0, nAccuracyLabel = 0;
    for (double v : f.speed.aTicks) nSpeedLabel = std::max(nSpeedLabel, fm.horizontalAdvance(QString::number(v)));
    for (double v : f.accuracy.aTicks)
        nAccuracyLabel = std::max(nAccuracyLabel, fm.horizontalAdvance(QString::number(v)));
    f.nLeft = fm.height() + nSpeedLabel + 10;
    f.nRight = fm.height() + nAccuracyLabel + 10;
    f.plot = QRect(f.nLeft, nTop, width() - f.nLeft - f.nRight, height() - nTop - nBottom);
    return f;
}

QPointF CProgressChart::SpeedPoint(std::size_t i) const {
    const Frame f = Layout();
    return {f.X(m_series.aPoints[i].nMinute), f.YSpeed(m_series.aPoints[i].dSpeed)};
}

QPointF CProgressChart::AccuracyPoint(std::size_t i) const {
    const Frame f = Layout();
    return {f.X(m_series.aPoints[i].nMinute), f.YAccuracy(m_series.aPoints[i].dAccuracy)};
}

QString CProgressChart::TipAt(QPoint pos) const {
    if (!m_pRecords) return {};
    const Frame f = Layout();
    const auto& pts = m_series.aPoints;
    double best = 6.0 * 6.0;
    std::size_t nBest = pts.size();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const double x = f.X(pts[i].nMinute);
        if (std::abs(x - pos.x()) > 6) continue;
        for (double y : {f.YSpeed(pts[i].dSpeed), f.YAccuracy(pts[i].dAccuracy)}) {
            const double d = (x - pos.x()) * (x - pos.x()) + (y - pos.y()) * (y - pos.y());
            if (d <= best) {
                best = d;
                nBest = i;
            }
        }
    }
    return nBest < pts.size() ? QString::fromStdString(PointTip(*m_pRecords, pts[nBest])) : QString();
}

bool CProgressChart::event(QEvent* pEvent) {
    return ShowTipAt(this, pEvent, [this](QPoint pos) { return TipAt(pos); }) || QWidget::event(pEvent);
}

void CProgressChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const QColor text = palette().color(QPalette::Text);
    const auto& pts = m_series.aPoints;
    const Frame f = Layout();
    const QRect& plot = f.plot;
    if (plot.width() < 40 || plot.height() < 40) return;

    // Legend along the top.
    int x = plot.left();
    auto legend = [&](const QColor& c, bool bLine, const QString& s) {
        const int y = 4 + fm.height() / 2;
        p.setPen(QPen(c, 2));
        if (bLine) p.drawLine(x, y, x + 14, y);
        else {
            p.setBrush(c);
            p.drawEllipse(QPointF(x + 7, y), 3, 3);
            p.setBrush(Qt::NoBrush);
        }
        p.setPen(text);
        p.drawText(x + 18, 4 + fm.ascent(), s);
        x += 18 + fm.horizontalAdvance(s) + 14;
    };
    legend(kSpeedColour, false, QStringLiteral("速度"));
    legend(kSpeedColour, true, QStringLiteral("速度(10回平均)"));
    legend(kAccuracyColour, false, QStringLiteral("正解率"));
    legend(kAccuracyColour, true, QStringLiteral("正解率(10回平均)"));

    // The frame in the highlight colour, thicker, while the keys move through the runs.
    p.setPen(hasFocus() ? QPen(palette().color(QPalette::Highlight), 2) : QPen(palette().color(QPalette::Mid)));
    p.drawRect(plot);
    if (pts.empty()) {
        p.setPen(text);
        p.drawText(plot, Qt::AlignCenter, m_strSummary);
        return;
    }

    // Value axes: speed left with a light grid, accuracy right; each ranged to its data.
    for (const double v : f.speed.aTicks) {
        const int y = int(std::lround(f.YSpeed(v)));
        p.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kSpeedColour);
        p.drawText(QRect(fm.height() + 2, y - fm.height() / 2, f.nLeft - fm.height() - 6, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    p.setPen(kAccuracyColour);
    for (const double v : f.accuracy.aTicks) {
        const int y = int(std::lround(f.YAccuracy(v)));
        p.drawLine(plot.right() - 3, y, plot.right(), y);
        p.drawText(QRect(plot.right() + 4, y - fm.height() / 2, f.nRight - fm.height() - 6, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(v));
    }
    auto sideways = [&](int cx, int angle, const QColor& c, const QString& s) {
        p.save();
        p.setPen(c);
        p.translate(cx, plot.center().y());
        p.rotate(angle);
        p.drawText(QRect(-plot.height() / 2, -fm.height() / 2, plot.height(), fm.height()), Qt::AlignCenter, s);
        p.restore();
    };
    sideways(fm.height() / 2 + 1, -90, kSpeedColour, QStringLiteral("速度(%1)").arg(QString::fromUtf8(kKeysPerMinute)));
    sideways(width() - fm.height() / 2 - 1, 90, kAccuracyColour, QStringLiteral("正解率(%)"));

    // Dates on whole days, weeks or months, as many as fit without touching.
    const int nLabelWidth = std::max(fm.horizontalAdvance(QStringLiteral("2026/12")),
                                     fm.horizontalAdvance(QString::fromUtf8(WidestTickLabel()))) + 16;
    const DateTicks ticks = DateTicksFor(f.t0, f.t1, std::max(1, (plot.width() - 16) / nLabelWidth));
    for (const DateTick& t : ticks.aTicks) {
        const int cx = int(std::lround(f.X(t.nMinute)));
        p.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        p.drawLine(cx, plot.top(), cx, plot.bottom());
        p.setPen(text);
        QRect r(cx - nLabelWidth / 2, plot.bottom() + 3, nLabelWidth, fm.height());
        if (r.left() < 0) r.moveLeft(0);
        if (r.right() > width()) r.moveRight(width());
        p.drawText(r, Qt::AlignCenter, QString::fromStdString(t.strLabel));
    }

    // Means as lines, broken across long pauses; each run as a dot. Years of practice put many
    // runs on one pixel: a line keeps one vertex a pixel column, a dot is drawn once a pixel.
    p.setClipRect(plot.adjusted(-4, -4, 4, 4));
    const std::vector<bool> breaks = MeanLineBreaks(pts);
    auto drawMean = [&](const QColor& c, auto yOf) {
        // Separate segments: Qt strokes one long zigzag polyline as a single self-crossing
        // shape, hundreds of times slower.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
        std::vector<QLineF> segments;
        QPointF last;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const QPointF at(f.X(pts[i].nMinute), yOf(pts[i]));
            if (breaks[i]) {
                if (i + 1 == pts.size() || breaks[i + 1]) p.drawPoint(at);  // a run alone
            } else if (std::lround(last.x()) == std::lround(at.x()) && !segments.empty() &&
                       segments.back().p2() == last) {
                segments.back().setP2(at);
            } else {
                segments.emplace_back(last, at);
            }
            last = at;
        }
        p.drawLines(segments.data(), static_cast<int>(segments.size()));
    };
    drawMean(kSpeedColour, [&](const ProgressPoint& pt) { return f.YSpeed(pt.dSpeedAverage); });
    drawMean(kAccuracyColour, [&](const ProgressPoint& pt) { return f.YAccuracy(pt.dAccuracyAverage); });
    auto drawDots = [&](const QColor& c, auto yOf) {
        // One dot painted once and stamped at every run: thousands of runs stay quick.
        const qreal dpr = devicePixelRatioF();
        QPixmap dot(QSize(7, 7) * dpr);
        dot.setDevicePixelRatio(dpr);
        dot.fill(Qt::transparent);
        {
            QPainter d(&dot);
            d.setRenderHint(QPainter::Antialiasing);
            d.setPen(Qt::NoPen);
            d.setBrush(c);
            d.drawEllipse(QPointF(3.5, 3.5), 2.5, 2.5);
        }
        std::set<std::pair<long, long>> drawn;
        for (const ProgressPoint& pt : pts) {
            const QPointF at(f.X(pt.nMinute), yOf(pt));
            if (drawn.insert({std::lround(at.x()), std::lround(at.y())}).second)
                p.drawPixmap(at - QPointF(3.5, 3.5), dot);
        }
    };
    drawDots(kSpeedColour, [&](const ProgressPoint& pt) { return f.YSpeed(pt.dSpeed); });
    drawDots(kAccuracyColour, [&](const ProgressPoint& pt) { return f.YAccuracy(pt.dAccuracy); });
    if (hasFocus() && m_nChosen < pts.size()) {
        const ProgressPoint& pt = pts[m_nChosen];
        const double x = f.X(pt.nMinute);
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(QPen(text, 2));
        p.setBrush(Qt::NoBrush);
        for (double y : {f.YSpeed(pt.dSpeed), f.YAccuracy(pt.dAccuracy)}) p.drawEllipse(QPointF(x, y), 6, 6);
    }
}

CProgressPage::CProgressPage(std::shared_ptr<const CHistoryRecords> pRecords, QWidget* pParent) : QWidget(pParent) {
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(4);
    auto* pRow = new QHBoxLayout;
    auto* pLabel = new QLabel(QStringLiteral("レッスン"), this);
    m_pFilter = new QComboBox(this);
    m_pFilter->setObjectName(QStringLiteral("chart_filter"));
    m_pFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pLabel->setBuddy(m_pFilter);
    pRow->addWidget(pLabel);
    pRow->addWidget(m_pFilter);
    pRow->addStretch();
    pLayout->addLayout(pRow);
    m_pChart = new CProgressChart(this);
    pLayout->addWidget(m_pChart, 1);
    m_pSummary = new QLabel(this);
    m_pSummary->setObjectName(QStringLiteral("chart_summary"));
    m_pSummary->setWordWrap(true);
    pLayout->addWidget(m_pSummary);
    connect(m_pFilter, &QComboBox::currentIndexChanged, this, &CProgressPage::OnFilter);
    SetRecords(std::move(pRecords));
}

void CProgressPage::SetRecords(std::shared_ptr<const CHistoryRecords> pRecords) {
    m_pRecords = pRecords ? std::move(pRecords) : std::make_shared<const CHistoryRecords>();
    m_aFilters.clear();
    const QSignalBlocker block(m_pFilter);
    m_pFilter->clear();
    // Each built-in mode and lesson the history holds, in mode then lesson order, then each
    // custom lesson by name.
    std::set<std::pair<int, int>> builtIn;
    for (const HistoryRecord& r : m_pRecords->Records())
        if (r.IsBuiltIn()) builtIn.insert({r.nMode, r.nLesson});
    for (const auto& [nMode, nLesson] : builtIn) {
        ProgressFilter f;
        f.nMode = nMode;
        f.nLesson = nLesson;
        m_aFilters.push_back(f);
        m_pFilter->addItem(FromCp932(BuiltInLessonName(nLesson, nMode)));
    }
    for (const std::string& name : m_pRecords->CustomNames()) {
        ProgressFilter f;
        f.bCustom = true;
        f.strCustomName = name;
        m_aFilters.push_back(f);
        m_pFilter->addItem(FromCp932(name));
    }
    m_pFilter->setEnabled(!m_aFilters.empty());
    // The lesson just practised first: it is the one the learner wants to see.
    int nOpen = m_aFilters.empty() ? -1 : 0;
    if (ProgressFilter last; LastPractisedFilter(*m_pRecords, last))
        for (std::size_t i = 0; i < m_aFilters.size(); ++i) {
            const ProgressFilter& f = m_aFilters[i];
            if (f.bCustom == last.bCustom && f.nMode == last.nMode && f.nLesson == last.nLesson &&
                f.strCustomName == last.strCustomName)
                nOpen = static_cast<int>(i);
        }
    m_pFilter->setCurrentIndex(nOpen);
    OnFilter(nOpen);
}

void CProgressPage::OnFilter(int nIndex) {
    if (nIndex < 0 || std::size_t(nIndex) >= m_aFilters.size()) m_pChart->SetSeries({});
    else m_pChart->SetSeries(BuildProgressSeries(*m_pRecords, m_aFilters[std::size_t(nIndex)]), m_pRecords);
    // Without runs the chart says so itself.
    m_pSummary->setText(m_pChart->Series().aPoints.empty() ? QString() : m_pChart->Summary());
    m_pSummary->setVisible(!m_pSummary->text().isEmpty());
}

}  // namespace kibiki::ui
