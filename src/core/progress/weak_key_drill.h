#pragma once
// "苦手キーの練習": twenty built-in questions of the practice mode that hold the keys the user
// misses most, drawn so that the worst keys come up most often.
#include <bitset>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
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
};

// The caps the keystrokes of an entry use in a mode: kana keys (a voiced kana is its base key
// and the mark key), or the letters of the romaji (mode 1: the text itself).
KeyCaps CapsOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji);

// Every built-in entry of the mode's seven lessons, once.
std::vector<DrillEntry> BuiltInDrillEntries(PracticeMode mode, const RomajiBuilder& fnRomaji);

// The worst caps, most missed first (ties by key index), at most kDrillKeys, each held by at
// least one entry.
std::vector<int> WorstCaps(const MissedKeyCounts& counts, const std::vector<DrillEntry>& entries);

// kDrillQuestions entry indexes: each draw picks one of the worst caps with a chance in
// proportion to its misses, then an entry holding that cap, one not yet drawn while there is
// one. Empty when no missed key is on a cap any entry holds. The same generator state gives
// the same questions.
std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const MissedKeyCounts& counts, std::mt19937& rng);

// What the drill says it practises, from its keys: "苦手キー: Q ; X P" (CP932), each key named
// as the lesson end and the history name it in the mode.
std::string WeakKeysTitle(PracticeMode mode, const std::vector<int>& caps);

}  // namespace kibiki
