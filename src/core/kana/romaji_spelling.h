#pragma once
// Which letters spell a kana: its default, the user's fixed or learned choice, and the
// alternatives the matcher accepts.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/string_ids.h"

namespace kibiki {

class Messenger;

// A spelling longer than any input method's would only be a typing slip, and the matcher's
// unit lengths need it short.
constexpr std::size_t kMaxSpellingLetters = 6;

// The user's side of the romaji rules, wired by the document to the settings record and the
// message box; kana/ knows neither.
struct RomajiUser {
    // The fixed spelling of a kana number (kana id - 40100), empty for the default.
    std::function<std::string(int nKanaNumber)> fnFixedSpelling;
    // The id of the spelling learned for a kana id, 0 for none.
    std::function<int(int nKanaId)> fnLearnedSpelling;
    // Learns a spelling for a kana id: set and saved at once.
    std::function<void(int nKanaId, int nAltId)> fnLearn;
    // Tells the user which question text holds a character no spelling is known for.
    std::function<void(const std::string& strText)> fnFaultyText;
    // Every spelling a Japanese input method takes ("IMEと同じつづりをすべて受け付ける"): off
    // while unset, and then nothing below is asked.
    std::function<bool()> fnImeSpellings;
    // The input-method spelling learned for a unit's kana id (upper-case letters as typed,
    // KIXYA for きゃ), empty for none. Never one of the alternatives above: those stay learned
    // through fnLearn.
    std::function<std::string(int nKanaId)> fnImeLearned;
    // Learns an input-method spelling for a kana id: set and saved at once.
    std::function<void(int nKanaId, const std::string& strLetters)> fnLearnIme;
};

// The string holding a kana id's default spelling (40111 し -> 40511 "SI").
int DefaultSpellingId(int nKanaId);

// A fixed spelling as the romaji settings dialog stores it: 1 to kMaxSpellingLetters letters,
// upper case. The file may have been edited by hand: lower case reads as upper case (the text is
// changed so), anything else is no spelling and the default is used (a long one would not fit
// the matcher's unit lengths, a symbol or kana would make a question no key finishes).
bool UsableFixedSpelling(std::string& strSpelling);
// The string pointing at a kana id's alternatives ("40710,2"); katakana share the hiragana's.
int AlternativePointerId(int nKanaId);

// The spelling built into the expected letters for one kana id: with bRomanMode (fixed
// spelling) the user's fixed choice, otherwise the learned one, else the default.
void GetRomaji(int nKanaId, bool bRomanMode, const RomajiUser& user, std::string& strRomaji);

// The first alternative of a kana id that agrees with the typed prefix and has ch at nPos.
// After a small tsu (bDoubled) the alternatives carry the doubled letter (っし: SSHI).
bool FindAlternativeSpelling(int nKanaId, bool bDoubled, int nPos, unsigned char ch,
                             std::string_view strPrefix, int& nAltId, std::string& strAlt);

// A kana id's alternatives in their order: string id and spelling.
std::vector<std::pair<int, std::string>> AlternativeSpellings(int nKanaId);

// The id of the alternative of a kana id spelt exactly so, 0 when none is.
int AlternativeSpellingId(int nKanaId, std::string_view strLetters);

// Shows the message about a question text with a character that has no key sequence.
void ReportFaultyText(Messenger* pMessenger, const std::string& strText);

}  // namespace kibiki
