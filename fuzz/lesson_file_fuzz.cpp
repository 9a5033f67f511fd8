// A lesson file of any bytes reads without crashing; the kanji list, when there is one, pairs
// with the questions. An input whose first line is "#!folder", "#!fifo", "#!devzero" or "#!huge"
// puts that at the path instead: it is refused, without blocking or reading without end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lessons/kibiki_doc.h"
#include "support/file_kinds.h"
#include "support/test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kibiki;
    static const test::TempFolder folder("kibiki_lesson_fuzz");
    static const std::string path = folder.Path() + "/lesson.txt";
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const test::FileKind kind = test::TakeFileKind(bytes);
    if (!test::MakeFileKind(path, kind, bytes, CKibikiDoc::kLessonFileCap + 1)) std::abort();

    static CKibikiDoc doc;
    std::string title;
    FileFault fault = FileFault::None;
    const int nMode = doc.ReadLessonFile(path, title, &fault);
    if (nMode < -1 || nMode > 5) std::abort();
    if (kind != test::FileKind::Regular && nMode != -1) std::abort();
    if (kind == test::FileKind::Huge && fault != FileFault::TooLarge) std::abort();
    if (!doc.m_aLessonKanji.empty() && doc.m_aLessonKanji.size() + 2 != doc.m_aLessonLines.size())
        std::abort();
    return 0;
}
