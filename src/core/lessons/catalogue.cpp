#include "lessons/catalogue.h"

#include "lessons/lesson_number.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr int kBuiltInLessons = kGeneralLesson;

struct ModeRanges {
    int base;
    int first[kBuiltInLessons];
    int last[kBuiltInLessons];
};

// Lesson 7 of mode 2 asks the general list of mode 0, and lesson 7 of mode 4 that of mode 3.
constexpr ModeRanges kRanges[] = {
    {41100, {0, 20, 40, 60, 80, 100, 120}, {19, 39, 59, 79, 99, 119, 219}},
    {41000, {400, 420, 440, 460, 480, 500, 520}, {419, 439, 452, 475, 499, 519, 619}},
    {41000, {700, 720, 740, 760, 780, 800, 220}, {719, 739, 759, 769, 799, 819, 319}},
    {42100, {0, 20, 40, 60, 80, 100, 120}, {19, 39, 59, 79, 99, 119, 219}},
    {42000, {700, 720, 740, 760, 780, 800, 220}, {719, 739, 759, 769, 799, 819, 319}},
};
static_assert(std::size(kRanges) == ModeValue(PracticeMode::RomajiKanji) + 1);

// In kana input lessons 1 and 6 have titles of their own (no vowels; small kana).
constexpr bool kOwnKanaTitle[kBuiltInLessons] = {true, false, false, false, false, true, false};

}  // namespace

bool LessonIdRange(PracticeMode mode, int nLesson, int& nFirstId, int& nLastId) {
    if (!IsBuiltInLesson(nLesson)) return false;
    const ModeRanges& r = kRanges[ModeValue(KnownMode(mode))];
    nFirstId = r.base + r.first[nLesson - 1];
    nLastId = r.base + r.last[nLesson - 1];
    return true;
}

std::string LessonTitle(int nLesson, PracticeMode mode) {
    if (!IsBuiltInLesson(nLesson)) return {};
    if (mode == PracticeMode::KanaInput && kOwnKanaTitle[nLesson - 1])
        return StringOrEmpty(IDS_TITLE_KANA_FIRST - 1 + nLesson);
    return StringOrEmpty(IDS_TITLE_FIRST - 1 + nLesson);
}

std::array<std::string, 8> LessonSelectLabels(PracticeMode mode) {
    std::array<std::string, 8> labels;
    for (int lesson = kFirstLesson; lesson <= kGeneralLesson; ++lesson)
        labels[lesson - 1] = LessonTitle(lesson, mode);
    labels[kCustomLessonInOrder - 1] = StringOrEmpty(IDS_CUSTOM_LESSON);
    return labels;
}

}  // namespace kibiki
