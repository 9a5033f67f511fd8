#include "practice_log/practice_recorder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>



#include "lessons/kibiki_doc.h"
#include "lessons/lesson.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/file_error.h"
#include "users/setting_folder.h"
#include "users/user_settings.h"

namespace kibiki {

namespace {

const char* SourceOf(const Lesson& lesson) {
    switch (lesson.source) {
        case LessonSource::File: return "file";
        case LessonSource::WeakKeyDrill: return "drill";
        case LessonSource::TimedTest: return "test";
        case LessonSource::BuiltIn: break;
    }
    return "built-in";
}

int ReasonOf(LogFault fault) {
    switch (fault) {
        case LogFault::Damaged: return IDS_REASON_LOG_DAMAGED;
        case LogFault::Locked: return IDS_REASON_LOG_LOCKED;
        case LogFault::TooNew: return IDS_REASON_LOG_TOO_NEW;
        case LogFault::ReadOnly: return FileFaultReason(FileFault::Access);
        case LogFault::DiskFull: return FileFaultReason(FileFault::DiskFull);
        case LogFault::Folder: return FileFaultReason(FileFault::Folder);
        case LogFault::NotRegular: return FileFaultReason(FileFault::NotRegular);
        default: return 0;
    }
}

std::time_t NowOf(const CKibikiDoc& doc) {
    Clock* clock = doc.GetClock();
    return clock ? clock->Now() : std::time(nullptr);
}

}  // namespace

std::string PracticeLogPath(const CUserSettings& settings) {
    return UserFilePath(settings.Folder(), settings.m_strUser, ".db");
}

std::string LogFaultText(LogFault fault, const std::string& strPath) {
    std::string text = FillIn(IDS_LOG_WRITE_FAILED, Utf8ToCp932(strPath));
    if (const int reason = ReasonOf(fault)) text += "\r\n" + StringOrEmpty(reason);
    return text;
}

void PracticeRecorder::OnRunStart(const Lesson& lesson) {
    m_run.keys.clear();
    if (m_run.keys.capacity() < 1024) m_run.keys.reserve(1024);
    m_run.mode = lesson.mode;
    m_run.strSource = SourceOf(lesson);
    m_run.strLesson = Cp932ToUtf8(lesson.HistoryKey());
    m_bInRun = true;
    m_dwLastTick = 0;
    m_nLastKanaPos = -1;
}

void PracticeRecorder::OnKeystroke(const KeystrokeEvent& event) {
    if (!m_bInRun) return;
    LoggedKey key;
    key.nMs = m_run.keys.empty() ? 0 : event.dwTime - m_dwLastTick;
    m_dwLastTick = event.dwTime;
    key.nCap = static_cast<std::int8_t>(event.nCap >= 0 && event.nCap <= 47 ? event.nCap : -1);
    key.chTyped = event.chTyped;
    key.chDue = event.chDue;
    if (event.bRight) key.nFlags |= LoggedKey::kRight;
    if (event.bQuestionStart) key.nFlags |= LoggedKey::kQuestionStart;
    if (event.bQuestionStart || event.nKanaPos != m_nLastKanaPos) key.nFlags |= LoggedKey::kUnitStart;
    m_nLastKanaPos = event.nKanaPos;
    key.nUnitLen = static_cast<std::uint8_t>(std::min(event.kanaDue.size(), key.unit.size()));
    std::memcpy(key.unit.data(), event.kanaDue.data(), key.nUnitLen);
    m_run.keys.push_back(key);
}

void PracticeRecorder::OnRunEnd(RunEnd end) {
    if (!m_bInRun) return;
    m_bInRun = false;
    // A run left before its first key practised nothing.
    if (m_run.keys.empty()) return;
    const LessonRun& r = m_doc.Run();
    m_run.end = end;
    m_run.tEnd = NowOf(m_doc);
    m_run.tStart = r.StartTime() ? static_cast<std::time_t>(r.StartTime()) : m_run.tEnd;
    m_run.nKeystrokes = static_cast<int>(std::lround(r.Keystrokes()));
    m_run.nMisses = r.Misses();
    m_run.nKanaTyped = r.KanaTyped();
    m_run.nChars = r.FinishedChars();
    const std::uint32_t last = r.EndTick() ? r.EndTick() : m_dwLastTick;
    m_run.nElapsedMs = r.StartTick() ? static_cast<std::uint32_t>(last - r.StartTick()) : 0;
    if (m_pending.size() >= kPendingRunsKept) m_pending.pop_front();
    m_pending.push_back({PracticeLogPath(m_doc.Settings()), m_run});
    m_pending.back().run.keys.shrink_to_fit();
    WritePending();
}

void PracticeRecorder::Tell(LogFault fault, const std::string& strPath) {
    if (m_bQuiet || !m_told.insert({strPath, fault}).second) return;
    if (Messenger* m = m_doc.GetMessenger())
        m->ShowMessage(LogFaultText(fault, strPath), "", MsgButtons::Ok, MsgIcon::Warning);
}

PracticeLog* PracticeRecorder::Log() { return LogAt(PracticeLogPath(m_doc.Settings())); }

PracticeLog* PracticeRecorder::LogAt(const std::string& path) {
    if (m_pLog && path == m_strPath) return m_pLog.get();
    m_pLog.reset();
    m_strPath = path;
    LogFault fault = LogFault::None;
    m_pLog = PracticeLog::Open(path, fault, m_nBusyMs);
    if (fault == LogFault::Damaged) {
        const std::string moved = MoveDamagedLog(path, NowOf(m_doc));
        if (!moved.empty()) {
            m_pLog = PracticeLog::Open(path, fault, m_nBusyMs);
            if (m_pLog && !m_bQuiet) {
                if (Messenger* m = m_doc.GetMessenger())
                    m->ShowMessage(FillIn(IDS_LOG_MOVED_ASIDE, Utf8ToCp932(moved)), "", MsgButtons::Ok,
                                   MsgIcon::Warning);
            }
        }
    }
    if (!m_pLog) Tell(fault, path);
    return m_pLog.get();
}

PracticeLog* PracticeRecorder::ExistingLog() {
    const std::string path = PracticeLogPath(m_doc.Settings());
    if (m_pLog && path == m_strPath) return m_pLog.get();
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return nullptr;
    return Log();
}

bool PracticeRecorder::WritePending() {
    // In order, but one user's unusable log does not hold back another's runs.
    std::set<std::string> failed;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (failed.count(it->strPath)) {
            ++it;
            continue;
        }
        PracticeLog* log = LogAt(it->strPath);
        LogFault fault = log ? log->WriteRun(it->run) : LogFault::None;
        if (log && fault == LogFault::Damaged) {
            // Found damaged while writing: moved aside and written again to a new log.
            m_pLog.reset();
            if (!MoveDamagedLog(m_strPath, NowOf(m_doc)).empty()) {
                m_strPath.clear();
                continue;
            }
            Tell(fault, m_strPath);
            log = nullptr;
        } else if (log && fault != LogFault::None) {
            Tell(fault, m_strPath);
            // A log held by another copy or a full disk may be free at the next run's end;
            // a fresh open then finds what changed.
            m_pLog.reset();
            m_strPath.clear();
            log = nullptr;
        }
        if (!log) {
            failed.insert(it->strPath);
            ++it;
            continue;
        }
        it = m_pending.erase(it);
    }
    return m_pending.empty();
}

void PracticeRecorder::Flush() {
    if (m_pending.empty()) return;
    m_bQuiet = true;
    WritePending();
    m_bQuiet = false;
}

bool PracticeRecorder::ClearLog() {
    const std::string path = PracticeLogPath(m_doc.Settings());
    std::erase_if(m_pending, [&](const PendingRun& p) { return p.strPath == path; });
    std::unique_ptr<PracticeLog> log;
    if (m_pLog && m_strPath == path) log = std::move(m_pLog);
    m_pLog.reset();
    m_strPath.clear();
    if (!log) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) return true;
        LogFault fault = LogFault::None;
        log = PracticeLog::Open(path, fault, m_nBusyMs);
    }
    // Emptied in place, so that another copy holding it open goes on writing into this file.
    if (log && log->Clear() == LogFault::None) {
        m_pLog = std::move(log);
        m_strPath = path;
        return true;
    }
    log.reset();
    // Damaged, or not a log at all: the history goes, and so does this.
    if (RemoveLogFiles(path)) return true;
    if (Messenger* m = m_doc.GetMessenger())
        m->ShowMessage(FillIn(IDS_LOG_DELETE_FAILED, Utf8ToCp932(path)), "", MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

}  // namespace kibiki
