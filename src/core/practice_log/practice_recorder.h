#pragma once
// Keeps every run in the current user's practice log: listens to the keystroke stream, holds a
// run's keys in memory while it lasts and writes them when it ends. The log is opened at the
// first run's end, so a session that never finishes a run never touches it. A log that cannot
// be written never stops practice or the history: the user is told once per fault and file,
// and the runs wait (a few) for the next chance.
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lessons/keystroke_stream.h"
#include "practice_log/logged_run.h"
#include "practice_log/practice_log.h"

namespace kibiki {

class CKibikiDoc;
class CUserSettings;
class Messenger;

// "<settings folder>/<user>.db"
std::string PracticeLogPath(const CUserSettings& settings);

// The text telling the user why a log at strPath cannot be used (CP932).
std::string LogFaultText(LogFault fault, const std::string& strPath);

constexpr std::size_t kPendingRunsKept = 20;

class PracticeRecorder : public KeystrokeListener {
public:
    explicit PracticeRecorder(CKibikiDoc& doc) : m_doc(doc) {}

    void OnRunStart(const Lesson& lesson) override;
    void OnKeystroke(const KeystrokeEvent& event) override;
    void OnRunEnd(RunEnd end) override;

    // The open log of the current user, opened (and a damaged one moved aside) if need be;
    // null when it cannot be used (the user has been told). For the pages that read it.
    PracticeLog* Log();
    // The same, but null without a word when the user has no log yet: reading never creates one.
    PracticeLog* ExistingLog();
    // Empties the log with the history ("履歴削除"); one that cannot be opened is removed. True
    // when no run is left in it.
    bool ClearLog();
    // How long a write waits for another copy holding the log.
    void SetBusyTimeout(int nMs) { m_nBusyMs = nMs; }
    // Runs that could not be written yet.
    std::size_t PendingRuns() const { return m_pending.size(); }
    // Last chance for runs still waiting, at exit: tried once more, without a word.
    void Flush();

private:
    // A run waits for the log of the user who typed it, whoever is chosen when it is written.
    struct PendingRun {
        std::string strPath;
        LoggedRun run;
    };
    bool WritePending();
    PracticeLog* LogAt(const std::string& path);
    void Tell(LogFault fault, const std::string& strPath);

    CKibikiDoc& m_doc;
    LoggedRun m_run;
    bool m_bInRun = false;
    std::uint32_t m_dwLastTick = 0;
    int m_nLastKanaPos = -1;
    std::deque<PendingRun> m_pending;
    std::string m_strPath;  // of m_pLog
    std::unique_ptr<PracticeLog> m_pLog;
    std::set<std::pair<std::string, LogFault>> m_told;
    int m_nBusyMs = kLogBusyTimeoutMs;
    bool m_bQuiet = false;
};

}  // namespace kibiki
