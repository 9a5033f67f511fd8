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
    for (const auto& unit : doc.m_matcher.Units()) sum += unit.nLen >= 10 ? unit.nLen - 10 : unit.nLen;
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    kibiki::CKibikiDoc doc;
    doc.m_settings.SetFolder(SettingsFolder());
    doc.m_settings.SetFlushToDisk(false);
    if (data[0] & 64) {
        const std::size_t end = rest.find('\0');
        std::ofstream(SettingsFolder() + "/fuzz.dat", std::ios::binary | std::ios::trunc) << rest.substr(0, end);
        rest.erase(0, end == std::string::npos ? rest.size() : end + 1);
        doc.m_settings.LoadUser("fuzz");
    }
    doc.m_settings.m_strUser = "fuzz";
    const int mode = (data[0] & 7) % 5;
    doc.m_bRomanMode = (data[0] & 8) != 0;
    doc.m_run.m_nType = kibiki::PracticeMode{mode};
    doc.m_run.m_nLesson = (data[0] & 16) ? 8 : 1;
    doc.m_settings.m_strKanaSepa = "/";
    doc.m_settings.m_bImeSpellings = (data[0] & 32) != 0;

    const std::size_t zero = rest.find('\0');
    std::string question = rest.substr(0, zero);
    const std::string keys = zero == std::string::npos ? std::string() : rest.substr(zero + 1);

    if (mode == 3 || mode == 4) {
        const std::size_t comma = question.find(',');
        if (comma != std::string::npos) {
            doc.m_run.m_strKanji = question.substr(0, comma);
            question.erase(0, comma + 1);
            doc.m_segments.SplitKanjiSegments(doc.m_run.m_strKanji, question, doc.KanaSeparator());
        } else {
            std::string none;
            doc.m_segments.SplitKanjiSegments(question, none, doc.KanaSeparator());
        }
    }
    doc.m_run.m_strQuestion = question;
    if (mode == 1) doc.m_matcher.SetRoman(question);
    const bool bBuilt = mode == 2 || mode == 4;
    if (bBuilt && !doc.BuildRoman(doc.m_run.m_strQuestion)) return 0;
    // With an input method's spellings the letters are those typed and the guide's way on.
    const bool bUnitLetters = bBuilt && !doc.m_matcher.InputMethod();
    if (bUnitLetters) Check(LetterSum(doc) == static_cast<int>(doc.m_matcher.Roman().size()));

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
        if (!bKana) doc.m_matcher.NextLetter();
        if (bUnitLetters) Check(LetterSum(doc) == static_cast<int>(doc.m_matcher.Roman().size()));
        Check(doc.m_run.m_nKanaPos <= static_cast<int>(doc.m_run.m_strQuestion.size()));
        Check(doc.m_matcher.RomanPos() <= static_cast<int>(doc.m_matcher.Roman().size()));
        const bool bDone = bKana ? doc.m_run.m_nKanaPos >= static_cast<int>(doc.m_run.m_strQuestion.size())
                                 : doc.m_matcher.RomanPos() >= static_cast<int>(doc.m_matcher.Roman().size());
        if (bDone) break;
    }
    return 0;
}
