#include "users/user_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <set>
#include <string_view>

#include "platform/messenger.h"
#include "platform/profile.h"
#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/file_error.h"
#include "users/setting_folder.h"
#include "users/setting_keys.h"

namespace kibiki {
namespace {

// atoi, except that a number too large for an int stops at INT_MAX / INT_MIN instead of
// overflowing: "2x" -> 2, " -7" -> -7, "" -> 0, "99999999999999999" -> INT_MAX.
int ToInt(std::string_view s) {
    std::size_t i = s.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return 0;
    const bool bNegative = s[i] == '-';
    if (s[i] == '+' || s[i] == '-') ++i;
    if (i == s.size() || s[i] < '0' || s[i] > '9') return 0;
    // from_chars reads the minus itself, so that INT_MIN is in range; a plus it does not take.
    const char* pFirst = s.data() + i - (bNegative ? 1 : 0);
    int n = 0;
    const auto [end, ec] = std::from_chars(pFirst, s.data() + s.size(), n);
    if (ec == std::errc::result_out_of_range) return bNegative ? INT_MIN : INT_MAX;
    return n;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

void AppendInt(std::string& out, int n) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

// A line break inside a value would end the line early and turn the rest into a line of its
// own (a path "a\nType=3" would set Type), so a value is written up to its first LF.
std::string_view OneLine(std::string_view text) { return text.substr(0, text.find('\n')); }

void AppendValue(std::string& out, int n) { AppendInt(out, n); }
void AppendValue(std::string& out, std::string_view text) { out += OneLine(text); }

template <class Value>
void AppendLine(std::string& out, std::string_view key, const Value& value) {
    out += key;
    out += '=';
    AppendValue(out, value);
    out += "\r\n";
}

template <class Value>
void AppendLine(std::string& out, std::string_view key, int nIndex, const Value& value) {
    out += key;
    AppendInt(out, nIndex);
    out += '=';
    AppendValue(out, value);
    out += "\r\n";
}

template <class T>
T& Field(CUserSettings& s, const SettingKey& k) {
    return s.*std::get<T CUserSettings::*>(k.member);
}
template <class T>
const T& Field(const CUserSettings& s, const SettingKey& k) {
    return s.*std::get<T CUserSettings::*>(k.member);
}
using Colours = int[4];
using TextList = std::vector<std::string>;
using TextMap = std::map<int, std::string>;
using IntMap = std::map<int, int>;

// The record's lines in file order. A new user's file has no Text lines: its separator is
// whatever the user loaded before it had.
std::string FileLines(const CUserSettings& s, bool bTextLines) {
    std::string out;
    out.reserve(512 + 24 * (s.m_aNo.size() + s.m_aFile.size() + s.m_mapRoman.size() +
                            s.m_mapDynRoman.size()));
    for (const auto& k : kSettingKeys) {
        if (k.bExtra) continue;
        if (k.kind == SettingKind::Int) AppendLine(out, k.key, Field<int>(s, k));
        else if (k.kind == SettingKind::Bool) AppendLine(out, k.key, Field<bool>(s, k) ? 1 : 0);
        else if (k.kind == SettingKind::Text && bTextLines) AppendLine(out, k.key, Field<std::string>(s, k));
    }
    for (int i = 0; i < 4; ++i)
        for (const auto& k : kSettingKeys)
            if (k.kind == SettingKind::Colours) AppendLine(out, k.key, i, Field<Colours>(s, k)[i]);
    for (const auto& k : kSettingKeys) {
        if (k.bExtra) continue;
        if (k.kind == SettingKind::TextList) {
            const auto& list = Field<TextList>(s, k);
            for (std::size_t n = 0; n < list.size(); ++n) AppendLine(out, k.key, static_cast<int>(n), list[n]);
        } else if (k.kind == SettingKind::TextMap) {
            for (const auto& [n, text] : Field<TextMap>(s, k)) AppendLine(out, k.key, n, text);
        } else if (k.kind == SettingKind::IntMap) {
            for (const auto& [n, v] : Field<IntMap>(s, k)) AppendLine(out, k.key, n, v);
        }
    }
    for (const auto& k : kSettingKeys) {
        if (!k.bExtra) continue;
        if (k.kind == SettingKind::Bool && Field<bool>(s, k) != (k.nDefault[0] != 0))
            AppendLine(out, k.key, Field<bool>(s, k) ? 1 : 0);
        else if (k.kind == SettingKind::Int && Field<int>(s, k) != k.nDefault[0])
            AppendLine(out, k.key, Field<int>(s, k));
        else if (k.kind == SettingKind::TextMap)
            for (const auto& [n, text] : Field<TextMap>(s, k)) AppendLine(out, k.key, n, text);
    }
    return out;
}

// Whether a line's key belongs to the row: the key itself, or the row's key and an index.
bool Takes(const SettingKey& k, std::string_view key) {
    if (key.empty() || key[0] != k.key[0]) return false;  // most rows fail here, cheaply
    if (IsSingleLine(k.kind)) return key == k.key;
    if (k.kind == SettingKind::Colours && key.size() != k.key.size() + 1) return false;
    return key.size() > k.key.size() && StartsWith(key, k.key);
}

// One line of the file into the record; the first row that takes the key wins, and a line no
// row takes is ignored.
void ReadLine(CUserSettings& s, std::string_view key, std::string_view value) {
    for (const auto& k : kSettingKeys) {
        if (!Takes(k, key)) continue;
        const std::string_view suffix = key.substr(k.key.size());
        switch (k.kind) {
            case SettingKind::Int: Field<int>(s, k) = ToInt(value); break;
            case SettingKind::Bool: Field<bool>(s, k) = ToInt(value) != 0; break;
            case SettingKind::Text: Field<std::string>(s, k).assign(value); break;
            case SettingKind::Colours: {
                const int i = ToInt(suffix);
                if (i >= 0 && i < 4) Field<Colours>(s, k)[i] = ToInt(value);
                break;
            }
            case SettingKind::TextList: Field<TextList>(s, k).emplace_back(value); break;
            case SettingKind::TextMap: Field<TextMap>(s, k)[ToInt(suffix)] = value; break;
            case SettingKind::IntMap: Field<IntMap>(s, k)[ToInt(suffix)] = ToInt(value); break;
        }
        return;
    }
}

bool WriteAll(int fd, const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A settings file holds a few hundred lines; the cap only keeps a damaged one from filling memory.
constexpr std::size_t kSettingsFileCap = 16u << 20;

}  // namespace

CUserSettings::CUserSettings(Profile* pProfile, Messenger* pMessenger)
    : m_pProfile(pProfile), m_pMessenger(pMessenger) {
    for (const auto& k : kSettingKeys) {
        if (k.kind == SettingKind::Int) Field<int>(*this, k) = k.nDefault[0];
        else if (k.kind == SettingKind::Bool) Field<bool>(*this, k) = k.nDefault[0] != 0;
        else if (k.kind == SettingKind::Colours) std::copy_n(k.nDefault.begin(), 4, Field<Colours>(*this, k));
    }
}

void CUserSettings::ResetExtras() {
    for (const auto& k : kSettingKeys) {
        if (!k.bExtra) continue;
        if (k.kind == SettingKind::Bool) Field<bool>(*this, k) = k.nDefault[0] != 0;
        else if (k.kind == SettingKind::Int) Field<int>(*this, k) = k.nDefault[0];
        else if (k.kind == SettingKind::TextMap) Field<TextMap>(*this, k).clear();
    }
}

void CUserSettings::SetFolder(const std::string& strFolder) {
    m_strFolder = strFolder;
    if (!m_strFolder.empty() && m_strFolder.back() != '/') m_strFolder += '/';
}

const std::string& CUserSettings::Folder() const {
    if (m_strFolder.empty()) m_strFolder = SettingFolder();
    return m_strFolder;
}

std::string CUserSettings::SettingsPath() const { return UserFilePath(Folder(), m_strUser, ".dat"); }

void CUserSettings::LoadUser(const std::string& strUser) {
    m_aNo.clear();
    m_aFile.clear();
    m_mapRoman.clear();
    m_mapDynRoman.clear();
    ResetExtras();
    EnsureFolder(Folder());
    m_strUser = strUser;
    const std::string path = SettingsPath();

    RememberOnDisk({}, {});
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        Import();
        return;
    }
    // Taken before the read: a change after it shows as another stamp, never as this one.
    const FileStamp stamp = StampOf(path);
    std::string text;
    FileFault fault;
    if (ReadRegularFile(path, kSettingsFileCap, text, fault)) {
        Parse(text);
        RememberOnDisk(text, stamp);
        return;
    }
    // A line cut off by the error could carry a wrong value ("count=12" read as "count=1").
    const auto lastEnd = text.rfind('\n');
    text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    Parse(text);
    ShowFileError(IDS_SETTINGS_READ_FAILED, path, fault);
}

void CUserSettings::Parse(const std::string& strText) {
    const std::string_view all(strText);
    std::size_t start = 0;
    while (start < all.size()) {
        auto end = all.find('\n', start);
        std::string_view line = all.substr(start, end == std::string_view::npos ? end : end - start);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end == std::string_view::npos ? all.size() : end + 1;

        const auto eq = line.find('=');
        if (eq != std::string_view::npos) ReadLine(*this, line.substr(0, eq), line.substr(eq + 1));
    }
}

void CUserSettings::Import() {
    // Without a profile every value takes its default, as from an empty store.
    auto getInt = [this](const SettingKey& k, const std::string& name, int nDefault) {
        return m_pProfile ? m_pProfile->GetProfileInt(std::string(k.section), name, nDefault) : nDefault;
    };
    auto getString = [this](const SettingKey& k, const std::string& name) {
        return m_pProfile ? m_pProfile->GetProfileString(std::string(k.section), name, "") : std::string();
    };
    auto valueNames = [this](const SettingKey& k, std::vector<std::string>& names) {
        return m_pProfile && m_pProfile->EnumValueNames(std::string(k.section), names);
    };

    std::vector<const SettingKey*> lists;
    std::vector<std::string> names;
    for (const auto& k : kSettingKeys) {
        if (k.bExtra) continue;
        const std::string key(k.key);
        switch (k.kind) {
            case SettingKind::Int: Field<int>(*this, k) = getInt(k, key, k.nDefault[0]); break;
            case SettingKind::Bool: Field<bool>(*this, k) = getInt(k, key, k.nDefault[0]) != 0; break;
            case SettingKind::Text: Field<std::string>(*this, k) = k.strDefault; break;
            case SettingKind::Colours:
                for (int i = 0; i < 4; ++i)
                    Field<Colours>(*this, k)[i] = getInt(k, key + std::to_string(i), k.nDefault[i]);
                break;
            case SettingKind::TextList: lists.push_back(&k); break;
            // The value names are the map keys in decimal. Names longer than 19 bytes did not
            // fit the enumeration buffer and ended the enumeration; that stays so.
            case SettingKind::TextMap:
                if (!valueNames(k, names)) break;
                for (const auto& name : names) {
                    if (name.size() >= 20) break;
                    Field<TextMap>(*this, k)[ToInt(name)] = getString(k, name);
                }
                break;
            case SettingKind::IntMap:
                if (!valueNames(k, names)) break;
                for (const auto& name : names) {
                    if (name.size() >= 20) break;
                    Field<IntMap>(*this, k)[ToInt(name)] = getInt(k, name, k.nDefault[0]);
                }
                break;
        }
    }

    // The lists hold entry n of each list for n below count. Only the positions some list's
    // value names can give an entry: one stored beyond a damaged count of two billion must not
    // make the import fill memory with empty ones.
    std::set<int> positions;
    for (const SettingKey* k : lists) {
        if (m_nCount <= 0 || !valueNames(*k, names)) continue;
        for (const auto& name : names) {
            if (!StartsWith(name, k->key)) continue;
            const std::string_view digits = std::string_view(name).substr(k->key.size());
            const int n = ToInt(digits);
            if (!digits.empty() && digits == std::to_string(n) && n >= 0 && n < m_nCount) positions.insert(n);
        }
    }
    for (const int n : positions)
        for (const SettingKey* k : lists)
            Field<TextList>(*this, *k).push_back(getString(*k, std::string(k->key) + std::to_string(n)));
    SaveUser();
}

std::string CUserSettings::FileText() const { return FileLines(*this, true); }

std::string CUserSettings::NewUserFileText() { return FileLines(CUserSettings(), false); }

bool CUserSettings::SaveUser() {
    EnsureFolder(Folder());
    const std::string strPath = SettingsPath();
    const std::string strText = FileText();
    // Some saves change nothing (start-up stores the text size it has just read): a file that
    // already holds these bytes is left as it is, which spares the program the wait for the disk.
    // Start-up's save follows its load at once; the file is read again only when it may have
    // changed since this record last read or wrote it.
    const FileStamp stamp = StampOf(strPath);
    if (stamp.size == static_cast<long long>(strText.size()) && stamp == m_onDisk && strText == m_strOnDisk)
        return true;
    std::string strCurrent;
    FileFault fault;
    if (ReadRegularFile(strPath, kSettingsFileCap, strCurrent, fault) && strCurrent == strText) {
        RememberOnDisk(strText, stamp);
        return true;
    }
    RememberOnDisk({}, {});
    if (!WriteFile(strPath, strText)) return false;
    RememberOnDisk(strText, StampOf(strPath));
    return true;
}

CUserSettings::FileStamp CUserSettings::StampOf(const std::string& strPath) {
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<long long>(st.st_size),        static_cast<long long>(st.st_mtim.tv_sec),
            static_cast<long long>(st.st_mtim.tv_nsec), static_cast<long long>(st.st_ctim.tv_sec),
            static_cast<long long>(st.st_ctim.tv_nsec)};
}

void CUserSettings::RememberOnDisk(const std::string& strText, const FileStamp& stamp) {
    m_strOnDisk = strText;
    m_onDisk = stamp;
}

bool CUserSettings::WriteNewUserFile(const std::string& strUser) {
    EnsureFolder(Folder());
    return WriteFile(UserFilePath(Folder(), strUser, ".dat"), NewUserFileText());
}

// Replaces the file whole: a crash or a full disk leaves either the old file or the new one.
bool CUserSettings::WriteFile(const std::string& strUserPath, const std::string& strText) {
    const std::string strPath = ReplacedFile(strUserPath);
    struct stat old;
    const bool bOldExists = ::stat(strPath.c_str(), &old) == 0;
    // Renaming would replace a file its owner made read-only; refuse as an in-place write would.
    if (bOldExists && S_ISREG(old.st_mode) && ::access(strPath.c_str(), W_OK) != 0) {
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strUserPath, FaultOfErrno(errno));
        return false;
    }

    static std::atomic<unsigned> s_nSerial{0};
    const auto slash = strPath.rfind('/');
    const std::string dir = strPath.substr(0, slash + 1);
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        // RemoveStaleSettingsTemps knows this name: a kill leaves the file behind.
        tmp = dir + "." + strPath.substr(slash + 1) + "." + std::to_string(::getpid()) + "." +
              std::to_string(s_nSerial++) + ".tmp";
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strUserPath, FaultOfErrno(errno));
        return false;
    }

    bool ok = WriteAll(fd, strText);
    if (ok && bOldExists && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    if (ok && m_bFlushToDisk) ok = ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmp.c_str(), strPath.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strUserPath, FaultOfErrno(err));
        return false;
    }
    if (m_bFlushToDisk) {
        // Make the rename itself durable.
        const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
    }
    return true;
}

bool CUserSettings::TellsFault(FileFault& fault) const {
    if (fault != FileFault::Missing || !IsFolderBlocked(Folder())) return true;
    fault = FileFault::NotFolder;
    const bool bTell = !m_bFolderFaultTold;
    m_bFolderFaultTold = true;
    return bTell;
}

void CUserSettings::ShowFileError(int nTextId, const std::string& strPath, FileFault fault) {
    if (!m_pMessenger || !TellsFault(fault)) return;
    m_pMessenger->ShowMessage(FileErrorText(nTextId, Utf8ToCp932(strPath), fault), "", MsgButtons::Ok,
                              nTextId == IDS_SETTINGS_READ_FAILED ? MsgIcon::Warning : MsgIcon::Error);
}

int CUserSettings::GetInt(const std::string& key, int nFallback) const {
    if (const auto* k = FindSettingKey(key, SettingKind::Int)) return Field<int>(*this, *k);
    if (const auto* k = FindSettingKey(key, SettingKind::Bool)) return Field<bool>(*this, *k) ? 1 : 0;
    return nFallback;
}

bool CUserSettings::SetInt(const std::string& key, int nValue) {
    if (const auto* k = FindSettingKey(key, SettingKind::Int)) Field<int>(*this, *k) = nValue;
    else if (const auto* k = FindSettingKey(key, SettingKind::Bool)) Field<bool>(*this, *k) = nValue != 0;
    else return false;
    return true;
}

int CUserSettings::GetIndexedInt(const std::string& key, int nIndex, int nFallback) const {
    if (const auto* k = FindSettingKey(key, SettingKind::Colours))
        return nIndex >= 0 && nIndex < 4 ? Field<Colours>(*this, *k)[nIndex] : nFallback;
    if (const auto* k = FindSettingKey(key, SettingKind::IntMap)) {
        const auto& map = Field<IntMap>(*this, *k);
        const auto it = map.find(nIndex);
        return it != map.end() ? it->second : nFallback;
    }
    return nFallback;
}

bool CUserSettings::SetIndexedInt(const std::string& key, int nIndex, int nValue) {
    if (const auto* k = FindSettingKey(key, SettingKind::Colours)) {
        if (nIndex < 0 || nIndex >= 4) return false;
        Field<Colours>(*this, *k)[nIndex] = nValue;
        return true;
    }
    if (const auto* k = FindSettingKey(key, SettingKind::IntMap)) {
        Field<IntMap>(*this, *k)[nIndex] = nValue;
        return true;
    }
    return false;
}

std::string CUserSettings::GetIndexedString(const std::string& key, int nIndex,
                                            const std::string& strFallback) const {
    if (const auto* k = FindSettingKey(key, SettingKind::TextMap)) {
        const auto& map = Field<TextMap>(*this, *k);
        const auto it = map.find(nIndex);
        return it != map.end() ? it->second : strFallback;
    }
    if (const auto* k = FindSettingKey(key, SettingKind::TextList)) {
        const auto& list = Field<TextList>(*this, *k);
        if (nIndex >= 0 && static_cast<std::size_t>(nIndex) < list.size()) return list[nIndex];
    }
    return strFallback;
}

bool CUserSettings::SetIndexedString(const std::string& key, int nIndex, const std::string& strValue) {
    if (const auto* k = FindSettingKey(key, SettingKind::TextMap)) {
        Field<TextMap>(*this, *k)[nIndex] = strValue;
        return true;
    }
    const auto* k = FindSettingKey(key, SettingKind::TextList);
    if (!k) return false;
    auto& list = Field<TextList>(*this, *k);
    // Any index that is not a position (negative or past the end) appends.
    if (nIndex >= 0 && static_cast<std::size_t>(nIndex) < list.size()) list[nIndex] = strValue;
    else list.push_back(strValue);
    return true;
}

// The custom lessons and the learned spellings can be cleared whole; the fixed spellings cannot.
void CUserSettings::ClearEntries(const std::string& key) {
    if (const auto* k = FindSettingKey(key, SettingKind::TextList)) Field<TextList>(*this, *k).clear();
    else if (const auto* k = FindSettingKey(key, SettingKind::IntMap)) Field<IntMap>(*this, *k).clear();
    else if (const auto* k = FindSettingKey(key, SettingKind::TextMap); k && k->bExtra)
        Field<TextMap>(*this, *k).clear();
}

}  // namespace kibiki
