// A question of any bytes in any mode: building its romaji never crashes, arbitrary keys never
// move the positions past the text, and typing the keys the judge expects always finishes it.
// Input: byte 0 picks mode and spelling mode, then the question, a 0xFF byte, then keystrokes.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "lessons/kibiki_doc.h"

namespace {

kibiki::CKibikiDoc& Doc() {
    static kibiki::CKibikiDoc* doc = [] {
        auto* d = new kibiki::CKibikiDoc;
        // Learned spellings are saved at once; keep them out of the user's folder.
        static char tmpl[] = "/tmp/kibiki_fuzz_XXXXXX";
        if (!::mkdtemp(tmpl)) std::abort();
        std::atexit([] { std::filesystem::remove_all(tmpl); });
        d->m_settings.SetFolder(tmpl);
        d->m_settings.LoadUser("fuzz");
        return d;
    }();
    return *doc;
}

void Start(kibiki::CKibikiDoc& doc, int nMode, const std::string& question) {
    kibiki::LessonRun& run = doc.m_run;
    run.m_nType = nMode;
    run.m_nLesson = 1;
    run.m_nKanaPos = 0;
    run.m_nRomanPos = 0;
    run.m_bBaseStroke = true;
    run.m_bVoiced = false;
    run.m_strKanji.clear();
    run.m_strQuestion = question;
    run.m_strRoman.clear();
    doc.m_nUnit = 0;
    doc.m_nUnitTyped = 0;
    doc.m_strUnitTyped.clear();
    doc.m_strAltRoman.clear();
    doc.m_nDoubled = 0;
    doc.m_nSegment = -1;
    std::string none;
    doc.SplitKanjiSegments(question, none);
    if (nMode == 1) run.m_strRoman = question;
    if (nMode == 2 || nMode == 4) doc.BuildRoman(run.m_strQuestion);
}

bool Done(const kibiki::CKibikiDoc& doc) {
    const auto& run = doc.m_run;
    if (run.m_nType == 0 || run.m_nType == 3)
        return run.m_nKanaPos >= static_cast<int>(run.m_strQuestion.size());
    return run.m_nRomanPos >= static_cast<int>(run.m_strRoman.size());
}

// One key as the run judges it; false when the positions went wrong.
bool Type(kibiki::CKibikiDoc& doc, unsigned char ch, bool& bRight) {
    unsigned char expected = 0;
    bRight = doc.IsExpectedKey(ch, expected);
    if (bRight) {
        std::string answer;
        int caret = -1;
        doc.AdvanceAnswer(answer, caret);
        if (caret != static_cast<int>(answer.size())) return false;
        if (doc.m_run.m_nType != 0 && doc.m_run.m_nType != 3) ++doc.m_run.m_nRomanPos;
    }
    const auto& run = doc.m_run;
    return run.m_nKanaPos >= 0 && run.m_nKanaPos <= static_cast<int>(run.m_strQuestion.size()) + 2 &&
           run.m_nRomanPos >= 0 && run.m_nRomanPos <= static_cast<int>(run.m_strRoman.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kibiki::CKibikiDoc& doc = Doc();
    const int nMode = data[0] % 5;
    doc.m_bRomanMode = (data[0] / 5) % 2 == 0;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\xFF');
    const std::string question = rest.substr(0, split);
    const std::string keys = split == std::string::npos ? std::string() : rest.substr(split + 1);

    // Arbitrary keys.
    Start(doc, nMode, question);
    bool bRight = false;
    for (const char k : keys) {
        if (Done(doc)) break;
        if (!Type(doc, static_cast<unsigned char>(k), bRight)) std::abort();
    }

    // The expected keys finish any question the judge accepts.
    Start(doc, nMode, question);
    const bool bTypable = !doc.m_run.m_strQuestion.empty() &&
                          (nMode != 1 || !doc.m_run.m_strRoman.empty());
    for (std::size_t n = 0; bTypable && !Done(doc); ++n) {
        const unsigned char ch = doc.NextExpectedKey();
        if (ch == 0) break;  // a character no key types (refused when a run loads it)
        if (!Type(doc, ch, bRight) || !bRight || n > 8 * question.size() + 8) std::abort();
    }
    return 0;
}
