#pragma once
// The weak keys on the keyboard: each cap's missed-key count over the latest runs of one mode,
// shaded in one hue from light to dark so that it reads without telling colours apart, with the
// count written on the cap.
#include <cstdint>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "progress/missed_key_counts.h"

namespace kibiki {

constexpr int kHeatLevels = 5;  // 0: never missed; 4: missed most

struct HeatCap {
    std::string strLegend;  // CP932, as the practice window's cap shows it
    long long nCount = 0;
    int nLevel = 0;
    std::uint32_t crBack = 0;  // COLORREF
    std::uint32_t crText = 0;
};

// 0 for no miss, else 1-4 by the share of the most-missed cap's count (a quarter each).
int HeatLevel(long long nCount, long long nMax);
std::uint32_t HeatBackColour(int nLevel);
// Black on the light shades, white on the dark ones: both at least 4.5:1.
std::uint32_t HeatTextColour(int nLevel);

// The 48 caps in key-index order.
std::vector<HeatCap> HeatMap(const MissedKeyCounts& counts, PracticeMode mode, bool bJisLayout);

}  // namespace kibiki
