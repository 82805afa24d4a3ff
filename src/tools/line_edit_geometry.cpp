#include "tools/line_edit_geometry.h"

#include <algorithm>
#include <cmath>

namespace zevo {

namespace {

Point Add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point Sub(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point Scale(Point a, double s) {
    return {a.x * s, a.y * s};
}
double DotOf(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double CrossOf(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double Length(Point a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}

const line* AsLine(const drawn* d) {
    return static_cast<const line*>(d);
}
const arc* AsArc(const drawn* d) {
    return static_cast<const arc*>(d);
}
Segment SegmentOf(const line* l) {
    return {l->start(), l->end(), l->layer, l->aperture};
}
Circle CircleOf(const arc* a) {
    return {a->centre(), a->r, a->layer, a->aperture};
}

bool LineOrArc(const drawn* d) {
    return d && (d->kind == kLine || d->kind == kArc);
}

void Destroy(Board& b, std::vector<drawn*>& made) {
    for (drawn* d : made) d->destroy(b);
    made.clear();
}

// Both ends of the two elements coincide (in either order): the copy is no change.
bool SameEnds(const drawn* a, const drawn* b) {
    auto ends = [](const drawn* d, Point& s, Point& e) {
        if (d->kind == kLine) {
            s = AsLine(d)->start(), e = AsLine(d)->end();
        } else {
            s = AsArc(d)->startPt, e = AsArc(d)->endPt;
        }
    };
    Point as, ae, bs, be;
    ends(a, as, ae);
    ends(b, bs, be);
    return (SamePoint(as, bs) && SamePoint(ae, be)) || (SamePoint(as, be) && SamePoint(ae, bs));
}

Point EndNearer(const drawn* e, Point p) {
    return e->nearEnd(p);
}

}  // namespace

Point NearestOnElement(const drawn* e, Point p) {
    if (e->kind == kLine) {
        const line* l = AsLine(e);
        const Point v = Sub(l->end(), l->start());
        const double len2 = DotOf(v, v);
        double u = len2 > 0 ? DotOf(Sub(p, l->start()), v) / len2 : 0;
        u = std::clamp(u, 0.0, 1.0);
        return Add(l->start(), Scale(v, u));
    }
    if (e->kind == kArc) {
        const arc* a = AsArc(e);
        if (SamePoint(p, a->centre())) return a->startPt;
        const double theta = NormaliseAngle(std::atan2(p.y - a->y, p.x - a->x));
        if (a->fullCircle() || AngleOnArc(theta, a->st, a->end))
            return {a->x + a->r * std::cos(theta), a->y + a->r * std::sin(theta)};
        return a->nearEnd(p);
    }
    return e->ref();
}

EditOutcome SplitElement(Board& b, const drawn* e, Point p, std::vector<drawn*>& made) {
    if (!LineOrArc(e)) return EditOutcome::kNoGeometry;
    const Point at = NearestOnElement(e, p);
    if (e->kind == kLine) {
        const line* l = AsLine(e);
        if (SamePoint(at, l->start()) || SamePoint(at, l->end())) return EditOutcome::kNoGeometry;
        line* first = static_cast<line*>(l->clone(b));
        line* second = static_cast<line*>(l->clone(b));
        first->ex = at.x, first->ey = at.y;
        second->x = at.x, second->y = at.y;
        first->updateBounds(b);
        second->updateBounds(b);
        made = {first, second};
        return EditOutcome::kDone;
    }
    const arc* a = AsArc(e);
    if (!a->fullCircle() && (SamePoint(at, a->startPt) || SamePoint(at, a->endPt)))
        return EditOutcome::kNoGeometry;
    // The angle of the split point on the arc, at or after its start.
    double theta = NormaliseAngle(std::atan2(at.y - a->y, at.x - a->x));
    while (theta < a->st) theta += kTwoPi;
    const double st = a->st, end = a->fullCircle() ? a->st + kTwoPi : a->end;
    if (a->fullCircle() && (theta - st < kEps || st + kTwoPi - theta < kEps))
        return EditOutcome::kNoGeometry;
    arc* first = static_cast<arc*>(a->clone(b));
    arc* second = static_cast<arc*>(a->clone(b));
    first->st = st, first->end = theta;
    second->st = theta, second->end = end;
    first->updateBounds(b);
    second->updateBounds(b);
    made = {first, second};
    return EditOutcome::kDone;
}

int Crossings(const drawn* a, const drawn* b, Point out[2]) {
    if (!LineOrArc(a) || !LineOrArc(b)) return 0;
    if (a->kind == kLine && b->kind == kLine)
        return IntersectLines(SegmentOf(AsLine(a)), SegmentOf(AsLine(b)), out[0]) == kOnePoint ? 1
                                                                                               : 0;
    int r;
    if (a->kind == kLine)
        r = IntersectLineCircle(SegmentOf(AsLine(a)), CircleOf(AsArc(b)), out[0], out[1]);
    else if (b->kind == kLine)
        r = IntersectLineCircle(SegmentOf(AsLine(b)), CircleOf(AsArc(a)), out[0], out[1]);
    else
        r = IntersectCircles(CircleOf(AsArc(a)), CircleOf(AsArc(b)), out[0], out[1]);
    if (r != kOnePoint) return 0;
    return SamePoint(out[0], out[1]) ? 1 : 2;
}

drawn* WithEndMoved(Board& b, const drawn* e, Point moved, Point to) {
    if (e->kind == kLine) {
        const line* l = AsLine(e);
        const bool movesEnd = DistSq(moved, l->end()) < DistSq(moved, l->start());
        const Point s = movesEnd ? l->start() : to;
        const Point en = movesEnd ? to : l->end();
        if (SamePoint(s, en)) return nullptr;
        line* copy = static_cast<line*>(l->clone(b));
        copy->x = s.x, copy->y = s.y, copy->ex = en.x, copy->ey = en.y;
        copy->updateBounds(b);
        return copy;
    }
    if (e->kind != kArc) return nullptr;
    const arc* a = AsArc(e);
    if (SamePoint(to, a->centre())) return nullptr;
    const double angle = std::atan2(to.y - a->y, to.x - a->x);
    const bool movesEnd = DistSq(moved, a->endPt) <= DistSq(moved, a->startPt);
    double st, end;
    if (movesEnd) {
        const double sweep = NormaliseAngle(angle - a->st);
        if (sweep < kEps) return nullptr;
        st = a->st, end = a->st + sweep;
    } else {
        const double sweep = NormaliseAngle(a->end - angle);
        if (sweep < kEps) return nullptr;
        st = a->end - sweep, end = a->end;
    }
    arc* copy = static_cast<arc*>(a->clone(b));
    copy->st = st, copy->end = end;
    copy->updateBounds(b);
    return copy;
}

EditOutcome ConnectElements(Board& b, const drawn* e, Point pe, const drawn* f, Point pf,
                            std::vector<const drawn*>& replaced, std::vector<drawn*>& made) {
    made.clear();
    replaced.clear();
    Point x[2];
    const int n = Crossings(e, f, x);
    if (n == 0) return EditOutcome::kNoGeometry;
    Point at = x[0];
    if (n == 2 && Dist(x[1], pe) + Dist(x[1], pf) < Dist(x[0], pe) + Dist(x[0], pf)) at = x[1];
    // Each keeps the end farther from the crossing; the nearer one goes there.
    const Point ne = EndNearer(e, at), nf = EndNearer(f, at);
    if (SamePoint(ne, at) && SamePoint(nf, at)) return EditOutcome::kNoChange;
    for (auto [d, near] : {std::pair{e, ne}, std::pair{f, nf}}) {
        if (SamePoint(near, at)) continue;  // this one already ends there
        drawn* copy = WithEndMoved(b, d, near, at);
        if (!copy) {
            Destroy(b, made);
            replaced.clear();
            return EditOutcome::kNoGeometry;
        }
        replaced.push_back(d);
        made.push_back(copy);
    }
    return EditOutcome::kDone;
}

EditOutcome StretchElement(Board& b, const drawn* e, Point pick, const drawn* f, Point cursor,
                           std::vector<drawn*>& made) {
    made.clear();
    if (!LineOrArc(e)) return EditOutcome::kNoGeometry;
    const Point moving = EndNearer(e, pick);
    Point target = cursor;
    if (f && f->kind == kLand) {
        target = f->ref();
    } else if (f) {
        Point x[2];
        const int n = Crossings(e, f, x);
        if (n == 0) return EditOutcome::kNoGeometry;
        target = n == 2 && Dist(x[1], moving) < Dist(x[0], moving) ? x[1] : x[0];
    }
    drawn* copy = WithEndMoved(b, e, moving, target);
    if (!copy) return EditOutcome::kNoGeometry;
    if (SameEnds(copy, e)) {
        copy->destroy(b);
        return EditOutcome::kNoChange;
    }
    made.push_back(copy);
    return EditOutcome::kDone;
}

EditOutcome ChamferCorner(Board& b, const line* e, const line* f, double r,
                          std::vector<drawn*>& made) {
    made.clear();
    if (!(r > 0) || !std::isfinite(r)) return EditOutcome::kNoGeometry;
    Point x;
    if (IntersectLines(SegmentOf(e), SegmentOf(f), x) != kOnePoint) return EditOutcome::kNoGeometry;
    const Point farE = e->farEnd(x), farF = f->farEnd(x);
    const double le = Dist(farE, x), lf = Dist(farF, x);
    if (le < kEps || lf < kEps) return EditOutcome::kNoGeometry;
    const Point u1 = Scale(Sub(farE, x), 1 / le), u2 = Scale(Sub(farF, x), 1 / lf);
    const double theta = std::acos(std::clamp(DotOf(u1, u2), -1.0, 1.0));
    if (theta < 1e-9 || kPi - theta < 1e-9) return EditOutcome::kNoGeometry;
    const double t = r / std::tan(theta / 2);
    // The tangent points must lie on what is kept of each line.
    if (t > le + kEps || t > lf + kEps) return EditOutcome::kNoGeometry;
    const Point t1 = Add(x, Scale(u1, t)), t2 = Add(x, Scale(u2, t));
    const Point bisector = Add(u1, u2);
    const Point centre = Add(x, Scale(bisector, r / std::sin(theta / 2) / Length(bisector)));
    const double a1 = std::atan2(t1.y - centre.y, t1.x - centre.x);
    const double a2 = std::atan2(t2.y - centre.y, t2.x - centre.x);
    const double sweep = NormaliseAngle(a2 - a1);
    // The arc runs counter-clockwise the short way round, from one tangent point to the other.
    const double st = sweep <= kPi ? a1 : a2;
    const double span = sweep <= kPi ? sweep : kTwoPi - sweep;
    for (auto [l, far, tp] : {std::tuple{e, farE, t1}, std::tuple{f, farF, t2}}) {
        if (SamePoint(far, tp)) continue;
        line* copy = static_cast<line*>(l->clone(b));
        const bool keepStart = SamePoint(far, l->start());
        const Point s = keepStart ? far : tp, en = keepStart ? tp : far;
        copy->x = s.x, copy->y = s.y, copy->ex = en.x, copy->ey = en.y;
        copy->updateBounds(b);
        made.push_back(copy);
    }
    double ast = NormaliseAngle(st), aend = ast + span;
    made.push_back(b.CreateArc(e->layer, e->aperture, centre, r, ast, aend));
    return EditOutcome::kDone;
}

std::vector<drawn*> MiddleLines(Board& b, Point a, Point b2, const LineSetValues& v, int layer,
                                int aperture) {
    std::vector<drawn*> out;
    const int count = std::clamp(v.count, 0, kMaxLineSetCount);
    const Point m = Scale(Add(a, b2), 0.5);
    const double theta = std::atan2(b2.y - a.y, b2.x - a.x);
    const Point u = Scale(Point{std::cos(theta), std::sin(theta)}, v.spacing);
    const Point d =
        Scale(Point{std::cos(theta + kPi / 2), std::sin(theta + kPi / 2)}, v.length / 2);
    auto make = [&](Point c) {
        out.push_back(b.CreateLine(layer, aperture, false, Sub(c, d), Add(c, d)));
    };
    if (count % 2 == 1) {
        make(m);
        for (int k = 1; k <= count / 2; ++k) {
            make(Add(m, Scale(u, k)));
            make(Sub(m, Scale(u, k)));
        }
    } else {
        for (int k = 1; k <= count / 2; ++k) {
            make(Add(m, Scale(u, k - 0.5)));
            make(Sub(m, Scale(u, k - 0.5)));
        }
    }
    return out;
}

std::vector<drawn*> ParallelsOf(Board& b, const drawn* e, Point q, const LineSetValues& v,
                                int layer, int aperture) {
    std::vector<drawn*> out;
    const int count = std::clamp(v.count, 0, kMaxLineSetCount);
    if (e->kind == kLine) {
        const line* l = AsLine(e);
        const Point dir = Sub(l->end(), l->start());
        const double len = Length(dir);
        if (len < kEps) return out;
        const Point t = Scale(dir, 1 / len);
        const Point foot = Add(l->start(), Scale(t, DotOf(Sub(q, l->start()), t)));
        if (std::fabs(q.x - foot.x) < kEps && std::fabs(q.y - foot.y) < kEps) return out;
        const Point n = Scale(Sub(q, foot), 1 / Length(Sub(q, foot)));
        const Point mid = Scale(Add(l->start(), l->end()), 0.5);
        const Point half = Scale(t, v.length / 2);
        for (int k = 1; k <= count; ++k) {
            const Point c = Add(mid, Scale(n, k * v.spacing));
            const Point s = Sub(c, half), en = Add(c, half);
            if (SamePoint(s, en)) continue;
            out.push_back(b.CreateLine(layer, aperture, false, s, en));
        }
        return out;
    }
    if (e->kind != kArc) return out;
    const arc* a = AsArc(e);
    const double sign = Dist(q, a->centre()) > a->r ? 1 : -1;
    for (int k = 1; k <= count; ++k) {
        const double r = a->r + sign * k * v.spacing;
        if (r <= 0) continue;
        out.push_back(b.CreateArc(layer, aperture, a->centre(), r, a->st, a->end));
    }
    return out;
}

namespace {

// The one top-level line of the layer, other than `from` and those already taken, with an end
// at p; none when there is none or more than one (a branch ends the run).
const line* NextInRun(const Board& b, const line* from, Point p,
                      const std::vector<const line*>& taken) {
    const line* found = nullptr;
    for (const container* c : Items(b.items)) {
        if (c->kind != kLine || c == from) continue;
        const line* l = static_cast<const line*>(c);
        if (l->layer != from->layer || !(SamePoint(l->start(), p) || SamePoint(l->end(), p)))
            continue;
        if (std::find(taken.begin(), taken.end(), l) != taken.end()) continue;
        if (found) return nullptr;
        found = l;
    }
    return found;
}

}  // namespace

std::vector<const line*> SectionOf(const Board& b, const line* e, const line* f) {
    if (e == f) return {e};
    if (e->parent || f->parent) return {};
    // Both ways along the run from e; a closed run reaches f both ways, and the shorter counts.
    std::vector<const line*> best;
    for (Point exit : {e->end(), e->start()}) {
        std::vector<const line*> run{e};
        const line* at = e;
        Point p = exit;
        while (const line* next = NextInRun(b, at, p, run)) {
            run.push_back(next);
            if (next == f) {
                if (best.empty() || run.size() < best.size()) best = run;
                break;
            }
            p = SamePoint(next->start(), p) ? next->end() : next->start();
            at = next;
        }
    }
    return best;
}

std::vector<drawn*> SectionParallels(Board& b, const std::vector<const line*>& run, Point q,
                                     const LineSetValues& v, int layer, int aperture) {
    std::vector<drawn*> out;
    if (run.empty()) return out;
    // Each line as the run walks it: from where it is entered to where it is left.
    std::vector<std::pair<Point, Point>> walk;
    for (size_t i = 0; i < run.size(); ++i) {
        const line* l = run[i];
        bool forward = true;
        if (i + 1 < run.size())
            forward =
                SamePoint(l->end(), run[i + 1]->start()) || SamePoint(l->end(), run[i + 1]->end());
        else if (i > 0)
            forward = SamePoint(l->start(), run[i - 1]->start()) ||
                      SamePoint(l->start(), run[i - 1]->end());
        walk.emplace_back(forward ? l->start() : l->end(), forward ? l->end() : l->start());
    }
    // The side of the click: left or right of the walked line nearest to it.
    size_t nearest = 0;
    double best = 1e300;
    for (size_t i = 0; i < walk.size(); ++i) {
        const double d = DistToSegment(q, walk[i].first, walk[i].second);
        if (d < best) best = d, nearest = i;
    }
    const Point t0 = Sub(walk[nearest].second, walk[nearest].first);
    const double len0 = Length(t0);
    if (len0 < kEps) return out;
    const double side = CrossOf(t0, Sub(q, walk[nearest].first)) / len0;
    if (std::fabs(side) < kEps) return out;
    const double sign = side > 0 ? 1 : -1;

    const int count = std::clamp(v.count, 0, kMaxLineSetCount);
    for (int k = 1; k <= count; ++k) {
        const double d = sign * k * v.spacing;
        std::vector<std::pair<Point, Point>> offset;
        for (const auto& [s, en] : walk) {
            const Point t = Sub(en, s);
            const double len = Length(t);
            const Point n = len < kEps ? Point{} : Point{-t.y / len * d, t.x / len * d};
            offset.emplace_back(Add(s, n), Add(en, n));
        }
        std::vector<Point> pts{offset.front().first};
        for (size_t i = 0; i + 1 < offset.size(); ++i) {
            Point x;
            const Segment a{offset[i].first, offset[i].second, 0, 0};
            const Segment c{offset[i + 1].first, offset[i + 1].second, 0, 1};
            // Neighbours meet at the crossing of their offset lines; nearly parallel ones (whose
            // crossing runs far off) are joined by a short line between their offset ends.
            if (IntersectLines(a, c, x) == kOnePoint &&
                Dist(x, offset[i].second) <= 10 * std::fabs(d) + kEps) {
                pts.push_back(x);
            } else {
                pts.push_back(offset[i].second);
                pts.push_back(offset[i + 1].first);
            }
        }
        pts.push_back(offset.back().second);
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
            if (SamePoint(pts[i], pts[i + 1])) continue;
            out.push_back(b.CreateLine(layer, aperture, false, pts[i], pts[i + 1]));
        }
    }
    return out;
}

}  // namespace zevo
