// The fixed strings are data that users' files and the romaji matcher index by id, so a shifted
// row or a look-alike character breaks things far from here. These checks pin the layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_util.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

int CountPresent(int first, int last) {
    int n = 0;
    for (int id = first; id <= last; ++id) n += FindString(id) != nullptr;
    return n;
}

// Hiragana to katakana in UTF-8 (U+3041-U+3096 move by 0x60); う゛ is one katakana, ヴ.
std::string ToKatakana(std::string utf8) {
    for (auto at = utf8.find("う゛"); at != std::string::npos; at = utf8.find("う゛"))
        utf8.replace(at, std::string("う゛").size(), "ヴ");
    std::u32string cps;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
        char32_t cp = len == 1 ? b : len == 2 ? b & 0x1F : b & 0x0F;
        for (std::size_t k = 1; k < len; ++k) cp = cp << 6 | (utf8[i + k] & 0x3F);
        cps += (cp >= 0x3041 && cp <= 0x3096) ? cp + 0x60 : cp;
        i += len;
    }
    std::string out;
    for (char32_t cp : cps) {
        if (cp < 0x80) { out += static_cast<char>(cp); continue; }
        if (cp < 0x800) { out += static_cast<char>(0xC0 | cp >> 6); }
        else { out += static_cast<char>(0xE0 | cp >> 12); out += static_cast<char>(0x80 | (cp >> 6 & 0x3F)); }
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

TEST(StringTableData, RangesHoldExactlyTheirEntries) {
    struct Range { int first, last, count; };
    const Range ranges[] = {
        {40000, 40095, 96},                                     // legends
        {40096, 40099, 0},
        {40100, 40145, 46}, {40146, 40170, 25}, {40171, 40178, 8},
        {40179, 40271, 93}, {40272, 40307, 36},                 // hiragana, units, symbols
        {40308, 40479, 172},                                    // katakana
        {40480, 40499, 0},
        {40500, 40707, 208},                                    // default spellings
        {40708, 40709, 0},
        {40710, 40754, 44},                                     // alternatives, 40734 unused
        {40755, 40799, 0},
        {40800, 41007, 18},                                     // pointer strings
    };
    for (const auto& r : ranges)
        EXPECT_EQ(CountPresent(r.first, r.last), r.count) << r.first << "-" << r.last;
    EXPECT_EQ(FindString(40734), nullptr);
}

TEST(StringTableData, KeyLegendsFollowTheKeyIndex) {
    struct Case { int key; const char* kana; const char* ascii; };
    const Case cases[] = {
        {0, "ぬ", "1 !"}, {2, "ち", "A"},   {31, "ね", ", <"}, {36, "わ", "0"},  {40, "ほ", "- ="},
        {41, "゛", "@ ~"}, {43, "ろ", "_"}, {44, "へ", "^ `"}, {45, "゜", "[ {"}, {47, "ー", "\\ |"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringOrEmpty(40000 + c.key), Sj(c.kana)) << c.key;
        EXPECT_EQ(StringOrEmpty(40048 + c.key), c.ascii) << c.key;
    }
    EXPECT_EQ(StringOrEmpty(40047), "\x81\x5B");  // the long-vowel mark, not a dash
}

TEST(StringTableData, KanaAndTheirDefaultSpellings) {
    struct Case { int id; const char* kana; const char* spelling; };
    const Case cases[] = {
        {40100, "あ", "A"},      {40111, "し", "SI"},     {40116, "ち", "CHI"},   {40145, "ん", "N"},
        {40146, "が", "GA"},     {40170, "ぽ", "PO"},     {40178, "ょ", "XYO"},   {40179, "きゃ", "KYA"},
        {40192, "ちゅ", "CYU"},  {40238, "ぐぁ", "GWA"},  {40265, "う゛ぁ", "VA"}, {40267, "う゛", "VU"},
        {40271, "りぃ", "RYI"},  {40272, "「", "["},      {40304, "０", "0"},      {40307, "｀", "`"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringOrEmpty(c.id), Sj(c.kana)) << c.id;
        EXPECT_EQ(StringOrEmpty(c.id + 400), c.spelling) << c.id;
    }
    EXPECT_EQ(StringOrEmpty(40267), "\x82\xA4\x81\x4A");  // う then the full-width voiced mark
    EXPECT_EQ(U8(StringOrEmpty(40475)), "ヴ");
    EXPECT_EQ(U8(StringOrEmpty(40473)), "ヴァ");
}

TEST(StringTableData, SymbolsAreTheCodesTheirKeysType) {
    // Each of these has a Unicode look-alike that would encode to other bytes or not at all.
    struct Case { int id; const char* bytes; const char* spelling; };
    const Case cases[] = {
        {40274, "\x81\x5B", "-"},  {40276, "\x81\x68", "\""}, {40281, "\x81\x66", "'"},
        {40285, "\x81\x8F", "\\"}, {40306, "\x81\x60", "~"},  {40307, "\x81\x4D", "`"},
        {40286, "\x81\x41", ","},  {40290, "\x81\x45", "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringOrEmpty(c.id), c.bytes) << c.id;
        EXPECT_EQ(StringOrEmpty(c.id + 400), c.spelling) << c.id;
    }
}

TEST(StringTableData, KatakanaMirrorHiraganaAt208) {
    for (int id = 40100; id <= 40271; ++id) {
        const std::string* hira = FindString(id);
        const std::string* kata = FindString(id + 208);
        ASSERT_TRUE(hira && kata) << id;
        EXPECT_EQ(U8(*kata), ToKatakana(U8(*hira))) << id;
    }
}

TEST(StringTableData, DefaultSpellingsAreUpperCaseAscii) {
    for (int id = 40500; id <= 40707; ++id) {
        const std::string s = StringOrEmpty(id);
        ASSERT_FALSE(s.empty()) << id;
        for (char ch : s) {
            EXPECT_TRUE(ch > 0x20 && ch < 0x7F && !(ch >= 'a' && ch <= 'z')) << id << " " << s;
        }
    }
}

std::vector<std::string> AlternativesOf(int kanaId) {
    std::vector<std::string> list;
    const std::string* ptr = FindString(kanaId < 40308 ? kanaId + 700 : kanaId + 492);
    if (!ptr) return list;
    const int first = std::stoi(*ptr);
    const int count = ptr->back() - '0';
    for (int id = first; id < first + count; ++id) list.push_back(StringOrEmpty(id));
    return list;
}

TEST(StringTableData, PointerStringsListTheAlternativesInMatchingOrder) {
    using List = std::vector<std::string>;
    struct Case { int kanaId; List alternatives; };
    const Case cases[] = {
        {40111, {"SHI", "SI"}},        {40319, {"SHI", "SI"}},  // し and シ share one list
        {40127, {"FU", "HU"}},         {40190, {"TYA", "CHA", "CYA"}},
        {40192, {"TYU", "CHU", "CYU"}}, {40193, {"TYE", "CHE", "CYE"}},  // skips 40734
        {40243, {"ZYO", "JO", "JYO"}}, {40451, {"ZYO", "JO", "JYO"}},
        {40152, {}},                   {40360, {}},                       // じ, ジ: none
    };
    for (const auto& c : cases) EXPECT_EQ(AlternativesOf(c.kanaId), c.alternatives) << c.kanaId;
    EXPECT_EQ(StringOrEmpty(40892), "40731,3");

    // Every list holds its kana's default spelling, and no list names a missing string.
    for (int id = 40100; id <= 40479; ++id) {
        const List list = AlternativesOf(id);
        if (list.empty()) continue;
        const std::string def = StringOrEmpty(id < 40308 ? id + 400 : id + 192);
        EXPECT_NE(std::find(list.begin(), list.end(), def), list.end()) << id;
        for (const auto& s : list) EXPECT_FALSE(s.empty()) << id;
    }
}

TEST(StringTableData, MessagesAndTitles) {
    struct Case { int id; const char* text; };
    const Case cases[] = {
        {43000, "パーフェクトです"},
        {43001, "すばらしい！"},
        {43002, "合格です"},
        {43003, "あと、もう少し。がんばりましょう。"},
        {43004, "もう少し練習しましょう。"},
        {43010, "Lesson1　ホームポジション・母音の練習"},
        {43016, "Lesson7　総合練習"},
        {43020, "Lesson1　ホームポジションの練習"},
        {43025, "Lesson6　記号・小文字の練習"},
        {43030, "\r\n問題文を訂正して、再度開始してください。\r\n"
                "特に、記号が半角で入力されていないか、確認をしてください。"},
    };
    for (const auto& c : cases) EXPECT_EQ(StringOrEmpty(c.id), Sj(c.text)) << c.id;
    EXPECT_EQ(CountPresent(43010, 43016), 7);
    EXPECT_EQ(CountPresent(43000, 43099), 15);
    EXPECT_EQ(StringOrEmpty(43010).substr(7, 2), "\x81\x40");  // the wide space
}

}  // namespace
}  // namespace kibiki
