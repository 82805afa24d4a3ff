#include "glyph_editor/glyph_editor.h"

#include <gtest/gtest.h>

#include <random>

#include "../paths/scratch_dir.h"
#include "../view/font_fixture.h"

namespace zevo {
namespace {

using testing::FontBytes;
using testing::Record;
using testing::ScratchDir;
using testing::XY0;
using E = GlyphBuffer::Entry;
using State = GlyphEditor::State;

std::vector<E> Entries(const GlyphBuffer& g) {
    std::vector<E> out;
    for (int i = 0; i < g.count(); ++i) out.push_back(g.entry(i));
    return out;
}

TEST(GlyphBuffer, ShortestEncodingPicksTheKindPerChange) {
    GlyphBuffer g;
    for (E e : {E{false, 0, 0}, E{true, 5, 0}, E{true, 5, 9}, E{true, 5, 9}, E{false, 7, 3},
                E{true, 7, 3}})
        g.append(e);
    // (0,0) unchanged: dropped; x only: kind 01; y only: kind 10; repeated: dropped; both: kind 11.
    EXPECT_EQ(g.encode(), (std::vector<uint8_t>{3, 0x80 | 0x20 | 5, 0x80 | 0x40 | 9, 0x60 | 7, 3}));
    GlyphBuffer empty;
    empty.append({true, 0, 0});
    EXPECT_TRUE(empty.encode().empty());
}

TEST(GlyphBuffer, RecordsExpandToTwoByteEntries) {
    const std::string r = Record({0x80 | 0x20 | 4, 0x00, 0x80 | 0x40 | 6, XY0(1, false), 2});
    const GlyphBuffer g =
        GlyphBuffer::FromRecord({reinterpret_cast<const uint8_t*>(r.data()), r.size()});
    EXPECT_EQ(Entries(g),
              (std::vector<E>{{true, 4, 0}, {false, 4, 0}, {true, 4, 6}, {false, 1, 2}}));
    for (int i = 0; i < g.count(); ++i) EXPECT_EQ(g.raw()[1 + 2 * i] & 0x60, 0x60);
}

TEST(GlyphBuffer, RoundTripThroughTheShortestEncodingKeepsTheDrawing) {
    std::mt19937 rng(3);
    for (int round = 0; round < 300; ++round) {
        GlyphBuffer g;
        const int n = std::uniform_int_distribution<int>(0, 255)(rng);
        for (int i = 0; i < n; ++i) {
            // Few distinct values, so that unchanged points and single-axis moves are common.
            g.append({bool(rng() & 1), uint8_t(rng() % 4 * 9), uint8_t(rng() % 4 * 9)});
        }
        const auto bytes = g.encode();
        const GlyphBuffer back = GlyphBuffer::FromRecord(bytes);
        EXPECT_EQ(StrokesOf(back).size(), [&] {
            std::size_t k = 0;
            for (const GlyphStroke& s : StrokesOf(g)) k += !(s.from == s.to);
            return k;
        }());
        // Decoding the encoding again gives the same bytes (it is already the shortest).
        EXPECT_EQ(back.encode(), bytes);
        // Drawn strokes (ignoring strokes of no length) are the same in order.
        std::vector<GlyphStroke> a, b;
        for (const GlyphStroke& s : StrokesOf(g))
            if (!(s.from == s.to)) a.push_back(s);
        b = StrokesOf(back);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].from, b[i].from);
            EXPECT_EQ(a[i].to, b[i].to);
        }
        EXPECT_LE(bytes.size(), 1 + 2 * std::size_t(n));
    }
}

TEST(GlyphBuffer, CountNeverWrapsPast255) {
    GlyphBuffer g;
    for (int i = 0; i < 255; ++i) ASSERT_TRUE(g.append({true, uint8_t(i % 32), 0}));
    EXPECT_FALSE(g.append({true, 1, 1}));
    EXPECT_EQ(g.count(), 255);
}

TEST(GridCells, PixelsMapToCellsAndStayInsideTheGrid) {
    EXPECT_EQ(CellOfPixel(0, 0), (GridCell{0, 31}));
    EXPECT_EQ(CellOfPixel(7, 124), (GridCell{1, 0}));
    EXPECT_EQ(CellOfPixel(-3, 200), (GridCell{0, 0}));
    EXPECT_EQ(CellOfPixel(500, -9), (GridCell{31, 31}));
    EXPECT_EQ(PixelXOfPoint(31), 126);
    EXPECT_EQ(PixelYOfPoint(0), 126);
}

// An editor on a font with 'A' = one stroke (2,2)-(10,2) and 'B' = a stroke (0,0)-(0,8).
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto font = dir_.Put("zevofont.dat",
                                   FontBytes()
                                       .glyph(0x8260, Record({XY0(2, false), 2, 0x80 | 0x20 | 10}))
                                       .glyph(0x8261, Record({0x80 | 0x40 | 8}))
                                       .build());
        ed_.LoadFont(font);
    }
    void Click(GridCell c) {
        ed_.LeftDown(c);
        ed_.LeftUp(c);
    }
    void Drag(GridCell from, GridCell to) {
        ed_.LeftDown(from);
        ed_.Move(to, true);
        ed_.LeftUp(to);
    }
    ScratchDir dir_;
    GlyphEditor ed_;
};

TEST_F(EditorTest, ChoosingACharacterLoadsItsGlyphAndRefusesTheSpace) {
    EXPECT_TRUE(ed_.SelectText("A"));
    EXPECT_EQ(ed_.currentCode(), 0x8260);
    EXPECT_EQ(Entries(ed_.glyph()), (std::vector<E>{{false, 2, 2}, {true, 10, 2}}));
    EXPECT_FALSE(ed_.SelectText(" "));
    EXPECT_FALSE(ed_.SelectText("\x01"));
    EXPECT_FALSE(ed_.SelectText(""));
    EXPECT_FALSE(ed_.SelectCode(0x827F));
    EXPECT_EQ(ed_.currentCode(), 0x8260);
    EXPECT_TRUE(ed_.SelectText("\x82\xA0xyz"));  // a lead byte takes the next byte
    EXPECT_EQ(ed_.currentCode(), 0x82A0);
    EXPECT_EQ(ed_.glyph().count(), 0);
    EXPECT_EQ(GlyphEditor::CodeOfBoxText("\xB6\xDE"), 0x834B);
}

TEST_F(EditorTest, DrawingAStrokeAppendsAMoveAndPenDownPoints) {
    ed_.SelectText("\x82\xA0");
    Click({3, 4});
    EXPECT_EQ(ed_.state(), State::kDrawing);
    EXPECT_FALSE(ed_.modified());  // the start point alone is no edit
    ed_.Move({6, 4}, false);
    ASSERT_TRUE(ed_.rubberBand());
    EXPECT_EQ(ed_.rubberBand()->from, (GridCell{3, 4}));
    EXPECT_EQ(ed_.rubberBand()->to, (GridCell{6, 4}));
    Click({6, 4});
    Click({6, 4});  // the same cell again: nothing
    Click({6, 9});
    ed_.RightUp({6, 9});
    EXPECT_EQ(ed_.state(), State::kIdle);
    EXPECT_TRUE(ed_.modified());
    EXPECT_EQ(Entries(ed_.glyph()), (std::vector<E>{{false, 3, 4}, {true, 6, 4}, {true, 6, 9}}));
    EXPECT_EQ(ed_.undoDepth(), 2);
    // A stroke started on the last point continues from it without a move.
    Click({6, 9});
    Click({1, 9});
    ed_.RightUp({1, 9});
    EXPECT_EQ(ed_.glyph().count(), 4);
    EXPECT_TRUE(ed_.glyph().entry(3).pen);
}

TEST_F(EditorTest, FinishingAStrokeWithoutLinesRemovesItsStart) {
    ed_.SelectText("A");
    Click({20, 20});
    EXPECT_EQ(ed_.glyph().count(), 3);
    ed_.RightUp({20, 20});
    EXPECT_EQ(ed_.glyph().count(), 2);
    EXPECT_FALSE(ed_.modified());
    // Buttons held together are ignored.
    ed_.LeftUp({25, 25}, /*rightHeld=*/true);
    EXPECT_EQ(ed_.state(), State::kIdle);
}

TEST_F(EditorTest, RightClickDeletesTheFirstSegmentUnderTheCursorAndTidiesUp) {
    ed_.SelectText("\x82\xA0");
    // Two strokes: (0,0)-(10,0)-(10,10) and (20,0)-(30,10).
    Click({0, 0});
    Click({10, 0});
    Click({10, 10});
    ed_.RightUp({10, 10});
    Click({20, 0});
    Click({30, 10});
    ed_.RightUp({30, 10});
    ASSERT_EQ(Entries(ed_.glyph()),
              (std::vector<E>{{true, 10, 0}, {true, 10, 10}, {false, 20, 0}, {true, 30, 10}}));
    // Near the middle of the vertical segment (within one unit sideways).
    ed_.RightUp({11, 5});
    EXPECT_EQ(Entries(ed_.glyph()),
              (std::vector<E>{{true, 10, 0}, {false, 20, 0}, {true, 30, 10}}));
    // A diagonal: the foot of the perpendicular must lie on it and be within one unit.
    ed_.RightUp({26, 4});  // distance sqrt(2)
    EXPECT_EQ(ed_.glyph().count(), 3);
    ed_.RightUp({25, 4});  // distance 1/sqrt(2)
    EXPECT_EQ(Entries(ed_.glyph()), (std::vector<E>{{true, 10, 0}}));
    // Not on a segment: nothing happens; the horizontal one from the corner goes last.
    ed_.RightUp({20, 20});
    EXPECT_EQ(ed_.glyph().count(), 1);
    ed_.RightUp({5, 1});
    EXPECT_EQ(ed_.glyph().count(), 0);
    EXPECT_EQ(ed_.undoDepth(), 6);
}

TEST_F(EditorTest, DraggingAnEndPointBendsBothSegmentsAndAClickLeavesNoUndoStep) {
    ed_.SelectText("\x82\xA0");
    Click({0, 0});
    Click({10, 0});
    Click({20, 0});
    ed_.RightUp({20, 0});
    const int depth = ed_.undoDepth();
    Drag({10, 0}, {10, 5});
    EXPECT_EQ(ed_.state(), State::kIdle);
    EXPECT_EQ(Entries(ed_.glyph()), (std::vector<E>{{true, 10, 5}, {true, 20, 0}}));
    EXPECT_EQ(ed_.undoDepth(), depth + 1);
    // Pressing near a point (within one cell), wandering off and coming back: no step left.
    ed_.LeftDown({11, 6});
    ed_.Move({12, 8}, true);
    EXPECT_EQ(ed_.state(), State::kMoving);
    EXPECT_FALSE(ed_.canUndo());
    ed_.Move({10, 5}, true);
    ed_.LeftUp({10, 5});
    EXPECT_EQ(ed_.undoDepth(), depth + 1);
    EXPECT_EQ(ed_.glyph().entry(0), (E{true, 10, 5}));
    // Dragging from empty space picks nothing (the release then starts a stroke as ever).
    ed_.LeftDown({30, 30});
    ed_.Move({31, 31}, true);
    EXPECT_EQ(ed_.state(), State::kIdle);
    EXPECT_EQ(ed_.undoDepth(), depth + 1);
}

TEST_F(EditorTest, UndoKeepsTheLastTenSnapshots) {
    ed_.SelectText("\x82\xA0");
    Click({0, 1});
    for (int i = 1; i <= 12; ++i) Click({i, 1});
    ed_.RightUp({12, 1});
    EXPECT_EQ(ed_.glyph().count(), 13);
    EXPECT_EQ(ed_.undoDepth(), kGlyphUndoDepth);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(ed_.Undo());
    EXPECT_FALSE(ed_.Undo());
    EXPECT_EQ(ed_.glyph().count(), 3);  // the two oldest edits are beyond reach
    // Choosing a character clears the history.
    Click({5, 5});
    Click({6, 6});
    ed_.RightUp({6, 6});
    ed_.SelectText("A");
    EXPECT_EQ(ed_.undoDepth(), 0);
}

TEST_F(EditorTest, A255EntryGlyphRefusesMorePointsWithoutWrapping) {
    ed_.SelectText("\x82\xA0");
    Click({0, 1});
    for (int i = 0; i < 300; ++i) Click({i % 2 ? 5 : 6, 1 + i % 30});
    EXPECT_EQ(ed_.glyph().count(), 255);
    EXPECT_TRUE(ed_.refusedFull());
    ed_.RightUp({0, 0});
    Click({20, 20});  // a new stroke needs two free entries
    EXPECT_EQ(ed_.state(), State::kIdle);
    EXPECT_EQ(ed_.glyph().count(), 255);
    // The full glyph is encoded and spliced back intact.
    ASSERT_TRUE(ed_.SelectText("A"));
    ed_.SelectText("\x82\xA0");
    EXPECT_EQ(ed_.glyph().count(), 255);
}

TEST_F(EditorTest, ModifiedGlyphsAreSplicedBackAndClosingWritesOnlyAChangedFont) {
    EXPECT_FALSE(ed_.PrepareClose());  // nothing changed: nothing asked, nothing written
    ed_.SelectText("B");
    ed_.RightUp({0, 4});  // delete the only stroke of 'B'
    EXPECT_TRUE(ed_.modified());
    ed_.SelectText("A");
    EXPECT_FALSE(ed_.image().hasGlyph(FontCellOfCode(0x8261)));
    EXPECT_TRUE(ed_.PrepareClose());
    EXPECT_EQ(ed_.Save(dir_ / "zevofont.dat"), FontSaveResult::kWritten);
    GlyphEditor again;
    again.LoadFont(dir_ / "zevofont.dat");
    EXPECT_EQ(again.image().glyphCount(), 1);
    // Deleting the last glyph too leaves an empty font, which is not written.
    again.SelectText("A");
    again.RightUp({5, 2});
    EXPECT_EQ(again.glyph().count(), 0);
    EXPECT_FALSE(again.PrepareClose());
}

}  // namespace
}  // namespace zevo
