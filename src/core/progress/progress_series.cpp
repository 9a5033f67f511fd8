#include "progress/progress_series.h"

#include <algorithm>
#include <cmath>

namespace kibiki {

bool ProgressFilter::Matches(const CHistoryRecords& records, std::size_t n) const {
    const HistoryRecord& r = records[n];
    if (bCustom) return !r.IsBuiltIn() && r.strLesson == strCustomName;
    return r.IsBuiltIn() && (nMode < 0 || r.nMode == nMode) && (nLesson == 0 || r.nLesson == nLesson);
}

ProgressSeries BuildProgressSeries(const CHistoryRecords& records, const ProgressFilter& filter) {
    ProgressSeries series;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!filter.Matches(records, i)) continue;
        const HistoryRecord& r = records[i];
        if (r.nMinute == kNoTime || r.nSpeed < 0 || r.nAccuracy < 0) {
            ++series.nSkipped;
            continue;
        }
        ProgressPoint p;
        p.nMinute = r.nMinute;
        p.dSpeed = r.nSpeed;
        p.dAccuracy = r.nAccuracy;
        p.nRecord = i;
        series.aPoints.push_back(p);
    }
    // A clock set back leaves records out of time order; the chart reads left to right.
    std::stable_sort(series.aPoints.begin(), series.aPoints.end(),
                     [](const ProgressPoint& a, const ProgressPoint& b) { return a.nMinute < b.nMinute; });
    double speedSum = 0, accuracySum = 0;
    auto& points = series.aPoints;
    for (std::size_t i = 0; i < points.size(); ++i) {
        speedSum += points[i].dSpeed;
        accuracySum += points[i].dAccuracy;
        if (i >= static_cast<std::size_t>(kMovingAverageRuns)) {
            speedSum -= points[i - kMovingAverageRuns].dSpeed;
            accuracySum -= points[i - kMovingAverageRuns].dAccuracy;
        }
        const double n = static_cast<double>(std::min<std::size_t>(i + 1, kMovingAverageRuns));
        points[i].dSpeedAverage = speedSum / n;
        points[i].dAccuracyAverage = accuracySum / n;
    }
    return series;
}

SpeedAxis SpeedAxisFor(double dMax) {
    // Speeds are whole numbers: below 1 they are all 0 and any scale shows them.
    if (!(dMax >= 1 && dMax <= kMaxAxisSpeed)) dMax = dMax > kMaxAxisSpeed ? kMaxAxisSpeed : 1;
    const double raw = dMax / 4;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    double step = mag * 10;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (mag * m >= raw) {
            step = mag * m;
            break;
        }
    SpeedAxis axis;
    const long steps = std::clamp(std::lround(std::ceil(dMax / step)), 1L, 5L);
    axis.dTop = static_cast<double>(steps) * step;
    for (long k = 0; k <= steps; ++k) axis.aTicks.push_back(static_cast<double>(k) * step);
    return axis;
}

}  // namespace kibiki
