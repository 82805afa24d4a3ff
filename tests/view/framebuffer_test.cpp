#include "view/framebuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace zevo {
namespace {

constexpr Pixel kW = 0xFFFFFF;

// The buffer as text rows, '#' for a set pixel and '.' for black.
std::string Picture(const Framebuffer& fb) {
    std::string s;
    for (int y = 0; y < fb.height(); ++y) {
        for (int x = 0; x < fb.width(); ++x) s += fb.at(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

size_t Lit(const Framebuffer& fb) {
    size_t n = 0;
    for (Pixel p : fb.pixels()) n += p != 0;
    return n;
}

TEST(Rasteriser, LinesLeaveTheirEndPixelToTheNextSegment) {
    Framebuffer fb(6, 3);
    fb.Line({0, 1}, {5, 1}, {kW, RasterOp::kCopy});
    EXPECT_EQ(Picture(fb), "......\n#####.\n......\n");
    fb.Clear(0);
    fb.LineWithEnd({0, 1}, {5, 1}, {kW, RasterOp::kCopy});
    EXPECT_EQ(Picture(fb), "......\n######\n......\n");
    fb.Clear(0);
    fb.LineWithEnd({0, 0}, {5, 2}, {kW, RasterOp::kCopy});
    EXPECT_EQ(Picture(fb), "##....\n..##..\n....##\n");
    // A closed polyline touches each corner once, so exclusive-or leaves no holes.
    fb.Clear(0);
    const PixelPoint box[5] = {{0, 0}, {5, 0}, {5, 2}, {0, 2}, {0, 0}};
    fb.Polyline(box, {kW, RasterOp::kXor});
    EXPECT_EQ(Picture(fb), "######\n#....#\n######\n");
}

// The textbook walk, one pixel at a time: what the line drawing has to match step for step.
void ReferenceLine(Framebuffer& fb, PixelPoint a, PixelPoint b, Pen pen) {
    const int64_t dx = std::llabs(b.x - a.x), dy = -std::llabs(b.y - a.y);
    const int64_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int64_t err = dx + dy, x = a.x, y = a.y;
    while (x != b.x || y != b.y) {
        fb.Plot(x, y, pen);
        const int64_t e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

TEST(Rasteriser, LinesInsideTheBufferTakeTheStepsOfThePlainWalk) {
    // Slanted lines in all eight directions, rows, columns and single steps, drawn with
    // exclusive-or so that a pixel touched twice or skipped shows.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(0, 39), y(0, 29), len(0, 3);
    Framebuffer fast(40, 30), slow(40, 30);
    const Pen pen{0x00FF00, RasterOp::kXor};
    for (int i = 0; i < 3000; ++i) {
        PixelPoint a{x(rng), y(rng)}, b{x(rng), y(rng)};
        if (i % 4 == 1) b.y = a.y;
        if (i % 4 == 2) b.x = a.x;
        if (i % 4 == 3)
            b = {std::min<int64_t>(39, a.x + len(rng)), std::max<int64_t>(0, a.y - len(rng))};
        fast.Line(a, b, pen);
        ReferenceLine(slow, a, b, pen);
        ASSERT_EQ(Picture(fast), Picture(slow)) << a.x << "," << a.y << " to " << b.x << "," << b.y;
    }
}

TEST(Rasteriser, EverySlopeUpTo45PixelsTakesThePlainWalksSteps) {
    // Each end point around a centre, in every octant, shallow, steep and diagonal, with all
    // three operations; then long lines of random slopes across a screen-sized buffer.
    Framebuffer fast(91, 91), slow(91, 91);
    const RasterOp ops[] = {RasterOp::kCopy, RasterOp::kMerge, RasterOp::kXor};
    for (int dy = -45; dy <= 45; ++dy)
        for (int dx = -45; dx <= 45; ++dx) {
            const Pen pen{Pixel(0x010203 * (1 + (dx & 7))), ops[(dx + dy + 90) % 3]};
            fast.Line({45, 45}, {45 + dx, 45 + dy}, pen);
            ReferenceLine(slow, {45, 45}, {45 + dx, 45 + dy}, pen);
            ASSERT_TRUE(
                std::equal(fast.pixels().begin(), fast.pixels().end(), slow.pixels().begin()))
                << dx << "," << dy;
        }
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(0, 1919), y(0, 1079);
    Framebuffer wideFast(1920, 1080), wideSlow(1920, 1080);
    const Pen pen{0x00FF00, RasterOp::kXor};
    for (int i = 0; i < 400; ++i) {
        const PixelPoint a{x(rng), y(rng)}, b{x(rng), y(rng)};
        wideFast.Line(a, b, pen);
        ReferenceLine(wideSlow, a, b, pen);
    }
    EXPECT_TRUE(
        std::equal(wideFast.pixels().begin(), wideFast.pixels().end(), wideSlow.pixels().begin()));
}

TEST(Rasteriser, PixelRoundingMatchesLlround) {
    // Halves go away from zero; large and non-finite values take the library's way.
    const double big = 9.0e18, nan = std::numeric_limits<double>::quiet_NaN();
    for (double v : {0.0, -0.0, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 4503599627370495.5,
                     -4503599627370495.5, 9007199254740993.0, 1.0e18 + 0.5, -3.9e18, big, -big}) {
        EXPECT_EQ(RoundNearest(v), std::llround(v)) << v;
    }
    // The doubles just below one half: the C library of mingw-w64 adds 0.5 and rounds them up,
    // so they are checked against the right answer instead of the library.
    EXPECT_EQ(RoundNearest(0.49999999999999994), 0);
    EXPECT_EQ(RoundNearest(-0.49999999999999994), 0);
    EXPECT_EQ(RoundNearest(nan), std::llround(nan));
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> d(-3.0e6, 3.0e6);
    for (int i = 0; i < 100000; ++i) {
        const double v = d(rng) / 1024.0 * double(i % 7 + 1);
        ASSERT_EQ(RoundNearest(v), std::llround(v)) << v;
    }
}

TEST(Rasteriser, RasterOperationsCombineAsTheirNamesSay) {
    Framebuffer fb(3, 1, Rgb(255, 0, 0));
    fb.Plot(0, 0, {Rgb(0, 255, 0), RasterOp::kMerge});
    fb.Plot(1, 0, {Rgb(0, 255, 0), RasterOp::kCopy});
    fb.Plot(2, 0, {Rgb(255, 255, 0), RasterOp::kXor});
    EXPECT_EQ(fb.at(0, 0), Rgb(255, 255, 0));
    EXPECT_EQ(fb.at(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(fb.at(2, 0), Rgb(0, 255, 0));
    // Drawing twice with exclusive-or erases.
    Framebuffer g(20, 20);
    const Pen x{Rgb(192, 192, 192), RasterOp::kXor};
    for (int i = 0; i < 2; ++i) {
        g.Line({-5, 3}, {25, 17}, x);
        g.Ellipse(2, 2, 15, 11, x);
        g.Frame(1, 1, 19, 19, x);
    }
    EXPECT_EQ(Lit(g), 0u);
}

TEST(Rasteriser, SegmentsAreClippedToTheBuffer) {
    Framebuffer fb(10, 10);
    const Pen pen{kW, RasterOp::kCopy};
    fb.Line({-10, 5}, {20, 5}, pen);  // crosses: the visible part is drawn
    for (int x = 0; x < 10; ++x) EXPECT_EQ(fb.at(x, 5), kW) << x;
    EXPECT_EQ(Lit(fb), 10u);
    fb.Clear(0);
    fb.Line({-10, -1}, {20, -1}, pen);  // wholly outside
    fb.Line({-5, 20}, {-1, -20}, pen);
    EXPECT_EQ(Lit(fb), 0u);
    // Far-off end points of a deep zoom do not make the line walk millions of pixels.
    fb.Line({-4000000000LL, -4000000000LL}, {4000000000LL, 4000000000LL}, pen);
    EXPECT_EQ(fb.at(0, 0), kW);
    EXPECT_EQ(fb.at(9, 9), kW);
    EXPECT_EQ(Lit(fb), 10u);

    double ax = -5, ay = 5, bx = 5, by = 5;
    EXPECT_TRUE(ClipSegment(ax, ay, bx, by, 10, 10));
    EXPECT_EQ(ax, 0);
    EXPECT_EQ(bx, 5);
    ax = 11, bx = 20;
    EXPECT_FALSE(ClipSegment(ax, ay, bx, by, 10, 10));
}

TEST(Rasteriser, EllipsesAreClosedOneCellOutlines) {
    Framebuffer fb(7, 7);
    fb.Ellipse(1, 1, 6, 6, {kW, RasterOp::kCopy});  // a circle of radius 2 around (3, 3)
    EXPECT_EQ(Picture(fb),
              ".......\n"
              "..###..\n"
              ".#...#.\n"
              ".#...#.\n"
              ".#...#.\n"
              "..###..\n"
              ".......\n");
    fb.Clear(0);
    fb.FillEllipse(1, 1, 6, 6, {kW, RasterOp::kCopy});
    EXPECT_EQ(Lit(fb), 21u);
    fb.Clear(0);
    fb.Ellipse(3, 3, 4, 4, {kW, RasterOp::kCopy});  // a one-pixel box is one pixel
    EXPECT_EQ(Lit(fb), 1u);

    // A large circle is symmetric and has no gaps: every row and column of its box is touched.
    Framebuffer big(101, 101);
    big.Ellipse(0, 0, 101, 101, {kW, RasterOp::kCopy});
    for (int i = 0; i < 101; ++i) {
        bool row = false, col = false;
        for (int j = 0; j < 101; ++j) {
            row |= big.at(j, i) != 0;
            col |= big.at(i, j) != 0;
            EXPECT_EQ(big.at(i, j), big.at(100 - i, j));
            EXPECT_EQ(big.at(i, j), big.at(j, i));
        }
        EXPECT_TRUE(row && col) << i;
    }
    EXPECT_EQ(big.at(50, 50), 0u);
}

TEST(Rasteriser, BlitsAndRowsAreCutToBothBuffers) {
    Framebuffer src(4, 4, Rgb(0, 0, 255)), dst(6, 6);
    dst.Blit(src, 0, 0, 4, 4, 4, -2, RasterOp::kCopy);
    EXPECT_EQ(Lit(dst), 4u);
    EXPECT_EQ(dst.at(5, 1), Rgb(0, 0, 255));
    dst.Blit(src, -3, 0, 10, 10, 0, 0, RasterOp::kMerge);
    EXPECT_EQ(dst.at(3, 0), Rgb(0, 0, 255));
    EXPECT_EQ(dst.at(0, 0), 0u);
    const Pixel row[3] = {1, 2, 3};
    Framebuffer r(2, 1);
    r.CombineRow(-1, 0, row, RasterOp::kCopy);
    EXPECT_EQ(r.at(0, 0), 2u);
    EXPECT_EQ(r.at(1, 0), 3u);
    r.CombineRow(0, 5, row, RasterOp::kCopy);  // outside: nothing
}

}  // namespace
}  // namespace zevo
