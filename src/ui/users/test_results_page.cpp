#include "ui/users/test_results_page.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "practice_log/practice_log.h"
#include "ui/app/point_tip.h"

namespace kibiki::ui {

namespace {

const QColor kCharsColour(0, 90, 181), kAccuracyColour(220, 50, 32);  // as the speed chart's

}  // namespace

struct CTestResultsChart::Frame {
    QRect plot;
    int nLeft = 0, nRight = 0;
    TestResultChart chart;
    double X(std::int64_t nMinute) const {
        return plot.left() + 8 + double(nMinute - chart.nFirst) / double(chart.nLast - chart.nFirst) * (plot.width() - 16);
    }
    static double Y(const QRect& r, const ValueAxis& a, double v) {
        return r.bottom() - (v - a.dLow) / (a.dHigh - a.dLow) * r.height();
    }
    double YChars(double v) const { return Y(plot, chart.charsAxis, v); }
    double YAccuracy(double v) const { return Y(plot, chart.accuracyAxis, v); }
};

CTestResultsChart::CTestResultsChart(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("test_results_chart"));
    setMinimumSize(240, 160);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void CTestResultsChart::SetPoints(std::vector<TestResultPoint> points) {
    m_points = std::move(points);
    update();
}

CTestResultsChart::Frame CTestResultsChart::Layout() const {
    Frame f;
    const QFontMetrics fm(font());
    const int nTop = fm.height() + 10;
    const int nBottom = fm.height() + 8;
    const int nSteps = std::clamp((height() - nTop - nBottom) / (2 * fm.height()), 2, 8);
    const int nLabelWidth = std::max(fm.horizontalAdvance(QStringLiteral("2026/12")),
                                     fm.horizontalAdvance(QString::fromUtf8(WidestTickLabel()))) + 16;
    // The date ticks need the plot's width, which the value labels decide: measured on a first
    // pass with the widest labels the axes could have.
    f.chart = TestResultChartFor(m_points, nSteps, 1);
    int nCharsLabel = 0, nAccuracyLabel = 0;
    for (double v : f.chart.charsAxis.aTicks) nCharsLabel = std::max(nCharsLabel, fm.horizontalAdvance(QString::number(v)));
    for (double v : f.chart.accuracyAxis.aTicks)
        nAccuracyLabel = std::max(nAccuracyLabel, fm.horizontalAdvance(QString::number(v)));
    f.nLeft = fm.height() + nCharsLabel + 10;
    f.nRight = fm.height() + nAccuracyLabel + 10;
    f.plot = QRect(f.nLeft, nTop, width() - f.nLeft - f.nRight, height() - nTop - nBottom);
    f.chart = TestResultChartFor(m_points, nSteps, std::max(1, (f.plot.width() - 16) / nLabelWidth));
    return f;
}

QPointF CTestResultsChart::CharsPoint(std::size_t i) const {
    const Frame f = Layout();
    return {f.X(m_points[i].nMinute), f.YChars(m_points[i].dCharsPer10Min)};
}

QString CTestResultsChart::TipAt(QPoint pos) const {
    const Frame f = Layout();
    double best = 6.0 * 6.0;
    std::size_t nBest = m_points.size();
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const double x = f.X(m_points[i].nMinute);
        for (double y : {f.YChars(m_points[i].dCharsPer10Min), f.YAccuracy(m_points[i].dAccuracy)}) {
            const double d = (x - pos.x()) * (x - pos.x()) + (y - pos.y()) * (y - pos.y());
            if (d <= best) {
                best = d;
                nBest = i;
            }
        }
    }
    return nBest < m_points.size() ? QString::fromStdString(TestResultTip(m_points[nBest])) : QString();
}

bool CTestResultsChart::event(QEvent* pEvent) {
    return ShowTipAt(this, pEvent, [this](QPoint pos) { return TipAt(pos); }) || QWidget::event(pEvent);
}

void CTestResultsChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const QColor text = palette().color(QPalette::Text);
    const Frame f = Layout();
    const QRect& plot = f.plot;
    if (plot.width() < 40 || plot.height() < 40) return;

    int x = plot.left();
    auto legend = [&](const QColor& c, bool bLine, const QString& s) {
        const int y = 4 + fm.height() / 2;
        p.setPen(QPen(c, 2));
        p.setBrush(bLine ? Qt::NoBrush : QBrush(c));
        if (bLine) p.drawLine(x, y, x + 14, y);
        else p.drawRect(QRectF(x + 4, y - 3, 6, 6));
        p.setBrush(Qt::NoBrush);
        p.setPen(text);
        p.drawText(x + 18, 4 + fm.ascent(), s);
        x += 18 + fm.horizontalAdvance(s) + 14;
    };
    legend(kCharsColour, false, QStringLiteral("10分あたりの字数"));
    legend(kAccuracyColour, true, QStringLiteral("正確さ"));

    p.setPen(QPen(palette().color(QPalette::Mid)));
    p.drawRect(plot);
    for (const double v : f.chart.charsAxis.aTicks) {
        const int y = int(std::lround(f.YChars(v)));
        p.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kCharsColour);
        p.drawText(QRect(fm.height() + 2, y - fm.height() / 2, f.nLeft - fm.height() - 6, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    p.setPen(kAccuracyColour);
    for (const double v : f.chart.accuracyAxis.aTicks) {
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
    sideways(fm.height() / 2 + 1, -90, kCharsColour, QStringLiteral("字/10分"));
    sideways(width() - fm.height() / 2 - 1, 90, kAccuracyColour, QStringLiteral("正確さ(%)"));

    const int nLabelWidth = std::max(fm.horizontalAdvance(QStringLiteral("2026/12")),
                                     fm.horizontalAdvance(QString::fromUtf8(WidestTickLabel()))) + 16;
    for (const DateTick& t : f.chart.ticks.aTicks) {
        const int cx = int(std::lround(f.X(t.nMinute)));
        p.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        p.drawLine(cx, plot.top(), cx, plot.bottom());
        p.setPen(text);
        QRect r(cx - nLabelWidth / 2, plot.bottom() + 3, nLabelWidth, fm.height());
        if (r.left() < 0) r.moveLeft(0);
        if (r.right() > width()) r.moveRight(width());
        p.drawText(r, Qt::AlignCenter, QString::fromStdString(t.strLabel));
    }

    // Each test a square (characters) and accuracy as a line through the tests.
    p.setClipRect(plot.adjusted(-4, -4, 4, 4));
    p.setPen(QPen(kAccuracyColour, 2));
    for (std::size_t i = 1; i < m_points.size(); ++i)
        p.drawLine(QPointF(f.X(m_points[i - 1].nMinute), f.YAccuracy(m_points[i - 1].dAccuracy)),
                   QPointF(f.X(m_points[i].nMinute), f.YAccuracy(m_points[i].dAccuracy)));
    p.setBrush(kAccuracyColour);
    for (const TestResultPoint& pt : m_points) p.drawEllipse(QPointF(f.X(pt.nMinute), f.YAccuracy(pt.dAccuracy)), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kCharsColour);
    for (const TestResultPoint& pt : m_points)
        p.drawRect(QRectF(f.X(pt.nMinute) - 3.5, f.YChars(pt.dCharsPer10Min) - 3.5, 7, 7));
}

CTestResultsPage::CTestResultsPage(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("test_results_page"));
    auto* pLayout = new QVBoxLayout(this);
    m_pHint = new QLabel(QString::fromUtf8(kNoTestResults), this);
    m_pHint->setObjectName(QStringLiteral("test_results_hint"));
    m_pHint->setWordWrap(true);
    m_pHint->setAlignment(Qt::AlignCenter);
    pLayout->addWidget(m_pHint);
    m_pChart = new CTestResultsChart(this);
    m_pChart->setAccessibleName(QStringLiteral("腕試しの結果のグラフ"));
    pLayout->addWidget(m_pChart, 1);
    SetRuns({});
}

void CTestResultsPage::SetRuns(const std::vector<LoggedRun>& runs) {
    m_pChart->SetPoints(TestResultPoints(runs));
    const bool empty = m_pChart->Points().empty();
    m_pHint->setVisible(empty);
    m_pChart->setVisible(!empty);
}

void CTestResultsPage::ReadLog(PracticeLog* pLog) {
    std::vector<LoggedRun> runs;
    if (pLog && pLog->ReadRunSummaries(runs) != LogFault::None) runs.clear();
    SetRuns(runs);
}

}  // namespace kibiki::ui
