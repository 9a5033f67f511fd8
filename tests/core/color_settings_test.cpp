// The colour dialog's rules, without the dialog: what it shows, what the presets hold, and what
// "OK" stores and paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "kana/jis_keyboard.h"
#include "lessons/color_settings.h"
#include "support/colour_contrast.h"
#include "support/practice_harness.h"

namespace kibiki::test {
namespace {

TEST(ColorModel, FoldsOnlyWhileBothSwitchesAreClear) {
    struct Case { bool bColor, bHomePos, bFolded; } cases[] = {
        {false, false, true}, {true, false, false}, {false, true, false}, {true, true, false},
    };
    for (const auto& c : cases) {
        CUserSettings s;
        s.SetInt("Color", c.bColor);
        s.SetInt("HomePos", c.bHomePos);
        EXPECT_EQ(CColorModel(s).IsFolded(), c.bFolded) << c.bColor << c.bHomePos;
    }
}

TEST(ColorModel, SwatchesEditTheirRowAndGroupAndOnlyTheMarkerLeavesTheSamples) {
    CUserSettings s;
    CColorModel m(s);
    m.SetScheme(kStandardColors);
    struct Case { int nId; COLORREF* pExpected; bool bSamples; } cases[] = {
        {1109, &m.m_colors.colorB[0], true},  {1112, &m.m_colors.colorB[3], true},
        {1123, &m.m_colors.colorL[0], true},  {1126, &m.m_colors.colorL[3], true},
        {1119, &m.m_colors.colorLG[0], true}, {1122, &m.m_colors.colorLG[3], true},
        {1114, &m.m_colors.homeColor, false}, {1113, nullptr, false}, {1127, nullptr, false},
        {1118, nullptr, false}, {1057, nullptr, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m.Swatch(c.nId), c.pExpected) << c.nId;
        EXPECT_EQ(CColorModel::SwatchColorsSamples(c.nId), c.bSamples) << c.nId;
    }
}

std::string SampleRow(const CColorModel& m) {
    std::string row;
    for (int i = 0; i < 10; ++i) {
        const auto k = m.Sample(i);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s:%06X/%06X ", k.pszLegend, k.back, k.text);
        row += buf;
    }
    return row;
}

TEST(ColorModel, StandardColorsPaintTheSampleRowByFingerGroupNormalThenLit) {
    CUserSettings s;
    s.SetIndexedInt("ColorB", 0, 0x123456);  // anything: the preset replaces all of it
    s.SetInt("HomeColor", 0xFF0000);
    s.SetInt("Color", 0);
    CColorModel m(s);
    m.SetScheme(kStandardColors);
    EXPECT_EQ(SampleRow(m),
              "A:00FFFF/000000 S:FFFF00/000000 D:C0C0C0/000000 F:00FF00/000000 G:00FF00/000000 "
              "H:00FF00/0000FF J:00FF00/0000FF K:C0C0C0/0000FF L:FFFF00/0000FF ;:00FFFF/0000FF ");
    EXPECT_EQ(m.m_colors.homeColor, 0u);
    EXPECT_FALSE(m.m_bColor);  // the switches are the user's, not the preset's

    // A new guide colour for the index finger shows on H and J only (F and G show the legend).
    *m.Swatch(1122) = 0x00AA00;
    EXPECT_EQ(SampleRow(m),
              "A:00FFFF/000000 S:FFFF00/000000 D:C0C0C0/000000 F:00FF00/000000 G:00FF00/000000 "
              "H:00FF00/00AA00 J:00FF00/00AA00 K:C0C0C0/0000FF L:FFFF00/0000FF ;:00FFFF/0000FF ");
    EXPECT_EQ(s.GetIndexedInt("ColorLG", 3, 0), 255);  // a copy: the record is untouched
}

std::string SettingsFile(const PracticeHarness& h) {
    std::ifstream in(h.m_dir + "/Setting/test.dat", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ColorModel, OkStoresSavesAndRepaintsKeysAndMarkers) {
    PracticeHarness h;
    CColorModel m(h.m_doc.Settings());
    m.SetScheme(kClearColors);
    m.m_colors.homeColor = 0xFF0000;  // blue markers
    m.m_bColor = true;
    m.m_bHomePos = true;
    ASSERT_TRUE(m.Apply(h.m_doc.Settings(), h.m_view));

    const std::string file = SettingsFile(h);
    EXPECT_NE(file.find("HomePos=1\r\nHomeColor=16711680\r\n"), std::string::npos);
    EXPECT_NE(file.find("Color=1\r\n"), std::string::npos);
    EXPECT_NE(file.find("ColorL0=5592405\r\nColorB0=10547450\r\nColorLG0=13382400\r\n"), std::string::npos);
    EXPECT_NE(file.find("ColorL3=5592405\r\nColorB3=9881840\r\nColorLG3=13382400\r\n"), std::string::npos);
    for (int id = IDC_MARKER_FIRST; id <= IDC_MARKER_LAST; ++id) {
        EXPECT_EQ(h.m_form.m_markers[id].color, 0xFF0000u) << id;
        EXPECT_TRUE(h.m_form.m_markers[id].bVisible) << id;
    }
    EXPECT_EQ(h.m_form.m_backColors[IDC_KEY_FIRST + 8], kClearColors.colorB[2]);  // column 2: middle
    EXPECT_EQ(h.m_form.m_textColors[IDC_KEY_FIRST + 8], kClearColors.colorL[2]);
    EXPECT_EQ(h.m_view.LitLegendColors()[1], kClearColors.colorLG[1]);

    // Keyboard colours off: button-face caps with black legends, whatever is stored; markers hidden.
    CColorModel off(h.m_doc.Settings());
    off.m_bColor = false;
    off.m_bHomePos = false;
    ASSERT_TRUE(off.Apply(h.m_doc.Settings(), h.m_view));
    for (int id = IDC_KEY_FIRST; id <= IDC_KEY_LAST; ++id) {
        EXPECT_EQ(h.m_form.m_backColors[id], h.m_form.m_buttonFace) << id;
        EXPECT_EQ(h.m_form.m_textColors[id], 0u) << id;
    }
    EXPECT_FALSE(h.m_form.m_markers[IDC_MARKER_FIRST].bVisible);
    EXPECT_NE(SettingsFile(h).find("ColorB0=10547450\r\n"), std::string::npos);
}

TEST(ColorModel, OkRepaintsEveryFingerLabelWithItsCaps) {
    PracticeHarness h;
    for (bool bColor : {true, false}) {
        for (const ColorScheme* scheme : {&kClearColors, &kStandardColors}) {
            // Labels still wearing what an earlier scheme lit them with.
            for (int id = IDC_FINGER_FIRST; id <= IDC_FINGER_LAST; ++id) {
                h.m_form.m_textColors[id] = 0x123456;
                h.m_form.m_backColors[id] = 0x654321;
            }
            CColorModel m(h.m_doc.Settings());
            m.SetScheme(*scheme);
            m.m_bColor = bColor;
            ASSERT_TRUE(m.Apply(h.m_doc.Settings(), h.m_view));
            for (int column = 0; column < 12; ++column) {
                const int id = IDC_FINGER_FIRST + FingerOfKey(4 * column);
                const int g = FingerGroupOfKey(4 * column);
                EXPECT_EQ(h.m_form.m_textColors[id], bColor ? scheme->colorL[g] : 0u) << id << " " << bColor;
                EXPECT_EQ(h.m_form.m_backColors[id], bColor ? scheme->colorB[g] : h.m_form.m_buttonFace)
                    << id << " " << bColor;
            }
        }
    }
}

std::string Framed(const RecordingPracticeForm& form) {
    std::string ids;
    for (int id : form.m_framed) ids += (ids.empty() ? "" : " ") + std::to_string(id);
    return ids;
}

TEST(ColorModel, NextKeyFrameIsStoredOnlyWhileOnAndFramesTheLitCapAndItsShift) {
    PracticeHarness h;
    CColorModel standard(h.m_doc.Settings());
    standard.SetScheme(kStandardColors);
    ASSERT_TRUE(standard.Apply(h.m_doc.Settings(), h.m_view));
    const std::string withoutFrame = SettingsFile(h);
    EXPECT_EQ(withoutFrame.find("NextKeyFrame"), std::string::npos);

    CColorModel clear(h.m_doc.Settings());
    clear.SetScheme(kClearColors);  // the scheme that frames the next key
    EXPECT_TRUE(clear.m_colors.bFrameNext);
    ASSERT_TRUE(clear.Apply(h.m_doc.Settings(), h.m_view));
    const std::string withFrame = SettingsFile(h);
    EXPECT_NE(withFrame.find("\r\nNextKeyFrame=1\r\n"), std::string::npos) << withFrame;
    EXPECT_TRUE(CColorModel(h.m_doc.Settings()).m_colors.bFrameNext);

    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.StartCustom("#ROMAN\nE\n!a&\n");
    EXPECT_EQ(Framed(h.m_form), "1000 1080");  // "!": cap 0 and the right SHIFT
    h.Type("!");
    EXPECT_EQ(Framed(h.m_form), "1002");
    h.Type("a");
    EXPECT_EQ(Framed(h.m_form), "1020 1079");
    h.m_view.StopRun();
    EXPECT_EQ(Framed(h.m_form), "");

    // Off again: the file is byte for byte what it was, and no cap is framed.
    CColorModel off(h.m_doc.Settings());
    off.SetScheme(kStandardColors);
    ASSERT_TRUE(off.Apply(h.m_doc.Settings(), h.m_view));
    EXPECT_EQ(SettingsFile(h), withoutFrame);
    h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    h.StartCustom("#ROMAN\nE\n!a\n");
    EXPECT_EQ(Framed(h.m_form), "");
}

// --- how the presets look: WCAG contrast, and the lit legend under red-green colour blindness ---

using test::Contrast;
using test::Luminance;
using test::Rgb;
using test::ToLinear;

// Full protanopia and deuteranopia on linear RGB (Machado, Oliveira and Fernandes 2009).
constexpr double kProtan[3][3] = {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216},
                                  {-0.003882, -0.048116, 1.051998}};
constexpr double kDeutan[3][3] = {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413},
                                  {-0.011820, 0.042940, 0.968881}};
Rgb Simulate(const Rgb& c, const double (*m)[3]) {
    auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return {clamp(m[0][0] * c.r + m[0][1] * c.g + m[0][2] * c.b), clamp(m[1][0] * c.r + m[1][1] * c.g + m[1][2] * c.b),
            clamp(m[2][0] * c.r + m[2][1] * c.g + m[2][2] * c.b)};
}
// CIE 1976 colour difference in L*a*b* (D65).
double DeltaE(const Rgb& p, const Rgb& q) {
    auto lab = [](const Rgb& c) {
        const double x = (0.4124 * c.r + 0.3576 * c.g + 0.1805 * c.b) / 0.95047;
        const double y = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
        const double z = (0.0193 * c.r + 0.1192 * c.g + 0.9505 * c.b) / 1.08883;
        auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
        return std::array<double, 3>{116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
    };
    const auto a = lab(p), b = lab(q);
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

TEST(ColorSchemes, ClearColorsReadOnEveryCapAndTheLitLegendStandsOutForAllEyes) {
    for (int g = 0; g < 4; ++g)
        for (int cap = 0; cap < 4; ++cap) {
            EXPECT_GE(Contrast(kClearColors.colorLG[g], kClearColors.colorB[cap]), 4.5) << g << cap;
            EXPECT_GE(Contrast(kClearColors.colorL[g], kClearColors.colorB[cap]), 4.5) << g << cap;
        }
    // The standard red legend fails on the yellow and green caps: the reason for the preset.
    EXPECT_LT(Contrast(kStandardColors.colorLG[0], kStandardColors.colorB[0]), 4.5);
    EXPECT_LT(Contrast(kStandardColors.colorLG[3], kStandardColors.colorB[3]), 3.0);

    // Lit and unlit legends stay far apart with normal, protan and deutan vision; neighbouring
    // fingers' caps stay apart too.
    for (const auto* m : {static_cast<const double(*)[3]>(nullptr), kProtan, kDeutan}) {
        auto seen = [m](COLORREF cr) { return m ? Simulate(ToLinear(cr), m) : ToLinear(cr); };
        for (int g = 0; g < 4; ++g)
            EXPECT_GE(DeltaE(seen(kClearColors.colorLG[g]), seen(kClearColors.colorL[g])), 40.0) << g;
        for (int g = 0; g < 3; ++g)
            EXPECT_GE(DeltaE(seen(kClearColors.colorB[g]), seen(kClearColors.colorB[g + 1])), 8.0) << g;
    }
}

}  // namespace
}  // namespace kibiki::test
