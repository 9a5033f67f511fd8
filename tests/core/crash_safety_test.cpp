// A process killed at any moment while it saves never leaves a torn settings file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <random>
#include <string>

#include "support/test_util.h"
#include "users/history_file.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;

// Two records of very different sizes, so a torn write could not pass for either.
void Fill(CUserSettings& s, int nVariant) {
    s.m_nType = nVariant;
    s.m_mapDynRoman.clear();
    const int n = nVariant == 0 ? 20 : 600;
    for (int i = 0; i < n; ++i) s.m_mapDynRoman[40100 + i] = 40710 + nVariant;
}

TEST(CrashSafety, SettingsFileIsAlwaysOldOrNewAfterSigkillDuringSave) {
    const test::TempFolder folder("kibiki_kill");
    const fs::path dir = folder.Path();

    CUserSettings expected[2];
    std::string texts[2];
    for (int v = 0; v < 2; ++v) {
        expected[v].SetFolder(dir.string());
        expected[v].m_strUser = "kill";
        Fill(expected[v], v);
        texts[v] = expected[v].FileText();
    }
    ASSERT_TRUE(expected[0].SaveUser());

    std::mt19937 rng(12345);
    int nTorn = 0;
    int nSeen[2] = {0, 0};
    for (int round = 0; round < 120; ++round) {
        // The child reports each finished save, so every kill lands after real progress, at a
        // random point of a later save, however loaded the machine is.
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            CUserSettings s;
            s.SetFolder(dir.string());
            s.m_strUser = "kill";
            for (int i = 0;; ++i) {
                Fill(s, i % 2);
                s.SaveUser();
                if (::write(fds[1], "s", 1) != 1) ::_exit(1);
            }
        }
        ::close(fds[1]);
        const int nSaves = std::uniform_int_distribution<int>(1, 3)(rng);
        char c;
        for (int i = 0; i < nSaves; ++i) ASSERT_EQ(::read(fds[0], &c, 1), 1);
        ::usleep(std::uniform_int_distribution<int>(0, 3000)(rng));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(fds[0]);

        CUserSettings loaded;
        loaded.SetFolder(dir.string());
        loaded.LoadUser("kill");
        const std::string text = loaded.FileText();
        if (text == texts[0]) ++nSeen[0];
        else if (text == texts[1]) ++nSeen[1];
        else ++nTorn;
    }
    EXPECT_EQ(nTorn, 0);
    // Kills landed between saves of both kinds, so they fell at many points of a save.
    EXPECT_GT(nSeen[0], 0);
    EXPECT_GT(nSeen[1], 0);
}

}  // namespace
}  // namespace kibiki

namespace kibiki {
namespace {

// Two running copies finishing lessons at the same moment: every line arrives whole.
TEST(CrashSafety, ConcurrentHistoryAppendsNeverTearOrLoseALine) {
    const test::TempFolder folder("kibiki_append");
    const fs::path dir = folder.Path();
    constexpr int kProcesses = 4;
    constexpr int kLines = 400;

    pid_t pids[kProcesses];
    for (int p = 0; p < kProcesses; ++p) {
        pids[p] = ::fork();
        ASSERT_GE(pids[p], 0);
        if (pids[p] == 0) {
            CUserSettings s;
            s.SetFolder(dir.string());
            s.m_strUser = "append";
            // A long missed-keys field makes each line large enough to tear if written in parts.
            const std::string missed(200, static_cast<char>('A' + p));
            for (int i = 0; i < kLines; ++i)
                AppendHistory(s, "2026/12/10 11:00:" + std::to_string(i), std::to_string(p), "120",
                              "95", missed, nullptr);
            ::_exit(0);
        }
    }
    for (const pid_t pid : pids) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::ifstream in(dir / "append.hst", std::ios::binary);
    std::string line;
    int nLines = 0;
    int perProcess[kProcesses] = {};
    while (std::getline(in, line)) {
        ++nLines;
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r') << "line " << nLines;
        const HistoryRow row = ParseHistoryLine(line);
        const int p = std::atoi(row.strLesson.c_str());
        ASSERT_TRUE(p >= 0 && p < kProcesses) << line;
        // The missed-key field holds the writer's own letter only.
        ASSERT_NE(line.find(std::string(200, static_cast<char>('A' + p))), std::string::npos) << line;
        ++perProcess[p];
    }
    EXPECT_EQ(nLines, kProcesses * kLines);
    for (const int n : perProcess) EXPECT_EQ(n, kLines);
}

}  // namespace
}  // namespace kibiki
