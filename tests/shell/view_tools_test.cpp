// The zoom rectangle and the grid origin pick through the editor: clicks at pixels, the view,
// the board and the pixels of the rubber band.
#include "tools/view_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "board/file/board_writer.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "tools/measure_tool.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

class ViewTools : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        editor.redraw();
    }
};

TEST(ZoomToRectangle, FitsTheRectangleCentresItAndStaysWithinTheLimits) {
    ViewState v;
    v.SetBoardSize(300, 210);
    v.Resize(640, 480);
    v.SetView(10, 0, 0);
    // 64 x 48 pixels: ten times closer; the point under the centre pixel (352, 264) becomes the
    // middle of the view.
    const Point c = v.ScreenToWorld(352, 264);
    ZoomToRectangle(v, 320, 240, 384, 288);
    EXPECT_DOUBLE_EQ(v.scale, 100);
    EXPECT_NEAR(v.viewLeft + 640 / v.scale / 2, c.x, 1e-9);
    EXPECT_NEAR(v.viewBottom + 480 / v.scale / 2, c.y, 1e-9);
    // A rectangle without width or height: the closest view there is.
    ZoomToRectangle(v, 100, 100, 100, 100);
    EXPECT_DOUBLE_EQ(v.scale, 1000);
}

TEST_F(ViewTools, TheKeyZThenTwoClicksZoomToTheRectangleAndTheBandLeavesNoTrace) {
    editor.character('z');
    ASSERT_EQ(editor.tools->modes.mode(), kModeZoom);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintZoom);
    clickPixel(320, 240);
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintZoomSecond);
    editor.mouseMove(384, 288, 0);
    {
        // The band from the anchor to the mouse.
        Framebuffer fb;
        fb.Resize(editor.view.clientWidth, editor.view.clientHeight);
        RenderOptions o;
        o.boardEdge = true;
        RenderBoard(board, editor.view, fb, o);
        DrawRectangleBand(fb, {320, 240}, {384, 288}, false);
        EXPECT_TRUE(
            std::equal(fb.pixels().begin(), fb.pixels().end(), editor.screen().pixels().begin()));
    }
    // The arrow keys do not scroll while the band is out.
    const double left = editor.view.viewLeft;
    editor.keyDown(EditorKey::kRight);
    EXPECT_EQ(editor.view.viewLeft, left);
    clickPixel(384, 288);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_DOUBLE_EQ(editor.view.scale, 100);
    EXPECT_TRUE(editor.view.previousAvailable());
    EXPECT_TRUE(editor.toolBarState(Cmd::PreviousButton) & kTbEnabled);
    EXPECT_TRUE(screenIsPlain());
    // The previous view comes back with Home.
    editor.keyDown(EditorKey::kHome);
    EXPECT_DOUBLE_EQ(editor.view.scale, 10);
}

TEST_F(ViewTools, BackspaceAndEscLeaveTheZoomToolWithoutChangingTheView) {
    ASSERT_TRUE(editor.command(Cmd::ZoomTool));
    clickPixel(100, 100);
    editor.mouseMove(200, 150, 0);
    editor.keyDown(EditorKey::kBackspace);  // back to the first corner
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(editor.tools->modes.mode(), kModeZoom);
    EXPECT_TRUE(screenIsPlain());
    clickPixel(100, 100);
    editor.character(kCharEscape);  // both frames close
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.tools->modes.mode(), kModeLine);
    EXPECT_DOUBLE_EQ(editor.view.scale, 10);
    EXPECT_TRUE(screenIsPlain());
    EXPECT_TRUE(editor.toolBarState(Cmd::Line) & kTbEnabled);
}

TEST_F(ViewTools, TheGridOriginTakesTheClickOrATypedPointOnTheBoard) {
    ASSERT_TRUE(editor.command(Cmd::GridOrigin));
    EXPECT_EQ(editor.tools->modes.mode(), kModeGridOrigin);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintGridOrigin);
    EXPECT_FALSE(editor.toolBarState(Cmd::GridDialog) & kTbEnabled);
    const Point p = editor.view.ScreenToWorld(123, 321);
    clickPixel(123, 321);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_DOUBLE_EQ(board.gridOrigin.x, p.x);
    EXPECT_DOUBLE_EQ(board.gridOrigin.y, p.y);
    EXPECT_DOUBLE_EQ(editor.view.gridOriginX, p.x);
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_TRUE(editor.toolBarState(Cmd::GridDialog) & kTbEnabled);

    // A typed point off the board beeps and the tool stays; one on it is taken.
    ASSERT_TRUE(editor.command(Cmd::GridOrigin));
    host.answer<NumericInputModel>([](NumericInputModel& m) {
        m.x = "-5";
        m.y = "5";
        return !m.press(NumericInputModel::Button::kAbsolute).has_value();
    });
    ASSERT_TRUE(editor.command(Cmd::NumericInput));
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(editor.tools->modes.mode(), kModeGridOrigin);
    host.answer<NumericInputModel>([](NumericInputModel& m) {
        m.x = "5";
        m.y = "7";
        return !m.press(NumericInputModel::Button::kAbsolute).has_value();
    });
    ASSERT_TRUE(editor.command(Cmd::NumericInput));
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_DOUBLE_EQ(board.gridOrigin.x, 5);
    EXPECT_DOUBLE_EQ(board.gridOrigin.y, 7);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

// --- the spacing measurement

class Measure : public ViewTools {
  protected:
    land* Land(Point p) {
        land* e = board.CreateLand(1, 18, false, p);  // 1 mm across
        board.AppendElement(nullptr, e);
        return e;
    }
    // What the dialog showed, from the queue.
    SpacingResultModel shown{{0, 0}, {0, 0}};
    void expectDialog() {
        host.answer<SpacingResultModel>([this](SpacingResultModel& m) {
            shown = m;
            return true;
        });
    }
};

TEST_F(Measure, TheGapOfTwoLandsIsShownAndDrawnAndTheBoardStaysAsItWas) {
    Land({10, 10});
    Land({20, 10});
    editor.redraw();
    const std::string before = WriteDocument(board);
    editor.character('d');
    ASSERT_EQ(editor.tools->modes.mode(), kModeSpacing);
    click({10.5, 10});  // on the rim of the first land
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintSpacingSecond);
    expectDialog();
    click({19.5, 10});
    EXPECT_EQ(host.shown<SpacingResultModel>(), 1);
    EXPECT_EQ(shown.dx, "9");
    EXPECT_EQ(shown.dy, "0");
    EXPECT_EQ(shown.distance, "9");
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(WriteDocument(board), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_FALSE(editor.doc.modified);
    // The line between the nearest points stays on the screen until the next repaint.
    const Point mid = editor.view.WorldToScreen({15, 10});
    EXPECT_EQ(editor.screen().at(int(std::lround(mid.x)), int(std::lround(mid.y))), kGreyPen);
    editor.redraw();
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(Measure, OverlappingLandsAndALineToItselfAreShort) {
    Land({10, 10});
    Land({10.8, 10});
    board.AppendElement(nullptr, board.CreateLine(1, 18, false, {20, 20}, {30, 20}));
    editor.redraw();
    ASSERT_TRUE(editor.command(Cmd::Spacing));
    click({9.5, 10});
    click({11.3, 10});
    EXPECT_EQ(host.messages.back(), "ショートしています");
    EXPECT_EQ(host.shown<SpacingResultModel>(), 0);

    ASSERT_TRUE(editor.command(Cmd::Spacing));
    click({25, 20.5});
    click({22, 20.5});
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages.back(), "ショートしています");
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

TEST_F(Measure, WithShiftTheNearerEndsAreMeasured) {
    board.AppendElement(nullptr, board.CreateLine(1, 18, false, {10, 10}, {20, 10}));
    board.AppendElement(nullptr, board.CreateLine(1, 18, false, {23, 14}, {40, 14}));
    editor.redraw();
    ASSERT_TRUE(editor.command(Cmd::Spacing));
    click({18, 10.5}, kMkShift);
    expectDialog();
    click({25, 14.5});
    EXPECT_EQ(shown.dx, "3");
    EXPECT_EQ(shown.dy, "4");
    EXPECT_EQ(shown.distance, "5");
}

TEST_F(Measure, AMissBeepsAndEscOrBackspacePutTheFirstElementBack) {
    Land({10, 10});
    editor.redraw();
    const std::string before = WriteDocument(board);
    ASSERT_TRUE(editor.command(Cmd::Spacing));
    const int beeps = host.beeps;
    click({40, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    click({10.5, 10});
    EXPECT_NE(WriteDocument(board), before);  // taken out while the second is chosen
    click({40, 40});
    EXPECT_EQ(host.beeps, beeps + 2);
    EXPECT_EQ(editor.tools->modes.depth(), 3);
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    EXPECT_EQ(WriteDocument(board), before);
    click({10.5, 10});
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(WriteDocument(board), before);
    EXPECT_TRUE(screenIsPlain());
}

}  // namespace
}  // namespace zevo::test
