#pragma once
// The timed test as a lesson: a test passage typed as one long text against the clock.
#include <string>
#include <string_view>

#include "kana/practice_mode.h"
#include "lessons/lesson.h"
#include "lessons/lesson_file.h"
#include "lessons/practice_form.h"
#include "lessons/test_passages.h"
#include "lessons/test_score.h"

namespace kibiki {

class Messenger;


// The lengths offered, in minutes.
inline constexpr int kTestMinutes[] = {1, 3, 5, 10};

// What the "腕試し" dialog chose.
struct TimedTestChoice {
    int nMinutes = 10;
    bool bRomaji = false;
    int nPassage = -1;    // an index into TestPassages(); -1: one drawn at random
    std::string strFile;  // a registered lesson file (UTF-8 path) as the text instead
};

// The dialog's first choice: romaji input for a user who practises a romaji mode.
TimedTestChoice DefaultTestChoice(PracticeMode userMode);

// The lesson the choice means; the passage drawn with nDraw (any number) when it is random.
// False when there is no such passage or length, or when the lesson file cannot be read or
// holds nothing the input can type (the user is told why through pMessenger). strSeparator:
// the user's reading separator of lesson files.
bool ChosenTestLesson(const TimedTestChoice& choice, unsigned nDraw, std::string_view strSeparator, Lesson& lesson,
                      Messenger* pMessenger = nullptr);

// A test over a lesson file's question lines, each a sentence ("kanji,reading" in a kanji lesson
// file, a reading in the others), the lines the input cannot type left out; no texts when none
// is left.
Lesson FileTestLesson(const LessonFile& file, bool bRomaji, int nMinutes, std::string_view strSeparator);

// A test of nMinutes over the passage, typed in the kanji mode of the input (kana or romaji).
Lesson TimedTestLesson(const TestPassage& passage, bool bRomaji, int nMinutes);

// The result dialog's rows from a score (CP932); nBestSpeed: the best keystrokes per minute of
// the same test before, -1 for none.
TimedTestResultInfo ResultInfo(const std::string& strTitle, const TestScore& score, int nBestSpeed);

}  // namespace kibiki
