// Units, tolerances, snapping and intersections shared by every part of the editor.
// Millimetres as doubles, world Y up, angles in radians counter-clockwise from +X.
#pragma once

#include <cmath>

namespace zevo {

inline constexpr double kEps = 1e-8;
inline constexpr double kSamePointSq = 2.25e-6;  // 0.0015 mm squared
inline constexpr double kInputStep = 0.001;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kFullCircle = 0.001;
inline const double kDiagonalRatio = std::sqrt(1.25);

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A straight segment with the two attributes that decide whether two collinear
// segments are "the same line".
struct Segment {
    Point start;
    Point end;
    int layer = 0;
    int aperture = 0;
};

// A full circle (an arc's centre and radius) with the same two attributes.
struct Circle {
    Point centre;
    double r = 0;
    int layer = 0;
    int aperture = 0;
};

inline bool IsZero(double v) {
    return std::fabs(v) < kEps;
}
inline bool SamePoint(Point a, Point b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy < kSamePointSq;
}
inline double DistSq(Point a, Point b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}
// A squared distance below 1e-8 counts as distance 0.
inline double Dist(Point a, Point b) {
    const double d2 = DistSq(a, b);
    return d2 < kEps ? 0.0 : std::sqrt(d2);
}
inline double RoundToInput(double v) {
    return std::floor(v * 1000 + 0.5) * 0.001;
}
inline double ToDegrees(double a) {
    return a * 180 / kPi;
}
inline double ToRadians(double d) {
    return d * kPi / 180;
}
// Product form of the inside-interval test: end points included, order of a and b free.
inline bool Between(double v, double a, double b) {
    return (v - a) * (v - b) <= 0;
}

// Grid snap along one axis. `tieToLarger` is the rule of X in normal display; X in mirror
// display and Y send a tie to the smaller grid line.
double SnapToGrid(double v, double origin, double spacing, bool tieToLarger);
Point Constrain8(Point p, Point anchor);
bool AngleOnArc(double theta, double st, double end);
void NormaliseArc(double& st, double& end);
// Angle brought to [0, 2pi).
double NormaliseAngle(double a);

enum IntersectResult { kOnePoint = 0, kNoPoint = 1, kSameLine = 2 };
int IntersectLines(const Segment& a, const Segment& b, Point& out);
int IntersectLineCircle(const Segment& line, const Circle& c, Point& p1, Point& p2);
int IntersectCircles(const Circle& a, const Circle& b, Point& p1, Point& p2);
// Does the arc (centre, r, st..end) meet the axis-parallel rectangle (x1,y1)-(x2,y2)?
bool ArcTouchesBox(Point c, double r, double st, double end, double x1, double y1, double x2,
                   double y2);

}  // namespace zevo
