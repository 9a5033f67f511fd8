#pragma once
// One run as the practice log keeps it: what was practised, how it went, and every judged key.
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "kana/practice_mode.h"
#include "lessons/keystroke_stream.h"

namespace kibiki {

// One judged key, small and fixed-size so that recording it never allocates.
struct LoggedKey {
    enum : std::uint8_t {
        kRight = 1,
        kQuestionStart = 2,  // the first key judged in a question (its time includes reading it)
        kUnitStart = 4,      // the first key judged of a kana or kana unit
    };
    std::uint32_t nMs = 0;  // since the previous judged key of the run; 0 for the run's first
    std::int8_t nCap = -1;  // the cap pressed, -1 none
    std::uint8_t chTyped = 0;
    std::uint8_t chDue = 0;
    std::uint8_t nFlags = 0;
    std::array<char, 8> unit{};  // the kana or kana unit due (CP932), NUL-padded
    std::uint8_t nUnitLen = 0;

    bool Right() const { return nFlags & kRight; }
    bool QuestionStart() const { return nFlags & kQuestionStart; }
    bool UnitStart() const { return nFlags & kUnitStart; }
    std::string_view Unit() const { return {unit.data(), nUnitLen}; }
};


struct LoggedRun {
    std::time_t tStart = 0;  // calendar time of the first key (of the run's start without keys)
    std::time_t tEnd = 0;
    PracticeMode mode{};
    std::string strSource;  // "built-in", "file", "drill", "test"
    std::string strLesson;  // the name the history gives it, UTF-8
    int nKeystrokes = 0;    // right keys, as the lesson counts them
    int nMisses = 0;
    int nKanaTyped = 0;
    std::int64_t nElapsedMs = 0;
    int nChars = -1;        // a test's characters of whole sentences; -1: not counted
    RunEnd end = RunEnd::Stopped;
    std::vector<LoggedKey> keys;
};

const char* RunEndName(RunEnd end);
bool RunEndFromName(std::string_view name, RunEnd& end);

}  // namespace kibiki
