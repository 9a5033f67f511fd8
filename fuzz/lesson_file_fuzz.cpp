// A lesson file of any bytes reads without crashing; the kanji list, when there is one, pairs
// with the questions. An input whose first line is "#!folder", "#!fifo", "#!devzero" or "#!huge"
// puts that at the path instead: it is refused, without blocking or reading without end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lessons/lesson_file.h"
#include "support/file_kinds.h"
#include "support/test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kibiki;
    static const test::TempFolder folder("kibiki_lesson_fuzz");
    static const std::string path = folder.Path() + "/lesson.txt";
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const test::FileKind kind = test::TakeFileKind(bytes);
    if (!test::MakeFileKind(path, kind, bytes, kLessonFileCap + 1)) std::abort();

    LessonFile file;
    FileFault fault = FileFault::None;
    const int nMode = ReadLessonFile(path, file, &fault);
    if (nMode < -1 || nMode > 5) std::abort();
    if (kind != test::FileKind::Regular && nMode != -1) std::abort();
    if (kind == test::FileKind::Huge && fault != FileFault::TooLarge) std::abort();
    const LessonTexts& texts = file.texts;
    if (!texts.aKanji.empty() && texts.aKanji.size() != texts.aReadings.size()) std::abort();
    if (nMode >= 0 && file.strTitle.empty()) std::abort();
    // The name is bounded, and a cut one says so.
    if (file.strTitle.size() > kLessonNameCap + 2 || file.bNameCut != (file.strTitle.size() > kLessonNameCap))
        std::abort();
    // A line named for a stray byte shows it as 〓.
    if (file.nMalformedLine != std::string::npos && file.strMalformedLine.find("\x81\xAC") == std::string::npos)
        std::abort();
    return 0;
}
