// Which letters spell a kana: its default, the user's fixed or learned choice, and the
// alternatives the matcher accepts.
#include "kana/romaji_spelling.h"

#include <algorithm>

#include "platform/messenger.h"
#include "text/control_marks.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// Katakana share their hiragana's spellings.
int HiraganaIndex(int nKanaId) {
    return (nKanaId < IDS_KATAKANA_FIRST ? nKanaId : nKanaId - KATAKANA_OFFSET) - IDS_KANA_FIRST;
}

// "40726,3": the alternatives are 40726..40728. The count is the last character alone.
bool AlternativeList(int nKanaId, int& nFirst, int& nCount) {
    const std::string* pointer = FindString(AlternativePointerId(nKanaId));
    if (!pointer || pointer->empty()) return false;
    long first = 0;
    for (const char c : *pointer) {
        if (c < '0' || c > '9') break;
        if (first < 1000000) first = first * 10 + (c - '0');
    }
    const char last = pointer->back();
    nFirst = static_cast<int>(first);
    nCount = (last >= '0' && last <= '9') ? last - '0' : 0;
    return true;
}

}  // namespace

bool UsableFixedSpelling(std::string& strSpelling) {
    if (strSpelling.empty() || strSpelling.size() > kMaxSpellingLetters) return false;
    for (char& c : strSpelling) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (c < 'A' || c > 'Z') return false;
    }
    return true;
}

int DefaultSpellingId(int nKanaId) { return IDS_DEFAULT_SPELLING_FIRST + HiraganaIndex(nKanaId); }

int AlternativePointerId(int nKanaId) { return IDS_ALTERNATIVE_POINTER_FIRST + HiraganaIndex(nKanaId); }

void GetRomaji(int nKanaId, bool bRomanMode, const RomajiUser& user, std::string& strRomaji) {
    strRomaji.clear();
    LoadString(DefaultSpellingId(nKanaId), strRomaji);
    if (bRomanMode) {
        if (!user.fnFixedSpelling) return;
        std::string fixed = user.fnFixedSpelling(nKanaId - IDS_KANA_FIRST);
        if (UsableFixedSpelling(fixed)) strRomaji = std::move(fixed);
        return;
    }
    // Only one of the kana's own alternatives: a hand-edited id could name any string.
    const int nLearned = user.fnLearnedSpelling ? user.fnLearnedSpelling(nKanaId) : 0;
    int first = 0, count = 0;
    if (nLearned == 0 || !AlternativeList(nKanaId, first, count) || nLearned < first || nLearned >= first + count)
        return;
    const std::string* learned = FindString(nLearned);
    if (learned && !learned->empty()) strRomaji = *learned;
}


bool FindAlternativeSpelling(int nKanaId, bool bDoubled, int nPos, unsigned char ch,
                             std::string_view strPrefix, int& nAltId, std::string& strAlt) {
    if (nPos < 0) return false;
    int first = 0, count = 0;
    if (!AlternativeList(nKanaId, first, count)) return false;

    // After a small tsu the unit's letters begin with the doubled consonant, so an
    // alternative is compared with its first letter doubled: っし typed SSHI.
    const std::size_t lead = bDoubled ? 1 : 0;
    const std::size_t pos = static_cast<std::size_t>(nPos);
    for (int i = 0; i < count; ++i) {
        const int id = first + i;
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

std::vector<std::pair<int, std::string>> AlternativeSpellings(int nKanaId) {
    std::vector<std::pair<int, std::string>> out;
    int first = 0, count = 0;
    if (!AlternativeList(nKanaId, first, count)) return out;
    for (int i = 0; i < count; ++i)
        if (const std::string* a = FindString(first + i); a && !a->empty()) out.emplace_back(first + i, *a);
    return out;
}

int AlternativeSpellingId(int nKanaId, std::string_view strLetters) {
    if (strLetters.empty()) return 0;
    int first = 0, count = 0;
    if (!AlternativeList(nKanaId, first, count)) return 0;
    for (int i = 0; i < count; ++i) {
        const std::string* a = FindString(first + i);
        if (a && *a == strLetters) return first + i;
    }
    return 0;
}

void ReportFaultyText(Messenger* pMessenger, const std::string& strText) {
    if (!pMessenger) return;
    std::string message = StringOrEmpty(IDS_FAULTY_TEXT);
    // A tab, a stray CR or a NUL in a file's line would otherwise leave nothing to find.
    message += ShowControls(strText);
    message += StringOrEmpty(IDS_FAULTY_TEXT_TAIL);
    pMessenger->ShowMessage(message, std::string(), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace kibiki
