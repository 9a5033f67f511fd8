#pragma once
// How fast and how surely each key is typed, from the practice log: per key (a kana key in the
// kana modes, a letter in the romaji modes) and per kana unit (き = KI), the median time of its
// latest presses, its miss rate and a confidence against the user's target; and the slowest
// pairs of keys.
//
// A press is timed from the key judged before it. Left out of the times: the first key of a
// question (its time holds the reading of the question), a key after a wrong one, and a key
// after a pause of more than two seconds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "practice_log/logged_run.h"

namespace kibiki {

constexpr int kSpeedPresses = 200;          // a key's figures come from its latest presses
constexpr std::uint32_t kPauseMs = 2000;    // a longer gap is a pause, not typing
constexpr int kPairMinSamples = 20;         // a pair is ranked from this many timed presses
constexpr std::size_t kSlowPairs = 10;
constexpr std::size_t kSpeedWindowKeys = 200000;  // the newest keys of the mode read from the log
constexpr int kConfidenceMinTimed = 5;      // fewer timed presses give no confidence

struct KeySpeed {
    std::string strKey;  // CP932: the key's kana legend, the letter, or the kana unit
    int nCap = -1;       // the cap it is typed on; -1 for a unit
    int nMedianMs = 0;   // 0 when no press was timed
    int nTimed = 0;      // presses timed (latest kSpeedPresses)
    int nDue = 0;        // times it was due (latest kSpeedPresses presses), right or wrong
    int nMissed = 0;     // of those, wrong
    double dConfidence = 0;  // target ÷ median, 0 when not known
    double MissRate() const { return nDue ? static_cast<double>(nMissed) / nDue : 0.0; }
};

struct KeyPair {
    int nFromCap = -1, nToCap = -1;
    std::string strFrom, strTo;  // CP932, as KeySpeed::strKey
    int nMedianMs = 0;
    int nSamples = 0;
};

struct SpeedFigures {
    std::vector<KeySpeed> keys;   // by cap in the kana modes, by letter in the romaji modes
    std::vector<KeySpeed> units;  // the romaji modes of a kana reading; most due first
    std::vector<KeyPair> slowPairs;  // slowest first, at most kSlowPairs
    int nTargetMs = 0;      // the target used for the confidences
    int nUserMedianMs = 0;  // the median of the keys' medians: the target when none is set
    std::size_t nKeysRead = 0;
    bool Empty() const { return keys.empty(); }
};

// runs: the mode's runs, newest first (PracticeLog::ReadRuns). target: the user's (ms).
SpeedFigures ComputeSpeedFigures(const std::vector<LoggedRun>& runs, PracticeMode mode,
                                 std::optional<int> target);

// The label of a key as the figures name it (CP932).
std::string SpeedKeyLabel(PracticeMode mode, unsigned char chDue);

}  // namespace kibiki
