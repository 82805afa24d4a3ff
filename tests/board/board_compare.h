// Comparing two board documents in tests: the first difference found, in words.
#pragma once

#include <string>

#include "board/model/board.h"

namespace zevo::testing {

struct CompareOptions {
    double tolerance = 1e-9;  // lengths and angles (degrees and radians convert on the way)
    bool tables = true;       // layers, apertures, pads, size, grid, version
};

// Empty when the documents are equal; otherwise where they first differ.
std::string FirstDifference(const Board& a, const Board& b, const CompareOptions& options = {});
// The same for two element lists.
std::string FirstDifference(const ListNode& a, const ListNode& b, const CompareOptions& options = {});

}  // namespace zevo::testing
