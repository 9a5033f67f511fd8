// Opening the history dialog, and the progress window on each of its pages, on a long history:
// the file read and parsed, the list model and column widths or the page's figures, and the
// first paint, on Qt's offscreen platform. Memory is the growth
// the dialog holds once it has painted: the heap in use (malloc's own count), and the growth of
// the resident set in the first iteration (run one size per process for that figure).
#include <QApplication>
#include <QSettings>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ui/app/application.h"
#include "text/cp932.h"
#include "users/history_file.h"
#include "ui/users/history_table_model.h"
#include <QTabWidget>

#include "ui/users/progress_window.h"
#include "ui/users/show_history_dlg.h"
#include "users/user_settings.h"

namespace {

using namespace kibiki;
using kibiki::ui::CShowHistoryDlg;

double ResidentMB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double HeapInUseMB() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Records as the program writes them: each with its own date, built-in and custom lessons, and
// between none and eight missed keys (64 bytes a record on average).
std::string HistoryText(int nLines) {
    static const char* const kLessons[] = {"10", "21", "32", "43", "74", "Words A", "ことわざ集（上級）"};
    static const char* const kMissed[] = {" ", "A  3 ", "A K S D F  9 7 3 2 1 ", "ま は ゛  4 2 1 ",
                                          "J F K D L S ; A  8 7 6 5 4 3 2 1 "};
    std::string text;
    for (int i = 0; i < nLines; ++i) {
        char date[64];
        std::snprintf(date, sizeof date, "20%02d年%02d月%02d日 %02d:%02d", 20 + i / 8760 % 10,
                      1 + i / 730 % 12, 1 + i / 24 % 28, i % 24, i * 7 % 60);
        text += std::string(date) + "," + kLessons[i % 7] + "," + std::to_string(60 + i % 240) + "," +
                std::to_string(70 + i % 31) + "," + kMissed[i % 5] + "\r\n";
    }
    return Utf8ToCp932(text);
}

// nPage: -1 the history dialog's list, else the progress window on that page.
void OpenHistoryWindow(benchmark::State& state, int nPage) {
    const std::string dir = std::filesystem::temp_directory_path() / ("kibiki_bench_hist_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    CUserSettings settings;
    settings.SetFolder(dir);
    settings.m_strUser = "bench";
    {
        const std::string text = HistoryText(static_cast<int>(state.range(0)));
        std::ofstream(HistoryPath(settings), std::ios::binary) << text;
        state.counters["file_MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    }
    kibiki::ui::CProgressWindow::SetViewStateFile(QString::fromStdString(dir + "/view.ini"));
    double dHeapMB = 0, dResidentMB = -1;
    for (auto _ : state) {
        const double dHeapBefore = HeapInUseMB(), dResidentBefore = ResidentMB();
        if (nPage < 0) {
            CShowHistoryDlg dlg(settings);
            dlg.show();
            dlg.List()->viewport()->repaint();
            QApplication::processEvents();
            state.counters["rows"] = dlg.Model()->rowCount();
        } else {
            // The page is the view state the window opens on.
            {
                QSettings(QString::fromStdString(dir + "/view.ini"), QSettings::IniFormat)
                    .setValue(QStringLiteral("ProgressWindow/page"), nPage);
            }
            kibiki::ui::CProgressWindow window(settings, nullptr);
            window.show();
            window.Pages()->currentWidget()->repaint();
            QApplication::processEvents();
        }
        dHeapMB = std::max(dHeapMB, HeapInUseMB() - dHeapBefore);
        if (dResidentMB < 0) dResidentMB = ResidentMB() - dResidentBefore;
    }
    state.counters["heap_MB"] = dHeapMB;
    state.counters["rss_MB"] = dResidentMB;
    std::filesystem::remove_all(dir);
}
void BM_OpenHistoryDialog(benchmark::State& state) { OpenHistoryWindow(state, -1); }
void BM_OpenProgressChart(benchmark::State& state) { OpenHistoryWindow(state, 0); }
void BM_OpenProgressWeakKeys(benchmark::State& state) { OpenHistoryWindow(state, 1); }
void BM_OpenProgressCalendar(benchmark::State& state) { OpenHistoryWindow(state, 2); }
BENCHMARK(BM_OpenHistoryDialog)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProgressChart)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProgressWeakKeys)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProgressCalendar)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kibiki::ui::SetUpApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
