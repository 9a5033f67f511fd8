#pragma once
// The timed test as a lesson: a test passage typed as one long text against the clock.
#include "kana/practice_mode.h"
#include "lessons/lesson.h"
#include "lessons/practice_form.h"
#include "lessons/test_passages.h"
#include "lessons/test_score.h"

namespace kibiki {


// The lengths offered, in minutes.
inline constexpr int kTestMinutes[] = {1, 3, 5, 10};

// What the "腕試し" dialog chose.
struct TimedTestChoice {
    int nMinutes = 10;
    bool bRomaji = false;
    int nPassage = -1;  // an index into TestPassages(); -1: one drawn at random
};

// The dialog's first choice: romaji input for a user who practises a romaji mode.
TimedTestChoice DefaultTestChoice(PracticeMode userMode);

// The lesson the choice means; the passage drawn with nDraw (any number) when it is random.
// False when there is no such passage or length.
bool ChosenTestLesson(const TimedTestChoice& choice, unsigned nDraw, Lesson& lesson);

// A test of nMinutes over the passage, typed in the kanji mode of the input (kana or romaji).
Lesson TimedTestLesson(const TestPassage& passage, bool bRomaji, int nMinutes);

// Characters of the text of the first nDone questions (the kanji text where there is one).
int FinishedChars(const LessonTexts& texts, int nDone);

// The result dialog's rows from a score (CP932); nBestSpeed: the best keystrokes per minute of
// the same test before, -1 for none.
TimedTestResultInfo ResultInfo(const std::string& strTitle, const TestScore& score, int nBestSpeed);

}  // namespace kibiki
