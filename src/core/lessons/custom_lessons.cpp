#include "lessons/custom_lessons.h"

#include <algorithm>

#include "lessons/lesson_file.h"
#include "platform/messenger.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/user_settings.h"

namespace kibiki {

bool CheckPathFitsSettings(const std::string& strPath, Messenger* pMessenger) {
    bool lossless = true;
    const std::string shown = Utf8ToCp932(strPath, &lossless, "\x81\xAC");  // 〓 marks the place
    if (!lossless && pMessenger)
        pMessenger->ShowMessage(StringOrEmpty(IDS_PATH_NOT_CP932) + shown, "", MsgButtons::Ok, MsgIcon::Warning);
    return lossless;
}

CCustomLessonModel::CCustomLessonModel(CUserSettings& settings, Messenger& messenger)
    : m_strSeparator(settings.m_strKanaSepa), m_settings(settings), m_messenger(messenger) {
    // Names and paths stay in pairs: an entry without a path cannot be practised and goes, one
    // without a name is named as a new one would be. The count never reaches past the lines.
    const std::size_t stored = std::max(settings.m_aNo.size(), settings.m_aFile.size());
    const int n = static_cast<int>(std::min<std::size_t>(std::max(settings.GetInt("count", 0), 0), stored));
    for (int i = 0; i < n; ++i) {
        const std::string path = settings.GetIndexedString("File", i, "");
        if (path.empty()) continue;
        const std::string name = settings.GetIndexedString("No", i, "");
        m_aNames.push_back(name.empty() ? CustomLessonName(Cp932ToUtf8(path)) : name);
        m_aPaths.push_back(path);
    }
}

void CCustomLessonModel::Select(int nIndex) {
    m_nSelected = nIndex >= 0 && nIndex < static_cast<int>(m_aNames.size()) ? nIndex : -1;
    m_bCanEdit = m_nSelected >= 0;
}

bool CCustomLessonModel::CheckFile(const std::string& strPath, std::string& strEntry) {
    if (strPath.empty() || !CheckPathFitsSettings(strPath, &m_messenger)) return false;
    std::string bytes;
    FileFault fault = FileFault::None;
    if (!ReadLessonBytes(strPath, bytes, &fault)) {
        m_messenger.ShowMessage(StringOrEmpty(IDS_CANNOT_OPEN) + LessonFaultDetail(strPath, fault), "",
                                MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    std::size_t nMalformed = std::string::npos;
    const std::vector<std::string> lines = LessonFileLines(bytes, nullptr, &nMalformed);
    if (lines.empty() || LessonFileMode(lines[0]) > 4) {
        m_messenger.ShowMessage(StringOrEmpty(IDS_CANNOT_REGISTER), "", MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    // Registered all the same: the header is sound, and the user now knows what to correct.
    if (nMalformed != std::string::npos)
        m_messenger.ShowMessage(MalformedLineText(nMalformed, lines[nMalformed]), "", MsgButtons::Ok,
                                MsgIcon::Warning);
    bool bCut = false;
    const std::string name = LessonNameLine(lines, &bCut);
    if (bCut) m_messenger.ShowMessage(NameCutText(name), "", MsgButtons::Ok, MsgIcon::Information);
    strEntry = name.empty() ? CustomLessonName(strPath) : name;
    return true;
}

bool CCustomLessonModel::Add(const std::string& strPath) {
    std::string entry;
    if (!CheckFile(strPath, entry)) return false;
    m_aNames.push_back(entry);
    m_aPaths.push_back(Utf8ToCp932(strPath));
    Select(static_cast<int>(m_aNames.size()) - 1);
    return true;
}

bool CCustomLessonModel::Change(const std::string& strPath) {
    std::string entry;
    if (m_nSelected < 0 || !CheckFile(strPath, entry)) return false;
    m_aNames[m_nSelected] = entry;
    m_aPaths[m_nSelected] = Utf8ToCp932(strPath);
    return true;
}

void CCustomLessonModel::Remove() {
    if (m_nSelected < 0) return;
    m_aNames.erase(m_aNames.begin() + m_nSelected);
    m_aPaths.erase(m_aPaths.begin() + m_nSelected);
    Select(std::min(m_nSelected, static_cast<int>(m_aNames.size()) - 1));
}

bool CCustomLessonModel::IsSeparator(std::string_view utf8) {
    bool lossless = true;
    const std::string cp932 = Utf8ToCp932(utf8, &lossless);
    return lossless && cp932.size() == CharLenAt(cp932, 0);
}

bool CCustomLessonModel::SetSeparator(std::string_view utf8) {
    if (!IsSeparator(utf8)) return false;
    m_strSeparator = Utf8ToCp932(utf8);
    return true;
}

bool CCustomLessonModel::Apply() {
    CUserSettings& s = m_settings;
    s.SetInt("count", static_cast<int>(m_aNames.size()));
    s.ClearEntries("No");
    s.ClearEntries("File");
    for (std::size_t i = 0; i < m_aNames.size(); ++i) {
        s.SetIndexedString("No", static_cast<int>(i), m_aNames[i]);
        s.SetIndexedString("File", static_cast<int>(i), m_aPaths[i]);
    }
    s.m_strKanaSepa = m_strSeparator;
    return s.SaveUser();
}

std::string CCustomLessonModel::BrowseFolder(const std::string& strSampleFolder) const {
    if (m_aPaths.empty()) return strSampleFolder;
    const std::string path = Cp932ToUtf8(m_nSelected >= 0 ? m_aPaths[m_nSelected] : m_aPaths.back());
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace kibiki
