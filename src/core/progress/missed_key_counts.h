#pragma once
// How often each key cap was missed over the latest runs of one practice mode, from the missed
// keys the history records (a key as the lesson-end dialog names it: ち, ゛, A, ・, スペース).
#include <array>
#include <cstddef>
#include <string_view>

#include "kana/practice_mode.h"
#include "users/history_record.h"

namespace kibiki {

constexpr std::size_t kAllRuns = 0;  // nLastRuns: every run of the mode
constexpr std::size_t kWeakKeyRuns = 50;

struct MissedKeyCounts {
    std::array<long long, 48> anCap{};  // by key index 0-47
    long long nOther = 0;               // missed keys on no cap (the space bar, damaged texts)
    std::size_t nRuns = 0;              // runs counted
    long long Max() const;
    bool Any() const;
};

// The key index 0-47 of a missed key's text in a mode; -1 when it is on no cap.
int CapOfMissedKey(PracticeMode mode, std::string_view key);

// The latest nLastRuns built-in runs of the mode (kAllRuns: all of them). Custom lessons are
// left out: the history does not say in which mode they were typed.
MissedKeyCounts CountMissedKeys(const CHistoryRecords& records, PracticeMode mode,
                                std::size_t nLastRuns);

}  // namespace kibiki
