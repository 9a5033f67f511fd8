// Custom lesson files: "#KANA"-style header, a name line, one question per line.
#include "lessons/lesson_file.h"

#include <iterator>

#include "kana/practice_mode.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

int LessonFileMode(std::string_view header) {
    static const char* const kHeaders[] = {"#KANA", "#ROMAN", "#ROMANJ", "#KANAKANJI", "#ROMANJKANJI"};
    static_assert(std::size(kHeaders) == ModeValue(PracticeMode::RomajiKanji) + 1);
    const std::string upper = UpperAscii(header);
    int mode = 0;
    while (mode < static_cast<int>(std::size(kHeaders)) && upper != kHeaders[mode]) ++mode;
    return mode;
}

std::vector<std::string> LessonFileLines(std::string_view bytes, std::size_t* pFirstLost) {
    std::vector<std::string> lines;
    if (pFirstLost) *pFirstLost = std::string::npos;
    const bool utf8 = IsUtf8Text(bytes);
    if (utf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        // CR CR LF, a line end converted twice, is one line end too.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!utf8) {
            lines.emplace_back(line);
            continue;
        }
        bool lossless = true;
        lines.push_back(Utf8ToCp932(line, &lossless, "\x81\xAC"));  // 〓
        if (!lossless && pFirstLost && *pFirstLost == std::string::npos) *pFirstLost = lines.size() - 1;
    }
    return lines;
}

bool ReadLessonBytes(const std::string& strPath, std::string& bytes, FileFault* pFault) {
    FileFault fault = FileFault::None;
    const bool bRead = ReadRegularFile(strPath, kLessonFileCap, bytes, fault);
    if (pFault) *pFault = fault;
    return bRead;
}

std::string LessonFaultDetail(const std::string& strPath, FileFault fault) {
    const int nReason = fault == FileFault::TooLarge ? IDS_REASON_LESSON_TOO_LARGE : FileFaultReason(fault);
    return Utf8ToCp932(strPath) + (nReason ? "\r\n\r\n" + StringOrEmpty(nReason) : std::string());
}

std::string CustomLessonName(const std::string& strPath) {
    std::string name = StringOrEmpty(IDS_CUSTOM_NAME);
    const std::size_t slash = strPath.find_last_of("/\\");
    if (slash != std::string::npos) name += "(" + Utf8ToCp932(strPath.substr(slash + 1)) + ")";
    return name;
}

int ReadLessonFile(const std::string& strPath, LessonFile& file, FileFault* pFault) {
    file = LessonFile();
    std::string bytes;
    if (!ReadLessonBytes(strPath, bytes, pFault)) return -1;

    std::size_t firstLost = std::string::npos;
    std::vector<std::string> lines = LessonFileLines(bytes, &firstLost);
    // The header and the name are no questions: only a question line is refused for it.
    if (firstLost != std::string::npos && firstLost >= 2) file.strLostLine = lines[firstLost];

    const int mode = LessonFileMode(lines.empty() ? std::string() : lines[0]);
    const PracticeMode named = static_cast<PracticeMode>(mode);
    const bool kanjiLesson = IsKnownMode(named) && HasKanjiQuestions(named);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (!kanjiLesson) {
            file.texts.aReadings.push_back(std::move(lines[i]));
            continue;
        }
        std::string kanji, reading;
        SplitKanjiReading(lines[i], kanji, reading);
        file.texts.aKanji.push_back(std::move(kanji));
        file.texts.aReadings.push_back(std::move(reading));
    }

    file.strTitle = lines.size() > 1 ? lines[1] : std::string();
    if (file.strTitle.size() > kLessonNameCap) {
        std::size_t cut = 0;
        while (cut < file.strTitle.size() && cut + CharLenAt(file.strTitle, cut) <= kLessonNameCap)
            cut += CharLenAt(file.strTitle, cut);
        file.strTitle.erase(cut);
        file.strTitle += StringOrEmpty(IDS_ELLIPSIS);
    }
    if (file.strTitle.empty()) {
        file.strTitle = StringOrEmpty(IDS_CUSTOM_LESSON);
        file.strHistoryName = CustomLessonName(strPath);
    } else {
        file.strHistoryName = file.strTitle;
    }
    return mode;
}

}  // namespace kibiki
