// The multiple tool on the 100 k-element generated board in a 1920 x 1080 view of the whole
// board: one mouse move while the items of about 10 k elements float (the highlight taken off from
// the back buffer, the items moved, the highlight drawn again), the same with every item of the
// board floating, and copy + paste of about 10 k elements (the clipboard block written, read back
// and floating at the cursor).
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "board/undo/undo.h"
#include "board_generator.h"
#include "tools/multiple_tool.h"
#include "tools/tool_context.h"
#include "tools/view_tools.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

struct ClipboardHost : ToolHost {
    void Beep() override {}
    void ShowHint(int) override {}
    void SetDefinitionItemsEnabled(bool, bool) override {}
    void SetCloseEnabled(bool) override {}
    void ToolBarChanged() override {}
    void Repaint() override {}
    bool SetClipboard(std::string_view bytes) override {
        clip = std::string(bytes);
        return true;
    }
    std::optional<std::string> Clipboard() override { return clip; }
    std::optional<std::string> clip;
};

class MultipleBench {
  public:
    explicit MultipleBench(size_t elements) {
        GenerateBoard(board, {elements, 11});
        view.SetBoardSize(board.sizeX, board.sizeY);
        view.Resize(kWidth, kHeight);
        view.FitBoard();
        view.SetPickRadiusPixels(5);
        if (!view.onGrid()) view.ToggleOnGrid();
        RenderOptions o;
        back.Resize(kWidth, kHeight);
        RenderBoard(board, view, back, o);
        screen = back;
        ctx = std::make_unique<ToolContext>(board, history, view, host, EditorModeTable());
        ctx->screen = &screen;
        ctx->back = &back;
        ctx->selectToolMode(kModeMultiple);
    }
    // Elements as the generator counts them: every drawn element and every group one.
    static size_t Elements(const ListNode& list) {
        size_t n = 0;
        for (const container* e : Items(list)) {
            ++n;
            if (e->kind == kGroup) n += Elements(AsGroup(e)->members);
        }
        return n;
    }
    // Takes the items of the band from the board's left edge to `fraction` of its width; the
    // elements taken.
    size_t takeBand(double fraction) {
        const Point a = view.WorldToScreen(Point{-1, board.sizeY + 1});
        const Point b = view.WorldToScreen(Point{board.sizeX * fraction, -1});
        ctx->leftDown(int(a.x), int(a.y), 0);
        ctx->mouseMove(int(b.x), int(b.y), kKeyLeft);
        ctx->leftUp(int(b.x), int(b.y), 0);
        return Elements(ctx->selection.list);
    }
    // The band width that takes about `wanted` elements, found by halving.
    double bandFor(size_t wanted) {
        double lo = 0, hi = 1.02;
        for (int i = 0; i < 20; ++i) {
            const double mid = (lo + hi) / 2;
            const size_t got = takeBand(mid);
            ctx->escape();
            if (got < wanted)
                lo = mid;
            else
                hi = mid;
        }
        return hi;
    }
    // The taken items float from the middle of the view.
    bool lift() {
        if (!ctx->command(EditOp::Move)) return false;
        x = kWidth / 2, y = kHeight / 2;
        ctx->mouseMove(x, y, 0);
        ctx->leftDown(x, y, 0);
        return ctx->leftUp(x, y, 0) == ToolResult::NextState;
    }

    static constexpr int kWidth = 1920, kHeight = 1080;
    Board board;
    UndoHistory history{board};
    ViewState view;
    ClipboardHost host;
    Framebuffer screen, back;
    std::unique_ptr<ToolContext> ctx;
    int x = 0, y = 0;
};

// One mouse move of the floating items; each move goes to another grid point (the moves
// alternate between two points some millimetres apart).
void BM_MultipleFloatMove(benchmark::State& state) {
    MultipleBench b(100000);
    state.counters["board"] = double(MultipleBench::Elements(b.board.items));
    const size_t wanted = size_t(state.range(0));
    const size_t taken = b.takeBand(wanted >= 100000 ? 1.02 : b.bandFor(wanted));
    if (!b.lift()) {
        state.SkipWithError("the items did not float");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        ++k;
        b.ctx->mouseMove(b.x + (k & 1 ? 30 : 0), b.y + (k & 1 ? 20 : 0), 0);
    }
    state.counters["elements"] = double(taken);
    state.counters["items"] = double(b.ctx->selection.count());
}
BENCHMARK(BM_MultipleFloatMove)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Copy (the block written, the items back on the board) and paste (the block read, the part
// rule, the items floating at the cursor); the paste is cancelled and the items taken again
// outside the timing.
void BM_MultipleCopyPaste(benchmark::State& state) {
    MultipleBench b(100000);
    const double band = b.bandFor(size_t(state.range(0)));
    size_t taken = b.takeBand(band);
    size_t bytes = 0;
    for (auto _ : state) {
        if (!b.ctx->command(EditOp::Copy)) {
            state.SkipWithError("nothing to copy");
            break;
        }
        // The editor enables pasting when the clipboard changes.
        b.ctx->modes.setToolBarEnabled(Cmd::Paste, true);
        b.ctx->mouseMove(MultipleBench::kWidth / 2, MultipleBench::kHeight / 2, 0);
        if (!b.ctx->command(EditOp::Paste) || b.ctx->modes.depth() != 2) {
            state.SkipWithError("nothing pasted");
            break;
        }
        state.PauseTiming();
        bytes = b.host.clip ? b.host.clip->size() : 0;
        b.ctx->escape();
        taken = b.takeBand(band);
        state.ResumeTiming();
    }
    state.counters["elements"] = double(taken);
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_MultipleCopyPaste)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace zevo
