#include "practice_log/practice_log.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "practice_log/sqlite_library.h"
#include "text/cp932.h"

namespace kibiki {

namespace {

// Each step brings the schema from its index to the next version; a log is never rebuilt.
constexpr const char* kMigrations[] = {
    // 1: runs and their keys. Keys are keyed by (run, seq) without a rowid: the log's bulk.
    "CREATE TABLE run("
    "  id INTEGER PRIMARY KEY,"
    "  started INTEGER NOT NULL,"    // seconds since 1970, UTC
    "  ended INTEGER NOT NULL,"
    "  mode INTEGER NOT NULL,"       // the practice mode's stored number, 0-4
    "  source TEXT NOT NULL,"        // built-in, file, drill, test
    "  lesson TEXT NOT NULL,"        // the name the history gives it
    "  keys INTEGER NOT NULL,"
    "  misses INTEGER NOT NULL,"
    "  kana INTEGER NOT NULL,"
    "  elapsed_ms INTEGER NOT NULL,"
    "  ending TEXT NOT NULL);"       // finished, stopped, faulty
    "CREATE TABLE keystroke("
    "  run INTEGER NOT NULL,"
    "  seq INTEGER NOT NULL,"
    "  ms INTEGER NOT NULL,"         // since the previous judged key of the run
    "  cap INTEGER NOT NULL,"        // the key pressed, 0-47; -1 none
    "  typed INTEGER NOT NULL,"      // the byte judged
    "  due INTEGER NOT NULL,"        // the key that was due
    "  unit TEXT NOT NULL,"          // the kana or kana unit being typed
    "  ok INTEGER NOT NULL,"         // 1 right, 0 wrong
    "  flags INTEGER NOT NULL,"      // 2 first key of a question, 4 first key of a unit
    "  PRIMARY KEY(run, seq)) WITHOUT ROWID;",
    // 2: the user's own settings of the speed pages.
    "CREATE TABLE setting(name TEXT PRIMARY KEY, value) WITHOUT ROWID;",
    // 3: a timed test's characters of whole sentences; NULL for other runs and older tests.
    "ALTER TABLE run ADD COLUMN chars INTEGER;",
};
static_assert(std::size(kMigrations) == kLogSchemaVersion);

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { m_rc = Sql().prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { Sql().finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return m_rc == SQLITE_OK && m_stmt; }
    int rc() const { return m_rc; }
    sqlite3_stmt* get() { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

int Exec(sqlite3* db, const char* sql) { return Sql().exec(db, sql, nullptr, nullptr, nullptr); }

// Undoes an open transaction unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : m_db(db) { m_rc = Exec(db, "BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (m_rc == SQLITE_OK && !m_bDone) Exec(m_db, "ROLLBACK");
    }
    int rc() const { return m_rc; }
    int Commit() {
        m_bDone = true;
        const int rc = Exec(m_db, "COMMIT");
        if (rc != SQLITE_OK) Exec(m_db, "ROLLBACK");
        return rc;
    }

private:
    sqlite3* m_db;
    int m_rc;
    bool m_bDone = false;
};

const char* SourceName(const std::string& s) { return s.c_str(); }

std::string FolderOf(const std::string& strPath) {
    const auto slash = strPath.rfind('/');
    return slash == std::string::npos ? std::string(".") : strPath.substr(0, slash + 1);
}

}  // namespace

LogFault LogFaultOfSqlite(int nResult) {
    switch (nResult & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return LogFault::None;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return LogFault::Damaged;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return LogFault::Locked;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return LogFault::ReadOnly;
        case SQLITE_FULL:
            return LogFault::DiskFull;
        default:
            return LogFault::Other;
    }
}

const char* RunEndName(RunEnd end) {
    switch (end) {
        case RunEnd::Finished: return "finished";
        case RunEnd::Faulty: return "faulty";
        case RunEnd::Stopped: break;
    }
    return "stopped";
}

bool RunEndFromName(std::string_view name, RunEnd& end) {
    for (RunEnd e : {RunEnd::Finished, RunEnd::Stopped, RunEnd::Faulty}) {
        if (name == RunEndName(e)) {
            end = e;
            return true;
        }
    }
    return false;
}

bool IsNetworkFolder(const std::string& strFolder) {
    struct statfs fs {};
    if (::statfs(strFolder.c_str(), &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x6969UL:      // NFS
        case 0x517BUL:      // SMB
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x65735546UL:  // FUSE (sshfs and the like)
        case 0x564C5FUL:    // NCP
        case 0x5346414FUL:  // AFS
        case 0x6B414653UL:  // kAFS
        case 0x01021997UL:  // 9p
        case 0x47504653UL:  // GPFS
        case 0x00C36400UL:  // Ceph
            return true;
        default:
            return false;
    }
}

std::string MoveDamagedLog(const std::string& strPath, std::time_t tNow) {
    std::tm tmNow{};
    localtime_r(&tNow, &tmNow);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tmNow);
    std::string target = strPath + ".damaged-" + stamp;
    // Never over an earlier one moved aside in the same second.
    for (int n = 2; ::access(target.c_str(), F_OK) == 0 && n < 100; ++n)
        target = strPath + ".damaged-" + stamp + "-" + std::to_string(n);
    if (::rename(strPath.c_str(), target.c_str()) != 0) return {};
    // The WAL holds the newest pages of that file: it goes with it. The shared-memory index is
    // rebuilt from the WAL and holds nothing of its own.
    ::rename((strPath + "-wal").c_str(), (target + "-wal").c_str());
    ::rename((strPath + "-journal").c_str(), (target + "-journal").c_str());
    ::unlink((strPath + "-shm").c_str());
    return target;
}

bool RemoveLogFiles(const std::string& strPath) {
    bool bGone = true;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const std::string path = strPath + suffix;
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) bGone = false;
    }
    return bGone;
}

LogFault PracticeLog::Fault(int nResult) {
    const LogFault fault = LogFaultOfSqlite(nResult);
    if (fault != LogFault::Other && fault != LogFault::ReadOnly) return fault;
    switch (Sql().system_errno(m_db)) {
        case EROFS:
        case EACCES:
        case EPERM:
            return LogFault::ReadOnly;
        case ENOSPC:
        case EDQUOT:
            return LogFault::DiskFull;
        default:
            break;
    }
    // WAL's side files cannot be made in a read-only folder: SQLite says only "cannot open".
    if (!m_strPath.empty() && m_strPath != ":memory:" && ::access(FolderOf(m_strPath).c_str(), W_OK) != 0 &&
        (errno == EROFS || errno == EACCES))
        return LogFault::ReadOnly;
    return fault;
}

PracticeLog::~PracticeLog() { Sql().close_v2(m_db); }

std::unique_ptr<PracticeLog> PracticeLog::Open(const std::string& strPath, LogFault& fault,
                                               int nBusyTimeoutMs) {
    fault = LogFault::None;
    const bool bMemory = strPath == ":memory:";
    if (!bMemory) {
        // SQLite would open a FIFO and wait for a writer, or read a device without end.
        struct stat st {};
        if (::stat(strPath.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) {
                fault = LogFault::Folder;
                return nullptr;
            }
            if (!S_ISREG(st.st_mode)) {
                fault = LogFault::NotRegular;
                return nullptr;
            }
        } else if (errno != ENOENT) {
            fault = errno == EACCES ? LogFault::ReadOnly : LogFault::Other;
            return nullptr;
        }
    }
    if (!LoadSqlite()) {
        fault = LogFault::Other;
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    int rc = Sql().open_v2(strPath.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int err = db ? Sql().system_errno(db) : 0;
        Sql().close_v2(db);
        fault = (rc & 0xff) == SQLITE_CANTOPEN && (err == EACCES || err == EROFS || err == EPERM)
                    ? LogFault::ReadOnly
                    : LogFaultOfSqlite(rc == SQLITE_CANTOPEN ? SQLITE_IOERR : rc);
        return nullptr;
    }
    std::unique_ptr<PracticeLog> log(new PracticeLog(db));
    log->m_strPath = strPath;
    Sql().busy_timeout(db, nBusyTimeoutMs);
    Sql().extended_result_codes(db, 1);

    // Reading the header finds a file that is not a database before anything is written.
    if (const int v = log->SchemaVersion(); v < 0) {
        fault = log->Fault(-v);
        return nullptr;
    }
    if (!bMemory) {
        const bool bWal = !IsNetworkFolder(FolderOf(strPath));
        Statement journal(db, bWal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE");
        rc = journal.ok() ? Sql().step(journal.get()) : journal.rc();
        if (rc != SQLITE_ROW && (fault = log->Fault(rc)) != LogFault::None) return nullptr;
        // In WAL a commit is durable at the next checkpoint; a power cut may lose the last run.
        Exec(db, bWal ? "PRAGMA synchronous=NORMAL" : "PRAGMA synchronous=FULL");
    }
    fault = log->Migrate();
    if (fault != LogFault::None) return nullptr;
    return log;
}

int PracticeLog::SchemaVersion() {
    Statement st(m_db, "PRAGMA user_version");
    if (!st.ok()) return -st.rc();
    const int rc = Sql().step(st.get());
    if (rc != SQLITE_ROW) return -rc;
    return Sql().column_int(st.get(), 0);
}

std::string PracticeLog::JournalMode() {
    Statement st(m_db, "PRAGMA journal_mode");
    if (!st.ok() || Sql().step(st.get()) != SQLITE_ROW) return {};
    const auto* text = Sql().column_text(st.get(), 0);
    return text ? reinterpret_cast<const char*>(text) : "";
}

LogFault PracticeLog::Migrate() {
    int version = SchemaVersion();
    if (version < 0) return Fault(-version);
    if (version > kLogSchemaVersion) return LogFault::TooNew;
    if (version == kLogSchemaVersion) return LogFault::None;
    Transaction tx(m_db);
    if (tx.rc() != SQLITE_OK) return Fault(tx.rc());
    // Another copy may have migrated it while we waited for the lock.
    version = SchemaVersion();
    if (version < 0) return Fault(-version);
    if (version > kLogSchemaVersion) return LogFault::TooNew;
    for (int step = version; step < kLogSchemaVersion; ++step) {
        if (const int rc = Exec(m_db, kMigrations[step]); rc != SQLITE_OK) return Fault(rc);
    }
    const std::string set = "PRAGMA user_version=" + std::to_string(kLogSchemaVersion);
    if (const int rc = Exec(m_db, set.c_str()); rc != SQLITE_OK) return Fault(rc);
    return Fault(tx.Commit());
}

LogFault PracticeLog::WriteRun(const LoggedRun& run) {
    Transaction tx(m_db);
    if (tx.rc() != SQLITE_OK) return Fault(tx.rc());
    Statement insRun(m_db,
                     "INSERT INTO run(started, ended, mode, source, lesson, keys, misses, kana, "
                     "elapsed_ms, ending, chars) VALUES(?,?,?,?,?,?,?,?,?,?,?)");
    if (!insRun.ok()) return Fault(insRun.rc());
    sqlite3_stmt* s = insRun.get();
    const std::string lesson = run.strLesson;
    Sql().bind_int64(s, 1, static_cast<sqlite3_int64>(run.tStart));
    Sql().bind_int64(s, 2, static_cast<sqlite3_int64>(run.tEnd));
    Sql().bind_int(s, 3, ModeValue(run.mode));
    Sql().bind_text(s, 4, SourceName(run.strSource), -1, SQLITE_STATIC);
    Sql().bind_text(s, 5, lesson.c_str(), static_cast<int>(lesson.size()), SQLITE_STATIC);
    Sql().bind_int(s, 6, run.nKeystrokes);
    Sql().bind_int(s, 7, run.nMisses);
    Sql().bind_int(s, 8, run.nKanaTyped);
    Sql().bind_int64(s, 9, run.nElapsedMs);
    Sql().bind_text(s, 10, RunEndName(run.end), -1, SQLITE_STATIC);
    if (run.nChars >= 0) Sql().bind_int(s, 11, run.nChars);
    else Sql().bind_null(s, 11);
    if (const int rc = Sql().step(s); rc != SQLITE_DONE) return Fault(rc);
    const sqlite3_int64 id = Sql().last_insert_rowid(m_db);

    Statement insKey(m_db, "INSERT INTO keystroke VALUES(?,?,?,?,?,?,?,?,?)");
    if (!insKey.ok()) return Fault(insKey.rc());
    s = insKey.get();
    std::unordered_map<std::string_view, std::string> utf8;  // units repeat: convert each once
    int seq = 0;
    for (const LoggedKey& key : run.keys) {
        auto [it, bNew] = utf8.try_emplace(key.Unit());
        if (bNew) it->second = Cp932ToUtf8(key.Unit());
        Sql().bind_int64(s, 1, id);
        Sql().bind_int(s, 2, seq++);
        Sql().bind_int64(s, 3, key.nMs);
        Sql().bind_int(s, 4, key.nCap);
        Sql().bind_int(s, 5, key.chTyped);
        Sql().bind_int(s, 6, key.chDue);
        Sql().bind_text(s, 7, it->second.data(), static_cast<int>(it->second.size()), SQLITE_STATIC);
        Sql().bind_int(s, 8, key.Right() ? 1 : 0);
        Sql().bind_int(s, 9, key.nFlags & ~LoggedKey::kRight);
        if (const int rc = Sql().step(s); rc != SQLITE_DONE) return Fault(rc);
        Sql().reset(s);
    }
    return Fault(tx.Commit());
}

namespace {

std::string ColumnText(sqlite3_stmt* s, int col) {
    const auto* text = Sql().column_text(s, col);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(Sql().column_bytes(s, col)))
                : std::string();
}

// A run's columns from "SELECT id, started, ended, mode, source, lesson, keys, misses, kana,
// elapsed_ms, ending, chars".
LoggedRun RunOfRow(sqlite3_stmt* s) {
    LoggedRun run;
    run.tStart = static_cast<std::time_t>(Sql().column_int64(s, 1));
    run.tEnd = static_cast<std::time_t>(Sql().column_int64(s, 2));
    run.mode = static_cast<PracticeMode>(Sql().column_int(s, 3));
    run.strSource = ColumnText(s, 4);
    run.strLesson = ColumnText(s, 5);
    run.nKeystrokes = Sql().column_int(s, 6);
    run.nMisses = Sql().column_int(s, 7);
    run.nKanaTyped = Sql().column_int(s, 8);
    run.nElapsedMs = Sql().column_int64(s, 9);
    if (!RunEndFromName(ColumnText(s, 10), run.end)) run.end = RunEnd::Stopped;
    if (Sql().column_type(s, 11) == SQLITE_INTEGER) run.nChars = Sql().column_int(s, 11);
    return run;
}

constexpr const char* kRunColumns =
    "SELECT id, started, ended, mode, source, lesson, keys, misses, kana, elapsed_ms, ending, chars FROM run ";

}  // namespace

LogFault PracticeLog::ReadRuns(PracticeMode mode, std::size_t nKeyCap, std::vector<LoggedRun>& out) {
    out.clear();
    const std::string sql = std::string(kRunColumns) + "WHERE mode = ? ORDER BY id DESC";
    Statement runs(m_db, sql.c_str());
    Statement keys(m_db, "SELECT ms, cap, typed, due, unit, ok, flags FROM keystroke WHERE run = ? ORDER BY seq");
    if (!runs.ok()) return Fault(runs.rc());
    if (!keys.ok()) return Fault(keys.rc());
    Sql().bind_int(runs.get(), 1, ModeValue(mode));
    std::unordered_map<std::string, LoggedKey> units;  // each unit's text converted once
    std::size_t nRead = 0;
    int rc;
    while (nRead < nKeyCap && (rc = Sql().step(runs.get())) == SQLITE_ROW) {
        LoggedRun run = RunOfRow(runs.get());
        sqlite3_stmt* k = keys.get();
        Sql().bind_int64(k, 1, Sql().column_int64(runs.get(), 0));
        while ((rc = Sql().step(k)) == SQLITE_ROW) {
            LoggedKey key;
            const sqlite3_int64 ms = Sql().column_int64(k, 0);
            key.nMs = ms < 0 ? 0 : ms > 0xffffffffLL ? 0xffffffffU : static_cast<std::uint32_t>(ms);
            const int cap = Sql().column_int(k, 1);
            key.nCap = static_cast<std::int8_t>(cap >= 0 && cap <= 47 ? cap : -1);
            key.chTyped = static_cast<std::uint8_t>(Sql().column_int(k, 2));
            key.chDue = static_cast<std::uint8_t>(Sql().column_int(k, 3));
            const char* text = reinterpret_cast<const char*>(Sql().column_text(k, 4));
            auto [it, bNew] = units.try_emplace(text ? text : "");
            if (bNew) {
                const std::string cp932 = Utf8ToCp932(it->first);
                it->second.nUnitLen = static_cast<std::uint8_t>(std::min(cp932.size(), it->second.unit.size()));
                std::memcpy(it->second.unit.data(), cp932.data(), it->second.nUnitLen);
            }
            key.unit = it->second.unit;
            key.nUnitLen = it->second.nUnitLen;
            key.nFlags = static_cast<std::uint8_t>((Sql().column_int(k, 6) & ~LoggedKey::kRight) |
                                                   (Sql().column_int(k, 5) ? LoggedKey::kRight : 0));
            run.keys.push_back(key);
        }
        Sql().reset(k);
        if (rc != SQLITE_DONE) return Fault(rc);
        nRead += run.keys.size();
        out.push_back(std::move(run));
    }
    if (nRead < nKeyCap && rc != SQLITE_DONE) return Fault(rc);
    return LogFault::None;
}

LogFault PracticeLog::ReadRunSummaries(std::vector<LoggedRun>& out) {
    out.clear();
    const std::string sql = std::string(kRunColumns) + "ORDER BY id";
    Statement runs(m_db, sql.c_str());
    if (!runs.ok()) return Fault(runs.rc());
    int rc;
    while ((rc = Sql().step(runs.get())) == SQLITE_ROW) out.push_back(RunOfRow(runs.get()));
    return Fault(rc);
}

LogFault PracticeLog::Clear() {
    {
        Transaction tx(m_db);
        if (tx.rc() != SQLITE_OK) return Fault(tx.rc());
        for (const char* sql : {"DELETE FROM keystroke", "DELETE FROM run"})
            if (const int rc = Exec(m_db, sql); rc != SQLITE_OK) return Fault(rc);
        if (const int rc = tx.Commit(); rc != SQLITE_OK) return Fault(rc);
    }
    // The space goes back to the disk; a copy reading at this moment only delays it.
    Exec(m_db, "VACUUM");
    return LogFault::None;
}

std::optional<int> PracticeLog::TargetMs() {
    Statement st(m_db, "SELECT value FROM setting WHERE name = 'target_ms'");
    if (!st.ok() || Sql().step(st.get()) != SQLITE_ROW) return std::nullopt;
    if (Sql().column_type(st.get(), 0) != SQLITE_INTEGER) return std::nullopt;
    const sqlite3_int64 v = Sql().column_int64(st.get(), 0);
    if (v <= 0 || v > 60000) return std::nullopt;
    return static_cast<int>(v);
}

LogFault PracticeLog::SetTargetMs(std::optional<int> nMs) {
    Statement st(m_db, nMs ? "INSERT OR REPLACE INTO setting VALUES('target_ms', ?)"
                           : "DELETE FROM setting WHERE name = 'target_ms'");
    if (!st.ok()) return Fault(st.rc());
    if (nMs) Sql().bind_int(st.get(), 1, *nMs);
    return Fault(Sql().step(st.get()));
}

}  // namespace kibiki
