#pragma once
// The practice form: question and answer boxes, counters, progress bar, title line and the
// keyboard picture, every control at its place in the form's dialog-unit layout.
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "ui/app/dialog_units.h"
#include "lessons/practice_form.h"

class QLabel;

namespace kibiki::ui {

class CColorEdit;
class CProgressBar;
class KeyTranslator;
class CColorStatic;
class CGuideStatic;

constexpr int kKeyCount = 48;
constexpr int kFingerCount = 8;
constexpr int kMarkerCount = 8;

class PracticeWindow : public QWidget, public PracticeForm {
    Q_OBJECT
public:
    explicit PracticeWindow(QWidget* pParent = nullptr);

    const DialogUnits& Units() const { return m_units; }

    QWidget* Control(int nId) const;
    CColorStatic* Static(int nId) const;
    CColorEdit* Edit(int nId) const;
    CColorStatic* KeyCap(int nKeyIndex) const { return m_apKeys.at(nKeyIndex); }
    CColorStatic* FingerLabel(int nIndex) const { return m_apFingers.at(nIndex); }
    CGuideStatic* Marker(int nIndex) const { return m_apMarkers.at(nIndex); }
    CProgressBar* Progress() const { return m_pProgress; }

    // Every typed character goes here, none into a control. Without a translator the form
    // takes plain ASCII text only.
    void SetKeyTranslator(const KeyTranslator* pTranslator) { m_pTranslator = pTranslator; }
    std::function<void(char)> m_fnTypedChar;
    // Told of every key event before its characters are judged (the layout group it came in).
    std::function<void(const QKeyEvent&)> m_fnKeyEvent;
    // The keyboard's layout or keymap changed.
    std::function<void()> m_fnLayoutChanged;
    // Greys or enables the user and settings menus of the frame.
    std::function<void(bool)> m_fnEnableSettingMenus;

    // Sizes the question and answer fonts so that nLines lines (CKibikiView::PageLines) fill
    // each box.
    void ApplyTextSize(int nLines);

    // What a screen reader is to say of the practice now (UTF-8): the accessible description
    // of the practice area ("練習") and of the answer box, which a reader follows once text is
    // typed into it, with their change events.
    void Announce(const std::string& strUtf8);

    // PracticeForm
    void SetControlText(int nId, const std::string& text) override;
    std::string GetControlText(int nId) override;
    void Repaint(int nId) override;
    void SetCaret(int nId, int nOffset) override;
    int QuestionLineFromOffset(int nOffset) override;
    int QuestionLineCount() override;
    void ShowQuestionFromLine(int nLine) override;
    void SetProgressRange(int nLower, int nUpper) override;
    void SetProgressPos(int nPos) override;
    void SetProgressStep(int nStep) override;
    void StepProgress() override;
    void SetTextColor(int nId, COLORREF color) override;
    void SetBackColor(int nId, COLORREF color) override;
    COLORREF ButtonFaceColor() override;
    void SetCapSunken(int nId, bool bSunken) override;
    void SetCapFramed(int nId, bool bFramed) override;
    void SetMarker(int nId, COLORREF color, bool bVisible) override;
    void EnableSettingMenus(bool bEnable) override;
    void Beep() override;
    void CloseInputMethod() override;
    int RunLessonEndDialog(const LessonEndInfo& info) override;
    int RunTimedTestResultDialog(const TimedTestResultInfo& info) override;
    int RunLessonSelectDialog(const std::array<std::string, 8>& labels) override;
    bool RunCustomStartDialog(CUserSettings& settings, std::string& strPath, int& nMode) override;
    MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                          MsgIcon icon) override;

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void CreateControls();
    void SetUpFonts();
    // The control's accessible name from what it shows.
    void NameControl(int nId);
    template <class T> T* Add(int nId, int x, int y, int cx, int cy);
    QLabel* AddLabel(const char* pszText, int x, int y, int cx, int cy);

    DialogUnits m_units;
    std::map<int, QWidget*> m_mapControls;
    std::array<CColorStatic*, kKeyCount> m_apKeys{};
    std::array<CColorStatic*, kFingerCount> m_apFingers{};
    std::array<CGuideStatic*, kMarkerCount> m_apMarkers{};
    CProgressBar* m_pProgress = nullptr;
    const KeyTranslator* m_pTranslator = nullptr;
    std::map<int, std::string> m_mapTexts;  // CP932, as set
    int m_nProgressStep = 10;
};

}  // namespace kibiki::ui
