#pragma once
// Where a kana unit's spellings are found.
#include "text/string_ids.h"

namespace kibiki {

// The string holding a kana id's default spelling (40111 し -> 40511 "SI").
int DefaultSpellingId(int nKanaId);
// The string pointing at a kana id's alternatives ("40710,2"); katakana share the hiragana's.
int AlternativePointerId(int nKanaId);
// Unit kinds whose letters begin with a doubled consonant (after a small tsu).
bool IsDoubledKind(int nKind);

}  // namespace kibiki
