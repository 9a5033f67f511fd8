#pragma once
// Romaji as a Japanese input method takes it, for "IMEと同じつづりをすべて受け付ける": every
// rule of the table of typed rules (romaji_rules.h), two-kana units typed one kana at a time
// too. A rule's pending letters (っ's doubled consonant, ん's single N before a consonant or a
// symbol) begin what follows, as in an input method. Only ways that reach the question's end
// are kept, so no key sequence is stuck or ends a question early. The guide follows the unit's
// preferred spelling while it fits, else the cheapest way on.
//
// The question is cut into the same units as the fixed-spelling matcher's, which give the
// preferred letters (fixed, learned or default) and where a spelling is learned.
#include <string>
#include <string_view>
#include <vector>

#include "kana/romaji_rules.h"
#include "kana/romaji_spelling.h"

namespace kibiki {

class CImeMatcher {
public:
    // One unit of the question: its bytes (a small tsu before it included), kana id (0 for
    // none) and the letters the question prefers for it.
    struct UnitSpan {
        int nStart = 0;
        int nEnd = 0;
        int nKana = 0;
        bool bDoubled = false;  // begins with a small tsu typed as a doubled consonant
        std::string strRules;      // the fixed-spelling builder's letters: a preference only,
                                   // taken when the rules type them (never KAAA for かっあ)
        std::string strPreferred;  // what the guide follows: a learned spelling, else strRules
        bool operator==(const UnitSpan&) const = default;
    };

    // A rule typing the kana from one byte offset to nEnd; its last nPending letters begin
    // what follows nEnd.
    struct Candidate {
        std::string strLetters;
        int nEnd = 0;
        int nPending = 0;
        int nCost = 0;     // the guide's cost of the cheapest way on to the next unit's start
        int nOwnCost = 0;  // the guide's cost of this rule alone
        bool operator==(const Candidate&) const = default;

        std::string_view Pending() const {
            return std::string_view(strLetters).substr(strLetters.size() - static_cast<std::size_t>(nPending));
        }
    };

    // strText: the question (CP932 kana and symbols, two bytes each); aUnits cover it in order.
    // A preferred spelling no way of typing takes (ん's single N before a vowel, a small tsu's
    // doubled vowel) is replaced. False when no key sequence types the whole text.
    bool Build(std::string_view strText, std::vector<UnitSpan> aUnits, bool bLearn);
    void Reset();

    // Judges one letter; true when some spelling of the rest of the question begins with the
    // letters typed and this one. Completing a unit in a spelling other than its preferred one
    // learns it (with bLearn) through the user's callbacks.
    bool Judge(unsigned char ch, const RomajiUser& user);

    // The letters typed, then the guide's way through the rest.
    const std::string& Letters() const { return m_strLetters; }
    int Typed() const { return static_cast<int>(m_strTyped.size()); }
    // Bytes of the question typed in full: shown as kana. A small tsu shows once its doubled
    // consonant is typed: the second K of KK is already pending for what follows.
    int KanaPos() const { return m_nPos; }
    // The letters of the kana being typed, as the answer shows them.
    void AppendPendingLetters(std::string& strOut) const;

    const std::vector<UnitSpan>& Units() const { return m_aUnits; }
    bool operator==(const CImeMatcher&) const = default;

private:
    struct Range {
        int nFirst = 0;
        int nCount = 0;
        bool operator==(const Range&) const = default;
    };

    void AddCandidates(int nChar);
    const Candidate* CandidatesAt(int nPos, int& nCount) const;
    const Candidate* Cheapest(int nPos, std::string_view pending) const;
    bool Spells(int nFrom, int nTo, std::string_view letters, unsigned char follower) const;
    std::string ShortestSpelling(int nFrom, int nTo) const;
    void PreferUnits();
    const Candidate* Complete(int nPos, std::string_view typed, bool& bLonger) const;
    void Settle(int& nPos, std::string& strPending) const;
    bool Step(int nPos, std::string_view pending, unsigned char ch, int& nNewPos, std::string& strNewPending) const;
    void Guide();
    bool GuideKeyFits(std::size_t nTyped) const;
    void AppendWayFrom(int nPos, std::string_view pending, std::string& strOut) const;
    void Learn(const UnitSpan& unit, std::string strLetters, const RomajiUser& user) const;

    std::string m_strText;
    std::vector<UnitSpan> m_aUnits;
    std::vector<Candidate> m_aCandidates;  // by position: m_aRanges[byte offset / 2]
    std::vector<Range> m_aRanges;
    std::vector<std::string> m_aNorm;  // by character: its hiragana bytes (ヴ: う゛)
    std::vector<int> m_aUnitStart;     // by character: the unit starting there, or -1
    std::vector<int> m_aUnitOf;        // by character: the unit holding it
    std::vector<int> m_aPrefFrom; // by unit: offset of its preferred letters in m_strPreferred
    std::string m_strPreferred;   // every unit's preferred letters in order
    bool m_bLearn = false;

    int m_nPos = 0;               // byte offset where the kana being typed begins
    std::string m_strPending;     // letters typed for it
    int m_nUnit = 0;              // unit holding m_nPos
    int m_nUnitTyped = 0;         // offset in m_strTyped where that unit began
    std::string m_strTyped;
    std::string m_strLetters;
};

}  // namespace kibiki
