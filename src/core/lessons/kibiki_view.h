#pragma once
// The practice view: the run state that belongs to the window, the keystroke judge and the
// flows that start, finish and stop a run, and the keyboard guide. It reaches the screen only
// through PracticeForm.
#include <string>

#include "kana/practice_mode.h"
#include "lessons/practice_form.h"

namespace kibiki {

class CKibikiDoc;
class Clock;
class KeyboardLayout;

class CKibikiView {
public:
    CKibikiView(CKibikiDoc& doc, PracticeForm& form, KeyboardLayout& layout, Clock& clock);
    CKibikiView(const CKibikiView&) = delete;
    CKibikiView& operator=(const CKibikiView&) = delete;

    // --- the keystroke judge: every typed byte, right or wrong ---
    void OnTypedChar(unsigned char ch);

    // --- runs ---
    // Ctrl+N: the lesson-select dialog, then the run. The first call (the document made at
    // start-up) shows nothing. Always true: the document is ready.
    bool OnNewDocument();
    // pTitle: the title line's new text, or null to keep it.
    void StartRun(const std::string* pTitle);
    void RestartRun();
    void StopRun();
    // The lesson is complete, or the user chose "レッスンの終了" (then asks first).
    void FinishRun();
    // "オリジナルレッスン": the custom-start dialog, the lesson file, then the run.
    void StartCustomLesson();

    // Menu states: "レッスンの開始" and "レッスンの終了".
    bool CanStartLesson() const { return !m_bRunning; }
    bool CanEndLesson() const { return m_bRunning; }

    // --- keyboard guide ---
    void AdvanceGuide();
    void GuideChar(unsigned char ch, bool bOn);
    void ShowKeyLegends();
    void ApplyKeyColors(bool bColor);
    void ApplyHomeMarkers();
    // After a user's settings were loaded: markers, colour copies, mode, Font, RomanMode,
    // Color, legends and key colours, in that order. The ui sizes the fonts for Font itself.
    void ApplySettings();

    // --- view-side run state ---
    bool m_bRunning = false;
    bool m_bMissMarked = false;
    unsigned char m_chMissKey = 0;  // last wrong key, after case folding
    bool m_bFirstKey = false;
    int m_nCaretLine = 0;
    int m_nAnswerStart = 0;
    bool m_bShiftLit = false;
    PracticeMode m_nSavedType = PracticeMode::KanaInput;  // the mode before a custom lesson
    int m_nFont = 3;         // lines the question box shows: 1 large, 2 medium, 3 small
    bool m_bColor = false;   // colour the keyboard by finger
    COLORREF m_colorL[4] = {0, 0, 0, 0};                  // legend colour per finger group
    COLORREF m_colorLG[4] = {0xFF, 0xFF, 0xFF, 0xFF};     // legend colour of the lit key

    // The lines a page of the question box shows; the window sizes its fonts by it.
    int PageLines() const;

private:
    void SetProgressForQuestion();
    bool RightKey();  // false when the lesson ended
    void WrongKey(unsigned char ch, unsigned char expected);
    // The mode in force before a custom lesson changed it, and its legends.
    void RestoreSavedType();
    // Key cap index 0-47 of a character, or -1: a space and characters on no cap have none.
    int CapOf(unsigned char ch) const;
    void LightWithShift(int nCap, bool bOn);
    void LightPlain(unsigned char ch, bool bOn);
    void LightFinger(int nCap, bool bOn);
    COLORREF LegendColor(int nGroup, bool bOn) const;

    CKibikiDoc& m_doc;
    PracticeForm& m_form;
    KeyboardLayout& m_layout;
    Clock& m_clock;
};

}  // namespace kibiki
