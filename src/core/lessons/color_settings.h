#pragma once
// What the colour dialog edits: finger colours of the keyboard, the marker colour and the two
// switches, with the sample row and the fold they decide. It works on a copy; Apply stores the
// copy, saves once and repaints the practice form.
#include "lessons/practice_form.h"

namespace kibiki {

class CKibikiView;
class CUserSettings;

// Controls of the colour dialog.
enum : int {
    IDC_CHECK_COLOR = 1097,    // "キーボードに色をつける"
    IDC_CHECK_HOMEPOS = 1098,  // "ホームポジションのガイドを表示"
    IDC_SAMPLE_FIRST = 1099,   // sample keys A S D F G H J K L ; (1099..1108)
    IDC_SAMPLE_LAST = 1108,
    IDC_SWATCH_KEY_FIRST = 1109,    // key colour by finger group (1109..1112)
    IDC_SWATCH_HOME = 1114,         // marker colour
    IDC_SWATCH_GUIDE_FIRST = 1119,  // lit legend colour by finger group (1119..1122)
    IDC_SWATCH_TEXT_FIRST = 1123,   // legend colour by finger group (1123..1126)
    IDC_STANDARD_COLORS = 1057,     // "標準配色"
    IDC_CLEAR_COLORS = 1058,        // "見やすい配色"
    IDC_CHECK_FRAME_NEXT = 1059,    // "次のキーを太枠で示す"
};

// Finger groups: 0 little, 1 ring, 2 middle, 3 index.
struct ColorScheme {
    COLORREF colorB[4];   // key
    COLORREF colorL[4];   // legend
    COLORREF colorLG[4];  // legend of the next key
    COLORREF homeColor;   // markers
    bool bFrameNext;      // the next key outlined with a thick frame too
};

// "標準配色": yellow, cyan, silver and green keys, black legends, red lit legends, black markers,
// no frame.
extern const ColorScheme kStandardColors;
// "見やすい配色": light caps, dark grey legends and a deep blue lit legend that stands out on
// every cap for red-green colour-blind eyes too, and the next key framed.
extern const ColorScheme kClearColors;

class CColorModel {
public:
    explicit CColorModel(const CUserSettings& settings);

    // Both switches clear: the dialog shrinks to its top strip.
    bool IsFolded() const { return !m_bColor && !m_bHomePos; }

    // The colour a swatch control edits; null for any other id.
    COLORREF* Swatch(int nId);
    // Whether the sample row shows the swatch's colour (the marker colour it does not).
    static bool SwatchColorsSamples(int nId);

    void SetScheme(const ColorScheme& scheme);

    struct SampleKey {
        const char* pszLegend;
        COLORREF back;
        COLORREF text;
        bool bLit;  // shown as the next key
    };
    // Sample 0-9: A S D F G with their legend colour, H J K L ; lit.
    SampleKey Sample(int nIndex) const;

    // "OK": colours, switches and the frame into the settings record, saved once, and shown on the form.
    bool Apply(CUserSettings& settings, CKibikiView& view) const;

    ColorScheme m_colors;
    bool m_bColor;
    bool m_bHomePos;
};

}  // namespace kibiki
