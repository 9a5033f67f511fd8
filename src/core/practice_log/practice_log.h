#pragma once
// The practice log "<user>.db" beside the settings and history files: every run and every
// judged key, in SQLite. Each run is written in one transaction when it ends, so a crash loses
// at most the run in progress, and two copies of the program writing at once both keep theirs.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "practice_log/logged_run.h"

struct sqlite3;

namespace kibiki {

// Why the log could not be used. Each has its own line for the user.
enum class LogFault {
    None,
    Damaged,     // not a database, or a damaged one
    Locked,      // another copy held it longer than we wait
    ReadOnly,    // the file or its folder cannot be written
    DiskFull,
    Folder,      // the path is a folder
    NotRegular,  // a FIFO, a device, a socket, or a link to one
    TooNew,      // written by a newer version of the program
    Other,
};

constexpr int kLogSchemaVersion = 3;
constexpr int kLogBusyTimeoutMs = 5000;

class PracticeLog {
public:
    ~PracticeLog();
    PracticeLog(const PracticeLog&) = delete;
    PracticeLog& operator=(const PracticeLog&) = delete;

    // Opens or creates the log and brings its schema up to date. The path must be a regular
    // file or not exist; ":memory:" opens a private in-memory log. Null with fault set otherwise.
    static std::unique_ptr<PracticeLog> Open(const std::string& strPath, LogFault& fault,
                                             int nBusyTimeoutMs = kLogBusyTimeoutMs);

    // The run and its keys, in one transaction; nothing of it is kept on a failure.
    LogFault WriteRun(const LoggedRun& run);

    // The mode's runs, newest first, with their keys, until at least nKeyCap keys are read.
    LogFault ReadRuns(PracticeMode mode, std::size_t nKeyCap, std::vector<LoggedRun>& out);
    // Every run without its keys, oldest first.
    LogFault ReadRunSummaries(std::vector<LoggedRun>& out);

    // Removes every run and key and gives the space back.
    LogFault Clear();

    // The time a key should take (ms) that the user set; none when never set.
    std::optional<int> TargetMs();
    LogFault SetTargetMs(std::optional<int> nMs);

    int SchemaVersion();
    // "wal" or "delete".
    std::string JournalMode();

    sqlite3* Handle() { return m_db; }

private:
    explicit PracticeLog(sqlite3* db) : m_db(db) {}
    LogFault Migrate();
    // A result as a fault, the system's error telling a read-only or full disk apart.
    LogFault Fault(int nResult);
    sqlite3* m_db = nullptr;
    std::string m_strPath;
};

// Network file systems (NFS, SMB, and FUSE mounts such as sshfs) cannot share the memory WAL
// needs: there the log keeps the rollback journal.
bool IsNetworkFolder(const std::string& strFolder);

// Moves a damaged log aside as "<path>.damaged-YYYYMMDD-HHMMSS" (its WAL with it) so that
// nothing is lost; returns the new path, empty when it could not be moved.
std::string MoveDamagedLog(const std::string& strPath, std::time_t tNow);

// Removes a log and its journal files; true when none is left.
bool RemoveLogFiles(const std::string& strPath);

LogFault LogFaultOfSqlite(int nResult);

}  // namespace kibiki
