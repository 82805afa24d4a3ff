#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "image_compare.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

using test::ExpectImage;

// A 1 mm = 10 px view of the board's lower left corner, 80 x 60 pixels.
struct Scene {
    Board board;
    ViewState view;
    Framebuffer fb;
    Scene(int w = 80, int h = 60, double scale = 10) {
        board.SetBoardSize(100, 100);
        view.SetBoardSize(100, 100);
        view.SetClientSize(w, h);
        view.SetGrid(1, 1);
        view.SetView(scale, 0, 0);
        fb.Resize(w, h);
        for (int i = 0; i < 16; ++i) board.layerColour[size_t(i)] = uint8_t(i);
    }
    template <class T>
    T* add(T* e) {
        board.AppendElement(nullptr, e);
        return e;
    }
    size_t render(const RenderOptions& o = {}) { return RenderBoard(board, view, fb, o); }
    // Screen pixel of a world point.
    PixelPoint px(double x, double y) const {
        const Point s = view.WorldToScreen(x, y);
        return {std::llround(s.x), std::llround(s.y)};
    }
};

std::vector<PixelPoint> LitPixels(const Framebuffer& fb, Pixel colour) {
    std::vector<PixelPoint> out;
    for (int y = 0; y < fb.height(); ++y)
        for (int x = 0; x < fb.width(); ++x)
            if (fb.at(x, y) == colour) out.push_back({x, y});
    return out;
}

TEST(BoardRender, GridDotsTheirGreyAndTheirSpacingLimit) {
    Scene s;
    s.render();
    // 10 px grid: grey level from the spacing, dots aligned to the origin (world y = 0 is the
    // bottom row of the view).
    const int g = GridGrey(10);
    EXPECT_EQ(g, int(std::trunc(std::sqrt(8.0) * 128 / 6 + 106.67 + 0.5)));
    EXPECT_EQ(s.fb.at(0, 59), Rgb(g, g, g));
    EXPECT_EQ(s.fb.at(10, 49), Rgb(g, g, g));
    EXPECT_EQ(s.fb.at(5, 59), 0u);
    EXPECT_EQ(LitPixels(s.fb, Rgb(g, g, g)).size(), 8u * 6u);
    EXPECT_EQ(GridGrey(1000), 255);
    EXPECT_EQ(GridGrey(3), 128);

    // Every second line only.
    s.view.SetGrid(1, 2);
    s.render();
    EXPECT_EQ(LitPixels(s.fb, Rgb(GridGrey(20), GridGrey(20), GridGrey(20))).size(), 4u * 3u);

    // Dots closer than 3 pixels are not drawn at all.
    s.view.SetGrid(0.25, 1);  // 2.5 px
    s.render();
    EXPECT_TRUE(LitPixels(s.fb, 0).size() == 80u * 60u);
    s.view.SetGrid(0.3, 1);  // 3 px: drawn
    s.render();
    EXPECT_LT(LitPixels(s.fb, 0).size(), 80u * 60u);
}

TEST(BoardRender, ElementOutlinesMatchTheReviewedImage) {
    Scene s(120, 90);
    Board& b = s.board;
    b.SetRoundAperture(1, 1.0);  // half sizes: 10 px
    b.SetRoundAperture(2, 0.3);
    b.SetSquareAperture(3, 0.8);
    b.SetRoundAperture(4, 0.02);  // hairline
    s.add(b.CreateLand(1, 1, false, {1.5, 7.0}));
    s.add(b.CreateLand(2, 3, true, {4.0, 7.0}));
    s.add(b.CreateLine(3, 2, false, {6.0, 6.0}, {10.5, 8.0}));
    s.add(b.CreateLine(4, 3, true, {1.0, 3.0}, {4.0, 5.0}));
    s.add(b.CreateLine(5, 4, false, {1.0, 1.0}, {4.0, 2.0}));
    s.add(b.CreateArc(6, 2, {8.0, 3.0}, 2.0, 0, kPi * 1.5));
    s.add(b.CreateArc(7, 4, {8.0, 3.0}, 1.0, kPi / 2, kPi));
    s.add(b.CreateRect(8, 4, {5.5, 2.5}, 2.0, 1.0, 0.5));
    s.render();
    ExpectImage(s.fb, "outlines.png");

    s.view.SetMirror(true);
    s.render();
    ExpectImage(s.fb, "outlines-mirror.png");
}

TEST(BoardRender, ZeroLengthRoundLineIsDrawnAsItsLand) {
    Scene a, b;
    a.board.SetRoundAperture(1, 0.6);  // half size: 6 px
    b.board.SetRoundAperture(1, 0.6);
    a.view.SetGrid(100, 1);
    b.view.SetGrid(100, 1);
    a.add(a.board.CreateLine(1, 1, false, {4, 3}, {4, 3}));
    b.add(b.board.CreateLand(1, 1, false, {4, 3}));
    a.render();
    b.render();
    EXPECT_TRUE(std::equal(a.fb.pixels().begin(), a.fb.pixels().end(), b.fb.pixels().begin()));
    // A circle: the centre stays dark, the rim 6 px out is lit.
    const PixelPoint c = a.px(4, 3);
    const Pixel red = kPalette[1];
    EXPECT_EQ(a.fb.at(int(c.x), int(c.y)), 0u);
    EXPECT_EQ(a.fb.at(int(c.x + 6), int(c.y)), red);
    EXPECT_EQ(a.fb.at(int(c.x), int(c.y - 6)), red);
}

TEST(BoardRender, ArcWiderThanItsRadiusDrawsItsInnerEdgeAtTheDifference) {
    Scene s(100, 100, 10);
    s.board.SetRoundAperture(1, 1.0);
    arc* a = s.add(s.board.CreateArc(1, 1, {5, 5}, 2.0, 0, kPi));
    a->r = 0.4;  // the aperture (1 mm half width) now exceeds the radius
    a->bounds = {3, 3, 7, 7};
    s.view.SetGrid(100, 1);
    s.render();
    const Pixel red = kPalette[1];
    const PixelPoint c = s.px(5, 5);
    // Inner edge at |0.4 - 1.0| = 0.6 mm = 6 px above the centre, outer at 14 px.
    EXPECT_EQ(s.fb.at(int(c.x), int(c.y - 6)), red);
    EXPECT_EQ(s.fb.at(int(c.x), int(c.y - 14)), red);
    for (int d = 1; d < 6; ++d) EXPECT_EQ(s.fb.at(int(c.x), int(c.y - d)), 0u) << d;
}

TEST(BoardRender, SkipsHiddenLayersAndElementsOutsideTheView) {
    Scene s;
    s.board.SetRoundAperture(1, 0.5);
    s.add(s.board.CreateLand(1, 1, false, {2, 2}));
    s.add(s.board.CreateLand(1, 1, false, {50, 50}));  // outside the 8 x 6 mm view
    s.add(s.board.CreateLand(2, 1, false, {3, 3}));
    group* g = s.add(s.board.CreateGroup(nullptr));
    s.board.AppendElement(g, s.board.CreateLand(1, 1, false, {4, 4}));
    EXPECT_EQ(s.render(), 3u);
    s.board.ClearLayerSwitch(2, kDisp);
    EXPECT_EQ(s.render(), 2u);
    EXPECT_TRUE(LitPixels(s.fb, kPalette[2]).empty());
}

TEST(BoardRender, SelectionIsDrawnAgainInGreyAndPartialCopiesComeEvery10001) {
    Scene s;
    s.board.SetRoundAperture(1, 0.5);
    land* a = s.add(s.board.CreateLand(1, 1, false, {2, 2}));
    s.add(s.board.CreateLand(1, 1, false, {5, 2}));
    const drawn* sel[] = {a};
    RenderOptions o;
    o.selection = sel;
    s.render(o);
    const PixelPoint c = s.px(2, 2);
    EXPECT_EQ(s.fb.at(int(c.x + 5), int(c.y)), kGreyPen);
    const PixelPoint d = s.px(5, 2);
    EXPECT_EQ(s.fb.at(int(d.x + 5), int(d.y)), kPalette[1]);

    Scene many;
    many.board.SetRoundAperture(1, 0.01);
    for (int i = 0; i < 25000; ++i)
        many.add(many.board.CreateLand(1, 1, false, {0.5 + (i % 70) * 0.1, 0.5}));
    int copies = 0;
    RenderOptions counted;
    counted.partialCopy = [&](const Framebuffer&) { ++copies; };
    EXPECT_EQ(many.render(counted), 25000u);
    EXPECT_EQ(copies, 2);
}

TEST(BoardRender, OverlaysAreErasedByDrawingThemAgain) {
    Scene s(60, 40);
    s.board.SetRoundAperture(1, 0.4);
    s.add(s.board.CreateLine(1, 1, false, {1, 1}, {5, 3}));
    s.render();
    Framebuffer screen = s.fb, scratch;
    const Framebuffer before = screen;
    land* ghost = s.board.CreateLand(2, 1, false, {3, 2});
    const drawn* ghosts[] = {ghost, s.board.CreateLine(3, 1, true, {0, 0}, {2, 3})};
    for (int i = 0; i < 2; ++i) {
        DrawLongCursor(screen, 20, 10);
        DrawRectangleBand(screen, {5, 5}, {40, 30}, false);
        DrawRectangleBand(screen, {5, 5}, {40, 30}, true);
        DrawLineBand(screen, {0, 39}, {59, 0});
        DrawGhost(s.board, s.view, screen, scratch, ghosts);
        if (i == 0) {
            ExpectImage(screen, "overlays.png");
            const PixelPoint g = s.px(3, 2);
            EXPECT_NE(screen.at(int(g.x), int(g.y)), before.at(int(g.x), int(g.y)));
        }
    }
    EXPECT_TRUE(
        std::equal(screen.pixels().begin(), screen.pixels().end(), before.pixels().begin()));
    ghost->recycle(s.board);
}

TEST(BoardRender, ChordCountsFollowTheDeviationTable) {
    EXPECT_EQ(HalfCircleChords(0), 1);  // s(0) = pi
    EXPECT_EQ(HalfCircleChords(1), int(std::ceil(kPi / (2 * std::acos(1 - 0.45)))));
    EXPECT_EQ(HalfCircleChords(100), int(std::ceil(kPi / (2 * std::acos(1 - 0.0045)))));
    // Radii beyond the table use its last step; the step never falls below 2 pi / 4096.
    EXPECT_EQ(HalfCircleChords(5000), HalfCircleChords(1023));
    EXPECT_EQ(ArcChords(100, 0), 1);
    EXPECT_EQ(ArcChords(100, kTwoPi), int(kTwoPi / ChordStep(100)) + 1);
    EXPECT_GE(ChordStep(1e9), kTwoPi / 4096);
    // Every radius the table distinguishes, and fractions and values around its ends.
    for (double r : {-1.0, 0.0, 0.3, 0.5, 0.99, 1.0, 2.5, 17.2, 1022.9, 1023.0, 1024.5, 1e12})
        EXPECT_EQ(HalfCircleChords(r), std::clamp(int(std::ceil(kPi / ChordStep(r))), 1, 2048))
            << r;
    for (int rho = 0; rho < 1024; ++rho)
        ASSERT_EQ(HalfCircleChords(rho), std::clamp(int(std::ceil(kPi / ChordStep(rho))), 1, 2048))
            << rho;
}

// The outlines' cosines and sines are the rounded values of the angle's, entry for entry,
// around the whole circle and beyond it.
TEST(BoardRender, FixedSinesAreTheRoundedSinesOfTheWholeCircle) {
    for (int i = -4096; i < 8192; ++i) {
        const int k = ((i % 4096) + 4096) % 4096;
        const double a = k * kTwoPi / 4096;
        const auto [c, s] = FixedCosSin(i);
        ASSERT_EQ(c, std::llround(std::cos(a) * 2147483647.0)) << i;
        ASSERT_EQ(s, std::llround(std::sin(a) * 2147483647.0)) << i;
    }
}

TEST(BoardRender, DeepZoomOnAHugeElementStaysInsideTheBuffer) {
    Scene s(64, 48, 1000);
    s.board.SetRoundAperture(1, 5.0);
    s.add(s.board.CreateLand(1, 1, false, {0.02, 0.02}));  // 5000 px radius: a polygon
    s.add(s.board.CreateLine(1, 1, false, {-90, 0.01}, {90, 0.03}));
    s.add(s.board.CreateArc(1, 1, {50, 50}, 70.7, 0, kTwoPi));
    EXPECT_EQ(s.render(), 3u);
}

}  // namespace
}  // namespace zevo
