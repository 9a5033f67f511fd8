#include "users/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/messenger.h"
#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/file_error.h"
#include "users/setting_folder.h"
#include "users/user_settings.h"

namespace kibiki {

namespace {

// Replaces whole characters only: a CP932 trail byte never starts a match.
std::string ReplaceChars(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (!from.empty() && text.substr(i, from.size()) == from) {
            out += to;
            i += from.size();
            continue;
        }
        const std::size_t n = CharLenAt(text, i);
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

// The lesson field must hold no "," (it would end the field) and no two spaces in a row (the
// reader takes the first double space for the start of the counts); no line break either.
std::string SafeLessonField(std::string_view lesson) {
    std::string out = ReplaceChars(lesson, ",", StringOrEmpty(IDS_WIDE_COMMA));
    std::string squeezed;
    for (char c : out) {
        if (c == '\r' || c == '\n') c = ' ';
        if (c == ' ' && !squeezed.empty() && squeezed.back() == ' ') continue;
        squeezed += c;
    }
    return squeezed;
}

// Appends text with one write under an advisory lock, so that two running copies never
// interleave or tear lines. A failed or short write is taken back to the size the file had under
// the lock: a full disk leaves no fragment for the next record to run into. A file that does not
// end in a line break (an older program's crash) gets one first.
bool AppendRecord(const std::string& path, std::string text, FileFault& fault) {
    const int fd = OpenRegularFile(path, O_RDWR | O_APPEND | O_CREAT, fault, 0644);
    if (fd < 0) return false;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        fault = FaultOfErrno(errno);
        ::close(fd);
        return false;
    }
    char last = '\n';
    if (st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1) last = '\n';
    if (last != '\n') text.insert(0, "\r\n");

    ssize_t written;
    do {
        written = ::write(fd, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    fault = written < 0 ? FaultOfErrno(errno) : FileFault::None;
    if (written != static_cast<ssize_t>(text.size())) {
        // A short write stops where the disk or the size limit was reached.
        if (written >= 0) fault = FileFault::DiskFull;
        while (::ftruncate(fd, st.st_size) != 0 && errno == EINTR) {
        }
    }
    if (::close(fd) != 0 && fault == FileFault::None) fault = FaultOfErrno(errno);
    return fault == FileFault::None;
}

}  // namespace

std::string HistoryPath(const CUserSettings& settings) {
    return UserFilePath(settings.Folder(), settings.m_strUser, ".hst");
}

bool AppendHistory(const CUserSettings& settings, const std::string& strDate,
                   const std::string& strLesson, const std::string& strSpeed,
                   const std::string& strAccuracy, const std::string& strMissed,
                   Messenger* pMessenger) {
    EnsureFolder(settings.Folder());
    const std::string path = HistoryPath(settings);
    std::string line = strDate;
    line += ',';
    line += SafeLessonField(strLesson);
    line += ',';
    line += ReplaceChars(strSpeed, StringOrEmpty(IDS_PER_MINUTE), "");
    line += ',';
    line += ReplaceChars(strAccuracy, StringOrEmpty(IDS_PERCENT), "");
    line += ',';
    line += strMissed;
    line += "\r\n";
    FileFault fault;
    if (AppendRecord(path, std::move(line), fault)) return true;
    if (pMessenger && settings.TellsFault(fault)) {
        std::string text = StringOrEmpty(IDS_APPEND_FAILED) + Utf8ToCp932(path);
        if (const int nReason = FileFaultReason(fault)) text += "\r\n\r\n" + StringOrEmpty(nReason);
        pMessenger->ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Warning);
    }
    return false;
}

HistoryRow HistoryRowOf(const HistoryRecord& record) {
    HistoryRow row;
    row.strTime = std::string(record.strDate);
    row.strLesson = LessonName(record.strLesson);
    row.strSpeed = std::string(record.strSpeed);
    row.strAccuracy = std::string(record.strAccuracy);
    row.strTopThree = HistoryTopThree(record.misses);
    row.strDetails = MissedKeyLines(record.misses);
    return row;
}

HistoryRow ParseHistoryLine(std::string_view line) {
    std::vector<MissedKeyView> aMisses;
    return HistoryRowOf(ParseHistoryRecord(line, aMisses));
}

namespace {

// The ordering of the longest rows: more bytes first, then the earlier row.
bool LongerRow(const std::pair<std::size_t, std::size_t>& a, const std::pair<std::size_t, std::size_t>& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
}

// Bytes of a cell's text, counted without making it.
std::size_t LessonNameBytes(std::string_view field) {
    if (field.size() < 2 || field[0] < '0' || field[0] > '9' || field[1] < '0' || field[1] > '9')
        return field.size();
    static const std::size_t bytes[6] = {
        BuiltInLessonName(1, 0).size(), BuiltInLessonName(1, 1).size(), BuiltInLessonName(1, 2).size(),
        BuiltInLessonName(1, 3).size(), BuiltInLessonName(1, 4).size(), BuiltInLessonName(1, 5).size()};
    return bytes[field[1] - '0' <= 4 ? field[1] - '0' : 5];
}

std::size_t TopThreeBytes(std::span<const MissedKeyView> keys) {
    static const std::size_t noMisses = HistoryTopThree({}).size();
    if (keys.empty()) return noMisses;
    static const std::size_t entry =
        StringOrEmpty(IDS_ELLIPSIS).size() + StringOrEmpty(IDS_TIMES).size() + StringOrEmpty(IDS_WIDE_SPACE).size();
    std::size_t n = 0;
    for (const auto& k : keys.first(std::min<std::size_t>(keys.size(), 3))) {
        n += k.strKey.size() + entry;
        for (int c = k.nCount; c > 0; c /= 10) ++n;
    }
    return n;
}

}  // namespace

CHistoryRows::CHistoryRows(std::string text)
    : CHistoryRows(std::make_shared<const CHistoryRecords>(std::move(text))) {}

CHistoryRows::CHistoryRows(std::shared_ptr<const CHistoryRecords> pRecords) : m_pRecords(std::move(pRecords)) {
    if (!m_pRecords) return;
    for (std::size_t nRow = 0; nRow < m_pRecords->size(); ++nRow) {
        const HistoryRecord& r = (*m_pRecords)[nRow];
        const std::size_t bytes[COL_COUNT] = {r.strDate.size(), LessonNameBytes(r.strLesson), r.strSpeed.size(),
                                              r.strAccuracy.size(), TopThreeBytes(r.misses)};
        for (int c = 0; c < COL_COUNT; ++c) {
            // A heap whose top is the shortest of the longest rows kept.
            auto& kept = m_aLongest[c];
            const std::pair<std::size_t, std::size_t> entry(bytes[c], nRow);
            if (kept.size() < kLongestKept) {
                kept.push_back(entry);
                std::push_heap(kept.begin(), kept.end(), LongerRow);
            } else if (LongerRow(entry, kept.front())) {
                std::pop_heap(kept.begin(), kept.end(), LongerRow);
                kept.back() = entry;
                std::push_heap(kept.begin(), kept.end(), LongerRow);
            }
        }
    }
}

HistoryRow CHistoryRows::operator[](std::size_t nRow) const {
    return nRow < size() ? HistoryRowOf((*m_pRecords)[nRow]) : HistoryRow();
}

std::string CHistoryRows::Text(std::size_t nRow, int nColumn) const {
    if (nRow >= size()) return {};
    const HistoryRecord& r = (*m_pRecords)[nRow];
    switch (nColumn) {
        case COL_TIME: return std::string(r.strDate);
        case COL_LESSON: return LessonName(r.strLesson);
        case COL_SPEED: return std::string(r.strSpeed);
        case COL_ACCURACY: return std::string(r.strAccuracy);
        case COL_TOP_THREE: return HistoryTopThree(r.misses);
        default: return {};
    }
}

std::string CHistoryRows::Details(std::size_t nRow) const {
    return nRow < size() ? MissedKeyLines((*m_pRecords)[nRow].misses) : std::string();
}

std::vector<std::size_t> CHistoryRows::LongestRows(int nColumn, std::size_t n) const {
    if (nColumn < 0 || nColumn >= COL_COUNT) return {};
    auto kept = m_aLongest[nColumn];
    std::sort(kept.begin(), kept.end(), LongerRow);
    std::vector<std::size_t> aRows;
    for (std::size_t i = 0; i < std::min(n, kept.size()); ++i) aRows.push_back(kept[i].second);
    return aRows;
}

void CHistoryRows::clear() { *this = CHistoryRows(); }

CHistoryRows ParseHistory(std::string_view text) { return CHistoryRows(std::string(text)); }

CHistoryRows ReadHistory(const CUserSettings& settings) { return CHistoryRows(ReadHistoryRecords(settings)); }

std::shared_ptr<const CHistoryRecords> ReadHistoryRecords(const CUserSettings& settings, bool* pbNewestOnly) {
    return std::make_shared<const CHistoryRecords>(ReadHistoryText(settings, pbNewestOnly));
}

std::string NewestRunsNotice(std::size_t nRuns) { return FillIn(IDS_NEWEST_RUNS_SHOWN, std::to_string(nRuns)); }

std::string ReadHistoryText(const CUserSettings& settings, bool* pbNewestOnly) {
    if (pbNewestOnly) *pbNewestOnly = false;
    EnsureFolder(settings.Folder());
    FileFault fault;
    const int fd = OpenRegularFile(HistoryPath(settings), O_RDONLY, fault);
    if (fd < 0) return {};
    // Over the cap only the newest records are read: from the byte before the tail, so that the
    // first line kept is whole.
    struct stat st;
    const bool bTail = ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kHistoryReadCap;
    if (bTail) ::lseek(fd, st.st_size - static_cast<off_t>(kHistoryReadCap) - 1, SEEK_SET);
    if (pbNewestOnly) *pbNewestOnly = bTail;
    std::string text;
    ReadCapped(fd, kHistoryReadCap + (bTail ? 1 : 0), text, fault);  // on an error, what came before it
    ::close(fd);
    // The rows keep these bytes: cut in place rather than copy.
    if (bTail) text.erase(0, std::min(text.size(), text.find('\n') + 1));
    return text;
}

bool DeleteHistory(const CUserSettings& settings, Messenger* pMessenger) {
    const std::string path = HistoryPath(settings);
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    const int err = errno;
    if (pMessenger)
        pMessenger->ShowMessage(FileErrorText(IDS_DELETE_HISTORY_FAILED, Utf8ToCp932(path), err), "",
                                MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

bool AskAndDeleteHistory(const CUserSettings& settings, Messenger& messenger) {
    if (messenger.ShowMessage(FillIn(IDS_CONFIRM_DELETE_HISTORY, settings.m_strUser), "",
                              MsgButtons::YesNoDefaultNo, MsgIcon::Warning) != MsgResult::Yes)
        return false;
    return DeleteHistory(settings, &messenger);
}

}  // namespace kibiki
