#pragma once
// What the custom-lesson start dialog shows and decides: the registered lessons, the entry or
// browsed file to start, and the removal of an entry whose file is gone. The window only shows
// this state and passes the user's actions in.
#include <string>
#include <vector>

namespace kibiki {

class CUserSettings;
class Messenger;

// The registered lessons as the settings record keeps them (count, No, File): list texts and
// paths, CP932 as stored.
void RegisteredLessons(const CUserSettings& settings, std::vector<std::string>& aNames,
                       std::vector<std::string>& aPaths);

class CCustomStartModel {
public:
    // Reads the registered lessons (count, No, File) from the settings record.
    CCustomStartModel(CUserSettings& settings, Messenger& messenger);

    // A list entry was selected (-1: none). An entry whose file is gone is reported, removed
    // from the list and from the settings, which are saved at once. One that is there but cannot
    // be opened as a regular file (a folder, a FIFO, a device, no access) is reported with the
    // reason and stays.
    void Select(int nIndex);
    // A file chosen with "参照(&B)...": it is started, not registered. UTF-8 path; one that
    // CP932 cannot hold is refused with a message.
    void Browse(const std::string& strPath);

    std::vector<std::string> m_aNames;  // list texts, CP932
    std::vector<std::string> m_aPaths;  // registered paths, CP932 as stored
    std::string m_strPath;              // the file to start, UTF-8; empty: none
    std::string m_strBrowsedName;       // name of a browsed file (control 1084), UTF-8
    bool m_bCanStart = false;           // "開始"
    int m_nMode = 0;                    // 0 "全部", 1 "ランダム２０問"

private:
    CUserSettings& m_settings;
    Messenger& m_messenger;
};

}  // namespace kibiki
