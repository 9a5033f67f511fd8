#pragma once
// The romaji matcher: the expected letters of a kana question, divided into units (one per
// kana, two-kana combination or symbol), and the judge that also accepts alternative spellings
// and a single N for ん, and learns the spelling the user completes.
//
// "SHINBUNN" against しんぶん: expected SINNBUNN; S,H switch し to SHI (learned at I); the B
// after one N ends ん, so SHINNBUNN becomes SHINBUNN.
#include <string>
#include <vector>

#include "kana/ime_matcher.h"
#include "kana/romaji_spelling.h"

namespace kibiki {

class CRomajiMatcher {
public:
    // One unit of the expected letters.
    struct Unit {
        int nLen;    // letters in m_strRoman, +10 for a two-kana unit
        int nKana;   // kana id
        int nKind;   // 1/3 two-kana (3: after small tsu), 5/7 single, 9 symbol; +1 when the unit
                     // made the ん before it NN
        int nBytes;  // bytes of the question the unit covers, small tsu included
        bool operator==(const Unit&) const = default;
    };

    // pUser is kept: the user's spellings, learning and the faulty-text message.
    explicit CRomajiMatcher(const RomajiUser* pUser = nullptr) : m_pUser(pUser) {}

    // --- the question ---

    // Builds m_strRoman and the units of a kana text, with each kana's fixed spelling when
    // bRomanMode is set, else its learned one. A text with a character that has no spelling is
    // reported and emptied; m_strRoman is then kept. bInputMethod: the keys are judged as an
    // input method would take them (CImeMatcher), the units' letters being what the guide
    // prefers; a lone small tsu is then a question too (XTU), and a text those rules cannot
    // type to its end is refused like one with an unknown character.
    bool BuildRoman(std::string& strText, bool bRomanMode, bool bInputMethod = false);
    // Romaji input: the question's letters, typed as they stand.
    void SetRoman(std::string strLetters) {
        m_strRoman = std::move(strLetters);
        m_bInputMethod = false;
    }
    // Back to the first unit of the question, following its expected letters.
    void ResetMatcher();
    // Back to the first letter and the first unit.
    void Restart() {
        m_nRomanPos = 0;
        ResetMatcher();
    }

    // --- a keystroke ---

    // The letter due next; 0 at the end.
    unsigned char NextExpectedKey() const { return LetterAt(Roman(), m_nRomanPos); }
    // Judges one typed byte; expected receives the letter that was due. With bAlternatives the
    // unit's other spellings and a single N for ん are right too (a single N completes ん and
    // moves nKanaPos, the byte offset of the question's current kana, past it), and completing
    // an alternative learns it. A wrong key changes nothing.
    bool IsExpectedKey(unsigned char ch, unsigned char& expected, bool bAlternatives, int& nKanaPos);
    // After a right key in a kana reading, before NextLetter: moves the unit on and nKanaPos
    // past what the completed letters spell.
    void AdvanceAnswer(int& nKanaPos);
    // The answer's letters of the unit in progress, without its doubled consonant once the
    // small tsu shows; the alternative switched to when bAlternatives.
    void AppendUnitLetters(std::string& strOut, bool bAlternatives) const;
    // Romaji input: the letters typed, the one just judged right included.
    void AppendTypedLetters(std::string& strOut) const;
    // The run moves on by one letter after every right key.
    void NextLetter() { ++m_nRomanPos; }

    // The first alternative of a unit that agrees with the typed prefix and has ch at nPos.
    bool FindAlternative(int nUnit, int nPos, unsigned char ch, const std::string& strPrefix,
                         int& nAltId, std::string& strAlt) const;

    // The expected letters; with an input method's spellings, those typed and the guide's rest.
    const std::string& Roman() const { return m_bInputMethod ? m_ime.Letters() : m_strRoman; }
    bool InputMethod() const { return m_bInputMethod; }
    int RomanPos() const { return m_nRomanPos; }
    int CurrentUnit() const { return m_nUnit; }  // index into Units()
    const std::vector<Unit>& Units() const { return m_aUnits; }

    bool operator==(const CRomajiMatcher&) const = default;

private:
    static unsigned char LetterAt(const std::string& s, int nPos) {
        return nPos >= 0 && static_cast<std::size_t>(nPos) < s.size() ? static_cast<unsigned char>(s[nPos])
                                                                       : 0;
    }
    bool IsExpectedAlternative(unsigned char ch, unsigned char expected, int& nKanaPos);
    void SwitchToAlternative(unsigned char ch, unsigned char expected, int nAltId, const std::string& strAlt);
    void CompleteUnit(int& nKanaPos);
    void LearnAlternative();
    bool RefuseText(std::string& strText);
    bool BuildInputMethod(const std::string& strText, const std::string& strLetters, bool bRomanMode);

    const RomajiUser* m_pUser = nullptr;
    std::string m_strRoman;        // the expected letters
    int m_nRomanPos = 0;           // offset of the next letter in m_strRoman
    std::vector<Unit> m_aUnits;    // the units of the question, in text order
    int m_nUnit = 0;               // unit being typed
    int m_nUnitTyped = 0;          // letters typed in it
    std::string m_strUnitTyped;    // letters typed while following, plus the one that switched
    std::string m_strAltRoman;     // alternative switched to; empty while following
    int m_nAltId = 0;              // its string id, for learning
    int m_nDoubled = 0;            // 1 once the doubled consonant (small tsu) is typed
    bool m_bInputMethod = false;   // judged by m_ime
    CImeMatcher m_ime;
};

}  // namespace kibiki
