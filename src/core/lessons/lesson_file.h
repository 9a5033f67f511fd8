#pragma once
// Lesson files a user writes: a "#KANA"-style header, a name line, one question per line, in
// CP932 or UTF-8 (with or without a byte-order mark).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lessons/lesson.h"
#include "platform/regular_file.h"

namespace kibiki {

// Practice mode 0-4 named by a header line (ASCII letters in either case), 5 for anything else.
int LessonFileMode(std::string_view header);

// Whether a lesson file's bytes are UTF-8: a byte-order mark says so; so do well-formed
// characters beyond ASCII with no malformed byte, or with a few (at most kMaxMalformedUtf8, and
// at least kUtf8PerMalformed well-formed characters for each), as one slip of an editor leaves.
// CP932 text read as UTF-8 is malformed at almost every character. Anything else is CP932.
bool IsLessonUtf8(std::string_view bytes);
constexpr std::size_t kMaxMalformedUtf8 = 8;
constexpr std::size_t kUtf8PerMalformed = 4;

// The lines of a lesson file's bytes as CP932, line ends removed. A UTF-8 text is converted: a
// character CP932 lacks, and a byte that is no UTF-8, becomes 〓. *pFirstLost (when given) is
// the index of the first line holding a character CP932 lacks, *pFirstMalformed that of the
// first holding a malformed byte (npos when none).
std::vector<std::string> LessonFileLines(std::string_view bytes, std::size_t* pFirstLost = nullptr,
                                         std::size_t* pFirstMalformed = nullptr);

// The name line (line 2) of a file's lines, at most kLessonNameCap bytes: a longer one is cut
// at a whole character and ends in "…", and *pbCut (when given) says so. Empty without one.
std::string LessonNameLine(const std::vector<std::string>& lines, bool* pbCut = nullptr);
// The message telling that a name line was cut: what is used instead.
std::string NameCutText(const std::string& strName);
// The message naming a line (index nLine) that held bytes that are no UTF-8, shown with 〓.
std::string MalformedLineText(std::size_t nLine, const std::string& strLine);

// The bytes of a lesson file (UTF-8 path), read as a regular file up to the lesson cap; false
// when it cannot be read (*pFault, when given, says why).
bool ReadLessonBytes(const std::string& strPath, std::string& bytes, FileFault* pFault = nullptr);

// Far above any word list a person writes; what lies beyond is no lesson.
constexpr std::size_t kLessonFileCap = 16u << 20;

// The longest name a lesson file gives its lesson, in bytes: the name goes into the title line
// and into every history record of the lesson. A longer one is cut and ends in "…".
constexpr std::size_t kLessonNameCap = 200;

// A lesson file as read: its questions, its title (line 2, or "オリジナルレッスン") and the
// name the history gives it (line 2, or CustomLessonName of the path).
struct LessonFile {
    LessonTexts texts;
    std::string strTitle;
    std::string strHistoryName;
    // The first question line of a UTF-8 file that held a character CP932 lacks, shown with 〓
    // in its place; empty when none did.
    std::string strLostLine;
    // The first line of a UTF-8 file holding a byte that is no UTF-8 (index, npos when none),
    // each such byte shown as 〓.
    std::size_t nMalformedLine = std::string::npos;
    std::string strMalformedLine;
    // The name line was longer than kLessonNameCap and cut.
    bool bNameCut = false;
};

// Reads a lesson file (UTF-8 path; the file CP932 or UTF-8). Returns its practice mode 0-4, 5
// when the header is none of the five, -1 when the file cannot be read (*pFault, when given,
// says why: a folder, a FIFO or device, a file over kLessonFileCap ...).
int ReadLessonFile(const std::string& strPath, LessonFile& file, FileFault* pFault = nullptr);

// What follows "レッスンファイルを開けません。" for a file ReadLessonBytes refused: the path and
// the reason.
std::string LessonFaultDetail(const std::string& strPath, FileFault fault);

// The text of the registered list entry and of the history's lesson name when the name line is
// empty: "オリジナル(" + the file's name + ")", or "オリジナル" for a path without a folder.
std::string CustomLessonName(const std::string& strPath);

}  // namespace kibiki
