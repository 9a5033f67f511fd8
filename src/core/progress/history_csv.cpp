#include "progress/history_csv.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <vector>

#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "users/file_error.h"
#include "users/history_file.h"
#include "users/history_record.h"

namespace kibiki {

namespace {

constexpr std::string_view kCsvHead =
    "\xEF\xBB\xBF"  // byte-order mark
    "日時,レッスン名,速度(打/分),正解率(%),間違えたキー\r\n";

// What the export reads and writes at a time.
constexpr std::size_t kCsvChunk = 1u << 20;

// Everything after the fourth comma; empty when the line has fewer.
std::string_view MissedField(std::string_view line) {
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = line.find(',', pos);
        if (comma == std::string_view::npos) return {};
        pos = comma + 1;
    }
    return line.substr(pos);
}

// The count of a pair the record keeps, or the digits of one too large for a number: a
// spreadsheet holds it, and the export loses nothing the file says.
std::string CountText(std::string_view count) {
    if (count.empty() || count.find_first_not_of("0123456789") != std::string_view::npos) return {};
    int n = 0;
    const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), n);
    if (ec == std::errc()) return n > 0 ? std::to_string(n) : std::string();
    return ec == std::errc::result_out_of_range ? std::string(count) : std::string();
}

void AppendRow(std::string& csv, std::string_view line, std::vector<MissedKeyView>& aMisses) {
    aMisses.clear();
    const HistoryRecord r = ParseHistoryRecord(line, aMisses);
    // An unreadable time or figure is written as it stands, so nothing is lost.
    csv += CsvField(r.nMinute != kNoTime ? IsoMinute(r.nMinute) : Cp932ToUtf8(r.strDate));
    csv += ',';
    csv += CsvField(Cp932ToUtf8(LessonName(r.strLesson)));
    csv += ',';
    csv += CsvField(Cp932ToUtf8(r.strSpeed), r.nSpeed < 0);
    csv += ',';
    csv += CsvField(Cp932ToUtf8(r.strAccuracy), r.nAccuracy < 0);
    csv += ',';
    std::string misses;
    MissedPairReader pairs(MissedField(line));
    for (std::string_view key, count; pairs.Next(key, count);) {
        if (key.empty() || key.size() > kHistoryKeyCap) continue;
        const std::string strCount = CountText(count);
        if (strCount.empty()) continue;
        if (!misses.empty()) misses += ' ';
        misses += Cp932ToUtf8(key) + "×" + strCount;
    }
    csv += CsvField(misses);
    csv += "\r\n";
}

// A line of a history without its CR; blank lines are no runs.
void AppendLine(std::string& csv, std::string_view line, std::vector<MissedKeyView>& aMisses) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) AppendRow(csv, line, aMisses);
}

bool WriteAll(int fd, std::string_view text, FileFault& fault) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fault = n < 0 ? FaultOfErrno(errno) : FileFault::DiskFull;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes the CSV of the history open on in (-1: none) to out, a piece at a time. A line longer
// than the history's read cap keeps its first kHistoryReadCap bytes, as reading the list would.
bool StreamCsv(int in, int out, FileFault& fault) {
    std::string csv(kCsvHead);
    std::vector<MissedKeyView> aMisses;
    std::string pending;    // the start of a line the last piece cut
    bool bOverCap = false;  // the rest of the pending line is passed over
    std::vector<char> buf(in >= 0 ? kCsvChunk : 0);
    for (;;) {
        ssize_t got = 0;
        if (in >= 0) got = ::read(in, buf.data(), buf.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            fault = FaultOfErrno(errno);
            return false;
        }
        if (got == 0) break;
        std::string_view piece(buf.data(), static_cast<std::size_t>(got));
        while (!piece.empty()) {
            const std::size_t nl = piece.find('\n');
            const std::string_view part = piece.substr(0, nl);
            if (nl != std::string_view::npos && pending.empty() && !bOverCap) {
                AppendLine(csv, part, aMisses);  // whole in this piece: no copy
            } else {
                if (!bOverCap) {
                    const std::size_t room = kHistoryReadCap - pending.size();
                    pending.append(part.substr(0, room));
                    bOverCap = part.size() > room;
                }
                if (nl == std::string_view::npos) break;
                AppendLine(csv, pending, aMisses);
                pending.clear();
                bOverCap = false;
            }
            piece.remove_prefix(nl + 1);
            if (csv.size() >= kCsvChunk) {
                if (!WriteAll(out, csv, fault)) return false;
                csv.clear();
            }
        }
    }
    AppendLine(csv, pending, aMisses);
    return WriteAll(out, csv, fault);
}

}  // namespace

std::string CsvField(const std::string& strUtf8, bool bText) {
    std::string field = strUtf8;
    std::erase(field, '\0');
    if (bText && !field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos)
        field.insert(0, 1, '\'');
    // A plain loop: find_first_of searches the set once for every byte.
    if (std::none_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }))
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string HistoryCsv(std::string_view history) {
    std::string csv(kCsvHead);
    csv.reserve(history.size() * 5 / 4);
    std::vector<MissedKeyView> aMisses;
    for (std::size_t pos = 0; pos < history.size();) {
        std::size_t end = history.find('\n', pos);
        if (end == std::string_view::npos) end = history.size();
        AppendLine(csv, history.substr(pos, end - pos), aMisses);
        pos = end + 1;
    }
    return csv;
}

bool SaveHistoryCsv(const CUserSettings& settings, const std::string& strCsvLink, FileFault* pFault) {
    const std::string strCsvPath = ReplacedFile(strCsvLink);
    FileFault fault = FileFault::None;
    const auto done = [&](bool ok) {
        if (pFault) *pFault = ok ? FileFault::None : fault;
        return ok;
    };
    static std::atomic<unsigned> s_nSerial{0};
    const std::size_t slash = strCsvPath.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : strCsvPath.substr(0, slash + 1);
    const std::string name = strCsvPath.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string tmp;
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
        tmp = dir + "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(s_nSerial++) + ".tmp";
        out = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out < 0 && errno != EEXIST) break;
    }
    if (out < 0) {
        fault = FaultOfErrno(errno);
        return done(false);
    }
    // No history, or none that is a regular file, exports the header alone.
    FileFault readFault;
    const int in = OpenRegularFile(HistoryPath(settings), O_RDONLY, readFault);
    bool ok = StreamCsv(in, out, fault);
    if (in >= 0) ::close(in);
    struct stat old;
    if (ok && ::stat(strCsvPath.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(out, old.st_mode & 07777);
    // A full disk may only show when the data reaches it.
    if (ok && ::fsync(out) != 0) {
        ok = false;
        fault = FaultOfErrno(errno);
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        fault = FaultOfErrno(errno);
    }
    if (ok && ::rename(tmp.c_str(), strCsvPath.c_str()) != 0) {
        ok = false;
        fault = FaultOfErrno(errno);
    }
    if (!ok) ::unlink(tmp.c_str());
    return done(ok);
}

std::string CsvSaveFailedText(const std::string& strCsvPath, FileFault fault) {
    return FileErrorText(IDS_CSV_SAVE_FAILED, Utf8ToCp932(strCsvPath), fault);
}

}  // namespace kibiki
