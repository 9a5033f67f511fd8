// Building the expected letters of a question, and judging one keystroke (no learning save):
// the work done per question and per key press.
#include <benchmark/benchmark.h>

#include <string>

#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "support/doc_test_peer.h"
#include "text/cp932.h"

namespace {

using kibiki::CKibikiDoc;

// 40 kana with two-kana units, small tsu, ん before a vowel and a な-row kana, and a symbol.
const char* const kQuestion40 = "きょうはがっこうでしんぶんをよみました、ちゃんとかんじをかいてれんしゅうしようね";

// BuildRoman of the question, fixed spelling by the benchmark's argument.
void BuildRoman40(benchmark::State& state, bool bInputMethod) {
    CKibikiDoc doc;
    doc.SetRomanMode(state.range(0) != 0);
    doc.Settings().m_bImeSpellings = bInputMethod;
    doc.SetLesson(kibiki::BuiltInLesson(kibiki::PracticeMode::HiraganaRomaji, 1));
    doc.Settings().SetIndexedInt("DynRoman", 40111, 40710);  // a learned し: SHI
    const std::string question = kibiki::Utf8ToCp932(kQuestion40);
    std::string text;
    for (auto _ : state) {
        text = question;
        benchmark::DoNotOptimize(doc.BuildRoman(text));
    }
    state.counters["kana"] = static_cast<double>(question.size() / 2);
    state.counters["letters"] = static_cast<double>(doc.Matcher().Roman().size());
}

void BM_BuildRoman40(benchmark::State& state) { BuildRoman40(state, false); }
BENCHMARK(BM_BuildRoman40)->Arg(0)->Arg(1)->ArgName("fixed");

// Types the whole question per iteration and reports the time per keystroke. The matcher's
// state is restored between iterations, so rewrites of the expected letters repeat too.
void TypeQuestion(benchmark::State& state, CKibikiDoc& doc, const std::string& keys) {
    const std::size_t nQuestion = doc.Run().Question().size();
    const kibiki::DocTestPeer::Mark mark = kibiki::DocTestPeer::MarkQuestion(doc);
    std::string answer;
    int caret = 0;
    long long nKeys = 0;
    const bool bKana = kibiki::IsKanaAnswer(doc.CurrentLesson().mode);
    for (auto _ : state) {
        kibiki::DocTestPeer::Rewind(doc, mark);
        for (const char k : keys) {
            unsigned char expected = 0;
            if (doc.IsExpectedKey(static_cast<unsigned char>(k), expected)) {
                doc.AdvanceAnswer(answer, caret);
            }
            benchmark::DoNotOptimize(expected);
        }
        nKeys += static_cast<long long>(keys.size());
    }
    const bool bDone = bKana ? doc.Run().KanaPos() == static_cast<int>(nQuestion)
                             : doc.Matcher().RomanPos() == static_cast<int>(doc.Matcher().Roman().size());
    if (!bDone) state.SkipWithError("the keys did not complete the question");
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(nKeys),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_JudgeRomaji(benchmark::State& state) {
    CKibikiDoc doc;
    doc.SetRomanMode(false);
    doc.SetLesson(kibiki::BuiltInLesson(kibiki::PracticeMode::HiraganaRomaji, 1));
    kibiki::DocTestPeer::PutQuestion(doc, kibiki::Utf8ToCp932(kQuestion40));
    kibiki::DocTestPeer::BuildQuestion(doc);
    const std::string keys = doc.Matcher().Roman();  // following the expected letters
    TypeQuestion(state, doc, keys);
}
BENCHMARK(BM_JudgeRomaji);

// A single N before a consonant: each one rewrites the expected letters.
void BM_JudgeRomajiSingleN(benchmark::State& state) {
    CKibikiDoc doc;
    doc.SetRomanMode(false);
    doc.SetLesson(kibiki::BuiltInLesson(kibiki::PracticeMode::HiraganaRomaji, 1));
    kibiki::DocTestPeer::PutQuestion(doc, kibiki::Utf8ToCp932("しんぶんとかんじとでんわとほんだな"));
    kibiki::DocTestPeer::BuildQuestion(doc);
    TypeQuestion(state, doc, "SINBUNTOKANJITODENWATOHONNDANA");
}
BENCHMARK(BM_JudgeRomajiSingleN);

void BM_JudgeKana(benchmark::State& state) {
    CKibikiDoc doc;
    doc.SetLesson(kibiki::BuiltInLesson(kibiki::PracticeMode::KanaInput, 1));
    kibiki::DocTestPeer::PutQuestion(doc, kibiki::Utf8ToCp932(kQuestion40));
    std::string keys;
    for (std::size_t i = 0; i + 1 < doc.Run().Question().size(); i += 2) {
        const std::string kana = doc.Run().Question().substr(i, 2);
        unsigned char base = 0, mark = 0;
        kibiki::SplitVoicedKana(base, kana, mark);
        if (mark) {
            keys += static_cast<char>(base);
            keys += static_cast<char>(mark);
        } else {
            std::string half;
            kibiki::ConvertKana(half, true, kana);
            keys += half;
        }
    }
    TypeQuestion(state, doc, keys);
}
BENCHMARK(BM_JudgeKana);

}  // namespace

namespace {

// The same question with every input method's spelling accepted.
void BM_BuildRomanIme40(benchmark::State& state) { BuildRoman40(state, true); }
BENCHMARK(BM_BuildRomanIme40)->Arg(0)->Arg(1)->ArgName("fixed");

// Following the guide, and typing spellings of the learner's own (CI, XTU, KILYO, one N
// before a consonant, XN); fixed spelling on, so nothing is learned and saved.
void BM_JudgeRomajiIme(benchmark::State& state) {
    CKibikiDoc doc;
    doc.SetRomanMode(state.range(0) != 0);
    doc.Settings().m_bImeSpellings = true;
    doc.SetLesson(kibiki::BuiltInLesson(kibiki::PracticeMode::HiraganaRomaji, 1));
    kibiki::DocTestPeer::PutQuestion(doc, kibiki::Utf8ToCp932(kQuestion40));
    kibiki::DocTestPeer::BuildQuestion(doc);
    const std::string keys = state.range(0) ? "KILYOUHAGAXTUKOUDECINBUNWOYOMIMASITA,CHAXNTOKANJIWOKAITERENSHUUSIYOUNE"
                                            : doc.Matcher().Roman();
    TypeQuestion(state, doc, keys);
}
BENCHMARK(BM_JudgeRomajiIme)->Arg(0)->Arg(1)->ArgName("own_spellings");

}  // namespace
