// Properties of "IMEと同じつづりをすべて受け付ける" on random questions, checked by an input method
// of our own: a greedy converter over the table of typed rules, the way an input method turns
// letters into kana.
//   1. The letters the guide shows spell the question's kana: no guide teaches other kana.
//   2. Any keys the matcher takes never end a question before its last kana, and keys that end
//      it spell it.
//   3. Every key sequence the fixed-spelling matcher takes, the input-method matcher takes too,
//      unless it types other kana in an input method: a small tsu before a vowel, N, a symbol,
//      another small tsu or the end; ん as one N before a vowel, Y, N or an apostrophe (small
//      tsu between them included: んっよ as NYYO).
//   4. A question refused with the option on is refused without it.
//
// Input: one flag byte (bit 0 fixed spelling), the question as bytes that each pick a
// character up to a zero byte, the choices of a walk through the fixed-spelling matcher up to
// a zero byte, then keys for the input-method matcher (0x01 types the guide's key).
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "kana/romaji_rules.h"
#include "lessons/kibiki_doc.h"
#include "support/doc_test_peer.h"
#include "support/test_util.h"

namespace {

using kibiki::CKibikiDoc;

void Check(bool b) {
    if (!b) std::abort();
}

const std::string& SettingsFolder() {
    static const kibiki::test::TempFolder folder("kibiki_ime_rules_fuzz");
    return folder.Path();
}

// Characters a question is made of (UTF-8): kana, small kana, ん, っ, symbols, digits, the
// voiced marks alone and with う.
const std::vector<std::string>& Alphabet() {
    static const std::vector<std::string> a = [] {
        std::vector<std::string> r;
        const char* const groups[] = {
            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん",
            "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉゃゅょっっっんん",
            "アイウエオカキクシチツテトナニヌハフミヤユヨリワヲンガジヂデドバパァィゥェォャュョッヴ",
            "、。！？ー「」・’”（）＝￥＜＞；：＠１２３０＾～",
        };
        for (const char* g : groups)
            for (std::string_view s(g); !s.empty(); s.remove_prefix(3)) r.emplace_back(s.substr(0, 3));
        r.push_back("う゛");
        r.push_back("う゛");
        r.push_back("゛");
        r.push_back("゜");
        return r;
    }();
    return a;
}

// The greedy converter: letters -> kana, as an input method reads them, over the rules table.
class Converter {
public:
    Converter() {
        const kibiki::RomajiRules& rules = kibiki::TheRomajiRules();
        for (const std::string& kana : rules.Texts())
            for (const kibiki::RomajiRule& r : rules.For(kana)) {
                const auto [it, bNew] = m_rules.emplace(r.strLetters, std::make_pair(kana, r.nPending));
                // One spelling, one kana: otherwise no input method could read it.
                Check(bNew || it->second == std::make_pair(kana, r.nPending));
            }
    }

    std::optional<std::string> Convert(std::string_view letters) const {
        std::string out, buffer;
        for (const char c : letters) {
            buffer += c;
            for (;;) {
                const auto exact = m_rules.find(buffer);
                const auto after = m_rules.upper_bound(buffer);
                const bool bLonger = after != m_rules.end() && after->first.starts_with(buffer);
                if (exact != m_rules.end() && !bLonger) {
                    out += exact->second.first;
                    buffer = buffer.substr(buffer.size() - exact->second.second);
                    if (!buffer.empty()) continue;  // a pending "." is 。 at once
                } else if (exact == m_rules.end() && !bLonger) {
                    return std::nullopt;
                }
                break;
            }
        }
        while (!buffer.empty()) {
            const auto exact = m_rules.find(buffer);
            if (exact == m_rules.end()) return std::nullopt;
            out += exact->second.first;
            buffer = buffer.substr(buffer.size() - exact->second.second);
        }
        return out;
    }

private:
    std::map<std::string, std::pair<std::string, int>, std::less<>> m_rules;
};

const Converter& TheConverter() {
    static const Converter c;
    return c;
}

std::string Hiragana(std::string_view cp932) {
    std::string out;
    for (std::size_t i = 0; i + 1 < cp932.size(); i += 2) out += kibiki::HiraganaOf(cp932.substr(i, 2));
    return out;
}

std::unique_ptr<CKibikiDoc> MakeDoc(bool bFixed, bool bIme) {
    auto doc = std::make_unique<CKibikiDoc>();
    doc->Settings().SetFolder(SettingsFolder());
    doc->Settings().SetFlushToDisk(false);
    doc->Settings().m_strUser = "fuzz";
    doc->SetRomanMode(bFixed);
    doc->Settings().m_bImeSpellings = bIme;
    kibiki::Lesson lesson;
    lesson.source = kibiki::LessonSource::File;
    lesson.mode = kibiki::PracticeMode::HiraganaRomaji;
    lesson.nNumber = 8;
    doc->SetLesson(lesson);
    return doc;
}

// Types one key the way the practice run does; false for a wrong key.
bool Type(CKibikiDoc& doc, unsigned char ch) {
    unsigned char expected = 0;
    if (!doc.IsExpectedKey(ch, expected)) return false;
    std::string answer;
    int caret = 0;
    doc.AdvanceAnswer(answer, caret);
    return true;
}

bool Done(const CKibikiDoc& doc) { return doc.NextExpectedKey() == 0; }

bool KanaDone(const CKibikiDoc& doc) {
    return doc.Run().KanaPos() == static_cast<int>(doc.Run().Question().size());
}

// Where an input method reads the fixed spelling's letters as other kana.
bool TypesOtherKana(std::string_view hiragana) {
    const std::string_view tsuBefore[] = {"あ", "い", "う", "え", "お", "な", "に", "ぬ", "ね", "の", "ん", "っ"};
    const std::string_view nBefore[] = {"あ", "い", "う", "え", "お", "や", "ゆ", "よ", "な", "に", "ぬ", "ね", "の", "ん", "’"};
    for (std::size_t i = 0; i + 1 < hiragana.size(); i += 2) {
        const std::string_view c = hiragana.substr(i, 2), next = hiragana.substr(i + 2, 2);
        if (c == kibiki::test::Sj("っ")) {
            const auto lead = next.empty() ? 0 : static_cast<unsigned char>(next[0]);
            const auto trail = next.size() < 2 ? 0 : static_cast<unsigned char>(next[1]);
            if (next.empty() || lead == 0x81 || (lead == 0x82 && trail < 0x9F)) return true;  // the end, a symbol, a digit
            for (const std::string_view k : tsuBefore)
                if (next == kibiki::test::Sj(k)) return true;
        }
        if (c == kibiki::test::Sj("ん")) {
            // Small tsu after ん double the next kana's first letter: んっよ is NYYO.
            std::size_t j = i + 2;
            while (hiragana.substr(j, 2) == kibiki::test::Sj("っ")) j += 2;
            for (const std::string_view k : nBefore)
                if (hiragana.substr(j, 2) == kibiki::test::Sj(k)) return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool bFixed = (data[0] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    auto field = [&rest] {
        const std::size_t zero = rest.find('\0');
        const std::string_view f = rest.substr(0, zero);
        rest.remove_prefix(zero == std::string_view::npos ? rest.size() : zero + 1);
        return f;
    };
    std::string question;
    for (const char c : field().substr(0, 40)) question += Alphabet()[static_cast<unsigned char>(c) % Alphabet().size()];
    const std::string_view walk = field();
    const std::string_view keys = rest;
    const std::string sjis = kibiki::test::Sj(question);

    auto ime = MakeDoc(bFixed, true);
    kibiki::DocTestPeer::PutQuestion(*ime, sjis);
    const bool bBuilt = kibiki::DocTestPeer::BuildQuestion(*ime);
    auto fixed = MakeDoc(bFixed, false);
    kibiki::DocTestPeer::PutQuestion(*fixed, sjis);
    const bool bFixedBuilt = kibiki::DocTestPeer::BuildQuestion(*fixed);
    Check(bBuilt || !bFixedBuilt);  // 4
    if (!bBuilt || sjis.empty()) return 0;
    const std::string hiragana = Hiragana(sjis);

    // 1. The guide's letters.
    const std::optional<std::string> guided = TheConverter().Convert(ime->Matcher().Roman());
    Check(guided && *guided == hiragana);

    // 2. Any keys: never done before the last kana; keys that finish spell the question.
    std::string typed;
    for (const char k : keys) {
        const unsigned char due = ime->NextExpectedKey();
        const unsigned char ch = k == '\x01' ? due : static_cast<unsigned char>(k);
        if (!Type(*ime, ch)) {
            Check(ch != due);
            continue;
        }
        typed += static_cast<char>(ch);
        Check(!Done(*ime) || KanaDone(*ime));
        Check(KanaDone(*ime) == Done(*ime));
        if (Done(*ime)) {
            const std::optional<std::string> spelled = TheConverter().Convert(typed);
            Check(spelled && *spelled == hiragana);
            break;
        }
    }

    // 3. A walk through the fixed-spelling matcher: each step types the chosen letter when that
    // matcher takes it, else the key it expects.
    if (!bFixedBuilt) return 0;
    static const std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ'.,-!?";
    std::string accepted;
    for (std::size_t step = 0; step < 400 && !Done(*fixed); ++step) {
        const unsigned char choice = step < walk.size() ? static_cast<unsigned char>(walk[step]) : 0;
        const unsigned char letter = static_cast<unsigned char>(kLetters[choice % kLetters.size()]);
        const unsigned char due = fixed->NextExpectedKey();
        const bool bTook = choice >= 128 && letter != due && Type(*fixed, letter);
        if (!bTook) Check(Type(*fixed, due));
        accepted += static_cast<char>(bTook ? letter : due);
    }
    Check(Done(*fixed));
    const std::optional<std::string> spelled = TheConverter().Convert(accepted);
    if (!spelled || *spelled != hiragana) {
        Check(TypesOtherKana(hiragana));
        return 0;
    }
    auto again = MakeDoc(bFixed, true);
    kibiki::DocTestPeer::PutQuestion(*again, sjis);
    Check(kibiki::DocTestPeer::BuildQuestion(*again));
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        Check(!Done(*again));
        Check(Type(*again, static_cast<unsigned char>(accepted[i])));
    }
    Check(Done(*again) && KanaDone(*again));
    return 0;
}
