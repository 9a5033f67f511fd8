#pragma once
// The timed test's result measured the ways Japanese typing tests measure: characters of the
// finished text per 10 minutes with a deduction per mistake by grade, characters per minute in
// contest bands, keystrokes per minute and accuracy. The yardsticks are data
// (resources/test_scoring.tsv).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

struct TestGrade {
    std::string strSet;    // CP932: the rule set's name
    std::string strGrade;  // CP932
    int nPassLine = 0;     // characters per 10 minutes
    int nDeduction = 0;    // characters less per mistake
};

struct TestBand {
    std::string strSet;   // CP932
    std::string strBand;  // CP932
    int nPerMinute = 0;   // characters per minute
};

struct TestYardsticks {
    std::vector<TestGrade> grades;  // each set's grades lowest first, sets in table order
    std::vector<TestBand> bands;    // likewise
};

// The compiled-in table; rows that do not parse are left out.
const TestYardsticks& DefaultYardsticks();

// What a timed run did.
struct TestTally {
    int nChars = 0;             // characters of the finished text (a kanji is one)
    int nKana = 0;              // characters of the readings typed
    double dKeystrokes = 0;     // right keystrokes of the finished text
    int nMisses = 0;
    std::uint32_t dwElapsedMs = 0;  // the time measured: the limit when it ran out
};

struct TestSetResult {
    std::string strSet;      // CP932
    std::string strReached;  // CP932: the highest grade or band reached; empty: none
};

struct TestScore {
    int nChars = 0;
    int nMisses = 0;
    double dCharsPer10Min = 0;
    double dCharsPerMinute = 0;
    double dKeysPerMinute = 0;
    double dKanaPerMinute = 0;
    double dAccuracy = 0;
    std::vector<TestSetResult> sets;  // one per rule set, grade sets first
    // The first grade set's next grade: the characters per 10 minutes still missing and its
    // name; nShort 0 when its highest grade is reached.
    int nShort = 0;
    std::string strNextGrade;
};

TestScore ScoreTimedTest(const TestTally& tally, const TestYardsticks& yardsticks = DefaultYardsticks());

// "あと 42字で3級の目安"; empty when no grade lies ahead (CP932).
std::string NextGradeText(const TestScore& score);
// "3級の目安", or that none was reached (CP932).
std::string ReachedText(const TestSetResult& set);

// The countdown of the title box: "残り 9:59" from the milliseconds left, whole seconds rounded
// up so that "0:00" shows only at the end (CP932).
std::string CountdownText(std::uint32_t dwLeftMs);

// The history's name of a test of that many minutes: "腕試し10分" (CP932).
std::string TimedTestName(int nMinutes);

// Characters of a CP932 text, a double-byte character one.
int CountChars(std::string_view text);

}  // namespace kibiki
