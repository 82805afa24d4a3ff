#include "geometry/geometry.h"

#include <gtest/gtest.h>

namespace zevo {
namespace {

TEST(InputRounding, RoundsHalfUpToTheThousandth) {
    EXPECT_NEAR(RoundToInput(12.3456), 12.346, 1e-12);
    EXPECT_NEAR(RoundToInput(12.3454), 12.345, 1e-12);
    EXPECT_EQ(RoundToInput(-0.0005), 0.0);
}

TEST(Tolerances, PointsCoincideWithinFifteenTenThousandths) {
    EXPECT_TRUE(SamePoint({0, 0}, {0.0014, 0}));
    EXPECT_FALSE(SamePoint({0, 0}, {0.0016, 0}));
    EXPECT_TRUE(IsZero(0.9e-8));
    EXPECT_FALSE(IsZero(1e-8));
}

TEST(GridSnap, TieRuleDependsOnAxis) {
    // Halfway between 0 and 1: X in normal display goes up, Y (and mirrored X) goes down.
    EXPECT_DOUBLE_EQ(SnapToGrid(0.5, 0, 1, true), 1.0);
    EXPECT_DOUBLE_EQ(SnapToGrid(0.5, 0, 1, false), 0.0);
    EXPECT_DOUBLE_EQ(SnapToGrid(-0.5, 0, 1, true), 0.0);
    EXPECT_DOUBLE_EQ(SnapToGrid(-0.5, 0, 1, false), -1.0);
    // An origin shifts the lattice, and the result is rounded to the input step.
    EXPECT_NEAR(SnapToGrid(3.3, 0.25, 1.27, true), RoundToInput(0.25 + 2 * 1.27), 1e-12);
}

TEST(Constrain8, SnapsToTheEightDirections) {
    const Point a{0, 0};
    EXPECT_EQ(Constrain8({10, 4}, a), (Point{10, 0}));
    EXPECT_EQ(Constrain8({10, 6}, a), (Point{6, 6}));
    EXPECT_EQ(Constrain8({-3, -10}, a), (Point{0, -10}));
    EXPECT_EQ(Constrain8({-6, -10}, a), (Point{-6, -6}));
    EXPECT_EQ(Constrain8({0, 0}, a), (Point{0, 0}));
    EXPECT_EQ(Constrain8({5, 7}, {5, 2}), (Point{5, 7}));
}

TEST(Arcs, AngleOnArcAndNormalForm) {
    EXPECT_TRUE(AngleOnArc(0.1, 3 * kPi / 2, 5 * kPi / 2));
    EXPECT_FALSE(AngleOnArc(kPi, 3 * kPi / 2, 5 * kPi / 2));
    EXPECT_TRUE(AngleOnArc(3 * kPi / 2, 3 * kPi / 2, 5 * kPi / 2));  // bounds inclusive

    double st = -kPi / 2, end = kPi / 2;
    NormaliseArc(st, end);
    EXPECT_NEAR(st, 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(end, 5 * kPi / 2, 1e-12);

    st = ToRadians(350), end = ToRadians(10);
    NormaliseArc(st, end);
    EXPECT_NEAR(ToDegrees(st), 10, 1e-9);
    EXPECT_NEAR(ToDegrees(end), 350, 1e-9);

    st = 0, end = 5 * kTwoPi;  // more than a turn collapses to one turn
    NormaliseArc(st, end);
    EXPECT_NEAR(end - st, kTwoPi, 1e-9);

    st = 1e300, end = 1e300;  // absurd input must terminate
    NormaliseArc(st, end);
    EXPECT_GE(st, 0);
    EXPECT_LT(st, kTwoPi);
}

TEST(Intersections, LineAgainstLine) {
    Point p;
    EXPECT_EQ(IntersectLines({{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, p), kOnePoint);
    EXPECT_NEAR(p.x, 5, 1e-12);
    EXPECT_NEAR(p.y, 5, 1e-12);
    EXPECT_EQ(IntersectLines({{3, -1}, {3, 5}}, {{0, 2}, {1, 2}}, p), kOnePoint);
    EXPECT_EQ(p, (Point{3, 2}));
    EXPECT_EQ(IntersectLines({{0, 0}, {1, 2}}, {{5, 0}, {5, 9}}, p), kOnePoint);
    EXPECT_NEAR(p.y, 10, 1e-12);
    // Parallel: no point; collinear with the same layer and aperture: the same line.
    EXPECT_EQ(IntersectLines({{0, 0}, {1, 1}}, {{0, 1}, {1, 2}}, p), kNoPoint);
    EXPECT_EQ(IntersectLines({{0, 0}, {1, 1}, 1, 2}, {{2, 2}, {3, 3}, 1, 2}, p), kSameLine);
    EXPECT_EQ(IntersectLines({{0, 0}, {1, 1}, 1, 2}, {{2, 2}, {3, 3}, 1, 3}, p), kNoPoint);
    EXPECT_EQ(IntersectLines({{0, 4}, {0, 5}}, {{0, 1}, {0, 2}}, p), kSameLine);
    EXPECT_EQ(IntersectLines({{0, 4}, {9, 4}}, {{1, 4}, {2, 4}}, p), kSameLine);
    EXPECT_EQ(IntersectLines({{0, 4}, {9, 4}}, {{1, 5}, {2, 5}}, p), kNoPoint);
}

TEST(Intersections, LineAgainstCircle) {
    Point p1, p2;
    const Circle c{{0, 0}, 5};
    EXPECT_EQ(IntersectLineCircle({{3, -9}, {3, 9}}, c, p1, p2), kOnePoint);
    EXPECT_EQ(p1, (Point{3, 4}));
    EXPECT_EQ(p2, (Point{3, -4}));
    EXPECT_EQ(IntersectLineCircle({{-9, 5}, {9, 5}}, c, p1, p2), kOnePoint);  // tangent
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(IntersectLineCircle({{6, -9}, {6, 9}}, c, p1, p2), kNoPoint);
    EXPECT_EQ(IntersectLineCircle({{-10, -10}, {10, 10}}, c, p1, p2), kOnePoint);
    EXPECT_NEAR(p1.x, 5 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(p2.y, -5 / std::sqrt(2.0), 1e-12);
    EXPECT_EQ(IntersectLineCircle({{-10, 0}, {0, 10}}, c, p1, p2), kNoPoint);
}

TEST(Intersections, CircleAgainstCircle) {
    Point p1, p2;
    EXPECT_EQ(IntersectCircles({{0, 0}, 5}, {{6, 0}, 5}, p1, p2), kOnePoint);
    EXPECT_NEAR(p1.x, 3, 1e-12);
    EXPECT_NEAR(p1.y, 4, 1e-12);
    EXPECT_NEAR(p2.y, -4, 1e-12);
    // Touching from outside gives the touching point twice.
    EXPECT_EQ(IntersectCircles({{0, 0}, 2}, {{5, 0}, 3}, p1, p2), kOnePoint);
    EXPECT_NEAR(p1.x, 2, 1e-7);
    EXPECT_NEAR(p1.y, 0, 1e-6);
    EXPECT_EQ(IntersectCircles({{0, 0}, 1}, {{5, 0}, 1}, p1, p2), kNoPoint);
    EXPECT_EQ(IntersectCircles({{0, 0}, 1}, {{0.5, 0}, 3}, p1, p2), kNoPoint);  // nested
    EXPECT_EQ(IntersectCircles({{0, 0}, 1, 2, 3}, {{0, 0.001}, 1, 2, 3}, p1, p2), kSameLine);
    EXPECT_EQ(IntersectCircles({{0, 0}, 1, 2, 3}, {{0, 0}, 1, 2, 4}, p1, p2), kNoPoint);
}

TEST(Intersections, ArcAgainstBox) {
    // Upper half circle of radius 5 about the origin.
    const Point c{0, 0};
    EXPECT_TRUE(ArcTouchesBox(c, 5, 0, kPi, 4, -1, 6, 1));     // holds the start point
    EXPECT_TRUE(ArcTouchesBox(c, 5, 0, kPi, -1, 4, 1, 6));     // crossed at the top
    EXPECT_FALSE(ArcTouchesBox(c, 5, 0, kPi, -1, -6, 1, -4));  // only the lower half is there
    EXPECT_FALSE(ArcTouchesBox(c, 5, 0, kPi, -1, -1, 1, 1));   // box well inside the circle
    EXPECT_TRUE(ArcTouchesBox(c, 5, 0, kTwoPi, -1, -6, 1, -4));
}

}  // namespace
}  // namespace zevo
