#pragma once
// The kana modes: each keystroke is one half-width kana byte; a voiced kana takes its base key
// and then the mark key (が: ｶ then ﾞ).
#include <string>
#include <string_view>

namespace kibiki {

// The key due at byte nKanaPos of a kana question: the kana's half-width byte, or for a voiced
// kana its base while bBaseStroke and then the mark (*pVoiced is then set). 0 when nothing there
// can be typed (ヴ without a base, a kanji, the end).
unsigned char ExpectedKana(std::string_view strQuestion, int nKanaPos, bool bBaseStroke,
                           bool* pVoiced = nullptr);

// After a right key: the base stroke of a voiced kana keeps the position and gives in
// strPending the plain kana shown until its mark (か while が is typed); any other stroke moves
// on to the next kana and empties strPending.
void AdvanceKanaAnswer(std::string_view strQuestion, int& nKanaPos, bool& bBaseStroke, bool& bVoiced,
                       std::string& strPending);

// Whether every character of a reading has a key sequence in the kana modes: a kana of the
// rows (its own half-width key) or a voiced or semi-voiced kana (base key, then the mark).
bool KanaKeysCanType(std::string_view reading);

}  // namespace kibiki
