#pragma once
// String ids of the kana units and their spellings.

namespace kibiki {

enum : int {
    IDS_KANA_FIRST = 40100,      // あ; kana id - 40100 is the key of a fixed spelling
    IDS_SINGLE_LAST = 40178,     // ょ
    IDS_TWO_KANA_FIRST = 40179,  // きゃ
    IDS_TWO_KANA_LAST = 40271,
    IDS_SYMBOL_FIRST = 40272,    // 「
    IDS_SYMBOL_LAST = 40307,
    IDS_KATAKANA_FIRST = 40308,  // katakana id = hiragana id + 208
    IDS_KATAKANA_LAST = 40479,
    IDS_HIRAGANA_N = 40145,      // ん
    IDS_KATAKANA_N = 40353,      // ン
    KATAKANA_OFFSET = 208,
};

// The string holding a kana id's default spelling (40111 し -> 40511 "SI").
int DefaultSpellingId(int nKanaId);
// The string pointing at a kana id's alternatives ("40710,2"); katakana share the hiragana's.
int AlternativePointerId(int nKanaId);
// Unit kinds whose letters begin with a doubled consonant (after a small tsu).
bool IsDoubledKind(int nKind);

}  // namespace kibiki
