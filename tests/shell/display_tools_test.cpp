// The coordinate display and the pin number display through the editor: clicks at pixels, the
// dialogs they show, the pixels they leave, and the board left as it was.
#include "tools/display_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "board/file/board_writer.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "view/digit_font.h"

namespace zevo::test {
namespace {

// --- the digit font

TEST(DigitFont, WritesOnlyTheGlyphPixelsAndCutsOffAtTheEdges) {
    Framebuffer fb(20, 12, 0x123456);
    EXPECT_EQ(DrawNumber(fb, 1, 1, 17, 0xFFFFFF), 2 * kDigitCellWidth);
    // "1": the stem in column 2 of the first cell, rows 1..7 of the glyph below the blank row.
    for (int r = 0; r < 7; ++r) EXPECT_EQ(fb.at(1 + 2, 2 + r), 0xFFFFFFu) << r;
    // The blank column and row keep the background; so does the inside of the glyph.
    EXPECT_EQ(fb.at(1 + 5, 3), 0x123456u);
    EXPECT_EQ(fb.at(1, 1), 0x123456u);
    // "7": its top bar, five pixels in the second cell.
    for (int col = 0; col < 5; ++col) EXPECT_EQ(fb.at(1 + kDigitCellWidth + col, 2), 0xFFFFFFu);
    int lit = 0;
    for (int y = 0; y < fb.height(); ++y)
        for (int x = 0; x < fb.width(); ++x) lit += fb.at(x, y) == 0xFFFFFF;
    int bits = 0;
    for (int d : {1, 7})
        for (int r = 0; r < 7; ++r) bits += __builtin_popcount(DigitRow(d, r));
    EXPECT_EQ(lit, bits);
    // Half outside on every side: what falls inside is drawn, the rest is cut off.
    DrawNumber(fb, -3, -4, 888, 0);
    DrawNumber(fb, 17, 9, 999, 0);
    DrawNumber(fb, -100000, 100000, 5, 0);
}

// --- where the coordinate display snaps

class Snap : public ::testing::Test {
  protected:
    Board board;
};

TEST_F(Snap, EndsWithinOneAndAHalfHalfSizesThenTheElementsOwnPoint) {
    // Aperture 18 is 1 mm across: ends count within 0.75 mm plus the tolerance.
    const line* l = board.CreateLine(1, 18, false, {10, 10}, {20, 10});
    EXPECT_EQ(CoordinateSnap(board, l, {10.1, 10.05}, 0.1), (Point{10, 10}));
    EXPECT_EQ(CoordinateSnap(board, l, {19.2, 10}, 0.1), (Point{20, 10}));
    EXPECT_EQ(CoordinateSnap(board, l, {14, 10.2}, 0.1), (Point{15, 10}));  // the midpoint
    EXPECT_EQ(CoordinateSnap(board, l, {10.9, 10}, 0.1), (Point{15, 10}));  // 0.9 > 0.85
    const arc* a = board.CreateArc(1, 18, {0, 0}, 5, 0, kPi / 2);
    EXPECT_EQ(CoordinateSnap(board, a, {5, 0.3}, 0.1), (Point{5, 0}));
    EXPECT_EQ(CoordinateSnap(board, a, {3.54, 3.54}, 0.1), (Point{0, 0}));  // the centre
    const land* n = board.CreateLand(1, 18, false, {3, 4});
    EXPECT_EQ(CoordinateSnap(board, n, {3.4, 4.1}, 0.1), (Point{3, 4}));
    const rect* r = board.CreateRect(1, 18, {50, 50}, 10, 4, 0);
    EXPECT_EQ(CoordinateSnap(board, r, {54.5, 51}, 0.1), (Point{54.5, 51}));
}

// --- the coordinate display in the editor

class Coordinates : public EditorScenario {
  protected:
    CoordinateDisplayModel shown{{0, 0}, {0, 0}, false};
    void SetUp() override {
        EditorScenario::SetUp();
        board.AppendElement(nullptr, board.CreateLine(1, 18, false, {10, 10}, {20, 10}));
        board.SetGridOrigin(2, 3);
        editor.view.TakeBoardGrid(board);
        editor.redraw();
        host.on<CoordinateDisplayModel>([this](CoordinateDisplayModel& m) { shown = m; });
    }
};

TEST_F(Coordinates, AClickNearALineEndShowsTheEndAndTheToolCloses) {
    const std::string before = WriteDocument(board);
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    ASSERT_EQ(editor.tools->modes.mode(), kModeCoordinates);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintCoordinates);
    // The intersection pick is open, the numeric input is not.
    EXPECT_TRUE(editor.toolBarState(Cmd::Intersection) & kTbEnabled);
    EXPECT_FALSE(editor.toolBarState(Cmd::NumericInput) & kTbEnabled);
    click({19.9, 10.5});  // lines are taken at their edges
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(host.shown<CoordinateDisplayModel>(), 1);
    EXPECT_EQ(shown.absX, "20");
    EXPECT_EQ(shown.absY, "10");
    EXPECT_EQ(shown.relX, "18");
    EXPECT_EQ(shown.relY, "7");
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(WriteDocument(board), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_FALSE(editor.doc.modified);
    // The line stays highlighted until the next repaint.
    Framebuffer want = plainScreen();
    OutlinePainter(board, editor.view, want)
        .Draw(AsDrawn(AsElement(board.items.next)), {kGreyPen, RasterOp::kCopy});
    EXPECT_TRUE(screenIs(want));
    editor.redraw();
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(Coordinates, TheMiddleOfALineShowsItsMidpointAndAnEmptyPlaceTheSnappedClick) {
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    click({13.3, 10.5});
    EXPECT_EQ(shown.absX, "15");
    EXPECT_EQ(shown.absY, "10");
    // Away from everything, with on-grid display: the grid point nearest to the click.
    if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    const Point want = editor.view.ScreenToWorldSnapped(333, 111);
    clickPixel(333, 111);
    char x[64], y[64];
    std::snprintf(x, sizeof x, "%.12g", want.x);
    std::snprintf(y, sizeof y, "%.12g", want.y);
    EXPECT_EQ(shown.absX, x);
    EXPECT_EQ(shown.absY, y);
    EXPECT_EQ(host.shown<CoordinateDisplayModel>(), 2);
}

TEST_F(Coordinates, TheSettingsButtonChoosesTheReferenceAndEscLeaves) {
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    host.answer<CoordinateReferenceModel>([](CoordinateReferenceModel& m) {
        EXPECT_FALSE(m.relative);  // absolute at first
        m.relative = true;
    });
    EXPECT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_EQ(host.shown<CoordinateReferenceModel>(), 1);
    EXPECT_EQ(editor.tools->modes.mode(), kModeCoordinates);
    // Cancelled: the choice stays.
    host.answer<CoordinateReferenceModel>([](CoordinateReferenceModel& m) {
        EXPECT_TRUE(m.relative);
        m.relative = false;
        return false;
    });
    EXPECT_TRUE(editor.command(Cmd::SelectSettings));
    click({15, 10.5});
    EXPECT_TRUE(shown.relativeFirst);
    // The figures are the same in both settings.
    EXPECT_EQ(shown.absX, "15");
    EXPECT_EQ(shown.relX, "13");
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(host.shown<CoordinateDisplayModel>(), 1);
}

TEST_F(Coordinates, AnIntersectionPickShowsThePointItFound) {
    board.AppendElement(nullptr, board.CreateLine(1, 18, false, {15, 5}, {15, 15}));
    editor.redraw();
    ASSERT_TRUE(editor.command(Cmd::Coordinates));
    ASSERT_TRUE(editor.command(Cmd::Intersection));
    ASSERT_EQ(editor.tools->modes.mode(), kModeIntersection);
    click({12, 10.5});  // lines are taken at their edges
    EXPECT_EQ(result(), ToolResult::NextState);
    click({15.5, 12});
    EXPECT_EQ(host.shown<CoordinateDisplayModel>(), 1);
    EXPECT_EQ(shown.absX, "15");
    EXPECT_EQ(shown.absY, "10");
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

// --- the pin number display

class PinNumbers : public EditorScenario {
  protected:
    group* part = nullptr;
    land* pin1 = nullptr;
    void SetUp() override {
        EditorScenario::SetUp();
        part = board.CreateGroup(Intern("DIP8"));
        pin1 = board.CreateLand(1, 18, false, {10, 10});
        pin1->pinNo = 1;
        board.AppendElement(part, pin1);
        land* pin2 = board.CreateLand(1, 18, false, {20, 10});
        pin2->pinNo = -12;  // shown without its sign
        board.AppendElement(part, pin2);
        group* inner = board.CreateGroup(Intern(" PAD"));
        line* l = board.CreateLine(1, 18, false, {10, 20}, {20, 20});
        l->pinNo = 3;
        board.AppendElement(inner, l);
        arc* a = board.CreateArc(1, 18, {30, 20}, 5, 0, kPi);
        a->pinNo = 4;
        board.AppendElement(inner, a);
        board.AppendElement(part, inner);
        land* hidden = board.CreateLand(3, 18, false, {30, 10});
        hidden->pinNo = 5;
        board.AppendElement(part, hidden);
        board.ClearLayerSwitch(3, kDisp);
        board.AppendElement(part, board.CreateLand(1, 18, false, {40, 10}));  // no number
        board.AppendElement(nullptr, part);
        editor.redraw();
    }
    void label(Framebuffer& fb, Point at, unsigned n) {
        int x, y;
        pixel(at, x, y);
        DrawNumber(fb, x - kDigitCellWidth / 2, y - kDigitCellHeight / 2, n, 0xFFFFFF);
    }
};

TEST_F(PinNumbers, TheNumberedMembersOnShownLayersAreWrittenInWhiteUntilTheRepaint) {
    const std::vector<PinLabel> labels = PinLabels(board, *part);
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[1].number, 12);
    EXPECT_EQ(labels[2].at, (Point{15, 20}));  // the line's midpoint
    EXPECT_NEAR(labels[3].at.x, 30, 1e-9);     // the arc at its middle angle
    EXPECT_NEAR(labels[3].at.y, 25, 1e-9);

    const std::string before = WriteDocument(board);
    ASSERT_TRUE(editor.command(Cmd::PinNumbers));
    EXPECT_TRUE(editor.menuState(Cmd::PinNumbers).checked);
    click({10.3, 10});
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    Framebuffer want = plainScreen();
    label(want, {10, 10}, 1);
    label(want, {20, 10}, 12);
    label(want, {15, 20}, 3);
    label(want, {30, 25}, 4);
    EXPECT_TRUE(screenIs(want));
    EXPECT_EQ(WriteDocument(board), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    editor.redraw();
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(PinNumbers, AnElementOutsideAPartBeepsAndTheToolStays) {
    board.AppendElement(nullptr, board.CreateLand(1, 18, false, {50, 50}));
    group* plain = board.CreateGroup(Intern(" LINES"));
    board.AppendElement(plain, board.CreateLine(1, 18, false, {60, 60}, {70, 60}));
    board.AppendElement(nullptr, plain);
    editor.redraw();
    // The item is there to be chosen, not only while the tool is open.
    EXPECT_TRUE(editor.menuState(Cmd::PinNumbers).enabled);
    ASSERT_TRUE(editor.command(Cmd::PinNumbers));
    for (Point p : {Point{50, 50}, Point{65, 60}, Point{80, 80}}) {
        const int beeps = host.beeps;
        click(p);
        EXPECT_EQ(result(), ToolResult::Refused);
        EXPECT_EQ(host.beeps, beeps + 1);
        EXPECT_EQ(editor.tools->modes.mode(), kModePinNumbers);
    }
    EXPECT_TRUE(screenIsPlain());
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

TEST_F(PinNumbers, APartWithMoreThan999NumberedPinsShowsTheFirst999) {
    group* big = board.CreateGroup(Intern("CONN"));
    for (int i = 1; i <= 1005; ++i) {
        land* e = board.CreateLand(1, 18, false, {100 + i * 0.01, 100});
        e->pinNo = int16_t(i);
        board.AppendElement(big, e);
    }
    board.AppendElement(nullptr, big);
    const std::vector<PinLabel> labels = PinLabels(board, *big);
    ASSERT_EQ(labels.size(), 999u);
    EXPECT_EQ(labels.front().number, 1);
    EXPECT_EQ(labels.back().number, 999);
}

}  // namespace
}  // namespace zevo::test
