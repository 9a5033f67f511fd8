#pragma once
// The practice view: the run state that belongs to the window, the keystroke judge and the
// flows that start, finish and stop a run, and the keyboard guide. It reaches the screen only
// through PracticeForm.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "lessons/keystroke_stream.h"
#include "lessons/lesson.h"
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
    // Starts a run of the lesson: its mode's legends, its title, its first question. False when
    // it did not start (the user was told why); the keyboard then shows the user's mode again.
    bool StartLesson(Lesson lesson);
    void RestartRun();
    void StopRun();
    // The lesson is complete, or the user chose "レッスンの終了" (then asks first).
    void FinishRun();
    // "オリジナルレッスン": the custom-start dialog, the lesson file, then the run.
    void StartCustomLesson();

    // --- timed tests ---
    // The ui's tick, a few times a second: the countdown, and the end at the limit without a key.
    void OnTimer();
    // Esc: stops a timed test (recorded as stopped); false when it meant nothing.
    bool OnEscape();
    bool IsTimedTest() const;

    // Menu states: "レッスンの開始" and "レッスンの終了".
    bool CanStartLesson() const { return !m_bRunning; }
    bool CanEndLesson() const { return m_bRunning; }
    bool IsRunning() const { return m_bRunning; }
    // The next key is the run's first since it (re)started: in the kana modes it is read as
    // the kana its key types, whether the kana lock was on or not.
    bool AwaitsFirstKey() const { return m_bFirstKey; }
    // The mode the keyboard shows: the run's while one runs, else the user's.
    PracticeMode ShownMode() const;

    // Every judged key of every run, and each run's start and end. A listener stays until it
    // is removed; it must outlive its registration.
    void AddListener(KeystrokeListener* pListener);
    void RemoveListener(KeystrokeListener* pListener);

    // --- keyboard guide ---
    void AdvanceGuide();
    void GuideChar(unsigned char ch, bool bOn);
    void ShowKeyLegends();
    void ApplyKeyColors(bool bColor);
    // Legend colours per finger group, idle and lit, used while the keyboard is coloured by
    // finger; ColorKeys: the keyboard is coloured by finger.
    void SetLegendColors(const std::array<COLORREF, 4>& colorL, const std::array<COLORREF, 4>& colorLG);
    const std::array<COLORREF, 4>& LegendColors() const { return m_colorL; }
    const std::array<COLORREF, 4>& LitLegendColors() const { return m_colorLG; }
    bool ColorKeys() const { return m_bColor; }
    void SetColorKeys(bool bColor) { m_bColor = bColor; }
    // The lit cap (and its SHIFT cap) drawn with a thick frame as well.
    bool FramesNextKey() const { return m_bFrameNext; }
    void SetFramesNextKey(bool bFrame) { m_bFrameNext = bFrame; }
    void ApplyHomeMarkers();
    // After a user's settings were loaded: markers, colour copies, mode, Font, RomanMode,
    // Color, NextKeyFrame, legends and key colours, in that order. The ui sizes the fonts for Font itself.
    void ApplySettings();

    // The lines a page of the question box shows; the window sizes its fonts by it.
    int PageLines() const;
    // Font as stored: 1 large, 2 medium, 3 small (PageLines reads any other value as 3).
    int Font() const { return m_nFont; }
    void SetFont(int nFont) { m_nFont = nFont; }

    // A line the lesson-end dialog adds under the figures (CP932; empty: none), asked once the
    // run's history line is written: the daily goal, which the layers above keep.
    void SetLessonEndNote(std::function<std::string()> fnNote) { m_fnLessonEndNote = std::move(fnNote); }

private:
    // pTitle: the title line's new text, or null to keep it.
    void StartRun(const std::string* pTitle);
    void SetProgressForQuestion();
    bool RightKey();  // false when the lesson ended
    void WrongKey(unsigned char ch, unsigned char expected);
    void ShowLegendsOf(PracticeMode mode);
    // Tells the listeners the run ended, once per run.
    void EndRun(RunEnd end);
    // The timed test's limit passed (or its text was finished): the result, the history line.
    bool TimeIsUp() const;
    void EndTimedTest();
    void TellRunStart();
    // Key cap index 0-47 of a character, or -1: a space and characters on no cap have none.
    int CapOf(unsigned char ch) const;
    void LightWithShift(int nCap, bool bOn);
    void LightPlain(unsigned char ch, bool bOn);
    void LightFinger(int nCap, bool bOn);
    void UnlightShiftCaps();
    COLORREF LegendColor(int nGroup, bool bOn) const;

    bool m_bRunning = false;
    bool m_bRunOpen = false;  // started and its end not yet told
    bool m_bMissMarked = false;
    unsigned char m_chMissKey = 0;  // last wrong key, after case folding
    bool m_bFirstKey = false;
    int m_nCaretLine = 0;
    int m_nAnswerStart = 0;
    bool m_bShiftLit = false;
    int m_nFont = 3;
    bool m_bColor = false;
    bool m_bFrameNext = false;
    std::array<COLORREF, 4> m_colorL{0, 0, 0, 0};
    std::array<COLORREF, 4> m_colorLG{0xFF, 0xFF, 0xFF, 0xFF};
    std::vector<KeystrokeListener*> m_listeners;
    bool m_bQuestionStart = false;  // no key judged yet in the question shown
    std::function<std::string()> m_fnLessonEndNote;
    std::string m_strCountdown;  // the title box's text while a timed test runs
    bool m_bTestEnding = false;  // the result dialog is open: a late tick must not end it again

    CKibikiDoc& m_doc;
    PracticeForm& m_form;
    KeyboardLayout& m_layout;
    Clock& m_clock;
};

}  // namespace kibiki
