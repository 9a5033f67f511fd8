// The progress chart's series, the weak-key counts and the calendar (days, minutes, streaks,
// grid) from a history of 100,000 runs.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "progress/history_csv.h"
#include "progress/missed_key_counts.h"
#include "progress/practice_days.h"
#include "progress/progress_series.h"
#include "support/test_util.h"
#include "users/history_file.h"
#include "users/user_settings.h"

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

double PeakResidentMB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// "CSV保存..." on a history of range(0) runs (the 100,000 above, repeated): the file read and
// written a piece at a time. rss_peak_MB is the process's peak resident set, which the history
// text made for the file (freed before the export) bounds from below: run one size per process.
void BM_SaveHistoryCsv(benchmark::State& state) {
    const std::string dir =
        std::filesystem::temp_directory_path() / ("kibiki_bench_csv_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    CUserSettings settings;
    settings.SetFolder(dir);
    settings.m_strUser = "bench";
    {
        std::ofstream out(HistoryPath(settings), std::ios::binary);
        for (std::int64_t n = 0; n < state.range(0); n += 100000) out << History100k();
    }
    const double dBefore = PeakResidentMB();
    for (auto _ : state) {
        if (!SaveHistoryCsv(settings, dir + "/out.csv")) state.SkipWithError("not saved");
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(HistoryPath(settings))) / (1 << 20);
    state.counters["csv_MB"] = static_cast<double>(std::filesystem::file_size(dir + "/out.csv")) / (1 << 20);
    state.counters["rss_peak_MB"] = PeakResidentMB();
    state.counters["rss_peak_growth_MB"] = PeakResidentMB() - dBefore;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveHistoryCsv)->Arg(1000000)->Unit(benchmark::kMillisecond);

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
