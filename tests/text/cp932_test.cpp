#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace zevo {
namespace {

TEST(Cp932, ConverterIsAvailable) {
    ASSERT_TRUE(Cp932Available());
}

TEST(Cp932, LayerRoleKeywordsRoundTrip) {
    // Kanji, hiragana, katakana, full-width Latin letters and half-width kana of the role words.
    const char* words[] = {"孔",         "穴",
                           "アナ",       "あな",
                           "ｱﾅ",         "ｈｏｌｅ",
                           "ＨＯＬＥ",   "ホール",
                           "ほーる",     "ﾎｰﾙ",
                           "カット",     "ｶｯﾄ",
                           "ｸﾘｱﾗﾝｽ",     "ＣＬＥＡＲＡＮＣＥ",
                           "基準",       "ｷｼﾞｭﾝ",
                           "センター",   "原点",
                           "ｹﾞﾝﾃﾝ",      "パターン",
                           "ﾊﾟﾀｰﾝ",      "内層",
                           "電源層",     "接地層",
                           "ジャンパー", "ｼﾞｬﾝﾊﾟｰ",
                           "ネガ",       "ﾈｶﾞ",
                           "ノンスルー", "ﾉｰｽﾙｰ",
                           "部品図",     "マウント",
                           "ﾏｳﾝﾄ",       "装着",
                           "ｍｏｕｎｔ"};
    for (const char* w : words) {
        std::size_t bad = 99;
        const std::string sjis = Utf8ToCp932(w, &bad);
        EXPECT_EQ(bad, 0u) << w;
        EXPECT_EQ(Cp932ToUtf8(sjis, &bad), w);
        EXPECT_EQ(bad, 0u) << w;
    }
}

TEST(Cp932, BytesOfKnownCharacters) {
    EXPECT_EQ(Utf8ToCp932("穴"), "\x8C\x8A");
    EXPECT_EQ(Utf8ToCp932("ｱﾞ"), "\xB1\xDE");  // half-width kana are single bytes
    EXPECT_EQ(Utf8ToCp932("ｈ"), "\x82\x88");
    // Second bytes in the ASCII range ("[" and "\") belong to their pair, not to the text.
    EXPECT_EQ(Utf8ToCp932("ー"), "\x81[");
    EXPECT_EQ(Utf8ToCp932("ソ表"), "\x83\\\x95\\");
    EXPECT_EQ(Cp932ToUtf8("\x83\\\x95\\\\"), "ソ表\\");
    EXPECT_EQ(Utf8ToCp932("LAND:X=1"), "LAND:X=1");
}

TEST(Cp932, JapaneseVariantsFoldOntoTheCp932Codes) {
    // Tilde: the JIS wave dash and the full-width tilde are one CP932 character.
    EXPECT_EQ(Utf8ToCp932("\u301C"), "\x81\x60");
    EXPECT_EQ(Utf8ToCp932("\uFF5E"), "\x81\x60");
    EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "\uFF5E");
    // Minus: the minus sign and the full-width hyphen-minus.
    EXPECT_EQ(Utf8ToCp932("\u2212"), "\x81\x7C");
    EXPECT_EQ(Utf8ToCp932("\uFF0D"), "\x81\x7C");
    EXPECT_EQ(Cp932ToUtf8("\x81\x7C"), "\uFF0D");
    // Yen: the yen sign is the single byte 0x5C, which reads back as a backslash; the full-width
    // yen keeps its own code.
    EXPECT_EQ(Utf8ToCp932("¥"), "\\");
    EXPECT_EQ(Cp932ToUtf8("\\"), "\\");
    EXPECT_EQ(Utf8ToCp932("￥"), "\x81\x8F");
    EXPECT_EQ(Cp932ToUtf8("\x81\x8F"), "￥");
    // The other JIS/CP932 pairs.
    EXPECT_EQ(Utf8ToCp932("\u2016\u2014\u00A2\u00A3\u00AC"),
              "\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA");
}

TEST(Cp932, BrokenCp932IsReplacedAndTheRestKept) {
    std::size_t bad = 0;
    // A lead byte at the end, a lead byte before an ASCII letter that cannot be a second byte,
    // and a single byte without a character.
    EXPECT_EQ(Cp932ToUtf8("A\x81", &bad), "A\uFFFD");
    EXPECT_EQ(bad, 1u);
    EXPECT_EQ(Cp932ToUtf8("\x81\x7F"
                          "B",
                          &bad),
              "\uFFFD\x7F"
              "B");
    EXPECT_EQ(bad, 1u);
    EXPECT_EQ(Cp932ToUtf8("\xA0x\xFFy", &bad), "\uFFFDx\uFFFDy");
    EXPECT_EQ(bad, 2u);
    // 0x80 too, although Windows' own code page 932 reads it as U+0080.
    EXPECT_EQ(Cp932ToUtf8("\x80", &bad), "\uFFFD");
    EXPECT_EQ(bad, 1u);
    // A well-formed pair without a character is one replacement for both bytes.
    EXPECT_EQ(Cp932ToUtf8("\x85\x40z", &bad), "\uFFFDz");
    EXPECT_EQ(bad, 1u);
    // Embedded NUL bytes are characters like any other.
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, UnconvertibleUtf8IsReplacedAndTheRestKept) {
    std::size_t bad = 0;
    // A character outside CP932 (one "?" for four bytes), Hangul, and the neighbours kept.
    EXPECT_EQ(Utf8ToCp932("a\U0001F600b한c", &bad), "a?b?c");
    EXPECT_EQ(bad, 2u);
    // Nor U+0080 and U+F8F0, which Windows' code page 932 writes as the single bytes 0x80 and
    // 0xA0 that CP932 files do not hold.
    EXPECT_EQ(Utf8ToCp932("\u0080\uF8F0", &bad), "??");
    EXPECT_EQ(bad, 2u);
    // Invalid UTF-8: a stray continuation byte, a truncated sequence, an overlong slash and an
    // encoded surrogate each give one "?" per byte.
    EXPECT_EQ(Utf8ToCp932("\x80x", &bad), "?x");
    EXPECT_EQ(bad, 1u);
    EXPECT_EQ(Utf8ToCp932("\xE3\x81", &bad), "??");
    EXPECT_EQ(Utf8ToCp932("\xC0\xAF", &bad), "??");
    EXPECT_EQ(Utf8ToCp932("\xED\xA0\x80", &bad), "???");
    EXPECT_EQ(Utf8ToCp932("\xF4\x90\x80\x80", &bad), "????");
    EXPECT_EQ(bad, 4u);
}

TEST(Cp932, EveryTwoByteCodeRoundTripsOrIsReplaced) {
    // A CP932 character that decodes must encode back to a code that decodes to the same
    // character (duplicates such as the NEC/IBM extensions collapse to one code).
    int decoded = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            std::size_t bad = 0;
            const std::string utf8 = Cp932ToUtf8(pair, &bad);
            if (bad) continue;
            ++decoded;
            const std::string back = Utf8ToCp932(utf8, &bad);
            ASSERT_EQ(bad, 0u) << std::hex << lead << trail;
            ASSERT_EQ(back.size(), 2u);
            ASSERT_EQ(Cp932ToUtf8(back), utf8);
        }
    }
    EXPECT_GT(decoded, 7000);  // JIS X 0208 plus the Windows extensions
}

}  // namespace
}  // namespace zevo
