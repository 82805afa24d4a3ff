// The editing tools on generated boards. The equipotential tool: from the click to the net drawn
// into the back buffer of a 1920 x 1080 view, on a board that stands still or with an element
// moved before every click (the board's index follows the move). The deform tool: a mouse move
// while a line end is dragged, and the commit.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "board/undo/undo.h"
#include "board_generator.h"
#include "tools/deform_tool.h"
#include "tools/tool_context.h"
#include "tools/view_tools.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

// range(0): elements; range(1): 1 when an element is moved before every click.
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
    drawn* moved = nullptr;
    {
        std::vector<drawn*> all;
        ForEachDrawn(board.items, [&](drawn* d) { all.push_back(d); });
        moved = all[all.size() / 2];
    }
    size_t i = 0, members = 0;
    for (auto _ : state) {
        if (state.range(1)) moved->translate(board, i % 2 ? -1.27 : 1.27, 0);
        const Net net = EquipotentialNet(board, clicks[i++ % clicks.size()], 0.05);
        OutlinePainter painter(board, view, back);
        for (container* m : net)
            if (IsDrawn(m)) painter.Draw(AsDrawn(m), {kGreyPen, RasterOp::kCopy});
        members += net.size();
    }
    state.counters["members"] = double(members) / double(state.iterations());
}
// Each run clicks every one of the 64 points once, so that runs are alike.
BENCHMARK(BM_EquipotentialClick)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Iterations(64)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo

namespace zevo {
namespace {

// The deform tool in a 1920 x 1080 view at 20 pixels per millimetre: the end of a free line is
// taken (vertex mode, so the elements on that end follow), then each mouse move redraws only the
// copies; and the commit of such a move, without the repaint that follows it.

struct QuietHost : ToolHost {
    void Beep() override {}
    void ShowHint(int) override {}
    void SetDefinitionItemsEnabled(bool, bool) override {}
    void SetCloseEnabled(bool) override {}
    void ToolBarChanged() override {}
    void Repaint() override {}
};

class DeformBench {
  public:
    explicit DeformBench(size_t elements) {
        GenerateBoard(board, {elements, 7});
        view.SetBoardSize(board.sizeX, board.sizeY);
        view.Resize(1920, 1080);
        view.SetPickRadiusPixels(5);
        ForEachDrawn(board.items, [&](drawn* d) {
            if (d->kind == kLine && !d->parent && OnActiveLayer(board, d) &&
                !static_cast<line*>(d)->zeroLength())
                lines.push_back(static_cast<line*>(d));
        });
        // The generated tracks do not meet; three more tracks end where the first taken one
        // does, so that a corner of four tracks is dragged.
        if (!lines.empty()) {
            std::rotate(lines.begin(), lines.begin() + ptrdiff_t(lines.size() / 2), lines.end());
            const line* l = lines.front();
            // At the head of the document, so that the click takes one of them even where
            // the board is dense (the first element hit is taken).
            for (Point d : {Point{1, 0}, Point{0, 1}, Point{-1, 1}}) {
                line* t = board.CreateLine(l->layer, l->aperture, l->square(),
                                           {l->ex + d.x, l->ey + d.y}, l->end());
                t->insertBefore(board.items.next, board.changes);
            }
        }
        screen.Resize(1920, 1080);
        back.Resize(1920, 1080);
        ctx = std::make_unique<ToolContext>(board, history, view, host, EditorModeTable());
        ctx->screen = &screen;
        ctx->back = &back;
        ctx->selectToolMode(kModeDeform);
    }
    // Takes the end of one of the free lines (the corner first): the view is
    // centred there and drawn, the click lands on the line's outline at its end.
    bool take() {
        for (size_t tries = 0; tries < 64 && next < lines.size(); ++tries) {
            const line* l = lines[next++];
            if (!l->linked()) continue;
            const Point e = l->end();
            view.SetView(20, e.x - 1920 / 40.0, e.y - 1080 / 40.0);
            RenderOptions o;
            RenderBoard(board, view, back, o);
            screen = back;
            const double len = std::hypot(l->ex - l->x, l->ey - l->y);
            const double h = l->halfSize(board);
            const Point at{e.x - (l->ey - l->y) / len * h, e.y + (l->ex - l->x) / len * h};
            const Point s = view.WorldToScreen(at);
            x = int(std::lround(s.x)), y = int(std::lround(s.y));
            ctx->leftDown(x, y, 0);
            if (ctx->leftUp(x, y, 0) != ToolResult::NextState) continue;
            if (ctx->deform.kind == kDeformFreeEnd) return true;
            ctx->escape();
        }
        return false;
    }

    Board board;
    UndoHistory history{board};
    ViewState view;
    QuietHost host;
    Framebuffer screen, back;
    std::unique_ptr<ToolContext> ctx;
    std::vector<line*> lines;
    size_t next = 0, lastFollowing = 0;
    int x = 0, y = 0;
};

void BM_DeformMove(benchmark::State& state) {
    DeformBench b(size_t(state.range(0)));
    if (!b.take()) {
        state.SkipWithError("no free line end to take");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        // Between two points a millimetre or two away, so that every move is a new grid point.
        ++k;
        b.ctx->mouseMove(b.x + (k & 1 ? 20 : 40), b.y + (k & 1 ? 0 : 30), 0);
    }
    state.counters["following"] = double(b.ctx->deform.joints.size());
}
BENCHMARK(BM_DeformMove)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_DeformCommit(benchmark::State& state) {
    DeformBench b(size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        b.next = 0;  // the corner again: the undo below gave it back
        if (!b.take()) {
            state.SkipWithError("no free line end to take");
            break;
        }
        b.ctx->mouseMove(b.x + 20, b.y + 30, 0);
        b.lastFollowing = b.ctx->deform.joints.size();
        state.ResumeTiming();
        b.ctx->leftDown(b.x + 20, b.y + 30, 0);
        const ToolResult r = b.ctx->leftUp(b.x + 20, b.y + 30, 0);
        state.PauseTiming();
        if (r != ToolResult::Committed) {
            state.SkipWithError("the deform was not put down");
            break;
        }
        b.history.Undo();
        state.ResumeTiming();
    }
    state.counters["following"] = double(b.lastFollowing);
}
// Each iteration takes a new line end first, which reads the whole document again (not timed).
BENCHMARK(BM_DeformCommit)->Arg(1000000)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
