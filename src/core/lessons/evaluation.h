#pragma once
// Pieces of the lesson-end evaluation that need no run record.
#include <cstdint>
#include <ctime>
#include <map>
#include <vector>
#include <string>
#include <string_view>

#include "kana/practice_mode.h"
#include "users/history_record.h"

namespace kibiki {

// A key byte as the miss-key box and the missed-key lists name it: in the kana modes a visible
// ASCII character as itself and a half-width kana as its hiragana (empty for any other byte);
// "/" as the middle dot it types in a romaji reading; any other byte as itself.
std::string MissedKeyText(PracticeMode mode, unsigned char key);

// Percentage of right keystrokes; 0 when there were more misses than keystrokes or none at all.
double AccuracyPercent(double dKeystrokes, int nMisses);

// 43000 without misses, else 43001 (>= 90), 43002 (>= 80), 43003 (>= 75), 43004, on the
// unrounded accuracy.
int EvaluationMessageId(double dAccuracy, int nMisses);

// Keystrokes per minute over whole elapsed seconds; a run under one second is measured in
// milliseconds instead, so the result is always finite.
double KeystrokesPerMinute(double dKeystrokes, std::uint32_t dwElapsedMs);

// Characters of a kana reading: a voiced kana, a symbol or a long-vowel mark is one.
int CountKana(std::string_view reading);

// "%.0f" with halves rounded away from zero, whatever the C library does with ties.
std::string WholeNumber(double d);

// Local time as "%Y年%m月%d日 %H:%M" (CP932); empty when it cannot be converted.
std::string HistoryDate(std::time_t t);

// Missed keys (due key byte -> misses) named as the lesson end and the history name them, most
// missed first, equal counts in key order. users/history_record.h formats them.
std::vector<MissedKey> SummariseMisses(PracticeMode mode, const std::map<unsigned char, int>& missed);

}  // namespace kibiki
