// A uniform grid over boxes, laid out as one array of cells (counting sort, no per-cell
// allocation), for the searches of the net builder and the design rule check. A query reports
// every item stored in a cell the query box meets, so it may report items that do not touch the
// box (the caller applies the exact test) and, for items spanning several cells, the same item
// more than once. Items too large for the grid (or with non-finite bounds) are kept apart and
// reported by every query.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "board/model/element.h"

namespace zevo {

class BoxGrid {
  public:
    // `boxes[i]` is item i. `minCell` is the smallest cell width wanted (the coincidence distance
    // for point searches); `cellHint` a typical item size, so that most items fall in few cells.
    void build(const std::vector<Box>& boxes, double minCell, double cellHint);

    template <class F>
    void query(const Box& q, F&& f) const {
        for (uint32_t i : big_) f(i);
        if (nx_ == 0) return;
        const int x0 = cellX(q.minX), x1 = cellX(q.maxX);
        const int y0 = cellY(q.minY), y1 = cellY(q.maxY);
        for (int cy = y0; cy <= y1; ++cy) {
            const size_t row = static_cast<size_t>(cy) * nx_;
            for (int cx = x0; cx <= x1; ++cx) {
                const size_t c = row + cx;
                for (uint32_t k = starts_[c]; k < starts_[c + 1]; ++k) f(items_[k]);
            }
        }
    }
    // Items kept apart from the cells.
    const std::vector<uint32_t>& bigItems() const { return big_; }
    bool isBig(uint32_t item) const { return item < bigFlag_.size() && bigFlag_[item]; }
    double cellSize() const { return cell_; }

  private:
    int cellX(double x) const { return clampCell((x - ox_) / cell_, nx_); }
    int cellY(double y) const { return clampCell((y - oy_) / cell_, ny_); }
    static int clampCell(double v, int n) {
        // Compared as doubles first: far-away or non-finite values must not overflow the cast.
        if (!(v > 0)) return 0;
        if (v >= n - 1) return n - 1;
        return static_cast<int>(v);
    }

    double ox_ = 0, oy_ = 0, cell_ = 1;
    int nx_ = 0, ny_ = 0;
    std::vector<uint32_t> starts_;
    std::vector<uint32_t> items_;
    std::vector<uint32_t> big_;
    std::vector<bool> bigFlag_;
};

}  // namespace zevo
