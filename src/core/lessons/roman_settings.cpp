#include "lessons/roman_settings.h"

#include "kana/romaji_spelling.h"
#include "lessons/kibiki_doc.h"
#include "platform/messenger.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/user_settings.h"

namespace kibiki {

bool CheckRomanSpelling(std::string_view utf8, std::string& strSpelling, Messenger* pMessenger) {
    std::string upper;
    bool ok = utf8.size() <= kMaxSpellingLetters;
    for (std::size_t i = 0; ok && i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c >= 'a' && c <= 'z') upper += static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') upper += c;
        else ok = false;
    }
    if (!ok) {
        if (pMessenger)
            pMessenger->ShowMessage(StringOrEmpty(IDS_SPELLING_LETTERS_ONLY), "", MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    strSpelling = std::move(upper);
    return true;
}

CRomanSettingModel::CRomanSettingModel(const CUserSettings& settings, bool bFixRoman)
    : m_bFixRoman(bFixRoman), m_bImeSpellings(settings.m_bImeSpellings) {
    m_aRows.reserve(kRomanRowCount);
    for (int i = 0; i < kRomanRowCount; ++i) {
        Row row{StringOrEmpty(IDS_KANA_FIRST + i), StringOrEmpty(IDS_DEFAULT_SPELLING_FIRST + i)};
        // The list shows what practice uses: a hand-edited value practice passes over is the default.
        std::string fixed = settings.GetIndexedString("Roman", i, "");
        if (UsableFixedSpelling(fixed)) row.strRoman = std::move(fixed);
        m_aRows.push_back(std::move(row));
    }
}

void CRomanSettingModel::SetFixRoman(bool bFixRoman) {
    m_bFixRoman = bFixRoman;
    Select(m_nSelected);
}

void CRomanSettingModel::Select(int nRow) {
    m_nSelected = nRow >= 0 && nRow < kRomanRowCount ? nRow : -1;
    m_bCanChange = m_bFixRoman && m_nSelected >= 0;
}

void CRomanSettingModel::Change(int nRow, const std::string& strSpelling) {
    if (nRow < 0 || nRow >= kRomanRowCount) return;
    // An empty spelling means the default, and the row says which letters that is.
    m_aRows[nRow].strRoman = strSpelling.empty() ? StringOrEmpty(IDS_DEFAULT_SPELLING_FIRST + nRow) : strSpelling;
    m_aChangedRows.push_back(nRow);
    m_aChangedRoman.push_back(strSpelling);
}

bool CRomanSettingModel::DeleteLearning(CUserSettings& settings, Messenger& messenger) {
    if (messenger.ShowMessage(StringOrEmpty(IDS_CONFIRM_DELETE_LEARNING), "", MsgButtons::YesNoDefaultNo,
                              MsgIcon::Question) != MsgResult::Yes)
        return false;
    settings.ClearEntries("DynRoman");
    settings.ClearEntries("ImeRoman");
    settings.SaveUser();
    return true;
}

bool CRomanSettingModel::Apply(CKibikiDoc& doc) const {
    CUserSettings& s = doc.Settings();
    for (std::size_t k = 0; k < m_aChangedRows.size(); ++k)
        s.SetIndexedString("Roman", m_aChangedRows[k], m_aChangedRoman[k]);
    s.SetInt("RomanMode", m_bFixRoman ? 1 : 0);
    s.SetInt("ImeSpellings", m_bImeSpellings ? 1 : 0);
    doc.SetRomanMode(m_bFixRoman);
    return s.SaveUser();
}

}  // namespace kibiki
