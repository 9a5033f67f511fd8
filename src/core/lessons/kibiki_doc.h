#pragma once
// The document: the run record, the romaji matcher and the current user's settings.
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kana/kanji_segments.h"
#include "kana/romaji_matcher.h"
#include "lessons/lesson_run.h"
#include "platform/regular_file.h"
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
    // After a right key (before the run moves the matcher to its next letter): moves the kana
    // position on and gives the answer text and the caret offset.
    void AdvanceAnswer(std::string& strAnswer, int& nCaret);

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
        std::string strKanaSpeed; // kana per minute, "85／分"; empty in romaji input
        std::string strAccuracy;  // "95％"
        std::string strDate;      // "2004年05月06日 09:07"; empty when not convertible
        bool bNoNext = false;     // no lesson after this one
    };
    Evaluation Evaluate(Messenger& confirm);
    // Missed keys, most missed first: display lines "A…3回\r\n" with ",\r\n" after the third,
    // and the history field "A K  3 2 " (" " when none).
    void SummariseMisses(std::string& strDisplay, std::string& strHistory) const;

    // Reads a lesson file (UTF-8 path; the file CP932 or UTF-8) into the line and kanji lists
    // and sets the custom lesson name. Returns its practice mode 0-4, 5 when the header is none
    // of the five, -1 when the file cannot be read (pFault, when given, says why: a folder, a
    // FIFO or device, a file over kLessonFileCap ...). strTitle: line 2, or "オリジナルレッスン".
    int ReadLessonFile(const std::string& strPath, std::string& strTitle, FileFault* pFault = nullptr);
    // Far above any word list a person writes; what lies beyond is no lesson.
    static constexpr std::size_t kLessonFileCap = 16u << 20;

    std::vector<std::string> m_aLessonLines;  // header, name, then one reading per question
    std::vector<std::string> m_aLessonKanji;  // kanji modes: kanji text of reading i + 2
    // The first question line of a UTF-8 file that held a character CP932 lacks, shown with 〓
    // in its place; empty when none did.
    std::string m_strLostLine;
    int m_nFirstId = 0;   // built-in lesson: first and last string id
    int m_nLastId = 0;
    int m_nDrawSize = 0;  // entries a random draw chooses from
    std::mt19937 m_rng;   // shared by every draw; seeded at each run start
    bool m_bFirstNewDocument = true;  // the new document made at start-up shows no dialog
    Clock* m_pClock = nullptr;

    // --- state ---

    LessonRun m_run;
    CUserSettings m_settings;
    bool m_bRomanMode = true;
    // The custom lesson lists hold built-in entries (the weak-key drill): romaji input asks them
    // as they stand, like the built-in lessons.
    bool m_bBuiltInTexts = false;  // "RomanMode": fixed spelling, one per kana, no learning

    // The matcher's side of the user: spellings from m_settings, learning saved at once,
    // faulty texts told through m_pMessenger.
    RomajiUser m_romajiUser;
    CRomajiMatcher m_matcher{&m_romajiUser};  // the romaji modes' expected letters
    CKanjiSegments m_segments;                // the kanji modes' runs of the current question

    Messenger* m_pMessenger = nullptr;    // faulty question texts
    KeyboardState* m_pKeyboard = nullptr;  // kana lock

private:
    // Loads question q (from 0) into the run record; false when it cannot be typed.
    bool LoadQuestion(int nQuestion, std::string& strDisplay);

    // The kana part of the answer: the reading up to m_nKanaPos, or in the kanji modes the
    // completed kanji runs and the reading of the run being typed.
    void AppendKanaPart(std::string& strOut);
    void ReportLongText(const std::string& strDisplay);
};

// The longest question a box is given, in bytes of its display text: a page must be laid out
// at once, and a window may not freeze on a line of a lesson file that never ends.
constexpr std::size_t kMaxQuestionBytes = 4096;

}  // namespace kibiki
