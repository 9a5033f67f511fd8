#include "users/setting_folder.h"

#include <dirent.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "text/cp932.h"

namespace kibiki {
namespace {

std::string WithSlash(std::string s) {
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool AllDigits(std::string_view s) {
    return !s.empty() && s.size() <= 18 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The pid of a name CUserSettings::WriteFile gives its temporary file, or -1 for any other name.
long long SettingsTempPid(std::string_view name) {
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(".tmp")) return -1;
    name.remove_suffix(4);
    const auto serialDot = name.rfind('.');
    if (serialDot == std::string_view::npos || !AllDigits(name.substr(serialDot + 1))) return -1;
    name = name.substr(0, serialDot);
    const auto pidDot = name.rfind('.');
    if (pidDot == std::string_view::npos || !AllDigits(name.substr(pidDot + 1))) return -1;
    if (!name.substr(0, pidDot).ends_with(".dat")) return -1;
    return std::stoll(std::string(name.substr(pidDot + 1)));
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string ExeDir() {
    std::vector<char> buf(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return {};
    std::string path(buf.data(), static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

SettingFolderSources SettingFolderSourcesFromEnvironment() {
    SettingFolderSources s;
    s.strOverride = Env("KIBIKI_SETTING_DIR");
    s.strExeDir = ExeDir();
    s.strDataHome = Env("XDG_DATA_HOME");
    s.strHome = Env("HOME");
    if (s.strHome.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) s.strHome = pw->pw_dir;
    }
#ifdef KIBIKI_INSTALL_BINDIR
    s.strInstallBinDir = KIBIKI_INSTALL_BINDIR;
#endif
    return s;
}

std::string ResolveSettingFolder(const SettingFolderSources& sources) {
    if (!sources.strOverride.empty()) {
        const std::string folder = WithSlash(sources.strOverride);
        EnsureFolder(folder);
        return folder;
    }
    if (!sources.strExeDir.empty() && !IsInstalledProgramFolder(sources.strExeDir, sources.strInstallBinDir)) {
        const std::string folder = WithSlash(sources.strExeDir) + "Setting/";
        // An unpacked copy in a folder we may not write falls through too.
        if (IsDirectory(folder) ? ::access(folder.c_str(), W_OK | X_OK) == 0
                                : ::mkdir(folder.c_str(), 0777) == 0)
            return folder;
    }
    // Relative XDG paths are invalid and ignored.
    std::string base = sources.strDataHome;
    if (base.empty() || base[0] != '/') base = WithSlash(sources.strHome) + ".local/share";
    const std::string folder = WithSlash(base) + "Kibiki/Setting/";
    EnsureFolder(folder);
    return folder;
}

bool IsInstalledProgramFolder(const std::string& strExeDir, const std::string& strInstallBinDir) {
    const std::string dir = WithSlash(strExeDir);
    for (const char* pszPrefix : {"/usr/", "/bin/", "/sbin/"})
        if (dir.starts_with(pszPrefix)) return true;
    return !strInstallBinDir.empty() && dir == WithSlash(strInstallBinDir);
}

std::string SettingFolder() { return ResolveSettingFolder(SettingFolderSourcesFromEnvironment()); }

bool IsFolderBlocked(const std::string& strFolder) {
    for (std::size_t pos = strFolder.find('/', 1);; pos = strFolder.find('/', pos + 1)) {
        const std::string part = strFolder.substr(0, pos);
        struct stat st;
        if (::stat(part.c_str(), &st) != 0) return false;  // missing: it can still be made
        if (!S_ISDIR(st.st_mode)) return true;
        if (pos == std::string::npos || pos + 1 >= strFolder.size()) return false;
    }
}

bool EnsureFolder(const std::string& strFolder) {
    if (strFolder.empty() || IsDirectory(strFolder)) return !strFolder.empty();
    for (std::size_t pos = strFolder.find('/', 1); pos != std::string::npos;
         pos = strFolder.find('/', pos + 1)) {
        const std::string part = strFolder.substr(0, pos);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    if (::mkdir(strFolder.c_str(), 0777) != 0 && errno != EEXIST) return false;
    return IsDirectory(strFolder);
}

int RemoveStaleSettingsTemps(const std::string& strFolder) {
    DIR* dir = ::opendir(strFolder.c_str());
    if (!dir) return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const long long pid = SettingsTempPid(entry->d_name);
        if (pid < 0) continue;
        // Our own pid has no save under way while this runs; any other live one may.
        const bool bOwn = pid == ::getpid();
        const bool bAlive = pid > 0 && pid <= std::numeric_limits<pid_t>::max() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        if (bOwn || !bAlive) stale.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    int nRemoved = 0;
    for (const auto& name : stale) {
        struct stat st;
        const std::string path = WithSlash(strFolder) + name;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0) ++nRemoved;
    }
    return nRemoved;
}

std::string UserFilePath(const std::string& strFolder, const std::string& strUser, const char* szExt) {
    return WithSlash(strFolder) + Cp932ToUtf8(strUser) + szExt;
}

}  // namespace kibiki
