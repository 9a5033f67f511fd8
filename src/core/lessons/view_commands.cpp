#include "lessons/view_commands.h"

#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "platform/profile.h"

namespace kibiki {

void InitialUpdate(CKibikiView& view, CKibikiDoc& doc, Profile& profile) {
    doc.m_settings.LoadUser(profile.GetProfileString("Settings", "User", "default"));
    view.ApplySettings();
    SetTextSize(view, doc, view.m_nFont);
}

void SetPracticeMode(CKibikiView& view, CKibikiDoc& doc, int nMode) {
    doc.m_run.m_nType = nMode;
    doc.m_settings.SetInt("Type", nMode);
    doc.m_settings.SaveUser();
    view.ShowKeyLegends();
}

void SetTextSize(CKibikiView& view, CKibikiDoc& doc, int nFont) {
    view.m_nFont = nFont;
    doc.m_settings.SetInt("Font", nFont);
    doc.m_settings.SaveUser();
}

}  // namespace kibiki
