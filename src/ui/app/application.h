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

// The window icon, set once the event loop runs: reading the image loads every image-format
// plugin, which the first frame need not wait for.
void SetWindowIconSoon(QApplication& app);

}  // namespace kibiki::ui
