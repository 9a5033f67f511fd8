#pragma once
// The kana alphabets, the voiced marks and the JIS key layout, and conversions between them.
// All texts are CP932: a hiragana, katakana or full-width symbol is 2 bytes, a half-width
// katakana 1 byte. Lookups that find nothing leave their output as it was.
#include <string>
#include <string_view>

#include "kana/practice_mode.h"

namespace kibiki {

class KeyboardState;

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

// bToKana: a key character (any case) to the half-width kana of its key ("-" gives ﾎ, the
// first of the two "-" keys). Otherwise: an ASCII letter or digit to itself upper-cased, a
// half-width kana to its key character (ｰ gives "-"). ch 0 does nothing.
void ConvertKeyChar(std::string& strOut, bool bToKana, unsigned char ch);

// bToHalf: one hiragana or katakana (2 bytes) to its half-width byte. Otherwise one half-width
// byte to its hiragana (ﾞ and ﾟ give ゛ and ゜).
void ConvertKana(std::string& strOut, bool bToHalf, std::string_view in);

// A voiced or semi-voiced kana (が, パ, ヴ ...) to its half-width base and mark; 0 and 0 for any
// other text.
void SplitVoicedKana(unsigned char& base, std::string_view kana, unsigned char& mark);

// The key index 0-47 whose legend (kana legend in the kana modes, ASCII legend otherwise)
// carries the typed character; nIndex is left alone when none does.
void FindKeyIndex(PracticeMode mode, unsigned char ch, int& nIndex);

// Writes the whole keyboard state back, with the kana lock on in the kana modes and off in the
// others.
void ApplyKanaLock(KeyboardState& keyboard, PracticeMode mode);

// Whether the character at the start of ch counts as kana (not kanji) in a kanji-mode text.
bool IsKanaChar(std::string_view ch);

}  // namespace kibiki
