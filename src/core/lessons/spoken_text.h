#pragma once
// What a screen reader says of the practice window: each control's name and, while a lesson
// runs, what is due, a miss and the end. All results are UTF-8; kana are said as hiragana.
#include <string>
#include <string_view>

#include "kana/practice_mode.h"

namespace kibiki {

// The accessible name of a practice-window control given the text it shows (CP932): a cap
// "か キー、左手人差し指", a counter "ミス回数 3", a finger label "左手小指"; id 0: the practice
// area itself. Empty for an id that is no control of the window.
std::string SpokenControlName(int nId, std::string_view shownCp932);

// The key due next (a byte as the judge expects it): "次は か、左手人差し指" in the kana modes,
// "次は K" in the romaji modes. Empty when nothing is due.
std::string SpokenDue(PracticeMode mode, unsigned char chDue);
// A wrong key, as the miss-key box shows it: "ミス: た".
std::string SpokenMiss(PracticeMode mode, unsigned char chTyped);
// The end of a finished lesson: "レッスン終了、正解率 92%".
std::string SpokenEnd(double dAccuracy);
std::string SpokenStopped();

// CP932 text as UTF-8 with half-width and full-width katakana made hiragana (ｶ, カ: か).
std::string SpokenKana(std::string_view cp932);

}  // namespace kibiki
