#include <gtest/gtest.h>

#include <cctype>

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "support/fakes.h"
#include "support/test_util.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

std::string KeyChar(bool bToKana, std::string_view chUtf8) {
    std::string out = "(unchanged)";
    const std::string ch = Sj(chUtf8);
    ConvertKeyChar(out, bToKana, ch.empty() ? 0 : static_cast<unsigned char>(ch[0]));
    return out == "(unchanged)" ? out : U8(out);
}

TEST(ConvertKeyChar, TakesTheFirstOccurrenceOfATwiceUsedKeyCharacter) {
    struct Case { bool bToKana; const char* in; const char* out; };
    const Case cases[] = {
        {true, "-", "ﾎ"},  {true, "0", "ﾜ"},  {true, "a", "ﾁ"},  {true, "Q", "ﾀ"},
        {true, "@", "ﾞ"},  {true, "[", "ﾟ"},  {true, "\\", "ﾛ"}, {true, "?", "･"},
        {true, "~", "(unchanged)"},           {true, "", "(unchanged)"},
        {false, "ｰ", "-"}, {false, "ｦ", "0"}, {false, "ﾎ", "-"}, {false, "ﾜ", "0"},
        {false, "ﾞ", "@"}, {false, "a", "A"}, {false, "7", "7"}, {false, "!", "(unchanged)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyChar(c.bToKana, c.in), c.out) << (c.bToKana ? "to kana: " : "to key: ") << c.in;
}

// Every byte both ways against the conversion's own two strings: "-" and "0" occur twice in them.
TEST(ConvertKeyChar, PairsEveryByteAsTheKeyCharacterStringsDo) {
    const std::string chars = "1QAZ2WSX3EDC4RFV5TGB6YHN7UJM8IK9OL0P\\;/-@:^[].,-<>?0{}";
    const std::string kana = Sj("ﾇﾀﾁﾂﾌﾃﾄｻｱｲｼｿｳｽﾊﾋｴｶｷｺｵﾝｸﾐﾔﾅﾏﾓﾕﾆﾉﾖﾗﾘﾜｾﾛﾚﾒﾎﾞｹﾍﾟﾑﾙﾈｰ､｡･ｦ｢｣");
    ASSERT_EQ(chars.size(), 54u);
    ASSERT_EQ(kana.size(), 54u);
    for (int ch = 1; ch < 256; ++ch) {
        const char c = static_cast<char>(ch);
        const char upper = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : c;
        std::string toKana = "?", toKey = "?";
        if (const auto at = chars.find(upper); at != std::string::npos) toKana = kana.substr(at, 1);
        if (std::isalnum(ch)) toKey = std::string(1, upper);
        else if (const auto at = kana.find(c); at != std::string::npos) toKey = chars.substr(at, 1);
        std::string out = "?";
        ConvertKeyChar(out, true, static_cast<unsigned char>(ch));
        EXPECT_EQ(out, toKana) << "to kana: " << ch;
        out = "?";
        ConvertKeyChar(out, false, static_cast<unsigned char>(ch));
        EXPECT_EQ(out, toKey) << "to key: " << ch;
    }
}

// The keyboard's kana and printed characters are those the caps' legends show.
TEST(JisKeyboard, AgreesWithTheKeyLegends) {
    for (int k = 0; k < kKeyCount; ++k) {
        std::string hiragana;
        ConvertKana(hiragana, false, std::string(1, static_cast<char>(KanaOfKey(k, false))));
        EXPECT_EQ(U8(hiragana), U8(StringOrEmpty(IDS_KANA_LEGEND_FIRST + k))) << k;
        if (const char printed = PrintedOfKey(k, false)) {
            EXPECT_EQ(StringOrEmpty(IDS_ASCII_LEGEND_FIRST + k).substr(0, 1), std::string(1, printed)) << k;
        }
    }
    EXPECT_EQ(KanaOfKey(kKeyCount, false), 0);
    EXPECT_EQ(KanaOfKey(-1, true), 0);
}

TEST(ConvertKana, ConvertsByRowPositionAndIgnoresAnythingElse) {
    struct Case { bool bToHalf; const char* in; const char* out; };
    const Case cases[] = {
        {true, "あ", "ｱ"},  {true, "ア", "ｱ"},  {true, "ッ", "ｯ"},  {true, "ー", "ｰ"},
        {true, "゛", "ﾞ"},  {true, "」", "｣"},
        {true, "が", ""},   {true, "ヴ", ""},   {true, "あい", ""}, {true, "ｱ", ""},
        {false, "ｱ", "あ"}, {false, "ﾞ", "゛"}, {false, "､", "、"}, {false, "ｦ", "を"},
        {false, "A", ""},   {false, "ｱｲ", ""},  {false, "あ", ""},
    };
    for (const auto& c : cases) {
        std::string out;
        ConvertKana(out, c.bToHalf, Sj(c.in));
        EXPECT_EQ(U8(out), c.out) << c.in;
    }
}

TEST(SplitVoicedKana, GivesBaseAndMarkIncludingVu) {
    struct Case { const char* kana; const char* base; unsigned char mark; };
    const Case cases[] = {
        {"が", "ｶ", kVoicedMark}, {"ヂ", "ﾁ", kVoicedMark}, {"ぼ", "ﾎ", kVoicedMark},
        {"ぱ", "ﾊ", kSemiVoicedMark}, {"ポ", "ﾎ", kSemiVoicedMark},
        {"ヴ", "ｳ", kVoicedMark},  // typed ｳ then ﾞ, as on the keyboard
        {"か", "", 0}, {"゛", "", 0}, {"", "", 0},
    };
    for (const auto& c : cases) {
        unsigned char base = 0xFF, mark = 0xFF;
        SplitVoicedKana(base, Sj(c.kana), mark);
        EXPECT_EQ(U8(base ? std::string(1, static_cast<char>(base)) : ""), c.base) << c.kana;
        EXPECT_EQ(mark, c.mark) << c.kana;
    }
}

TEST(FindKeyIndex, FindsTheKeyByLegendAndLeavesTheIndexWhenNoneMatches) {
    struct Case { int mode; const char* ch; int index; };
    const Case cases[] = {
        {0, "､", 31},  // 、 is Shift+ね
        {3, "ｧ", 8},   {0, "ｦ", 36}, {0, "｢", 45}, {0, "｣", 46}, {0, "･", 39}, {0, "｡", 35},
        {0, "ﾞ", 41},  {0, "ﾇ", 0},  {0, "ｰ", 47},
        {2, "a", 2},   {1, " ", 0},  {4, ",", 31}, {2, "<", 31}, {1, "~", 41}, {1, "|", 47},
        {1, "\\", 47}, {1, "_", 43},
        {0, "A", 99},   // no kana legend holds a letter
        {0, "[", 99},   // "[" is the second byte of ー, not a character of its legend
        {2, "ｱ", 99},   {1, "", 99},
    };
    for (const auto& c : cases) {
        int index = 99;
        const std::string ch = Sj(c.ch);
        FindKeyIndex(PracticeMode{c.mode}, ch.empty() ? 0 : static_cast<unsigned char>(ch[0]), index);
        EXPECT_EQ(index, c.index) << "mode " << c.mode << " " << c.ch;
    }
}

TEST(ApplyKanaLock, ForcesTheLockForTheModeAndAlwaysWritesTheState) {
    struct Case { int mode; std::uint8_t before; std::uint8_t after; };
    const Case cases[] = {
        {0, 0, 1}, {0, 1, 1}, {3, 0x80, 1}, {1, 1, 0}, {2, 0, 0}, {4, 1, 0}, {4, 0x81, 0x81},
    };
    for (const auto& c : cases) {
        FakeKeyboardState keyboard;
        keyboard.m_state[VK_KANA] = c.before;
        keyboard.m_state['A'] = 0x80;
        ApplyKanaLock(keyboard, PracticeMode{c.mode});
        EXPECT_EQ(keyboard.m_state[VK_KANA], c.after) << "mode " << c.mode << " before " << int(c.before);
        EXPECT_EQ(keyboard.m_state['A'], 0x80);
        EXPECT_EQ(keyboard.m_nWrites, 1);
    }
}

TEST(IsKanaChar, TellsKanaAndFullWidthSymbolsFromKanji) {
    for (const char* kana : {"あ", "ヲ", "ぽ", "ー", "！", "～", "｀", "゜"}) EXPECT_TRUE(IsKanaChar(Sj(kana))) << kana;
    for (const char* other : {"止", "々", "ヴ", "｜", "　", "A", "ｱ", "", "\x82"})
        EXPECT_FALSE(IsKanaChar(Sj(other))) << other;
}

}  // namespace
}  // namespace kibiki
