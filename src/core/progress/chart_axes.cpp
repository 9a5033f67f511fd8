#include "progress/chart_axes.h"

#include <algorithm>
#include <cmath>

#include "progress/practice_days.h"
#include "text/cp932.h"

namespace kibiki {

namespace {

constexpr std::int64_t kDay = 24 * 60;

double NiceStep(double dRaw) {
    if (!(dRaw > 0) || !std::isfinite(dRaw)) return 1;
    const double mag = std::pow(10.0, std::floor(std::log10(dRaw)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (mag * m >= dRaw * (1 - 1e-9)) return mag * m;
    return mag * 10;
}

std::int64_t MonthIndex(const CivilDate& d) { return std::int64_t(d.nYear) * 12 + (d.nMonth - 1); }

std::int64_t FirstOfMonthIndex(std::int64_t nIndex) {
    const std::int64_t y = nIndex >= 0 ? nIndex / 12 : (nIndex - 11) / 12;
    return DayOfDate(static_cast<int>(y), static_cast<int>(nIndex - y * 12) + 1, 1);
}

std::string DayLabel(std::int64_t nDay) {
    const CivilDate d = DateOfDay(nDay);
    return std::to_string(d.nMonth) + "/" + std::to_string(d.nDay);
}

// The ticks of one unit within [nFirstDay, nLastDay].
std::vector<std::int64_t> TickDays(TickUnit unit, std::int64_t nFirstDay, std::int64_t nLastDay) {
    std::vector<std::int64_t> days;
    auto byDays = [&](std::int64_t nStart, std::int64_t nStep) {
        for (std::int64_t d = nStart; d <= nLastDay; d += nStep)
            if (d >= nFirstDay) days.push_back(d);
    };
    auto byMonths = [&](std::int64_t nEvery) {
        std::int64_t m = MonthIndex(DateOfDay(nFirstDay));
        m -= ((m % nEvery) + nEvery) % nEvery;  // January-aligned: quarters start in Jan, Apr ...
        for (; FirstOfMonthIndex(m) <= nLastDay; m += nEvery)
            if (FirstOfMonthIndex(m) >= nFirstDay) days.push_back(FirstOfMonthIndex(m));
    };
    // Mondays; 1970-01-05 was one.
    const std::int64_t nMonday = nFirstDay - ((nFirstDay - 4) % 7 + 7) % 7;
    switch (unit) {
        case TickUnit::Day: byDays(nFirstDay, 1); break;
        // Even days since the epoch, so that the same dates carry ticks whatever the span's start.
        case TickUnit::TwoDays: byDays(nFirstDay + (nFirstDay % 2 != 0), 2); break;
        case TickUnit::Week: byDays(nMonday, 7); break;
        case TickUnit::TwoWeeks: byDays(nMonday - (((nMonday - 4) / 7) % 2 != 0 ? 7 : 0), 14); break;
        case TickUnit::Month: byMonths(1); break;
        case TickUnit::TwoMonths: byMonths(2); break;
        case TickUnit::Quarter: byMonths(3); break;
        case TickUnit::HalfYear: byMonths(6); break;
        case TickUnit::Year: byMonths(12); break;
    }
    return days;
}

}  // namespace

ValueAxis ValueAxisFor(double dMin, double dMax, double dLimitLow, double dLimitHigh, int nMaxSteps, double dMinStep) {
    ValueAxis axis;
    nMaxSteps = std::max(nMaxSteps, 1);
    if (!(dLimitHigh > dLimitLow)) dLimitHigh = dLimitLow + 1;
    if (!std::isfinite(dMin) || !std::isfinite(dMax) || dMin > dMax) dMin = dMax = dLimitLow;
    dMin = std::clamp(dMin, dLimitLow, dLimitHigh);
    dMax = std::clamp(dMax, dLimitLow, dLimitHigh);
    // A flat series still gets a span around it.
    double span = dMax - dMin;
    if (span <= 0) span = std::max(std::abs(dMax) * 0.1, 1.0);
    double step = std::max(NiceStep(span / nMaxSteps), NiceStep(dMinStep));
    for (;;) {
        double lo = std::floor(dMin / step + 1e-9) * step;
        double hi = std::ceil(dMax / step - 1e-9) * step;
        if (hi <= lo) hi = lo + step;
        lo = std::max(lo, dLimitLow);
        hi = std::min(hi, dLimitHigh);
        if (hi <= lo) lo = std::max(dLimitLow, hi - step);
        const long steps = std::lround((hi - lo) / step);
        if (steps <= nMaxSteps) {
            axis.dLow = lo;
            axis.dHigh = hi;
            axis.dStep = step;
            break;
        }
        step = NiceStep(step * 1.01);
    }
    for (double v = axis.dLow; v <= axis.dHigh + axis.dStep * 1e-6; v += axis.dStep)
        axis.aTicks.push_back(std::abs(v) < axis.dStep * 1e-9 ? 0 : v);
    // A limit that is no whole step from dLow (0-100 by 15s) ends the axis all the same.
    if (axis.aTicks.empty() || axis.aTicks.back() < axis.dHigh - axis.dStep * 1e-6) axis.aTicks.push_back(axis.dHigh);
    return axis;
}

const char* WidestTickLabel() { return "12/28"; }

DateTicks DateTicksFor(std::int64_t nFirst, std::int64_t nLast, int nMaxTicks) {
    DateTicks ticks;
    if (nLast < nFirst) std::swap(nFirst, nLast);
    nMaxTicks = std::max(nMaxTicks, 1);
    // Ticks sit on midnights inside the span; a span within one day shows that day's date at its
    // midnight, the chart's left edge.
    std::int64_t nFirstDay = DayOfMinute(nFirst);
    const std::int64_t nLastDay = DayOfMinute(nLast);
    if (nFirstDay * kDay < nFirst && nFirstDay < nLastDay) ++nFirstDay;
    static constexpr TickUnit kUnits[] = {TickUnit::Day,   TickUnit::TwoDays,   TickUnit::Week,
                                          TickUnit::TwoWeeks, TickUnit::Month, TickUnit::TwoMonths,
                                          TickUnit::Quarter, TickUnit::HalfYear, TickUnit::Year};
    std::vector<std::int64_t> days;
    for (TickUnit unit : kUnits) {
        days = TickDays(unit, nFirstDay, nLastDay);
        ticks.unit = unit;
        if (static_cast<int>(days.size()) <= nMaxTicks) break;
    }
    // Years beyond what even yearly ticks fit: every k-th year.
    if (static_cast<int>(days.size()) > nMaxTicks) {
        const std::size_t every = (days.size() + std::size_t(nMaxTicks) - 1) / std::size_t(nMaxTicks);
        std::vector<std::int64_t> thinned;
        for (std::size_t i = 0; i < days.size(); i += every) thinned.push_back(days[i]);
        days = std::move(thinned);
    }
    const bool bMonths = ticks.unit >= TickUnit::Month;
    for (std::int64_t d : days) {
        DateTick t;
        t.nMinute = d * kDay;
        const CivilDate c = DateOfDay(d);
        t.strLabel = ticks.unit == TickUnit::Year ? std::to_string(c.nYear)
                     : bMonths                   ? std::to_string(c.nYear) + "/" + std::to_string(c.nMonth)
                                                 : DayLabel(d);
        ticks.aTicks.push_back(std::move(t));
    }
    return ticks;
}

std::vector<bool> MeanLineBreaks(const std::vector<ProgressPoint>& points) {
    std::vector<bool> breaks(points.size(), false);
    for (std::size_t i = 0; i < points.size(); ++i)
        breaks[i] = i == 0 || points[i].nMinute - points[i - 1].nMinute > kMeanLineGapMinutes;
    return breaks;
}

bool LastPractisedFilter(const CHistoryRecords& records, ProgressFilter& filter) {
    // The newest line is the run just practised; lines the chart cannot show are passed over.
    for (std::size_t i = records.size(); i-- > 0;) {
        const HistoryRecord& r = records[i];
        if (r.nMinute == kNoTime || r.nSpeed < 0 || r.nAccuracy < 0) continue;
        filter = ProgressFilter{};
        if (r.IsBuiltIn()) {
            filter.nMode = r.nMode;
            filter.nLesson = r.nLesson;
        } else {
            filter.bCustom = true;
            filter.strCustomName = std::string(r.strLesson);
        }
        return true;
    }
    return false;
}

std::string PointTip(const CHistoryRecords& records, const ProgressPoint& point) {
    std::string tip = IsoMinute(point.nMinute);
    tip[10] = ' ';  // "2004-05-06 09:07"
    if (point.nRecord >= records.size()) return tip;
    const HistoryRecord& r = records[point.nRecord];
    tip += "\n" + Cp932ToUtf8(LessonName(r.strLesson));
    tip += "\n速度 " + std::to_string(r.nSpeed) + kKeysPerMinute;
    tip += "\n正解率 " + std::to_string(r.nAccuracy) + "%";
    tip += "\n間違えたキー ";
    if (r.misses.empty()) tip += "なし";
    for (std::size_t k = 0; k < r.misses.size(); ++k) {
        if (k == kTopMissedKeys) {
            tip += " ほか" + std::to_string(r.misses.size() - k) + "キー";
            break;
        }
        if (k > 0) tip += "　";
        tip += Cp932ToUtf8(r.misses[k].strKey) + "×" + std::to_string(r.misses[k].nCount);
    }
    return tip;
}

}  // namespace kibiki
