#pragma once
// The built-in lessons: which string ids each lesson of each practice mode asks, their titles,
// and the random draw shared by built-in and custom lessons.
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "kana/practice_mode.h"

namespace kibiki {

// First and last string id (inclusive) of built-in lesson nLesson (1-7) in a mode; false for
// any other lesson. A mode outside the five asks the lessons of romaji with kanji.
bool LessonIdRange(PracticeMode mode, int nLesson, int& nFirstId, int& nLastId);

// One of n entries, 0..n-1, from the next 32-bit output r: floor(r * n / 2^32). 0 when n < 1.
inline int DrawIndex(std::mt19937& rng, int n) {
    if (n < 1) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(rng()) * static_cast<std::uint64_t>(n)) >> 32);
}

// Title of a restarted built-in lesson (1-7): the same text the lesson-select dialog gives it.
std::string LessonTitle(int nLesson, PracticeMode mode);

// The eight radio labels of the lesson-select dialog for a mode: the built-in lessons, then the
// custom lesson.
std::array<std::string, 8> LessonSelectLabels(PracticeMode mode);

}  // namespace kibiki
