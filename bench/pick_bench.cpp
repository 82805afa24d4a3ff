// Picking one element under the cursor on a generated board of 1 M elements: points spread over
// the board (the walk stops at the first hit), and a point beside the board where nothing is hit
// and every element is looked at.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "board_generator.h"
#include "tools/tool_context.h"

namespace zevo {
namespace {

const Board& PickBoard() {
    static const std::unique_ptr<Board> board = [] {
        auto b = std::make_unique<Board>();
        GenerateBoard(*b, {1000000, 1});
        return b;
    }();
    return *board;
}

// Four pixels of the fitted 1920 x 1080 view, as the editor's pick radius would be.
double PickTolerance(const Board& board) {
    return 4 * std::max(board.sizeX / 1920.0, board.sizeY / 1080.0);
}

void BM_PickSpread(benchmark::State& state) {
    const Board& board = PickBoard();
    const double tolerance = PickTolerance(board);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(0, board.sizeX), y(0, board.sizeY);
    std::vector<Point> points(256);
    for (Point& p : points) p = {x(rng), y(rng)};
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        container* c = PickElement(board, points[i++ % points.size()], tolerance);
        hits += c != nullptr;
        benchmark::DoNotOptimize(c);
    }
    state.counters["hit share"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_PickSpread)->Unit(benchmark::kMillisecond);

void BM_PickMiss(benchmark::State& state) {
    const Board& board = PickBoard();
    const double tolerance = PickTolerance(board);
    const Point beside{-board.sizeX, -board.sizeY};
    for (auto _ : state) benchmark::DoNotOptimize(PickElement(board, beside, tolerance));
}
BENCHMARK(BM_PickMiss)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
