#pragma once
class QApplication;
class QTranslator;

namespace kibiki::ui {

// Style, fonts, icon and the Japanese texts of Qt's standard buttons and dialogs, whatever the
// system locale. Tests call it too, so they see what users see.
void SetUpApplication(QApplication& app);

// Qt's own texts (standard buttons and dialogs, the option parser) in Japanese; false when the
// translations are not installed.
bool LoadJapaneseQtTexts(QTranslator& translator);

}  // namespace kibiki::ui
