// Full repaints of generated boards of 10 k, 100 k and 1 M elements, fitted into a 1920 x 1080
// client, also as the first repaint after a change of the document (the board's index is rebuilt
// by following the links), and the overlay redraw of one mouse move.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "board_generator.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

const Board& BoardOf(size_t elements) {
    static std::map<size_t, std::unique_ptr<Board>> boards;
    auto& b = boards[elements];
    if (!b) {
        b = std::make_unique<Board>();
        GenerateBoard(*b, {elements, 1});
    }
    return *b;
}

ViewState FittedView(const Board& board, bool drawing) {
    ViewState v;
    v.TakeBoardGrid(board);
    v.SetClientSize(1920, 1080);
    v.CentreOnBoard();
    if (!drawing || !v.FitDrawing(board)) v.FitBoard();
    return v;
}

// range(0): elements; range(1): 1 when the document changed before every repaint.
void BM_RepaintFitted(benchmark::State& state) {
    const Board& board = BoardOf(size_t(state.range(0)));
    const bool changed = state.range(1) != 0;
    const ViewState view = FittedView(board, true);
    Framebuffer fb(1920, 1080);
    size_t drawn = 0, copies = 0;
    RenderOptions options;
    options.partialCopy = [&](const Framebuffer&) { ++copies; };
    for (auto _ : state) {
        if (changed) board.changes.note();
        drawn = RenderBoard(board, view, fb, options);
        benchmark::DoNotOptimize(fb.pixels().data());
    }
    state.counters["drawn"] = double(drawn);
    state.counters["copies"] = double(copies) / double(state.iterations());
}
BENCHMARK(BM_RepaintFitted)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A view of about a tenth of the board: most elements are skipped by their bounds.
void BM_RepaintZoomed(benchmark::State& state) {
    const Board& board = BoardOf(size_t(state.range(0)));
    const bool changed = state.range(1) != 0;
    ViewState view = FittedView(board, false);
    view.SetView(view.scale * 10, view.boardWidth / 3, view.boardHeight / 3);
    Framebuffer fb(1920, 1080);
    size_t drawn = 0;
    for (auto _ : state) {
        if (changed) board.changes.note();
        drawn = RenderBoard(board, view, fb);
        benchmark::DoNotOptimize(fb.pixels().data());
    }
    state.counters["drawn"] = double(drawn);
}
BENCHMARK(BM_RepaintZoomed)
    ->ArgsProduct({{100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A mouse move: the long cursor and a rectangle band erased at the old place, drawn at the new.
void BM_OverlayMove(benchmark::State& state) {
    Framebuffer screen(1920, 1080);
    int x = 100;
    for (auto _ : state) {
        DrawLongCursor(screen, x, 500);
        DrawRectangleBand(screen, {50, 50}, {x, 500}, true);
        x = x == 100 ? 101 : 100;
        DrawLongCursor(screen, x, 500);
        DrawRectangleBand(screen, {50, 50}, {x, 500}, true);
        benchmark::DoNotOptimize(screen.pixels().data());
    }
}
BENCHMARK(BM_OverlayMove)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zevo
