#include <gtest/gtest.h>

#include "support/test_util.h"
#include "text/sjis.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

TEST(Cp932, RoundTripsKanaKanjiSymbolsAndHalfWidth) {
    struct Case { const char* utf8; const char* bytes; };
    const Case cases[] = {
        {"あ", "\x82\xA0"},   {"ア", "\x83\x41"}, {"ｱ", "\xB1"},       {"ﾞ", "\xDE"},
        {"｜", "\x81\x62"},   {"￥", "\x81\x8F"}, {"\\", "\x5C"},       {"鳩", "\x94\xB5"},
        {"ー", "\x81\x5B"},   {"ヴ", "\x83\x94"}, {"①", "\x87\x40"},     {"ABC", "ABC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sj(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(U8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(Cp932, EncodesDuplicatesAsWindowsDoesAndMarksLoss) {
    // ∵ has three codes (0x81E6, NEC 0x879A, IBM 0xFA5B); the encoder must choose the first.
    EXPECT_EQ(Sj("∵"), "\x81\xE6");
    EXPECT_EQ(Sj("¥"), "\x5C");
    bool lossless = true;
    EXPECT_EQ(Utf8ToCp932("a😀b", &lossless), "a?b");
    EXPECT_FALSE(lossless);
}

TEST(Cp932, DecodesBrokenBytesWithoutOverrunning) {
    EXPECT_EQ(U8("A\x82"), "A\xEF\xBF\xBD");       // lone lead byte at the end
    EXPECT_EQ(U8("\x82 A"), "\xEF\xBF\xBD A");     // a bad trail byte stays a character
    EXPECT_EQ(U8("\x80\xFF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToCp932("\xE3\x81"), "??");      // truncated UTF-8
}

TEST(Sjis, UpperCasesAsciiButNeverATrailByte) {
    // ア is 0x83 0x41 and ぁ is 0x82 0x9F; "ｃ" stays; the trail byte 0x61 of 0x8361 (ツ...) stays.
    EXPECT_EQ(UpperAscii(Sj("aアbｃ")), Sj("AアBｃ"));
    EXPECT_EQ(UpperAscii("\x83\x61x"), "\x83\x61X");
    EXPECT_EQ(UpperAscii("z\x82"), "Z\x82");
}

TEST(Sjis, CharLenStepsSafely) {
    const std::string s = Sj("aあ") + "\x82";
    EXPECT_EQ(CharLenAt(s, 0), 1u);
    EXPECT_EQ(CharLenAt(s, 1), 2u);
    EXPECT_EQ(CharLenAt(s, 3), 1u);  // lone lead byte at the end
    EXPECT_EQ(CharLenAt(s, 4), 0u);
}

TEST(StringTable, FindsCompiledStringsAndReportsMissingOnes) {
    std::string out = "unchanged";
    EXPECT_FALSE(LoadString(39999, out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(FindString(40734), nullptr);  // the one unused id of the alternatives
    ASSERT_TRUE(LoadString(43030, out));
    EXPECT_EQ(out.rfind("\r\n", 0), 0u);  // the message tail starts on a new line
}

}  // namespace
}  // namespace kibiki
