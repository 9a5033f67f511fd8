// Custom lesson files: "#KANA"-style header, a name line, one question per line (CP932).
#include <iterator>

#include "kana/practice_mode.h"
#include "lessons/kibiki_doc.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// The practice mode a header names, in mode order; the count of headers when it names none.
int HeaderMode(const std::string& header) {
    static const char* const kHeaders[] = {"#KANA", "#ROMAN", "#ROMANJ", "#KANAKANJI", "#ROMANJKANJI"};
    static_assert(std::size(kHeaders) == ModeValue(PracticeMode::RomajiKanji) + 1);
    const std::string upper = UpperAscii(header);
    int mode = 0;
    while (mode < static_cast<int>(std::size(kHeaders)) && upper != kHeaders[mode]) ++mode;
    return mode;
}

}  // namespace

int CKibikiDoc::ReadLessonFile(const std::string& strPath, std::string& strTitle, FileFault* pFault) {
    m_aLessonLines.clear();
    m_aLessonKanji.clear();
    strTitle.clear();
    std::string text;
    FileFault fault;
    const bool bRead = ReadRegularFile(strPath, kLessonFileCap, text, fault);
    if (pFault) *pFault = fault;
    if (!bRead) return -1;

    bool kanjiLesson = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        if (m_aLessonLines.size() == 2) {
            const int mode = HeaderMode(m_aLessonLines[0]);
            const PracticeMode named = static_cast<PracticeMode>(mode);
            kanjiLesson = IsKnownMode(named) && HasKanjiQuestions(named);
        }
        if (m_aLessonLines.size() < 2 || !kanjiLesson) {
            m_aLessonLines.push_back(std::move(line));
            continue;
        }
        // Kanji text, one ASCII comma, reading. A comma byte is never the second byte of a
        // double-byte character.
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) {
            m_aLessonKanji.emplace_back();
            m_aLessonLines.push_back(std::move(line));
        } else {
            m_aLessonKanji.push_back(line.substr(0, comma));
            m_aLessonLines.push_back(line.substr(comma + 1));
        }
    }

    const int mode = HeaderMode(m_aLessonLines.empty() ? std::string() : m_aLessonLines[0]);
    strTitle = m_aLessonLines.size() > 1 ? m_aLessonLines[1] : std::string();
    if (strTitle.empty()) {
        strTitle = StringOrEmpty(IDS_CUSTOM_LESSON);
        const std::size_t slash = strPath.find_last_of("/\\");
        m_settings.m_strCustomName = StringOrEmpty(IDS_CUSTOM_NAME);
        if (slash != std::string::npos)
            m_settings.m_strCustomName += "(" + Utf8ToCp932(strPath.substr(slash + 1)) + ")";
    } else {
        m_settings.m_strCustomName = strTitle;
    }
    return mode;
}

}  // namespace kibiki
