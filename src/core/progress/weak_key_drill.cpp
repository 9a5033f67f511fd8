#include "progress/weak_key_drill.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "lessons/catalogue.h"
#include "lessons/evaluation.h"
#include "lessons/lesson.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

void AddCap(std::vector<std::uint8_t>& keys, PracticeMode mode, unsigned char ch) {
    int cap = -1;
    FindKeyIndex(mode, ch, cap);
    if (cap >= 0 && cap < 48) keys.push_back(static_cast<std::uint8_t>(cap));
}

// The reading of an entry, without the bars that divide it among the kanji.
std::string ReadingOf(PracticeMode mode, const std::string& strEntry) {
    std::string reading = strEntry;
    if (HasKanjiQuestions(mode)) {
        std::string kanji;
        SplitKanjiReading(strEntry, kanji, reading);
    }
    static const std::string bar = Utf8ToCp932("｜");
    std::string out;
    for (std::size_t i = 0; i < reading.size();) {
        const std::size_t n = CharLenAt(reading, i);
        if (reading.compare(i, n, bar) != 0) out.append(reading, i, n);
        i += n;
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> KeysOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji) {
    std::vector<std::uint8_t> caps;
    if (ShowsRomaji(mode)) {
        for (char c : strEntry) AddCap(caps, mode, static_cast<unsigned char>(c));
        return caps;
    }
    const std::string reading = ReadingOf(mode, strEntry);
    if (IsKanaAnswer(mode)) {
        for (std::size_t i = 0; i < reading.size();) {
            const std::size_t n = CharLenAt(reading, i);
            const std::string_view ch(reading.data() + i, n);
            i += n;
            std::string half;
            ConvertKana(half, true, ch);
            if (half.size() == 1) {
                AddCap(caps, mode, static_cast<unsigned char>(half[0]));
                continue;
            }
            unsigned char base = 0, mark = 0;
            SplitVoicedKana(base, ch, mark);
            if (base) {
                AddCap(caps, mode, base);
                AddCap(caps, mode, mark);
            }
        }
        return caps;
    }
    if (fnRomaji)
        for (char c : fnRomaji(reading)) AddCap(caps, mode, static_cast<unsigned char>(c));
    return caps;
}

KeyCaps CapsOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji) {
    KeyCaps caps;
    for (std::uint8_t cap : KeysOfEntry(mode, strEntry, fnRomaji)) caps.set(cap);
    return caps;
}

bool DrillEntry::HasPair(int nFrom, int nTo) const {
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i - 1] == nFrom && keys[i] == nTo) return true;
    return false;
}

std::vector<DrillEntry> BuiltInDrillEntries(PracticeMode mode, const RomajiBuilder& fnRomaji) {
    std::vector<DrillEntry> entries;
    std::set<int> seen;
    for (int lesson = 1; lesson <= 7; ++lesson) {
        int first = 0, last = -1;
        if (!LessonIdRange(mode, lesson, first, last)) continue;
        for (int id = first; id <= last; ++id) {
            if (!seen.insert(id).second) continue;
            DrillEntry e;
            e.strText = StringOrEmpty(id);
            if (e.strText.empty()) continue;
            e.keys = KeysOfEntry(mode, e.strText, fnRomaji);
            for (std::uint8_t cap : e.keys) e.caps.set(cap);
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

CapWeights WeightsOfMisses(const MissedKeyCounts& counts) {
    CapWeights w{};
    for (std::size_t k = 0; k < w.size(); ++k) w[k] = static_cast<double>(counts.anCap[k]);
    return w;
}

CapWeights WeightsOfSpeed(const SpeedFigures& figures) {
    CapWeights w{};
    for (const KeySpeed& key : figures.keys) {
        if (key.nCap < 0 || key.nCap >= 48 || key.nDue < kDrillMinDue) continue;
        double weakness = 2 * key.MissRate();
        if (key.dConfidence > 0) weakness += std::max(0.0, 1 - key.dConfidence);
        // Letters sharing a cap (romaji modes: "1" and "!") add up.
        w[static_cast<std::size_t>(key.nCap)] += weakness;
    }
    return w;
}

CapWeights DrillWeights(const SpeedFigures* pFigures, const MissedKeyCounts& counts) {
    if (pFigures) {
        for (const KeySpeed& key : pFigures->keys)
            if (key.nDue >= kDrillMinDue) return WeightsOfSpeed(*pFigures);
    }
    return WeightsOfMisses(counts);
}

std::vector<int> WorstCaps(const CapWeights& weights, const std::vector<DrillEntry>& entries) {
    KeyCaps held;
    for (const DrillEntry& e : entries) held |= e.caps;
    std::vector<int> caps;
    for (int k = 0; k < 48; ++k)
        if (weights[static_cast<std::size_t>(k)] > 0 && held.test(static_cast<std::size_t>(k))) caps.push_back(k);
    std::stable_sort(caps.begin(), caps.end(), [&](int a, int b) {
        return weights[static_cast<std::size_t>(a)] > weights[static_cast<std::size_t>(b)];
    });
    if (caps.size() > static_cast<std::size_t>(kDrillKeys)) caps.resize(kDrillKeys);
    return caps;
}

std::vector<int> WorstCaps(const MissedKeyCounts& counts, const std::vector<DrillEntry>& entries) {
    return WorstCaps(WeightsOfMisses(counts), entries);
}

namespace {

// kDrillQuestions entries: each draw picks one of the targets by weight (a point on [0, total)
// from the next 32-bit output), then an entry that holds it, a fresh one while there is one.
template <class Holds>
std::vector<std::size_t> Draw(const std::vector<DrillEntry>& entries, const std::vector<double>& weights,
                              Holds holds, std::mt19937& rng) {
    std::vector<std::size_t> chosen;
    double total = 0;
    for (double w : weights) total += w;
    if (weights.empty() || total <= 0) return chosen;
    std::vector<bool> used(entries.size(), false);
    while (chosen.size() < static_cast<std::size_t>(kDrillQuestions)) {
        const double at = static_cast<double>(rng()) / 4294967296.0 * total;
        double upTo = 0;
        std::size_t target = weights.size() - 1;
        for (std::size_t t = 0; t < weights.size(); ++t) {
            upTo += weights[t];
            if (at < upTo) {
                target = t;
                break;
            }
        }
        std::vector<std::size_t> fresh, all;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!holds(entries[i], target)) continue;
            all.push_back(i);
            if (!used[i]) fresh.push_back(i);
        }
        if (all.empty()) return {};
        const std::vector<std::size_t>& pool = fresh.empty() ? all : fresh;
        const std::size_t pick = pool[static_cast<std::size_t>(DrawIndex(rng, static_cast<int>(pool.size())))];
        used[pick] = true;
        chosen.push_back(pick);
    }
    return chosen;
}

}  // namespace

std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const CapWeights& weights, std::mt19937& rng) {
    const std::vector<int> worst = WorstCaps(weights, entries);
    std::vector<double> w;
    for (int cap : worst) w.push_back(weights[static_cast<std::size_t>(cap)]);
    return Draw(entries, w,
                [&](const DrillEntry& e, std::size_t t) { return e.caps.test(static_cast<std::size_t>(worst[t])); },
                rng);
}

std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const MissedKeyCounts& counts, std::mt19937& rng) {
    return ChooseDrillQuestions(entries, WeightsOfMisses(counts), rng);
}

std::vector<KeyPair> ChosenPairs(const std::vector<KeyPair>& listed, const std::vector<bool>& chosen) {
    std::vector<KeyPair> out;
    for (std::size_t i = 0; i < listed.size() && i < chosen.size(); ++i)
        if (chosen[i]) out.push_back(listed[i]);
    return out.empty() ? listed : out;
}

std::vector<KeyPair> DrillablePairs(const std::vector<DrillEntry>& entries, const std::vector<KeyPair>& pairs) {
    std::vector<KeyPair> out;
    for (const KeyPair& p : pairs)
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const DrillEntry& e) { return e.HasPair(p.nFromCap, p.nToCap); }))
            out.push_back(p);
    return out;
}

std::vector<std::size_t> ChoosePairDrillQuestions(const std::vector<DrillEntry>& entries,
                                                  const std::vector<KeyPair>& pairs, std::mt19937& rng) {
    const std::vector<KeyPair> usable = DrillablePairs(entries, pairs);
    std::vector<double> w;
    for (const KeyPair& p : usable) w.push_back(std::max(p.nMedianMs, 1));
    return Draw(entries, w,
                [&](const DrillEntry& e, std::size_t t) { return e.HasPair(usable[t].nFromCap, usable[t].nToCap); },
                rng);
}

std::string WeakPairsTitle(const std::vector<KeyPair>& pairs) {
    std::string title = StringOrEmpty(IDS_WEAK_PAIRS_TITLE);
    for (const KeyPair& p : pairs) title += ' ' + p.strFrom + Utf8ToCp932("→") + p.strTo;
    return title;
}

std::string WeakKeysTitle(PracticeMode mode, const std::vector<int>& caps) {
    std::string title = StringOrEmpty(IDS_WEAK_KEYS_TITLE);
    // Kana in the bold title run together with narrow spaces: the wide space parts them, as the
    // lesson end parts its missed keys.
    const std::string gap = IsKanaAnswer(mode) ? "\x81\x40" : " ";
    bool first = true;
    for (int cap : caps) {
        // The cap's own character as the judge tallies it: its kana, or the capital letter the
        // questions show.
        const bool kana = IsKanaAnswer(mode);
        const auto printed = static_cast<unsigned char>(PrintedOfKey(cap, false));
        const unsigned char ch = kana ? KanaOfKey(cap, false) : static_cast<unsigned char>(std::toupper(printed));
        if (ch == 0) continue;
        title += first ? std::string(" ") : gap;
        title += MissedKeyText(mode, ch);
        first = false;
    }
    return title;
}

}  // namespace kibiki
