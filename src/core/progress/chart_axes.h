#pragma once
// The chart's reading aids: value axes ranged to their data with round steps, date ticks on
// whole days, weeks or months, where the mean line breaks, which lesson it opens on and what a
// point's tip says.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "progress/progress_series.h"
#include "users/history_record.h"

namespace kibiki {

// A value axis: from dLow to dHigh in steps of dStep (1, 2, 2.5 or 5 times a power of ten),
// covering every value, at most nMaxSteps steps, never beyond the limits (accuracy: 0-100), and
// never finer than dMinStep (whole numbers: 1).
struct ValueAxis {
    double dLow = 0, dHigh = 1, dStep = 1;
    std::vector<double> aTicks;  // dLow, dLow + dStep, ... dHigh
};
ValueAxis ValueAxisFor(double dMin, double dMax, double dLimitLow, double dLimitHigh, int nMaxSteps = 5,
                       double dMinStep = 1);

// Ticks under the time axis, on midnights of the records' own clock. The unit grows with the
// span so that at most nMaxTicks fit: every day, every 2 days, weeks (Mondays), 2 weeks, months
// (the 1st), 2, 3 or 6 months, years.
enum class TickUnit { Day, TwoDays, Week, TwoWeeks, Month, TwoMonths, Quarter, HalfYear, Year };
struct DateTick {
    std::int64_t nMinute = 0;
    std::string strLabel;  // UTF-8: "12/1" by days and weeks, "2026/12" by months, "2026" by years
};
struct DateTicks {
    TickUnit unit = TickUnit::Day;
    std::vector<DateTick> aTicks;
};
// Ticks within [nFirst, nLast] (minutes); one span of less than a day still gets its day.
DateTicks DateTicksFor(std::int64_t nFirst, std::int64_t nLast, int nMaxTicks);
// The widest label a unit writes, to measure before choosing.
const char* WidestTickLabel();

// Two runs further apart than this are not joined by the mean line.
constexpr std::int64_t kMeanLineGapMinutes = 14 * 24 * 60;
// Whether the mean line starts afresh at point i (always at 0).
std::vector<bool> MeanLineBreaks(const std::vector<ProgressPoint>& points);

// The lesson of the newest readable run, as the chart's filter: built-in by mode and lesson, a
// custom one by name. False when the history has none.
bool LastPractisedFilter(const CHistoryRecords& records, ProgressFilter& filter);

// A point's tip (UTF-8): date, lesson, speed, accuracy and missed keys, one per line.
std::string PointTip(const CHistoryRecords& records, const ProgressPoint& point);

// Units: keystrokes and kana per minute.
inline constexpr const char* kKeysPerMinute = "打/分";
inline constexpr const char* kKanaPerMinute = "字/分";

}  // namespace kibiki
