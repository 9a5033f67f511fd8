#pragma once
// Where users' ".dat" and ".hst" files live, and how a user name becomes a file name.
#include <string>

namespace kibiki {

// What the settings folder is chosen from; empty strings mean "not set".
struct SettingFolderSources {
    std::string strOverride;  // KIBIKI_SETTING_DIR
    std::string strExeDir;    // folder holding the executable
    std::string strDataHome;  // XDG_DATA_HOME
    std::string strHome;      // HOME
    std::string strInstallBinDir;  // the folder the build installs the executable to
};

SettingFolderSources SettingFolderSourcesFromEnvironment();

// The override when set; else "Setting" beside the executable when it is (or can be made) a
// writable folder and the program is not an installed one; else $XDG_DATA_HOME/Kibiki/Setting
// (~/.local/share when unset or relative). The folder is created when missing. Always ends in '/'.
std::string ResolveSettingFolder(const SettingFolderSources& sources);

// True for a program installed in the system (under /usr, /usr/local, /bin or /sbin) or in the
// folder the build installs it to: such a program never writes beside itself, even as root.
// A program in its build tree or an unpacked folder anywhere else does.
bool IsInstalledProgramFolder(const std::string& strExeDir, const std::string& strInstallBinDir);

// ResolveSettingFolder of the real environment.
std::string SettingFolder();

// Whether the folder or one of its parents exists as something other than a folder: nothing can
// be kept in it.
bool IsFolderBlocked(const std::string& strFolder);

// Creates the folder and its parents as needed; true when it is a directory afterwards.
bool EnsureFolder(const std::string& strFolder);

// Removes the temporary files a settings save leaves when the program is killed in the middle
// of it (".<user>.dat.<pid>.<n>.tmp"), unless the process that wrote one still runs: another
// copy of the program may be saving at this moment. Returns how many were removed.
int RemoveStaleSettingsTemps(const std::string& strFolder);

// strFolder (ending in '/') + the CP932 user name as UTF-8 + szExt (".dat", ".hst").
std::string UserFilePath(const std::string& strFolder, const std::string& strUser, const char* szExt);

}  // namespace kibiki
