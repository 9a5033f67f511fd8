// Loading and saving a settings file with 500 learned spellings: what every learned spelling
// costs (it is saved at once).
#include <benchmark/benchmark.h>

#include <string>

#include "support/test_util.h"
#include "users/user_settings.h"

namespace {

class SettingsFile {
public:
    SettingsFile() {
        kibiki::CUserSettings s;
        s.SetFolder(m_dir);
        s.LoadUser("bench");
        for (int i = 0; i < 500; ++i) s.SetIndexedInt("DynRoman", 40100 + i, 40710 + i % 45);
        for (int i = 0; i < 5; ++i) {
            s.SetIndexedString("No", i, "lesson " + std::to_string(i));
            s.SetIndexedString("File", i, "/home/user/lessons/lesson" + std::to_string(i) + ".txt");
        }
        s.SaveUser();
    }
    const kibiki::test::TempFolder m_folder{"kibiki_bench"};
    const std::string m_dir = m_folder.Path();
};

void LoadAndSave(benchmark::State& state, bool bFlush) {
    SettingsFile file;
    kibiki::CUserSettings s;
    s.SetFolder(file.m_dir);
    s.SetFlushToDisk(bFlush);
    for (auto _ : state) {
        s.LoadUser("bench");
        benchmark::DoNotOptimize(s.SaveUser());
    }
    state.counters["bytes"] = static_cast<double>(s.FileText().size());
}

void BM_LoadSaveUser500(benchmark::State& state) { LoadAndSave(state, false); }
BENCHMARK(BM_LoadSaveUser500)->Unit(benchmark::kMicrosecond);

// The same with fsync of the file and its folder, as the program runs.
void BM_LoadSaveUser500Flushed(benchmark::State& state) { LoadAndSave(state, true); }
BENCHMARK(BM_LoadSaveUser500Flushed)->Unit(benchmark::kMicrosecond);

void BM_LoadUser500(benchmark::State& state) {
    SettingsFile file;
    kibiki::CUserSettings s;
    s.SetFolder(file.m_dir);
    for (auto _ : state) s.LoadUser("bench");
}
BENCHMARK(BM_LoadUser500)->Unit(benchmark::kMicrosecond);

}  // namespace
