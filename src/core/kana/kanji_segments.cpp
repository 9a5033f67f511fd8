// Kanji modes: the display text (kanji and kana) and its reading are split into runs so that
// the answer shows completed kanji runs in kanji and the run being typed in kana.
#include "kana/kanji_segments.h"

#include <algorithm>

#include "kana/kana_tables.h"
#include "text/sjis.h"

namespace kibiki {

namespace {

constexpr std::string_view kBar = "\x81\x62";  // ｜

}  // namespace

void CKanjiSegments::SplitKanjiSegments(const std::string& strDisplay, std::string& strReading,
                                        std::string_view strSeparator) {
    m_aDisplayBounds.clear();
    m_aReadingBounds.clear();
    m_nSegment = -1;

    // 止まり: 止 | まり -> [2]
    if (!strDisplay.empty()) {
        std::size_t pos = CharLenAt(strDisplay, 0);
        bool bKana = IsKanaChar(BytesAt(strDisplay, 0, pos));
        for (std::size_t n; pos < strDisplay.size(); pos += n) {
            n = CharLenAt(strDisplay, pos);
            const bool bHere = IsKanaChar(BytesAt(strDisplay, pos, n));
            if (bHere != bKana) {
                m_aDisplayBounds.push_back(static_cast<int>(pos));
                bKana = bHere;
            }
        }
    }

    // と｜まり -> とまり, [2]. The custom separator may be a single byte; only it is removed.
    const std::string_view sep = strSeparator.empty() ? kBar : strSeparator;
    for (std::size_t at = 0; at < strReading.size();) {
        const std::size_t atSep = FindWhole(strReading, sep, at);
        const std::size_t atBar = FindWhole(strReading, kBar, at);
        if (atSep == std::string::npos && atBar == std::string::npos) break;
        const bool bSep = atSep <= atBar;
        at = bSep ? atSep : atBar;
        m_aReadingBounds.push_back(static_cast<int>(at));
        strReading.erase(at, bSep ? sep.size() : kBar.size());
    }
}

void CKanjiSegments::AppendKanaPart(std::string& strOut, const std::string& strReading,
                                    const std::string& strKanji, int nKanaPos) {
    const std::string& reading = strReading;
    const std::size_t p = static_cast<std::size_t>(std::max(nKanaPos, 0));
    // A unit can cover more than one boundary step (a two-kana unit, a single N), so move on
    // past every boundary reached.
    while (m_nSegment + 1 < static_cast<int>(m_aReadingBounds.size()) &&
           m_aReadingBounds[m_nSegment + 1] <= static_cast<int>(p))
        ++m_nSegment;
    if (m_nSegment < 0) {
        strOut.append(reading, 0, std::min(p, reading.size()));
        return;
    }
    const std::string& display = strKanji.empty() ? reading : strKanji;
    std::size_t b = display.size();
    if (m_nSegment < static_cast<int>(m_aDisplayBounds.size()))
        b = std::min(b, static_cast<std::size_t>(m_aDisplayBounds[m_nSegment]));
    strOut.append(display, 0, b);
    const std::size_t from = static_cast<std::size_t>(m_aReadingBounds[m_nSegment]);
    if (from < p && from < reading.size()) strOut.append(reading, from, std::min(p, reading.size()) - from);
}

}  // namespace kibiki
