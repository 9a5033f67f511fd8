// Input-method romaji: the ways to type each stretch of the question, the judge over all of
// them, the guide and learning.
#include "kana/ime_matcher.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr std::string_view kHiraganaN = "\x82\xF1";   // ん
constexpr std::string_view kHiraganaTsu = "\x82\xC1"; // っ
constexpr std::string_view kKatakanaTsu = "\x83\x62"; // ッ
// A doubled consonant repeats a spelling's first letter; chains of small tsu stop growing here.
constexpr std::size_t kMaxDoubledLetters = 8;

std::uint64_t KeyOf(std::string_view s) {
    std::uint64_t key = s.size();
    for (const char c : s) key = key << 8 | static_cast<unsigned char>(c);
    return key;
}

bool IsVowel(unsigned char c) { return c == 'A' || c == 'I' || c == 'U' || c == 'E' || c == 'O'; }
bool IsLetter(unsigned char c) { return c >= 'A' && c <= 'Z'; }

// The letter a small tsu can double, and the letter after a single N that ends ん.
bool IsConsonantNotN(unsigned char c) { return IsLetter(c) && !IsVowel(c) && c != 'N'; }
bool FollowsSingleN(unsigned char c) { return IsConsonantNotN(c) && c != 'Y'; }

bool IsN(int nKanaId) { return nKanaId == IDS_HIRAGANA_N || nKanaId == IDS_KATAKANA_N; }
bool IsKanaId(int id) {
    return (id >= IDS_KANA_FIRST && id <= IDS_TWO_KANA_LAST) ||
           (id >= IDS_KATAKANA_FIRST && id <= IDS_KATAKANA_LAST);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

struct ImeTables {
    std::unordered_map<std::uint64_t, std::vector<std::string>> spellings;  // hiragana -> spellings
    std::unordered_map<std::uint64_t, std::string> hiraganaOf;              // katakana -> hiragana
};

const ImeTables& TheImeTables() {
    static const ImeTables t = [] {
        ImeTables r;
        for (int id = IDS_IME_ROMAJI_FIRST; id <= IDS_IME_ROMAJI_LAST; ++id) {
            const std::string* line = FindString(id);
            if (!line) continue;
            const std::size_t tab = line->find('\t');
            if (tab == std::string::npos || tab == 0 || tab > 7) continue;
            std::vector<std::string>& list = r.spellings[KeyOf(std::string_view(*line).substr(0, tab))];
            for (std::size_t p = tab + 1; p < line->size();) {
                std::size_t end = line->find(' ', p);
                if (end == std::string::npos) end = line->size();
                if (end > p) list.emplace_back(*line, p, end - p);
                p = end + 1;
            }
        }
        // Katakana read as their hiragana; ヴ as う゛.
        for (int id = IDS_KANA_FIRST; id <= IDS_TWO_KANA_LAST; ++id) {
            const std::string* hira = FindString(id);
            const std::string* kata = FindString(id + KATAKANA_OFFSET);
            if (hira && kata && kata->size() == 2 && !hira->empty()) r.hiraganaOf.emplace(KeyOf(*kata), *hira);
        }
        r.hiraganaOf.emplace(KeyOf(kKatakanaTsu), kHiraganaTsu);  // no kana id of its own
        return r;
    }();
    return t;
}

}  // namespace

void CImeMatcher::Build(std::string_view strText, std::vector<UnitSpan> aUnits, bool bLearn) {
    m_strText.assign(strText);
    m_aUnits = std::move(aUnits);
    m_bLearn = bLearn;
    const int nChars = static_cast<int>(m_strText.size() / 2);
    m_aCandidates.clear();
    m_aRanges.assign(static_cast<std::size_t>(nChars) + 1, Range{});
    m_aUnitStart.assign(static_cast<std::size_t>(nChars) + 1, -1);
    m_aUnitOf.assign(static_cast<std::size_t>(nChars) + 1, static_cast<int>(m_aUnits.size()));
    for (int u = 0; u < static_cast<int>(m_aUnits.size()); ++u) {
        const UnitSpan& unit = m_aUnits[u];
        if (unit.nStart < 0 || unit.nStart >= unit.nEnd || unit.nEnd > nChars * 2) continue;
        m_aUnitStart[unit.nStart / 2] = u;
        for (int p = unit.nStart; p < unit.nEnd; p += 2) m_aUnitOf[p / 2] = u;
    }
    // The normalised (hiragana) bytes of each character.
    const ImeTables& t = TheImeTables();
    m_aNorm.assign(static_cast<std::size_t>(nChars), std::string());
    for (int i = 0; i < nChars; ++i) {
        const std::string_view c = std::string_view(m_strText).substr(static_cast<std::size_t>(i) * 2, 2);
        const auto it = t.hiraganaOf.find(KeyOf(c));
        m_aNorm[i] = it == t.hiraganaOf.end() ? std::string(c) : it->second;
    }
    // Backwards, so a small tsu can double what follows it.
    for (int i = nChars - 1; i >= 0; --i) AddCandidates(i);
    PreferUnits();
    ChooseWays();
    Reset();
}

void CImeMatcher::AddCandidates(int nChar) {
    const ImeTables& t = TheImeTables();
    const int nPos = nChar * 2;
    Range& range = m_aRanges[nChar];
    range.nFirst = static_cast<int>(m_aCandidates.size());
    auto add = [&](std::string letters, int nEnd, bool bSingleN) {
        for (int k = range.nFirst; k < static_cast<int>(m_aCandidates.size()); ++k)
            if (m_aCandidates[k].nEnd == nEnd && m_aCandidates[k].strLetters == letters &&
                m_aCandidates[k].bSingleN == bSingleN)
                return;
        m_aCandidates.push_back({std::move(letters), nEnd, bSingleN});
    };
    // One to three characters: きゃ, う゛ぁ.
    std::string key;
    const int nChars = static_cast<int>(m_aNorm.size());
    for (int n = 1; n <= 3 && nChar + n <= nChars; ++n) {
        key += m_aNorm[nChar + n - 1];
        if (key.size() > 7) break;
        const auto it = t.spellings.find(KeyOf(key));
        if (it == t.spellings.end()) continue;
        for (const std::string& s : it->second) add(s, nPos + 2 * n, false);
    }
    const std::string& norm = m_aNorm[nChar];
    if (norm == kHiraganaN) add("N", nPos + 2, true);
    if (norm == kHiraganaTsu && nChar + 1 < nChars) {
        const Range next = m_aRanges[nChar + 1];
        for (int k = next.nFirst; k < next.nFirst + next.nCount; ++k) {
            const Candidate c = m_aCandidates[k];  // a copy: add() may grow the vector
            if (c.bSingleN || c.strLetters.size() >= kMaxDoubledLetters) continue;
            if (!IsConsonantNotN(static_cast<unsigned char>(c.strLetters[0]))) continue;
            add(c.strLetters[0] + c.strLetters, c.nEnd, false);
        }
    }
    // The question's own letters for a unit (a fixed spelling, symbols, digits); ん is the
    // table's alone, so that its single N keeps its rule.
    const int u = m_aUnitOf[nChar];
    if (u < static_cast<int>(m_aUnits.size()) && RulesBeginAt(m_aUnits[u], nChar) && !IsN(m_aUnits[u].nKana) &&
        !m_aUnits[u].strRules.empty())
        add(m_aUnits[u].strRules, m_aUnits[u].nEnd, false);
    range.nCount = static_cast<int>(m_aCandidates.size()) - range.nFirst;
}

// A symbol's letters after a small tsu type the symbol alone (あっ。 is AXTU.), so they begin
// past the tsu; a doubled unit's letters type the tsu too.
bool CImeMatcher::RulesBeginAt(const UnitSpan& unit, int nChar) const {
    int p = unit.nStart / 2;
    if (!unit.bDoubled)
        while (p + 1 < unit.nEnd / 2 && m_aNorm[p] == kHiraganaTsu) ++p;
    return p == nChar;
}

const CImeMatcher::Candidate* CImeMatcher::CandidatesAt(int nPos, int& nCount) const {
    const int i = nPos / 2;
    if (nPos < 0 || i >= static_cast<int>(m_aRanges.size())) {
        nCount = 0;
        return nullptr;
    }
    nCount = m_aRanges[i].nCount;
    return m_aCandidates.data() + m_aRanges[i].nFirst;
}

bool CImeMatcher::Spells(int nFrom, int nTo, std::string_view letters, unsigned char follower) const {
    if (nFrom == nTo) return letters.empty();
    int n = 0;
    const Candidate* c = CandidatesAt(nFrom, n);
    for (int k = 0; k < n; ++k) {
        if (c[k].nEnd > nTo || !StartsWith(letters, c[k].strLetters)) continue;
        const std::string_view rest = letters.substr(c[k].strLetters.size());
        if (c[k].bSingleN && !FollowsSingleN(rest.empty() ? follower : static_cast<unsigned char>(rest[0])))
            continue;
        if (Spells(c[k].nEnd, nTo, rest, follower)) return true;
    }
    return false;
}

std::string CImeMatcher::ShortestSpelling(int nFrom, int nTo) const {
    // Fewest letters from each offset to nTo, backwards; a single N is never chosen.
    const int nFirst = nFrom / 2, nSpan = (nTo - nFrom) / 2;
    std::vector<int> len(static_cast<std::size_t>(nSpan) + 1, -1), choice(static_cast<std::size_t>(nSpan) + 1, -1);
    len[nSpan] = 0;
    for (int i = nSpan - 1; i >= 0; --i) {
        int n = 0;
        const Candidate* c = CandidatesAt((nFirst + i) * 2, n);
        for (int k = 0; k < n; ++k) {
            if (c[k].bSingleN || c[k].nEnd > nTo) continue;
            const int j = c[k].nEnd / 2 - nFirst;
            if (len[j] < 0) continue;
            const int total = static_cast<int>(c[k].strLetters.size()) + len[j];
            if (len[i] < 0 || total < len[i]) {
                len[i] = total;
                choice[i] = static_cast<int>(&c[k] - m_aCandidates.data());
            }
        }
    }
    std::string out;
    for (int i = 0; i < nSpan && choice[i] >= 0;) {
        const Candidate& c = m_aCandidates[choice[i]];
        out += c.strLetters;
        i = c.nEnd / 2 - nFirst;
    }
    return out;
}

// Each unit's preferred letters, last unit first: whether ん's single N will do depends on the
// letter after it. A preferred spelling no way of typing takes becomes the question's own
// letters, else the shortest.
void CImeMatcher::PreferUnits() {
    m_strPreferred.clear();
    m_aPrefFrom.assign(m_aUnits.size() + 1, 0);
    unsigned char follower = 0;
    for (int u = static_cast<int>(m_aUnits.size()) - 1; u >= 0; --u) {
        UnitSpan& unit = m_aUnits[u];
        if (!Spells(unit.nStart, unit.nEnd, unit.strPreferred, follower)) {
            if (IsN(unit.nKana) && unit.strPreferred == "N") unit.strPreferred = "NN";
            else if (Spells(unit.nStart, unit.nEnd, unit.strRules, follower)) unit.strPreferred = unit.strRules;
            else unit.strPreferred = ShortestSpelling(unit.nStart, unit.nEnd);
        }
        if (!unit.strPreferred.empty()) follower = static_cast<unsigned char>(unit.strPreferred[0]);
    }
    for (std::size_t u = 0; u < m_aUnits.size(); ++u) {
        m_aPrefFrom[u] = static_cast<int>(m_strPreferred.size());
        m_strPreferred += m_aUnits[u].strPreferred;
    }
    m_aPrefFrom[m_aUnits.size()] = static_cast<int>(m_strPreferred.size());
}

// From every offset that is not a unit's start, the candidate with the fewest letters on to
// the next unit's start (or the end), where the preferred letters take over again.
void CImeMatcher::ChooseWays() {
    const int nChars = static_cast<int>(m_aNorm.size());
    m_aWay.assign(static_cast<std::size_t>(nChars) + 1, -1);
    m_aWayLen.assign(static_cast<std::size_t>(nChars) + 1, 0);
    for (int i = nChars - 1; i >= 0; --i) {
        const Range r = m_aRanges[i];
        int best = -1;
        for (int k = r.nFirst; k < r.nFirst + r.nCount; ++k) {
            const Candidate& c = m_aCandidates[k];
            if (c.bSingleN) continue;
            const int j = c.nEnd / 2;
            const int total = static_cast<int>(c.strLetters.size()) + (m_aUnitStart[j] >= 0 ? 0 : m_aWayLen[j]);
            if (best < 0 || total < best) {
                best = total;
                m_aWay[i] = k;
            }
        }
        m_aWayLen[i] = best < 0 ? 0 : best;
    }
}

void CImeMatcher::Reset() {
    m_nPos = 0;
    m_strPending.clear();
    m_nUnit = 0;
    m_nUnitTyped = 0;
    m_strTyped.clear();
    Guide();
}

void CImeMatcher::AppendWayFrom(int nPos, std::string& strOut) const {
    const int nChars = static_cast<int>(m_aNorm.size());
    for (int i = nPos / 2; i < nChars;) {
        if (const int u = m_aUnitStart[i]; u >= 0) {
            strOut.append(m_strPreferred, static_cast<std::size_t>(m_aPrefFrom[u]), std::string::npos);
            return;
        }
        if (m_aWay[i] < 0) return;
        const Candidate& c = m_aCandidates[m_aWay[i]];
        strOut += c.strLetters;
        i = c.nEnd / 2;
    }
}

bool CImeMatcher::Step(int nPos, const std::string& strPending, unsigned char ch, int& nNewPos,
                       std::string& strNewPending) const {
    std::string typed = strPending;
    typed += static_cast<char>(ch);
    int n = 0;
    const Candidate* c = CandidatesAt(nPos, n);
    const Candidate* exact = nullptr;
    bool bLonger = false;
    for (int k = 0; k < n; ++k) {
        if (!StartsWith(c[k].strLetters, typed)) continue;
        if (c[k].strLetters.size() == typed.size() && !c[k].bSingleN) exact = &c[k];
        else bLonger = true;  // a single N waits for the key after it
    }
    const int nEnd = static_cast<int>(m_aNorm.size()) * 2;
    if (exact && (!bLonger || exact->nEnd >= nEnd)) {
        nNewPos = exact->nEnd;
        strNewPending.clear();
        return true;
    }
    if (exact || bLonger) {
        nNewPos = nPos;
        strNewPending = std::move(typed);
        return true;
    }
    // What was typed is whole by itself (ん's N) and this key begins what follows.
    if (strPending.empty()) return false;
    for (int k = 0; k < n; ++k) {
        if (c[k].strLetters != strPending || c[k].nEnd >= nEnd) continue;
        if (c[k].bSingleN && !FollowsSingleN(ch)) continue;
        if (Step(c[k].nEnd, std::string(), ch, nNewPos, strNewPending)) return true;
    }
    return false;
}

bool CImeMatcher::Judge(unsigned char ch, const RomajiUser& user) {
    if (m_strLetters.size() <= m_strTyped.size()) return false;
    int nNewPos = 0;
    std::string strNewPending;
    if (!Step(m_nPos, m_strPending, ch, nNewPos, strNewPending)) return false;
    m_strTyped += static_cast<char>(ch);
    if (nNewPos != m_nPos) {
        const int nChars = static_cast<int>(m_aNorm.size());
        const int nUnit = nNewPos / 2 >= nChars ? static_cast<int>(m_aUnits.size()) : m_aUnitOf[nNewPos / 2];
        const int nUnitEnd = static_cast<int>(m_strTyped.size() - strNewPending.size());
        if (nUnit != m_nUnit) {
            if (m_bLearn && nUnit == m_nUnit + 1 && m_nUnit < static_cast<int>(m_aUnits.size()) &&
                nNewPos == m_aUnits[m_nUnit].nEnd)
                Learn(m_aUnits[m_nUnit], m_strTyped.substr(m_nUnitTyped, nUnitEnd - m_nUnitTyped), user);
            m_nUnit = nUnit;
            m_nUnitTyped = nUnitEnd;
        }
    }
    m_nPos = nNewPos;
    m_strPending = std::move(strNewPending);
    Guide();
    return true;
}

// The rest of the question: the unit's preferred letters while what was typed of the unit
// agrees with them, else the shortest candidate that agrees with the pending letters.
void CImeMatcher::Guide() {
    m_strLetters = m_strTyped;
    const int nChars = static_cast<int>(m_aNorm.size());
    if (m_nPos / 2 >= nChars && m_strPending.empty()) return;
    const std::size_t nTyped = m_strLetters.size();
    if (m_nUnit < static_cast<int>(m_aUnits.size())) {
        const std::string& pref = m_aUnits[m_nUnit].strPreferred;
        const std::string_view unitTyped = std::string_view(m_strTyped).substr(static_cast<std::size_t>(m_nUnitTyped));
        if (pref.size() > unitTyped.size() && StartsWith(pref, unitTyped)) {
            m_strLetters.append(m_strPreferred, static_cast<std::size_t>(m_aPrefFrom[m_nUnit]) + unitTyped.size(),
                                std::string::npos);
            if (GuideKeyFits(nTyped)) return;
            m_strLetters.resize(nTyped);
        }
    }
    int n = 0;
    const Candidate* c = CandidatesAt(m_nPos, n);
    int best = -1;
    std::string way;
    for (int k = 0; k < n; ++k) {
        if (!StartsWith(c[k].strLetters, m_strPending)) continue;
        way.assign(c[k].strLetters, m_strPending.size(), std::string::npos);
        AppendWayFrom(c[k].nEnd, way);
        if (c[k].bSingleN && (c[k].strLetters.size() > m_strPending.size() || way.empty() ||
                              !FollowsSingleN(static_cast<unsigned char>(way[0]))))
            continue;
        if (best < 0 || static_cast<int>(way.size()) < best) {
            best = static_cast<int>(way.size());
            m_strLetters.resize(nTyped);
            m_strLetters += way;
        }
    }
}

bool CImeMatcher::GuideKeyFits(std::size_t nTyped) const {
    if (m_strLetters.size() <= nTyped) return true;
    int nPos = 0;
    std::string pending;
    return Step(m_nPos, m_strPending, static_cast<unsigned char>(m_strLetters[nTyped]), nPos, pending);
}

void CImeMatcher::Learn(const UnitSpan& unit, std::string strLetters, const RomajiUser& user) const {
    if (!IsKanaId(unit.nKana) || IsN(unit.nKana) || strLetters == unit.strPreferred) return;
    if (unit.bDoubled) {
        // っか typed XTUKA says nothing about か.
        if (strLetters.size() < 2 || strLetters[0] != strLetters[1]) return;
        strLetters.erase(0, 1);
    }
    const bool bImeLearned = user.fnImeLearned && !user.fnImeLearned(unit.nKana).empty();
    if (const int nAltId = AlternativeSpellingId(unit.nKana, strLetters)) {
        if (bImeLearned && user.fnLearnIme) user.fnLearnIme(unit.nKana, std::string());
        if (user.fnLearn) user.fnLearn(unit.nKana, nAltId);
        return;
    }
    std::string def;
    LoadString(DefaultSpellingId(unit.nKana), def);
    if (strLetters == def) {
        if (bImeLearned && user.fnLearnIme) user.fnLearnIme(unit.nKana, std::string());
        return;
    }
    if (user.fnLearnIme) user.fnLearnIme(unit.nKana, strLetters);
}

int CImeMatcher::KanaPos() const {
    return m_nPos + (ShowsTsuDone() ? 2 : 0);
}

// がっこう: the second K shows っ as typed.
bool CImeMatcher::ShowsTsuDone() const {
    if (m_strPending.size() < 2 || m_strPending[0] != m_strPending[1]) return false;
    const int i = m_nPos / 2;
    return i < static_cast<int>(m_aNorm.size()) && m_aNorm[i] == kHiraganaTsu;
}

void CImeMatcher::AppendPendingLetters(std::string& strOut) const {
    strOut.append(m_strPending, ShowsTsuDone() ? 1 : 0, std::string::npos);
}

}  // namespace kibiki
