// Large random boards for the benchmarks and the round-trip tests. The same seed gives the same
// board on every platform. A generated board holds every kind of element the document knows, and
// only what the board file can carry, so writing it and reading it back gives the same document.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board/model/board.h"

namespace zevo {

struct GeneratorOptions {
    // About this many elements: every land, line, arc, rectangle and group counts one.
    size_t elements = 10000;
    uint64_t seed = 1;
};

// Fills the board (whose element list should be empty) with a document: named layers, pad
// definitions, changed apertures, grid, and lands, square lands, round- and square-pen lines, arcs,
// rectangles, nested plain groups, parts with pads, pins and labels, texts, filled areas (outline,
// holes, fill strokes), placed pads, check markers and dotted lines; pin and net names partly in
// Shift-JIS; everything on the board.
void GenerateBoard(Board& board, const GeneratorOptions& options);

}  // namespace zevo
