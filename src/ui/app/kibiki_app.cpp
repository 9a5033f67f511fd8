#include "ui/app/kibiki_app.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>
#include <random>
#include <ctime>

#include "ui/app/about_dlg.h"
#include "ui/app/data_folder.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "ui/app/qt_text.h"
#include "ui/kana/roman_setting_dlg.h"
#include "ui/guide/color_dlg.h"
#include "lessons/color_settings.h"
#include "lessons/custom_start.h"
#include "ui/lessons/custom_lesson_dlg.h"
#include "ui/lessons/timed_test_dlg.h"
#include "lessons/kibiki_view.h"
#include "lessons/view_commands.h"
#include "platform/profile.h"
#include "progress/practice_days.h"
#include "progress/weak_key_drill_start.h"
#include "text/string_ids.h"
#include "users/setting_folder.h"
#include "ui/users/progress_window.h"
#include "ui/users/show_history_dlg.h"
#include "ui/users/test_results_page.h"
#include "ui/users/weak_keys_page.h"
#include "ui/users/user_select_dlg.h"

namespace kibiki::ui {

namespace {

struct ModeCommand { int nCommand; PracticeMode mode; };
constexpr ModeCommand kModeCommands[] = {{ID_MODE_KANA, PracticeMode::KanaInput},
                                         {ID_MODE_ROMAN, PracticeMode::RomajiInput},
                                         {ID_MODE_HIRAGANA_ROMAN, PracticeMode::HiraganaRomaji},
                                         {ID_MODE_KANA_KANJI, PracticeMode::KanaKanji},
                                         {ID_MODE_ROMAN_KANJI, PracticeMode::RomajiKanji}};
struct ValueCommand { int nCommand, nValue; };
constexpr ValueCommand kFontCommands[] = {{ID_FONT_SMALL, 3}, {ID_FONT_MEDIUM, 2}, {ID_FONT_LARGE, 1}};

}  // namespace

CKibikiApp::CKibikiApp(Profile& profile)
    : m_fnOpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      m_profile(profile) {}

CKibikiApp::~CKibikiApp() {
    // The view refers to the form; it goes first.
    m_spoken.m_fnEnded = nullptr;
    m_pView.reset();
    m_recorder.Flush();
    m_pFrame.reset();
}

PracticeWindow& CKibikiApp::Form() { return *m_pFrame->Form(); }

void CKibikiApp::InitInstance() {
    m_pFrame = std::make_unique<CMainFrame>();
    PracticeWindow& form = Form();
    m_doc.Settings().SetProfile(&m_profile);
    m_doc.Settings().SetMessenger(&form);
    m_doc.SetKeyboard(&m_keys);
    m_pView = std::make_unique<CKibikiView>(m_doc, form, m_layout, m_clock);
    m_pView->AddListener(&m_recorder);

    m_layout.Refresh();
    form.SetKeyTranslator(&m_translator);
    form.m_fnKeyEvent = [this](const QKeyEvent& event) {
        m_layout.SetGroupFromNativeModifiers(event.nativeModifiers());
        if (event.key() == Qt::Key_Escape && m_pView->OnEscape()) UpdateMenus();
    };
    form.m_fnLayoutChanged = [this] { m_layout.Refresh(); };
    m_pView->AddListener(&m_spoken);
    m_spoken.m_fnEnded = [this] { Speak(); };
    form.m_fnTypedChar = [this](char ch) {
        m_pView->OnTypedChar(static_cast<unsigned char>(ch));
        Speak();
    };
    m_pView->SetLessonEndNote([this] { return LessonEndGoalLine(m_doc.Settings(), LocalDay(std::time(nullptr))); });
    form.m_fnEnableSettingMenus = [this](bool bEnable) {
        m_pFrame->SetMenuEnabled(MENU_USER, bEnable);
        m_pFrame->SetMenuEnabled(MENU_SETTINGS, bEnable);
        UpdateMenus();
    };
    m_pFrame->m_fnUpdateMenus = [this] { UpdateMenus(); };
    QObject::connect(m_pFrame.get(), &CMainFrame::Command, m_pFrame.get(),
                     [this](int nCommand) { OnCommand(nCommand); });

    InitialUpdate(*m_pView, m_doc, m_profile);
    // The boxes stay empty until a lesson starts, so their text size (every size tried loads a
    // font) is worked out once the window is up, before any key can start one.
    QTimer::singleShot(0, m_pFrame.get(), [this] { Form().ApplyTextSize(m_pView->PageLines()); });
    m_pView->OnNewDocument();  // the start-up document: no lesson dialog
    UpdateMenus();
    m_pFrame->show();
    form.setFocus();
    Speak();
}

void CKibikiApp::AttachLog(CProgressWindow& window) {
    CWeakKeysPage::LogAccess access;
    access.fnLog = [this] { return m_recorder.ExistingLog(); };
    // A drill starts once the windows over the practice window have closed.
    access.fnDrillKeys = [this, &window](PracticeMode mode) {
        m_fnPendingDrill = [this, mode] { StartWeakKeyDrill(*m_pView, m_doc, m_recorder.ExistingLog(), mode); };
        window.accept();
    };
    access.fnDrillPairs = [this, &window](PracticeMode mode, const std::vector<KeyPair>& pairs) {
        m_fnPendingDrill = [this, mode, pairs] { StartPairDrill(*m_pView, m_doc, pairs, mode); };
        window.accept();
    };
    window.WeakKeysPage()->AttachLog(std::move(access));
    window.TestsPage()->ReadLog(m_recorder.ExistingLog());
}

void CKibikiApp::RunPendingDrill() {
    if (!m_fnPendingDrill) return;
    const std::function<void()> fn = std::move(m_fnPendingDrill);
    m_fnPendingDrill = nullptr;
    fn();
    UpdateMenus();
}

void CKibikiApp::UpdateMenus() {
    CMainFrame& frame = *m_pFrame;
    frame.SetCommandEnabled(ID_FILE_NEW, m_pView->CanStartLesson());
    frame.SetCommandEnabled(ID_WEAK_KEY_DRILL, m_pView->CanStartLesson());
    frame.SetCommandEnabled(ID_TIMED_TEST, m_pView->CanStartLesson());
    frame.SetCommandEnabled(ID_LESSON_END, m_pView->CanEndLesson());
    for (const auto& c : kModeCommands) frame.SetCommandChecked(c.nCommand, m_doc.UserMode() == c.mode);
    for (const auto& c : kFontCommands) frame.SetCommandChecked(c.nCommand, m_pView->Font() == c.nValue);
}

void CKibikiApp::StartTimedTest() {
    std::vector<std::string> names, paths;
    RegisteredLessons(m_doc.Settings(), names, paths);
    CTimedTestDlg dlg(DefaultTestChoice(m_doc.UserMode()), names, paths, m_pFrame.get());
    if (dlg.exec() != QDialog::Accepted) return;
    Lesson lesson;
    if (!ChosenTestLesson(dlg.Choice(), std::random_device{}(), m_doc.Settings().m_strKanaSepa, lesson, &Form()) ||
        !m_pView->StartLesson(std::move(lesson)))
        return;
    // The core decides when the time is up; the timer only asks it. It pauses while the
    // result dialog is open, which the tick itself may show.
    if (!m_pTestTimer) {
        m_pTestTimer = new QTimer(m_pFrame.get());
        m_pTestTimer->setInterval(100);
        QObject::connect(m_pTestTimer, &QTimer::timeout, m_pFrame.get(), [this] {
            m_pTestTimer->stop();
            m_pView->OnTimer();
            if (m_pView->IsTimedTest()) m_pTestTimer->start();
            UpdateMenus();
        });
    }
    m_pTestTimer->start();
    UpdateMenus();
}

void CKibikiApp::OnCommand(int nCommand) {
    for (const auto& c : kModeCommands)
        if (c.nCommand == nCommand) SetPracticeMode(*m_pView, m_doc, c.mode);
    for (const auto& c : kFontCommands)
        if (c.nCommand == nCommand) {
            SetTextSize(*m_pView, m_doc, c.nValue);
            Form().ApplyTextSize(m_pView->PageLines());
        }
    switch (nCommand) {
        case ID_FILE_NEW:
            if (m_pView->CanStartLesson()) m_pView->OnNewDocument();
            break;
        case ID_WEAK_KEY_DRILL:
            StartWeakKeyDrill(*m_pView, m_doc, m_recorder.ExistingLog());
            break;
        case ID_TIMED_TEST:
            if (m_pView->CanStartLesson()) StartTimedTest();
            break;
        case ID_LESSON_END:
            if (m_pView->CanEndLesson()) m_pView->FinishRun();
            break;
        case ID_APP_EXIT:
            m_pFrame->close();
            break;
        case ID_USER_SELECT:
            if (m_pView->CanStartLesson()) SelectUser();
            break;
        case ID_USER_HISTORY:
            if (m_pView->CanStartLesson()) {
                CShowHistoryDlg dlg(m_doc.Settings(), m_pFrame.get(), m_layout.IsJisLayout());
                dlg.m_fnHistoryDeleted = [this] { m_recorder.ClearLog(); };
                dlg.m_fnPrepareProgress = [this](CProgressWindow& window) { AttachLog(window); };
                dlg.m_fnCloseAfterProgress = [this] { return static_cast<bool>(m_fnPendingDrill); };
                dlg.exec();
                RunPendingDrill();
            }
            break;
        case ID_USER_PROGRESS:
            if (m_pView->CanStartLesson()) {
                CProgressWindow window(m_doc.Settings(), nullptr, m_pFrame.get(), m_layout.IsJisLayout());
                AttachLog(window);
                window.exec();
                RunPendingDrill();
            }
            break;
        case ID_ROMAN_SETTINGS:
            if (m_pView->CanStartLesson()) {
                CRomanSettingDlg dlg(m_doc.Settings(), m_doc.RomanMode(), m_pFrame.get());
                if (dlg.exec() == QDialog::Accepted) dlg.Model().Apply(m_doc);
            }
            break;
        case ID_COLOR_SETTINGS:
            if (m_pView->CanStartLesson()) {
                CColorDlg dlg(m_doc.Settings(), m_pFrame.get());
                if (dlg.exec() == QDialog::Accepted) dlg.Model().Apply(m_doc.Settings(), *m_pView);
            }
            break;
        case ID_CUSTOM_LESSONS:
            if (m_pView->CanStartLesson()) {
                CCustomLessonDlg dlg(m_doc.Settings(), SampleLessonFolder(), m_pFrame.get());
                dlg.exec();
            }
            break;
        case ID_HELP_CONTENTS:
            ShowHelp();
            break;
        case ID_APP_ABOUT: {
            CAboutDlg dlg(m_pFrame.get());
            dlg.exec();
            break;
        }
        default:
            break;
    }
    // Whatever the command opened is closed now: the next key is the lesson's.
    Form().setFocus(Qt::OtherFocusReason);
    UpdateMenus();
    Speak();
}

void CKibikiApp::Speak() {
    std::string text;
    if (m_spoken.Take(text)) Form().Announce(text);
}

QStringList CKibikiApp::HelpPageCandidates() { return DataPathCandidates(QStringLiteral("help/index.html")); }

void CKibikiApp::SelectUser() {
    const std::string strFolder = m_doc.Settings().Folder();
    EnsureFolder(strFolder);
    CUserSelectDlg dlg(strFolder, m_profile.GetProfileString("Settings", "User", "default"),
                       m_pFrame.get());
    if (dlg.exec() != QDialog::Accepted) return;
    if (SwitchUser(*m_pView, m_doc, m_profile, dlg.ChosenUser())) Form().ApplyTextSize(m_pView->PageLines());
}

void CKibikiApp::ShowHelp() {
    for (const QString& strPath : m_aHelpCandidates) {
        if (!QFileInfo(strPath).isFile()) continue;
        if (m_fnOpenUrl(QUrl::fromLocalFile(QFileInfo(strPath).canonicalFilePath()))) return;
        break;
    }
    Form().ShowMessage(ToCp932(LoadUiString(IDS_HELP_FAILED)), "", MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace kibiki::ui
