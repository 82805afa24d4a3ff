#include "tools/fill_hatch.h"

#include <algorithm>
#include <cmath>

namespace zevo {

namespace {

// v to the nearest thousandth, halves up.
double RoundMilli(double v) {
    return std::floor(v * 1000 + 0.5) * 0.001;
}

// The vertical extent of an edge.
void EdgeSpan(const FillEdge& e, double& lo, double& hi) {
    if (!e.isArc) {
        lo = std::min(e.a.y, e.b.y);
        hi = std::max(e.a.y, e.b.y);
        return;
    }
    lo = std::min(e.a.y, e.b.y);
    hi = std::max(e.a.y, e.b.y);
    if (AngleOnArc(kPi / 2, e.st, e.end)) hi = e.centre.y + e.r;
    if (AngleOnArc(3 * kPi / 2, e.st, e.end)) lo = e.centre.y - e.r;
}

// Where the scan line at y crosses the edge, appended to xs while there is room.
void Crossings(const FillEdge& e, double y, std::vector<double>& xs) {
    if (xs.size() >= kFillCrossingCapacity) return;
    if (!e.isArc) {
        const double lo = std::min(e.a.y, e.b.y), hi = std::max(e.a.y, e.b.y);
        // A horizontal edge lies along the scan line: its neighbours make the crossings.
        if (y < lo || y > hi || lo == hi) return;
        if (e.a.x == e.b.x) {
            xs.push_back(e.a.x);
            return;
        }
        xs.push_back(e.a.x + (e.b.x - e.a.x) * (y - e.a.y) / (e.b.y - e.a.y));
        return;
    }
    const double dy = y - e.centre.y;
    if (std::fabs(dy) > e.r) return;
    const double dx = std::sqrt(std::max(0.0, e.r * e.r - dy * dy));
    const double t1 = std::atan2(dy, dx);
    if (AngleOnArc(t1 < 0 ? t1 + kTwoPi : t1, e.st, e.end)) xs.push_back(e.centre.x + dx);
    if (dx == 0 || xs.size() >= kFillCrossingCapacity) return;
    const double t2 = std::atan2(dy, -dx);
    if (AngleOnArc(t2 < 0 ? t2 + kTwoPi : t2, e.st, e.end)) xs.push_back(e.centre.x - dx);
}

}  // namespace

bool AddFillEdges(std::span<const drawn* const> outline, std::vector<FillEdge>& edges,
                  size_t capacity) {
    if (outline.size() > capacity || edges.size() > capacity - outline.size()) return false;
    const size_t before = edges.size();
    for (const drawn* d : outline) {
        FillEdge e;
        if (d->kind == kLine) {
            const line* l = static_cast<const line*>(d);
            e.a = l->start();
            e.b = l->end();
        } else if (d->kind == kArc) {
            const arc* c = static_cast<const arc*>(d);
            e.isArc = true;
            e.a = c->startPt;
            e.b = c->endPt;
            e.centre = c->centre();
            e.r = c->r;
            e.st = c->st;
            e.end = c->end;
        } else {
            edges.resize(before);
            return false;
        }
        edges.push_back(e);
    }
    return true;
}

double HatchPitch(double diameter) {
    // The small allowance keeps a product such as 0.95 x 0.2 from landing a hair below its
    // thousandth.
    const double s = std::floor(0.95 * diameter / 0.001 + 1e-9) * 0.001;
    return s < 0.001 ? 0.001 : s;
}

std::vector<FillStroke> HatchStrokes(std::span<const FillEdge> edges, double diameter) {
    std::vector<FillStroke> out;
    if (edges.empty() || !(diameter > 0) || !std::isfinite(diameter)) return out;
    double ymin = 0, ymax = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
        double lo, hi;
        EdgeSpan(edges[i], lo, hi);
        if (i == 0 || lo < ymin) ymin = lo;
        if (i == 0 || hi > ymax) ymax = hi;
    }
    if (!std::isfinite(ymin) || !std::isfinite(ymax)) return out;
    const double s = HatchPitch(diameter);
    // The scan lines are counted in thousandths from the lowest point, so that a line meant to
    // pass through a vertex typed in thousandths does, and the error does not add up.
    const long step = std::lround(s * 1000);
    const long offset = step - std::lround(RoundMilli(0.475 * diameter) * 1000);
    const double last = ymax - RoundMilli(0.025 * diameter);
    std::vector<double> xs;
    for (long k = 0;; ++k) {
        const double y = ymin + double(offset + k * step) / 1000;
        if (y > last + 1e-9) break;
        xs.clear();
        for (const FillEdge& e : edges) Crossings(e, y, xs);
        if (xs.size() % 2 != 0) continue;
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) out.push_back({{xs[i], y}, {xs[i + 1], y}});
    }
    return out;
}

}  // namespace zevo
