#pragma once
// The application: the document and practice view of the core, the frame and practice window
// that show them, and the platform pieces they run on. Menu commands end up here.
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "ui/app/key_translator.h"
#include "ui/app/platform_qt.h"
#include "lessons/kibiki_doc.h"
#include "practice_log/practice_recorder.h"
#include "lessons/spoken_practice.h"

class QTimer;

namespace kibiki {
class CKibikiView;
class Profile;
}

namespace kibiki::ui {

class CProgressWindow;

class CMainFrame;
class PracticeWindow;

class CKibikiApp {
public:
    // profile: the store of the current user's name (QSettings in the program, a file in tests).
    explicit CKibikiApp(Profile& profile);
    ~CKibikiApp();

    // Builds the window, opens the current user and shows the window.
    void InitInstance();

    void OnCommand(int nCommand);
    // Enabling and check marks of the menus, from the view's state.
    void UpdateMenus();

    CMainFrame& Frame() { return *m_pFrame; }
    PracticeWindow& Form();
    CKibikiDoc& Doc() { return m_doc; }
    CKibikiView& View() { return *m_pView; }
    KeyStateStore& Keys() { return m_keys; }
    PracticeRecorder& Recorder() { return m_recorder; }

    // Where the help page is looked for, in order: beside the program (build tree), then the
    // install's share folder.
    static QStringList HelpPageCandidates();
    QStringList m_aHelpCandidates = HelpPageCandidates();
    // Opens a URL in the desktop's browser; tests replace it.
    std::function<bool(const QUrl&)> m_fnOpenUrl;

private:
    void ShowHelp();
    // The progress window's practice-log view, and the drill it may ask for.
    void AttachLog(CProgressWindow& window);
    void RunPendingDrill();
    // "選択(&S)...": the user-selection dialog, then the switch to the chosen user.
    void SelectUser();
    // Tells a screen reader what the practice says now, when that changed.
    void Speak();
    // "腕試し...": the test's dialog, then the test with its ticking clock.
    void StartTimedTest();

    Profile& m_profile;
    SystemClock m_clock;
    KeyStateStore m_keys;
    WindowSystemKeyboardLayout m_layout;
    KeyTranslator m_translator{&m_keys};
    CKibikiDoc m_doc;
    PracticeRecorder m_recorder{m_doc};
    std::function<void()> m_fnPendingDrill;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CKibikiView> m_pView;
    SpokenPractice m_spoken{m_doc};
    QTimer* m_pTestTimer = nullptr;  // owned by the frame
};

}  // namespace kibiki::ui
