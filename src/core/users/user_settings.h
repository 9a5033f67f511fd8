#pragma once
// The current user's settings record and its ".dat" file (key=value lines, CP932, CR LF).
#include <map>
#include <string>
#include <vector>

namespace kibiki {

class Messenger;
class Profile;
enum class FileFault;

class CUserSettings {
public:
    // profile: read only to create a missing file; messenger: file errors. Both may be null.
    explicit CUserSettings(Profile* pProfile = nullptr, Messenger* pMessenger = nullptr);
    CUserSettings(const CUserSettings&) = delete;
    CUserSettings& operator=(const CUserSettings&) = delete;

    void SetProfile(Profile* pProfile) { m_pProfile = pProfile; }
    void SetMessenger(Messenger* pMessenger) { m_pMessenger = pMessenger; }
    // The settings folder (a trailing '/' is added); empty means resolve it from the environment
    // (see setting_folder.h) on first use.
    void SetFolder(const std::string& strFolder);
    const std::string& Folder() const;

    void LoadUser(const std::string& strUser);
    bool SaveUser();

    int GetInt(const std::string& key, int nFallback) const;
    bool SetInt(const std::string& key, int nValue);
    int GetIndexedInt(const std::string& key, int nIndex, int nFallback) const;
    bool SetIndexedInt(const std::string& key, int nIndex, int nValue);
    std::string GetIndexedString(const std::string& key, int nIndex, const std::string& strFallback) const;
    bool SetIndexedString(const std::string& key, int nIndex, const std::string& strValue);
    void ClearEntries(const std::string& key);

    // Path of the current user's ".dat" (UTF-8 file-system path).
    std::string SettingsPath() const;

    // The bytes SaveUser writes for this record.
    std::string FileText() const;
    // The 19 lines of a new user's file (no KanaSepa line).
    static std::string NewUserFileText();
    // Writes NewUserFileText() as strUser's ".dat" in this record's folder, replacing any file
    // there; the record itself is unchanged. False (after a message) on a file error.
    bool WriteNewUserFile(const std::string& strUser);

    // A file error in the settings folder as the user hears of it: a missing file where a file
    // blocks the folder becomes FileFault::NotFolder. False when it is not to be told again:
    // that one is told once, whatever reads or writes run into it later.
    bool TellsFault(FileFault& fault) const;

    // Benchmarks measure saving without the wait for the disk; everything else keeps it on.
    void SetFlushToDisk(bool bFlush) { m_bFlushToDisk = bFlush; }

    // The fields of the file; their keys, kinds and defaults are the rows of kSettingKeys
    // (setting_keys.h). A new record holds the defaults and no separator.
    std::string m_strUser;          // CP932
    int m_nType{};                  // the practice mode
    std::map<int, std::string> m_mapRoman;  // fixed spellings: kana number -> romaji
    std::map<int, int> m_mapDynRoman;       // learned spellings: kana id -> spelling id
    bool m_bHomePos{};
    int m_nHomeColor{};
    int m_nColorL[4]{};
    int m_nColorB[4]{};
    int m_nColorLG[4]{};
    bool m_bRomanMode{};            // fixed spelling
    int m_nFont{};                  // text size: lines per page, 1 large .. 3 small
    bool m_bColor{};
    std::string m_strKanaSepa;      // CP932
    int m_nCount{};
    std::vector<std::string> m_aNo;    // CP932
    std::vector<std::string> m_aFile;  // CP932
    // Beyond the original file (see SettingKey::bExtra): every input method's spelling accepted,
    // the next key outlined with a thick frame, the input-method spellings learned (kana id ->
    // upper-case letters), and the minutes a day the learner means to practise (0: no goal).
    bool m_bImeSpellings{};
    bool m_bNextKeyFrame{};
    int m_nDailyGoal{};
    std::map<int, std::string> m_mapImeRoman;

private:
    Profile* m_pProfile;
    Messenger* m_pMessenger;
    mutable std::string m_strFolder;
    bool m_bFlushToDisk = true;
    mutable bool m_bFolderFaultTold = false;
    // The bytes the file held when last read or written here, and the file as it was then: a
    // save of the same bytes to a file still so is skipped without reading the file again.
    struct FileStamp {
        unsigned long long dev = 0, ino = 0;
        long long size = -1, mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };
    std::string m_strOnDisk;
    FileStamp m_onDisk;

    static FileStamp StampOf(const std::string& strPath);
    void RememberOnDisk(const std::string& strText, const FileStamp& stamp);

    void Parse(const std::string& strText);
    void ResetExtras();
    void Import();
    bool WriteFile(const std::string& strPath, const std::string& strText);
    void ShowFileError(int nTextId, const std::string& strPath, FileFault fault);
};

}  // namespace kibiki
