#include "progress/key_figures_map.h"

#include <cmath>
#include <cstdio>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// The string with each "%s" replaced by the next value.
std::string Filled(int nId, std::initializer_list<std::string> values) {
    std::string text = StringOrEmpty(nId);
    std::size_t at = 0;
    for (const std::string& v : values) {
        at = text.find("%s", at);
        if (at == std::string::npos) break;
        text.replace(at, 2, v);
        at += v.size();
    }
    return text;
}

std::string Percent(double dRate) {
    char buf[32];
    const double p = dRate * 100;
    std::snprintf(buf, sizeof buf, p > 0 && p < 10 ? "%.1f%%" : "%.0f%%", p);
    return buf;
}

const KeySpeed* FindCap(const SpeedFigures* pLog, int nCap) {
    if (!pLog) return nullptr;
    const KeySpeed* found = nullptr;
    for (const KeySpeed& k : pLog->keys)
        if (k.nCap == nCap && (!found || k.nDue > found->nDue)) found = &k;
    return found;
}

std::array<std::string, kHeatLevels> LevelLabels(int nFirst) {
    std::array<std::string, kHeatLevels> labels;
    for (int i = 0; i < kHeatLevels; ++i) labels[static_cast<std::size_t>(i)] = StringOrEmpty(nFirst + i);
    return labels;
}

}  // namespace

int SpeedLevel(double dConfidence) {
    if (dConfidence <= 0 || dConfidence >= 1) return 0;
    if (dConfidence >= 0.85) return 1;
    if (dConfidence >= 0.7) return 2;
    if (dConfidence >= 0.55) return 3;
    return 4;
}

int MissRateLevel(double dRate) {
    if (dRate <= 0) return 0;
    if (dRate < 0.02) return 1;
    if (dRate < 0.05) return 2;
    if (dRate < 0.10) return 3;
    return 4;
}

std::array<std::string, kHeatLevels> FigureLevelLabels(FigureView view, bool bRates) {
    if (view == FigureView::Speed)
        return LevelLabels(IDS_SPEED_LEVEL_FIRST);
    if (bRates) return LevelLabels(IDS_MISS_RATE_LEVEL_FIRST);
    return {StringOrEmpty(IDS_MISS_RATE_LEVEL_FIRST), StringOrEmpty(IDS_MISS_COUNT_FEW), "", "",
            StringOrEmpty(IDS_MISS_COUNT_MOST)};
}

std::vector<FigureCap> KeyFigureCaps(const SpeedFigures* pLog, const MissedKeyCounts& history,
                                     PracticeMode mode, bool bJisLayout, FigureView view) {
    const std::vector<HeatCap> heat = HeatMap(history, mode, bJisLayout);
    std::vector<FigureCap> caps(heat.size());
    for (std::size_t k = 0; k < caps.size(); ++k) {
        FigureCap& cap = caps[k];
        cap.strLegend = heat[k].strLegend;
        const KeySpeed* key = FindCap(pLog, static_cast<int>(k));
        std::string tip = Filled(IDS_FIGURE_TIP_KEY, {cap.strLegend});
        if (key) {
            if (key->nTimed) tip += Filled(IDS_FIGURE_TIP_MEDIAN, {std::to_string(key->nMedianMs)});
            tip += Filled(IDS_FIGURE_TIP_MISSES,
                          {std::to_string(key->nDue), std::to_string(key->nMissed), Percent(key->MissRate())});
        }
        if (view == FigureView::Speed) {
            if (key && key->dConfidence > 0) {
                cap.nLevel = SpeedLevel(key->dConfidence);
                cap.strBadge = std::to_string(key->nMedianMs);
                tip += Filled(IDS_FIGURE_TIP_TARGET, {std::to_string(std::lround(key->dConfidence * 100))});
            } else if (!key) {
                tip += StringOrEmpty(IDS_FIGURE_TIP_NO_LOG);
            } else {
                tip += StringOrEmpty(IDS_FIGURE_TIP_TOO_FEW);
            }
        } else if (key) {
            cap.nLevel = MissRateLevel(key->MissRate());
            if (key->nMissed) cap.strBadge = Percent(key->MissRate());
        } else {
            cap.nLevel = heat[k].nLevel;
            if (heat[k].nCount) cap.strBadge = std::to_string(heat[k].nCount);
            tip += Filled(IDS_FIGURE_TIP_HISTORY, {std::to_string(heat[k].nCount)});
        }
        cap.strTip = tip;
        cap.crBack = HeatBackColour(cap.nLevel);
        cap.crText = HeatTextColour(cap.nLevel);
    }
    return caps;
}

}  // namespace kibiki
