#pragma once
// What the practice view (CKibikiView, core) asks of the practice window. The ui implements it
// with widgets; tests use RecordingPracticeForm. All texts are CP932; offsets are byte offsets
// into the CP932 text last put into the control. Every setter repaints what it changed, so the
// core calls Repaint only where a control must be redrawn without a change of its own.
//
// Message boxes come through Messenger::ShowMessage, shown over the practice window; the
// confirmation of an early lesson end is one of them (Yes/No, question icon).
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/messenger.h"

namespace kibiki {

class CUserSettings;

// 0x00BBGGRR, as stored in the settings file.
using COLORREF = std::uint32_t;

// Control ids of the practice window.
enum : int {
    IDC_KEY_FIRST = 1000,     // key caps 1000..1047, key index = id - 1000
    IDC_KEY_LAST = 1047,
    IDC_FINGER_FIRST = 1060,  // finger labels 1060..1067, left little .. right little
    IDC_FINGER_LAST = 1067,
    IDC_TITLE = 1072,
    IDC_QUESTION = 1073,
    IDC_ANSWER = 1074,
    IDC_MISS_COUNT = 1075,
    IDC_MISS_KEY = 1076,
    IDC_ACCURACY = 1077,
    IDC_REMAINING = 1078,
    IDC_SHIFT_LEFT = 1079,
    IDC_SHIFT_RIGHT = 1080,
    IDC_PROGRESS = 1095,
    IDC_MARKER_FIRST = 1114,  // home-position markers 1114..1121 under A S D F J K L ;
    IDC_MARKER_LAST = 1121,
};

// What the lesson-end dialog shows; the core has already decided every text and button state.
struct LessonEndInfo {
    std::string strMessage;    // evaluation message
    std::string strAccuracy;   // e.g. "95％"
    std::string strSpeed;      // e.g. "120／分"
    std::string strKanaSpeed;  // kana per minute, e.g. "85字/分"; empty where questions are no kana
    std::string strTopThree;   // top-three missed keys, one line
    std::string strDetails;    // every missed key, one per line (for "すべて表示")
    std::string strGoal;       // "今日 12／15分・連続 5日" while a daily goal is set, else empty
    bool bNextEnabled = true;     // "次のレッスン"
    bool bShowAllEnabled = true;  // "すべて表示"
};

// The timed test's result: rows of a label and its figure, then the grade still ahead (CP932).
struct TimedTestResultInfo {
    std::string strTitle;                                     // "腕試し10分"
    std::vector<std::pair<std::string, std::string>> rows;  // label, figure
    std::string strNextGrade;                                 // "あと 42字で3級の目安"; may be empty
};

// The lesson-end dialog's answers.
enum : int { LESSON_END_NEXT = 0, LESSON_END_AGAIN = 1, LESSON_END_STOP = 2 };

class PracticeForm : public Messenger {
public:
    // Static texts, edit boxes, key caps, finger labels. GetControlText returns what was set.
    virtual void SetControlText(int nId, const std::string& text) = 0;
    virtual std::string GetControlText(int nId) = 0;
    // nId 0: the whole practice view.
    virtual void Repaint(int nId) = 0;

    // Question box (1073) and answer box (1074): empty selection at nOffset. The answer box
    // scrolls its caret into view; the question box stays on the page the view showed.
    virtual void SetCaret(int nId, int nOffset) = 0;
    // Question box only: the line (from 0) holding the byte offset, the number of lines of its
    // text as wrapped in the box, and showing its text from a line on (that line at the top,
    // even when fewer lines than the box holds follow it). New text shows from line 0.
    virtual int QuestionLineFromOffset(int nOffset) = 0;
    virtual int QuestionLineCount() = 0;
    virtual void ShowQuestionFromLine(int nLine) = 0;

    // Progress bar 1095.
    virtual void SetProgressRange(int nLower, int nUpper) = 0;
    virtual void SetProgressPos(int nPos) = 0;
    virtual void SetProgressStep(int nStep) = 0;
    // One step; past the upper bound the bar starts again at the lower one.
    virtual void StepProgress() = 0;

    // CColorStatic controls (caps, SHIFT caps, finger labels, counters): legend (text) colour
    // and background colour. ButtonFaceColor is the system's button face, the caps' idle
    // background.
    virtual void SetTextColor(int nId, COLORREF color) = 0;
    virtual void SetBackColor(int nId, COLORREF color) = 0;
    virtual COLORREF ButtonFaceColor() = 0;
    // Key cap frame look: sunken after a wrong key, raised otherwise.
    virtual void SetCapSunken(int nId, bool bSunken) = 0;
    // Key cap or SHIFT cap drawn with a thick frame around it: the next key, for an eye that
    // does not find it by its legend's colour alone.
    virtual void SetCapFramed(int nId, bool bFramed) = 0;
    // Home-position marker: its colour and whether it is shown.
    virtual void SetMarker(int nId, COLORREF color, bool bVisible) = 0;

    // The "ユーザ(&U)" and "設定(&O)" menus, greyed during a run; the menu bar is redrawn.
    virtual void EnableSettingMenus(bool bEnable) = 0;

    virtual void Beep() = 0;
    // Close the input method of the practice window if it is open.
    virtual void CloseInputMethod() = 0;

    // Modal dialogs.
    // Lesson end: returns LESSON_END_NEXT, LESSON_END_AGAIN or LESSON_END_STOP (Escape/close).
    virtual int RunLessonEndDialog(const LessonEndInfo& info) = 0;
    // LESSON_END_AGAIN or LESSON_END_STOP.
    virtual int RunTimedTestResultDialog(const TimedTestResultInfo& info) = 0;
    // Lesson select: eight radio labels (index 7 is the custom lesson); Lesson1 is preselected.
    // Returns the chosen index 0..7, or -1 when cancelled.
    virtual int RunLessonSelectDialog(const std::array<std::string, 8>& labels) = 0;
    // Custom lesson start, over the user's registered lessons (the dialog may drop entries
    // whose files are gone and save the settings). On "開始": true, strPath the file-system
    // path (UTF-8) and nMode 0 for all questions in order, 1 for 20 random ones.
    virtual bool RunCustomStartDialog(CUserSettings& settings, std::string& strPath,
                                      int& nMode) = 0;
};

}  // namespace kibiki
