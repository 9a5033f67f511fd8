#pragma once
// The timed test as a lesson: a test passage typed as one long text against the clock.
#include "kana/practice_mode.h"
#include "lessons/lesson.h"
#include "lessons/practice_form.h"
#include "lessons/test_passages.h"
#include "lessons/test_score.h"

namespace kibiki {


// A test of nMinutes over the passage, typed in the kanji mode of the input (kana or romaji).
Lesson TimedTestLesson(const TestPassage& passage, bool bRomaji, int nMinutes);

// Characters of the text of the first nDone questions (the kanji text where there is one).
int FinishedChars(const LessonTexts& texts, int nDone);

// The result dialog's rows from a score (CP932).
TimedTestResultInfo ResultInfo(const std::string& strTitle, const TestScore& score);

}  // namespace kibiki
