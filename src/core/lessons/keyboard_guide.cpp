// The on-screen keyboard: legends per mode, finger colours, the lit next key with its finger
// label and SHIFT cap, and the home-position markers.

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson_number.h"
#include "lessons/kibiki_view.h"
#include "platform/keyboard_layout.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlack = 0;

// Home keys A S D F J K L ; carry the markers 1114-1121.
constexpr int kMarkerCount = IDC_MARKER_LAST - IDC_MARKER_FIRST + 1;

}  // namespace

int CKibikiView::CapOf(unsigned char ch) const {
    if (ch == 0 || ch == ' ') return -1;
    int cap = -1;
    FindKeyIndex(ShownMode(), ch, cap);
    return cap >= 0 && cap <= 47 ? cap : -1;
}

COLORREF CKibikiView::LegendColor(int nGroup, bool bOn) const {
    if (m_bColor) return bOn ? m_colorLG[nGroup] : m_colorL[nGroup];
    return bOn ? kRed : kBlack;
}

void CKibikiView::LightFinger(int nCap, bool bOn) {
    m_form.SetTextColor(IDC_FINGER_FIRST + FingerOfKey(nCap), LegendColor(FingerGroupOfKey(nCap), bOn));
}

void CKibikiView::LightPlain(unsigned char ch, bool bOn) {
    const int cap = CapOf(ch);
    if (cap < 0) return;
    m_form.SetTextColor(IDC_KEY_FIRST + cap, LegendColor(FingerGroupOfKey(cap), bOn));
    m_form.SetCapFramed(IDC_KEY_FIRST + cap, bOn && m_bFrameNext);
    LightFinger(cap, bOn);
}

// The SHIFT cap lit is the other hand's.
void CKibikiView::LightWithShift(int nCap, bool bOn) {
    m_form.SetTextColor(IDC_KEY_FIRST + nCap, LegendColor(FingerGroupOfKey(nCap), bOn));
    m_form.SetCapFramed(IDC_KEY_FIRST + nCap, bOn && m_bFrameNext);
    if (bOn) {
        const int shift = IsRightHandKey(nCap) ? IDC_SHIFT_LEFT : IDC_SHIFT_RIGHT;
        m_form.SetTextColor(shift, kRed);
        if (m_bFrameNext) m_form.SetCapFramed(shift, true);
    } else {
        UnlightShiftCaps();
    }
    LightFinger(nCap, bOn);
    m_bShiftLit = bOn;
}

void CKibikiView::UnlightShiftCaps() {
    for (int id : {IDC_SHIFT_LEFT, IDC_SHIFT_RIGHT}) {
        m_form.SetTextColor(id, kBlack);
        m_form.SetCapFramed(id, false);
    }
}

void CKibikiView::GuideChar(unsigned char ch, bool bOn) {
    if (ch == 0 || ch == ' ') return;
    const Lesson& lesson = m_doc.CurrentLesson();
    // The kana caps carry no ASCII: in the kana modes only a kana is found on them.
    const bool kana = IsKanaAnswer(ShownMode());
    int cap = ShiftedKeyOf(ch, kana);
    if (!kana) {
        // Off the JIS layout "~" and "`" sit where the legends of caps 41 and 44 show them.
        if (!m_layout.IsJisLayout() && (ch == '~' || ch == '`')) cap = KeyOfPrinted(ch == '~' ? '@' : '^');
        // English text: a capital letter is its letter key with SHIFT.
        if (IsCustomLesson(lesson.nNumber) && lesson.bEnglish && ch >= 'A' && ch <= 'Z')
            cap = KeyOfPrinted(static_cast<char>(ch));
    }
    if (cap >= 0) LightWithShift(cap, bOn);
    else LightPlain(ch, bOn);
}

void CKibikiView::AdvanceGuide() {
    const unsigned char lit = m_doc.Run().GuideKey();
    const unsigned char next = m_doc.NextExpectedKey();
    UnlightShiftCaps();
    if (lit != 0) {
        if (m_bShiftLit) GuideChar(lit, false);
        else LightPlain(lit, false);
    }
    GuideChar(next, true);
    m_doc.SetGuideKey(next);
}

void CKibikiView::ShowKeyLegends() { ShowLegendsOf(ShownMode()); }

void CKibikiView::ShowLegendsOf(PracticeMode mode) {
    const bool bJis = m_layout.IsJisLayout();
    for (int k = 0; k < 48; ++k) m_form.SetControlText(IDC_KEY_FIRST + k, CapLegend(mode, k, bJis));
}

void CKibikiView::SetLegendColors(const std::array<COLORREF, 4>& colorL, const std::array<COLORREF, 4>& colorLG) {
    m_colorL = colorL;
    m_colorLG = colorLG;
}

void CKibikiView::ApplyKeyColors(bool bColor) {
    const CUserSettings& s = m_doc.Settings();
    const COLORREF face = m_form.ButtonFaceColor();
    for (int column = 0; column < 12; ++column) {
        const int first = 4 * column;
        const int g = FingerGroupOfKey(first);
        for (int k = first; k < first + 4; ++k) {
            m_form.SetBackColor(IDC_KEY_FIRST + k, bColor ? static_cast<COLORREF>(s.m_nColorB[g]) : face);
            m_form.SetTextColor(IDC_KEY_FIRST + k, bColor ? static_cast<COLORREF>(s.m_nColorL[g]) : kBlack);
        }
        // A label keeps the colours it was last lit with unless repainted with its caps.
        const int finger = IDC_FINGER_FIRST + FingerOfKey(first);
        m_form.SetTextColor(finger, bColor ? static_cast<COLORREF>(s.m_nColorL[g]) : kBlack);
        if (bColor) m_form.SetBackColor(finger, static_cast<COLORREF>(s.m_nColorB[g]));
    }
    if (!bColor)
        for (int id = IDC_FINGER_FIRST; id <= IDC_FINGER_LAST; ++id) m_form.SetBackColor(id, face);
}

void CKibikiView::ApplyHomeMarkers() {
    const CUserSettings& s = m_doc.Settings();
    for (int i = 0; i < kMarkerCount; ++i)
        m_form.SetMarker(IDC_MARKER_FIRST + i, static_cast<COLORREF>(s.m_nHomeColor), s.m_bHomePos);
}

void CKibikiView::ApplySettings() {
    const CUserSettings& s = m_doc.Settings();
    ApplyHomeMarkers();
    for (std::size_t g = 0; g < 4; ++g) {
        m_colorL[g] = static_cast<COLORREF>(s.m_nColorL[g]);
        m_colorLG[g] = static_cast<COLORREF>(s.m_nColorLG[g]);
    }
    m_doc.SetUserMode(static_cast<PracticeMode>(s.m_nType));
    m_nFont = s.m_nFont;
    m_doc.SetRomanMode(s.m_bRomanMode);
    m_bColor = s.m_bColor;
    m_bFrameNext = s.m_bNextKeyFrame;
    ShowKeyLegends();
    ApplyKeyColors(m_bColor);
}

}  // namespace kibiki
