#include "checks/box_grid.h"

namespace zevo {

namespace {
// An item spanning more cells than this is searched apart (a board outline, a huge rectangle).
constexpr double kMaxCellsPerItem = 256;
bool FiniteBox(const Box& b) {
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) &&
           std::isfinite(b.maxY) && b.minX <= b.maxX && b.minY <= b.maxY;
}
}  // namespace

void BoxGrid::build(const std::vector<Box>& boxes, double minCell, double cellHint) {
    starts_.clear();
    items_.clear();
    big_.clear();
    bigFlag_.assign(boxes.size(), false);
    nx_ = ny_ = 0;
    Box ext{};
    size_t n = 0;
    for (const Box& b : boxes) {
        if (!FiniteBox(b)) continue;
        if (n++ == 0)
            ext = b;
        else
            ext.grow(b);
    }
    if (n == 0) {
        for (uint32_t i = 0; i < boxes.size(); ++i) big_.push_back(i), bigFlag_[i] = true;
        return;
    }
    const double w = ext.maxX - ext.minX, h = ext.maxY - ext.minY;
    // About one item per cell, never finer than asked, and no more cells than a few per item.
    double cell = std::max({minCell, cellHint, std::sqrt(w * h / static_cast<double>(n))});
    const double maxCells = 4.0 * static_cast<double>(n) + 1024;
    while ((w / cell + 1) * (h / cell + 1) > maxCells) cell *= 1.5;
    cell_ = cell;
    ox_ = ext.minX;
    oy_ = ext.minY;
    nx_ = static_cast<int>(w / cell) + 1;
    ny_ = static_cast<int>(h / cell) + 1;
    const size_t cells = static_cast<size_t>(nx_) * ny_;
    starts_.assign(cells + 1, 0);

    auto forCells = [&](const Box& b, auto&& f) {
        const int x0 = cellX(b.minX), x1 = cellX(b.maxX);
        const int y0 = cellY(b.minY), y1 = cellY(b.maxY);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) f(static_cast<size_t>(cy) * nx_ + cx);
    };
    for (uint32_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (!FiniteBox(b) ||
            ((b.maxX - b.minX) / cell + 1) * ((b.maxY - b.minY) / cell + 1) > kMaxCellsPerItem) {
            big_.push_back(i);
            bigFlag_[i] = true;
            continue;
        }
        forCells(b, [&](size_t c) { ++starts_[c + 1]; });
    }
    for (size_t c = 0; c < cells; ++c) starts_[c + 1] += starts_[c];
    items_.resize(starts_[cells]);
    std::vector<uint32_t> fill(starts_.begin(), starts_.end() - 1);
    for (uint32_t i = 0; i < boxes.size(); ++i) {
        if (bigFlag_[i]) continue;
        forCells(boxes[i], [&](size_t c) { items_[fill[c]++] = i; });
    }
}

}  // namespace zevo
