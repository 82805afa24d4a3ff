// Full repaints of generated boards of 10 k, 100 k and 1 M elements, fitted into a 1920 x 1080
// client, also as the first repaint after an edit of the document (an element moved, which the
// board's index follows) and after a change it cannot follow (the index is filled again by
// following the links), and with the partial pictures copied out as the editor shows them; and the
// overlay redraw of one mouse move.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

#include "board_generator.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

Board& BoardOf(size_t elements) {
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

// An element in the middle of the document, moved back and forth by a grid step.
drawn* MovedElement(Board& board) {
    std::vector<drawn*> all;
    ForEachDrawn(board.items, [&](drawn* d) { all.push_back(d); });
    return all.empty() ? nullptr : all[all.size() / 2];
}

// Before every repaint: 0 nothing, 1 an element moved, 2 a change the index does not follow.
void Edit(Board& board, drawn* moved, int64_t kind, int64_t iteration) {
    if (kind == 1 && moved) moved->translate(board, iteration % 2 ? -1.27 : 1.27, 0);
    if (kind == 2) board.changes.note();
}

// range(0): elements; range(1): the edit before every repaint (see Edit), or 3: no edit, and
// every partial picture copied to a screen buffer as the editor shows it, or 4: no edit, the view
// zoomed in and out by a hair (nothing kept from the last repaint holds). The repaints keep their
// outlines from one to the next as the editor's do.
void BM_RepaintFitted(benchmark::State& state) {
    Board& board = BoardOf(size_t(state.range(0)));
    drawn* moved = MovedElement(board);
    const ViewState view = FittedView(board, true);
    ViewState moved1 = view;
    moved1.SetView(view.scale * (1 + 1e-12), view.viewLeft, view.viewBottom);
    Framebuffer fb(1920, 1080), screen(1920, 1080);
    size_t drawn = 0, copies = 0;
    RenderOptions options;
    RepaintMemory memory;
    options.memory = &memory;
    const bool shown = state.range(1) == 3, scrolled = state.range(1) == 4;
    options.partialCopy = [&](const Framebuffer& part) {
        ++copies;
        if (shown) screen = part;
    };
    int64_t n = 0;
    const uint64_t restarts = board.drawnIndex.restarts();
    for (auto _ : state) {
        Edit(board, moved, state.range(1), n++);
        drawn = RenderBoard(board, scrolled && n % 2 ? moved1 : view, fb, options);
        benchmark::DoNotOptimize(fb.pixels().data());
    }
    state.counters["drawn"] = double(drawn);
    state.counters["worked out"] = double(memory.outlinesWorkedOut());
    state.counters["copies"] = double(copies) / double(state.iterations());
    state.counters["restarts"] = double(board.drawnIndex.restarts() - restarts);
}
BENCHMARK(BM_RepaintFitted)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond);

// The fitted repaint drawn by one thread or by two (range(1)), the board standing still; with
// or without the partial pictures (range(2)).
void BM_RepaintThreads(benchmark::State& state) {
    Board& board = BoardOf(size_t(state.range(0)));
    const ViewState view = FittedView(board, true);
    Framebuffer fb(1920, 1080);
    RenderOptions options;
    size_t copies = 0;
    if (state.range(2)) options.partialCopy = [&](const Framebuffer&) { ++copies; };
    options.threads = int(state.range(1));
    for (auto _ : state) {
        RenderBoard(board, view, fb, options);
        benchmark::DoNotOptimize(fb.pixels().data());
    }
}
BENCHMARK(BM_RepaintThreads)
    ->ArgsProduct({{1000000}, {1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A view of about a tenth of the board: most elements are skipped by their bounds.
void BM_RepaintZoomed(benchmark::State& state) {
    Board& board = BoardOf(size_t(state.range(0)));
    drawn* moved = MovedElement(board);
    ViewState view = FittedView(board, false);
    view.SetView(view.scale * 10, view.boardWidth / 3, view.boardHeight / 3);
    Framebuffer fb(1920, 1080);
    size_t drawn = 0;
    int64_t n = 0;
    for (auto _ : state) {
        Edit(board, moved, state.range(1), n++);
        drawn = RenderBoard(board, view, fb);
        benchmark::DoNotOptimize(fb.pixels().data());
    }
    state.counters["drawn"] = double(drawn);
}
BENCHMARK(BM_RepaintZoomed)
    ->ArgsProduct({{100000, 1000000}, {0, 1, 2}})
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
