#include "lessons/test_text.h"

#include "kana/kana_tables.h"
#include "kana/kanji_segments.h"
#include "lessons/test_score.h"
#include "text/sjis.h"

namespace kibiki {

namespace {

constexpr std::string_view kBar = "\x81\x62";  // ｜

// The same test the question's own split makes, so that the bars added here fall where it
// finds the turns.
bool KanaAt(std::string_view text, std::size_t pos) { return IsKanaChar(BytesAt(text, pos, CharLenAt(text, pos))); }

bool EndsInKana(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLenAt(text, i)) last = i;
    return KanaAt(text, last);
}

// A sentence shown as its reading: a bar at every turn of its own text.
std::string BarredAtTurns(std::string_view reading) {
    std::string out;
    bool kana = false;
    for (std::size_t i = 0, n; i < reading.size(); i += n) {
        n = CharLenAt(reading, i);
        const bool here = KanaAt(reading, i);
        if (i > 0 && here != kana) out += kBar;
        kana = here;
        out.append(reading, i, n);
    }
    return out;
}

}  // namespace

TestText JoinTestText(const LessonTexts& texts, std::string_view strSeparator, std::size_t nMaxBytes) {
    TestText t;
    int readingBytes = 0;
    bool lastKana = false;
    for (std::size_t i = 0; i < texts.aReadings.size(); ++i) {
        const std::string kanji = i < texts.aKanji.size() ? texts.aKanji[i] : std::string();
        std::string reading = texts.aReadings[i];
        CKanjiSegments segments;
        segments.SplitKanjiSegments(kanji, reading, strSeparator);
        if (reading.empty()) continue;
        std::string display, barred;
        if (!kanji.empty() && segments.m_aDisplayBounds.size() == segments.m_aReadingBounds.size()) {
            display = kanji;
            std::size_t from = 0;
            for (const int at : segments.m_aReadingBounds) {
                barred.append(reading, from, static_cast<std::size_t>(at) - from);
                barred += kBar;
                from = static_cast<std::size_t>(at);
            }
            barred.append(reading, from);
        } else {
            display = reading;
            barred = BarredAtTurns(reading);
        }
        if (!t.strDisplay.empty() && t.strDisplay.size() + display.size() > nMaxBytes) break;
        if (!t.strDisplay.empty() && KanaAt(display, 0) != lastKana) t.strReading += kBar;
        lastKana = EndsInKana(display);
        t.strDisplay += display;
        t.strReading += barred;
        readingBytes += static_cast<int>(reading.size());
        t.aReadingEnds.push_back(readingBytes);
        t.aChars.push_back(CountChars(display));
    }
    return t;
}

int FinishedChars(const TestText& text, int nKanaPos) {
    int n = 0;
    for (std::size_t i = 0; i < text.aReadingEnds.size() && text.aReadingEnds[i] <= nKanaPos; ++i) n += text.aChars[i];
    return n;
}

}  // namespace kibiki
