#pragma once
// The progress chart's data: one point per run that matches a filter, oldest first, with the
// mean of the last ten runs beside each value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "users/history_record.h"

namespace kibiki {

constexpr int kMovingAverageRuns = 10;

// Which runs a chart shows: built-in runs of one mode (nMode 0-4, -1 every mode) and one
// lesson (1-7, 0 every lesson), or the runs of one custom lesson by its name (CP932).
struct ProgressFilter {
    int nMode = -1;
    int nLesson = 0;
    bool bCustom = false;
    std::string strCustomName;
    bool Matches(const CHistoryRecords& records, std::size_t n) const;
};

struct ProgressPoint {
    std::int64_t nMinute = 0;
    double dSpeed = 0, dAccuracy = 0;
    double dSpeedAverage = 0, dAccuracyAverage = 0;  // over this run and up to 9 before it
    std::size_t nRecord = 0;                          // index in the records
};

struct ProgressSeries {
    std::vector<ProgressPoint> aPoints;  // by time; runs of the same minute in file order
    std::size_t nSkipped = 0;            // matching records without a readable date or figures
};

ProgressSeries BuildProgressSeries(const CHistoryRecords& records, const ProgressFilter& filter);

// The speed axis from 0: a tidy top and its ticks, at most five steps of 1, 2, 2.5 or 5 times a
// power of ten, whatever the largest value (under 1, not finite or absurdly large) may be.
struct SpeedAxis {
    double dTop = 1;
    std::vector<double> aTicks;  // from 0 up to dTop
};
constexpr double kMaxAxisSpeed = 1e12;
SpeedAxis SpeedAxisFor(double dMax);

}  // namespace kibiki
