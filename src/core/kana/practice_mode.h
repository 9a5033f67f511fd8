#pragma once
// The practice mode, stored in users' files as the number "Type"; those numbers never change.
namespace kibiki {

enum class PracticeMode : int {
    KanaInput = 0,       // kana questions typed on the kana keys
    RomajiInput = 1,     // romaji letters shown and typed as they stand
    HiraganaRomaji = 2,  // hiragana shown, their romaji typed
    KanaKanji = 3,       // kanji questions typed as their reading on the kana keys
    RomajiKanji = 4,     // kanji questions typed as their reading in romaji
};

constexpr int ModeValue(PracticeMode mode) { return static_cast<int>(mode); }

constexpr bool IsKnownMode(PracticeMode mode) {
    return ModeValue(mode) >= ModeValue(PracticeMode::KanaInput) &&
           ModeValue(mode) <= ModeValue(PracticeMode::RomajiKanji);
}

// A hand-edited Type outside the five is kept as read but practised as romaji with kanji, the
// romaji mode a custom lesson's end restores it to.
constexpr PracticeMode KnownMode(PracticeMode mode) {
    return IsKnownMode(mode) ? mode : PracticeMode::RomajiKanji;
}

// Typed on the kana keys with the kana lock on; every other mode is a romaji mode.
constexpr bool IsKanaAnswer(PracticeMode mode) {
    return mode == PracticeMode::KanaInput || mode == PracticeMode::KanaKanji;
}

// The question is romaji letters, shown and typed as they stand.
constexpr bool ShowsRomaji(PracticeMode mode) { return mode == PracticeMode::RomajiInput; }

// A kana reading typed in romaji: the matcher builds its letters and accepts alternatives.
constexpr bool IsRomajiAnswer(PracticeMode mode) { return !IsKanaAnswer(mode) && !ShowsRomaji(mode); }

// Questions written in kanji (or kana) with a kana reading.
constexpr bool HasKanjiQuestions(PracticeMode mode) {
    const PracticeMode known = KnownMode(mode);
    return known == PracticeMode::KanaKanji || known == PracticeMode::RomajiKanji;
}

}  // namespace kibiki
