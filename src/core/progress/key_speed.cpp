#include "progress/key_speed.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "kana/kana_tables.h"
#include "lessons/evaluation.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

struct Samples {
    std::vector<std::uint32_t> times;
    int nDue = 0;
    int nMissed = 0;
    bool Full() const { return static_cast<int>(times.size()) >= kSpeedPresses; }
    void Due(bool bRight) {
        if (nDue >= kSpeedPresses) return;
        ++nDue;
        if (!bRight) ++nMissed;
    }
    void Time(std::uint32_t ms) {
        if (!Full()) times.push_back(ms);
    }
};

int Median(std::vector<std::uint32_t> v) {
    if (v.empty()) return 0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2) return static_cast<int>(*mid);
    const std::uint32_t upper = *mid;
    const std::uint32_t lower = *std::max_element(v.begin(), mid);
    return static_cast<int>((static_cast<std::uint64_t>(lower) + upper + 1) / 2);
}

int CapOfDue(PracticeMode mode, unsigned char ch) {
    if (!ch) return -1;
    int cap = -1;
    FindKeyIndex(mode, ch, cap);
    return cap >= 0 && cap < 48 ? cap : -1;
}

// The key a press counts for: its cap in the kana modes (a small kana is its big one's key), the
// letter due in the romaji modes. -1 for none.
int KeyIdOf(PracticeMode mode, unsigned char chDue) {
    if (!chDue) return -1;
    return IsKanaAnswer(mode) ? CapOfDue(mode, chDue) : chDue;
}

bool Timed(const std::vector<LoggedKey>& keys, std::size_t i) {
    const LoggedKey& k = keys[i];
    return k.Right() && i > 0 && !k.QuestionStart() && keys[i - 1].Right() && k.nMs <= kPauseMs;
}

}  // namespace

std::string SpeedKeyLabel(PracticeMode mode, unsigned char chDue) {
    if (IsKanaAnswer(mode)) {
        const int cap = CapOfDue(mode, chDue);
        return cap >= 0 ? StringOrEmpty(IDS_KANA_LEGEND_FIRST + cap) : std::string();
    }
    return MissedKeyText(mode, chDue);
}

SpeedFigures ComputeSpeedFigures(const std::vector<LoggedRun>& runs, PracticeMode mode,
                                 std::optional<int> target) {
    SpeedFigures out;
    std::array<Samples, 256> keys;
    std::array<unsigned char, 256> dueOf{};  // a byte that names each key id
    std::unordered_map<std::uint32_t, Samples> pairs;
    std::unordered_map<std::string, Samples> units;
    const bool bUnits = IsRomajiAnswer(mode);

    struct Occurrence {
        std::string_view unit;
        std::uint32_t ms = 0;
        bool bTimed = true;
        bool bMissed = false;
    };
    std::vector<Occurrence> occurrences;

    for (const LoggedRun& run : runs) {
        if (run.mode != mode) continue;
        const std::vector<LoggedKey>& k = run.keys;
        out.nKeysRead += k.size();
        // Newest press first, so that each key keeps its latest.
        for (std::size_t i = k.size(); i-- > 0;) {
            const int id = KeyIdOf(mode, k[i].chDue);
            if (id < 0) continue;
            Samples& s = keys[static_cast<std::size_t>(id)];
            dueOf[static_cast<std::size_t>(id)] = k[i].chDue;
            s.Due(k[i].Right());
            if (!Timed(k, i)) continue;
            s.Time(k[i].nMs);
            const int from = KeyIdOf(mode, k[i - 1].chDue);
            if (from >= 0) {
                Samples& p = pairs[static_cast<std::uint32_t>(from) << 8 | static_cast<std::uint32_t>(id)];
                p.Time(k[i].nMs);
            }
        }
        if (!bUnits) continue;
        // A unit's time runs from the key before its first letter to its last letter.
        occurrences.clear();
        for (std::size_t i = 0; i < k.size(); ++i) {
            if (k[i].Unit().empty()) continue;
            if (k[i].UnitStart() || occurrences.empty()) {
                Occurrence o;
                o.unit = k[i].Unit();
                o.bTimed = i > 0 && !k[i].QuestionStart() && k[i - 1].Right();
                occurrences.push_back(o);
            }
            Occurrence& o = occurrences.back();
            if (!k[i].Right()) o.bMissed = true;
            if (k[i].nMs > kPauseMs) o.bTimed = false;
            o.ms += k[i].nMs;
        }
        for (auto it = occurrences.rbegin(); it != occurrences.rend(); ++it) {
            Samples& s = units[std::string(it->unit)];
            s.Due(!it->bMissed);
            if (it->bTimed && !it->bMissed) s.Time(it->ms);
        }
    }

    std::vector<int> medians;
    for (std::size_t id = 0; id < keys.size(); ++id) {
        const Samples& s = keys[id];
        if (!s.nDue) continue;
        KeySpeed ks;
        ks.strKey = SpeedKeyLabel(mode, dueOf[id]);
        ks.nCap = IsKanaAnswer(mode) ? static_cast<int>(id) : CapOfDue(mode, dueOf[id]);
        ks.nMedianMs = Median(s.times);
        ks.nTimed = static_cast<int>(s.times.size());
        ks.nDue = s.nDue;
        ks.nMissed = s.nMissed;
        if (ks.nTimed >= kConfidenceMinTimed) medians.push_back(ks.nMedianMs);
        out.keys.push_back(std::move(ks));
    }
    for (auto& [unit, s] : units) {
        KeySpeed ks;
        ks.strKey = unit;
        ks.nMedianMs = Median(s.times);
        ks.nTimed = static_cast<int>(s.times.size());
        ks.nDue = s.nDue;
        ks.nMissed = s.nMissed;
        out.units.push_back(std::move(ks));
    }
    std::sort(out.units.begin(), out.units.end(), [](const KeySpeed& a, const KeySpeed& b) {
        return a.nDue != b.nDue ? a.nDue > b.nDue : a.strKey < b.strKey;
    });

    if (!medians.empty()) {
        std::vector<std::uint32_t> m(medians.begin(), medians.end());
        out.nUserMedianMs = Median(std::move(m));
    }
    out.nTargetMs = target && *target > 0 ? *target : out.nUserMedianMs;
    auto confide = [&](KeySpeed& ks) {
        if (ks.nTimed >= kConfidenceMinTimed && ks.nMedianMs > 0 && out.nTargetMs > 0)
            ks.dConfidence = static_cast<double>(out.nTargetMs) / ks.nMedianMs;
    };
    for (KeySpeed& ks : out.keys) confide(ks);

    for (const auto& [key, s] : pairs) {
        if (static_cast<int>(s.times.size()) < kPairMinSamples) continue;
        KeyPair p;
        const unsigned from = key >> 8, to = key & 0xff;
        p.strFrom = SpeedKeyLabel(mode, dueOf[from]);
        p.strTo = SpeedKeyLabel(mode, dueOf[to]);
        p.nFromCap = IsKanaAnswer(mode) ? static_cast<int>(from) : CapOfDue(mode, dueOf[from]);
        p.nToCap = IsKanaAnswer(mode) ? static_cast<int>(to) : CapOfDue(mode, dueOf[to]);
        p.nMedianMs = Median(s.times);
        p.nSamples = static_cast<int>(s.times.size());
        out.slowPairs.push_back(std::move(p));
    }
    std::sort(out.slowPairs.begin(), out.slowPairs.end(), [](const KeyPair& a, const KeyPair& b) {
        if (a.nMedianMs != b.nMedianMs) return a.nMedianMs > b.nMedianMs;
        return std::tie(a.nFromCap, a.nToCap) < std::tie(b.nFromCap, b.nToCap);
    });
    if (out.slowPairs.size() > kSlowPairs) out.slowPairs.resize(kSlowPairs);
    return out;
}

}  // namespace kibiki
