#include "lessons/custom_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "lessons/custom_lessons.h"
#include "lessons/lesson_file.h"
#include "platform/messenger.h"
#include "platform/regular_file.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/user_settings.h"

namespace kibiki {

void RegisteredLessons(const CUserSettings& settings, std::vector<std::string>& aNames,
                       std::vector<std::string>& aPaths) {
    // Entries past the stored lines could only be empty: a damaged count of two billion must
    // not fill memory.
    const std::size_t stored = std::max(settings.m_aNo.size(), settings.m_aFile.size());
    const int n = static_cast<int>(std::min<std::size_t>(std::max(settings.GetInt("count", 0), 0), stored));
    for (int i = 0; i < n; ++i) {
        aNames.push_back(settings.GetIndexedString("No", i, ""));
        aPaths.push_back(settings.GetIndexedString("File", i, ""));
    }
}

CCustomStartModel::CCustomStartModel(CUserSettings& settings, Messenger& messenger)
    : m_settings(settings), m_messenger(messenger) {
    RegisteredLessons(settings, m_aNames, m_aPaths);
}

void CCustomStartModel::Select(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_aNames.size())) {
        m_bCanStart = false;
        return;
    }
    m_strBrowsedName.clear();
    const std::string path = nIndex < static_cast<int>(m_aPaths.size()) ? Cp932ToUtf8(m_aPaths[nIndex]) : "";
    // Only tried, not read: a FIFO or a device here must neither hang nor be taken for a lesson.
    FileFault fault = FileFault::Missing;
    const int fd = path.empty() ? -1 : OpenRegularFile(path, O_RDONLY, fault);
    if (fd >= 0) {
        ::close(fd);
        m_strPath = path;
        m_bCanStart = true;
        return;
    }
    if (fault != FileFault::Missing) {
        // A folder, a FIFO or a file out of reach is no missing file: the entry stays, for the
        // user to put right or remove.
        m_messenger.ShowMessage(StringOrEmpty(IDS_CANNOT_OPEN) + LessonFaultDetail(path, fault), "Kibiki",
                                MsgButtons::Ok, MsgIcon::Warning);
        m_strPath.clear();
        m_bCanStart = false;
        return;
    }
    m_messenger.ShowMessage(StringOrEmpty(IDS_FILE_MISSING), "Kibiki", MsgButtons::Ok, MsgIcon::Warning);
    m_aNames.erase(m_aNames.begin() + nIndex);
    if (nIndex < static_cast<int>(m_aPaths.size())) m_aPaths.erase(m_aPaths.begin() + nIndex);
    m_settings.SetInt("count", static_cast<int>(m_aNames.size()));
    // Cleared first, so the file keeps no copy of the removed last entry beyond count.
    m_settings.ClearEntries("No");
    m_settings.ClearEntries("File");
    for (std::size_t i = 0; i < m_aNames.size(); ++i) {
        m_settings.SetIndexedString("No", static_cast<int>(i), m_aNames[i]);
        m_settings.SetIndexedString("File", static_cast<int>(i), i < m_aPaths.size() ? m_aPaths[i] : "");
    }
    m_settings.SaveUser();
    m_strPath.clear();
    m_bCanStart = false;
}

void CCustomStartModel::Browse(const std::string& strPath) {
    // Its name would go into the history, which is CP932 like the settings.
    if (strPath.empty() || !CheckPathFitsSettings(strPath, &m_messenger)) return;
    m_strPath = strPath;
    m_bCanStart = true;
    const std::size_t slash = strPath.find_last_of("/\\");
    m_strBrowsedName = slash == std::string::npos ? strPath : strPath.substr(slash + 1);
}

}  // namespace kibiki
