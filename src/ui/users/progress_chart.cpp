#include "ui/users/progress_chart.h"

#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimeZone>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "ui/app/qt_text.h"
#include "users/history_record.h"

namespace kibiki::ui {

namespace {

QString DateLabel(std::int64_t nMinute, bool bYear) {
    // The record's own clock: shown as written, never shifted to another zone.
    const QDateTime t = QDateTime::fromSecsSinceEpoch(nMinute * 60, QTimeZone::utc());
    return t.toString(bYear ? QStringLiteral("yyyy/M/d") : QStringLiteral("M/d"));
}

}  // namespace

CProgressChart::CProgressChart(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("progress_chart"));
    setMinimumSize(200, 120);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void CProgressChart::SetSeries(ProgressSeries series) {
    m_series = std::move(series);
    update();
}

void CProgressChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const QColor text = palette().color(QPalette::Text);
    const QColor speed(0, 90, 181), accuracy(220, 50, 32);  // distinguishable without red-green
    const auto& pts = m_series.aPoints;

    const int nLeft = fm.horizontalAdvance(QStringLiteral("0000")) + fm.height() + 6;
    const int nRight = fm.horizontalAdvance(QStringLiteral("100")) + fm.height() + 6;
    const int nTop = fm.height() + 8;
    const int nBottom = fm.height() + 6;
    const QRect plot(nLeft, nTop, width() - nLeft - nRight, height() - nTop - nBottom);
    if (plot.width() < 20 || plot.height() < 20) return;

    // Legend along the top.
    int x = nLeft;
    auto legend = [&](const QColor& c, bool bLine, const QString& s) {
        const int y = fm.height() / 2 + 3;
        p.setPen(QPen(c, 2));
        if (bLine) p.drawLine(x, y, x + 14, y);
        else { p.setBrush(c); p.drawEllipse(QPointF(x + 7, y), 2.5, 2.5); p.setBrush(Qt::NoBrush); }
        p.setPen(text);
        p.drawText(x + 18, 2 + fm.ascent(), s);
        x += 18 + fm.horizontalAdvance(s) + 12;
    };
    legend(speed, false, QStringLiteral("速度"));
    legend(speed, true, QStringLiteral("速度(10回平均)"));
    legend(accuracy, false, QStringLiteral("正解率"));
    legend(accuracy, true, QStringLiteral("正解率(10回平均)"));

    p.setPen(QPen(palette().color(QPalette::Mid)));
    p.drawRect(plot);
    if (pts.empty()) {
        p.setPen(text);
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("この条件の記録はありません"));
        return;
    }

    double dMaxSpeed = 0;
    for (const ProgressPoint& pt : pts) dMaxSpeed = std::max({dMaxSpeed, pt.dSpeed, pt.dSpeedAverage});
    const SpeedAxis axis = SpeedAxisFor(dMaxSpeed);
    const double dSpeedTop = axis.dTop;
    const std::int64_t t0 = pts.front().nMinute, t1 = pts.back().nMinute;
    // By run order when every run has one minute, else by time.
    auto xOf = [&](std::size_t i) {
        if (pts.size() == 1) return plot.center().x() + 0.0;
        const double f = t1 > t0 ? double(pts[i].nMinute - t0) / double(t1 - t0) : double(i) / double(pts.size() - 1);
        return plot.left() + 6 + f * (plot.width() - 12);
    };
    auto ySpeed = [&](double v) { return plot.bottom() - v / dSpeedTop * plot.height(); };
    auto yAcc = [&](double v) { return plot.bottom() - v / 100.0 * plot.height(); };

    // Value axes: speed left, accuracy right, with a light grid on the speed steps.
    for (const double v : axis.aTicks) {
        const int y = int(std::lround(ySpeed(v)));
        p.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(speed);
        p.drawText(QRect(fm.height() + 2, y - fm.height() / 2, nLeft - fm.height() - 6, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    p.setPen(accuracy);
    for (int v = 0; v <= 100; v += 25) {
        const int y = int(std::lround(yAcc(v)));
        p.drawText(QRect(plot.right() + 4, y - fm.height() / 2, nRight - fm.height() - 6, fm.height()),
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
    sideways(fm.height() / 2 + 1, -90, speed, QStringLiteral("速度(打/分)"));
    sideways(width() - fm.height() / 2 - 1, 90, accuracy, QStringLiteral("正解率(%)"));

    // Dates under the time axis: the first, the last and a few between as room allows.
    p.setPen(text);
    const bool bYears = DateLabel(t0, true).left(4) != DateLabel(t1, true).left(4);
    const int nLabelWidth = fm.horizontalAdvance(DateLabel(t1, bYears)) + 12;
    const int nLabels = std::clamp(plot.width() / std::max(nLabelWidth, 1), 1, 6);
    const bool bByTime = t1 > t0;
    for (int k = 0; k <= nLabels; ++k) {
        if (pts.size() == 1 && k > 0) break;
        const std::size_t i = pts.size() == 1 ? 0 : bByTime ? 0 : (pts.size() - 1) * k / nLabels;
        const std::int64_t t = bByTime ? t0 + (t1 - t0) * k / nLabels : pts[i].nMinute;
        const double cx = pts.size() == 1 ? plot.center().x()
                          : bByTime   ? plot.left() + 6 + double(k) / nLabels * (plot.width() - 12)
                                      : xOf(i);
        QRect r(int(cx) - nLabelWidth / 2, plot.bottom() + 3, nLabelWidth, fm.height());
        if (r.left() < 0) r.moveLeft(0);
        if (r.right() > width()) r.moveRight(width());
        p.drawText(r, Qt::AlignCenter, DateLabel(t, bYears));
    }

    // Averages as lines, each run as a dot. A long history puts many runs on one column of
    // pixels: a line takes only where it enters a column, its extremes there and where it leaves,
    // and a pixel gets one dot of each kind, so painting costs what the plot's pixels do, not
    // what the runs do.
    const QRect clip = plot.adjusted(-4, -4, 4, 4);
    p.setClipRect(clip);
    const auto pixel = [](const QPointF& pt) { return QPoint(qRound(pt.x()), qRound(pt.y())); };
    const auto averageLine = [&](auto yOf) {
        QPainterPath path;
        double dX = 0, dFirst = 0, dLow = 0, dHigh = 0, dLast = 0;
        bool bOpen = false;
        const auto close = [&] {
            if (!bOpen) return;
            if (path.elementCount() == 0) path.moveTo(dX, dFirst);
            else path.lineTo(dX, dFirst);
            for (const double y : {dLow, dHigh, dLast})
                if (y != path.currentPosition().y()) path.lineTo(dX, y);
        };
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const double x = xOf(i), y = yOf(pts[i]);
            if (bOpen && qRound(x) == qRound(dX)) {
                dLow = std::min(dLow, y);
                dHigh = std::max(dHigh, y);
                dLast = y;
                continue;
            }
            close();
            bOpen = true;
            dX = x;
            dFirst = dLow = dHigh = dLast = y;
        }
        close();
        return path;
    };
    const QPainterPath speedLine = averageLine([&](const ProgressPoint& pt) { return ySpeed(pt.dSpeedAverage); });
    const QPainterPath accLine = averageLine([&](const ProgressPoint& pt) { return yAcc(pt.dAccuracyAverage); });
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(speed, 2));
    p.drawPath(speedLine);
    p.setPen(QPen(accuracy, 2));
    p.drawPath(accLine);
    p.setPen(Qt::NoPen);
    std::vector<std::uint8_t> aDotted(std::size_t(clip.width()) * std::size_t(clip.height()));
    const auto firstDot = [&](const QPointF& pt, std::uint8_t kind) {
        const QPoint at = pixel(pt) - clip.topLeft();
        if (at.x() < 0 || at.y() < 0 || at.x() >= clip.width() || at.y() >= clip.height()) return false;
        std::uint8_t& dotted = aDotted[std::size_t(at.y()) * std::size_t(clip.width()) + std::size_t(at.x())];
        if (dotted & kind) return false;
        dotted |= kind;
        return true;
    };
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF s(xOf(i), ySpeed(pts[i].dSpeed)), a(xOf(i), yAcc(pts[i].dAccuracy));
        if (firstDot(s, 1)) {
            p.setBrush(speed);
            p.drawEllipse(s, 2.5, 2.5);
        }
        if (firstDot(a, 2)) {
            p.setBrush(accuracy);
            p.drawEllipse(a, 2.5, 2.5);
        }
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
    OnFilter(m_aFilters.empty() ? -1 : 0);
}

void CProgressPage::OnFilter(int nIndex) {
    if (nIndex < 0 || std::size_t(nIndex) >= m_aFilters.size()) {
        m_pChart->SetSeries({});
        return;
    }
    m_pChart->SetSeries(BuildProgressSeries(*m_pRecords, m_aFilters[std::size_t(nIndex)]));
}

}  // namespace kibiki::ui
