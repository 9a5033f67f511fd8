#pragma once
// What a run practises, chosen once when it starts: where the questions come from, the practice
// mode, the order they are asked in, the title and the name the history gives it. The rules'
// lesson number (lesson_number.h) stays the history line's and the lesson menu's view of it.
#include <string>
#include <string_view>
#include <vector>

#include "kana/practice_mode.h"

namespace kibiki {

enum class LessonSource {
    BuiltIn,       // the catalogue's lesson 1-7 of the mode
    File,          // a registered or browsed lesson file
    WeakKeyDrill,  // built-in entries chosen from the user's missed keys
    TimedTest,     // a test passage typed against the clock
};

enum class QuestionOrder {
    All,       // every question, in order
    Random20,  // twenty drawn at random as the run goes (a question may come again)
    Drawn,     // drawn once before the run, then asked in that order
};

// The questions of a file or a drill: one reading per question, and in the kanji modes the
// kanji text of each (empty where the line had none).
struct LessonTexts {
    std::vector<std::string> aReadings;  // CP932
    std::vector<std::string> aKanji;     // CP932; the kanji modes only
};

struct Lesson {
    LessonSource source = LessonSource::BuiltIn;
    PracticeMode mode = PracticeMode::KanaInput;
    int nNumber = 1;  // the rules' lesson number: 1-7 built-in, 8 in order, 9 drawn at random
    QuestionOrder order = QuestionOrder::All;
    std::string strTitle;        // the title line (CP932)
    std::string strHistoryName;  // a file's or drill's name in the history (CP932)
    bool bEnglish = false;       // a romaji lesson file typed as English text
    LessonTexts texts;           // File, WeakKeyDrill and TimedTest
    int nTimeLimitSec = 0;       // TimedTest: the run ends this long after its first key

    // The history line's lesson field: "<lesson><mode>" for a built-in lesson (a mode outside
    // the five recorded as the one practised), else the name.
    std::string HistoryKey() const;
    // Questions come as the catalogue's entries, asked with the user's fixed spellings as the
    // built-in lessons are, whatever their source.
    bool BuiltInTexts() const { return source != LessonSource::File && source != LessonSource::TimedTest; }
};

// A built-in lesson of a mode (title: the lesson-select dialog's label).
Lesson BuiltInLesson(PracticeMode mode, int nNumber);

// A catalogue entry or lesson-file line of a kanji mode, "kanji,reading": the kanji text and
// the reading. A line without a comma is all reading. A comma byte is never the second byte of
// a double-byte character, so the first one splits.
void SplitKanjiReading(std::string_view line, std::string& strKanji, std::string& strReading);

}  // namespace kibiki
