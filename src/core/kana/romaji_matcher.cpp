// Romaji modes: the expected letters of a kana question, divided into units (one per kana or
// two-kana combination), and the judge that also accepts alternative spellings and a single N
// for ん, and learns the spelling the user completes.
//
// "SHINBUNN" against しんぶん: expected SINNBUNN; S,H switch し to SHI (learned at I); the B
// after one N ends ん, so SHINNBUNN becomes SHINBUNN.
#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "kana/kana_tables.h"
#include "kana/romaji_spelling.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson_number.h"
#include "platform/messenger.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr int kTwoKanaBonus = 10;  // unit length of a two-kana unit: letters + 10

constexpr std::string_view kSmallTsu = "\x82\xC1";      // っ
constexpr std::string_view kSmallTsuKata = "\x83\x62";  // ッ

std::uint64_t KeyOf(std::string_view s) {
    std::uint64_t key = s.size();
    for (const char c : s) key = key << 8 | static_cast<unsigned char>(c);
    return key;
}

// Kana text -> kana id, built once from the string table. The first id of a text wins.
struct UnitTables {
    std::unordered_map<std::uint64_t, int> twoKana;  // きゃ, う゛ぁ (6 bytes), ヴ (2 bytes) ...
    std::unordered_map<std::uint64_t, int> single;
    std::unordered_map<std::uint64_t, int> symbol;
    std::unordered_map<std::uint64_t, int> naRow;    // な…の, ナ…ノ: extend a single ん
};

const UnitTables& TheUnitTables() {
    static const UnitTables t = [] {
        UnitTables r;
        auto add = [](std::unordered_map<std::uint64_t, int>& map, int first, int last) {
            for (int id = first; id <= last; ++id)
                if (const std::string* s = FindString(id); s && !s->empty() && s->size() <= 6)
                    map.emplace(KeyOf(*s), id);
        };
        add(r.twoKana, IDS_TWO_KANA_FIRST, IDS_TWO_KANA_LAST);
        add(r.twoKana, IDS_TWO_KANA_FIRST + KATAKANA_OFFSET, IDS_TWO_KANA_LAST + KATAKANA_OFFSET);
        add(r.single, IDS_KANA_FIRST, IDS_SINGLE_LAST);
        add(r.single, IDS_KANA_FIRST + KATAKANA_OFFSET, IDS_SINGLE_LAST + KATAKANA_OFFSET);
        add(r.symbol, IDS_SYMBOL_FIRST, IDS_SYMBOL_LAST);
        add(r.naRow, IDS_NA_ROW_FIRST, IDS_NA_ROW_LAST);
        add(r.naRow, IDS_NA_ROW_FIRST + KATAKANA_OFFSET, IDS_NA_ROW_LAST + KATAKANA_OFFSET);
        return r;
    }();
    return t;
}

int Lookup(const std::unordered_map<std::uint64_t, int>& map, std::string_view s) {
    const auto it = map.find(KeyOf(s));
    return it == map.end() ? 0 : it->second;
}

bool IsN(int nKanaId) { return nKanaId == IDS_HIRAGANA_N || nKanaId == IDS_KATAKANA_N; }

int LetterCount(int nUnitLen) { return nUnitLen >= kTwoKanaBonus ? nUnitLen - kTwoKanaBonus : nUnitLen; }

}  // namespace

void CKibikiDoc::ResetMatcher() {
    m_nUnit = 0;
    m_nUnitTyped = 0;
    m_strUnitTyped.clear();
    m_strAltRoman.clear();
    m_nAltId = 0;
    m_nDoubled = 0;
}

bool CKibikiDoc::BuildRoman(std::string& strText) {
    const UnitTables& t = TheUnitTables();
    m_aUnitLen.clear();
    m_aUnitKana.clear();
    m_aUnitKind.clear();
    m_aUnitBytes.clear();
    ResetMatcher();

    const std::string_view text(strText);
    std::string built;
    built.reserve(text.size() * 2);
    std::string r;
    bool bDoubling = false;
    int nTsuBytes = 0;  // small tsu not yet part of a unit
    auto addUnit = [&](int nLen, int nKana, int nKind, int nBytes) {
        m_aUnitLen.push_back(nLen);
        m_aUnitKana.push_back(nKana);
        m_aUnitKind.push_back(nKind);
        m_aUnitBytes.push_back(nBytes + nTsuBytes);
        nTsuBytes = 0;
        bDoubling = false;
    };
    auto appendSpelling = [&] {
        if (bDoubling && !r.empty()) built += r[0];
        built += r;
    };

    for (std::size_t p = 0; p < text.size();) {
        // Two-kana units, longest first: う゛ぁ is 6 bytes, きゃ and う゛ 4.
        int id = 0;
        std::size_t n = 0;
        for (const std::size_t len : {6u, 4u}) {
            if (p + len <= text.size() && (id = Lookup(t.twoKana, text.substr(p, len)))) {
                n = len;
                break;
            }
        }
        if (id) {
            GetRomaji(id, r);
            const int nLen = static_cast<int>(r.size()) + (bDoubling ? 1 : 0) + kTwoKanaBonus;
            const int nKind = bDoubling ? 3 : 1;
            appendSpelling();
            addUnit(nLen, id, nKind, static_cast<int>(n));
            p += n;
            continue;
        }

        const std::string_view f = BytesAt(text, p, 2);
        if (f == kSmallTsu || f == kSmallTsuKata) {
            bDoubling = true;
            nTsuBytes += 2;
            p += 2;
            continue;
        }

        id = f.size() == 2 ? Lookup(t.single, f) : 0;
        if (!id && f.size() == 2) id = Lookup(t.twoKana, f);  // ヴ alone: VU
        if (id) {
            GetRomaji(id, r);
            int nKind = bDoubling ? 7 : 5;
            // こんな with one N for ん: the ん becomes NN before な.
            const std::size_t b = built.size();
            if (b >= 1 && built[b - 1] == 'N' && !(b >= 2 && built[b - 2] == 'N') &&
                Lookup(t.naRow, f) && !m_aUnitLen.empty()) {
                built += 'N';
                ++m_aUnitLen.back();
                ++nKind;
            }
            if (!m_bRomanMode && IsN(id)) r = "NN";
            const int nLen = static_cast<int>(r.size()) + (bDoubling ? 1 : 0);
            appendSpelling();
            addUnit(nLen, id, nKind, 2);
            p += 2;
            continue;
        }

        id = f.size() == 2 ? Lookup(t.symbol, f) : 0;
        if (id) {
            GetRomaji(id, r);
            built += r;
            addUnit(static_cast<int>(r.size()), id, 9, 2);
            p += 2;
            continue;
        }

        ReportFaultyText(strText);
        strText.clear();
        return false;
    }

    if (!m_aUnitKana.empty() && IsN(m_aUnitKana.back()) && m_aUnitLen.back() == 1) {
        m_aUnitLen.back() = 2;
        built += 'N';
    }
    // A text of small tsu alone ("っ") has no letter to type: a question no key could finish.
    if (built.empty() && !strText.empty()) {
        ReportFaultyText(strText);
        strText.clear();
        return false;
    }
    m_run.m_strRoman = std::move(built);
    if (ShowsRomaji(m_run.m_nType) && IsCustomLesson(m_run.m_nLesson))
        strText = m_run.m_strRoman;
    return true;
}

void CKibikiDoc::ReportFaultyText(const std::string& strText) {
    if (!m_pMessenger) return;
    std::string message = StringOrEmpty(IDS_FAULTY_TEXT);
    message += strText;
    message += StringOrEmpty(IDS_FAULTY_TEXT_TAIL);
    m_pMessenger->ShowMessage(message, std::string(), MsgButtons::Ok, MsgIcon::None);
}

namespace {

unsigned char LetterAt(const std::string& s, int nPos) {
    return nPos >= 0 && static_cast<std::size_t>(nPos) < s.size() ? static_cast<unsigned char>(s[nPos]) : 0;
}

}  // namespace

bool CKibikiDoc::IsExpectedKey(unsigned char ch, unsigned char& expected) {
    if (IsKanaAnswer(m_run.m_nType)) {
        bool bVoiced = false;
        expected = ExpectedKana(&bVoiced);
        if (bVoiced) m_run.m_bVoiced = true;
        return expected != 0 && ch == expected;
    }
    expected = LetterAt(m_run.m_strRoman, m_run.m_nRomanPos);
    if (expected == 0) return false;
    if (ShowsRomaji(m_run.m_nType) || m_bRomanMode) return ch == expected;
    return IsExpectedRomaji(ch, expected);
}

unsigned char CKibikiDoc::NextExpectedKey() const {
    if (IsKanaAnswer(m_run.m_nType)) return ExpectedKana();
    return LetterAt(m_run.m_strRoman, m_run.m_nRomanPos);
}

void CKibikiDoc::AdvanceAnswer(std::string& strAnswer, int& nCaret) {
    if (IsKanaAnswer(m_run.m_nType)) {
        AdvanceKanaAnswer(strAnswer, nCaret);
    } else if (ShowsRomaji(m_run.m_nType)) {
        const int n = std::clamp(m_run.m_nRomanPos + 1, 0, static_cast<int>(m_run.m_strRoman.size()));
        strAnswer.assign(m_run.m_strRoman, 0, n);
        nCaret = n;
    } else {
        AdvanceRomajiAnswer(strAnswer, nCaret);
    }
}

// A reading typed in romaji with the fixed-spelling mode off; the first rule that applies
// decides.
bool CKibikiDoc::IsExpectedRomaji(unsigned char ch, unsigned char expected) {
    if (ch == 0) return false;
    const int nUnits = static_cast<int>(m_aUnitLen.size());
    // 1. Following the expected letters.
    if (m_strAltRoman.empty() && ch == expected) {
        m_strUnitTyped += static_cast<char>(ch);
        return true;
    }
    if (m_nUnit < 0 || m_nUnit >= nUnits) return false;

    // 2. Following a chosen alternative; its last letter learns it.
    if (!m_strAltRoman.empty() && LetterAt(m_strAltRoman, m_nUnitTyped) == ch) {
        if (m_nUnitTyped + 1 == static_cast<int>(m_strAltRoman.size())) {
            LearnAlternative();
            m_strAltRoman.clear();
            m_strUnitTyped.clear();
        }
        return true;
    }

    // 3. A single N for ん when ch begins the next unit, as expected (きんえん: KINENN) or as
    // one of its alternatives (ちんちゃ: CHINTYA).
    int nAltId = 0;
    std::string alt;
    // Only a plain NN: after a small tsu ん is NNN and one N does not end it.
    if (IsN(m_aUnitKana[m_nUnit]) && m_nUnitTyped == 1 && LetterCount(m_aUnitLen[m_nUnit]) == 2 &&
        !IsDoubledKind(m_aUnitKind[m_nUnit]) && m_nUnit + 1 < nUnits) {
        const bool bAsExpected = ch == LetterAt(m_run.m_strRoman, m_run.m_nRomanPos + 1);
        if (bAsExpected || FindAlternative(m_nUnit + 1, 0, ch, std::string(), nAltId, alt)) {
            m_aUnitLen[m_nUnit] = 1;
            m_run.m_strRoman.erase(static_cast<std::size_t>(m_run.m_nRomanPos), 1);
            CompleteUnit();
            if (bAsExpected)
                m_strUnitTyped += static_cast<char>(ch);
            else
                SwitchToAlternative(ch, LetterAt(m_run.m_strRoman, m_run.m_nRomanPos), nAltId, alt);
            return true;
        }
    }

    // 4. Switching to an alternative that agrees with what was typed.
    if (FindAlternative(m_nUnit, m_nUnitTyped, ch, m_strUnitTyped, nAltId, alt)) {
        SwitchToAlternative(ch, expected, nAltId, alt);
        return true;
    }
    return false;
}

// ちゃ expected CYA, T typed: CYA becomes TYA in m_strRoman; the unit now has TYA's length.
void CKibikiDoc::SwitchToAlternative(unsigned char ch, unsigned char expected, int nAltId,
                                     const std::string& strAlt) {
    int& nLen = m_aUnitLen[m_nUnit];
    const bool bTwoKana = nLen >= kTwoKanaBonus;
    const int nOld = LetterCount(nLen);
    const int nNew = static_cast<int>(strAlt.size());
    m_strAltRoman = strAlt;
    m_nAltId = nAltId;
    m_strUnitTyped += static_cast<char>(ch);
    if (nNew != nOld) nLen = nNew + (bTwoKana ? kTwoKanaBonus : 0);
    if (LetterAt(strAlt, m_nUnitTyped) != expected) {
        const int start = m_run.m_nRomanPos - m_nUnitTyped;
        if (start >= 0 && static_cast<std::size_t>(start) <= m_run.m_strRoman.size())
            m_run.m_strRoman.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(nOld), strAlt);
    }
    if (m_nUnitTyped + 1 == nNew) {  // つ expected TSU, TU: complete at once
        LearnAlternative();
        m_strAltRoman.clear();
        m_strUnitTyped.clear();
    }
}

// The unit's kana show as done; its small tsu already does once the doubled letter is typed.
void CKibikiDoc::CompleteUnit() {
    m_run.m_nKanaPos += m_aUnitBytes[m_nUnit] - 2 * m_nDoubled;
    ++m_nUnit;
    m_nUnitTyped = 0;
    m_nDoubled = 0;
    m_strUnitTyped.clear();
}

void CKibikiDoc::LearnAlternative() {
    m_settings.SetIndexedInt("DynRoman", m_aUnitKana[m_nUnit], m_nAltId);
    m_settings.SaveUser();
}

void CKibikiDoc::AdvanceRomajiAnswer(std::string& strAnswer, int& nCaret) {
    strAnswer.clear();
    if (m_nUnit >= 0 && m_nUnit < static_cast<int>(m_aUnitLen.size())) {
        ++m_nUnitTyped;
        // がっこう: the second K shows っ as done.
        if (m_nUnitTyped == 2 && IsDoubledKind(m_aUnitKind[m_nUnit])) {
            m_run.m_nKanaPos += 2;
            m_nDoubled = 1;
        }
        if (m_nUnitTyped >= LetterCount(m_aUnitLen[m_nUnit])) CompleteUnit();
    }
    AppendKanaPart(strAnswer, m_run.m_nKanaPos);
    // The letters of the unit in progress, without its doubled consonant once っ shows.
    const int nLetters = m_nUnitTyped - m_nDoubled;
    if (nLetters > 0) {
        if (!m_bRomanMode && !m_strAltRoman.empty()) {
            strAnswer.append(m_strAltRoman, std::min<std::size_t>(m_nDoubled, m_strAltRoman.size()),
                             static_cast<std::size_t>(nLetters));
        } else {
            const int from = m_run.m_nRomanPos - m_nUnitTyped + m_nDoubled + 1;
            if (from >= 0 && static_cast<std::size_t>(from) < m_run.m_strRoman.size())
                strAnswer.append(m_run.m_strRoman, static_cast<std::size_t>(from), static_cast<std::size_t>(nLetters));
        }
    }
    nCaret = static_cast<int>(strAnswer.size());
}

}  // namespace kibiki
