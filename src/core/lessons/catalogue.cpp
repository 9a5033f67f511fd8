#include "lessons/catalogue.h"

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

struct ModeRanges {
    int base;
    int first[7];
    int last[7];
};

// Lesson 7 of mode 2 asks the general list of mode 0, and lesson 7 of mode 4 that of mode 3.
constexpr ModeRanges kRanges[5] = {
    {41100, {0, 20, 40, 60, 80, 100, 120}, {19, 39, 59, 79, 99, 119, 219}},
    {41000, {400, 420, 440, 460, 480, 500, 520}, {419, 439, 452, 475, 499, 519, 619}},
    {41000, {700, 720, 740, 760, 780, 800, 220}, {719, 739, 759, 769, 799, 819, 319}},
    {42100, {0, 20, 40, 60, 80, 100, 120}, {19, 39, 59, 79, 99, 119, 219}},
    {42000, {700, 720, 740, 760, 780, 800, 220}, {719, 739, 759, 769, 799, 819, 319}},
};

}  // namespace

bool LessonIdRange(int nType, int nLesson, int& nFirstId, int& nLastId) {
    if (nType < 0 || nType > 4 || nLesson < 1 || nLesson > 7) return false;
    const ModeRanges& r = kRanges[nType];
    nFirstId = r.base + r.first[nLesson - 1];
    nLastId = r.base + r.last[nLesson - 1];
    return true;
}

std::string LessonTitle(int nLesson, int nType) {
    if (nLesson < 1 || nLesson > 7) return {};
    if (nType == 0 && (nLesson == 1 || nLesson == 6))
        return StringOrEmpty(IDS_TITLE_KANA_FIRST - 1 + nLesson);
    return StringOrEmpty(IDS_TITLE_FIRST - 1 + nLesson);
}

std::array<std::string, 8> LessonSelectLabels(int nType) {
    std::array<std::string, 8> labels;
    for (int i = 0; i < 7; ++i) labels[i] = LessonTitle(i + 1, nType);
    labels[7] = StringOrEmpty(IDS_CUSTOM_LESSON);
    return labels;
}

}  // namespace kibiki
