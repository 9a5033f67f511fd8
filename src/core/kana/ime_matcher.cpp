// Input-method romaji: the ways to type each stretch of the question, the judge over all of
// them, the guide and learning.
#include "kana/ime_matcher.h"

#include <functional>
#include <map>
#include <utility>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr std::string_view kHiraganaTsu = "\x82\xC1"; // っ

bool IsN(int nKanaId) { return nKanaId == IDS_HIRAGANA_N || nKanaId == IDS_KATAKANA_N; }
bool IsKanaId(int id) {
    return (id >= IDS_KANA_FIRST && id <= IDS_TWO_KANA_LAST) ||
           (id >= IDS_KATAKANA_FIRST && id <= IDS_KATAKANA_LAST);
}

// What a rule adds to the guide's cost: two a letter, and three more for a spelling that is
// neither a kana's default nor its alternative. So the guide keeps to a kana's own spellings,
// doubles a consonant rather than typing XTU, and shows ん as NN rather than one N.
int CostOf(const RomajiRule& rule) {
    const int nKind = rule.kind == RuleKind::Default ? 0 : rule.kind == RuleKind::Alternative ? 1 : 3;
    return 2 * static_cast<int>(rule.strLetters.size()) + nKind;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool CImeMatcher::Build(std::string_view strText, std::vector<UnitSpan> aUnits, bool bLearn) {
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
    m_aNorm.assign(static_cast<std::size_t>(nChars), std::string());
    for (int i = 0; i < nChars; ++i)
        m_aNorm[i] = HiraganaOf(std::string_view(m_strText).substr(static_cast<std::size_t>(i) * 2, 2));
    // Backwards: a rule is kept only when what follows it can be typed to the end.
    for (int i = nChars - 1; i >= 0; --i) AddCandidates(i);
    const bool bTypable = nChars == 0 || m_aRanges[0].nCount > 0;
    PreferUnits();
    Reset();
    return bTypable;
}

void CImeMatcher::AddCandidates(int nChar) {
    const RomajiRules& rules = TheRomajiRules();
    const int nChars = static_cast<int>(m_aNorm.size());
    const int nTextEnd = nChars * 2;
    const int nPos = nChar * 2;
    const int nFirst = static_cast<int>(m_aCandidates.size());
    // One to three characters: き, きゃ, う゛ぁ.
    std::string key;
    for (int n = 1; n <= 3 && nChar + n <= nChars; ++n) {
        key += m_aNorm[nChar + n - 1];
        if (key.size() > RomajiRules::kMaxKanaBytes) break;
        const int nEnd = nPos + 2 * n;
        for (const RomajiRule& rule : rules.For(key)) {
            int nCost = CostOf(rule);
            if (rule.nPending > 0) {
                // っ before a vowel, ん at the end: nothing after begins with the pending letters.
                const Candidate* next = nEnd < nTextEnd ? Cheapest(nEnd, rule.Pending()) : nullptr;
                if (!next) continue;
                nCost += next->nCost;
            } else if (nEnd < nTextEnd) {
                // う before ゛: a place no key leaves.
                const Candidate* next = Cheapest(nEnd, {});
                if (!next) continue;
                if (m_aUnitStart[nEnd / 2] < 0) nCost += next->nCost;
            }
            m_aCandidates.push_back({rule.strLetters, nEnd, rule.nPending, nCost, CostOf(rule)});
        }
    }
    m_aRanges[nChar] = {nFirst, static_cast<int>(m_aCandidates.size()) - nFirst};
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

// The cheapest way on from an offset whose letters begin with those already pending.
const CImeMatcher::Candidate* CImeMatcher::Cheapest(int nPos, std::string_view pending) const {
    int n = 0;
    const Candidate* c = CandidatesAt(nPos, n);
    const Candidate* best = nullptr;
    for (int k = 0; k < n; ++k)
        if (StartsWith(c[k].strLetters, pending) && (!best || c[k].nCost < best->nCost)) best = &c[k];
    return best;
}

// Whether the letters type the kana from nFrom to nTo; follower is the letter after them.
bool CImeMatcher::Spells(int nFrom, int nTo, std::string_view letters, unsigned char follower) const {
    if (nFrom == nTo) return letters.empty();
    int n = 0;
    const Candidate* c = CandidatesAt(nFrom, n);
    for (int k = 0; k < n; ++k) {
        if (c[k].nEnd > nTo) continue;
        const std::string_view pending = c[k].Pending();
        const std::string_view own = std::string_view(c[k].strLetters).substr(0, c[k].strLetters.size() - pending.size());
        if (!StartsWith(letters, own)) continue;
        const std::string_view rest = letters.substr(own.size());
        if (!pending.empty()) {
            const bool bBegins = c[k].nEnd == nTo ? rest.empty() && pending.size() == 1 &&
                                                        static_cast<unsigned char>(pending[0]) == follower
                                                  : StartsWith(rest, pending);
            if (!bBegins) continue;
        }
        if (Spells(c[k].nEnd, nTo, rest, follower)) return true;
    }
    return false;
}

// The cheapest letters for the kana from nFrom to nTo, nothing pending at either end.
std::string CImeMatcher::ShortestSpelling(int nFrom, int nTo) const {
    struct Best {
        int nCost = -1;
        std::string strLetters;
    };
    std::map<std::pair<int, std::string>, Best> memo;
    std::function<Best(int, std::string_view)> best = [&](int nPos, std::string_view pending) -> Best {
        if (nPos == nTo) return pending.empty() ? Best{0, {}} : Best{};
        const auto key = std::make_pair(nPos, std::string(pending));
        if (const auto it = memo.find(key); it != memo.end()) return it->second;
        Best b;
        int n = 0;
        const Candidate* c = CandidatesAt(nPos, n);
        for (int k = 0; k < n; ++k) {
            if (c[k].nEnd > nTo || !StartsWith(c[k].strLetters, pending)) continue;
            const Best next = best(c[k].nEnd, c[k].Pending());
            if (next.nCost < 0) continue;
            const int nCost = c[k].nOwnCost + next.nCost;
            if (b.nCost < 0 || nCost < b.nCost) {
                b.nCost = nCost;
                b.strLetters = c[k].strLetters.substr(pending.size()) + next.strLetters;
            }
        }
        memo.emplace(key, b);
        return b;
    };
    return best(nFrom, {}).strLetters;
}

// Each unit's preferred letters, last unit first: whether ん's single N will do depends on the
// letter after it. A preferred spelling no way of typing takes becomes the question's own
// letters when those do, else the cheapest.
void CImeMatcher::PreferUnits() {
    m_strPreferred.clear();
    m_aPrefFrom.assign(m_aUnits.size() + 1, 0);
    unsigned char follower = 0;
    for (int u = static_cast<int>(m_aUnits.size()) - 1; u >= 0; --u) {
        UnitSpan& unit = m_aUnits[u];
        if (!Spells(unit.nStart, unit.nEnd, unit.strPreferred, follower)) {
            if (Spells(unit.nStart, unit.nEnd, unit.strRules, follower)) unit.strPreferred = unit.strRules;
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

void CImeMatcher::Reset() {
    m_nPos = 0;
    m_strPending.clear();
    m_nUnit = 0;
    m_nUnitTyped = 0;
    m_strTyped.clear();
    Guide();
}

// The guide's letters from an offset with letters pending: a unit's preferred letters from its
// start, else the cheapest way.
void CImeMatcher::AppendWayFrom(int nPos, std::string_view pending, std::string& strOut) const {
    const int nTextEnd = static_cast<int>(m_aNorm.size()) * 2;
    std::string strPending(pending);
    while (nPos < nTextEnd) {
        if (const int u = m_aUnitStart[nPos / 2]; u >= 0 && StartsWith(m_aUnits[u].strPreferred, strPending)) {
            strOut.append(m_strPreferred, static_cast<std::size_t>(m_aPrefFrom[u]) + strPending.size(),
                          std::string::npos);
            return;
        }
        const Candidate* c = Cheapest(nPos, strPending);
        if (!c) return;
        strOut.append(c->strLetters, strPending.size(), std::string::npos);
        nPos = c->nEnd;
        strPending.assign(c->Pending());
    }
}

// The first rule spelt exactly so at nPos; bLonger when a longer one begins so.
const CImeMatcher::Candidate* CImeMatcher::Complete(int nPos, std::string_view typed, bool& bLonger) const {
    int n = 0;
    const Candidate* c = CandidatesAt(nPos, n);
    const Candidate* exact = nullptr;
    bLonger = false;
    for (int k = 0; k < n; ++k) {
        if (!StartsWith(c[k].strLetters, typed)) continue;
        if (c[k].strLetters.size() > typed.size()) bLonger = true;
        else if (!exact) exact = &c[k];
    }
    return exact;
}

// Pending letters that are a whole rule by themselves type it at once: ほん。 typed HON. is done.
void CImeMatcher::Settle(int& nPos, std::string& strPending) const {
    const int nTextEnd = static_cast<int>(m_aNorm.size()) * 2;
    while (!strPending.empty()) {
        bool bLonger = false;
        const Candidate* exact = Complete(nPos, strPending, bLonger);
        if (!exact || (bLonger && exact->nEnd < nTextEnd)) return;
        nPos = exact->nEnd;
        strPending.assign(exact->Pending());
    }
}

bool CImeMatcher::Step(int nPos, std::string_view pending, unsigned char ch, int& nNewPos,
                       std::string& strNewPending) const {
    std::string typed(pending);
    typed += static_cast<char>(ch);
    bool bLonger = false;
    const Candidate* exact = Complete(nPos, typed, bLonger);
    const int nTextEnd = static_cast<int>(m_aNorm.size()) * 2;
    if (exact && (!bLonger || exact->nEnd >= nTextEnd)) {
        nNewPos = exact->nEnd;
        strNewPending.assign(exact->Pending());
        Settle(nNewPos, strNewPending);
        return true;
    }
    if (exact || bLonger) {
        nNewPos = nPos;
        strNewPending = std::move(typed);
        return true;
    }
    // What was typed is whole by itself and this key begins what follows.
    if (pending.empty()) return false;
    int n = 0;
    const Candidate* c = CandidatesAt(nPos, n);
    for (int k = 0; k < n; ++k)
        if (c[k].strLetters == pending && Step(c[k].nEnd, c[k].Pending(), ch, nNewPos, strNewPending)) return true;
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
// agrees with them, else the cheapest way on that agrees with the pending letters (after a
// single N still NN).
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
    const Candidate* c = Cheapest(m_nPos, m_strPending);
    if (!c) return;
    m_strLetters.append(c->strLetters, m_strPending.size(), std::string::npos);
    AppendWayFrom(c->nEnd, c->Pending(), m_strLetters);
}

bool CImeMatcher::GuideKeyFits(std::size_t nTyped) const {
    if (m_strLetters.size() <= nTyped) return true;
    int nPos = 0;
    std::string pending;
    return Step(m_nPos, m_strPending, static_cast<unsigned char>(m_strLetters[nTyped]), nPos, pending);
}

// A unit completed in one rule of its own kana learns that rule's family: an alternative as
// DynRoman, the default by forgetting any other; anything else is an input-method spelling.
void CImeMatcher::Learn(const UnitSpan& unit, std::string strLetters, const RomajiUser& user) const {
    if (!IsKanaId(unit.nKana) || IsN(unit.nKana) || strLetters == unit.strPreferred) return;
    int nFirst = unit.nStart / 2;
    if (unit.bDoubled) {
        // っか typed XTUKA says nothing about か; っっか typed KKKA is KA.
        std::size_t nTsu = 0;
        while (nFirst < unit.nEnd / 2 - 1 && m_aNorm[nFirst] == kHiraganaTsu) ++nFirst, ++nTsu;
        if (strLetters.size() <= nTsu) return;
        for (std::size_t k = 0; k < nTsu; ++k)
            if (strLetters[k] != strLetters[nTsu]) return;
        strLetters.erase(0, nTsu);
    }
    std::string kana;
    for (int i = nFirst; i < unit.nEnd / 2; ++i) kana += m_aNorm[i];
    const RomajiRule* rule = nullptr;
    for (const RomajiRule& r : TheRomajiRules().For(kana))
        if (r.nPending == 0 && r.strLetters == strLetters) rule = &r;
    const bool bImeLearned = user.fnImeLearned && !user.fnImeLearned(unit.nKana).empty();
    if (rule && rule->kind != RuleKind::InputMethod) {
        if (bImeLearned && user.fnLearnIme) user.fnLearnIme(unit.nKana, std::string());
        if (rule->kind == RuleKind::Alternative && user.fnLearn) user.fnLearn(unit.nKana, rule->nId);
        return;
    }
    if (user.fnLearnIme) user.fnLearnIme(unit.nKana, strLetters);
}

void CImeMatcher::AppendPendingLetters(std::string& strOut) const { strOut += m_strPending; }

}  // namespace kibiki
