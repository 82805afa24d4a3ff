// The font shipped in resources/: a well-formed current-format file that covers what board texts
// need.
#include <gtest/gtest.h>

#include "paths/file_io.h"
#include "text/cp932.h"
#include "view/font_format.h"
#include "view/stroke_font.h"

namespace zevo {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(ZEVO_RESOURCES) / "zevofont.dat";

std::string Shipped() {
    const auto bytes = ReadWholeFile(kShipped);
    EXPECT_TRUE(bytes) << kShipped;
    return bytes.value_or("");
}

TEST(ShippedFont, HasTheHeaderAndRecordsPackedInIndexOrder) {
    const std::string f = Shipped();
    ASSERT_GT(f.size(), kFontIndexEnd);
    EXPECT_TRUE(HasCurrentFontHeader(f));
    EXPECT_EQ(f.find_first_not_of('\0', kFontHeaderTextSize), kFontHeaderSize);
    const auto* p = reinterpret_cast<const uint8_t*>(f.data());
    std::size_t next = kFontIndexEnd;
    int glyphs = 0;
    for (int cell = 0; cell < kFontCells; ++cell) {
        const uint32_t v = ReadCellValue(p + FontCellOffset(cell));
        if (v == 0) continue;
        ASSERT_EQ(v, next) << "cell " << cell;
        const std::size_t size = GlyphRecordSize(p + v, f.size() - v);
        ASSERT_GT(size, 0u) << "cell " << cell;
        // The font editor writes the shortest form: no entry repeats the previous point.
        GlyphDecoder d(p + v, size);
        int px = 0, py = 0;
        for (GlyphPoint g; d.next(g); px = g.x, py = g.y)
            EXPECT_FALSE(g.x == px && g.y == py) << "cell " << cell;
        next += size;
        ++glyphs;
    }
    EXPECT_EQ(next, f.size());
    EXPECT_GT(glyphs, 300);
}

TEST(ShippedFont, CoversAsciiKanaAndBoardSigns) {
    // Every printable ASCII character, each half-width kana and sign, and the usual words.
    std::string ascii;
    for (int c = 0x20; c <= 0x7E; ++c) ascii.push_back(char(c));
    EXPECT_TRUE(CheckCoverage(kShipped, ascii).accepted())
        << CheckCoverage(kShipped, ascii).missing;
    std::string kana;
    for (int c = 0xA0; c <= 0xDF; ++c) kana.push_back(char(c));
    EXPECT_TRUE(CheckCoverage(kShipped, kana).accepted()) << CheckCoverage(kShipped, kana).missing;
    EXPECT_TRUE(CheckCoverage(kShipped, "\xBA\xC8\xB8\xC0\xB0").accepted());  // ｺﾈｸﾀｰ
    if (!Cp932Available()) GTEST_SKIP() << "no CP932 converter";
    for (const char* text :
         {"０１２３４５６７８９", "ＡＢＣＸＹＺａｂｃｘｙｚ", "あいうえおかがぱんぁっょゎ",
          "アイウエオガパンァッョヮヴヵヶー", "コネクター「電源」・", "±Ω μ ° φ →", "一二三十円年",
          "（）［］＋－＝＜＞％＃＆＊／＠"}) {
        std::string cp = Utf8ToCp932(text);
        // 電 and 源 are not in the font; everything else is.
        const Coverage c = CheckCoverage(kShipped, cp);
        if (std::string_view(text).find("電") != std::string_view::npos) {
            EXPECT_EQ(Cp932ToUtf8(c.missing), "電源");
        } else {
            EXPECT_TRUE(c.accepted()) << text << ": " << Cp932ToUtf8(c.missing);
        }
    }
}

TEST(ShippedFont, LettersSitOnACommonBaselineInsideTheCell) {
    // A capital letter and a digit stand on the same line; a descender goes below it.
    FontFile f(kShipped);
    uint8_t buf[kGlyphReadSize];
    const auto lowest = [&](FontCode code) {
        const std::size_t n = f.readGlyph(code, buf);
        EXPECT_GT(n, 0u) << code;
        int low = 99;
        GlyphDecoder d(buf, n);
        for (GlyphPoint g; d.next(g);)
            if (g.pen) low = std::min(low, g.y);
        return low;
    };
    const int base = lowest(FullWidthCodeOfByte('E'));
    EXPECT_EQ(lowest(FullWidthCodeOfByte('1')), base);
    EXPECT_LT(lowest(FullWidthCodeOfByte('g')), base);
    EXPECT_GE(base, 4);
}

}  // namespace
}  // namespace zevo
