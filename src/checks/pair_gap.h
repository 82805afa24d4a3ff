// How far apart two drawn elements are, as the copper they stand for: a round land is a disc, a
// square land an axis-parallel square, a round line a stroke with round ends, a square line the
// square swept along the segment (never turned), an arc the round aperture swept along the arc,
// a rectangle the turned rectangle DX x DY. Exact for every pair of these shapes.
#pragma once

#include "board/model/board.h"

namespace zevo {

struct PairGapResult {
    bool overlap = false;  // the shapes overlap or touch
    Point contact;         // on overlap: a point of both shapes
    Point nearA, nearB;    // otherwise: the nearest points, on a's and on b's outline
    double gap = 0;        // otherwise: their distance (0 below a squared distance of 1e-8)
};

// False for a pair that holds a group or anything but the four drawn kinds (neither overlapping
// nor near).
bool PairGap(const Board& b, const container* a, const container* c, PairGapResult& out);

}  // namespace zevo
