#include "checks/pair_gap.h"

#include <gtest/gtest.h>

#include <random>

#include "check_boards.h"

namespace zevo {
namespace {

using namespace test;

// Points covering a shape independently of the code under test: its outline finely sampled
// (round shapes as a core with a radius) and a test of whether a point lies inside.
struct Sampled {
    std::vector<Point> core;  // for round shapes: the core; for the others: the outline
    double radius = 0;
    std::vector<Point> polygon;  // convex outline of the square and rectangle shapes
    std::vector<Point> sweep;    // a square line: its segment
    double sweepHalf = 0;
    bool inside(Point p) const;
};

// Inside a polygon, or within the square's half size (largest axis distance) of a swept segment;
// the axis distance along the segment is convex, so a ternary search finds its least value.
bool Sampled::inside(Point p) const {
    if (!sweep.empty()) {
        auto at = [&](double t) {
            const Point c{sweep[0].x + (sweep[1].x - sweep[0].x) * t,
                          sweep[0].y + (sweep[1].y - sweep[0].y) * t};
            return std::max(std::fabs(p.x - c.x), std::fabs(p.y - c.y));
        };
        double lo = 0, hi = 1;
        for (int i = 0; i < 100; ++i) {
            const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
            (at(m1) < at(m2) ? hi : lo) = at(m1) < at(m2) ? m2 : m1;
        }
        return at(lo) <= sweepHalf;
    }
    if (polygon.size() < 3) return false;
    int sign = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], c = polygon[(i + 1) % polygon.size()];
        const double cr = (c.x - a.x) * (p.y - a.y) - (c.y - a.y) * (p.x - a.x);
        const int s = cr > 0 ? 1 : cr < 0 ? -1 : 0;
        if (s && sign && s != sign) return false;
        if (s) sign = s;
    }
    return true;
}

void SampleSegment(Point a, Point b, double step, std::vector<Point>& out) {
    const int n = std::max(1, static_cast<int>(std::sqrt(DistSq(a, b)) / step));
    for (int i = 0; i <= n; ++i)
        out.push_back({a.x + (b.x - a.x) * i / n, a.y + (b.y - a.y) * i / n});
}

Sampled Sample(const Board& b, const drawn* e, double step) {
    Sampled s;
    auto square = [&](Point p, double h) {
        return std::vector<Point>{
            {p.x - h, p.y - h}, {p.x + h, p.y - h}, {p.x + h, p.y + h}, {p.x - h, p.y + h}};
    };
    if (e->kind == kLand) {
        if (e->square())
            s.polygon = square(e->ref(), e->halfSize(b));
        else
            s.core = {e->ref()}, s.radius = e->halfSize(b);
    } else if (e->kind == kLine) {
        const line* l = static_cast<const line*>(e);
        if (e->square()) {
            // The swept square: the edges between corners of the end squares with every other
            // corner on one side are its outline.
            const double h = e->halfSize(b);
            auto c = square(l->start(), h), d = square(l->end(), h);
            c.insert(c.end(), d.begin(), d.end());
            for (size_t i = 0; i < c.size(); ++i)
                for (size_t j = 0; j < c.size(); ++j) {
                    if (i == j || c[i] == c[j]) continue;
                    bool outline = true;
                    for (Point q : c)
                        outline &= (c[j].x - c[i].x) * (q.y - c[i].y) -
                                       (c[j].y - c[i].y) * (q.x - c[i].x) >=
                                   -1e-12;
                    if (outline) SampleSegment(c[i], c[j], step, s.core);
                }
            s.sweep = {l->start(), l->end()};
            s.sweepHalf = h;
            return s;
        }
        SampleSegment(l->start(), l->end(), step, s.core);
        s.radius = e->halfSize(b);
    } else if (e->kind == kArc) {
        const arc* a = static_cast<const arc*>(e);
        const int n = std::max(8, static_cast<int>(a->r * (a->end - a->st) / step));
        for (int i = 0; i <= n; ++i) {
            const double t = a->st + (a->end - a->st) * i / n;
            s.core.push_back({a->x + a->r * std::cos(t), a->y + a->r * std::sin(t)});
        }
        s.radius = b.roundHalf(a->aperture);
    } else {
        const rect* r = static_cast<const rect*>(e);
        s.polygon.assign(r->corners, r->corners + 4);
    }
    for (size_t i = 0; i < s.polygon.size(); ++i)
        SampleSegment(s.polygon[i], s.polygon[(i + 1) % s.polygon.size()], step, s.core);
    return s;
}

double SampledDistance(const Sampled& a, const Sampled& c) {
    for (Point p : a.core)
        if (c.inside(p)) return 0;
    for (Point p : c.core)
        if (a.inside(p)) return 0;
    double best = INFINITY;
    for (Point p : a.core)
        for (Point q : c.core) best = std::min(best, DistSq(p, q));
    return std::max(0.0, std::sqrt(best) - a.radius - c.radius);
}

// Distance of a point from the outline of a sampled shape.
double FromOutline(const Sampled& s, Point p) {
    double best = INFINITY;
    for (Point q : s.core) best = std::min(best, std::fabs(std::sqrt(DistSq(p, q)) - s.radius));
    return best;
}

drawn* RandomShape(Board& b, std::mt19937& rng, int kind) {
    std::uniform_real_distribution<double> pos(0, 4), ang(0, kTwoPi);
    std::uniform_int_distribution<int> ap(3, 15);
    const Point p{pos(rng), pos(rng)};
    switch (kind) {
        case 0:
            return b.CreateLand(kTop, ap(rng), false, p);
        case 1:
            return b.CreateLand(kTop, ap(rng), true, p);
        case 2:
            return b.CreateLine(kTop, ap(rng), false, p, {pos(rng), pos(rng)});
        case 3:
            return b.CreateLine(kTop, ap(rng), true, p, {pos(rng), pos(rng)});
        case 4: {
            const double st = ang(rng);
            return b.CreateArc(kTop, ap(rng) % 6, p, 0.5 + pos(rng) / 2, st, st + ang(rng));
        }
        default:
            return b.CreateRect(kTop, 0, p, 0.2 + pos(rng) / 2, 0.2 + pos(rng) / 3, ang(rng));
    }
}

TEST(PairGap, RoundLandsFollowTheModel) {
    Board b;
    b.SetRoundAperture(10, 0.5);
    land* a = b.CreateLand(kTop, 10, false, {0, 0});
    land* c = b.CreateLand(kTop, 10, false, {1.2, 0});
    PairGapResult r;
    ASSERT_TRUE(PairGap(b, a, c, r));
    EXPECT_FALSE(r.overlap);
    EXPECT_NEAR(r.gap, 0.2, 1e-12);
    EXPECT_NEAR(r.nearA.x, 0.5, 1e-12);
    EXPECT_NEAR(r.nearB.x, 0.7, 1e-12);
    c->moveTo(b, {1.0, 0});
    ASSERT_TRUE(PairGap(b, a, c, r));
    EXPECT_TRUE(r.overlap);  // touching counts
    EXPECT_NEAR(r.contact.x, 0.5, 1e-12);
    c->moveTo(b, {0.001, 0});
    ASSERT_TRUE(PairGap(b, a, c, r));
    EXPECT_EQ(r.contact, a->ref());  // coinciding centres: a's centre
    group* g = b.CreateGroup(Intern("x"));
    EXPECT_FALSE(PairGap(b, a, g, r));
    b.AppendElement(nullptr, g);
    for (drawn* d : {static_cast<drawn*>(a), static_cast<drawn*>(c)}) b.AppendElement(nullptr, d);
}

// Every pair of the six shapes, both orders, against distances sampled from the shapes.
TEST(PairGap, EveryShapePairAgreesWithSampledDistances) {
    std::mt19937 rng(7);
    Board b;
    const double step = 0.01;
    int overlaps = 0, gaps = 0;
    for (int ka = 0; ka < 6; ++ka)
        for (int kb = 0; kb < 6; ++kb)
            for (int trial = 0; trial < 12; ++trial) {
                drawn* a = RandomShape(b, rng, ka);
                drawn* c = RandomShape(b, rng, kb);
                b.AppendElement(nullptr, a);
                b.AppendElement(nullptr, c);
                const Sampled sa = Sample(b, a, step), sc = Sample(b, c, step);
                const double sampled = SampledDistance(sa, sc);
                PairGapResult r;
                ASSERT_TRUE(PairGap(b, a, c, r));
                SCOPED_TRACE(testing::Message()
                             << "kinds " << ka << "," << kb << " trial " << trial);
                if (r.overlap) {
                    ++overlaps;
                    EXPECT_LT(sampled, 2 * step);
                } else {
                    ++gaps;
                    EXPECT_LE(r.gap, sampled + 1e-9);
                    EXPECT_GT(r.gap, sampled - 2 * step);
                    EXPECT_NEAR(Dist(r.nearA, r.nearB), r.gap, 1e-9);
                    EXPECT_LT(FromOutline(sa, r.nearA), 2 * step);
                    EXPECT_LT(FromOutline(sc, r.nearB), 2 * step);
                }
            }
    EXPECT_GT(overlaps, 50);
    EXPECT_GT(gaps, 50);
}

}  // namespace
}  // namespace zevo
