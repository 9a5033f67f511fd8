#include "lessons/lesson.h"

#include "lessons/catalogue.h"
#include "lessons/lesson_number.h"

namespace kibiki {

std::string Lesson::HistoryKey() const {
    if (source == LessonSource::BuiltIn && IsBuiltInLesson(nNumber))
        return std::to_string(nNumber) + std::to_string(ModeValue(KnownMode(mode)));
    return strHistoryName;
}

Lesson BuiltInLesson(PracticeMode mode, int nNumber) {
    Lesson lesson;
    lesson.mode = mode;
    lesson.nNumber = nNumber;
    lesson.order = IsDrawnAtRandom(nNumber) ? QuestionOrder::Random20 : QuestionOrder::All;
    lesson.strTitle = LessonTitle(nNumber, mode);
    return lesson;
}

void SplitKanjiReading(std::string_view line, std::string& strKanji, std::string& strReading) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        strKanji.clear();
        strReading.assign(line);
        return;
    }
    strKanji.assign(line.substr(0, comma));
    strReading.assign(line.substr(comma + 1));
}

}  // namespace kibiki
