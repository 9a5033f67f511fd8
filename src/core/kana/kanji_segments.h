#pragma once
// Kanji-mode questions: the display text (kanji and kana) and its reading split into runs, so
// that the answer shows completed kanji runs in kanji and the run being typed in kana.
#include <string>
#include <string_view>
#include <vector>

namespace kibiki {

class CKanjiSegments {
public:
    // Fills the display and reading boundaries and removes the separators from the reading:
    // "｜" always, and strSeparator too when it is not empty (a custom lesson's own; it may be
    // a single byte).
    void SplitKanjiSegments(const std::string& strDisplay, std::string& strReading,
                            std::string_view strSeparator);
    // The answer's kana part at byte nKanaPos of the reading: the completed kanji runs of the
    // display text (the reading itself when strKanji is empty), then the reading of the run
    // being typed.
    void AppendKanaPart(std::string& strOut, const std::string& strReading, const std::string& strKanji,
                        int nKanaPos);

    std::vector<int> m_aDisplayBounds;  // offsets in the display text where kana/kanji change
    std::vector<int> m_aReadingBounds;  // offsets in the reading where each kanji run begins
    int m_nSegment = -1;                // run being typed; -1 before the first boundary
};

}  // namespace kibiki
