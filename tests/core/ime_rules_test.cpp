// The table of typed rules behind "IMEと同じつづりをすべて受け付ける", checked against the rules of
// an independent input method (Debian's libkkc-common) and against the spellings and places
// where input methods differ from the fixed-spelling rules: っ before a vowel or N, っっ, う゛,
// and a single N before a symbol.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <utility>

#include "judge_script.h"
#include "kana/romaji_rules.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::TypeScript;

class ImeRulesTest : public test::DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        m_doc.Settings().SetFlushToDisk(false);
        m_doc.RomajiCallbacks().fnImeSpellings = [] { return true; };
    }

    // The question typed with these keys, both spelling modes: "" when every key was right and
    // the question ended with its last key, else what happened.
    std::string Typed(std::string_view question, std::string_view keys) {
        std::string out;
        const bool bWasFixed = m_doc.RomanMode();
        for (const bool bFixed : {false, true}) {
            m_doc.SetRomanMode(bFixed);
            if (!Start(2, question)) out = "refused as faulty; ";
            const std::string transcript = TypeScript(m_doc, keys);
            bool bMissed = false;  // "k!e" after a wrong key, "k:answer" after a right one
            for (std::size_t p = 0; p != std::string::npos; p = transcript.find(' ', p + 1))
                bMissed = bMissed || transcript.compare(p == 0 ? 1 : p + 2, 1, "!") == 0;
            const bool bEndedOnLast = transcript.ends_with(" [done]") && !bMissed &&
                                      m_doc.Run().KanaPos() == static_cast<int>(m_doc.Run().Question().size());
            if (!bEndedOnLast) out += (bFixed ? "fixed: " : "learning: ") + transcript + "; ";
        }
        m_doc.SetRomanMode(bWasFixed);
        return out;
    }
};

// --- an independent input method's rules -------------------------------------------------

// "key": ["pending", "output", ...] pairs of the rom-kana table, keys upper-cased.
struct KkcRule {
    std::string strKeys;
    std::string strPending;
    std::string strOutput;
};

std::vector<KkcRule> ReadKkcRules(const std::string& json) {
    std::vector<KkcRule> rules;
    std::size_t p = json.find("\"rom-kana\"");
    if (p == std::string::npos) return rules;
    p = json.find('{', p);
    auto readString = [&](std::size_t& i, std::string& out) {
        out.clear();
        i = json.find('"', i);
        if (i == std::string::npos) return false;
        for (++i; i < json.size() && json[i] != '"'; ++i) {
            if (json[i] == '\\' && i + 1 < json.size()) ++i;
            out += json[i];
        }
        ++i;
        return i <= json.size();
    };
    while (p != std::string::npos && p < json.size()) {
        const std::size_t next = json.find_first_of("\"}", p + 1);
        if (next == std::string::npos || json[next] == '}') break;
        p = next;
        KkcRule rule;
        std::string key;
        if (!readString(p, key)) break;
        p = json.find('[', p);
        const std::size_t close = json.find(']', p);
        std::vector<std::string> fields;
        for (std::string field; json.find('"', p) < close && readString(p, field);) fields.push_back(field);
        p = close;
        if (fields.size() < 2) continue;
        for (char& c : key)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        for (char& c : fields[0])
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        rules.push_back({key, fields[0], fields[1]});
    }
    return rules;
}

TEST_F(ImeRulesTest, EverySpellingOfAnIndependentInputMethodTypesItsKana) {
    const std::filesystem::path path = "/usr/share/libkkc/rules/default/rom-kana/default.json";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is missing: apt-get install libkkc-common";
    const std::vector<KkcRule> rules = ReadKkcRules(test::ReadFile(path));
    ASSERT_GT(rules.size(), 200u);

    // Rules the trainer does not take, and why.
    const std::map<std::string, const char*> notTaken = {
        {"N", "a lone N is ん only before a consonant, symbol or digit; a question's last ん is NN, N' or XN"},
        {"THA", "THA is てゃ in the common input methods and in the trainer; this table makes てぁ"},
        {"XKA", "XKA is the small ヵ in the common input methods; this table makes か"},
        {"XKE", "XKE is the small ヶ in the common input methods; this table makes け"},
    };
    // Output no question can hold: the trainer has no such kana or symbol.
    const std::set<std::string> noSuchCharacter = {"XWA", "XWI", "XWE", "Z,", "Z.", "Z[", "Z]", "ZH", "ZJ", "ZK",
                                                   "ZL", "\\", "|", "{", "}", "+", "*", "/", "`"};

    std::set<std::string> seen;
    for (const KkcRule& rule : rules) {
        seen.insert(rule.strKeys);
        if (notTaken.count(rule.strKeys)) continue;
        if (noSuchCharacter.count(rule.strKeys)) {
            EXPECT_FALSE(Start(2, rule.strOutput)) << rule.strKeys << " makes " << rule.strOutput;
            continue;
        }
        std::string question = rule.strOutput, keys = rule.strKeys;
        if (!rule.strPending.empty()) {
            // っ with a pending letter: follow it with the first rule that letter begins; nothing
            // in this table begins with Q but QQ, so with QU (く) as the common input methods do.
            std::pair<std::string, std::string> follow{rule.strPending + "U", "く"};
            for (const KkcRule& r : rules)
                if (r.strPending.empty() && r.strKeys.starts_with(rule.strPending) && !notTaken.count(r.strKeys) &&
                    !noSuchCharacter.count(r.strKeys)) {
                    follow = {r.strKeys, r.strOutput};
                    break;
                }
            question += follow.second;
            keys += follow.first.substr(rule.strPending.size());
        }
        EXPECT_EQ(Typed(question, keys), "") << question << " typed " << keys;
        EXPECT_EQ(Typed("か" + question + "と", "KA" + keys + "TO"), "") << question << " typed " << keys;
        EXPECT_EQ(Typed("か" + question + "あ", "KA" + keys + "A"), "") << question << " typed " << keys;
    }
    for (const auto& [keys, why] : notTaken) EXPECT_TRUE(seen.count(keys)) << keys << " (" << why << ") is no rule";
    for (const std::string& keys : noSuchCharacter) EXPECT_TRUE(seen.count(keys)) << keys << " is no rule";
}

// --- spellings and places ------------------------------------------------------------------

TEST_F(ImeRulesTest, SpellingsOfTheBigInputMethodsTypeTheirKanaAloneInsideAndDoubled) {
    const std::pair<const char*, const char*> cases[] = {
        {"ヴャ", "VYA"}, {"ヴュ", "VYU"}, {"う゛ょ", "VYO"},
        {"てぃ", "T'I"}, {"てゅ", "T'YU"}, {"でぃ", "D'I"}, {"でゅ", "D'YU"}, {"とぅ", "T'U"}, {"どぅ", "D'U"},
        {"とぁ", "TWA"}, {"とぃ", "TWI"}, {"とぇ", "TWE"}, {"とぉ", "TWO"},
        {"どぁ", "DWA"}, {"どぃ", "DWI"}, {"どぇ", "DWE"}, {"ドォ", "DWO"},
        {"ふぁ", "HWA"}, {"ふぃ", "HWI"}, {"ふぇ", "HWE"}, {"フォ", "HWO"}, {"ふゅ", "HWYU"},
        {"くぃ", "KWI"}, {"くぇ", "KWE"}, {"クォ", "KWO"},
        {"・", "Z/"}, {"～", "Z-"},
    };
    for (const auto& [kana, keys] : cases) {
        const std::string k = keys;
        EXPECT_EQ(Typed(kana, k), "") << kana << " typed " << k;
        EXPECT_EQ(Typed(std::string("か") + kana + "と", "KA" + k + "TO"), "") << kana << " typed " << k;
        if (k[1] == '/' || k[1] == '-') continue;
        EXPECT_EQ(Typed(std::string("かっ") + kana, "KA" + k.substr(0, 1) + k), "") << kana << " typed " << k << " after っ";
    }
}

TEST_F(ImeRulesTest, UWithVoicedMarkNeverEndsAQuestionEarly) {
    // う゛ is one kana: U, WU or WHU where it starts types う and would leave ゛ untypable.
    const std::pair<const char*, const char*> typable[] = {
        {"う゛", "VU"},          {"う゛ぁ", "VA"},     {"う゛ぁ", "VUXA"},     {"かう゛", "KAVU"},
        {"う゛か", "VUKA"},      {"かう゛ぁと", "KAVATO"}, {"う゛ぁう゛", "VAVU"}, {"っう゛", "VVU"},
        {"っう゛ぁ", "XTUVA"},   {"う゛ゃ", "VYA"},    {"う゛ゃ", "VULYA"},
    };
    for (const auto& [kana, keys] : typable) EXPECT_EQ(Typed(kana, keys), "") << kana << " typed " << keys;

    const std::pair<const char*, const char*> early[] = {
        {"う゛", "U"}, {"う゛", "WU"}, {"う゛", "WHU"}, {"かう゛ぁと", "KAU"}, {"う゛ぁう゛", "VAWHU"},
    };
    for (const auto& [kana, keys] : early) {
        ASSERT_TRUE(Start(2, kana)) << kana;
        const std::string transcript = TypeScript(m_doc, keys);
        EXPECT_NE(transcript.find('!'), std::string::npos) << kana << " typed " << keys << ": " << transcript;
        EXPECT_EQ(transcript.find("[done]"), std::string::npos) << kana << " typed " << keys << ": " << transcript;
    }
    // A voiced mark on no kana that takes it has no spelling: the question is faulty.
    for (const char* kana : {"゛", "か゛", "ウ゛", "゜", "あ゜"}) EXPECT_FALSE(Start(2, kana)) << kana;
}

TEST_F(ImeRulesTest, SmallTsuDoublesOnlyAConsonantOtherThanN) {
    // Doubling a vowel or N types other kana in an input method (KAAA is かああ, KANNA かんあ,
    // NNYA んや, KKA after っっ is っか): a miss, wherever the fixed spelling would double it.
    struct Case { const char* kana; const char* keys; const char* tail; };
    const Case misses[] = {
        {"かっあ", "KAA", "A!X"},   {"っう", "U", "U!X"},        {"かっな", "KAN", "N!X"},
        {"っにゃ", "N", "N!X"},     {"っっか", "KKA", "A!K"},    {"あっっと", "ATTO", "O!T"},
        {"っん", "N", "N!X"},       {"ッエ", "E", "E!X"},
    };
    for (const bool bFixed : {false, true}) {
        m_doc.SetRomanMode(bFixed);
        for (const Case& c : misses) {
            ASSERT_TRUE(Start(2, c.kana)) << c.kana;
            const std::string transcript = TypeScript(m_doc, c.keys);
            EXPECT_TRUE(transcript.ends_with(c.tail)) << c.kana << " typed " << c.keys << ": " << transcript;
        }
    }
    // They are typed with the small tsu's own spelling; っっ doubles once per small tsu. The
    // guide shows the first spelling listed.
    struct Typable { const char* kana; const char* guide; std::vector<const char*> others; };
    const Typable typable[] = {
        {"かっあ", "KAXTUA", {"KALTUA", "KAXTSUA"}},
        {"っう", "XTUU", {"LTSUWU"}},
        {"かっな", "KAXTUNA", {"KALTUNA"}},
        {"っにゃ", "XTUNYA", {"LTUNILYA"}},
        {"っっか", "KKKA", {"XTUKKA", "XTUXTUKA", "LTUKKA"}},
        {"あっっと", "ATTTO", {"AXTUTTO", "AXTULTUTO"}},
        {"っん", "XTUNN", {"XTUXN"}},
    };
    for (const bool bFixed : {false, true}) {
        m_doc.SetRomanMode(bFixed);
        for (const Typable& t : typable) {
            ASSERT_TRUE(Start(2, t.kana)) << t.kana;
            EXPECT_EQ(Roman(), t.guide) << t.kana;
            EXPECT_EQ(Typed(t.kana, t.guide), "") << t.kana;
            for (const char* keys : t.others) EXPECT_EQ(Typed(t.kana, keys), "") << t.kana << " typed " << keys;
        }
    }
}

TEST_F(ImeRulesTest, OneNBeforeASymbolOrDigitTypesN) {
    const std::pair<const char*, const char*> cases[] = {
        {"ほん。", "HON."},  {"ほん、", "HON,"},  {"ほん！", "HON!"},   {"ほん？", "HON?"},
        {"ほんー", "HON-"},  {"ほん１", "HON1"},  {"ほん１０", "HON10"}, {"すみません。と", "SUMIMASEN.TO"},
        {"「ほん」", "[HON]"}, {"ほん・", "HON/"}, {"ほん’", "HON''"},   {"ほん’", "HONN'"},
    };
    for (const auto& [kana, keys] : cases) EXPECT_EQ(Typed(kana, keys), "") << kana << " typed " << keys;
    ASSERT_TRUE(Start(2, "ほん。"));
    EXPECT_EQ(TypeScript(m_doc, "HON."), "H:H O:ほ N:ほN .:ほん。 [done]");
    // Not before a vowel, Y or N, nor at the end; N' is ん by itself, so ほん’ typed HON' is
    // not done yet.
    const std::pair<const char*, const char*> notYet[] = {
        {"ほんあ", "HONA"}, {"ほんや", "HONYA"}, {"ほんな", "HONA"}, {"ほん", "HON"}, {"ほん’", "HON'"},
    };
    for (const auto& [kana, keys] : notYet) {
        ASSERT_TRUE(Start(2, kana)) << kana;
        EXPECT_EQ(TypeScript(m_doc, keys).find("[done]"), std::string::npos) << kana << " typed " << keys;
    }
    // The guide keeps showing NN, the safe habit, unless the user fixed ん as N.
    m_doc.SetRomanMode(false);
    ASSERT_TRUE(Start(2, "ほん。"));
    EXPECT_EQ(Roman(), "HONN.");
    m_doc.SetRomanMode(true);
    ASSERT_TRUE(Start(2, "ほん。"));
    EXPECT_EQ(Roman(), "HON.");
}

TEST(RomajiRulesTable, HoldsEveryDefaultAndAlternativeWithItsKind) {
    const RomajiRules& rules = TheRomajiRules();
    int nDefaults = 0, nAlternatives = 0;
    for (int id = IDS_KANA_FIRST; id <= IDS_SYMBOL_LAST; ++id) {
        const std::string kana = StringOrEmpty(id);
        // ん's default is NN, as built: its N is a rule only with a pending letter.
        const std::string def = id == IDS_HIRAGANA_N ? "NN" : StringOrEmpty(DefaultSpellingId(id));
        bool bFound = false;
        for (const RomajiRule& r : rules.For(kana))
            if (r.strLetters == def) bFound = r.kind == RuleKind::Default && r.nPending == 0 && ++nDefaults;
        EXPECT_TRUE(bFound) << test::U8(kana) << " " << def;
        for (const auto& [nAltId, alt] : AlternativeSpellings(id)) {
            bool bAlt = false;
            for (const RomajiRule& r : rules.For(kana))
                if (r.strLetters == alt) bAlt = r.kind != RuleKind::InputMethod && r.nPending == 0 && ++nAlternatives;
            EXPECT_TRUE(bAlt) << test::U8(kana) << " " << alt;
        }
    }
    EXPECT_EQ(nDefaults, 208);
    // Pending letters: っ doubles every consonant but N, ん is one N before the others but Y.
    std::string doubled, singleN;
    for (const RomajiRule& r : rules.For(Sj("っ")))
        if (r.nPending) doubled += r.Pending();
    for (const RomajiRule& r : rules.For(Sj("ん")))
        if (r.nPending && r.Pending()[0] >= 'A' && r.Pending()[0] <= 'Z') singleN += r.Pending();
    EXPECT_EQ(doubled, "BCDFGHJKLMPQRSTVWXYZ");
    EXPECT_EQ(singleN, "BCDFGHJKLMPQRSTVWXZ");
    RomajiRule rule;
    EXPECT_TRUE(RomajiRules::Parse("N(()", rule));
    EXPECT_EQ(rule, (RomajiRule{"N(", 1}));
    EXPECT_FALSE(RomajiRules::Parse("nn", rule));
}

}  // namespace
}  // namespace kibiki
