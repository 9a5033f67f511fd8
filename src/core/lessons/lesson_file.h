#pragma once
// Lesson files a user writes: a "#KANA"-style header, a name line, one question per line, in
// CP932 or UTF-8 (with or without a byte-order mark).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// What follows "レッスンファイルを開けません。" for a file ReadLessonBytes refused: the path and
// the reason.
std::string LessonFaultDetail(const std::string& strPath, FileFault fault);

// The text of the registered list entry and of the history's lesson name when the name line is
// empty: "オリジナル(" + the file's name + ")", or "オリジナル" for a path without a folder.
std::string CustomLessonName(const std::string& strPath);

}  // namespace kibiki
