#pragma once
// Lesson numbers (m_nLesson): 1-7 the built-in lessons of the practice mode, 8 and 9 a custom
// lesson file.
namespace kibiki {

constexpr int kFirstLesson = 1;
constexpr int kGeneralLesson = 7;         // the last built-in lesson: 20 questions drawn at random
constexpr int kCustomLessonInOrder = 8;   // every question of the file, in file order
constexpr int kCustomLessonRandom = 9;    // 20 questions drawn from the file

constexpr bool IsBuiltInLesson(int nLesson) { return nLesson >= kFirstLesson && nLesson <= kGeneralLesson; }
constexpr bool IsCustomLesson(int nLesson) {
    return nLesson == kCustomLessonInOrder || nLesson == kCustomLessonRandom;
}
constexpr bool IsGeneralLesson(int nLesson) { return nLesson == kGeneralLesson; }
constexpr bool IsDrawnAtRandom(int nLesson) {
    return nLesson == kGeneralLesson || nLesson == kCustomLessonRandom;
}
// The lesson-end dialog offers "次のレッスン" up to the general lesson, never after a custom one.
constexpr bool HasNextLesson(int nLesson) { return nLesson < kGeneralLesson; }

}  // namespace kibiki
