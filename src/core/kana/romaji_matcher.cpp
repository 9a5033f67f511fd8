// The romaji matcher: building the expected letters of a kana question and judging the keys
// typed against them, alternatives and the single N included.
#include "kana/romaji_matcher.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr int kTwoKanaBonus = 10;  // unit length of a two-kana unit: letters + 10

// Unit kinds; one more when the unit made the ん before it NN.
constexpr int kTwoKana = 1;
constexpr int kTwoKanaDoubled = 3;
constexpr int kSingle = 5;
constexpr int kSingleDoubled = 7;
constexpr int kSymbol = 9;

// Units whose letters begin with a doubled consonant (after a small tsu).
bool IsDoubledKind(int nKind) {
    return nKind == kTwoKanaDoubled || nKind == kTwoKanaDoubled + 1 || nKind == kSingleDoubled ||
           nKind == kSingleDoubled + 1;
}

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

const RomajiUser& UserOrNone(const RomajiUser* pUser) {
    static const RomajiUser none;
    return pUser ? *pUser : none;
}

// The letters and units of one kana text, read from the start. Each step reads the text at p
// when it applies there, adds its letters and unit and moves p on; a small tsu doubles the
// first letter of the unit after it.
class RomanBuilder {
public:
    using Unit = CRomajiMatcher::Unit;

    RomanBuilder(std::vector<Unit>& units, const RomajiUser& user, bool bRomanMode, std::size_t nTextSize)
        : m_units(units), m_user(user), m_bRomanMode(bRomanMode), m_t(TheUnitTables()) {
        m_built.reserve(nTextSize * 2);
    }

    // きゃ, う゛ぁ: two-kana units, longest first (う゛ぁ is 6 bytes, きゃ and う゛ 4).
    bool TwoKana(std::string_view text, std::size_t& p) {
        int id = 0;
        std::size_t n = 0;
        for (const std::size_t len : {6u, 4u}) {
            if (p + len <= text.size() && (id = Lookup(m_t.twoKana, text.substr(p, len)))) {
                n = len;
                break;
            }
        }
        if (!id) return false;
        Spell(id);
        const int nLen = static_cast<int>(m_r.size()) + (m_bDoubling ? 1 : 0) + kTwoKanaBonus;
        const int nKind = m_bDoubling ? kTwoKanaDoubled : kTwoKana;
        AppendSpelling();
        AddUnit(nLen, id, nKind, static_cast<int>(n));
        p += n;
        return true;
    }

    // っ, ッ: the next unit doubles its first letter; a second one in a row changes nothing.
    bool SmallTsu(std::string_view f, std::size_t& p) {
        if (f != kSmallTsu && f != kSmallTsuKata) return false;
        m_bDoubling = true;
        m_nTsuBytes += 2;
        p += 2;
        return true;
    }

    bool SingleKana(std::string_view f, std::size_t& p) {
        int id = f.size() == 2 ? Lookup(m_t.single, f) : 0;
        if (!id && f.size() == 2) id = Lookup(m_t.twoKana, f);  // ヴ alone: VU
        if (!id) return false;
        Spell(id);
        int nKind = m_bDoubling ? kSingleDoubled : kSingle;
        // こんな with one N for ん: the ん becomes NN before な.
        const std::size_t b = m_built.size();
        if (b >= 1 && m_built[b - 1] == 'N' && !(b >= 2 && m_built[b - 2] == 'N') &&
            Lookup(m_t.naRow, f) && !m_units.empty()) {
            m_built += 'N';
            ++m_units.back().nLen;
            ++nKind;
        }
        if (!m_bRomanMode && IsN(id)) m_r = "NN";
        const int nLen = static_cast<int>(m_r.size()) + (m_bDoubling ? 1 : 0);
        AppendSpelling();
        AddUnit(nLen, id, nKind, 2);
        p += 2;
        return true;
    }

    // 「、。 and the like: never doubled, even after a small tsu.
    bool Symbol(std::string_view f, std::size_t& p) {
        const int id = f.size() == 2 ? Lookup(m_t.symbol, f) : 0;
        if (!id) return false;
        Spell(id);
        m_built += m_r;
        AddUnit(static_cast<int>(m_r.size()), id, kSymbol, 2);
        p += 2;
        return true;
    }

    // ほん: a single N for a final ん is doubled. A final small tsu adds nothing.
    void EndOfText() {
        if (!m_units.empty() && IsN(m_units.back().nKana) && m_units.back().nLen == 1) {
            m_units.back().nLen = 2;
            m_built += 'N';
        }
    }

    std::string& Letters() { return m_built; }

private:
    void Spell(int nKanaId) { GetRomaji(nKanaId, m_bRomanMode, m_user, m_r); }
    void AppendSpelling() {
        if (m_bDoubling && !m_r.empty()) m_built += m_r[0];
        m_built += m_r;
    }
    void AddUnit(int nLen, int nKana, int nKind, int nBytes) {
        m_units.push_back({nLen, nKana, nKind, nBytes + m_nTsuBytes});
        m_nTsuBytes = 0;
        m_bDoubling = false;
    }

    std::vector<Unit>& m_units;
    const RomajiUser& m_user;
    const bool m_bRomanMode;
    const UnitTables& m_t;
    std::string m_built;      // the letters so far
    std::string m_r;          // the spelling of the kana being added
    bool m_bDoubling = false;
    int m_nTsuBytes = 0;      // small tsu not yet part of a unit
};

}  // namespace

void CRomajiMatcher::ResetMatcher() {
    if (m_bInputMethod) m_ime.Reset();
    m_nUnit = 0;
    m_nUnitTyped = 0;
    m_strUnitTyped.clear();
    m_strAltRoman.clear();
    m_nAltId = 0;
    m_nDoubled = 0;
}

bool CRomajiMatcher::BuildRoman(std::string& strText, bool bRomanMode, bool bInputMethod) {
    m_aUnits.clear();
    m_bInputMethod = false;
    ResetMatcher();
    const std::string_view text(strText);
    RomanBuilder builder(m_aUnits, UserOrNone(m_pUser), bRomanMode, text.size());
    for (std::size_t p = 0; p < text.size();) {
        if (builder.TwoKana(text, p)) continue;
        const std::string_view f = BytesAt(text, p, 2);
        if (!builder.SmallTsu(f, p) && !builder.SingleKana(f, p) && !builder.Symbol(f, p))
            return RefuseText(strText);
    }
    builder.EndOfText();
    // A text of small tsu alone ("っ") has no letter to type: a question no key could finish.
    if (builder.Letters().empty() && !strText.empty() && !bInputMethod) return RefuseText(strText);
    // う゛ builds, yet a text the rules cannot type to its end is as faulty as one with an
    // unknown character.
    if (bInputMethod && !BuildInputMethod(strText, builder.Letters(), bRomanMode)) return RefuseText(strText);
    m_strRoman = std::move(builder.Letters());
    return true;
}

// The units as the input-method matcher sees them: their bytes, and the letters of each as
// built above, or the input-method spelling learned for it, as what the guide prefers; the
// matcher takes only those the rules type.
bool CRomajiMatcher::BuildInputMethod(const std::string& strText, const std::string& strLetters, bool bRomanMode) {
    const RomajiUser& user = UserOrNone(m_pUser);
    std::vector<CImeMatcher::UnitSpan> spans;
    spans.reserve(m_aUnits.size() + 1);
    int nStart = 0;
    std::size_t nLetter = 0;
    for (const Unit& unit : m_aUnits) {
        CImeMatcher::UnitSpan span;
        span.nStart = nStart;
        span.nEnd = nStart + unit.nBytes;
        span.nKana = unit.nKana;
        span.bDoubled = IsDoubledKind(unit.nKind);
        const std::size_t n = static_cast<std::size_t>(LetterCount(unit.nLen));
        span.strRules = strLetters.substr(std::min(nLetter, strLetters.size()), n);
        span.strPreferred = span.strRules;
        if (!bRomanMode && user.fnImeLearned) {
            std::string learned = user.fnImeLearned(unit.nKana);
            if (!learned.empty()) span.strPreferred = span.bDoubled ? learned[0] + learned : std::move(learned);
        }
        nLetter += n;
        nStart = span.nEnd;
        spans.push_back(std::move(span));
    }
    // A small tsu at the end belongs to no unit: XTU.
    if (nStart < static_cast<int>(strText.size()))
        spans.push_back({nStart, static_cast<int>(strText.size()), 0, false, {}, {}});
    if (!m_ime.Build(strText, std::move(spans), !bRomanMode)) return false;
    m_bInputMethod = true;
    return true;
}

bool CRomajiMatcher::RefuseText(std::string& strText) {
    const RomajiUser& user = UserOrNone(m_pUser);
    if (user.fnFaultyText) user.fnFaultyText(strText);
    strText.clear();
    return false;
}

bool CRomajiMatcher::IsExpectedKey(unsigned char ch, unsigned char& expected, bool bAlternatives,
                                   int& nKanaPos) {
    expected = LetterAt(Roman(), m_nRomanPos);
    if (expected == 0) return false;
    if (m_bInputMethod) return m_ime.Judge(ch, UserOrNone(m_pUser));
    if (!bAlternatives) return ch == expected;
    return IsExpectedAlternative(ch, expected, nKanaPos);
}

// The first rule that applies decides.
bool CRomajiMatcher::IsExpectedAlternative(unsigned char ch, unsigned char expected, int& nKanaPos) {
    if (ch == 0) return false;
    const int nUnits = static_cast<int>(m_aUnits.size());
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
    const Unit& unit = m_aUnits[m_nUnit];
    // Only a plain NN: after a small tsu ん is NNN and one N does not end it.
    if (IsN(unit.nKana) && m_nUnitTyped == 1 && LetterCount(unit.nLen) == 2 && !IsDoubledKind(unit.nKind) &&
        m_nUnit + 1 < nUnits) {
        const bool bAsExpected = ch == LetterAt(m_strRoman, m_nRomanPos + 1);
        if (bAsExpected || FindAlternative(m_nUnit + 1, 0, ch, std::string(), nAltId, alt)) {
            m_aUnits[m_nUnit].nLen = 1;
            m_strRoman.erase(static_cast<std::size_t>(m_nRomanPos), 1);
            CompleteUnit(nKanaPos);
            if (bAsExpected)
                m_strUnitTyped += static_cast<char>(ch);
            else
                SwitchToAlternative(ch, LetterAt(m_strRoman, m_nRomanPos), nAltId, alt);
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

bool CRomajiMatcher::FindAlternative(int nUnit, int nPos, unsigned char ch, const std::string& strPrefix,
                                     int& nAltId, std::string& strAlt) const {
    if (nUnit < 0 || nUnit >= static_cast<int>(m_aUnits.size())) return false;
    const Unit& unit = m_aUnits[nUnit];
    return FindAlternativeSpelling(unit.nKana, IsDoubledKind(unit.nKind), nPos, ch, strPrefix, nAltId, strAlt);
}

// ちゃ expected CYA, T typed: CYA becomes TYA in m_strRoman; the unit now has TYA's length.
void CRomajiMatcher::SwitchToAlternative(unsigned char ch, unsigned char expected, int nAltId,
                                         const std::string& strAlt) {
    int& nLen = m_aUnits[m_nUnit].nLen;
    const bool bTwoKana = nLen >= kTwoKanaBonus;
    const int nOld = LetterCount(nLen);
    const int nNew = static_cast<int>(strAlt.size());
    m_strAltRoman = strAlt;
    m_nAltId = nAltId;
    m_strUnitTyped += static_cast<char>(ch);
    if (nNew != nOld) nLen = nNew + (bTwoKana ? kTwoKanaBonus : 0);
    if (LetterAt(strAlt, m_nUnitTyped) != expected) {
        const int start = m_nRomanPos - m_nUnitTyped;
        if (start >= 0 && static_cast<std::size_t>(start) <= m_strRoman.size())
            m_strRoman.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(nOld), strAlt);
    }
    if (m_nUnitTyped + 1 == nNew) {  // つ expected TSU, TU: complete at once
        LearnAlternative();
        m_strAltRoman.clear();
        m_strUnitTyped.clear();
    }
}

// The unit's kana show as done; its small tsu already does once the doubled letter is typed.
void CRomajiMatcher::CompleteUnit(int& nKanaPos) {
    nKanaPos += m_aUnits[m_nUnit].nBytes - 2 * m_nDoubled;
    ++m_nUnit;
    m_nUnitTyped = 0;
    m_nDoubled = 0;
    m_strUnitTyped.clear();
}

void CRomajiMatcher::LearnAlternative() {
    const RomajiUser& user = UserOrNone(m_pUser);
    if (user.fnLearn) user.fnLearn(m_aUnits[m_nUnit].nKana, m_nAltId);
}

void CRomajiMatcher::AdvanceAnswer(int& nKanaPos) {
    if (m_bInputMethod) {
        nKanaPos = m_ime.KanaPos();
        return;
    }
    if (m_nUnit < 0 || m_nUnit >= static_cast<int>(m_aUnits.size())) return;
    ++m_nUnitTyped;
    // がっこう: the second K shows っ as done.
    if (m_nUnitTyped == 2 && IsDoubledKind(m_aUnits[m_nUnit].nKind)) {
        nKanaPos += 2;
        m_nDoubled = 1;
    }
    if (m_nUnitTyped >= LetterCount(m_aUnits[m_nUnit].nLen)) CompleteUnit(nKanaPos);
}

void CRomajiMatcher::AppendUnitLetters(std::string& strOut, bool bAlternatives) const {
    if (m_bInputMethod) {
        m_ime.AppendPendingLetters(strOut);
        return;
    }
    const int nLetters = m_nUnitTyped - m_nDoubled;
    if (nLetters <= 0) return;
    if (bAlternatives && !m_strAltRoman.empty()) {
        strOut.append(m_strAltRoman, std::min<std::size_t>(m_nDoubled, m_strAltRoman.size()),
                      static_cast<std::size_t>(nLetters));
    } else {
        const int from = m_nRomanPos - m_nUnitTyped + m_nDoubled + 1;
        if (from >= 0 && static_cast<std::size_t>(from) < m_strRoman.size())
            strOut.append(m_strRoman, static_cast<std::size_t>(from), static_cast<std::size_t>(nLetters));
    }
}

void CRomajiMatcher::AppendTypedLetters(std::string& strOut) const {
    const std::string& roman = Roman();
    const int n = std::clamp(m_nRomanPos + 1, 0, static_cast<int>(roman.size()));
    strOut.append(roman, 0, static_cast<std::size_t>(n));
}

}  // namespace kibiki
