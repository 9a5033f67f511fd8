// A whole 20-question lesson typed through the practice view (judge, guide, paging, question
// loading, evaluation, history append), and reading a long history file.
#include <benchmark/benchmark.h>

#include <fstream>

#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "lessons/spoken_practice.h"
#include "platform/keyboard_layout.h"
#include "support/fakes.h"
#include "support/recording_form.h"
#include "support/test_util.h"
#include "users/history_file.h"

namespace {

using namespace kibiki;
using test::TempFolder;

// Mode and lesson in the range; every keystroke right, 300 ms apart. A third argument 1 adds
// the screen reader's description, taken after every key as the window does.
void WholeLesson(benchmark::State& state) {
    const bool bSpoken = state.range(2) != 0;
    const int type = static_cast<int>(state.range(0));
    const int lesson = static_cast<int>(state.range(1));
    const TempFolder folder("kibiki_bench");
    FakeClock clock;
    FakeKeyboardState keyboard;
    FixedKeyboardLayout layout(true);
    RecordingPracticeForm form;
    form.m_bRecord = false;
    form.m_nLineBytes = 30;
    CKibikiDoc doc;
    CKibikiView view(doc, form, layout, clock);
    doc.Settings().SetFolder(folder.Path());
    doc.Settings().SetFlushToDisk(false);
    doc.Settings().LoadUser("bench");
    doc.SetKeyboard(&keyboard);
    clock.m_tNow = 1083834420;
    clock.m_dwTick = 1000;
    SpokenPractice spoken(doc);
    std::string said;
    if (bSpoken) view.AddListener(&spoken);

    std::int64_t keystrokes = 0;
    for (auto _ : state) {
        view.StartLesson(BuiltInLesson(PracticeMode{type}, lesson));
        while (view.IsRunning()) {
            view.OnTypedChar(doc.NextExpectedKey());
            if (bSpoken) benchmark::DoNotOptimize(spoken.Take(said));
            clock.m_dwTick += 300;
            ++keystrokes;
        }
    }
    state.counters["keystrokes/s"] =
        benchmark::Counter(static_cast<double>(keystrokes), benchmark::Counter::kIsRate);
    state.counters["keys/lesson"] = static_cast<double>(keystrokes) / static_cast<double>(state.iterations());
}
// Kana input lesson 1, romaji input lesson 1, hiragana-to-romaji lesson 1, kana with kanji 7.
BENCHMARK(WholeLesson)->Name("BM_WholeLesson")->Args({0, 1, 0})->Args({1, 1, 0})->Args({2, 1, 0})
    ->Args({3, 7, 0})->Args({0, 1, 1})->Args({1, 1, 1})
    ->Unit(benchmark::kMillisecond);

// 100,000 records with missed keys, as a year of daily practice would not even reach.
std::string HistoryText(int nLines) {
    std::string text;
    const std::string line =
        "\x32\x30\x30\x34\x94\x4e\x30\x35\x8c\x8e\x30\x36\x93\xfa 09:07,31,120,95,A K S D F  9 7 3 2 1 \r\n";
    text.reserve(line.size() * static_cast<std::size_t>(nLines));
    for (int i = 0; i < nLines; ++i) text += line;
    return text;
}

void BM_ReadHistory100k(benchmark::State& state) {
    const TempFolder folder("kibiki_bench");
    CUserSettings settings;
    settings.SetFolder(folder.Path());
    settings.m_strUser = "bench";
    std::ofstream(HistoryPath(settings), std::ios::binary) << HistoryText(100000);
    std::size_t rows = 0;
    for (auto _ : state) rows = ReadHistory(settings).size();
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ReadHistory100k)->Unit(benchmark::kMillisecond);

// The same records parsed from memory: the reader without the file system.
void BM_ParseHistory100k(benchmark::State& state) {
    const std::string text = HistoryText(100000);
    for (auto _ : state) benchmark::DoNotOptimize(ParseHistory(text));
}
BENCHMARK(BM_ParseHistory100k)->Unit(benchmark::kMillisecond);

}  // namespace
