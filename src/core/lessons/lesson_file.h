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

// The lines of a lesson file's bytes as CP932, line ends removed. A UTF-8 text is converted; a
// character CP932 lacks becomes 〓 and *pFirstLost (when given) is the index of the first line
// holding one (npos when none).
std::vector<std::string> LessonFileLines(std::string_view bytes, std::size_t* pFirstLost = nullptr);

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
