// The geometry of the line editing tools on a plain board, and the models of their dialogs.
#include "tools/line_edit_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/line_tools.h"

namespace zevo::test {
namespace {

class LineGeometry : public ::testing::Test {
  protected:
    Board board;
    std::vector<drawn*> made;

    ~LineGeometry() override {
        for (drawn* d : made) d->destroy(board);
    }
    line* Line(Point a, Point b) {
        line* l = board.CreateLine(1, 0, false, a, b);
        board.AppendElement(nullptr, l);
        return l;
    }
    arc* Arc(Point c, double r, double st, double en) {
        arc* a = board.CreateArc(1, 0, c, r, ToRadians(st), ToRadians(en));
        board.AppendElement(nullptr, a);
        return a;
    }
    static double Deg(double a) { return ToDegrees(a); }
    // Distance from p to the infinite line through a and b.
    static double LineDistance(Point p, Point a, Point b) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / std::hypot(dx, dy);
    }
};

TEST_F(LineGeometry, ArcsSplitAcrossZeroAndFullCirclesAtTheNearestPoint) {
    // An arc from 300 to 420 degrees, split at its point nearest to (20, 10): 360 degrees.
    const arc* a = Arc({10, 10}, 5, 300, 420);
    ASSERT_EQ(SplitElement(board, a, {20, 10}, made), EditOutcome::kDone);
    ASSERT_EQ(made.size(), 2u);
    const auto* first = static_cast<const arc*>(made[0]);
    const auto* second = static_cast<const arc*>(made[1]);
    EXPECT_NEAR(Deg(first->st), 300, 1e-9);
    EXPECT_NEAR(Deg(first->end), 360, 1e-9);
    EXPECT_NEAR(Deg(second->st), 0, 1e-9);
    EXPECT_NEAR(Deg(second->end), 60, 1e-9);
    for (drawn* d : made) d->destroy(board);
    made.clear();

    // A full circle opens at its start and at the click.
    const arc* circle = Arc({40, 40}, 5, 0, 360);
    ASSERT_EQ(SplitElement(board, circle, {40, 47}, made), EditOutcome::kDone);
    EXPECT_NEAR(Deg(static_cast<const arc*>(made[0])->end), 90, 1e-9);
    EXPECT_NEAR(Deg(static_cast<const arc*>(made[1])->st), 90, 1e-9);
    EXPECT_NEAR(Deg(static_cast<const arc*>(made[1])->end), 360, 1e-9);
    for (drawn* d : made) d->destroy(board);
    made.clear();
    // A click beyond an arc's end takes the end: nothing to split.
    const arc* quarter = Arc({10, 40}, 5, 0, 90);
    EXPECT_EQ(SplitElement(board, quarter, {5, 35}, made), EditOutcome::kNoGeometry);
    EXPECT_TRUE(made.empty());
}

TEST_F(LineGeometry, AMovedArcStartKeepsTheEndAndAnEmptyCopyIsRefused) {
    const arc* a = Arc({0, 0}, 10, 0, 90);
    drawn* copy = WithEndMoved(board, a, a->startPt, {-10, -10});  // to 225 degrees
    ASSERT_NE(copy, nullptr);
    made.push_back(copy);
    const auto* k = static_cast<const arc*>(copy);
    EXPECT_NEAR(Deg(k->end) - Deg(k->st), 225, 1e-9);  // from 225 round to 450 (= 90)
    EXPECT_NEAR(k->endPt.y, 10, 1e-9);
    // The end turned onto the start would leave no arc; a line end onto its other end neither.
    EXPECT_EQ(WithEndMoved(board, a, a->endPt, {20, 0}), nullptr);
    const line* l = Line({0, 0}, {10, 0});
    EXPECT_EQ(WithEndMoved(board, l, l->end(), {0, 0.001}), nullptr);
}

TEST_F(LineGeometry, AnAcuteCornerGetsAnArcTangentToBothLines) {
    // Two lines meeting at 60 degrees at the origin (extended: they stop short of it).
    const line* e = Line({1, 0}, {20, 0});
    const line* f = Line({0.5 * 20, std::sqrt(3.0) / 2 * 20}, {0.5, std::sqrt(3.0) / 2});
    ASSERT_EQ(ChamferCorner(board, e, f, 2, made), EditOutcome::kDone);
    ASSERT_EQ(made.size(), 3u);
    const auto* k = static_cast<const arc*>(made[2]);
    EXPECT_NEAR(k->r, 2, 1e-12);
    EXPECT_NEAR(LineDistance(k->centre(), e->start(), e->end()), 2, 1e-9);
    EXPECT_NEAR(LineDistance(k->centre(), f->start(), f->end()), 2, 1e-9);
    EXPECT_NEAR(Deg(k->end - k->st), 120, 1e-9);  // 180 - 60
    // The lines now end at the tangent points, which are the arc's ends; far ends kept.
    const auto* e2 = static_cast<const line*>(made[0]);
    const auto* f2 = static_cast<const line*>(made[1]);
    const double t = 2 / std::tan(ToRadians(30));
    EXPECT_NEAR(e2->x, t, 1e-9);
    EXPECT_EQ(e2->end(), e->end());
    EXPECT_EQ(f2->start(), f->start());
    EXPECT_TRUE(SamePoint(k->startPt, e2->start()) || SamePoint(k->endPt, e2->start()));
    EXPECT_TRUE(SamePoint(k->startPt, f2->end()) || SamePoint(k->endPt, f2->end()));
    for (drawn* d : made) d->destroy(board);
    made.clear();
    // No radius, or none that fits on what is kept.
    EXPECT_EQ(ChamferCorner(board, e, f, 0, made), EditOutcome::kNoGeometry);
    EXPECT_EQ(ChamferCorner(board, e, f, 50, made), EditOutcome::kNoGeometry);
}

TEST_F(LineGeometry, ConnectAndStretchRefuseWhatHasNoCrossing) {
    const line* a = Line({0, 0}, {10, 0});
    const line* b = Line({20, 0}, {30, 0});  // the same line: no single crossing
    std::vector<const drawn*> replaced;
    EXPECT_EQ(ConnectElements(board, a, {5, 0}, b, {25, 0}, replaced, made),
              EditOutcome::kNoGeometry);
    rect* r = board.CreateRect(1, 0, {50, 50}, 2, 2, 0);
    board.AppendElement(nullptr, r);
    EXPECT_EQ(StretchElement(board, a, {9, 0}, r, {0, 0}, made), EditOutcome::kNoGeometry);
    const arc* far = Arc({50, 0}, 1, 0, 90);
    EXPECT_EQ(StretchElement(board, Line({0, 20}, {10, 20}), {9, 20}, far, {0, 0}, made),
              EditOutcome::kNoGeometry);
    EXPECT_TRUE(made.empty());
}

TEST_F(LineGeometry, MiddleLineCountsAreKeptWithinBounds) {
    LineSetValues v;
    v.spacing = 1, v.length = 2, v.count = 0;
    EXPECT_TRUE(MiddleLines(board, {0, 0}, {0, 2}, v, 1, 0).empty());
    v.count = -5;
    EXPECT_TRUE(MiddleLines(board, {0, 0}, {0, 2}, v, 1, 0).empty());
    v.count = 1 << 30;
    made = MiddleLines(board, {0, 0}, {0, 2}, v, 1, 0);
    EXPECT_EQ(made.size(), size_t(kMaxLineSetCount));
}

TEST_F(LineGeometry, ASectionFollowsJoinedLinesOnlyWithoutBranches) {
    // A square: every corner joins two lines, so the run goes round.
    const line* s1 = Line({0, 0}, {10, 0});
    const line* s2 = Line({10, 0}, {10, 10});
    const line* s3 = Line({10, 10}, {0, 10});
    const line* s4 = Line({0, 10}, {0, 0});
    EXPECT_EQ(SectionOf(board, s1, s3), (std::vector<const line*>{s1, s2, s3}));
    EXPECT_EQ(SectionOf(board, s1, s4).size(), 2u);  // the short way: s1 then s4
    // A branch at (10, 10) ends the run there.
    Line({10, 10}, {20, 20});
    EXPECT_EQ(SectionOf(board, s2, s3), (std::vector<const line*>{s2, s1, s4, s3}));
    EXPECT_EQ(SectionOf(board, s1, s3), (std::vector<const line*>{s1, s4, s3}));
    // A line of another layer at a corner is no part of it.
    line* other = board.CreateLine(2, 0, false, {0, 0}, {-10, 0});
    board.AppendElement(nullptr, other);
    EXPECT_TRUE(SectionOf(board, s1, other).empty());
}

TEST_F(LineGeometry, SectionParallelsJoinStraightContinuationsAndTurnBacksWithoutSpikes) {
    // Straight on: one offset point where the two lines meet.
    const line* a = Line({0, 0}, {10, 0});
    const line* b = Line({10, 0}, {20, 0});
    LineSetValues v;
    v.spacing = 1, v.count = 1;
    made = SectionParallels(board, {a, b}, {5, 3}, v, 1, 0);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(static_cast<const line*>(made[0])->end(), (Point{10, 1}));
    EXPECT_EQ(static_cast<const line*>(made[1])->start(), (Point{10, 1}));
    for (drawn* d : made) d->destroy(board);
    made.clear();
    // Turning back: the two offsets are joined by a short line across the turn.
    const line* c = Line({30, 5}, {40, 5});
    const line* d = Line({40, 5}, {30, 5.001});
    made = SectionParallels(board, {c, d}, {35, 8}, v, 1, 0);
    for (const drawn* m : made) {
        const auto* l = static_cast<const line*>(m);
        EXPECT_LT(std::max(l->x, l->ex), 41.01);  // nothing runs far beyond the turn
    }
    // A click on the run's own line makes nothing.
    for (drawn* m : made) m->destroy(board);
    made = SectionParallels(board, {a, b}, {25, 0}, v, 1, 0);
    EXPECT_TRUE(made.empty());
}

// ------------------------------------------------------------------ dialog models

TEST(LineToolDialogs, TheValuesAreReadAsExpressionsAndTheCountIsTakenWhole) {
    LineSetValues v;
    LineSetInputModel m(LineSetInputModel::Kind::kMiddle, v);
    EXPECT_EQ(m.spacing, "1");
    EXPECT_EQ(m.length, "10");
    EXPECT_EQ(m.count, "1");
    m.spacing = "(";
    ASSERT_TRUE(m.decide());
    EXPECT_EQ(m.decide()->control, LineSetInputModel::kFieldSpacing);
    EXPECT_FALSE(m.decided());
    m.spacing = "0.25*2";
    m.length = "3+1";
    m.count = "2.7";
    EXPECT_FALSE(m.decide());
    EXPECT_TRUE(m.decided());
    EXPECT_EQ(m.values(), (LineSetValues{0.5, 4, 2}));
    m.count = "-3";
    m.decide();
    EXPECT_EQ(m.values().count, 0);
    m.count = "1e12";
    m.decide();
    EXPECT_EQ(m.values().count, kMaxLineSetCount);

    // The length of an arc's parallels is not asked: a bad text there is no error.
    LineSetInputModel arcs(LineSetInputModel::Kind::kParallelArc, v);
    EXPECT_FALSE(arcs.lengthEnabled());
    arcs.length = "(";
    EXPECT_FALSE(arcs.decide());
    EXPECT_EQ(arcs.values().length, 10);
    LineSetInputModel counts(LineSetInputModel::Kind::kSection, v);
    counts.count = "x";
    ASSERT_TRUE(counts.decide());
    EXPECT_EQ(counts.decide()->control, LineSetInputModel::kFieldCount);
}

TEST(LineToolDialogs, TheConnectChoiceAndTheChamferRadius) {
    DrawingSettings s;
    EXPECT_EQ(ConnectSettingsModel(s).click, ConnectSettingsModel::Click::kConnect);
    ConnectSettingsModel m(s);
    m.click = ConnectSettingsModel::Click::kSplit;
    m.store(s);
    EXPECT_TRUE(s.splitByClick);
    EXPECT_FALSE(s.stretchByClick);
    EXPECT_EQ(ConnectSettingsModel(s).click, ConnectSettingsModel::Click::kSplit);
    m.click = ConnectSettingsModel::Click::kConnect;
    m.store(s);
    EXPECT_FALSE(s.splitByClick || s.stretchByClick);

    ChamferRadiusModel r(s.chamferRadius);
    EXPECT_EQ(r.radius, "0.5");
    r.radius = "2*";
    EXPECT_TRUE(r.decide());
    EXPECT_FALSE(r.decided());
    r.radius = "1.5";
    EXPECT_FALSE(r.decide());
    EXPECT_EQ(r.value(), 1.5);
}

}  // namespace
}  // namespace zevo::test
