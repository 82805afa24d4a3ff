// Comparing two board documents in tests: the first difference found, in words.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "board/file/board_reader.h"
#include "board/model/board.h"

namespace zevo::testing {

struct CompareOptions {
    double tolerance = 1e-9;  // lengths and angles (degrees and radians convert on the way)
    bool tables = true;       // layers, apertures, pads, size, grid, version
    // Arcs (their angles and bounds), when not negative: arcs written one turn lower do not
    // read back to the last bit, whatever the tolerance of the rest.
    double arcTolerance = -1;
};

// Empty when the documents are equal; otherwise where they first differ.
std::string FirstDifference(const Board& a, const Board& b, const CompareOptions& options = {});
// The same for two element lists.
std::string FirstDifference(const ListNode& a, const ListNode& b,
                            const CompareOptions& options = {});

// A board as a new document finds it.
std::unique_ptr<Board> NewBoard();
// The text read with ReadSections into a new board (no post-read steps).
std::unique_ptr<Board> ReadBoard(std::string_view text, ReadResult* result = nullptr);
// Only the DrawItems section, with lines given one per string.
std::unique_ptr<Board> ReadItems(std::string_view items, ReadResult* result = nullptr);
// The first top-level element.
container* First(const Board& b);

}  // namespace zevo::testing
