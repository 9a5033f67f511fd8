#pragma once
// The document: the run record, the romaji matcher and the current user's settings.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kana/kanji_segments.h"
#include "kana/romaji_matcher.h"
#include "lessons/lesson.h"
#include "lessons/lesson_run.h"
#include "users/history_record.h"
#include "users/user_settings.h"

namespace kibiki {

class Clock;
class KeyboardState;
class Messenger;
class PracticeForm;

class CKibikiDoc {
public:
    CKibikiDoc();
    CKibikiDoc(const CKibikiDoc&) = delete;
    CKibikiDoc& operator=(const CKibikiDoc&) = delete;

    // --- keystroke judge (lessons/judge.cpp) ---

    // Judges one typed byte; expected receives the key that was due (0 when none is).
    // A wrong key changes nothing.
    bool IsExpectedKey(unsigned char ch, unsigned char& expected);
    // The key due next, without judging.
    unsigned char NextExpectedKey() const;
    // After a right key: moves the kana position and the matcher's letter on and gives the
    // answer text and the caret offset.
    void AdvanceAnswer(std::string& strAnswer, int& nCaret);
    // What is being typed (CP932): the kana due in the kana modes, the kana unit of the letter
    // due in the romaji modes of a reading; empty for letters typed as they stand.
    std::string_view DueKana() const;

    // --- question texts ---

    // The matcher's BuildRoman with the user's fixed-spelling choice; a custom romaji-input
    // lesson's question text also becomes the letters built.
    bool BuildRoman(std::string& strText);
    // The reading separator besides "｜": a custom lesson's KanaSepa; none for the built-in.
    std::string_view KanaSeparator() const;

    // Forces the kana lock on in the kana modes, off in the others.
    void ApplyKanaLock(PracticeMode mode);

    // --- practice run (lessons/practice_run.cpp, evaluation.cpp, lesson_file.cpp) ---

    // Clears the run record and the matcher and loads the first question; strDisplay is empty
    // when the run cannot start. The remaining-question count goes to the form.
    void ResetRun(std::string& strDisplay, PracticeForm& form);
    // Seeds the generator with the calendar seconds, fixes the question count, shows it and
    // loads question 1.
    void FirstQuestion(PracticeForm& form, std::string& strDisplay);
    // Loads question m_nQuestionsDone + 1 and shows how many are left, the new one included.
    // False when the question cannot be typed; the user has been told which text is faulty.
    bool NextQuestion(PracticeForm& form, std::string& strDisplay);
    // After every right key. True when the lesson is over; bFaulty then says the next question
    // could not be typed (its message is shown) and the run must stop without evaluation.
    // strNext is the next question's display text when one was loaded.
    bool AdvanceQuestion(unsigned char& chGuide, std::string& strNext, std::string& strAccuracy,
                         PracticeForm& form, bool& bFaulty);

    // Scores the run. Incomplete runs ask pConfirm whether to end (Yes: Stop, No: Continue).
    struct Evaluation {
        enum Outcome { Complete, Stop, Continue } outcome = Continue;
        int nMessageId = 0;       // 43000-43004
        std::string strSpeed;     // "122／分"
        std::string strKanaSpeed; // kana per minute, "85字/分"; empty in romaji input
        std::string strAccuracy;  // "95％"
        std::string strDate;      // "2004年05月06日 09:07"; empty when not convertible
        bool bNoNext = false;     // no lesson after this one
    };
    Evaluation Evaluate(Messenger& confirm);
    // The run's missed keys, most missed first (evaluation.h).
    std::vector<MissedKey> SummariseMisses() const;

    // --- the run record's keystroke side, for the view ---
    // The first key of a run, right or wrong, starts its clock.
    void StartClock(std::int64_t tNow, std::uint32_t dwTick) {
        m_run.m_tStart = tNow;
        m_run.m_dwStartTick = dwTick;
    }
    // A timed test's end, which no completed question marks.
    void StopClock(std::uint32_t dwTick) { m_run.m_dwEndTick = dwTick; }
    // A timed test ended at its limit: the question being typed counts its keystrokes and kana
    // as far as it got, so that speed and accuracy cover the whole time (practice_run.cpp).
    void CountUnfinishedQuestion();
    void SetFinishedChars(int nChars) { m_run.m_nFinishedChars = nChars; }
    // A wrong key: counted, and tallied against the key that was due (0: none was).
    void CountMiss(unsigned char chExpected) {
        if (chExpected != 0) ++m_run.m_missedKeys[chExpected];
        ++m_run.m_nMisses;
    }
    // The key the keyboard guide lights (0: none).
    void SetGuideKey(unsigned char ch) { m_run.m_chGuideKey = ch; }

    // --- the lesson and the user ---

    // The lesson the next ResetRun starts (see lesson.h); kept until another is chosen.
    void SetLesson(Lesson lesson) { m_lesson = std::move(lesson); }
    const Lesson& CurrentLesson() const { return m_lesson; }
    // "次のレッスン": the built-in lesson after this one, with its title.
    void NextBuiltInLesson();

    // The user's practice mode (Type): what the lesson menu offers and the keyboard shows
    // between runs. A run practises its lesson's mode and leaves this one alone.
    PracticeMode UserMode() const { return m_userMode; }
    void SetUserMode(PracticeMode mode) { m_userMode = mode; }
    // "RomanMode": fixed spellings, one per kana, nothing learned.
    bool RomanMode() const { return m_bRomanMode; }
    void SetRomanMode(bool bFixed) { m_bRomanMode = bFixed; }

    CUserSettings& Settings() { return m_settings; }
    const CUserSettings& Settings() const { return m_settings; }
    const LessonRun& Run() const { return m_run; }
    const CRomajiMatcher& Matcher() const { return m_matcher; }
    const CKanjiSegments& Segments() const { return m_segments; }
    // The matcher's side of the user, wired to the settings record; also for a matcher built
    // beside the run's (the drill's letters). Tests may rewire it.
    const RomajiUser& RomajiCallbacks() const { return m_romajiUser; }
    RomajiUser& RomajiCallbacks() { return m_romajiUser; }

    // The start-up document shows no lesson dialog; true once, for the first new document.
    bool TakeFirstNewDocument() { return std::exchange(m_bFirstNewDocument, false); }

    // --- the machine ---
    void SetClock(Clock* pClock) { m_pClock = pClock; }
    Clock* GetClock() const { return m_pClock; }
    // Faulty question texts and the matcher's messages.
    void SetMessenger(Messenger* pMessenger) { m_pMessenger = pMessenger; }
    Messenger* GetMessenger() const { return m_pMessenger; }
    // The kana lock.
    void SetKeyboard(KeyboardState* pKeyboard) { m_pKeyboard = pKeyboard; }

private:
    // Tests and benchmarks: a question the loader refuses, a question rewound.
    friend struct DocTestPeer;

    // Loads question q (from 0) into the run record; false when it cannot be typed.
    bool LoadQuestion(int nQuestion, std::string& strDisplay);

    // The kana part of the answer: the reading up to m_nKanaPos, or in the kanji modes the
    // completed kanji runs and the reading of the run being typed.
    void AppendKanaPart(std::string& strOut);
    void ReportLongText(const std::string& strDisplay);

    Lesson m_lesson;
    PracticeMode m_userMode = PracticeMode::KanaInput;
    int m_nFirstId = 0;   // built-in lesson: first and last string id
    int m_nLastId = 0;
    int m_nDrawSize = 0;  // entries a random draw chooses from
    std::mt19937 m_rng;   // shared by every draw; seeded at each run start
    bool m_bFirstNewDocument = true;
    Clock* m_pClock = nullptr;

    LessonRun m_run;
    CUserSettings m_settings;
    bool m_bRomanMode = true;

    // The matcher's side of the user: spellings from m_settings, learning saved at once,
    // faulty texts told through m_pMessenger.
    RomajiUser m_romajiUser;
    CRomajiMatcher m_matcher{&m_romajiUser};  // the romaji modes' expected letters
    CKanjiSegments m_segments;                // the kanji modes' runs of the current question

    Messenger* m_pMessenger = nullptr;
    KeyboardState* m_pKeyboard = nullptr;
};

// The longest question a box is given, in bytes of its display text: a page must be laid out
// at once, and a window may not freeze on a line of a lesson file that never ends.
constexpr std::size_t kMaxQuestionBytes = 4096;

}  // namespace kibiki
