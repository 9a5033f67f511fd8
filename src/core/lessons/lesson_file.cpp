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

bool IsLessonUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return true;
    const Utf8Tally tally = TallyUtf8(bytes);
    return tally.nMultiByte > 0 && tally.nMalformed <= kMaxMalformedUtf8 &&
           tally.nMultiByte >= tally.nMalformed * kUtf8PerMalformed;
}

std::vector<std::string> LessonFileLines(std::string_view bytes, std::size_t* pFirstLost,
                                         std::size_t* pFirstMalformed) {
    std::vector<std::string> lines;
    if (pFirstLost) *pFirstLost = std::string::npos;
    if (pFirstMalformed) *pFirstMalformed = std::string::npos;
    const bool utf8 = IsLessonUtf8(bytes);
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
        if (lossless) continue;
        std::size_t* pFirst = TallyUtf8(line).nMalformed > 0 ? pFirstMalformed : pFirstLost;
        if (pFirst && *pFirst == std::string::npos) *pFirst = lines.size() - 1;
    }
    return lines;
}

std::string LessonNameLine(const std::vector<std::string>& lines, bool* pbCut) {
    std::string name = lines.size() > 1 ? lines[1] : std::string();
    const bool bCut = name.size() > kLessonNameCap;
    if (pbCut) *pbCut = bCut;
    if (!bCut) return name;
    std::size_t cut = 0;
    while (cut < name.size() && cut + CharLenAt(name, cut) <= kLessonNameCap) cut += CharLenAt(name, cut);
    name.erase(cut);
    return name + StringOrEmpty(IDS_ELLIPSIS);
}

std::string NameCutText(const std::string& strName) { return StringOrEmpty(IDS_LESSON_NAME_CUT) + strName; }

std::string MalformedLineText(std::size_t nLine, const std::string& strLine) {
    std::string text = StringOrEmpty(IDS_LESSON_MALFORMED_UTF8);
    for (auto at = text.find("%s"); at != std::string::npos; at = text.find("%s", at))
        text.replace(at, 2, std::to_string(nLine + 1));
    return text + strLine;
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
    std::vector<std::string> lines = LessonFileLines(bytes, &firstLost, &file.nMalformedLine);
    // The header and the name are no questions: only a question line is refused for it.
    if (firstLost != std::string::npos && firstLost >= 2) file.strLostLine = lines[firstLost];
    if (file.nMalformedLine != std::string::npos) file.strMalformedLine = lines[file.nMalformedLine];
    file.strTitle = LessonNameLine(lines, &file.bNameCut);

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

    if (file.strTitle.empty()) {
        file.strTitle = StringOrEmpty(IDS_CUSTOM_LESSON);
        file.strHistoryName = CustomLessonName(strPath);
    } else {
        file.strHistoryName = file.strTitle;
    }
    return mode;
}

}  // namespace kibiki
