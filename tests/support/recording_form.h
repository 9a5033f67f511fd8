#pragma once
// A PracticeForm that keeps what the window would show and writes every call as one readable
// UTF-8 line, so a whole run can be compared as one transcript. Controls are named by
// ControlName. For tests and benchmarks.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lessons/practice_form.h"

namespace kibiki {

class RecordingPracticeForm : public PracticeForm {
public:
    // --- what the window shows now ---
    std::map<int, std::string> m_texts;       // CP932
    std::map<int, COLORREF> m_textColors;
    std::map<int, COLORREF> m_backColors;
    std::set<int> m_sunken;
    std::set<int> m_framed;
    struct Marker { COLORREF color = 0; bool bVisible = false; };
    std::map<int, Marker> m_markers;
    int m_nProgressLower = 0, m_nProgressUpper = 100, m_nProgressPos = 0, m_nProgressStep = 10;
    bool m_bMenusEnabled = true;
    int m_nQuestionTopLine = 0;
    int m_nBeeps = 0;

    // --- how the question box wraps: bytes per line; 0 keeps the whole text on one line ---
    int m_nLineBytes = 0;
    COLORREF m_buttonFace = 0xF0F0F0;

    // --- answers of the dialogs and message boxes, taken from the front; when a queue is
    // empty: message boxes answer Ok or Yes, the lesson end "やめる", the lesson select and
    // the custom start cancel ---
    std::deque<MsgResult> m_msgAnswers;
    std::deque<int> m_lessonEndAnswers;
    LessonEndInfo m_lastLessonEnd;  // what the lesson-end dialog was last given
    std::vector<TimedTestResultInfo> m_timedResults;  // every timed-test result shown
    std::deque<int> m_lessonSelectAnswers;
    struct CustomStart { std::string strPath; int nMode = 0; };
    std::deque<CustomStart> m_customStartAnswers;

    // --- the transcript ---
    bool m_bRecord = true;            // off: keep state only (benchmarks)
    std::vector<std::string> m_log;   // UTF-8 lines
    std::string Transcript() const;   // lines joined with '\n'
    // Only the lines that start with one of the prefixes, joined with '\n'.
    std::string Lines(std::initializer_list<const char*> prefixes) const;
    std::string Text(int nId) const;  // current text as UTF-8

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
    COLORREF ButtonFaceColor() override { return m_buttonFace; }
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

private:
    void Log(std::string line);
};

// "1A2B3C" style six hex digits of a COLORREF, as the transcript writes colours.
std::string ColorText(COLORREF color);

}  // namespace kibiki
