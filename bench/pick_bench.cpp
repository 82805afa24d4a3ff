// Picking one element under the cursor on generated boards of 10 k, 100 k and 1 M elements:
// points spread over the board (the walk stops at the first hit), and a point beside the board
// where nothing is hit and every element is looked at. Each also as the first pick after a
// change of the document, when the board's index is rebuilt by following the links.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "board_generator.h"
#include "tools/tool_context.h"

namespace zevo {
namespace {

const Board& PickBoard(size_t elements) {
    static std::map<size_t, std::unique_ptr<Board>> boards;
    auto& b = boards[elements];
    if (!b) {
        b = std::make_unique<Board>();
        GenerateBoard(*b, {elements, 1});
    }
    return *b;
}

// Four pixels of the fitted 1920 x 1080 view, as the editor's pick radius would be.
double PickTolerance(const Board& board) {
    return 4 * std::max(board.sizeX / 1920.0, board.sizeY / 1080.0);
}

// range(0): elements; range(1): 1 when the document changed before every pick.
void BM_PickSpread(benchmark::State& state) {
    const Board& board = PickBoard(size_t(state.range(0)));
    const bool changed = state.range(1) != 0;
    const double tolerance = PickTolerance(board);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(0, board.sizeX), y(0, board.sizeY);
    std::vector<Point> points(256);
    for (Point& p : points) p = {x(rng), y(rng)};
    size_t i = 0;
    for (auto _ : state) {
        if (changed) board.changes.note();
        benchmark::DoNotOptimize(PickElement(board, points[i++ % points.size()], tolerance));
    }
    size_t hits = 0;
    for (const Point& p : points) hits += PickElement(board, p, tolerance) != nullptr;
    state.counters["hit share"] = double(hits) / double(points.size());
}
BENCHMARK(BM_PickSpread)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_PickMiss(benchmark::State& state) {
    const Board& board = PickBoard(size_t(state.range(0)));
    const bool changed = state.range(1) != 0;
    const double tolerance = PickTolerance(board);
    const Point beside{-board.sizeX, -board.sizeY};
    for (auto _ : state) {
        if (changed) board.changes.note();
        benchmark::DoNotOptimize(PickElement(board, beside, tolerance));
    }
}
BENCHMARK(BM_PickMiss)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
