// Which letters spell a kana: its default, the user's fixed or learned choice, and the
// alternatives the matcher accepts.
#include "kana/romaji_spelling.h"

#include <algorithm>

#include "lessons/kibiki_doc.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// Katakana share their hiragana's spellings.
int HiraganaIndex(int nKanaId) {
    return (nKanaId < IDS_KATAKANA_FIRST ? nKanaId : nKanaId - KATAKANA_OFFSET) - IDS_KANA_FIRST;
}

}  // namespace

int DefaultSpellingId(int nKanaId) { return IDS_DEFAULT_SPELLING_FIRST + HiraganaIndex(nKanaId); }

int AlternativePointerId(int nKanaId) { return IDS_ALTERNATIVE_POINTER_FIRST + HiraganaIndex(nKanaId); }

bool IsDoubledKind(int nKind) {
    return nKind == 3 || nKind == 4 || nKind == 7 || nKind == 8;
}

void CKibikiDoc::GetRomaji(int nKanaId, std::string& strRomaji) const {
    strRomaji.clear();
    LoadString(DefaultSpellingId(nKanaId), strRomaji);
    if (m_bRomanMode) {
        std::string fixed = m_settings.GetIndexedString("Roman", nKanaId - IDS_KANA_FIRST, std::string());
        if (!fixed.empty()) strRomaji = std::move(fixed);
        return;
    }
    const int nLearned = m_settings.GetIndexedInt("DynRoman", nKanaId, 0);
    if (nLearned == 0) return;
    const std::string* learned = FindString(nLearned);
    if (learned && !learned->empty()) strRomaji = *learned;
}

bool CKibikiDoc::FindAlternative(int nUnit, int nPos, unsigned char ch, const std::string& strPrefix,
                                 int& nAltId, std::string& strAlt) const {
    if (nUnit < 0 || nUnit >= static_cast<int>(m_aUnitKana.size()) || nPos < 0) return false;
    const std::string* pointer = FindString(AlternativePointerId(m_aUnitKana[nUnit]));
    if (!pointer || pointer->empty()) return false;

    // "40726,3": the list is 40726..40728. The count is the last character alone.
    long first = 0;
    for (const char c : *pointer) {
        if (c < '0' || c > '9') break;
        if (first < 1000000) first = first * 10 + (c - '0');
    }
    const char last = pointer->back();
    const int count = (last >= '0' && last <= '9') ? last - '0' : 0;

    // After a small tsu the unit's letters begin with the doubled consonant, so an
    // alternative is compared with its first letter doubled: っし typed SSHI.
    const std::size_t lead = IsDoubledKind(m_aUnitKind[nUnit]) ? 1 : 0;
    const std::size_t pos = static_cast<std::size_t>(nPos);
    for (int i = 0; i < count; ++i) {
        const int id = static_cast<int>(first) + i;
        const std::string* a = FindString(id);
        if (!a || a->empty()) continue;
        const std::size_t len = a->size() + lead;
        auto letter = [&](std::size_t k) { return k < lead ? (*a)[0] : (*a)[k - lead]; };
        if (!strPrefix.empty()) {
            const std::size_t n = std::min(pos, len);
            bool same = n == strPrefix.size();
            for (std::size_t k = 0; same && k < n; ++k) same = letter(k) == strPrefix[k];
            if (!same) continue;
        }
        if (pos < len && static_cast<unsigned char>(letter(pos)) == ch) {
            nAltId = id;
            strAlt.clear();
            for (std::size_t k = 0; k < len; ++k) strAlt += letter(k);
            return true;
        }
    }
    return false;
}

}  // namespace kibiki
