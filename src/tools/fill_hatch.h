// The edges of a filled area's outlines and the horizontal strokes that hatch them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "board/model/element.h"

namespace zevo {

// One edge of an outline: a straight piece from a to b, or an arc of the circle (centre, r)
// from angle st counter-clockwise to end (radians, end >= st).
struct FillEdge {
    bool isArc = false;
    Point a, b;
    Point centre;
    double r = 0, st = 0, end = 0;
};

// The working area holds this many edges; a larger outline is refused.
inline constexpr size_t kFillEdgeCapacity = 8192;
// Crossings collected on one scan line.
inline constexpr size_t kFillCrossingCapacity = 8192;

// Adds the edges of the lines and arcs to `edges`; false (edges as they were) when the working
// area cannot hold them or an element is neither a line nor an arc.
bool AddFillEdges(std::span<const drawn* const> outline, std::vector<FillEdge>& edges,
                  size_t capacity = kFillEdgeCapacity);

struct FillStroke {
    Point a, b;
};

// The strokes of a pen of `diameter` filling the edges by the odd-even rule: scan lines every
// pitch from a little above the lowest point to a little below the highest one.
std::vector<FillStroke> HatchStrokes(std::span<const FillEdge> edges, double diameter);
// The distance between scan lines for a pen of `diameter` (0.001 mm at least).
double HatchPitch(double diameter);

}  // namespace zevo
