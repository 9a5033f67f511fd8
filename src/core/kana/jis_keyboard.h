#pragma once
// The 48 character keys of the JIS keyboard by key index 0-47 (column by column from the left,
// digit row down): what each types, what it prints and which finger types it. The data is
// resources/keyboard.tsv; characters are single CP932 bytes, 0 where there is none.
#include <string>

#include "kana/practice_mode.h"

namespace kibiki {

constexpr int kKeyCount = 48;

// The half-width kana the key types under the kana lock; 0 for an index that is no key.
unsigned char KanaOfKey(int nKey, bool bShifted);
// The ASCII character a JIS keyboard prints on the key for the Shift state.
char PrintedOfKey(int nKey, bool bShifted);
// The key's character in the key-character conversion (ConvertKeyChar).
char ConvertCharOfKey(int nKey, bool bShifted);
// The first key printing ch, shifted or not (letters as capitals); -1 for none.
int KeyOfPrinted(char ch);

// Finger 0-7 (left little .. left index, right index .. right little) and its group 0-3
// (little, ring, middle, index), which indexes the colour settings.
int FingerOfKey(int nKey);
int FingerGroupOfKey(int nKey);
// The name of a finger group ("小指" ... "人差し指"), CP932; empty outside 0-3.
std::string FingerGroupName(int nGroup);
// The group of finger 0-7, the left hand's from the little finger, the right's mirrored.
constexpr int GroupOfFinger(int nFinger) { return nFinger < 4 ? nFinger : 7 - nFinger; }

// Where a cap sits in the keyboard picture: its row (0 the digit row) and column from the left.
// The ¥ key counts as the last key of its column but sits at the end of the digit row.
struct KeyPlace {
    int nColumn;
    int nRow;
};
constexpr KeyPlace PlaceOfKey(int nKey) {
    return nKey == kKeyCount - 1 ? KeyPlace{12, 0} : KeyPlace{nKey / 4, nKey % 4};
}

// A key of the right hand is shifted with the left SHIFT, and the other way round.
bool IsRightHandKey(int nKey);

// The key that types ch only with Shift: a shifted kana that differs from the key's own, or
// (unless bKanaOnly) a printed shifted character; -1 when ch needs no Shift.
int ShiftedKeyOf(unsigned char ch, bool bKanaOnly);
// For a kana typed with Shift (ｧ, ｦ, ､ ...), the kana of the same key without it; else ch.
unsigned char UnshiftedKana(unsigned char ch);

// The legend a cap shows in a mode: kana in the kana modes, else the ASCII characters (the JIS
// forms of the @ and ^ caps on a JIS keyboard). Empty outside 0-47.
std::string CapLegend(PracticeMode mode, int nCap, bool bJisLayout);

}  // namespace kibiki
