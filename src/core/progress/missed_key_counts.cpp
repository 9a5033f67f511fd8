#include "progress/missed_key_counts.h"

#include <algorithm>
#include <vector>

#include "kana/kana_tables.h"
#include "text/cp932.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

long long MissedKeyCounts::Max() const { return *std::max_element(anCap.begin(), anCap.end()); }

bool MissedKeyCounts::Any() const { return Max() > 0; }

int CapOfMissedKey(PracticeMode mode, std::string_view key) {
    static const std::string space = StringOrEmpty(IDS_SPACE_KEY);
    static const std::string middleDot = StringOrEmpty(IDS_MIDDLE_DOT);
    static const std::string voiced = Utf8ToCp932("゛"), semiVoiced = Utf8ToCp932("゜");
    if (key.empty() || key == space) return -1;
    unsigned char ch = 0;
    if (key.size() == 1) {
        ch = static_cast<unsigned char>(key[0]);
    } else if (IsKanaAnswer(mode)) {
        if (key == voiced) ch = kVoicedMark;
        else if (key == semiVoiced) ch = kSemiVoicedMark;
        else {
            std::string half;
            ConvertKana(half, true, key);
            if (half.size() == 1) ch = static_cast<unsigned char>(half[0]);
        }
    } else if (key == middleDot) {
        ch = '/';
    }
    if (ch == 0 || ch == ' ') return -1;
    int cap = -1;
    FindKeyIndex(mode, ch, cap);
    return cap >= 0 && cap < 48 ? cap : -1;
}

MissedKeyCounts CountMissedKeys(const CHistoryRecords& records, PracticeMode mode, std::size_t nLastRuns) {
    MissedKeyCounts counts;
    // A run names a handful of distinct keys; look each text up once.
    std::vector<std::pair<std::string_view, int>> known;
    const auto capOf = [&](std::string_view key) {
        for (const auto& [text, cap] : known)
            if (text == key) return cap;
        const int cap = CapOfMissedKey(mode, key);
        known.emplace_back(key, cap);
        return cap;
    };
    for (std::size_t i = records.size(); i-- > 0;) {
        if (nLastRuns != kAllRuns && counts.nRuns >= nLastRuns) break;
        if (records[i].nMode != ModeValue(mode)) continue;
        ++counts.nRuns;
        for (const MissedKeyView& k : records[i].misses) {
            const int cap = capOf(k.strKey);
            if (cap >= 0) counts.anCap[static_cast<std::size_t>(cap)] += k.nCount;
            else counts.nOther += k.nCount;
        }
    }
    return counts;
}

}  // namespace kibiki
