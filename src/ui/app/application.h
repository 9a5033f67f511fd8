#pragma once
class QApplication;

namespace kibiki::ui {

// Style, fonts, icon and the Japanese texts of Qt's standard buttons and dialogs, whatever the
// system locale. Tests call it too, so they see what users see.
void SetUpApplication(QApplication& app);

}  // namespace kibiki::ui
