#pragma once
// What the registered-lessons dialog edits: the list of lesson files with their names and the
// reading separator of kanji lessons. It works on a copy; Apply stores the copy and saves.
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

class CUserSettings;
class Messenger;

// Whether a path (UTF-8) can be kept in the settings file, which is CP932. When it cannot, the
// user is told so (pMessenger, when given) and false returned.
bool CheckPathFitsSettings(const std::string& strPath, Messenger* pMessenger);

class CCustomLessonModel {
public:
    // Reads count, No, File and KanaSepa from the settings record.
    CCustomLessonModel(CUserSettings& settings, Messenger& messenger);

    // A list entry was selected (-1: none).
    void Select(int nIndex);
    // "追加" and "変更" with a chosen file (UTF-8 path): the file must open and name one of the
    // five practice types on its first line; its second line, or the file's name, is the entry.
    // False, after a message, when the file is refused. Change replaces the selected entry.
    bool Add(const std::string& strPath);
    bool Change(const std::string& strPath);
    // "削除": the selected entry goes; the one after it (or before, at the end) is selected.
    void Remove();

    // The separator box takes one character that CP932 holds (one or two bytes), or nothing.
    static bool IsSeparator(std::string_view utf8);
    // False, changing nothing, for a text IsSeparator refuses.
    bool SetSeparator(std::string_view utf8);

    // "OK": the list and the separator into the settings record, saved at once.
    bool Apply();

    // Where the open-file dialog starts: the selected (else the last) entry's folder, or
    // strSampleFolder while nothing is registered. UTF-8.
    std::string BrowseFolder(const std::string& strSampleFolder) const;

    std::vector<std::string> m_aNames;  // list texts, CP932
    std::vector<std::string> m_aPaths;  // paths, CP932 as stored
    std::string m_strSeparator;         // CP932
    int m_nSelected = -1;
    bool m_bCanEdit = false;            // "削除" and "変更"

private:
    // The list entry for a file, or false after a message.
    bool CheckFile(const std::string& strPath, std::string& strEntry);

    CUserSettings& m_settings;
    Messenger& m_messenger;
};

}  // namespace kibiki
