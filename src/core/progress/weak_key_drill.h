#pragma once
// "苦手キーの練習": twenty built-in questions of the practice mode that hold the keys the user
// misses most, drawn so that the worst keys come up most often.
#include <array>
#include <bitset>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "progress/key_speed.h"
#include "progress/missed_key_counts.h"

namespace kibiki {

constexpr int kDrillQuestions = 20;
constexpr int kDrillKeys = 5;  // the worst keys a drill practises

using KeyCaps = std::bitset<48>;

// A reading's romaji letters (the romaji modes build them with the user's spellings); empty
// when the reading has none.
using RomajiBuilder = std::function<std::string(const std::string& strReading)>;

struct DrillEntry {
    std::string strText;  // the entry as the catalogue holds it ("鳩,はと" in the kanji modes)
    KeyCaps caps;         // the caps its keystrokes use
    std::vector<std::uint8_t> keys;  // those caps in the order they are pressed
    bool HasPair(int nFrom, int nTo) const;
};

// How much the drill should practise each cap; 0 for a cap it leaves alone.
using CapWeights = std::array<double, 48>;

// From the history: each cap's missed-key count.
CapWeights WeightsOfMisses(const MissedKeyCounts& counts);

constexpr int kDrillMinDue = 10;  // the log's figures count for a key due this often

// From the practice log, for each key due at least kDrillMinDue times among its latest presses:
//     weakness = max(0, 1 - confidence) + 2 x miss rate
// so a key at half the target speed weighs 0.5, one missed once in ten presses 0.2, and a fast,
// sure key nothing. Keys without a confidence (too few timed presses) weigh their misses only.
// All 0 when the log has no key due that often in the mode.
CapWeights WeightsOfSpeed(const SpeedFigures& figures);

// The drill's weights: the log's where it knows the mode's keys, else the history's misses.
CapWeights DrillWeights(const SpeedFigures* pFigures, const MissedKeyCounts& counts);

// The caps the keystrokes of an entry use in a mode: kana keys (a voiced kana is its base key
// and the mark key), or the letters of the romaji (mode 1: the text itself).
KeyCaps CapsOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji);
// The same caps in the order they are pressed.
std::vector<std::uint8_t> KeysOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji);

// Every built-in entry of the mode's seven lessons, once.
std::vector<DrillEntry> BuiltInDrillEntries(PracticeMode mode, const RomajiBuilder& fnRomaji);

// The worst caps, most missed first (ties by key index), at most kDrillKeys, each held by at
// least one entry.
std::vector<int> WorstCaps(const CapWeights& weights, const std::vector<DrillEntry>& entries);
std::vector<int> WorstCaps(const MissedKeyCounts& counts, const std::vector<DrillEntry>& entries);

// kDrillQuestions entry indexes: each draw picks one of the worst caps with a chance in
// proportion to its misses, then an entry holding that cap, one not yet drawn while there is
// one. Empty when no missed key is on a cap any entry holds. The same generator state gives
// the same questions.
std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const CapWeights& weights, std::mt19937& rng);
std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const MissedKeyCounts& counts, std::mt19937& rng);

// A drill of key pairs: each draw picks one of the pairs with a chance in proportion to its
// median time, then an entry that presses the two keys one after the other (one not yet drawn
// while there is one). Pairs no entry presses are passed over; empty when none is left.
std::vector<std::size_t> ChoosePairDrillQuestions(const std::vector<DrillEntry>& entries,
                                                  const std::vector<KeyPair>& pairs, std::mt19937& rng);
// The pairs among these that some entry presses.
std::vector<KeyPair> DrillablePairs(const std::vector<DrillEntry>& entries, const std::vector<KeyPair>& pairs);

// The pairs a pair drill practises: those chosen in the list, or every listed pair when none is.
std::vector<KeyPair> ChosenPairs(const std::vector<KeyPair>& listed, const std::vector<bool>& chosen);

// What the drill says it practises, from its keys: "苦手キー: Q ; X P" (CP932), each key named
// as the lesson end and the history name it in the mode.
std::string WeakKeysTitle(PracticeMode mode, const std::vector<int>& caps);
// "苦手な運指: K→A  S→I" (CP932)
std::string WeakPairsTitle(const std::vector<KeyPair>& pairs);

}  // namespace kibiki
