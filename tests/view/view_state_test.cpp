#include "view/view_state.h"

#include <gtest/gtest.h>

#include "board/model/board.h"

namespace zevo {
namespace {

// A 640 x 480 client on a large board, the view placed as the cases need.
ViewState View(double scale, double left, double bottom, double board = 1000) {
    ViewState v;
    v.SetBoardSize(board, board);
    v.SetClientSize(640, 480);
    v.SetScale(scale);
    v.SetOrigin(left, bottom);
    return v;
}

TEST(ViewConversions, ScreenToWorldRunsFromTheTopAndFromEitherSide) {
    // viewTop 479 and, mirrored, viewRight 639.
    ViewState v = View(10, 0, 479 - 47.9);
    EXPECT_NEAR(v.viewTop, 479, 1e-9);
    Point p = v.ScreenToWorld(100, 200);
    EXPECT_DOUBLE_EQ(p.x, 10.0);
    EXPECT_DOUBLE_EQ(p.y, 459.0);

    v.SetMirror(true);
    v.SetOrigin(639 - 63.9, v.viewBottom);
    EXPECT_NEAR(v.viewRight, 639, 1e-9);
    p = v.ScreenToWorld(100, 200);
    EXPECT_DOUBLE_EQ(p.x, 629.0);
    EXPECT_DOUBLE_EQ(p.y, 459.0);

    // And back.
    const Point s = v.WorldToScreen(629, 459);
    EXPECT_NEAR(s.x, 100, 1e-9);
    EXPECT_NEAR(s.y, 200, 1e-9);
}

TEST(ViewConversions, InputIsRoundedAndSnappedWithTheTieRuleOfEachAxis) {
    ViewState v = View(1000, 0, 0);
    // 0.0123456... rounds to the input step.
    Point p = v.ScreenToWorld(12.3456, 0);
    EXPECT_DOUBLE_EQ(p.x, 0.012);

    v.SetGrid(1, 1);
    v.SetScale(10);
    // x = 1.5 is a tie: normal display takes the larger grid line, y takes the smaller.
    const double sy = (v.viewTop - 1.5) * 10;
    p = v.ScreenToWorldSnapped(15, sy);
    EXPECT_DOUBLE_EQ(p.x, 2.0);
    EXPECT_DOUBLE_EQ(p.y, 1.0);
    v.SetMirror(true);
    p = v.ScreenToWorldSnapped((v.viewRight - 1.5) * 10, sy);
    EXPECT_DOUBLE_EQ(p.x, 1.0);

    // ScreenToInput follows the on-grid flag.
    v.SetMirror(false);
    EXPECT_DOUBLE_EQ(v.ScreenToInput(13, sy).x, 1.0);
    v.ToggleOnGrid();
    EXPECT_DOUBLE_EQ(v.ScreenToInput(13, sy).x, 1.3);
}

TEST(ViewConversions, GridPointsAndSnappedPixelsFollowTheGridPhase) {
    ViewState v = View(10, 0.25, 0);
    v.SetGrid(1, 1);
    // Grid lines at x = 0, 1, 2 ... are 10 px apart, the first at -2.5 px.
    EXPECT_DOUBLE_EQ(v.gridSpacingPx, 10);
    EXPECT_NEAR(v.gridPhaseX, -2.5, 1e-9);
    const Point g = v.GridPointOnScreen(1.4, 0);
    EXPECT_NEAR(g.x, 7.5, 1e-9);
    int sx = 11, sy = 3;
    v.SnapPixel(sx, sy);
    EXPECT_EQ(sx, 8);  // trunc(7.5 + 0.5)
    EXPECT_EQ(sy, int(std::trunc(v.gridPhaseY + 0.5)));
    v.ToggleOnGrid();
    sx = 11, sy = 3;
    v.SnapPixel(sx, sy);
    EXPECT_EQ(sx, 11);
    EXPECT_EQ(sy, 3);

    // Mirror: measured from the right edge.
    v.ToggleOnGrid();
    v.SetMirror(true);
    const double f = (v.viewRight - v.gridOriginX) * v.scale;
    EXPECT_NEAR(v.gridPhaseX, f - std::floor(f / 10 + 0.5) * 10, 1e-9);
    EXPECT_NEAR(v.GridPointOnScreen(1.4, 0).x, (v.viewRight - 1) * 10, 1e-9);
}

TEST(ViewSetters, ClampScaleGridAndSmallClients) {
    ViewState v;
    v.SetScale(0.001);
    EXPECT_EQ(v.scale, 0.01);
    v.SetScale(5000);
    EXPECT_EQ(v.scale, 1000);
    v.SetScale(std::nan(""));
    EXPECT_EQ(v.scale, 1000);
    v.SetGrid(0.0001, 0);
    EXPECT_EQ(v.gridSpacing, 0.005);
    EXPECT_EQ(v.gridDisplayEvery, 1);
    v.SetGrid(500, 4);
    EXPECT_EQ(v.gridSpacing, 100);
    EXPECT_EQ(v.gridDisplayEvery, 4);
    v.SetClientSize(7, 100);
    EXPECT_EQ(v.clientWidth, 640);
    v.SetScale(4);
    v.SetPickRadiusPixels(5);
    EXPECT_DOUBLE_EQ(v.pickRadiusWorld, 1.25);
    EXPECT_DOUBLE_EQ(v.pickRadiusWorldSq, 1.5625);
    EXPECT_DOUBLE_EQ(v.viewWidth, 639 / 4.0);
}

TEST(ViewSetters, PickRadiusComesFromTheDesktop) {
    EXPECT_EQ(PickRadiusPixels(1920, 1080), 5);
    EXPECT_EQ(PickRadiusPixels(800, 600), 3);
    EXPECT_EQ(PickRadiusPixels(3840, 2160), 10);
    EXPECT_EQ(PickRadiusPixels(100, 100), 2);
}

TEST(ViewSetters, SetViewKeepsTheViewOnTheBoard) {
    ViewState v = View(10, 0, 0, 100);  // the client shows 64 x 48 mm
    v.SetView(10, -5, -5);
    EXPECT_EQ(v.viewLeft, 0);
    EXPECT_EQ(v.viewBottom, 0);
    v.SetView(10, 90, 90);
    EXPECT_DOUBLE_EQ(v.viewLeft, 36);
    EXPECT_DOUBLE_EQ(v.viewBottom, 52);
    // A view larger than the board starts at its edge.
    v.SetView(1, 50, 50);
    EXPECT_EQ(v.viewLeft, 0);
    EXPECT_EQ(v.viewBottom, 0);
    EXPECT_TRUE(v.invalid);
}

TEST(ViewCommands, ZoomInAndOutKeepTheCentreAndStopAtTheLimits) {
    ViewState v = View(10, 100, 100);
    const double cx = v.viewLeft + v.viewWidth / 2, cy = v.viewBottom + v.viewHeight / 2;
    EXPECT_TRUE(v.ZoomIn());
    EXPECT_EQ(v.scale, 20);
    EXPECT_NEAR(v.viewLeft + v.viewWidth / 2, cx, 1e-9);
    EXPECT_NEAR(v.viewBottom + v.viewHeight / 2, cy, 1e-9);
    EXPECT_EQ(v.previous, (StoredView{10, 100, 100}));
    EXPECT_TRUE(v.ZoomOut());
    EXPECT_EQ(v.scale, 10);
    EXPECT_NEAR(v.viewLeft + v.viewWidth / 2, cx, 1e-9);

    v.SetScale(999);
    EXPECT_TRUE(v.ZoomIn());
    EXPECT_EQ(v.scale, 1000);
    EXPECT_FALSE(v.ZoomIn());

    // The board fits in one direction already: zooming out changes nothing.
    v.FitBoard();
    const StoredView before{v.scale, v.viewLeft, v.viewBottom};
    v.previous = {};
    EXPECT_FALSE(v.ZoomOut());
    EXPECT_EQ((StoredView{v.scale, v.viewLeft, v.viewBottom}), before);
    EXPECT_FALSE(v.previousAvailable());
}

TEST(ViewCommands, FitBoardAndFitDrawing) {
    Board board;
    ViewState v = View(10, 50, 50, 300);
    v.SetBoardSize(300, 210);
    EXPECT_FALSE(v.FitDrawing(board));  // nothing drawn
    EXPECT_TRUE(v.FitBoard());
    EXPECT_DOUBLE_EQ(v.scale, std::max(640 / 300.0, 480 / 210.0));
    EXPECT_EQ(v.viewLeft, 0);
    EXPECT_EQ(v.viewBottom, 0);

    board.SetRoundAperture(0, 0.5);
    board.AppendElement(nullptr, board.CreateLand(1, 0, false, {100, 100}));
    board.AppendElement(nullptr, board.CreateLand(1, 0, false, {110, 105}));
    EXPECT_TRUE(v.FitDrawing(board));
    // Extent 11 x 6 mm: the width decides.
    EXPECT_DOUBLE_EQ(v.scale, 0.98 * 640 / 11);
    EXPECT_NEAR(v.viewLeft + 640 / v.scale / 2, 105, 1e-9);
    EXPECT_NEAR(v.viewBottom + 480 / v.scale / 2, 102.5, 1e-9);

    // A drawing spread over the board falls back to the board fit at the origin.
    board.AppendElement(nullptr, board.CreateLand(1, 0, false, {1, 1}));
    board.AppendElement(nullptr, board.CreateLand(1, 0, false, {299, 209}));
    EXPECT_TRUE(v.FitDrawing(board));
    EXPECT_DOUBLE_EQ(v.scale, v.BoardFitScale());
    EXPECT_EQ(v.viewLeft, 0);
}

TEST(ViewCommands, PreviousViewAndDisplayMemories) {
    ViewState v = View(10, 100, 100);
    EXPECT_FALSE(v.PreviousView());
    v.ZoomIn();
    const StoredView zoomed{v.scale, v.viewLeft, v.viewBottom};
    EXPECT_TRUE(v.PreviousView());
    EXPECT_EQ(v.scale, 10);
    EXPECT_EQ(v.previous, zoomed);
    EXPECT_TRUE(v.PreviousView());  // and back again
    EXPECT_EQ(v.scale, 20);

    EXPECT_FALSE(v.memoryAvailable(2));
    EXPECT_FALSE(v.RecallMemory(2));
    EXPECT_TRUE(v.StoreMemory(2));
    EXPECT_TRUE(v.memoryAvailable(2));
    EXPECT_FALSE(v.StoreMemory(5));
    v.SetView(40, 10, 10);
    EXPECT_TRUE(v.RecallMemory(2));
    EXPECT_EQ((StoredView{v.scale, v.viewLeft, v.viewBottom}), zoomed);
    EXPECT_EQ(v.previous.scale, 40);

    // A resize empties every memory and the previous view.
    EXPECT_TRUE(v.Resize(800, 600));
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(v.memoryAvailable(n));
    EXPECT_FALSE(v.previousAvailable());
}

TEST(ViewInput, WheelKeepsThePointUnderTheCursor) {
    for (bool mirror : {false, true}) {
        ViewState v = View(10, 100, 100);
        v.SetMirror(mirror);
        auto world = [&](double sx, double sy) {
            return Point{mirror ? v.viewRight - sx / v.scale : v.viewLeft + sx / v.scale,
                         v.viewTop - sy / v.scale};
        };
        const Point before = world(123, 45);
        EXPECT_TRUE(v.Wheel(120, 123, 45));
        EXPECT_DOUBLE_EQ(v.scale, 12);
        EXPECT_NEAR(world(123, 45).x, before.x, 1e-9);
        EXPECT_NEAR(world(123, 45).y, before.y, 1e-9);
        EXPECT_TRUE(v.Wheel(-120, 123, 45));
        EXPECT_NEAR(world(123, 45).x, before.x, 1e-9);
        EXPECT_FALSE(v.previousAvailable());  // the wheel keeps no previous view
    }
    ViewState v = View(10, 0, 0);
    v.FitBoard();
    EXPECT_FALSE(v.Wheel(-120, 10, 10));  // already at the board fit
    v.SetScale(1000);
    EXPECT_FALSE(v.Wheel(120, 10, 10));
}

TEST(ViewInput, MiddleButtonCentresTheClickedPoint) {
    ViewState v = View(10, 100, 100);
    const Point w{v.viewLeft + 100 / 10.0, v.viewTop - 50 / 10.0};
    EXPECT_TRUE(v.MiddleButton(100, 50));
    EXPECT_NEAR(v.viewLeft + v.viewWidth / 2, w.x, 1e-9);
    EXPECT_NEAR(v.viewBottom + v.viewHeight / 2, w.y, 1e-9);
    EXPECT_EQ(v.previous, (StoredView{10, 100, 100}));
}

TEST(ViewInput, ScrollBarsMoveTheViewAndShowItsPlace) {
    ViewState v = View(10, 100, 100, 1000);
    v.SetView(10, 100, 100);
    // range = 10 * (1000 - 64) / 8 = 1170
    EXPECT_EQ(v.hScrollRange, 1170);
    EXPECT_EQ(v.vScrollRange, 1190);
    EXPECT_EQ(v.hScrollPos, std::lround(100 * 1170 / 936.0));
    EXPECT_EQ(v.vScrollPos, 1190 - std::lround(100 * 1190 / 952.0));

    v.HorizontalScroll(ScrollRequest::kLineDown);
    EXPECT_DOUBLE_EQ(v.viewLeft, 100.8);
    EXPECT_FALSE(v.previousAvailable());
    v.VerticalScroll(ScrollRequest::kLineDown);
    EXPECT_DOUBLE_EQ(v.viewBottom, 99.2);
    v.VerticalScroll(ScrollRequest::kPageUp);
    EXPECT_DOUBLE_EQ(v.viewBottom, 99.2 + 0.8 * 48);
    EXPECT_TRUE(v.previousAvailable());

    v.HorizontalScroll(ScrollRequest::kThumb, 585);
    EXPECT_DOUBLE_EQ(v.viewLeft, 936 * 0.5);
    v.VerticalScroll(ScrollRequest::kTop);
    EXPECT_DOUBLE_EQ(v.viewBottom, 952);  // the top edge of the board
    v.HorizontalScroll(ScrollRequest::kBottom);
    EXPECT_DOUBLE_EQ(v.viewLeft, 936);

    // Mirrored, the thumb runs the other way.
    v.SetMirror(true);
    v.HorizontalScroll(ScrollRequest::kThumb, 0);
    EXPECT_DOUBLE_EQ(v.viewLeft, 936);
    EXPECT_EQ(v.hScrollPos, 0);
    v.HorizontalScroll(ScrollRequest::kLineDown);
    EXPECT_DOUBLE_EQ(v.viewLeft, 935.2);
}

TEST(ViewInput, ArrowKeysScrollByAPartOfTheClient) {
    ViewState v = View(10, 100, 100);
    v.SetView(10, 100, 100);
    v.Arrow(ArrowKey::kUp);
    EXPECT_DOUBLE_EQ(v.viewBottom, 100 + 0.13 * 48);
    v.Arrow(ArrowKey::kLeft);
    EXPECT_DOUBLE_EQ(v.viewLeft, 100 - 0.13 * 64);
    v.SetMirror(true);
    v.Arrow(ArrowKey::kLeft);
    EXPECT_DOUBLE_EQ(v.viewLeft, 100);
    EXPECT_FALSE(v.Arrow(ArrowKey::kDown, /*rectangleBand=*/true));
    EXPECT_DOUBLE_EQ(v.viewBottom, 100 + 0.13 * 48);
    EXPECT_FALSE(v.previousAvailable());
}

TEST(ViewInput, ResizeRaisesTheScaleToTheBoardFit) {
    ViewState v = View(1, 0, 0, 300);
    EXPECT_FALSE(v.Resize(1, 100));
    EXPECT_TRUE(v.Resize(900, 300));
    EXPECT_EQ(v.clientWidth, 900);
    EXPECT_DOUBLE_EQ(v.scale, 3);
    EXPECT_TRUE(v.Resize(5, 5));  // the bitmaps follow, the view size does not
    EXPECT_EQ(v.clientWidth, 900);
}

TEST(ViewInput, CentreOnBoardAtStart) {
    ViewState v = View(10, 0, 0, 300);
    v.CentreOnBoard();
    EXPECT_DOUBLE_EQ(v.viewLeft, (300 - 64) / 2.0);
    EXPECT_DOUBLE_EQ(v.viewBottom, (300 - 48) / 2.0);
}

}  // namespace
}  // namespace zevo
