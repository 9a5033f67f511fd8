// Any question text and any keystrokes: nothing crashes or reads outside a string, the key the
// guide shows is always judged right, and the units always account for every expected letter.
//
// Input: one flag byte (mode 0-4 in bits 0-2, fixed spelling in bit 3, custom lesson in bit 4,
// every input method's spelling in bit 5, a settings file in bit 6), with bit 6 the user's
// settings file (hand-edited "Roman<k>=" and "DynRoman<kana id>=" lines) up to a zero byte,
// the question ("kanji,reading" in the kanji modes) up to a zero byte, then the keys; a key byte
// 0x01 types whatever is due next.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "support/doc_test_peer.h"
#include "support/test_util.h"

namespace {

// Learned spellings are saved at once; keep them in a folder of our own, removed at exit.
const std::string& SettingsFolder() {
    static const kibiki::test::TempFolder folder("kibiki_matcher_fuzz");
    return folder.Path();
}

void Check(bool b) {
    if (!b) std::abort();
}

int LetterSum(const kibiki::CKibikiDoc& doc) {
    int sum = 0;
    for (const auto& unit : doc.Matcher().Units()) sum += unit.nLen >= 10 ? unit.nLen - 10 : unit.nLen;
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    kibiki::CKibikiDoc doc;
    doc.Settings().SetFolder(SettingsFolder());
    doc.Settings().SetFlushToDisk(false);
    if (data[0] & 64) {
        const std::size_t end = rest.find('\0');
        std::ofstream(SettingsFolder() + "/fuzz.dat", std::ios::binary | std::ios::trunc) << rest.substr(0, end);
        rest.erase(0, end == std::string::npos ? rest.size() : end + 1);
        doc.Settings().LoadUser("fuzz");
    }
    doc.Settings().m_strUser = "fuzz";
    const int mode = (data[0] & 7) % 5;
    doc.SetRomanMode((data[0] & 8) != 0);
    kibiki::Lesson lesson;
    lesson.source = (data[0] & 16) ? kibiki::LessonSource::File : kibiki::LessonSource::BuiltIn;
    lesson.mode = kibiki::PracticeMode{mode};
    lesson.nNumber = (data[0] & 16) ? 8 : 1;
    doc.SetLesson(lesson);
    doc.Settings().m_strKanaSepa = "/";
    doc.Settings().m_bImeSpellings = (data[0] & 32) != 0;

    const std::size_t zero = rest.find('\0');
    std::string question = rest.substr(0, zero);
    const std::string keys = zero == std::string::npos ? std::string() : rest.substr(zero + 1);

    std::string kanji;
    if (mode == 3 || mode == 4) {
        kibiki::CKanjiSegments& segments = kibiki::DocTestPeer::Segments(doc);
        const std::size_t comma = question.find(',');
        if (comma != std::string::npos) {
            kanji = question.substr(0, comma);
            question.erase(0, comma + 1);
            segments.SplitKanjiSegments(kanji, question, doc.KanaSeparator());
        } else {
            std::string none;
            segments.SplitKanjiSegments(question, none, doc.KanaSeparator());
        }
    }
    kibiki::DocTestPeer::PutQuestion(doc, question, kanji);
    if (mode == 1) kibiki::DocTestPeer::PutLetters(doc, question);
    const bool bBuilt = mode == 2 || mode == 4;
    if (bBuilt && !kibiki::DocTestPeer::BuildQuestion(doc)) return 0;
    // With an input method's spellings the letters are those typed and the guide's way on.
    const bool bUnitLetters = bBuilt && !doc.Matcher().InputMethod();
    if (bUnitLetters) Check(LetterSum(doc) == static_cast<int>(doc.Matcher().Roman().size()));

    const bool bKana = kibiki::IsKanaAnswer(kibiki::PracticeMode{mode});
    std::string answer;
    for (const char k : keys) {
        const unsigned char due = doc.NextExpectedKey();
        // Keys reach a romaji reading upper-cased: a lower-case letter due could never be typed.
        if (bBuilt) Check(due < 'a' || due > 'z');
        const unsigned char ch = k == '\x01' ? due : static_cast<unsigned char>(k);
        unsigned char expected = 0;
        const bool bRight = doc.IsExpectedKey(ch, expected);
        Check(expected == due);
        if (ch == due && due != 0) Check(bRight);
        if (!bRight) continue;
        int caret = -1;
        doc.AdvanceAnswer(answer, caret);
        Check(caret == static_cast<int>(answer.size()));
        if (bUnitLetters) Check(LetterSum(doc) == static_cast<int>(doc.Matcher().Roman().size()));
        Check(doc.Run().KanaPos() <= static_cast<int>(doc.Run().Question().size()));
        Check(doc.Matcher().RomanPos() <= static_cast<int>(doc.Matcher().Roman().size()));
        const bool bDone = bKana ? doc.Run().KanaPos() >= static_cast<int>(doc.Run().Question().size())
                                 : doc.Matcher().RomanPos() >= static_cast<int>(doc.Matcher().Roman().size());
        if (bDone) break;
    }
    return 0;
}
