// The on-screen keyboard: legends per mode, finger colours, the lit next key with its finger
// label and SHIFT cap, and the home-position markers.
#include <cstring>

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

// By key column 0-11 (cap k is in column k / 4).
constexpr int kFingerOfColumn[12] = {0, 1, 2, 3, 3, 4, 4, 5, 6, 7, 7, 7};
constexpr int kGroupOfColumn[12] = {0, 1, 2, 3, 3, 3, 3, 2, 1, 0, 0, 0};
// Home keys A S D F J K L ; carry the markers 1114-1121.
constexpr int kMarkerCount = IDC_MARKER_LAST - IDC_MARKER_FIRST + 1;

// Shifted characters and the unshifted key they are typed on. A right-hand key lights the
// left SHIFT cap and the other way round. The kana lists are padded with spaces in the
// original tables; the padding is left out, since a space lights nothing.
constexpr char kRightKana[] = "\xA6\xAB\xAC\xAD\xAE\xA4\xA1\xA5\xA2\xA3";  // ｦｫｬｭｮ､｡･｢｣
constexpr char kRightAscii[] = "&'()<>?{}_+*`=~|";
constexpr char kRightKanaBase[] = "06789,./[]";
constexpr char kRightAsciiBase[] = "6789,./[]_;:@-^\\";
constexpr char kLeftKana[] = "\xAF\xA8\xA7\xA9\xAA";  // ｯｨｧｩｪ
constexpr char kLeftAscii[] = "#$%!\"";
constexpr char kLeftKanaBase[] = "ZE345";
constexpr char kLeftAsciiBase[] = "34512";

int IndexIn(const char* list, unsigned char ch) {
    if (ch == 0) return -1;
    const char* hit = std::strchr(list, static_cast<char>(ch));
    return hit ? static_cast<int>(hit - list) : -1;
}

}  // namespace

int CKibikiView::CapOf(unsigned char ch) const {
    if (ch == 0 || ch == ' ') return -1;
    int cap = -1;
    FindKeyIndex(m_doc.m_run.m_nType, ch, cap);
    return cap >= 0 && cap <= 47 ? cap : -1;
}

COLORREF CKibikiView::LegendColor(int nGroup, bool bOn) const {
    if (m_bColor) return bOn ? m_colorLG[nGroup] : m_colorL[nGroup];
    return bOn ? kRed : kBlack;
}

void CKibikiView::LightFinger(int nCap, bool bOn) {
    const int column = nCap / 4;
    m_form.SetTextColor(IDC_FINGER_FIRST + kFingerOfColumn[column],
                        LegendColor(kGroupOfColumn[column], bOn));
}

void CKibikiView::LightPlain(unsigned char ch, bool bOn) {
    const int cap = CapOf(ch);
    if (cap < 0) return;
    m_form.SetTextColor(IDC_KEY_FIRST + cap, LegendColor(kGroupOfColumn[cap / 4], bOn));
    LightFinger(cap, bOn);
}

void CKibikiView::LightWithShift(unsigned char ch, bool bOn, bool bRightHand) {
    const int cap = CapOf(ch);
    if (cap < 0) return;
    m_form.SetTextColor(IDC_KEY_FIRST + cap, LegendColor(kGroupOfColumn[cap / 4], bOn));
    if (bOn) {
        m_form.SetTextColor(bRightHand ? IDC_SHIFT_LEFT : IDC_SHIFT_RIGHT, kRed);
    } else {
        m_form.SetTextColor(IDC_SHIFT_LEFT, kBlack);
        m_form.SetTextColor(IDC_SHIFT_RIGHT, kBlack);
    }
    LightFinger(cap, bOn);
    m_bShiftLit = bOn;
}

void CKibikiView::GuideChar(unsigned char ch, bool bOn) {
    if (ch == 0 || ch == ' ') return;
    const LessonRun& run = m_doc.m_run;
    char base = 0;
    bool rightHand = true;
    int p;
    if ((p = IndexIn(kRightKana, ch)) >= 0) base = kRightKanaBase[p];
    else if ((p = IndexIn(kRightAscii, ch)) >= 0) base = kRightAsciiBase[p];
    else if ((p = IndexIn(kLeftKana, ch)) >= 0) base = kLeftKanaBase[p], rightHand = false;
    else if ((p = IndexIn(kLeftAscii, ch)) >= 0) base = kLeftAsciiBase[p], rightHand = false;

    // Off the JIS layout "~" and "`" sit where the legends of caps 41 and 44 show them.
    if (!m_layout.IsJisLayout()) {
        if (ch == '~') base = '@';
        else if (ch == '`') base = '^';
    }
    // English text: a capital letter is its letter key with the other hand's SHIFT.
    if (IsCustomLesson(run.m_nLesson) && run.m_bEnglish && ch >= 'A' && ch <= 'Z') {
        base = static_cast<char>(ch - 'A' + 'a');
        rightHand = std::strchr("YHNUJMIKOLP", ch) != nullptr;
    }

    if (base != 0)
        LightWithShift(IsKanaAnswer(run.m_nType) ? ch : static_cast<unsigned char>(base), bOn, rightHand);
    else
        LightPlain(ch, bOn);
}

void CKibikiView::AdvanceGuide() {
    LessonRun& run = m_doc.m_run;
    const unsigned char next = m_doc.NextExpectedKey();
    m_form.SetTextColor(IDC_SHIFT_LEFT, kBlack);
    m_form.SetTextColor(IDC_SHIFT_RIGHT, kBlack);
    if (run.m_chGuideKey != 0) {
        if (m_bShiftLit) GuideChar(run.m_chGuideKey, false);
        else LightPlain(run.m_chGuideKey, false);
    }
    GuideChar(next, true);
    run.m_chGuideKey = next;
}

void CKibikiView::ShowKeyLegends() {
    const bool kana = IsKanaAnswer(m_doc.m_run.m_nType);
    const int first = kana ? IDS_KANA_LEGEND_FIRST : IDS_ASCII_LEGEND_FIRST;
    for (int k = 0; k < 48; ++k) m_form.SetControlText(IDC_KEY_FIRST + k, StringOrEmpty(first + k));
    if (!kana && m_layout.IsJisLayout()) {
        m_form.SetControlText(IDC_KEY_FIRST + 41, "@ `");
        m_form.SetControlText(IDC_KEY_FIRST + 44, "^ ~");
    }
}

void CKibikiView::ApplyKeyColors(bool bColor) {
    const CUserSettings& s = m_doc.m_settings;
    const COLORREF face = m_form.ButtonFaceColor();
    for (int column = 0; column < 12; ++column) {
        const int g = kGroupOfColumn[column];
        for (int k = 4 * column; k < 4 * column + 4; ++k) {
            m_form.SetBackColor(IDC_KEY_FIRST + k, bColor ? static_cast<COLORREF>(s.m_nColorB[g]) : face);
            m_form.SetTextColor(IDC_KEY_FIRST + k, bColor ? static_cast<COLORREF>(s.m_nColorL[g]) : kBlack);
        }
        if (bColor)
            m_form.SetBackColor(IDC_FINGER_FIRST + kFingerOfColumn[column], static_cast<COLORREF>(s.m_nColorB[g]));
    }
    if (!bColor)
        for (int id = IDC_FINGER_FIRST; id <= IDC_FINGER_LAST; ++id) m_form.SetBackColor(id, face);
}

void CKibikiView::ApplyHomeMarkers() {
    const CUserSettings& s = m_doc.m_settings;
    for (int i = 0; i < kMarkerCount; ++i)
        m_form.SetMarker(IDC_MARKER_FIRST + i, static_cast<COLORREF>(s.m_nHomeColor), s.m_bHomePos);
}

void CKibikiView::ApplySettings() {
    const CUserSettings& s = m_doc.m_settings;
    ApplyHomeMarkers();
    for (int g = 0; g < 4; ++g) {
        m_colorL[g] = static_cast<COLORREF>(s.m_nColorL[g]);
        m_colorLG[g] = static_cast<COLORREF>(s.m_nColorLG[g]);
    }
    m_doc.m_run.m_nType = static_cast<PracticeMode>(s.m_nType);
    m_nFont = s.m_nFont;
    m_doc.m_bRomanMode = s.m_bRomanMode;
    m_bColor = s.m_bColor;
    ShowKeyLegends();
    ApplyKeyColors(m_bColor);
}

}  // namespace kibiki
