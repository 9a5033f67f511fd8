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
    RemoveStaleSettingsTemps(doc.Settings().Folder());
    doc.Settings().LoadUser(strUser);
    view.ApplySettings();
    SetTextSize(view, doc, view.Font());
}

bool SwitchUser(CKibikiView& view, CKibikiDoc& doc, Profile& profile, const std::string& strUser) {
    if (!IsUsableUserName(strUser)) return false;
    profile.WriteProfileString("Settings", "User", strUser);
    doc.Settings().LoadUser(strUser);
    view.ApplySettings();
    SetTextSize(view, doc, view.Font());
    return true;
}

void SetPracticeMode(CKibikiView& view, CKibikiDoc& doc, PracticeMode mode) {
    doc.SetUserMode(mode);
    doc.Settings().SetInt("Type", ModeValue(mode));
    doc.Settings().SaveUser();
    view.ShowKeyLegends();
}

void SetTextSize(CKibikiView& view, CKibikiDoc& doc, int nFont) {
    view.SetFont(nFont);
    doc.Settings().SetInt("Font", nFont);
    doc.Settings().SaveUser();
}

}  // namespace kibiki
