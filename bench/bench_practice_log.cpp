// The practice log's costs: recording a key on the judging path, writing a run when it ends,
// per-key figures over a long log, and the bytes a key takes on disk.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <random>

#include "lessons/keystroke_stream.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson.h"
#include "practice_log/practice_log.h"
#include "practice_log/practice_recorder.h"
#include "progress/key_speed.h"
#include "progress/weak_key_drill_start.h"
#include "support/test_util.h"

namespace {

using namespace kibiki;
using test::TempFolder;

constexpr const char* kUnits[] = {"\xB7", "\xB6", "\x82\xB5\x82\xE1", "\x82\xA9"};  // ｷ ｶ しゃ か

LoggedRun SyntheticRun(std::mt19937& rng, int nKeys) {
    LoggedRun run;
    run.tStart = 1700000000;
    run.tEnd = run.tStart + 60;
    run.mode = PracticeMode::HiraganaRomaji;
    run.strSource = "built-in";
    run.strLesson = "21";
    run.nKeystrokes = nKeys;
    run.end = RunEnd::Finished;
    for (int i = 0; i < nKeys; ++i) {
        LoggedKey k;
        k.chDue = static_cast<unsigned char>('A' + rng() % 26);
        const bool right = rng() % 20 != 0;
        k.chTyped = right ? k.chDue : 'Q';
        k.nCap = static_cast<std::int8_t>(rng() % 48);
        k.nMs = 120 + rng() % 400;
        k.nFlags = static_cast<std::uint8_t>((right ? LoggedKey::kRight : 0) | (i % 5 == 0 ? LoggedKey::kUnitStart : 0) |
                                             (i % 40 == 0 ? LoggedKey::kQuestionStart : 0));
        const std::string_view unit = kUnits[rng() % 4];
        k.nUnitLen = static_cast<std::uint8_t>(unit.size());
        std::copy(unit.begin(), unit.end(), k.unit.begin());
        run.keys.push_back(k);
    }
    return run;
}

// What the recorder adds to each judged key (the write at the run's end excluded).
void BM_RecorderOnKeystroke(benchmark::State& state) {
    CKibikiDoc doc;
    PracticeRecorder recorder(doc);
    const Lesson lesson;
    recorder.OnRunStart(lesson);
    KeystrokeEvent e;
    e.dwTime = 1000;
    e.nCap = 17;
    e.chTyped = e.chDue = 0xB6;
    e.kanaDue = "\x82\xA9";
    e.bRight = true;
    int n = 0;
    for (auto _ : state) {
        if (++n == 1024) {
            recorder.OnRunStart(lesson);  // a new run: the keys kept so far are dropped
            n = 0;
        }
        ++e.dwTime;
        ++e.nKanaPos;
        recorder.OnKeystroke(e);
    }
}
BENCHMARK(BM_RecorderOnKeystroke);

// One 300-key run written to a log on disk, in its transaction.
void BM_WriteRun300(benchmark::State& state) {
    TempFolder dir("kibiki_bench_log");
    LogFault fault;
    auto log = PracticeLog::Open(dir.Path() + "/u.db", fault);
    std::mt19937 rng(1);
    const LoggedRun run = SyntheticRun(rng, 300);
    for (auto _ : state)
        if (log->WriteRun(run) != LogFault::None) state.SkipWithError("not written");
}
BENCHMARK(BM_WriteRun300)->Unit(benchmark::kMillisecond);

// Per-key figures and pairs from a log of 2,000,000 keys (the newest window of them read),
// and the log's size per key.
void BM_SpeedFigures2M(benchmark::State& state) {
    TempFolder dir("kibiki_bench_log");
    const std::string path = dir.Path() + "/u.db";
    LogFault fault;
    auto log = PracticeLog::Open(path, fault);
    std::mt19937 rng(2);
    for (int i = 0; i < 2000000 / 300; ++i) log->WriteRun(SyntheticRun(rng, 300));
    sqlite3_wal_checkpoint_v2(log->Handle(), nullptr, 2, nullptr, nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadSpeedFigures(*log, PracticeMode::HiraganaRomaji));
    }
    struct stat st {};
    ::stat(path.c_str(), &st);
    state.counters["bytes_per_key"] = static_cast<double>(st.st_size) / (2000000 / 300 * 300);
}
BENCHMARK(BM_SpeedFigures2M)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
