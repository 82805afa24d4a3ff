#include "checks/pair_gap.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zevo {

namespace {

// A shape is a core (a point, a segment, an arc of a circle or a filled convex polygon) grown by
// a disc of `radius` (0 for the polygons). The distance of two shapes is the distance of their
// cores less both radii, so every pair reduces to the nearest points of two cores.
struct Shape {
    enum Core { kPointCore, kSegmentCore, kArcCore, kPolygonCore } core = kPointCore;
    Point p0, p1;                  // point, segment
    Point c;                       // arc centre
    double R = 0, st = 0, en = 0;  // arc radius and angles (st <= en, as arcs keep them)
    Point poly[8];                 // convex polygon, counter-clockwise
    int n = 0;
    double radius = 0;
};

double Cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Convex hull of up to 8 points (monotone chain), counter-clockwise.
int Hull(Point* pts, int n, Point* out) {
    std::sort(pts, pts + n,
              [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    int k = 0;
    for (int i = 0; i < n; ++i) {
        while (k >= 2 && Cross(out[k - 2], out[k - 1], pts[i]) <= 0) --k;
        out[k++] = pts[i];
    }
    for (int i = n - 2, t = k + 1; i >= 0; --i) {
        while (k >= t && Cross(out[k - 2], out[k - 1], pts[i]) <= 0) --k;
        out[k++] = pts[i];
    }
    return std::max(1, k - 1);
}

void SquareAround(Point p, double h, Point* out) {
    out[0] = {p.x - h, p.y - h};
    out[1] = {p.x + h, p.y - h};
    out[2] = {p.x + h, p.y + h};
    out[3] = {p.x - h, p.y + h};
}

bool MakeShape(const Board& b, const container* e, Shape& s) {
    if (!IsDrawn(e)) return false;
    const drawn* d = AsDrawn(e);
    switch (e->kind) {
        case kLand:
            if (d->square()) {
                s.core = Shape::kPolygonCore;
                SquareAround(d->ref(), d->halfSize(b), s.poly);
                s.n = 4;
            } else {
                s.core = Shape::kPointCore;
                s.p0 = d->ref();
                s.radius = d->halfSize(b);
            }
            return true;
        case kLine: {
            const line* l = static_cast<const line*>(e);
            if (d->square()) {
                Point pts[8];
                SquareAround(l->start(), d->halfSize(b), pts);
                SquareAround(l->end(), d->halfSize(b), pts + 4);
                s.core = Shape::kPolygonCore;
                s.n = Hull(pts, 8, s.poly);
            } else {
                s.core = Shape::kSegmentCore;
                s.p0 = l->start();
                s.p1 = l->end();
                s.radius = d->halfSize(b);
            }
            return true;
        }
        case kArc: {
            const arc* a = static_cast<const arc*>(e);
            s.core = Shape::kArcCore;
            s.c = a->centre();
            s.R = a->r;
            s.st = a->st;
            s.en = a->end;
            s.p0 = a->startPt;
            s.p1 = a->endPt;
            s.radius = b.roundHalf(a->aperture);
            return true;
        }
        case kRect: {
            const rect* r = static_cast<const rect*>(e);
            s.core = Shape::kPolygonCore;
            Point pts[4] = {r->corners[0], r->corners[1], r->corners[2], r->corners[3]};
            s.n = Hull(pts, 4, s.poly);
            return true;
        }
        default:
            return false;
    }
}

// The nearest pair found so far.
struct Nearest {
    double d2 = INFINITY;
    Point a, b;
    void offer(Point pa, Point pb) {
        const double v = DistSq(pa, pb);
        if (v < d2) d2 = v, a = pa, b = pb;
    }
    bool touching() const { return d2 == 0; }
};

Point ClosestOnSegment(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double l2 = vx * vx + vy * vy;
    if (l2 == 0) return a;
    const double t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / l2, 0.0, 1.0);
    return {a.x + t * vx, a.y + t * vy};
}

bool OnArcAngle(const Shape& s, Point p) {
    return AngleOnArc(NormaliseAngle(std::atan2(p.y - s.c.y, p.x - s.c.x)), s.st, s.en);
}

Point ClosestOnArc(Point p, const Shape& s) {
    const double dx = p.x - s.c.x, dy = p.y - s.c.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0) {
        const Point q{s.c.x + s.R * dx / len, s.c.y + s.R * dy / len};
        if (OnArcAngle(s, q)) return q;
    }
    return DistSq(p, s.p0) <= DistSq(p, s.p1) ? s.p0 : s.p1;
}

void SegmentSegment(Point a0, Point a1, Point b0, Point b1, Nearest& n) {
    const double d1 = Cross(b0, b1, a0), d2 = Cross(b0, b1, a1);
    const double d3 = Cross(a0, a1, b0), d4 = Cross(a0, a1, b1);
    if (((d1 < 0 && d2 > 0) || (d1 > 0 && d2 < 0)) && ((d3 < 0 && d4 > 0) || (d3 > 0 && d4 < 0))) {
        const double t = d1 / (d1 - d2);
        const Point x{a0.x + t * (a1.x - a0.x), a0.y + t * (a1.y - a0.y)};
        n.offer(x, x);
        return;
    }
    n.offer(a0, ClosestOnSegment(a0, b0, b1));
    n.offer(a1, ClosestOnSegment(a1, b0, b1));
    n.offer(ClosestOnSegment(b0, a0, a1), b0);
    n.offer(ClosestOnSegment(b1, a0, a1), b1);
}

void SegmentArc(Point a0, Point a1, const Shape& s, Nearest& n) {
    // Crossings of the segment with the circle that lie on the arc.
    const double vx = a1.x - a0.x, vy = a1.y - a0.y;
    const double fx = a0.x - s.c.x, fy = a0.y - s.c.y;
    const double A = vx * vx + vy * vy;
    if (A > 0) {
        const double B = 2 * (fx * vx + fy * vy), C = fx * fx + fy * fy - s.R * s.R;
        const double disc = B * B - 4 * A * C;
        if (disc >= 0) {
            const double sq = std::sqrt(disc);
            for (double t : {(-B - sq) / (2 * A), (-B + sq) / (2 * A)}) {
                if (t < 0 || t > 1) continue;
                const Point x{a0.x + t * vx, a0.y + t * vy};
                if (OnArcAngle(s, x)) {
                    n.offer(x, x);
                    return;
                }
            }
        }
    }
    n.offer(a0, ClosestOnArc(a0, s));
    n.offer(a1, ClosestOnArc(a1, s));
    n.offer(ClosestOnSegment(s.p0, a0, a1), s.p0);
    n.offer(ClosestOnSegment(s.p1, a0, a1), s.p1);
    // Inside both: the foot of the centre on the segment against the arc point on that radius.
    const Point foot = ClosestOnSegment(s.c, a0, a1);
    const double len = std::sqrt(DistSq(foot, s.c));
    if (len > 0) {
        for (double sign : {1.0, -1.0}) {
            const Point q{s.c.x + sign * s.R * (foot.x - s.c.x) / len,
                          s.c.y + sign * s.R * (foot.y - s.c.y) / len};
            if (OnArcAngle(s, q)) n.offer(foot, q);
        }
    }
}

void ArcArc(const Shape& a, const Shape& s, Nearest& n) {
    const double dx = s.c.x - a.c.x, dy = s.c.y - a.c.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > 0 && d <= a.R + s.R && d >= std::fabs(a.R - s.R)) {
        // The two crossings of the circles.
        const double l = (a.R * a.R - s.R * s.R + d * d) / (2 * d);
        const double h = std::sqrt(std::max(0.0, a.R * a.R - l * l));
        const Point m{a.c.x + l * dx / d, a.c.y + l * dy / d};
        for (double sign : {1.0, -1.0}) {
            const Point x{m.x - sign * h * dy / d, m.y + sign * h * dx / d};
            if (OnArcAngle(a, x) && OnArcAngle(s, x)) {
                n.offer(x, x);
                return;
            }
        }
    }
    n.offer(a.p0, ClosestOnArc(a.p0, s));
    n.offer(a.p1, ClosestOnArc(a.p1, s));
    n.offer(ClosestOnArc(s.p0, a), s.p0);
    n.offer(ClosestOnArc(s.p1, a), s.p1);
    if (d > 0) {
        // Inside both arcs the nearest points lie on the line of the centres.
        for (double sa : {1.0, -1.0})
            for (double sb : {1.0, -1.0}) {
                const Point qa{a.c.x + sa * a.R * dx / d, a.c.y + sa * a.R * dy / d};
                const Point qb{s.c.x + sb * s.R * dx / d, s.c.y + sb * s.R * dy / d};
                if (OnArcAngle(a, qa) && OnArcAngle(s, qb)) n.offer(qa, qb);
            }
    }
}

bool InsidePolygon(const Shape& s, Point p) {
    if (s.n < 3) return false;
    for (int i = 0; i < s.n; ++i)
        if (Cross(s.poly[i], s.poly[(i + 1) % s.n], p) < 0) return false;
    return true;
}

template <class F>
void ForEdges(const Shape& s, F&& f) {
    if (s.n == 1) f(s.poly[0], s.poly[0]);
    for (int i = 0; i < s.n && s.n > 1; ++i) f(s.poly[i], s.poly[(i + 1) % s.n]);
}

// Nearest points of two cores, a's first; kinds ordered so that a.core <= s.core.
void Cores(const Shape& a, const Shape& s, Nearest& n) {
    switch (a.core) {
        case Shape::kPointCore:
            switch (s.core) {
                case Shape::kPointCore:
                    n.offer(a.p0, s.p0);
                    return;
                case Shape::kSegmentCore:
                    n.offer(a.p0, ClosestOnSegment(a.p0, s.p0, s.p1));
                    return;
                case Shape::kArcCore:
                    n.offer(a.p0, ClosestOnArc(a.p0, s));
                    return;
                case Shape::kPolygonCore:
                    if (InsidePolygon(s, a.p0)) return n.offer(a.p0, a.p0);
                    ForEdges(s, [&](Point e0, Point e1) {
                        n.offer(a.p0, ClosestOnSegment(a.p0, e0, e1));
                    });
                    return;
            }
            return;
        case Shape::kSegmentCore:
            switch (s.core) {
                case Shape::kSegmentCore:
                    SegmentSegment(a.p0, a.p1, s.p0, s.p1, n);
                    return;
                case Shape::kArcCore:
                    SegmentArc(a.p0, a.p1, s, n);
                    return;
                case Shape::kPolygonCore:
                    if (InsidePolygon(s, a.p0)) return n.offer(a.p0, a.p0);
                    ForEdges(s, [&](Point e0, Point e1) { SegmentSegment(a.p0, a.p1, e0, e1, n); });
                    return;
                default:
                    return;
            }
        case Shape::kArcCore:
            if (s.core == Shape::kArcCore) return ArcArc(a, s, n);
            if (InsidePolygon(s, a.p0)) return n.offer(a.p0, a.p0);
            ForEdges(s, [&](Point e0, Point e1) {
                Nearest m;
                SegmentArc(e0, e1, a, m);
                n.offer(m.b, m.a);
            });
            return;
        case Shape::kPolygonCore:
            if (InsidePolygon(s, a.poly[0])) return n.offer(a.poly[0], a.poly[0]);
            if (InsidePolygon(a, s.poly[0])) return n.offer(s.poly[0], s.poly[0]);
            ForEdges(a, [&](Point a0, Point a1) {
                ForEdges(s, [&](Point b0, Point b1) { SegmentSegment(a0, a1, b0, b1, n); });
            });
            return;
    }
}

}  // namespace

bool PairGap(const Board& b, const container* a, const container* c, PairGapResult& out) {
    Shape sa, sc;
    if (!MakeShape(b, a, sa) || !MakeShape(b, c, sc)) return false;
    Nearest n;
    if (sa.core <= sc.core) {
        Cores(sa, sc, n);
    } else {
        Nearest m;
        Cores(sc, sa, m);
        n.d2 = m.d2, n.a = m.b, n.b = m.a;
    }
    const double d = n.d2 < kEps ? 0.0 : std::sqrt(n.d2);
    const double rA = sa.radius, rB = sc.radius;
    out = {};
    if (d <= rA + rB) {
        out.overlap = true;
        out.contact = SamePoint(n.a, n.b) || rA + rB <= 0
                          ? n.a
                          : Point{n.a.x + (n.b.x - n.a.x) * rA / (rA + rB),
                                  n.a.y + (n.b.y - n.a.y) * rA / (rA + rB)};
        return true;
    }
    const double ux = (n.b.x - n.a.x) / d, uy = (n.b.y - n.a.y) / d;
    out.nearA = {n.a.x + rA * ux, n.a.y + rA * uy};
    out.nearB = {n.b.x - rB * ux, n.b.y - rB * uy};
    out.gap = Dist(out.nearA, out.nearB);
    return true;
}

}  // namespace zevo
