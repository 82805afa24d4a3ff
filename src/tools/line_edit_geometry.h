// The geometry of the line editing tools, apart from their states: split, connect, stretch and
// chamfer of lines and arcs, middle lines between two elements and parallels of a line, an arc
// or a section of joined lines. Every function makes new unlinked elements (the caller links
// them and records the undo step) and leaves the elements it reads as they are.
#pragma once

#include <vector>

#include "board/model/board.h"

namespace zevo {

// Spacing, length and count of a set of parallel or middle lines.
struct LineSetValues {
    double spacing = 1.0;
    double length = 10.0;
    int count = 1;
    friend bool operator==(const LineSetValues&, const LineSetValues&) = default;
};
// A typed count beyond this makes no more lines (a slip of the finger must not hang the editor).
inline constexpr int kMaxLineSetCount = 1000;

// What an edit of the geometry came to.
enum class EditOutcome {
    kDone,        // the new elements are made
    kNoGeometry,  // no intersection, parallel lines, or a piece that would vanish
    kNoChange,    // everything is already where the edit would put it
};

// The point of a line's or arc's centre line nearest to p.
Point NearestOnElement(const drawn* e, Point p);

// The two pieces of a line or arc meeting at the point nearest to p. kNoGeometry when that point
// is an end of e (one piece would have no length) or e is neither a line nor an arc.
EditOutcome SplitElement(Board& b, const drawn* e, Point p, std::vector<drawn*>& made);

// The crossings of the centre lines of two lines or arcs (lines taken as infinite lines, arcs as
// full circles): 0, 1 or 2 points. Two lines on the same line have none.
int Crossings(const drawn* a, const drawn* b, Point out[2]);

// A copy of a line or an arc whose end `moved` (one of its two ends) goes to `to`: a line end is
// put there, an arc end turns to the direction of `to` about the centre, the other end staying.
// Null when the copy would have no length.
drawn* WithEndMoved(Board& b, const drawn* e, Point moved, Point to);

// Connect: e and f are cut or extended to their crossing, each keeping its end farther from it.
// Of two crossings the one with the smaller sum of distances to the clicked points pe and pf.
// `replaced` lists the elements that change, `made` their new copies in the same order.
EditOutcome ConnectElements(Board& b, const drawn* e, Point pe, const drawn* f, Point pf,
                            std::vector<const drawn*>& replaced, std::vector<drawn*>& made);

// Stretch: e's end nearer to `pick` goes onto f: a land's centre, the crossing with a line, the
// crossing with an arc nearer to that end. Without f the end goes to `cursor`.
EditOutcome StretchElement(Board& b, const drawn* e, Point pick, const drawn* f, Point cursor,
                           std::vector<drawn*>& made);

// Chamfer: the corner of lines e and f rounded by an arc of radius r tangent to both (layer and
// aperture of e, round). Makes the two shortened lines (a line whose tangent point is its kept
// end is left out) and the arc. kNoGeometry when the lines are parallel or the tangent points
// do not lie on the parts of the lines that are kept.
EditOutcome ChamferCorner(Board& b, const line* e, const line* f, double r,
                          std::vector<drawn*>& made);

// Middle lines between the closest points a and b of two elements: `count` lines of `length`
// across the line a-b, centred on its midpoint and spaced along it.
std::vector<drawn*> MiddleLines(Board& b, Point a, Point b2, const LineSetValues& v, int layer,
                                int aperture);

// Parallels of one line or arc on the side of q: lines at k x spacing of `length` centred beside
// e's midpoint, or concentric arcs with the same angles. Nothing when q lies on e's line.
std::vector<drawn*> ParallelsOf(Board& b, const drawn* e, Point q, const LineSetValues& v,
                                int layer, int aperture);

// The section from line e to line f: the run of lines joined end to end (same layer, top level,
// no branch) that leads from e to f, in order (the shorter one of a closed run); empty when f
// cannot be reached that way.
std::vector<const line*> SectionOf(const Board& b, const line* e, const line* f);

// Parallels of a section on the side of q: each parallel follows the whole run as one open
// chain of lines, each line of the run offset by k x spacing, neighbours joined at the crossing
// of their offset lines. Nothing when q lies on the line of the run's element nearest to it.
std::vector<drawn*> SectionParallels(Board& b, const std::vector<const line*>& run, Point q,
                                     const LineSetValues& v, int layer, int aperture);

}  // namespace zevo
