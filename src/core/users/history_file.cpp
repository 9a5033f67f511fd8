#include "users/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "kana/practice_mode.h"
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

std::string LessonName(std::string_view field) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (field.size() < 2 || !isDigit(field[0]) || !isDigit(field[1])) return std::string(field);
    std::string name = "Lesson";
    name += field[0];
    const int mode = field[1] - '0';
    static const std::string suffixes[5] = {
        StringOrEmpty(IDS_SUFFIX_FIRST), StringOrEmpty(IDS_SUFFIX_FIRST + 1),
        StringOrEmpty(IDS_SUFFIX_FIRST + 2), StringOrEmpty(IDS_SUFFIX_FIRST + 3),
        StringOrEmpty(IDS_SUFFIX_FIRST + 4)};
    if (IsKnownMode(static_cast<PracticeMode>(mode))) name += suffixes[mode];
    return name;
}

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
    if (pMessenger) {
        std::string text = StringOrEmpty(IDS_APPEND_FAILED) + Utf8ToCp932(path);
        if (const int nReason = FileFaultReason(fault)) text += "\r\n\r\n" + StringOrEmpty(nReason);
        pMessenger->ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Warning);
    }
    return false;
}

HistoryRow ParseHistoryLine(std::string_view line) {
    HistoryRow row;
    std::string_view fields[4];
    std::size_t pos = 0;
    for (auto& field : fields) {
        const std::size_t comma = line.find(',', pos);
        if (comma == std::string_view::npos) {
            field = line.substr(std::min(pos, line.size()));
            pos = line.size() + 1;  // no fifth field
            break;
        }
        field = line.substr(pos, comma - pos);
        pos = comma + 1;
    }
    row.strTime = std::string(fields[0]);
    row.strLesson = LessonName(fields[1]);
    row.strSpeed = std::string(fields[2]);
    row.strAccuracy = std::string(fields[3]);

    static const std::string ellipsis = StringOrEmpty(IDS_ELLIPSIS);
    static const std::string times = StringOrEmpty(IDS_TIMES);
    static const std::string wideSpace = StringOrEmpty(IDS_WIDE_SPACE);
    const std::size_t field5 = pos;
    const std::size_t twoSpaces =
        field5 <= line.size() ? line.find("  ", field5) : std::string_view::npos;
    if (twoSpaces != std::string_view::npos) {
        // Keys up to and including the first of the two spaces; counts after both.
        std::string_view keys = line.substr(field5, twoSpaces + 1 - field5);
        std::string_view counts = line.substr(twoSpaces + 2);
        for (int n = 0;; ++n) {
            const std::size_t keyEnd = keys.find(' ');
            const std::size_t countEnd = counts.find(' ');
            if (keyEnd == std::string_view::npos || countEnd == std::string_view::npos) break;
            const std::size_t from = row.strDetails.size();
            row.strDetails.append(keys.substr(0, keyEnd)).append(ellipsis);
            row.strDetails.append(counts.substr(0, countEnd)).append(times);
            if (n < 3) row.strTopThree.append(row.strDetails, from).append(wideSpace);
            row.strDetails += "\r\n";
            keys.remove_prefix(keyEnd + 1);
            counts.remove_prefix(countEnd + 1);
        }
    }
    if (row.strTopThree.empty()) {
        static const std::string noMisses = StringOrEmpty(IDS_NO_MISSES);
        row.strTopThree = noMisses;
    }
    return row;
}

namespace {

// The ordering of the longest rows: more bytes first, then the earlier row.
bool LongerRow(const std::pair<std::size_t, std::size_t>& a, const std::pair<std::size_t, std::size_t>& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
}

}  // namespace

CHistoryRows::CHistoryRows(std::string text) : m_strText(std::move(text)) {
    const std::string_view all(m_strText);
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = std::min(all.find('\n', start), all.size());
        const std::size_t nextStart = end + 1;
        if (end > start && !(end == start + 1 && all[start] == '\r')) {
            const std::size_t nRow = m_aLineStarts.size();
            m_aLineStarts.push_back(start);
            const HistoryRow row = ParseHistoryLine(Line(nRow));
            const std::string* cells[COL_COUNT] = {&row.strTime, &row.strLesson, &row.strSpeed,
                                                   &row.strAccuracy, &row.strTopThree};
            for (int c = 0; c < COL_COUNT; ++c) {
                // A heap whose top is the shortest of the longest rows kept.
                auto& kept = m_aLongest[c];
                const std::pair<std::size_t, std::size_t> entry(cells[c]->size(), nRow);
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
        start = nextStart;
    }
    m_aLineStarts.shrink_to_fit();
}

std::string_view CHistoryRows::Line(std::size_t nRow) const {
    if (nRow >= m_aLineStarts.size()) return {};
    std::string_view line = std::string_view(m_strText).substr(m_aLineStarts[nRow]);
    line = line.substr(0, line.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

HistoryRow CHistoryRows::operator[](std::size_t nRow) const { return ParseHistoryLine(Line(nRow)); }

std::string CHistoryRows::Text(std::size_t nRow, int nColumn) const {
    if (nRow >= size()) return {};
    HistoryRow row = ParseHistoryLine(Line(nRow));
    switch (nColumn) {
        case COL_TIME: return std::move(row.strTime);
        case COL_LESSON: return std::move(row.strLesson);
        case COL_SPEED: return std::move(row.strSpeed);
        case COL_ACCURACY: return std::move(row.strAccuracy);
        case COL_TOP_THREE: return std::move(row.strTopThree);
        default: return {};
    }
}

std::string CHistoryRows::Details(std::size_t nRow) const {
    return nRow < size() ? ParseHistoryLine(Line(nRow)).strDetails : std::string();
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

CHistoryRows ReadHistory(const CUserSettings& settings) { return CHistoryRows(ReadHistoryText(settings)); }

std::string ReadHistoryText(const CUserSettings& settings) {
    EnsureFolder(settings.Folder());
    FileFault fault;
    const int fd = OpenRegularFile(HistoryPath(settings), O_RDONLY, fault);
    if (fd < 0) return {};
    // Over the cap only the newest records are read: from the byte before the tail, so that the
    // first line kept is whole.
    struct stat st;
    const bool bTail = ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kHistoryReadCap;
    if (bTail) ::lseek(fd, st.st_size - static_cast<off_t>(kHistoryReadCap) - 1, SEEK_SET);
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
                              MsgButtons::YesNo, MsgIcon::Warning) != MsgResult::Yes)
        return false;
    return DeleteHistory(settings, &messenger);
}

}  // namespace kibiki
