#include "progress/key_figures_map.h"

#include <cmath>
#include <cstdio>

#include "text/cp932.h"

namespace kibiki {

namespace {

std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

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
        return {Sj("目標以上"), Sj("目標の85%以上"), Sj("70%以上"), Sj("55%以上"), Sj("55%未満")};
    if (bRates) return {Sj("ミスなし"), Sj("2%未満"), Sj("5%未満"), Sj("10%未満"), Sj("10%以上")};
    return {Sj("ミスなし"), Sj("少ない"), "", "", Sj("最も多い")};
}

std::vector<FigureCap> KeyFigureCaps(const SpeedFigures* pLog, const MissedKeyCounts& history,
                                     PracticeMode mode, bool bJisLayout, FigureView view) {
    const std::vector<HeatCap> heat = HeatMap(history, mode, bJisLayout);
    std::vector<FigureCap> caps(heat.size());
    for (std::size_t k = 0; k < caps.size(); ++k) {
        FigureCap& cap = caps[k];
        cap.strLegend = heat[k].strLegend;
        const KeySpeed* key = FindCap(pLog, static_cast<int>(k));
        std::string tip = cap.strLegend + Sj("：");
        if (key) {
            tip += Sj(key->nTimed ? ("中央値 " + std::to_string(key->nMedianMs) + "ms・").c_str() : "") +
                   Sj(("最近の" + std::to_string(key->nDue) + "回でミス" + std::to_string(key->nMissed) + "回（").c_str()) +
                   Percent(key->MissRate()) + Sj("）");
        }
        if (view == FigureView::Speed) {
            if (key && key->dConfidence > 0) {
                cap.nLevel = SpeedLevel(key->dConfidence);
                cap.strBadge = std::to_string(key->nMedianMs);
                tip += Sj(("・目標の" + std::to_string(static_cast<int>(std::lround(key->dConfidence * 100))) + "%").c_str());
            } else if (!key) {
                tip += Sj("まだ記録がありません");
            } else {
                tip += Sj("・速さを測るには打った回数が足りません");
            }
        } else if (key) {
            cap.nLevel = MissRateLevel(key->MissRate());
            if (key->nMissed) cap.strBadge = Percent(key->MissRate());
        } else {
            cap.nLevel = heat[k].nLevel;
            if (heat[k].nCount) cap.strBadge = std::to_string(heat[k].nCount);
            tip += Sj(("履歴でミス" + std::to_string(heat[k].nCount) + "回").c_str());
        }
        cap.strTip = tip;
        cap.crBack = HeatBackColour(cap.nLevel);
        cap.crText = HeatTextColour(cap.nLevel);
    }
    return caps;
}

}  // namespace kibiki
