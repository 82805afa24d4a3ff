// Laying out a text of 64 characters with the shipped font: every character reads its index cell
// and its glyph record from the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "board/model/board.h"
#include "view/stroke_font.h"

namespace {

const std::filesystem::path kFont =
    std::filesystem::path(ZEVO_SOURCE_DIR) / "resources" / "zevofont.dat";

// 64 characters: letters, digits, signs and half-width kana.
const std::string kText =
    "R101 10k 1/4W C12 0.1uF U3 74HC04 J1 USB-B \xBA\xC8\xB8\xC0\xB0 GND VCC+5V LED2";

void BM_LayoutText64(benchmark::State& state) {
    zevo::Board board;
    board.SetBoardSize(1000, 1000);
    zevo::TextParams p;
    p.text = std::string_view(kText).substr(0, 64);
    p.height = 3.2;
    p.pitch = 3.4;
    p.angle = 30;
    std::size_t lines = 0;
    for (auto _ : state) {
        zevo::TextLayout t = zevo::LayoutText(board, kFont, p, {100, 100});
        if (!t.text) {
            state.SkipWithError("no text laid out");
            break;
        }
        lines = board.liveCounts().lines;
        t.text->recycle(board);
    }
    state.counters["strokes"] = double(lines);
    state.SetItemsProcessed(int64_t(state.iterations()) * 64);
}
BENCHMARK(BM_LayoutText64);

void BM_CheckCoverage64(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(zevo::CheckCoverage(kFont, std::string_view(kText).substr(0, 64)));
}
BENCHMARK(BM_CheckCoverage64);

}  // namespace
