#include "view/stroke_font.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../paths/scratch_dir.h"
#include "board/model/board.h"
#include "paths/paths.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "view/font_fixture.h"

namespace zevo {
namespace {

using testing::FontBytes;
using testing::Record;
using testing::ScratchDir;
using testing::XY0;

std::vector<FontCode> Codes(std::string_view text) {
    std::vector<FontCode> out;
    TextCodes t(text);
    for (TextChar c; t.next(c);) out.push_back(c.code);
    return out;
}

TEST(FontCodes, SingleBytesMapToTheirFullWidthForms) {
    EXPECT_EQ(FullWidthCodeOfByte(0x20), 0x8140);
    EXPECT_EQ(FullWidthCodeOfByte('"'), 0x8168);
    EXPECT_EQ(FullWidthCodeOfByte('\''), 0x8166);
    EXPECT_EQ(FullWidthCodeOfByte('-'), 0x817C);
    EXPECT_EQ(FullWidthCodeOfByte('\\'), 0x818F);
    EXPECT_EQ(FullWidthCodeOfByte('`'), 0x814D);
    EXPECT_EQ(FullWidthCodeOfByte('~'), 0x8160);
    EXPECT_EQ(FullWidthCodeOfByte('0'), 0x824F);
    EXPECT_EQ(FullWidthCodeOfByte('A'), 0x8260);
    EXPECT_EQ(FullWidthCodeOfByte('z'), 0x829A);
    EXPECT_EQ(FullWidthCodeOfByte(0xA0), 0x8140);
    EXPECT_EQ(FullWidthCodeOfByte(0xA1), 0x8142);
    EXPECT_EQ(FullWidthCodeOfByte(0xA2), 0x8175);
    EXPECT_EQ(FullWidthCodeOfByte(0xA3), 0x8176);
    EXPECT_EQ(FullWidthCodeOfByte(0xA4), 0x8141);
    EXPECT_EQ(FullWidthCodeOfByte(0xA5), 0x8145);
    EXPECT_EQ(FullWidthCodeOfByte(0xB0), 0x815B);
    EXPECT_EQ(FullWidthCodeOfByte(0xDE), 0x814A);
    EXPECT_EQ(FullWidthCodeOfByte(0xDF), 0x814B);
    for (int b : {0x00, 0x09, 0x1F, 0x7F, 0x80, 0x9F, 0xE0, 0xFF})
        EXPECT_EQ(FullWidthCodeOfByte(b), 0) << b;
}

TEST(FontCodes, HalfWidthKanaAgreeWithTheCodePageConversion) {
    // Every half-width byte's full-width code is the character the CP932 tables give for it.
    if (!Cp932Available()) GTEST_SKIP() << "no CP932 converter";
    const std::string fullWidthOf[] = {"ヲ", "ァ", "ィ", "ゥ", "ェ", "ォ",
                                       "ャ", "ュ", "ョ", "ッ", "ー"};
    for (int b = 0xA6; b <= 0xB0; ++b) {
        const std::string cp = Utf8ToCp932(fullWidthOf[b - 0xA6]);
        EXPECT_EQ(FullWidthCodeOfByte(b), MakeCode(uint8_t(cp[0]), uint8_t(cp[1]))) << b;
    }
    const char* kana =
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワ"
        "ン";
    const std::string cp = Utf8ToCp932(kana);
    ASSERT_EQ(cp.size(), 2u * (0xDD - 0xB1 + 1));
    for (int b = 0xB1; b <= 0xDD; ++b) {
        const std::size_t i = 2 * std::size_t(b - 0xB1);
        EXPECT_EQ(FullWidthCodeOfByte(b), MakeCode(uint8_t(cp[i]), uint8_t(cp[i + 1]))) << b;
    }
}

TEST(FontCodes, VoicedMarksJoinOnlyTheKanaThatTakeThem) {
    EXPECT_EQ(Codes("\xB6\xDE"), (std::vector<FontCode>{0x834B}));          // ｶﾞ -> ガ
    EXPECT_EQ(Codes("\xB3\xDE"), (std::vector<FontCode>{0x8345, 0x814A}));  // ｳﾞ stays two
    EXPECT_EQ(Codes("\xC4\xDE"), (std::vector<FontCode>{0x8368}));          // ﾄﾞ -> ド
    EXPECT_EQ(Codes("\xCA\xDE\xCA\xDF"), (std::vector<FontCode>{0x836F, 0x8370}));  // バパ
    EXPECT_EQ(Codes("\xCE\xDF"), (std::vector<FontCode>{0x837C}));                  // ﾎﾟ -> ポ
    EXPECT_EQ(Codes("\xB6\xDF"), (std::vector<FontCode>{0x834A, 0x814B}));  // ｶﾟ stays two
    EXPECT_EQ(Codes("\xC5\xDE"), (std::vector<FontCode>{0x8369, 0x814A}));  // ﾅﾞ stays two
}

TEST(FontCodes, LeadBytesPairAndUncodedBytesAreMarked) {
    EXPECT_EQ(Codes("\x82\xA0"
                    "A\x09"
                    "\xE0\x40"),
              (std::vector<FontCode>{0x82A0, 0x8260, kNoCode, 0xE040}));
    // A lead byte that ends the text pairs with no trail byte: a code without glyph.
    EXPECT_EQ(Codes("A\x82"), (std::vector<FontCode>{0x8260, 0x8200}));
    EXPECT_LT(FontCellOfCode(0x8200), 0);
    EXPECT_EQ(Codes("\x7F\x80\xFD"), (std::vector<FontCode>{kNoCode, kNoCode, kNoCode}));
}

TEST(FontIndex, RowsAndCellsFollowTheLeadAndTrailBytes) {
    EXPECT_EQ(FontRowOfLead(0x81), 0);
    EXPECT_EQ(FontRowOfLead(0x9F), 30);
    EXPECT_EQ(FontRowOfLead(0xE0), 31);
    EXPECT_EQ(FontRowOfLead(0xFC), 59);
    EXPECT_EQ(FontRowOfLead(0xA0), -1);
    EXPECT_EQ(FontCellOfTrail(0x40), 0);
    EXPECT_EQ(FontCellOfTrail(0x7E), 62);
    EXPECT_EQ(FontCellOfTrail(0x7F), -1);
    EXPECT_EQ(FontCellOfTrail(0x80), 63);
    EXPECT_EQ(FontCellOfTrail(0xFC), 187);
    EXPECT_EQ(FontCellOfTrail(0xFD), -1);
    EXPECT_EQ(FontCellOffset(FontCellOfCode(0xE080)), 128u + 564 * 31 + 3 * 63);
    EXPECT_EQ(kFontIndexEnd, 33968u);
    EXPECT_EQ(kFontOldIndexEnd, 23816u);
    for (int cell = 0; cell < kFontCells; ++cell)
        ASSERT_EQ(FontCellOfCode(FontCodeOfCell(cell)), cell);
}

TEST(GlyphRecords, SizeIsFoundByWalkingTheEntries) {
    const std::string r = Record({XY0(1, false), 2, 0x80 | 0x20 | 5, 0x40 | 7, 0x00});
    EXPECT_EQ(GlyphRecordSize(reinterpret_cast<const uint8_t*>(r.data()), r.size()), 6u);
    EXPECT_EQ(GlyphRecordSize(reinterpret_cast<const uint8_t*>(r.data()), 5), 0u);
    // The second byte of the last two-byte entry is missing.
    const std::string cut = Record({XY0(1, true)}, 1);
    EXPECT_EQ(GlyphRecordSize(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()), 0u);
}

TEST(GlyphRecords, DecodingCarriesThePreviousPointThroughEveryKind) {
    const std::string r =
        Record({XY0(3, false), 4, 0x80 | 0x20 | 9, 0x80 | 0x40 | 12, 0x80, 0x60 | 1});
    GlyphDecoder d(reinterpret_cast<const uint8_t*>(r.data()), r.size());
    std::vector<std::tuple<int, int, bool>> got;
    for (GlyphPoint p; d.next(p);) got.emplace_back(p.x, p.y, p.pen);
    // The last entry's second byte is missing: decoding stops there.
    EXPECT_EQ(got, (std::vector<std::tuple<int, int, bool>>{
                       {3, 4, false}, {9, 4, true}, {9, 12, true}, {9, 12, true}}));
}

// A scratch folder with a font file, for the layout tests.
class FontFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Put(const std::string& bytes) { return dir_.Put("zevofont.dat", bytes); }
    ScratchDir dir_;
};

// 'A' (0x8260): a stroke from the corner (0, 0) to (31, 31). 'B' (0x8261): a move to (0, 31) and
// a stroke to (31, 31).
std::string CornerFont() {
    return FontBytes()
        .glyph(0x8260, Record({XY0(31, true), 31}))
        .glyph(0x8261, Record({XY0(0, false), 31, 0x80 | 0x20 | 31}))
        .build();
}

std::vector<TextSegment> Layout(const std::filesystem::path& font, std::string_view text, double h,
                                double p, double angle = 0, bool mirror = false, Point at = {}) {
    TextParams params;
    params.text = text;
    params.height = h;
    params.pitch = p;
    params.angle = angle;
    params.mirror = mirror;
    std::vector<TextSegment> out;
    EXPECT_TRUE(LayoutSegments(font, params, at, out));
    return out;
}

void ExpectNear(Point a, Point b) {
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
}

TEST_F(FontFileTest, GlyphOffsetNeedsACellValueAbove128) {
    const auto font = Put(FontBytes().rawCell(0x8260, 128).rawCell(0x8261, 129).build());
    FontFile f(font);
    ASSERT_TRUE(f.isOpen());
    EXPECT_FALSE(GlyphOffset(0x8260, f));
    EXPECT_EQ(GlyphOffset(0x8261, f), 129u);
    EXPECT_FALSE(GlyphOffset(0x8262, f));  // zero
    EXPECT_FALSE(GlyphOffset(0xA040, f));  // not a lead byte
    EXPECT_FALSE(GlyphOffset(0x827F, f));  // not a trail byte
    EXPECT_FALSE(FontFile(dir_ / "none.dat").isOpen());
}

TEST_F(FontFileTest, CharactersFollowAtThePitchAndScaleWithTheHeight) {
    const auto font = Put(CornerFont());
    const auto s = Layout(font, "AB", 3.2, 2);
    ASSERT_EQ(s.size(), 2u);
    ExpectNear(s[0].start, {0, 0});  // a first pen-down entry draws from the corner
    ExpectNear(s[0].end, {3.1, 3.1});
    ExpectNear(s[1].start, {2, 3.1});
    ExpectNear(s[1].end, {5.1, 3.1});
}

TEST_F(FontFileTest, MirroredTextRunsLeftwardsWithNegatedX) {
    const auto s = Layout(Put(CornerFont()), "AB", 3.2, 2, 0, true, {10, 10});
    ASSERT_EQ(s.size(), 2u);
    ExpectNear(s[0].end, {6.9, 13.1});
    ExpectNear(s[1].start, {8, 13.1});
    ExpectNear(s[1].end, {4.9, 13.1});
}

TEST_F(FontFileTest, AngleRotatesStrokesAndAdvance) {
    const auto s = Layout(Put(CornerFont()), "AB", 3.2, 2, 450);  // 450 degrees is 90
    ASSERT_EQ(s.size(), 2u);
    ExpectNear(s[0].end, {-3.1, 3.1});
    ExpectNear(s[1].start, {-3.1, 2});
}

TEST_F(FontFileTest, SpacesAdvanceAndControlBytesDoNot) {
    const auto font = Put(CornerFont());
    auto s = Layout(font, " A", 3.2, 2);
    ASSERT_EQ(s.size(), 1u);
    ExpectNear(s[0].start, {2, 0});
    s = Layout(font, "\tA\x7F", 3.2, 2);
    ASSERT_EQ(s.size(), 1u);
    ExpectNear(s[0].start, {0, 0});
    // With a glyph for the ideographic space the space draws it.
    const auto spaced = Put(FontBytes().glyph(0x8140, Record({XY0(2, true), 0})).build());
    EXPECT_EQ(Layout(spaced, " ", 3.2, 2).size(), 1u);
}

TEST_F(FontFileTest, HeightAndPitchHaveMinimums) {
    const auto s = Layout(Put(CornerFont()), "AA", 0.001, 0.001);
    ASSERT_EQ(s.size(), 2u);
    ExpectNear(s[0].end, {0.031, 0.031});
    ExpectNear(s[1].start, {0.01, 0});
}

TEST_F(FontFileTest, BrokenGlyphsDrawNothingButThePenAdvances) {
    // 'A' points past the end of the file; 'B' is fine; 'C' is the last record and has only two
    // bytes, so fewer than three can be read.
    const auto font = Put(FontBytes()
                              .rawCell(0x8260, 1'000'000)
                              .glyph(0x8261, Record({XY0(31, true), 31}))
                              .glyph(0x8262, std::string("\x01\xE1", 2))
                              .build());
    auto s = Layout(font, "ACB", 3.2, 2);
    ASSERT_EQ(s.size(), 1u);
    ExpectNear(s[0].start, {4, 0});
    // 'D' claims two entries but the file ends after the first: what is there is drawn.
    const auto cut =
        Put(FontBytes().glyph(0x8263, Record({XY0(8, true), 0, 0x80 | 0x40 | 4}, 3)).build());
    s = Layout(cut, "D", 3.2, 2);
    ASSERT_EQ(s.size(), 2u);
    ExpectNear(s[1].end, {0.8, 0.4});
}

TEST_F(FontFileTest, LeadBytesOfTheUpperRowsAreLookedUpToo) {
    const auto font = Put(FontBytes().glyph(0xE040, Record({XY0(1, true), 1})).build());
    EXPECT_EQ(Layout(font, "\xE0\x40", 3.2, 2).size(), 1u);
}

TEST_F(FontFileTest, UnchangedPointsAndPenUpEntriesDrawNothing) {
    const auto font = Put(FontBytes()
                              .glyph(0x8260, Record({0x80, 0x80 | 0x20 | 0, XY0(5, false), 5,
                                                     0x80 | 0x40 | 5, 0x80 | 0x40 | 9}))
                              .build());
    const auto s = Layout(font, "A", 3.2, 2);
    ASSERT_EQ(s.size(), 1u);
    ExpectNear(s[0].start, {0.5, 0.5});
    ExpectNear(s[0].end, {0.5, 0.9});
}

TEST_F(FontFileTest, LayoutTextBuildsATextGroupOnTheBoard) {
    Board board;
    board.SetBoardSize(100, 100);
    TextParams p;
    p.text = "AB";
    p.layer = 3;
    p.aperture = 7;
    p.height = 3.2;
    p.pitch = 2;
    p.angle = -90;
    p.mirror = true;
    const TextLayout t = LayoutText(board, Put(CornerFont()), p, {50, 50});
    ASSERT_NE(t.text, nullptr);
    EXPECT_EQ(t.dropped, 0);
    EXPECT_FALSE(t.text->linked());
    EXPECT_EQ(t.text->type, Reserved().text);
    EXPECT_EQ(t.text->attribute, Intern("AB"));
    ASSERT_NE(t.text->ext, nullptr);
    const auto* placement = static_cast<const TextPlacement*>(t.text->ext);
    EXPECT_EQ(placement->kind, 1);
    EXPECT_EQ(placement->pt, (Point{50, 50}));
    EXPECT_NEAR(placement->angle, 1.5 * kPi, 1e-12);
    EXPECT_EQ(placement->hi, 3.2);
    EXPECT_EQ(placement->pit, -2);
    int lines = 0;
    for (container* e : Items(t.text->members)) {
        ASSERT_EQ(e->kind, kLine);
        const auto* l = static_cast<const line*>(e);
        EXPECT_EQ(l->layer, 3);
        EXPECT_EQ(l->aperture, 7);
        EXPECT_FALSE(l->square());
        EXPECT_EQ(e->parent, t.text);
        ++lines;
    }
    EXPECT_EQ(lines, 2);
    t.text->recycle(board);
}

TEST_F(FontFileTest, StrokesLeavingTheBoardAreDroppedAndAnEmptyTextIsNotMade) {
    Board board;
    board.SetBoardSize(100, 100);
    const auto font = Put(CornerFont());
    TextParams p;
    p.text = "AB";
    p.height = 3.2;
    p.pitch = 2;
    // 'B' runs from x = 98 to 101.1: past the right edge.
    TextLayout t = LayoutText(board, font, p, {96, 10});
    ASSERT_NE(t.text, nullptr);
    EXPECT_EQ(t.dropped, 1);
    t.text->recycle(board);
    // Below the lower edge nothing survives.
    t = LayoutText(board, font, p, {10, -4});
    EXPECT_EQ(t.text, nullptr);
    EXPECT_EQ(t.dropped, 2);
    EXPECT_FALSE(t.fontMissing);
    t = LayoutText(board, dir_ / "missing.dat", p, {10, 10});
    EXPECT_EQ(t.text, nullptr);
    EXPECT_TRUE(t.fontMissing);
    EXPECT_EQ(board.liveCounts().groups, 0u);
    EXPECT_EQ(board.liveCounts().lines, 0u);
}

TEST_F(FontFileTest, StrokesWhosePenReachesPastTheEdgeAreDropped) {
    // The stroke's bounds with the pen decide, as when a board file is opened: a stroke kept
    // here is never deleted on reopening.
    Board board;
    board.SetBoardSize(100, 100);
    const auto font = Put(CornerFont());
    TextParams p;
    p.text = "A";  // one stroke from the origin to (3.1, 3.1)
    p.height = 3.2;
    p.pitch = 2;
    p.aperture = 4;
    ASSERT_GT(board.roundAp[4], 0.05);
    TextLayout t = LayoutText(board, font, p, {0, 10});  // the stroke starts on the left edge
    EXPECT_EQ(t.text, nullptr);
    EXPECT_EQ(t.dropped, 1);
    t = LayoutText(board, font, p, {96.85, 10});  // it ends 0.05 mm before the right edge
    EXPECT_EQ(t.text, nullptr);
    EXPECT_EQ(t.dropped, 1);
    t = LayoutText(board, font, p, {1, 10});
    ASSERT_NE(t.text, nullptr);
    EXPECT_EQ(t.dropped, 0);
    t.text->recycle(board);
    EXPECT_EQ(board.liveCounts().lines, 0u);
}

TEST_F(FontFileTest, CoverageListsMissingCharactersAndRefusesUncodedPairs) {
    const auto font = Put(CornerFont());
    EXPECT_TRUE(CheckCoverage(font, "AB A").accepted() == false);  // the space has no glyph
    EXPECT_TRUE(CheckCoverage(font, "AB\tA").accepted());          // one control byte is fine
    Coverage c = CheckCoverage(font, "AxB\x82\xA0");
    EXPECT_EQ(c.verdict, Coverage::kMissingGlyphs);
    EXPECT_EQ(c.missing, "x\x82\xA0");
    EXPECT_EQ(MissingGlyphMessage(c), "x\x82\xA0 " + TableTextCp932(kMsgFontNoGlyph));
    EXPECT_EQ(CheckCoverage(font, "A\r\nB").verdict, Coverage::kUncodedBytes);
    EXPECT_EQ(CheckCoverage(dir_ / "missing.dat", "A").verdict, Coverage::kNoFont);
    // The list holds at most 126 bytes and never half a character.
    c = CheckCoverage(font, "x" + std::string(200, '\x82'));
    EXPECT_LE(c.missing.size(), kMaxMissingBytes);
    EXPECT_EQ(c.missing.size(), 125u);
}

TEST_F(FontFileTest, FontPathIsEmptyWithoutAFile) {
    Folders folders;
    folders.program = dir_.path();
    folders.userData = dir_ / "user";
    folders.programWritable = true;
    Paths paths(folders);
    EXPECT_TRUE(FontPath(paths).empty());
    Put(CornerFont());
    EXPECT_EQ(FontPath(paths), dir_ / "zevofont.dat");
}

}  // namespace
}  // namespace zevo
