// The equipotential tool on a generated board: from the click to the net drawn into the back
// buffer of a 1920 x 1080 view (the conductor set of the whole board is gathered every time).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "board_generator.h"
#include "tools/view_tools.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

void BM_EquipotentialClick(benchmark::State& state) {
    Board board;
    GenerateBoard(board, {size_t(state.range(0)), 3});
    ViewState view;
    view.SetBoardSize(board.sizeX, board.sizeY);
    view.Resize(1920, 1080);
    view.FitBoard();
    Framebuffer back(1920, 1080);
    // Click points on the outlines of conductors spread over the document.
    std::vector<Point> lands;
    ForEachDrawn(board.items, [&](drawn* d) {
        if (d->kind == kLand && ConductorLayer(board, d->layer))
            lands.push_back({d->bounds.maxX, (d->bounds.minY + d->bounds.maxY) / 2});
    });
    std::vector<Point> clicks;
    for (size_t k = 0; k < lands.size(); k += std::max<size_t>(1, lands.size() / 64))
        clicks.push_back(lands[k]);
    if (clicks.empty()) {
        state.SkipWithError("no conductor land");
        return;
    }
    size_t i = 0, members = 0;
    for (auto _ : state) {
        const Net net = EquipotentialNet(board, clicks[i++ % clicks.size()], 0.05);
        OutlinePainter painter(board, view, back);
        for (container* m : net)
            if (IsDrawn(m)) painter.Draw(AsDrawn(m), {kGreyPen, RasterOp::kCopy});
        members += net.size();
    }
    state.counters["members"] = double(members) / double(state.iterations());
}
BENCHMARK(BM_EquipotentialClick)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
