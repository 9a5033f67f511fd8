#pragma once
// The weak-key keyboard's two views: how often each key is missed, or how fast it is typed
// against the user's target. Each cap gets a shade of one hue (light to dark, readable without
// telling red from green), its figure on a badge of its own apart from the legend, and a tip.
#include <array>
#include <string>
#include <vector>

#include "kana/practice_mode.h"
#include "progress/heat_map.h"
#include "progress/key_speed.h"
#include "progress/missed_key_counts.h"

namespace kibiki {

enum class FigureView { Misses, Speed };

struct FigureCap {
    std::string strLegend;  // CP932, as the practice window's cap shows it
    std::string strBadge;   // "12", "3.5%", "420": empty when there is nothing to show
    std::string strTip;     // CP932
    int nLevel = 0;         // 0 .. kHeatLevels - 1
    std::uint32_t crBack = 0, crText = 0;
};

// The 48 caps in key-index order. Misses: the log's miss rates where it has the key's presses
// (pLog may be null), the history's counts otherwise. Speed: the log's medians and confidences.
std::vector<FigureCap> KeyFigureCaps(const SpeedFigures* pLog, const MissedKeyCounts& history,
                                     PracticeMode mode, bool bJisLayout, FigureView view);

// What each shade means, lightest first (CP932), for the legend drawn beside the keyboard.
std::array<std::string, kHeatLevels> FigureLevelLabels(FigureView view, bool bRates);

// Shade of a confidence (target ÷ median): 0 at or above the target, darker the slower.
int SpeedLevel(double dConfidence);
// Shade of a miss rate (0-1).
int MissRateLevel(double dRate);

}  // namespace kibiki
