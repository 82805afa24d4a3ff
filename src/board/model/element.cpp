#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "board/model/board.h"

namespace zevo {

// ---------------------------------------------------------------- helpers

namespace {

Point Rotated(Point p, Point c, double cs, double sn) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    return {c.x + cs * dx - sn * dy, c.y + sn * dx + cs * dy};
}

bool InsideBox(Point p, Point min, Point max) {
    return Between(p.x, min.x, max.x) && Between(p.y, min.y, max.y);
}

bool OutsideGrown(const Box& b, Point p, double t) {
    return p.x < b.minX - t || p.x > b.maxX + t || p.y < b.minY - t || p.y > b.maxY + t;
}

// Does the circle of radius r about c cross one of the four edges of the box?
bool CircleCrossesBoxEdges(Point c, double r, Point min, Point max) {
    for (double Y : {min.y, max.y}) {
        const double d = Y - c.y;
        if (d * d <= r * r) {
            const double s = std::sqrt(std::max(0.0, r * r - d * d));
            if (Between(c.x + s, min.x, max.x) || Between(c.x - s, min.x, max.x)) return true;
        }
    }
    for (double X : {min.x, max.x}) {
        const double d = X - c.x;
        if (d * d <= r * r) {
            const double s = std::sqrt(std::max(0.0, r * r - d * d));
            if (Between(c.y + s, min.y, max.y) || Between(c.y - s, min.y, max.y)) return true;
        }
    }
    return false;
}

// Squared-distance form of "p within t of the closed polygon's outline".
bool NearOutline(Point p, const Point* pts, int n, double t) {
    for (int i = 0; i < n; ++i)
        if (DistToSegment(p, pts[i], pts[(i + 1) % n]) < t) return true;
    return false;
}

bool OutlineTouchesBox(const Point* pts, int n, Point min, Point max) {
    for (int i = 0; i < n; ++i)
        if (SegmentTouchesBox(pts[i], pts[(i + 1) % n], min, max)) return true;
    return false;
}

// Outline of a square pen of half side h swept from a to b: the convex hull of the two squares,
// counter-clockwise. Returns the number of corners (4 or 6).
int SquareStrokeOutline(Point a, Point b, double h, Point out[8]) {
    Point pts[8] = {{a.x - h, a.y - h}, {a.x + h, a.y - h}, {a.x + h, a.y + h}, {a.x - h, a.y + h},
                    {b.x - h, b.y - h}, {b.x + h, b.y - h}, {b.x + h, b.y + h}, {b.x - h, b.y + h}};
    std::sort(pts, pts + 8,
              [](Point p, Point q) { return p.x < q.x || (p.x == q.x && p.y < q.y); });
    auto cross = [](Point o, Point p, Point q) {
        return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
    };
    Point hull[16];
    int k = 0;
    for (int i = 0; i < 8; ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    for (int i = 6, lo = k + 1; i >= 0; --i) {
        while (k >= lo && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    const int n = std::min(k - 1, 8);
    for (int i = 0; i < n; ++i) out[i] = hull[i];
    return n;
}

}  // namespace

double DistToSegment(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double u = len2 > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len2 : 0;
    u = std::clamp(u, 0.0, 1.0);
    return Dist(p, {a.x + u * vx, a.y + u * vy});
}

bool SegmentTouchesBox(Point a, Point b, Point min, Point max) {
    // Liang-Barsky clipping against the closed box.
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
        return true;
    };
    return clip(-dx, a.x - min.x) && clip(dx, max.x - a.x) && clip(-dy, a.y - min.y) &&
           clip(dy, max.y - a.y);
}

// ---------------------------------------------------------------- container

container::~container() {
    std::fputs("Class container: Can not calling destructor\n", stderr);
    std::abort();
}

void container::destroy(Board& b) {
    recycle(b);
}

double drawn::halfSize(const Board& b) const {
    return square() ? b.squareHalf(aperture) : b.roundHalf(aperture);
}

void drawn::copyFrom(const drawn& o) {
    kind = o.kind;
    parent = o.parent;
    scratchA = o.scratchA;
    scratchB = o.scratchB;
    x = o.x;
    y = o.y;
    bounds = o.bounds;
    aperture = o.aperture;
    layer = o.layer;
    flags = o.flags;
    pinNo = o.pinNo;
    mark = o.mark;
    pinName = o.pinName;
    netName = o.netName;
}

void drawn::translateBase(const Board& b, double dx, double dy) {
    b.changes.record(ChangeCount::kMoved, this);
    x += dx;
    y += dy;
    bounds.minX += dx;
    bounds.maxX += dx;
    bounds.minY += dy;
    bounds.maxY += dy;
}

template <class T>
static void Release(Board& b, T* e, NodePool<T>& pool) {
    if (e->linked()) e->unlink(b.changes);
    pool.give(e);
}

// ---------------------------------------------------------------- land

void land::recycle(Board& b) {
    Release(b, this, b.pools.lands);
}
container* land::clone(Board& b) const {
    land* c = b.pools.lands.take();
    c->copyFrom(*this);
    return c;
}
void land::translate(Board& b, double dx, double dy) {
    translateBase(b, dx, dy);
}
void land::moveTo(Board& b, Point p) {
    translate(b, p.x - x, p.y - y);
}
void land::moveVertex(Board& b, Point, double dx, double dy) {
    translate(b, dx, dy);
}
void land::rotate(Board& b, Point c, double a) {
    const Point p = Rotated(ref(), c, std::cos(a), std::sin(a));
    x = p.x;
    y = p.y;
    updateBounds(b);
}
void land::mirror(Board& b, double ax) {
    x = 2 * ax - x;
    updateBounds(b);
}
void land::updateBounds(const Board& b) {
    b.changes.record(ChangeCount::kMoved, this);
    const double h = halfSize(b);
    bounds = {x - h, y - h, x + h, y + h};
}
bool land::touchesBox(const Board& b, Point min, Point max) const {
    const double h = halfSize(b);
    if (!square()) return CircleCrossesBoxEdges(ref(), h, min, max);
    // A horizontal side of the square crossing a vertical box edge, or the other way round.
    for (double sy : {y - h, y + h})
        for (double bx : {min.x, max.x})
            if (Between(bx, x - h, x + h) && Between(sy, min.y, max.y)) return true;
    for (double sx : {x - h, x + h})
        for (double by : {min.y, max.y})
            if (Between(by, y - h, y + h) && Between(sx, min.x, max.x)) return true;
    return false;
}
static bool LandHit(Point c, double h, bool square, const Box& bounds, Point p, double t) {
    if (!square) return std::fabs(Dist(p, c) - h) < t;
    if (std::fabs(std::fabs(p.x - c.x) - h) < t && p.y > bounds.minY - t && p.y < bounds.maxY + t)
        return true;
    return std::fabs(std::fabs(p.y - c.y) - h) < t && p.x > bounds.minX - t &&
           p.x < bounds.maxX + t;
}
bool land::hitTest(const Board& b, Point p, double t) const {
    if (OutsideGrown(bounds, p, t)) return false;
    return LandHit(ref(), halfSize(b), square(), bounds, p, t);
}
Point land::nearEnd(Point) const {
    return ref();
}
Point land::farEnd(Point) const {
    return ref();
}
bool land::isNodePoint(Point p) const {
    return SamePoint(p, ref());
}

// ---------------------------------------------------------------- line

void line::recycle(Board& b) {
    Release(b, this, b.pools.lines);
}
container* line::clone(Board& b) const {
    line* c = b.pools.lines.take();
    c->copyFrom(*this);
    c->ex = ex;
    c->ey = ey;
    return c;
}
void line::translate(Board& b, double dx, double dy) {
    translateBase(b, dx, dy);
    ex += dx;
    ey += dy;
}
void line::moveTo(Board& b, Point p) {
    translate(b, p.x - x, p.y - y);
}
void line::moveVertex(Board& b, Point p, double dx, double dy) {
    if (DistSq(p, end()) < kSamePointSq) {
        ex += dx;
        ey += dy;
    } else if (DistSq(p, start()) < kSamePointSq) {
        x += dx;
        y += dy;
    } else {
        return;
    }
    updateBounds(b);
}
void line::rotate(Board& b, Point c, double a) {
    const double cs = std::cos(a), sn = std::sin(a);
    const Point s = Rotated(start(), c, cs, sn), e = Rotated(end(), c, cs, sn);
    x = s.x, y = s.y, ex = e.x, ey = e.y;
    updateBounds(b);
}
void line::mirror(Board& b, double ax) {
    x = 2 * ax - x;
    ex = 2 * ax - ex;
    updateBounds(b);
}
void line::updateBounds(const Board& b) {
    b.changes.record(ChangeCount::kMoved, this);
    const double h = halfSize(b);
    bounds = {std::min(x, ex) - h, std::min(y, ey) - h, std::max(x, ex) + h, std::max(y, ey) + h};
}
bool line::touchesBox(const Board& b, Point min, Point max) const {
    const double h = halfSize(b);
    if (square()) {
        Point outline[8];
        const int n = SquareStrokeOutline(start(), end(), h, outline);
        return OutlineTouchesBox(outline, n, min, max);
    }
    const double len = Dist(start(), end());
    if (len == 0) return CircleCrossesBoxEdges(start(), h, min, max);
    const double nx = -(ey - y) / len * h, ny = (ex - x) / len * h;
    if (SegmentTouchesBox({x + nx, y + ny}, {ex + nx, ey + ny}, min, max)) return true;
    if (SegmentTouchesBox({x - nx, y - ny}, {ex - nx, ey - ny}, min, max)) return true;
    // Round caps: the half circle beyond each end.
    const double dir = std::atan2(ey - y, ex - x);
    return ArcTouchesBox(end(), h, dir - kPi / 2, dir + kPi / 2, min.x, min.y, max.x, max.y) ||
           ArcTouchesBox(start(), h, dir + kPi / 2, dir + 3 * kPi / 2, min.x, min.y, max.x, max.y);
}
bool line::hitTest(const Board& b, Point p, double t) const {
    if (OutsideGrown(bounds, p, t)) return false;
    const double h = halfSize(b);
    if (zeroLength()) return LandHit(start(), h, square(), bounds, p, t);
    if (square()) {
        Point outline[8];
        const int n = SquareStrokeOutline(start(), end(), h, outline);
        return NearOutline(p, outline, n, t);
    }
    const double vx = ex - x, vy = ey - y;
    const double u = ((p.x - x) * vx + (p.y - y) * vy) / (vx * vx + vy * vy);
    if (u >= 0 && u <= 1) {
        const Point foot{x + u * vx, y + u * vy};
        return std::fabs(Dist(p, foot) - h) < t;
    }
    if (IsZero(vx) || IsZero(vy)) {
        const double g = u < 0 ? Dist(p, start()) : Dist(p, end());
        return std::fabs(g - h) < t;
    }
    return std::fabs(Dist(p, start()) - h) < t || std::fabs(Dist(p, end()) - h) < t;
}
Point line::nearEnd(Point p) const {
    return DistSq(p, end()) < DistSq(p, start()) ? end() : start();
}
Point line::farEnd(Point p) const {
    return DistSq(p, end()) > DistSq(p, start()) ? end() : start();
}
bool line::isNodePoint(Point p) const {
    return SamePoint(p, start()) || SamePoint(p, end());
}

// ---------------------------------------------------------------- arc

void arc::recycle(Board& b) {
    Release(b, this, b.pools.arcs);
}
container* arc::clone(Board& b) const {
    arc* c = b.pools.arcs.take();
    c->copyFrom(*this);
    c->startPt = startPt;
    c->endPt = endPt;
    c->r = r;
    c->st = st;
    c->end = end;
    return c;
}
void arc::translate(Board& b, double dx, double dy) {
    translateBase(b, dx, dy);
    startPt.x += dx, startPt.y += dy;
    endPt.x += dx, endPt.y += dy;
}
void arc::moveTo(Board& b, Point p) {
    translate(b, p.x - x, p.y - y);
}
void arc::moveVertex(Board& b, Point p, double dx, double dy) {
    // An end point slides along the circle to the angle of its new place; the centre moves all.
    if (DistSq(p, endPt) < kSamePointSq) {
        end = std::atan2(endPt.y + dy - y, endPt.x + dx - x);
        if (end < st) end += kTwoPi;
    } else if (DistSq(p, startPt) < kSamePointSq) {
        const double span = end - st;
        st = std::atan2(startPt.y + dy - y, startPt.x + dx - x);
        if (st < 0) st += kTwoPi;
        if (end < st) end += kTwoPi;
        if (end - st > kTwoPi) end -= kTwoPi;
        (void)span;
    } else if (DistSq(p, centre()) < kSamePointSq) {
        translate(b, dx, dy);
        return;
    } else {
        return;
    }
    updateBounds(b);
}
void arc::rotate(Board& b, Point c, double a) {
    const Point p = Rotated(centre(), c, std::cos(a), std::sin(a));
    x = p.x, y = p.y;
    st += a;
    end += a;
    updateBounds(b);
}
void arc::mirror(Board& b, double ax) {
    x = 2 * ax - x;
    const double s = kPi - end, e = kPi - st;
    st = s;
    end = e;
    updateBounds(b);
}
void arc::updateBounds(const Board& b) {
    b.changes.record(ChangeCount::kMoved, this);
    NormaliseArc(st, end);
    double h = b.roundHalf(aperture);
    if (h + kEps > r) {
        // Wider than its radius: keep the outer edge, take the widest aperture that still fits.
        const double outer = r + h;
        const double limit = outer / 2 - kEps;
        int best = 0;
        for (int i = 0; i < kApertures; ++i)
            if (b.roundAp[i] < limit && b.roundAp[i] > b.roundAp[best]) best = i;
        aperture = static_cast<int16_t>(best);
        h = b.roundAp[best];
        r = outer - h;
    }
    startPt = {x + r * std::cos(st), y + r * std::sin(st)};
    endPt = {x + r * std::cos(end), y + r * std::sin(end)};
    bounds = {std::min(startPt.x, endPt.x) - h, std::min(startPt.y, endPt.y) - h,
              std::max(startPt.x, endPt.x) + h, std::max(startPt.y, endPt.y) + h};
    const double R = r + h;
    if (st == 0 || end >= kTwoPi) bounds.maxX = x + R;
    if ((st <= kPi && kPi <= end) || end >= 3 * kPi) bounds.minX = x - R;
    if ((st <= kPi / 2 && kPi / 2 <= end) || end >= 5 * kPi / 2) bounds.maxY = y + R;
    if ((st <= 3 * kPi / 2 && 3 * kPi / 2 <= end) || end >= 7 * kPi / 2) bounds.minY = y - R;
}
bool arc::touchesBox(const Board&, Point min, Point max) const {
    return ArcTouchesBox(centre(), r, st, end, min.x, min.y, max.x, max.y);
}
bool arc::hitTest(const Board& b, Point p, double t) const {
    if (OutsideGrown(bounds, p, t)) return false;
    if (SamePoint(p, centre())) return false;
    const double h = b.roundHalf(aperture);
    const double theta = NormaliseAngle(std::atan2(p.y - y, p.x - x));
    if (fullCircle() || AngleOnArc(theta, st, end))
        return std::fabs(std::fabs(Dist(p, centre()) - r) - h) < t;
    return std::fabs(Dist(p, startPt) - h) < t || std::fabs(Dist(p, endPt) - h) < t;
}
Point arc::nearEnd(Point p) const {
    return DistSq(p, endPt) < DistSq(p, startPt) ? endPt : startPt;
}
Point arc::farEnd(Point p) const {
    return DistSq(p, endPt) > DistSq(p, startPt) ? endPt : startPt;
}
bool arc::isNodePoint(Point p) const {
    return SamePoint(p, startPt) || SamePoint(p, endPt);
}

// ---------------------------------------------------------------- rect

void rect::recycle(Board& b) {
    Release(b, this, b.pools.rects);
}
container* rect::clone(Board& b) const {
    rect* c = b.pools.rects.take();
    c->copyFrom(*this);
    c->e1 = e1;
    c->e2 = e2;
    for (int i = 0; i < 4; ++i) c->corners[i] = corners[i];
    c->dx = dx;
    c->dy = dy;
    c->ang = ang;
    return c;
}
void rect::translate(Board& b, double ddx, double ddy) {
    translateBase(b, ddx, ddy);
    e1.x += ddx, e1.y += ddy;
    e2.x += ddx, e2.y += ddy;
    for (Point& c : corners) c.x += ddx, c.y += ddy;
}
void rect::moveTo(Board& b, Point p) {
    translate(b, p.x - x, p.y - y);
}
void rect::moveVertex(Board& b, Point p, double ddx, double ddy) {
    // A centre-line end moves alone: the other end stays, the width across stays.
    Point* moving = nullptr;
    Point fixed;
    if (DistSq(p, e1) < kSamePointSq) {
        moving = &e1;
        fixed = e2;
    } else if (DistSq(p, e2) < kSamePointSq) {
        moving = &e2;
        fixed = e1;
    } else if (DistSq(p, ref()) < kSamePointSq) {
        translate(b, ddx, ddy);
        return;
    } else {
        return;
    }
    const Point m{moving->x + ddx, moving->y + ddy};
    const double len = Dist(m, fixed);
    x = (m.x + fixed.x) / 2;
    y = (m.y + fixed.y) / 2;
    dx = std::clamp(len + dy, 0.02, 500.0);
    if (len > 0)
        ang = moving == &e1 ? std::atan2(m.y - fixed.y, m.x - fixed.x)
                            : std::atan2(fixed.y - m.y, fixed.x - m.x);
    updateBounds(b);
}
void rect::rotate(Board& b, Point c, double a) {
    const Point p = Rotated(ref(), c, std::cos(a), std::sin(a));
    x = p.x, y = p.y;
    ang += a;
    updateBounds(b);
}
void rect::mirror(Board& b, double ax) {
    x = 2 * ax - x;
    ang = kPi - ang;
    updateBounds(b);
}
void rect::updateBounds(const Board& b) {
    b.changes.record(ChangeCount::kMoved, this);
    const double cs = std::cos(ang), sn = std::sin(ang);
    const double half = (dx - dy) / 2;
    e1 = {x + half * cs, y + half * sn};
    e2 = {x - half * cs, y - half * sn};
    const double diag = std::sqrt(dx * dx + dy * dy) / 2;
    const double phi = std::atan2(dy, dx);
    corners[0] = {x + diag * std::cos(ang - phi), y + diag * std::sin(ang - phi)};
    corners[1] = {x + diag * std::cos(ang + phi), y + diag * std::sin(ang + phi)};
    corners[2] = {2 * x - corners[0].x, 2 * y - corners[0].y};
    corners[3] = {2 * x - corners[1].x, 2 * y - corners[1].y};
    bounds = {corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point& c : corners) {
        bounds.minX = std::min(bounds.minX, c.x);
        bounds.minY = std::min(bounds.minY, c.y);
        bounds.maxX = std::max(bounds.maxX, c.x);
        bounds.maxY = std::max(bounds.maxY, c.y);
    }
}
bool rect::touchesBox(const Board&, Point min, Point max) const {
    for (const Point& c : corners)
        if (InsideBox(c, min, max)) return true;
    return OutlineTouchesBox(corners, 4, min, max);
}
bool rect::hitTest(const Board&, Point p, double t) const {
    if (OutsideGrown(bounds, p, t)) return false;
    return NearOutline(p, corners, 4, t);
}
Point rect::nearEnd(Point p) const {
    const double dc = DistSq(p, ref()), d1 = DistSq(p, e1), d2 = DistSq(p, e2);
    if (dc <= d1 && dc <= d2) return ref();
    return d1 <= d2 ? e1 : e2;
}
Point rect::farEnd(Point p) const {
    return DistSq(p, e1) > DistSq(p, e2) ? e1 : e2;
}
bool rect::isNodePoint(Point p) const {
    return SamePoint(p, ref()) || SamePoint(p, e1) || SamePoint(p, e2);
}

// ---------------------------------------------------------------- group

group::ext_t::~ext_t() {
    std::fputs("Class group::ext_t: Can not calling destructor\n", stderr);
    std::abort();
}
void group::ext_t::destroy(Board& b) {
    recycle(b);
}
void group::ext_t::rotate(Point centre, double a) {
    pt = Rotated(pt, centre, std::cos(a), std::sin(a));
    angle = NormaliseAngle(angle + a);
}

group::ext_t* TextPlacement::clone(Board& b) const {
    return b.CreateTextPlacement(pt, angle, hi, pit);
}
void TextPlacement::recycle(Board& b) {
    b.pools.texts.give(this);
}
void TextPlacement::mirror(double ax) {
    pt.x = 2 * ax - pt.x;
    angle = NormaliseAngle(-angle);
    pit = -pit;
}

group::ext_t* PartPlacement::clone(Board& b) const {
    return b.CreatePartPlacement(pt, angle);
}
void PartPlacement::recycle(Board& b) {
    b.pools.parts.give(this);
}
void PartPlacement::mirror(double ax) {
    pt.x = 2 * ax - pt.x;
    angle = NormaliseAngle(kPi - angle);
}

void group::recycle(Board& b) {
    while (!members.emptyList()) AsElement(members.next)->recycle(b);
    if (ext) ext->recycle(b);
    ext = nullptr;
    if (linked()) unlink(b.changes);
    b.pools.groups.give(this);
}
container* group::clone(Board& b) const {
    group* g = b.CreateGroup(type);
    g->parent = parent;
    g->scratchA = scratchA;
    g->scratchB = scratchB;
    g->attribute = attribute;
    g->reference = reference;
    if (ext) g->ext = ext->clone(b);
    for (container* c : Items(members)) {
        container* m = c->clone(b);
        m->insertBefore(&g->members, b.changes);
        m->parent = g;
    }
    return g;
}
void group::translate(Board& b, double dx, double dy) {
    for (container* c : Items(members)) c->translate(b, dx, dy);
    if (ext) ext->translate(dx, dy);
}
void group::moveTo(Board& b, Point p) {
    if (ext) translate(b, p.x - ext->pt.x, p.y - ext->pt.y);
}
void group::moveVertex(Board& b, Point, double dx, double dy) {
    translate(b, dx, dy);
}
void group::rotate(Board& b, Point centre, double a) {
    for (container* c : Items(members)) c->rotate(b, centre, a);
    if (ext) ext->rotate(centre, a);
}
void group::mirror(Board& b, double ax) {
    for (container* c : Items(members)) c->mirror(b, ax);
    if (ext) ext->mirror(ax);
}

}  // namespace zevo
