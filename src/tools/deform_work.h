// What the deform tool keeps while a deform is under way: the kind of move, the reference point
// and where it is now, the elements taken out of the document with their copies being dragged,
// and the end-point table of the elements whose ends follow the move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "board/model/board.h"

namespace zevo {

// What a deform moves (`deformKind`).
enum DeformKind : int32_t {
    kDeformElement = 0,  // a land or a rectangle
    kDeformLineEnd = 1,  // one end of a line
    kDeformGroup = 2,    // a whole group
    kDeformFreeEnd = 3,  // the end of a single free line (or the vertex of a bent one)
    kDeformRadius = 4,   // an arc's radius
    kDeformArcEnd = 5,   // one end of an arc
};

// Which points of an element the move takes: all of it, or one or both ends (a line's start or
// end, an arc's start or end point, a rectangle's centre-line end).
enum class DeformPart : uint8_t { kWhole, kStart, kEnd, kBothEnds };

// One element being dragged: the geometry the move starts from and the copy shown in the
// selection, and the element of the document whose place the copy takes.
struct DeformItem {
    container* base = nullptr;
    container* live = nullptr;
    container* origin = nullptr;
    DeformPart part = DeformPart::kWhole;
    bool ownBase = false;  // made for the move (the halves of a bent line), not the document's
};

// An element of the document that has a node point at a moved point: its ends follow. `node`
// holds, for its node points in the order of NodePoints, the moved point there (or -1).
struct DeformJoint {
    container* base = nullptr;
    container* live = nullptr;
    int32_t node[3] = {-1, -1, -1};
};

// A moved point: where it was and on which layer (only elements of that layer follow it).
struct MovedPoint {
    Point at;
    int layer = 0;
};

struct DeformWork {
    // The end-point table's capacity: the moved points and the following elements. A move that
    // needs more is refused as a whole.
    static constexpr size_t kPointCapacity = 4096;
    static constexpr size_t kJointCapacity = 4096;

    bool active = false;
    int32_t kind = kDeformElement;
    bool unitMode = false;
    // The reference point where the move started, and where it is now.
    Point reference, target;
    // Arcs: the radius (kind 4) or the moved end's angle (kind 5) as the cursor or the dialog
    // left them.
    double radius = 0, angle = 0;
    std::vector<DeformItem> items;
    // Mirror and rotation about the reference point, in the order they were asked for (the
    // angle in radians; a mirror is marked by `mirror`).
    struct Turn {
        bool mirror = false;
        double angle = 0;
    };
    std::vector<Turn> turns;
    // Lifted elements in the order they left the document, with what followed each.
    struct Lifted {
        container* element = nullptr;
        ListNode* successor = nullptr;
    };
    std::vector<Lifted> lifted;
    // The end-point table (vertex mode only).
    std::vector<MovedPoint> points;
    std::vector<Point> moved;  // where each point of `points` is now
    std::vector<DeformJoint> joints;
};

}  // namespace zevo
