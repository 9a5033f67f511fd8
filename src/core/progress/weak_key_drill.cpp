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

void AddCap(KeyCaps& caps, PracticeMode mode, unsigned char ch) {
    int cap = -1;
    FindKeyIndex(mode, ch, cap);
    if (cap >= 0 && cap < 48) caps.set(static_cast<std::size_t>(cap));
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

KeyCaps CapsOfEntry(PracticeMode mode, const std::string& strEntry, const RomajiBuilder& fnRomaji) {
    KeyCaps caps;
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
            e.caps = CapsOfEntry(mode, e.strText, fnRomaji);
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

std::vector<int> WorstCaps(const MissedKeyCounts& counts, const std::vector<DrillEntry>& entries) {
    KeyCaps held;
    for (const DrillEntry& e : entries) held |= e.caps;
    std::vector<int> caps;
    for (int k = 0; k < 48; ++k)
        if (counts.anCap[static_cast<std::size_t>(k)] > 0 && held.test(static_cast<std::size_t>(k)))
            caps.push_back(k);
    std::stable_sort(caps.begin(), caps.end(), [&](int a, int b) {
        return counts.anCap[static_cast<std::size_t>(a)] > counts.anCap[static_cast<std::size_t>(b)];
    });
    if (caps.size() > static_cast<std::size_t>(kDrillKeys)) caps.resize(kDrillKeys);
    return caps;
}

std::vector<std::size_t> ChooseDrillQuestions(const std::vector<DrillEntry>& entries,
                                              const MissedKeyCounts& counts, std::mt19937& rng) {
    const std::vector<int> worst = WorstCaps(counts, entries);
    std::vector<std::size_t> chosen;
    if (worst.empty()) return chosen;
    double total = 0;
    for (int cap : worst) total += static_cast<double>(counts.anCap[static_cast<std::size_t>(cap)]);
    std::vector<bool> used(entries.size(), false);
    while (chosen.size() < static_cast<std::size_t>(kDrillQuestions)) {
        // The cap: a point on [0, total) from the next 32-bit output.
        const double at = static_cast<double>(rng()) / 4294967296.0 * total;
        double upTo = 0;
        int cap = worst.back();
        for (int c : worst) {
            upTo += static_cast<double>(counts.anCap[static_cast<std::size_t>(c)]);
            if (at < upTo) {
                cap = c;
                break;
            }
        }
        std::vector<std::size_t> fresh, all;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!entries[i].caps.test(static_cast<std::size_t>(cap))) continue;
            all.push_back(i);
            if (!used[i]) fresh.push_back(i);
        }
        const std::vector<std::size_t>& pool = fresh.empty() ? all : fresh;
        const std::size_t pick = pool[static_cast<std::size_t>(DrawIndex(rng, static_cast<int>(pool.size())))];
        used[pick] = true;
        chosen.push_back(pick);
    }
    return chosen;
}

std::string WeakKeysTitle(PracticeMode mode, const std::vector<int>& caps) {
    std::string title = StringOrEmpty(IDS_WEAK_KEYS_TITLE);
    for (int cap : caps) {
        // The cap's own character as the judge tallies it: its kana, or the capital letter the
        // questions show.
        const bool kana = IsKanaAnswer(mode);
        const auto printed = static_cast<unsigned char>(PrintedOfKey(cap, false));
        const unsigned char ch = kana ? KanaOfKey(cap, false) : static_cast<unsigned char>(std::toupper(printed));
        if (ch != 0) title += ' ' + MissedKeyText(mode, ch);
    }
    return title;
}

}  // namespace kibiki
