#include "lessons/view_commands.h"

#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "platform/profile.h"
#include "users/setting_folder.h"
#include "users/user_name.h"

namespace kibiki {

void InitialUpdate(CKibikiView& view, CKibikiDoc& doc, Profile& profile) {
    // The profile is the user's to edit: a name that would lead outside the settings folder
    // falls back to the first user rather than open another file.
    std::string strUser = profile.GetProfileString("Settings", "User", "default");
    if (!IsUsableUserName(strUser)) strUser = "default";
    RemoveStaleSettingsTemps(doc.m_settings.Folder());
    doc.m_settings.LoadUser(strUser);
    view.ApplySettings();
    SetTextSize(view, doc, view.m_nFont);
}

bool SwitchUser(CKibikiView& view, CKibikiDoc& doc, Profile& profile, const std::string& strUser) {
    if (!IsUsableUserName(strUser)) return false;
    profile.WriteProfileString("Settings", "User", strUser);
    doc.m_settings.LoadUser(strUser);
    view.ApplySettings();
    SetTextSize(view, doc, view.m_nFont);
    return true;
}

void SetPracticeMode(CKibikiView& view, CKibikiDoc& doc, PracticeMode mode) {
    doc.m_run.m_nType = mode;
    doc.m_settings.SetInt("Type", ModeValue(mode));
    doc.m_settings.SaveUser();
    view.ShowKeyLegends();
}

void SetTextSize(CKibikiView& view, CKibikiDoc& doc, int nFont) {
    view.m_nFont = nFont;
    doc.m_settings.SetInt("Font", nFont);
    doc.m_settings.SaveUser();
}

}  // namespace kibiki
