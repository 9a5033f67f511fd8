#pragma once
// The main frame: a fixed-size window titled "Kibiki" holding the practice form under the menu
// bar. It owns the menus; what the commands do and when they are enabled is decided elsewhere.
#include <QMainWindow>
#include <functional>
#include <map>

class QAction;
class QMenu;

namespace kibiki::ui {

class PracticeWindow;

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_LESSON_END = 32771,
    ID_WEAK_KEY_DRILL = 32790,
    ID_TIMED_TEST = 32791,
    ID_APP_EXIT = 57665,
    ID_USER_SELECT = 149,
    ID_USER_HISTORY = 150,
    ID_USER_PROGRESS = 151,
    ID_MODE_KANA = 32776,
    ID_MODE_ROMAN = 32777,
    ID_MODE_HIRAGANA_ROMAN = 32778,
    ID_MODE_KANA_KANJI = 147,
    ID_MODE_ROMAN_KANJI = 148,
    ID_COLOR_SETTINGS = 32774,
    ID_CUSTOM_LESSONS = 32775,
    ID_FONT_SMALL = 137,
    ID_FONT_MEDIUM = 138,
    ID_FONT_LARGE = 139,
    ID_ROMAN_SETTINGS = 32781,
    ID_HELP_CONTENTS = 32772,
    ID_APP_ABOUT = 57664,
};

// Top-level menu positions.
enum MenuPos : int { MENU_LESSON = 0, MENU_USER = 1, MENU_SETTINGS = 2, MENU_HELP = 3 };

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* pParent = nullptr);

    PracticeWindow* Form() const { return m_pForm; }
    QAction* Action(int nCommand) const;
    QMenu* TopMenu(int nPos) const;

    void SetCommandEnabled(int nCommand, bool bEnabled);
    void SetCommandChecked(int nCommand, bool bChecked);
    // Greys or enables a whole top-level menu.
    void SetMenuEnabled(int nPos, bool bEnabled);

    // Fits the window to the form and centres it on the screen.
    void FitAndCentre();

    // Called before any menu opens, to bring enabling and check marks up to date.
    std::function<void()> m_fnUpdateMenus;

signals:
    void Command(int nCommand);

private:
    void BuildMenus();
    QAction* AddCommand(QMenu* pMenu, int nCommand, const char* pszText, bool bCheckable = false);

    PracticeWindow* m_pForm;
    std::map<int, QAction*> m_mapActions;
    std::map<int, QMenu*> m_mapMenus;
};

}  // namespace kibiki::ui
