#include "progress/heat_map.h"

#include <array>

#include "kana/jis_keyboard.h"

namespace kibiki {

namespace {

// One hue (blue), light to dark; COLORREF 0x00BBGGRR.
constexpr std::array<std::uint32_t, kHeatLevels> kBack = {0xFFFFFF, 0xEFDBC6, 0xD6AE6B, 0xB57121, 0x6B3008};

}  // namespace

int HeatLevel(long long nCount, long long nMax) {
    if (nCount <= 0 || nMax <= 0) return 0;
    if (nCount >= nMax) return kHeatLevels - 1;
    // A quarter of the top count or less is level 1, the top quarter level 4.
    return static_cast<int>(1 + (nCount * (kHeatLevels - 1) - 1) / nMax);
}

std::uint32_t HeatBackColour(int nLevel) {
    return kBack[static_cast<std::size_t>(nLevel < 0 ? 0 : nLevel >= kHeatLevels ? kHeatLevels - 1 : nLevel)];
}

std::uint32_t HeatTextColour(int nLevel) { return nLevel >= 3 ? 0xFFFFFF : 0x000000; }

std::vector<HeatCap> HeatMap(const MissedKeyCounts& counts, PracticeMode mode, bool bJisLayout) {
    std::vector<HeatCap> caps(counts.anCap.size());
    const long long nMax = counts.Max();
    for (std::size_t k = 0; k < caps.size(); ++k) {
        HeatCap& cap = caps[k];
        cap.strLegend = CapLegend(mode, static_cast<int>(k), bJisLayout);
        cap.nCount = counts.anCap[k];
        cap.nLevel = HeatLevel(cap.nCount, nMax);
        cap.crBack = HeatBackColour(cap.nLevel);
        cap.crText = HeatTextColour(cap.nLevel);
    }
    return caps;
}

}  // namespace kibiki
