// A lesson file of any bytes reads without crashing; the kanji list, when there is one, pairs
// with the questions.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lessons/kibiki_doc.h"
#include "support/test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kibiki::test::TempFolder folder("kibiki_lesson_fuzz");
    static const std::string path = folder.Path() + "/lesson.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    static kibiki::CKibikiDoc doc;
    std::string title;
    const int nMode = doc.ReadLessonFile(path, title);
    if (nMode < -1 || nMode > 5) std::abort();
    if (!doc.m_aLessonKanji.empty() && doc.m_aLessonKanji.size() + 2 != doc.m_aLessonLines.size())
        std::abort();
    return 0;
}
