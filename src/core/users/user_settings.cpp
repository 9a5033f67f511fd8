#include "users/user_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <string_view>

#include "platform/messenger.h"
#include "platform/profile.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/setting_folder.h"

namespace kibiki {
namespace {

// atoi, except that a number too large for an int stops at INT_MAX / INT_MIN instead of
// overflowing: "2x" -> 2, " -7" -> -7, "" -> 0, "99999999999999999" -> INT_MAX.
int ToInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    bool bNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) bNegative = s[i++] == '-';
    long long n = 0;
    const long long limit = bNegative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > limit) { n = limit; }
    }
    return static_cast<int>(bNegative ? -n : n);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

void AppendInt(std::string& out, int n) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

void AppendLine(std::string& out, std::string_view key, int n) {
    out += key;
    out += '=';
    AppendInt(out, n);
    out += "\r\n";
}

void AppendLine(std::string& out, std::string_view key, int nIndex, int n) {
    out += key;
    AppendInt(out, nIndex);
    out += '=';
    AppendInt(out, n);
    out += "\r\n";
}

// A line break inside a value would end the line early and turn the rest into a line of its
// own (a path "a\nType=3" would set Type), so a value is written up to its first LF.
std::string_view OneLine(std::string_view text) { return text.substr(0, text.find('\n')); }

void AppendLine(std::string& out, std::string_view key, int nIndex, std::string_view text) {
    out += key;
    AppendInt(out, nIndex);
    out += '=';
    out += OneLine(text);
    out += "\r\n";
}

constexpr int kNewColorB[4] = {65535, 16776960, 12632256, 65280};

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

// Reads the whole file; on a read error out holds what came before it and errno is kept.
bool ReadAll(const std::string& path, std::string& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    const bool bStat = ::fstat(fd, &st) == 0;
    if (!bStat || !S_ISREG(st.st_mode)) {
        const int err = !bStat ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = err;
        return false;
    }
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            errno = err;
            return false;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace

CUserSettings::CUserSettings(Profile* pProfile, Messenger* pMessenger)
    : m_pProfile(pProfile), m_pMessenger(pMessenger) {}

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
    EnsureFolder(Folder());
    m_strUser = strUser;
    const std::string path = SettingsPath();

    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        Import();
        return;
    }
    std::string text;
    if (ReadAll(path, text)) {
        Parse(text);
        return;
    }
    const int err = errno;
    // A line cut off by the error could carry a wrong value ("count=12" read as "count=1").
    const auto lastEnd = text.rfind('\n');
    text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    Parse(text);
    ShowFileError(IDS_SETTINGS_READ_FAILED, path, err);
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
        if (eq == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);

        if (key == "Type") m_nType = ToInt(value);
        else if (key == "HomePos") m_bHomePos = ToInt(value) != 0;
        else if (key == "HomeColor") m_nHomeColor = ToInt(value);
        else if (key == "RomanMode") m_bRomanMode = ToInt(value) != 0;
        else if (key == "Font") m_nFont = ToInt(value);
        else if (key == "Color") m_bColor = ToInt(value) != 0;
        else if (key == "count") m_nCount = ToInt(value);
        else if (key == "KanaSepa") m_strKanaSepa.assign(value);
        // The digits after No and File are never read: entries keep the order of their lines.
        else if (key.size() >= 3 && StartsWith(key, "No")) m_aNo.emplace_back(value);
        else if (key.size() >= 5 && StartsWith(key, "File")) m_aFile.emplace_back(value);
        else if (key.size() >= 6 && StartsWith(key, "Roman")) m_mapRoman[ToInt(key.substr(5))] = value;
        else if (key.size() == 7 && (StartsWith(key, "ColorL") || StartsWith(key, "ColorB"))) {
            const int i = ToInt(key.substr(6));
            if (i >= 0 && i < 4) (key[5] == 'L' ? m_nColorL : m_nColorB)[i] = ToInt(value);
        } else if (key.size() == 8 && StartsWith(key, "ColorLG")) {
            const int i = ToInt(key.substr(7));
            if (i >= 0 && i < 4) m_nColorLG[i] = ToInt(value);
        } else if (key.size() >= 9 && StartsWith(key, "DynRoman"))
            m_mapDynRoman[ToInt(key.substr(8))] = ToInt(value);
    }
}

void CUserSettings::Import() {
    // Without a profile every value takes its default, as from an empty store.
    auto getInt = [this](const char* section, const std::string& name, int nDefault) {
        return m_pProfile ? m_pProfile->GetProfileInt(section, name, nDefault) : nDefault;
    };
    auto getString = [this](const char* section, const std::string& name) {
        return m_pProfile ? m_pProfile->GetProfileString(section, name, "") : std::string();
    };

    m_nType = getInt("Settings", "Type", 0);
    m_bHomePos = getInt("Settings", "HomePos", 1) != 0;
    m_nHomeColor = getInt("Settings", "HomeColor", 0);
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        m_nColorL[i] = getInt("Settings", "ColorL" + n, 0);
        m_nColorB[i] = getInt("Settings", "ColorB" + n, kNewColorB[i]);
        m_nColorLG[i] = getInt("Settings", "ColorLG" + n, 255);
    }
    m_bRomanMode = getInt("Settings", "RomanMode", 1) != 0;
    m_nFont = getInt("Settings", "Font", 3);
    m_bColor = getInt("Settings", "Color", 1) != 0;
    m_nCount = getInt("Original", "count", 0);
    m_strKanaSepa = "\x81\x62";  // ｜

    std::vector<std::string> names;
    if (m_nCount > 0 && m_pProfile && m_pProfile->EnumValueNames("Original", names)) {
        // Entries past the last one the store holds could only be empty, and every reader
        // falls back to empty anyway; a damaged count of two billion must not fill memory.
        int nEnd = 0;
        for (const auto& name : names) {
            std::string_view digits = name;
            if (StartsWith(digits, "No")) digits.remove_prefix(2);
            else if (StartsWith(digits, "File")) digits.remove_prefix(4);
            else continue;
            const int n = ToInt(digits);
            if (!digits.empty() && digits == std::to_string(n) && n < m_nCount && n >= nEnd) nEnd = n + 1;
        }
        for (int n = 0; n < nEnd; ++n) {
            m_aNo.push_back(getString("Original", "No" + std::to_string(n)));
            m_aFile.push_back(getString("Original", "File" + std::to_string(n)));
        }
    }

    // The store's value names are the map keys in decimal. Names longer than 19 bytes did not
    // fit the enumeration buffer and ended the enumeration; that stays so.
    if (m_pProfile && m_pProfile->EnumValueNames("Roman", names)) {
        for (const auto& name : names) {
            if (name.size() >= 20) break;
            m_mapRoman[ToInt(name)] = getString("Roman", name);
        }
    }
    if (m_pProfile && m_pProfile->EnumValueNames("DynRoman", names)) {
        for (const auto& name : names) {
            if (name.size() >= 20) break;
            m_mapDynRoman[ToInt(name)] = getInt("DynRoman", name, -1);
        }
    }
    SaveUser();
}

std::string CUserSettings::FileText() const {
    std::string out;
    out.reserve(512 + 24 * (m_aNo.size() + m_aFile.size() + m_mapRoman.size() + m_mapDynRoman.size()));
    AppendLine(out, "Type", m_nType);
    AppendLine(out, "HomePos", m_bHomePos ? 1 : 0);
    AppendLine(out, "HomeColor", m_nHomeColor);
    AppendLine(out, "RomanMode", m_bRomanMode ? 1 : 0);
    AppendLine(out, "Font", m_nFont);
    AppendLine(out, "Color", m_bColor ? 1 : 0);
    AppendLine(out, "count", m_nCount);
    out += "KanaSepa=";
    out += OneLine(m_strKanaSepa);
    out += "\r\n";
    for (int i = 0; i < 4; ++i) {
        AppendLine(out, "ColorL", i, m_nColorL[i]);
        AppendLine(out, "ColorB", i, m_nColorB[i]);
        AppendLine(out, "ColorLG", i, m_nColorLG[i]);
    }
    for (std::size_t n = 0; n < m_aNo.size(); ++n) AppendLine(out, "No", static_cast<int>(n), m_aNo[n]);
    for (std::size_t n = 0; n < m_aFile.size(); ++n) AppendLine(out, "File", static_cast<int>(n), m_aFile[n]);
    for (const auto& [k, text] : m_mapRoman) AppendLine(out, "Roman", k, text);
    for (const auto& [k, v] : m_mapDynRoman) AppendLine(out, "DynRoman", k, v);
    return out;
}

std::string CUserSettings::NewUserFileText() {
    std::string out;
    AppendLine(out, "Type", 0);
    AppendLine(out, "HomePos", 1);
    AppendLine(out, "HomeColor", 0);
    AppendLine(out, "RomanMode", 1);
    AppendLine(out, "Font", 3);
    AppendLine(out, "Color", 1);
    AppendLine(out, "count", 0);
    for (int i = 0; i < 4; ++i) {
        AppendLine(out, "ColorL", i, 0);
        AppendLine(out, "ColorB", i, kNewColorB[i]);
        AppendLine(out, "ColorLG", i, 255);
    }
    return out;
}

bool CUserSettings::SaveUser() {
    EnsureFolder(Folder());
    const std::string strPath = SettingsPath();
    const std::string strText = FileText();
    // Some saves change nothing (start-up stores the text size it has just read): a file that
    // already holds these bytes is left as it is, which spares the program the wait for the disk.
    std::string strCurrent;
    if (ReadAll(strPath, strCurrent) && strCurrent == strText) return true;
    return WriteFile(strPath, strText);
}

bool CUserSettings::WriteNewUserFile(const std::string& strUser) {
    EnsureFolder(Folder());
    return WriteFile(UserFilePath(Folder(), strUser, ".dat"), NewUserFileText());
}

// Replaces the file whole: a crash or a full disk leaves either the old file or the new one.
bool CUserSettings::WriteFile(const std::string& strPath, const std::string& strText) {
    struct stat old;
    const bool bOldExists = ::stat(strPath.c_str(), &old) == 0;
    // Renaming would replace a file its owner made read-only; refuse as an in-place write would.
    if (bOldExists && S_ISREG(old.st_mode) && ::access(strPath.c_str(), W_OK) != 0) {
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strPath, errno);
        return false;
    }

    static std::atomic<unsigned> s_nSerial{0};
    const auto slash = strPath.rfind('/');
    const std::string dir = strPath.substr(0, slash + 1);
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = dir + "." + strPath.substr(slash + 1) + "." + std::to_string(::getpid()) + "." +
              std::to_string(s_nSerial++) + ".tmp";
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strPath, errno);
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
        ShowFileError(IDS_SETTINGS_WRITE_FAILED, strPath, err);
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

void CUserSettings::ShowFileError(int nTextId, const std::string& strPath, int nErrno) {
    if (!m_pMessenger) return;
    std::string text = StringOrEmpty(nTextId);
    const auto at = text.find("%s");
    const std::string name = Utf8ToCp932(strPath);
    if (at != std::string::npos) text.replace(at, 2, name);
    else text += "\r\n" + name;

    int nReason = 0;
    switch (nErrno) {
        case ENOSPC: case EDQUOT: case EFBIG: nReason = IDS_REASON_DISK_FULL; break;
        case EACCES: case EPERM: case EROFS: nReason = IDS_REASON_ACCESS; break;
        case EISDIR: nReason = IDS_REASON_IS_FOLDER; break;
        default: break;
    }
    if (nReason) text += "\r\n\r\n" + StringOrEmpty(nReason);
    m_pMessenger->ShowMessage(text, "", MsgButtons::Ok,
                              nTextId == IDS_SETTINGS_READ_FAILED ? MsgIcon::Warning : MsgIcon::Error);
}

int CUserSettings::GetInt(const std::string& key, int nFallback) const {
    if (key == "Type") return m_nType;
    if (key == "HomePos") return m_bHomePos ? 1 : 0;
    if (key == "HomeColor") return m_nHomeColor;
    if (key == "RomanMode") return m_bRomanMode ? 1 : 0;
    if (key == "Font") return m_nFont;
    if (key == "Color") return m_bColor ? 1 : 0;
    if (key == "count") return m_nCount;
    return nFallback;
}

bool CUserSettings::SetInt(const std::string& key, int nValue) {
    if (key == "Type") m_nType = nValue;
    else if (key == "HomePos") m_bHomePos = nValue != 0;
    else if (key == "HomeColor") m_nHomeColor = nValue;
    else if (key == "RomanMode") m_bRomanMode = nValue != 0;
    else if (key == "Font") m_nFont = nValue;
    else if (key == "Color") m_bColor = nValue != 0;
    else if (key == "count") m_nCount = nValue;
    else return false;
    return true;
}

namespace {

template <class Array>
auto* ColorArray(Array& l, Array& b, Array& lg, const std::string& key) {
    return key == "ColorL" ? &l : key == "ColorB" ? &b : key == "ColorLG" ? &lg : nullptr;
}

}  // namespace

int CUserSettings::GetIndexedInt(const std::string& key, int nIndex, int nFallback) const {
    if (const auto* colors = ColorArray(m_nColorL, m_nColorB, m_nColorLG, key))
        return nIndex >= 0 && nIndex < 4 ? (*colors)[nIndex] : nFallback;
    if (key == "DynRoman") {
        const auto it = m_mapDynRoman.find(nIndex);
        return it != m_mapDynRoman.end() ? it->second : nFallback;
    }
    return nFallback;
}

bool CUserSettings::SetIndexedInt(const std::string& key, int nIndex, int nValue) {
    if (auto* colors = ColorArray(m_nColorL, m_nColorB, m_nColorLG, key)) {
        if (nIndex < 0 || nIndex >= 4) return false;
        (*colors)[nIndex] = nValue;
        return true;
    }
    if (key == "DynRoman") {
        m_mapDynRoman[nIndex] = nValue;
        return true;
    }
    return false;
}

std::string CUserSettings::GetIndexedString(const std::string& key, int nIndex,
                                            const std::string& strFallback) const {
    if (key == "Roman") {
        const auto it = m_mapRoman.find(nIndex);
        return it != m_mapRoman.end() ? it->second : strFallback;
    }
    const std::vector<std::string>* list = key == "No" ? &m_aNo : key == "File" ? &m_aFile : nullptr;
    if (list && nIndex >= 0 && static_cast<std::size_t>(nIndex) < list->size()) return (*list)[nIndex];
    return strFallback;
}

bool CUserSettings::SetIndexedString(const std::string& key, int nIndex, const std::string& strValue) {
    if (key == "Roman") {
        m_mapRoman[nIndex] = strValue;
        return true;
    }
    std::vector<std::string>* list = key == "No" ? &m_aNo : key == "File" ? &m_aFile : nullptr;
    if (!list) return false;
    // Any index that is not a position (negative or past the end) appends.
    if (nIndex >= 0 && static_cast<std::size_t>(nIndex) < list->size()) (*list)[nIndex] = strValue;
    else list->push_back(strValue);
    return true;
}

void CUserSettings::ClearEntries(const std::string& key) {
    if (key == "No") m_aNo.clear();
    else if (key == "File") m_aFile.clear();
    else if (key == "DynRoman") m_mapDynRoman.clear();
}

}  // namespace kibiki
