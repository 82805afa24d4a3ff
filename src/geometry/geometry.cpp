#include "geometry/geometry.h"

#include <algorithm>

namespace zevo {

double SnapToGrid(double v, double origin, double spacing, bool tieToLarger) {
    const double q = (v - origin) / spacing;
    const double k = tieToLarger ? std::floor(q + 0.5) : std::ceil(q - 0.5);
    return RoundToInput(origin + k * spacing);
}

Point Constrain8(Point p, Point anchor) {
    const double ax = std::fabs(p.x - anchor.x), ay = std::fabs(p.y - anchor.y);
    const double d2 = ax * ax + ay * ay;
    const double d = d2 < kEps ? 0.0 : std::sqrt(d2);
    if (ax < ay) {
        if (d > ay * kDiagonalRatio)
            p.y = anchor.y + (p.y - anchor.y < 0 ? -ax : ax);
        else
            p.x = anchor.x;
    } else {
        if (ax * kDiagonalRatio < d)
            p.x = anchor.x + (p.x - anchor.x < 0 ? -ay : ay);
        else
            p.y = anchor.y;
    }
    return p;
}

bool AngleOnArc(double theta, double st, double end) {
    if (!std::isfinite(theta) || !std::isfinite(st)) return false;
    while (theta >= kTwoPi) theta -= kTwoPi;
    while (theta < st) theta += kTwoPi;
    return theta <= end;
}

void NormaliseArc(double& st, double& end) {
    if (!std::isfinite(st) || !std::isfinite(end)) {
        st = 0;
        end = kTwoPi;
        return;
    }
    if (st > end) std::swap(st, end);
    if (std::fabs(st) > 8 * kTwoPi || end - st > 8 * kTwoPi) {
        // Far outside any angle a user draws: stepping by 2pi would take forever (or never move
        // the value at all), so reduce by remainder instead.
        double span = end - st;
        span = std::isfinite(span) ? std::fmod(span, kTwoPi) : 0.0;
        if (span == 0.0) span = kTwoPi;
        st = NormaliseAngle(st);
        end = st + span;
        return;
    }
    // A sweep that exceeds a full turn only by rounding (a circle read back from degrees) stays a
    // full circle, as fullCircle() sees it, instead of collapsing to nothing.
    while (end - st > kTwoPi + kEps) end -= kTwoPi;
    while (st < 0) st += kTwoPi, end += kTwoPi;
    while (st >= kTwoPi) st -= kTwoPi, end -= kTwoPi;
}

double NormaliseAngle(double a) {
    if (!std::isfinite(a)) return 0;
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    if (a >= kTwoPi) a -= kTwoPi;
    return a;
}

int IntersectLines(const Segment& a, const Segment& b, Point& out) {
    const double dxA = a.end.x - a.start.x, dyA = a.end.y - a.start.y;
    const double dxB = b.end.x - b.start.x, dyB = b.end.y - b.start.y;
    const bool vertA = IsZero(dxA), vertB = IsZero(dxB);
    if (vertA && !vertB) {
        out.x = a.start.x;
        out.y = IsZero(dyB) ? b.start.y : dyB * (out.x - b.start.x) / dxB + b.start.y;
        return kOnePoint;
    }
    if (vertB && !vertA) {
        out.x = b.start.x;
        out.y = IsZero(dyA) ? a.start.y : dyA * (out.x - a.start.x) / dxA + a.start.y;
        return kOnePoint;
    }
    double kA = 0, kB = 0;
    if (!vertA) {
        kA = dyA / dxA;
        kB = dyB / dxB;
        if (!IsZero(kA - kB)) {
            const double u = ((b.start.y - a.start.y) - kB * (b.start.x - a.start.x)) / (kA - kB);
            out = {a.start.x + u, a.start.y + kA * u};
            return kOnePoint;
        }
    }
    if (a.layer != b.layer || a.aperture != b.aperture) return kNoPoint;
    if (vertA) return IsZero(a.start.x - b.start.x) ? kSameLine : kNoPoint;
    const bool horA = IsZero(dyA), horB = IsZero(dyB);
    if (horA && horB) return IsZero(a.start.y - b.start.y) ? kSameLine : kNoPoint;
    if (horA || horB) return kNoPoint;
    const double iA = a.start.y - kA * a.start.x, iB = b.start.y - kB * b.start.x;
    return IsZero(iA - iB) ? kSameLine : kNoPoint;
}

int IntersectLineCircle(const Segment& line, const Circle& c, Point& p1, Point& p2) {
    const double dx = line.end.x - line.start.x, dy = line.end.y - line.start.y;
    const double R = c.r;
    if (IsZero(dx)) {
        const double x = line.start.x;
        const double d = std::fabs(x - c.centre.x);
        if (R - d < -kEps) return kNoPoint;
        const double h =
            R - d < kEps ? 0.0 : std::sqrt(R * R - (x - c.centre.x) * (x - c.centre.x));
        p1 = {x, c.centre.y + h};
        p2 = {x, c.centre.y - h};
        return kOnePoint;
    }
    if (IsZero(dy)) {
        const double y = line.start.y;
        const double d = std::fabs(y - c.centre.y);
        if (R - d < -kEps) return kNoPoint;
        const double h =
            R - d < kEps ? 0.0 : std::sqrt(R * R - (y - c.centre.y) * (y - c.centre.y));
        p1 = {c.centre.x + h, y};
        p2 = {c.centre.x - h, y};
        return kOnePoint;
    }
    const double k = dy / dx;
    const double f = (line.start.y - c.centre.y) - k * (line.start.x - c.centre.x);
    const double disc = k * k * f * f - (f * f - R * R) * (k * k + 1);
    if (disc < -kEps) return kNoPoint;
    const double m = disc < kEps ? 0.0 : std::sqrt(disc);
    const double u1 = (-k * f + m) / (k * k + 1), u2 = (-k * f - m) / (k * k + 1);
    p1 = {c.centre.x + u1, c.centre.y + f + k * u1};
    p2 = {c.centre.x + u2, c.centre.y + f + k * u2};
    return kOnePoint;
}

int IntersectCircles(const Circle& a, const Circle& b, Point& p1, Point& p2) {
    if (SamePoint(a.centre, b.centre)) {
        if (IsZero(a.r - b.r) && a.layer == b.layer && a.aperture == b.aperture) return kSameLine;
        return kNoPoint;
    }
    const double d2 = DistSq(a.centre, b.centre);
    const double d = d2 < kEps ? 0.0 : std::sqrt(d2);
    if (a.r + b.r < d || d < std::fabs(a.r - b.r)) return kNoPoint;
    // Touching circles can push the cosine a hair past 1: clamp to give the touching point twice.
    const double cosArg = std::clamp(((d2 + a.r * a.r - b.r * b.r) / (2 * d)) / a.r, -1.0, 1.0);
    const double alpha = std::acos(cosArg);
    const double theta = std::atan2(b.centre.y - a.centre.y, b.centre.x - a.centre.x);
    p1 = {a.centre.x + a.r * std::cos(theta + alpha), a.centre.y + a.r * std::sin(theta + alpha)};
    p2 = {a.centre.x + a.r * std::cos(theta - alpha), a.centre.y + a.r * std::sin(theta - alpha)};
    return kOnePoint;
}

bool ArcTouchesBox(Point c, double r, double st, double end, double x1, double y1, double x2,
                   double y2) {
    NormaliseArc(st, end);
    const Point s{c.x + r * std::cos(st), c.y + r * std::sin(st)};
    const Point e{c.x + r * std::cos(end), c.y + r * std::sin(end)};
    auto inside = [&](Point p) { return Between(p.x, x1, x2) && Between(p.y, y1, y2); };
    if (inside(s) || inside(e)) return true;
    // Horizontal edges.
    for (double Y : {y1, y2}) {
        if (c.y - r <= Y && Y <= c.y + r) {
            const double t = r * r - (Y - c.y) * (Y - c.y);
            const double sx = t > 0 ? std::sqrt(t) : 0.0;
            const double alpha = std::atan2(Y - c.y, sx);
            if (Between(c.x + sx, x1, x2) && AngleOnArc(NormaliseAngle(alpha), st, end))
                return true;
            if (Between(c.x - sx, x1, x2) && AngleOnArc(NormaliseAngle(kPi - alpha), st, end))
                return true;
        }
    }
    // Vertical edges.
    for (double X : {x1, x2}) {
        if (c.x - r <= X && X <= c.x + r) {
            const double t = r * r - (X - c.x) * (X - c.x);
            const double sy = t > 0 ? std::sqrt(t) : 0.0;
            const double alpha = std::atan2(sy, X - c.x);
            if (Between(c.y + sy, y1, y2) && AngleOnArc(NormaliseAngle(alpha), st, end))
                return true;
            if (Between(c.y - sy, y1, y2) && AngleOnArc(NormaliseAngle(-alpha), st, end))
                return true;
        }
    }
    return false;
}

}  // namespace zevo
