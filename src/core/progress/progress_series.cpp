#include "progress/progress_series.h"

#include <algorithm>

namespace kibiki {

bool ProgressFilter::Matches(const CHistoryRecords& records, std::size_t n) const {
    const HistoryRecord& r = records[n];
    if (bCustom) return !r.IsBuiltIn() && records.LessonField(n) == strCustomName;
    return r.IsBuiltIn() && (nMode < 0 || r.nMode == nMode) && (nLesson == 0 || r.nLesson == nLesson);
}

ProgressSeries BuildProgressSeries(const CHistoryRecords& records, const ProgressFilter& filter) {
    ProgressSeries series;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!filter.Matches(records, i)) continue;
        const HistoryRecord& r = records[i];
        if (r.nMinute == kNoTime || r.dSpeed < 0 || r.dAccuracy < 0) {
            ++series.nSkipped;
            continue;
        }
        ProgressPoint p;
        p.nMinute = r.nMinute;
        p.dSpeed = r.dSpeed;
        p.dAccuracy = r.dAccuracy;
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

}  // namespace kibiki
