#pragma once
// A timed test's sentences joined into one question, so that its text runs on from line to line
// in the question box as a long question does, and what a stop part way through has finished.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lessons/lesson.h"

namespace kibiki {

struct TestText {
    std::string strDisplay;         // CP932: kanji where a sentence has them, else its reading
    std::string strReading;         // CP932: "｜" wherever the display turns between kana and kanji
    std::vector<int> aReadingEnds;  // each sentence's end in the reading without its separators
    std::vector<int> aChars;        // each sentence's characters as shown
};

// The sentences in order, the empty ones left out, while the display keeps within nMaxBytes
// (the first is always taken, so that one too long is told as such). strSeparator: the reading
// separator besides "｜". A sentence whose reading does not split as its kanji do is shown as
// its reading, so that the runs of the sentences after it still pair up.
TestText JoinTestText(const LessonTexts& texts, std::string_view strSeparator, std::size_t nMaxBytes);

// Characters of the whole sentences typed when the reading was typed up to nKanaPos (a byte
// offset in the reading without separators).
int FinishedChars(const TestText& text, int nKanaPos);

}  // namespace kibiki
