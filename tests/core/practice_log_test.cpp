// The practice log against a real SQLite database: schema and migration, runs written and read
// back, the recorder behind a practice run, and every way the file can be unusable.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sched.h>

#include "practice_log/practice_log.h"
#include "practice_log/practice_recorder.h"
#include "lessons/test_passages.h"
#include "lessons/timed_test.h"
#include "support/practice_harness.h"
#include "support/test_util.h"

namespace kibiki {
namespace {

using test::PracticeHarness;
using test::Sj;
using test::TempFolder;
using test::U8;

LoggedKey Key(std::uint32_t ms, unsigned char typed, unsigned char due, std::string_view unitUtf8 = {},
              std::uint8_t flags = LoggedKey::kRight) {
    LoggedKey k;
    k.nMs = ms;
    k.chTyped = typed;
    k.chDue = due;
    k.nFlags = flags;
    const std::string unit = Sj(unitUtf8);
    k.nUnitLen = static_cast<std::uint8_t>(unit.size());
    std::copy(unit.begin(), unit.end(), k.unit.begin());
    return k;
}

LoggedRun SampleRun(int nKeys = 3) {
    LoggedRun run;
    run.tStart = 1083834420;
    run.tEnd = 1083834480;
    run.mode = PracticeMode::HiraganaRomaji;
    run.strSource = "file";
    run.strLesson = "ことば";
    run.nKeystrokes = nKeys;
    run.nMisses = 1;
    run.nKanaTyped = 2;
    run.nElapsedMs = 60000;
    run.end = RunEnd::Finished;
    for (int i = 0; i < nKeys; ++i)
        run.keys.push_back(Key(static_cast<std::uint32_t>(100 + i), 'K', 'K', "きゃ",
                               static_cast<std::uint8_t>(i % 2 ? LoggedKey::kRight : LoggedKey::kUnitStart)));
    return run;
}

std::unique_ptr<PracticeLog> OpenOk(const std::string& path) {
    LogFault fault = LogFault::Other;
    auto log = PracticeLog::Open(path, fault, 200);
    EXPECT_EQ(fault, LogFault::None) << path;
    return log;
}

int CountRuns(const std::string& path) {
    auto log = OpenOk(path);
    std::vector<LoggedRun> runs;
    return log && log->ReadRunSummaries(runs) == LogFault::None ? static_cast<int>(runs.size()) : -1;
}

TEST(PracticeLog, ANewLogHasTheSchemaAndKeepsARunWholeOnDiskAndInMemory) {
    TempFolder dir;
    for (const std::string path : {std::string(":memory:"), dir.Path() + "/u.db"}) {
        auto log = OpenOk(path);
        ASSERT_TRUE(log);
        EXPECT_EQ(log->SchemaVersion(), kLogSchemaVersion);
        if (path != ":memory:") EXPECT_EQ(log->JournalMode(), "wal");
        const LoggedRun written = SampleRun();
        ASSERT_EQ(log->WriteRun(written), LogFault::None);
        std::vector<LoggedRun> runs;
        ASSERT_EQ(log->ReadRuns(PracticeMode::HiraganaRomaji, 1000, runs), LogFault::None);
        ASSERT_EQ(runs.size(), 1u);
        const LoggedRun& r = runs[0];
        EXPECT_EQ(r.tStart, written.tStart);
        EXPECT_EQ(r.tEnd, written.tEnd);
        EXPECT_EQ(r.strSource, "file");
        EXPECT_EQ(r.strLesson, "ことば");
        EXPECT_EQ(r.nKeystrokes, 3);
        EXPECT_EQ(r.nMisses, 1);
        EXPECT_EQ(r.nKanaTyped, 2);
        EXPECT_EQ(r.nElapsedMs, 60000);
        EXPECT_EQ(r.end, RunEnd::Finished);
        ASSERT_EQ(r.keys.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(r.keys[i].nMs, written.keys[i].nMs);
            EXPECT_EQ(r.keys[i].nFlags, written.keys[i].nFlags);
            EXPECT_EQ(U8(r.keys[i].Unit()), "きゃ");
        }
        std::vector<LoggedRun> other;
        ASSERT_EQ(log->ReadRuns(PracticeMode::KanaInput, 1000, other), LogFault::None);
        EXPECT_TRUE(other.empty());
        // Cleared with the history: nothing left, and the log goes on.
        ASSERT_EQ(log->Clear(), LogFault::None);
        ASSERT_EQ(log->ReadRunSummaries(runs), LogFault::None);
        EXPECT_TRUE(runs.empty());
        EXPECT_EQ(log->WriteRun(written), LogFault::None);
    }
}

TEST(PracticeLog, AFirstVersionLogIsMigratedWithItsRunsAndANewerOneIsLeftAlone) {
    TempFolder dir;
    const std::string path = dir.Path() + "/u.db";
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TABLE run(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, ended INTEGER "
                               "NOT NULL, mode INTEGER NOT NULL, source TEXT NOT NULL, lesson TEXT NOT NULL, keys "
                               "INTEGER NOT NULL, misses INTEGER NOT NULL, kana INTEGER NOT NULL, elapsed_ms "
                               "INTEGER NOT NULL, ending TEXT NOT NULL);"
                               "CREATE TABLE keystroke(run INTEGER NOT NULL, seq INTEGER NOT NULL, ms INTEGER NOT "
                               "NULL, cap INTEGER NOT NULL, typed INTEGER NOT NULL, due INTEGER NOT NULL, unit TEXT "
                               "NOT NULL, ok INTEGER NOT NULL, flags INTEGER NOT NULL, PRIMARY KEY(run, seq)) "
                               "WITHOUT ROWID;"
                               "INSERT INTO run VALUES(1, 10, 20, 0, 'built-in', '11', 5, 0, 5, 9000, 'finished');"
                               "INSERT INTO keystroke VALUES(1, 0, 0, 17, 182, 182, 'か', 1, 2);"
                               "PRAGMA user_version=1;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    auto log = OpenOk(path);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->SchemaVersion(), kLogSchemaVersion);
    EXPECT_FALSE(log->TargetMs());
    ASSERT_EQ(log->SetTargetMs(250), LogFault::None);
    EXPECT_EQ(log->TargetMs(), 250);
    std::vector<LoggedRun> runs;
    ASSERT_EQ(log->ReadRuns(PracticeMode::KanaInput, 100, runs), LogFault::None);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].keys.size(), 1u);
    EXPECT_EQ(U8(runs[0].keys[0].Unit()), "か");
    EXPECT_EQ(runs[0].nChars, -1);  // counted by no run before
    log.reset();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    LogFault fault = LogFault::None;
    EXPECT_FALSE(PracticeLog::Open(path, fault));
    EXPECT_EQ(fault, LogFault::TooNew);
}

TEST(PracticeLog, PathsThatAreNoDatabaseFileAreRefusedWithoutBlocking) {
    TempFolder dir;
    const std::string folder = dir.Path() + "/folder.db";
    const std::string fifo = dir.Path() + "/fifo.db";
    const std::string zero = dir.Path() + "/zero.db";
    const std::string junk = dir.Path() + "/junk.db";
    ::mkdir(folder.c_str(), 0755);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    std::string bytes(8192, '\0');
    std::mt19937 rng(7);
    for (char& c : bytes) c = static_cast<char>(rng());
    std::ofstream(junk, std::ios::binary) << bytes;
    const std::pair<std::string, LogFault> cases[] = {
        {folder, LogFault::Folder},
        {fifo, LogFault::NotRegular},
        {zero, LogFault::NotRegular},
        {junk, LogFault::Damaged},
    };
    for (const auto& [path, expected] : cases) {
        LogFault fault = LogFault::None;
        EXPECT_FALSE(PracticeLog::Open(path, fault)) << path;
        EXPECT_EQ(fault, expected) << path;
    }
}

// A lesson typed through the real view with the recorder listening.
struct RecordedRig {
    RecordedRig() {
        h.m_view.AddListener(&recorder);
        recorder.SetBusyTimeout(200);
    }
    std::string LogPath() const { return h.m_dir + "/Setting/test.db"; }
    std::string Messages() const { return h.m_form.Lines({"message"}); }
    PracticeHarness h;
    PracticeRecorder recorder{h.m_doc};
};

// A timed test is a "test" run named as its history line, measured to the limit however long
// ago its last key was.
TEST(PracticeRecorder, ATimedTestIsKeptAsATestRunOfItsLength) {
    RecordedRig rig;
    ASSERT_TRUE(rig.h.m_view.StartLesson(TimedTestLesson(TestPassages().at(0), true, 1)));
    rig.h.TypeQuestion();
    rig.h.m_clock.m_dwTick += 90000;
    rig.h.m_view.OnTimer();
    LogFault fault;
    auto log = PracticeLog::Open(rig.LogPath(), fault);
    ASSERT_TRUE(log) << rig.Messages();
    std::vector<LoggedRun> runs;
    ASSERT_EQ(log->ReadRuns(PracticeMode::RomajiKanji, 1000, runs), LogFault::None);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].end, RunEnd::Finished);
    EXPECT_EQ(runs[0].strSource, "test");
    EXPECT_EQ(runs[0].strLesson, "腕試し1分");
    EXPECT_EQ(runs[0].nElapsedMs, 60000u);
    // The minute's 120 right keys all count, the unfinished sentence's too; its characters are
    // the whole sentences', as the result showed them.
    EXPECT_EQ(runs[0].nKeystrokes, 120);
    ASSERT_EQ(rig.h.m_form.m_timedResults.size(), 1u);
    EXPECT_EQ(std::to_string(runs[0].nChars) + "字", U8(rig.h.m_form.m_timedResults[0].rows[0].second));
    std::vector<LoggedRun> summaries;
    ASSERT_EQ(log->ReadRunSummaries(summaries), LogFault::None);
    ASSERT_EQ(summaries.size(), 1u);
    EXPECT_EQ(summaries[0].nChars, runs[0].nChars);
}

TEST(PracticeRecorder, ATypedLessonLeavesItsRunAndEveryKeyInTheUsersLog) {
    RecordedRig rig;
    rig.h.StartCustom("#ROMANJ\nT\nきゃく\nしか\n");
    rig.h.Type("KYAQKU");  // Q is wrong
    rig.h.Type("SIKA");
    EXPECT_NE(rig.h.HistoryFile(), "");
    LogFault fault;
    auto log = PracticeLog::Open(rig.LogPath(), fault);
    ASSERT_TRUE(log) << rig.Messages();
    std::vector<LoggedRun> runs;
    ASSERT_EQ(log->ReadRuns(PracticeMode::HiraganaRomaji, 1000, runs), LogFault::None);
    ASSERT_EQ(runs.size(), 1u);
    const LoggedRun& r = runs[0];
    EXPECT_EQ(r.end, RunEnd::Finished);
    EXPECT_EQ(r.strSource, "file");
    EXPECT_EQ(r.nMisses, 1);
    EXPECT_EQ(r.nElapsedMs, 9 * 500);
    EXPECT_EQ(r.tStart, test::kStartTime);
    std::string seen;
    for (const LoggedKey& k : r.keys) {
        seen += static_cast<char>(k.chTyped);
        seen += k.Right() ? "" : "!";
        seen += k.QuestionStart() ? "^" : "";
        seen += k.UnitStart() ? "[" + U8(k.Unit()) + "]" : "";
        seen += std::to_string(k.nMs) + " ";
    }
    EXPECT_EQ(seen, "K^[きゃ]0 Y500 A500 Q![く]500 K500 U500 S^[し]500 I500 K[か]500 A500 ");

    // Stopped runs are kept as stopped; a run left before its first key is not kept.
    rig.h.StartCustom("#ROMANJ\nT\nきゃく\n");
    rig.h.Type("KY");
    rig.h.m_view.StopRun();
    rig.h.StartCustom("#ROMANJ\nT\nきゃく\n");
    rig.h.m_view.StopRun();
    ASSERT_EQ(log->ReadRuns(PracticeMode::HiraganaRomaji, 1000, runs), LogFault::None);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].end, RunEnd::Stopped);
    EXPECT_EQ(runs[0].keys.size(), 2u);
    EXPECT_EQ(rig.Messages(), "");

    // "履歴削除" empties it; a user without a log gets none from clearing.
    EXPECT_TRUE(rig.recorder.ClearLog());
    EXPECT_EQ(CountRuns(rig.LogPath()), 0);
    ::unlink(rig.LogPath().c_str());
    EXPECT_TRUE(rig.recorder.ClearLog());
    EXPECT_FALSE(std::filesystem::exists(rig.LogPath()));
}

TEST(PracticeRecorder, ADamagedLogIsMovedAsideAndTheRunGoesToANewOne) {
    RecordedRig rig;
    std::ofstream(rig.LogPath(), std::ios::binary) << std::string(4096, 'x');
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");
    EXPECT_NE(rig.h.HistoryFile(), "");
    EXPECT_EQ(CountRuns(rig.LogPath()), 1);
    int damaged = 0;
    for (const auto& e : std::filesystem::directory_iterator(rig.h.m_dir + "/Setting"))
        if (e.path().filename().string().rfind("test.db.damaged-", 0) == 0) {
            ++damaged;
            EXPECT_EQ(test::ReadFile(e.path()), std::string(4096, 'x'));
        }
    EXPECT_EQ(damaged, 1);
    EXPECT_NE(rig.Messages().find("test.db.damaged-"), std::string::npos) << rig.Messages();
}

TEST(PracticeRecorder, UnusableLogsAreToldOnceAndNeverStopPracticeOrTheHistory) {
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
        const char* reason;
    };
    const Case cases[] = {
        {"a folder", [](const std::string& p) { ::mkdir(p.c_str(), 0755); }, "同じ名前のフォルダ"},
        {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "通常のファイルではありません"},
        {"a link to a device", [](const std::string& p) { ::symlink("/dev/zero", p.c_str()); },
         "通常のファイルではありません"},
    };
    for (const Case& c : cases) {
        RecordedRig rig;
        c.make(rig.LogPath());
        for (int run = 0; run < 2; ++run) {
            rig.h.StartCustom("#KANA\nT\nか\n");
            rig.h.Type("ｶ");
        }
        const std::string messages = rig.Messages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 0) << c.name << "\n" << messages;
        EXPECT_NE(messages.find("test.db"), std::string::npos) << c.name << "\n" << messages;
        EXPECT_NE(messages.find(c.reason), std::string::npos) << c.name << "\n" << messages;
        const std::string history = rig.h.HistoryFile();
        EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 2) << c.name;
        EXPECT_EQ(rig.recorder.PendingRuns(), 2u) << c.name;
    }
}

// A waiting run belongs to the user who typed it: another user's runs and "履歴削除" leave it
// alone, and the exit writes it once its log is usable.
TEST(PracticeRecorder, AWaitingRunGoesToItsOwnUsersLogWhoeverIsChosenLater) {
    RecordedRig rig;
    const std::string first = rig.LogPath();
    ASSERT_EQ(::mkdir(first.c_str(), 0755), 0);  // unusable until the folder goes
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");
    ASSERT_EQ(rig.recorder.PendingRuns(), 1u);

    rig.h.m_doc.Settings().m_strUser = "other";
    const std::string second = rig.h.m_dir + "/Setting/other.db";
    rig.h.StartCustom("#KANA\nT\nかき\n");
    rig.h.Type("ｶｷ");
    EXPECT_EQ(CountRuns(second), 1);
    EXPECT_EQ(rig.recorder.PendingRuns(), 1u);
    EXPECT_TRUE(rig.recorder.ClearLog());
    EXPECT_EQ(CountRuns(second), 0);
    EXPECT_EQ(rig.recorder.PendingRuns(), 1u);

    ASSERT_EQ(::rmdir(first.c_str()), 0);
    const std::string told = rig.Messages();
    rig.recorder.Flush();
    EXPECT_EQ(rig.recorder.PendingRuns(), 0u);
    EXPECT_EQ(CountRuns(first), 1);
    EXPECT_EQ(CountRuns(second), 0);
    EXPECT_EQ(rig.Messages(), told);
}

// Runs fn in a child process; its exit status, or -1.
template <class F>
int InChild(F fn) {
    const pid_t pid = ::fork();
    if (pid == 0) _exit(fn());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(PracticeRecorder, ALogHeldByAnotherCopyKeepsTheRunUntilItIsFree) {
    RecordedRig rig;
    ASSERT_EQ(CountRuns(rig.LogPath()), 0);  // created
    int toChild[2], fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    const std::string path = rig.LogPath();
    const pid_t pid = ::fork();
    if (pid == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        const char ok = rc == SQLITE_OK ? 'y' : 'n';
        (void)!::write(fromChild[1], &ok, 1);
        char c;
        (void)!::read(toChild[0], &c, 1);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(fromChild[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");
    EXPECT_NE(rig.Messages().find("ほかの Kibiki が使用中です"), std::string::npos) << rig.Messages();
    EXPECT_EQ(rig.recorder.PendingRuns(), 1u);
    EXPECT_NE(rig.h.HistoryFile(), "");
    (void)!::write(toChild[1], "x", 1);
    ::waitpid(pid, nullptr, 0);
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");
    EXPECT_EQ(rig.recorder.PendingRuns(), 0u);
    EXPECT_EQ(CountRuns(rig.LogPath()), 2);
}

TEST(PracticeLog, TwoCopiesWritingAtOnceKeepEveryRunOfBoth) {
    TempFolder dir;
    const std::string path = dir.Path() + "/u.db";
    ASSERT_EQ(CountRuns(path), 0);
    constexpr int kRuns = 40;
    std::vector<pid_t> pids;
    for (int copy = 0; copy < 2; ++copy) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            LogFault fault;
            auto log = PracticeLog::Open(path, fault);
            if (!log) _exit(2);
            for (int i = 0; i < kRuns; ++i)
                if (log->WriteRun(SampleRun(300)) != LogFault::None) _exit(3);
            _exit(0);
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(CountRuns(path), 2 * kRuns);
}

// A file system of its own (a small tmpfs), in a child with its own mount namespace; 77 when
// the machine allows none.
int WithTmpfs(const std::string& dir, const char* options, int (*fn)(const std::string&)) {
    return InChild([&] {
        if (::unshare(CLONE_NEWNS) != 0) return 77;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
        if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) != 0) return 77;
        return fn(dir);
    });
}

TEST(PracticeLog, AFullDiskAndAReadOnlyFolderAreToldApart) {
    TempFolder dir;
    const int full = WithTmpfs(dir.Path(), "size=96k", [](const std::string& d) {
        LogFault fault;
        auto log = PracticeLog::Open(d + "/u.db", fault);
        if (!log) return 10;
        // Fill what is left, then a run cannot go in; freed, it can.
        std::ofstream(d + "/filler", std::ios::binary) << std::string(200 * 1024, 'f');
        LogFault f = log->WriteRun(SampleRun(2000));
        if (f != LogFault::DiskFull) return 20 + static_cast<int>(f);
        ::unlink((d + "/filler").c_str());
        if (log->WriteRun(SampleRun(300)) != LogFault::None) return 30;
        return 0;
    });
    if (full == 77) GTEST_SKIP() << "no tmpfs can be mounted here (needs a mount namespace)";
    EXPECT_EQ(full, 0);
    const int readOnly = WithTmpfs(dir.Path(), "size=1m", [](const std::string& d) {
        {
            LogFault fault;
            auto log = PracticeLog::Open(d + "/u.db", fault);
            if (!log || log->WriteRun(SampleRun()) != LogFault::None) return 10;
        }
        if (::mount(nullptr, d.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return 77;
        LogFault fault;
        auto log = PracticeLog::Open(d + "/u.db", fault);
        LogFault f = log ? log->WriteRun(SampleRun()) : fault;
        return f == LogFault::ReadOnly ? 0 : 20 + static_cast<int>(f);
    });
    if (readOnly != 77) EXPECT_EQ(readOnly, 0);
}

}  // namespace
}  // namespace kibiki
