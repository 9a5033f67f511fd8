// Paths a user or a file names may be a folder, a FIFO, a device or huge: every reader and the
// history appender refuse them with a reason, never block, and never fill memory.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "lessons/custom_start.h"
#include "lessons/lesson_file.h"
#include "platform/regular_file.h"
#include "progress/history_csv.h"
#include "support/file_kinds.h"
#include "support/practice_harness.h"
#include "users/history_file.h"

namespace kibiki::test {
namespace {

namespace fs = std::filesystem;

struct KindCase {
    const char* name;
    FileKind kind;
    const char* reason;  // the reason line the message ends with
};

const KindCase kKinds[] = {
    {"folder", FileKind::Folder, "同じ名前のフォルダがあります。"},
    {"FIFO without a writer", FileKind::Fifo, "通常のファイルではありません"},
    {"link to /dev/zero", FileKind::DevZeroLink, "通常のファイルではありません"},
};

void Make(const std::string& path, FileKind kind) {
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(MakeFileKind(path, kind)) << path;
}

class FileKinds : public ::testing::Test {
protected:
    // A reader that blocks on a FIFO or reads /dev/zero forever ends the test here.
    void SetUp() override { ::alarm(60); }
    void TearDown() override { ::alarm(0); }
};

TEST_F(FileKinds, ALessonFileThatIsNoRegularFileIsRefusedWithItsReason) {
    for (const auto& c : kKinds) {
        PracticeHarness h;
        h.m_doc.SetUserMode(PracticeMode::HiraganaRomaji);
        const std::string path = h.m_dir + "/lesson.txt";
        Make(path, c.kind);
        h.m_form.m_customStartAnswers.push_back({path, 0});  // chosen with "参照"
        h.m_form.m_lessonSelectAnswers.push_back(7);
        h.m_view.OnNewDocument();
        const std::string shown = h.m_form.Lines({"message"});
        EXPECT_NE(shown.find("レッスンファイルを開けません。\\r\\n" + path + "\\r\\n\\r\\n" + c.reason),
                  std::string::npos)
            << c.name << "\n" << shown;
        EXPECT_FALSE(h.m_view.IsRunning()) << c.name;
        EXPECT_EQ(h.m_view.ShownMode(), PracticeMode::HiraganaRomaji) << c.name;
    }
}

TEST_F(FileKinds, ARegisteredEntryThatIsNoRegularFileIsToldWithItsReasonAndStays) {
    for (const auto& c : kKinds) {
        PracticeHarness h;
        const std::string path = h.m_dir + "/lesson.txt";
        Make(path, c.kind);
        const std::string good = h.WriteLessonFile("good.txt", "#KANA\r\nG\r\nかさ\r\n");
        auto& s = h.m_doc.Settings();
        s.SetInt("count", 2);
        s.SetIndexedString("No", 0, "bad");
        s.SetIndexedString("File", 0, path);
        s.SetIndexedString("No", 1, "good");
        s.SetIndexedString("File", 1, good);
        CCustomStartModel m(s, h.m_form);
        m.Select(0);
        const std::string shown = h.m_form.Transcript();
        EXPECT_NE(shown.find(path + "\\r\\n\\r\\n" + c.reason), std::string::npos) << c.name << "\n" << shown;
        EXPECT_EQ(shown.find("ファイルがありません"), std::string::npos) << c.name;
        EXPECT_EQ(m.m_aNames.size(), 2u) << c.name;
        EXPECT_EQ(s.GetInt("count", 0), 2) << c.name;
        EXPECT_FALSE(m.m_bCanStart) << c.name;
        m.Select(1);
        EXPECT_EQ(m.m_strPath, good) << c.name;
    }
}

TEST_F(FileKinds, SettingsAndHistoryThatAreNoRegularFilesAreToldWithTheirReason) {
    for (const auto& c : kKinds) {
        PracticeHarness h;
        const std::string folder = h.m_dir + "/Setting/";
        Make(folder + "other.dat", c.kind);
        Make(folder + "test.hst", c.kind);
        RecordingMessenger messenger;
        CUserSettings other(nullptr, &messenger);
        other.SetFolder(folder);
        other.LoadUser("other");
        ASSERT_EQ(messenger.m_shown.size(), 1u) << c.name;
        EXPECT_NE(messenger.m_shown[0].text.find("設定ファイルを読み込めませんでした"), std::string::npos);
        EXPECT_NE(messenger.m_shown[0].text.find(c.reason), std::string::npos) << c.name;

        EXPECT_TRUE(ReadHistory(h.m_doc.Settings()).empty()) << c.name;
        messenger.m_shown.clear();
        EXPECT_FALSE(AppendHistory(h.m_doc.Settings(), "d", "31", "1", "2", " ", &messenger)) << c.name;
        ASSERT_EQ(messenger.m_shown.size(), 1u) << c.name;
        const std::string& text = messenger.m_shown[0].text;
        EXPECT_NE(text.find("今回の結果を履歴に保存できませんでした。\r\n" + folder + "test.hst\r\n\r\n" + c.reason),
                  std::string::npos)
            << c.name << "\n" << text;
    }
}

TEST_F(FileKinds, ALessonFileOverTheCapIsRefusedAndOneAtTheCapReads) {
    PracticeHarness h;
    const std::string path = h.WriteLessonFile("big.txt", "#KANA\r\nBig\r\nかさ\r\n");
    fs::resize_file(path, kLessonFileCap);
    LessonFile file;
    FileFault fault = FileFault::Other;
    EXPECT_EQ(ReadLessonFile(path, file, &fault), 0);
    EXPECT_EQ(fault, FileFault::None);

    fs::resize_file(path, kLessonFileCap + 1);
    EXPECT_EQ(ReadLessonFile(path, file, &fault), -1);
    EXPECT_EQ(fault, FileFault::TooLarge);
    h.m_form.m_customStartAnswers.push_back({path, 0});
    h.m_form.m_lessonSelectAnswers.push_back(7);
    h.m_view.OnNewDocument();
    EXPECT_NE(h.m_form.Lines({"message"}).find(path + "\\r\\n\\r\\nファイルが大きすぎます（レッスンファイルは 16 MB までです）。"),
              std::string::npos)
        << h.m_form.Lines({"message"});
    EXPECT_FALSE(h.m_view.IsRunning());
}

// --- history appends -------------------------------------------------------------------------------

class HistoryAppend : public ::testing::Test {
protected:
    HistoryAppend() { m_path = h.m_dir + "/Setting/test.hst"; }
    void WriteFile(const std::string& bytes) {
        fs::create_directories(h.m_dir + "/Setting");
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    std::string FileBytes() const { return h.HistoryFile(); }
    bool Append(const std::string& lesson, RecordingMessenger* pMessenger = nullptr) {
        return AppendHistory(h.m_doc.Settings(), "2026/12/10 13:43", lesson, "120", "95", " ", pMessenger);
    }
    PracticeHarness h;
    std::string m_path;
};

const char kRecord[] = "2026/12/10 13:43,31,120,95, \r\n";

TEST_F(HistoryAppend, AWriteCutShortByTheFileSizeLimitLeavesNoFragment) {
    // 0: the write fails outright; 10: the first 10 bytes fit and the rest does not.
    for (const int room : {0, 10}) {
        WriteFile(kRecord);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(sizeof kRecord - 1 + room), RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            RecordingMessenger messenger;
            const bool ok = Append("74", &messenger);
            const bool told = messenger.m_shown.size() == 1 &&
                              messenger.m_shown[0].text.find("ディスクの空き容量が足りません。") != std::string::npos;
            ::_exit(!ok && told ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << room;
        EXPECT_EQ(FileBytes(), kRecord) << room;
        // The next record starts cleanly after the last whole one.
        ASSERT_TRUE(Append("74"));
        EXPECT_EQ(FileBytes(), std::string(kRecord) + "2026/12/10 13:43,74,120,95, \r\n") << room;
    }
}

TEST_F(HistoryAppend, StartsOnANewLineWhenTheFileDoesNotEndWithOne) {
    WriteFile(std::string(kRecord) + "2026");
    ASSERT_TRUE(Append("74"));
    EXPECT_EQ(FileBytes(), std::string(kRecord) + "2026\r\n2026/12/10 13:43,74,120,95, \r\n");
    const auto rows = ReadHistory(h.m_doc.Settings());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].strTime, "2026/12/10 13:43");
}

TEST_F(HistoryAppend, ALongHistoryReadsWholeAndAnEndlessOneItsNewestRecords) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "2026年12月10日 13:43,31,120,95,A K S  3 2 1 \r\n";
    WriteFile(Sj(text));
    EXPECT_EQ(ReadHistory(h.m_doc.Settings()).size(), 100000u);

    // Past the cap: the first line kept is whole.
    WriteFile("");
    fs::resize_file(m_path, kHistoryReadCap + 1000);
    ASSERT_TRUE(Append("74"));
    ASSERT_TRUE(Append("31"));
    const auto rows = ReadHistory(h.m_doc.Settings());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].strTime, "2026/12/10 13:43");
    EXPECT_EQ(rows[1].strLesson, Sj("Lesson3(ローマ字)"));
}

// Lines in a file, counted a piece at a time.
std::size_t LineCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::size_t n = 0;
    char buf[1 << 16];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) n += std::count(buf, buf + in.gcount(), '\n');
    return n;
}

TEST_F(HistoryAppend, AHistoryOverTheCapShowsItsNewestRunsSaysSoAndExportsEveryRun) {
    // The speed field numbers the runs.
    std::string text;
    std::size_t nRuns = 0;
    while (text.size() <= kHistoryReadCap + (1u << 20))
        text += Sj("2026年12月10日 13:43,31,") + std::to_string(nRuns++) + ",95,A  1 \r\n";
    WriteFile(text);
    text = std::string();

    bool bNewestOnly = false;
    const auto pRecords = ReadHistoryRecords(h.m_doc.Settings(), &bNewestOnly);
    EXPECT_TRUE(bNewestOnly);
    ASSERT_GT(pRecords->size(), 0u);
    ASSERT_LT(pRecords->size(), nRuns);
    EXPECT_EQ((*pRecords)[0].strSpeed, std::to_string(nRuns - pRecords->size()));
    EXPECT_EQ(pRecords->Records().back().strSpeed, std::to_string(nRuns - 1));
    EXPECT_EQ(NewestRunsNotice(pRecords->size()),
              Sj("履歴が大きいため、最新の " + std::to_string(pRecords->size()) + " 回分を表示しています。"));

    const std::string csv = h.m_dir + "/history.csv";
    ASSERT_TRUE(SaveHistoryCsv(h.m_doc.Settings(), csv));
    EXPECT_EQ(LineCount(csv), nRuns + 1);

    // Under the cap nothing is left out.
    WriteFile(kRecord);
    ReadHistoryRecords(h.m_doc.Settings(), &bNewestOnly);
    EXPECT_FALSE(bNewestOnly);
}

TEST_F(HistoryAppend, TheCsvStreamedIsTheWholeTextsAndAFullDiskSaysSoAndKeepsTheOldFile) {
    // Lines that straddle the pieces the export reads, a CR at a piece's end, blank lines.
    std::string text;
    for (int i = 0; text.size() < (3u << 20); ++i)
        text += Sj("2026年12月10日 13:43,My lesson " + std::string(static_cast<std::size_t>(i % 977), 'x') +
                   ",120,95,A K  3 2 ") + (i % 3 ? "\r\n" : "\n\n");
    text.insert((1u << 20) - 1, "\r");
    WriteFile(text);
    const std::string csv = h.m_dir + "/history.csv";
    ASSERT_TRUE(SaveHistoryCsv(h.m_doc.Settings(), csv));
    EXPECT_EQ(ReadFile(csv), HistoryCsv(text));

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1u << 20, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FileFault fault = FileFault::None;
        const bool ok = SaveHistoryCsv(h.m_doc.Settings(), csv, &fault);
        const bool told = CsvSaveFailedText(csv, fault).find(Sj("ディスクの空き容量が足りません。")) != std::string::npos;
        ::_exit(!ok && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(csv), HistoryCsv(text));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(h.m_dir), fs::directory_iterator()), 2);

    // Saved through a symbolic link, the link stays and its target gets the CSV.
    WriteFile(kRecord);
    fs::create_symlink("history.csv", h.m_dir + "/link.csv");
    ASSERT_TRUE(SaveHistoryCsv(h.m_doc.Settings(), h.m_dir + "/link.csv"));
    EXPECT_TRUE(fs::is_symlink(h.m_dir + "/link.csv"));
    EXPECT_EQ(ReadFile(csv), HistoryCsv(kRecord));
}

}  // namespace
}  // namespace kibiki::test
