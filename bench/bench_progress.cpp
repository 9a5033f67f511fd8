// The progress chart's series, the weak-key counts and the calendar (days, minutes, streaks,
// grid) from a history of 100,000 runs.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "progress/missed_key_counts.h"
#include "progress/practice_days.h"
#include "progress/progress_series.h"
#include "support/test_util.h"

namespace {

using namespace kibiki;

// 100,000 runs over the five modes and seven lessons, five missed keys each.
const std::string& History100k() {
    static const std::string text = [] {
        std::string utf8;
        for (int i = 0; i < 100000; ++i) {
            char line[160];
            std::snprintf(line, sizeof line, "%04d年%02d月%02d日 %02d:%02d,%d%d,%d,%d,ち し A K ー  5 4 3 2 1 \r\n",
                          2000 + i / 4000, i / 300 % 12 + 1, i / 10 % 28 + 1, i % 24, i % 60, i % 7 + 1,
                          i % 5, 80 + i % 200, 70 + i % 31);
            utf8 += line;
        }
        return test::Sj(utf8);
    }();
    return text;
}

void BM_SeriesAndHeatCounts100k(benchmark::State& state) {
    for (auto _ : state) {
        const CHistoryRecords records(History100k());
        ProgressFilter filter;
        filter.nMode = 0;
        benchmark::DoNotOptimize(BuildProgressSeries(records, filter));
        benchmark::DoNotOptimize(CountMissedKeys(records, PracticeMode::KanaInput, kAllRuns));
    }
}
BENCHMARK(BM_SeriesAndHeatCounts100k)->Unit(benchmark::kMillisecond);

// The calendar page from records already read (the window reads them once for every page).
void BM_Calendar100k(benchmark::State& state) {
    const CHistoryRecords records(History100k());
    const std::int64_t today = DayOfDate(2024, 12, 31);
    LessonKeystrokes(0, 1);  // the lesson table is built once per program
    for (auto _ : state) {
        const PracticeDays days = BuildPracticeDays(records);
        benchmark::DoNotOptimize(StreaksOf(days, today, 15));
        benchmark::DoNotOptimize(StreaksOf(days, today, 0));
        benchmark::DoNotOptimize(CalendarGridFor(today));
        benchmark::DoNotOptimize(days);
    }
}
BENCHMARK(BM_Calendar100k)->Unit(benchmark::kMillisecond);

}  // namespace
