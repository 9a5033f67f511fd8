#pragma once
// The practice view's start-up, the user switch, and the menu commands that need no dialog:
// practice mode and text size. Each change is stored in the settings record and saved at once.
#include <string>

#include "kana/practice_mode.h"

namespace kibiki {

class CKibikiDoc;
class CKibikiView;
class Profile;

// The view's one-time set-up: the current user from the profile (section "Settings", value
// "User", default "default"), that user's settings loaded and applied, and Font stored and
// saved as the text-size command does.
void InitialUpdate(CKibikiView& view, CKibikiDoc& doc, Profile& profile);

// The user chosen in the user-selection dialog becomes the current one: the name goes to the
// profile (the next start opens this user), the user's settings are loaded and applied, and
// Font is stored and saved as at start-up. An empty or unusable name changes nothing; false then.
bool SwitchUser(CKibikiView& view, CKibikiDoc& doc, Profile& profile, const std::string& strUser);

// The document's mode, Type saved, the keyboard relabelled.
void SetPracticeMode(CKibikiView& view, CKibikiDoc& doc, PracticeMode mode);

// Font 1 large, 2 medium, 3 small: the view's value, Font saved. The window sizes the question
// and answer fonts from the view's value.
void SetTextSize(CKibikiView& view, CKibikiDoc& doc, int nFont);

}  // namespace kibiki
