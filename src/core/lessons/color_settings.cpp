#include "lessons/color_settings.h"

#include <array>

#include "lessons/kibiki_view.h"
#include "users/setting_keys.h"
#include "users/user_settings.h"

namespace kibiki {

namespace {

// The standard colours are those a new user's file starts with.
constexpr ColorScheme StandardColors() {
    ColorScheme scheme{};
    const auto& b = FindSettingKey("ColorB", SettingKind::Colours)->nDefault;
    const auto& l = FindSettingKey("ColorL", SettingKind::Colours)->nDefault;
    const auto& lg = FindSettingKey("ColorLG", SettingKind::Colours)->nDefault;
    for (int g = 0; g < 4; ++g) {
        scheme.colorB[g] = static_cast<COLORREF>(b[g]);
        scheme.colorL[g] = static_cast<COLORREF>(l[g]);
        scheme.colorLG[g] = static_cast<COLORREF>(lg[g]);
    }
    scheme.homeColor = static_cast<COLORREF>(FindSettingKey("HomeColor", SettingKind::Int)->nDefault[0]);
    return scheme;
}

}  // namespace

const ColorScheme kStandardColors = StandardColors();

// 0x00BBGGRR: pale yellow, pale sky blue, white and pale orange caps (neighbouring
// fingers differ in hue and in lightness), #555555 legends, #0033CC lit legends.
const ColorScheme kClearColors = {
    {0xA0F0FA, 0xF6E2BE, 0xFFFFFF, 0x96C8F0},
    {0x555555, 0x555555, 0x555555, 0x555555},
    {0xCC3300, 0xCC3300, 0xCC3300, 0xCC3300},
    0x000000,
    true,
};

namespace {

constexpr const char* kSampleLegends[10] = {"A", "S", "D", "F", "G", "H", "J", "K", "L", ";"};
constexpr int kSampleGroups[10] = {0, 1, 2, 3, 3, 3, 3, 2, 1, 0};

}  // namespace

CColorModel::CColorModel(const CUserSettings& s) : m_colors{} {
    for (int g = 0; g < 4; ++g) {
        m_colors.colorB[g] = static_cast<COLORREF>(s.GetIndexedInt("ColorB", g, 0));
        m_colors.colorL[g] = static_cast<COLORREF>(s.GetIndexedInt("ColorL", g, 0));
        m_colors.colorLG[g] = static_cast<COLORREF>(s.GetIndexedInt("ColorLG", g, 0));
    }
    m_colors.homeColor = static_cast<COLORREF>(s.GetInt("HomeColor", 0));
    m_colors.bFrameNext = s.GetInt("NextKeyFrame", 0) != 0;
    m_bColor = s.GetInt("Color", 0) != 0;
    m_bHomePos = s.GetInt("HomePos", 0) != 0;
}

COLORREF* CColorModel::Swatch(int nId) {
    if (nId >= IDC_SWATCH_KEY_FIRST && nId < IDC_SWATCH_KEY_FIRST + 4) return &m_colors.colorB[nId - IDC_SWATCH_KEY_FIRST];
    if (nId >= IDC_SWATCH_TEXT_FIRST && nId < IDC_SWATCH_TEXT_FIRST + 4) return &m_colors.colorL[nId - IDC_SWATCH_TEXT_FIRST];
    if (nId >= IDC_SWATCH_GUIDE_FIRST && nId < IDC_SWATCH_GUIDE_FIRST + 4) return &m_colors.colorLG[nId - IDC_SWATCH_GUIDE_FIRST];
    return nId == IDC_SWATCH_HOME ? &m_colors.homeColor : nullptr;
}

bool CColorModel::SwatchColorsSamples(int nId) {
    return (nId >= IDC_SWATCH_KEY_FIRST && nId < IDC_SWATCH_KEY_FIRST + 4) ||
           (nId >= IDC_SWATCH_TEXT_FIRST && nId < IDC_SWATCH_TEXT_FIRST + 4) ||
           (nId >= IDC_SWATCH_GUIDE_FIRST && nId < IDC_SWATCH_GUIDE_FIRST + 4);
}

void CColorModel::SetScheme(const ColorScheme& scheme) { m_colors = scheme; }

CColorModel::SampleKey CColorModel::Sample(int nIndex) const {
    if (nIndex < 0 || nIndex > 9) return {"", 0, 0, false};
    const int g = kSampleGroups[nIndex];
    const bool bLit = nIndex >= 5;
    return {kSampleLegends[nIndex], m_colors.colorB[g], bLit ? m_colors.colorLG[g] : m_colors.colorL[g], bLit};
}

bool CColorModel::Apply(CUserSettings& settings, CKibikiView& view) const {
    std::array<COLORREF, 4> legend{}, lit{};
    for (int g = 0; g < 4; ++g) {
        settings.SetIndexedInt("ColorB", g, static_cast<int>(m_colors.colorB[g]));
        settings.SetIndexedInt("ColorL", g, static_cast<int>(m_colors.colorL[g]));
        settings.SetIndexedInt("ColorLG", g, static_cast<int>(m_colors.colorLG[g]));
        legend[g] = m_colors.colorL[g];
        lit[g] = m_colors.colorLG[g];
    }
    view.SetLegendColors(legend, lit);
    settings.SetInt("HomeColor", static_cast<int>(m_colors.homeColor));
    settings.SetInt("Color", m_bColor);
    settings.SetInt("HomePos", m_bHomePos);
    settings.SetInt("NextKeyFrame", m_colors.bFrameNext);
    view.ApplyHomeMarkers();
    const bool saved = settings.SaveUser();
    view.SetColorKeys(m_bColor);
    view.SetFramesNextKey(m_colors.bFrameNext);
    view.ApplyKeyColors(m_bColor);
    return saved;
}

}  // namespace kibiki
