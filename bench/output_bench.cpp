// Speed of the manufacturing files on large boards: writing the Gerber and drill files of a
// board of 10 k .. 1 M elements, and reading Gerber back (commands per second). With
// ZEVO_GERBV set to gerbv's path, the same 1 M-command file is also read by gerbv
// (`gerbv -x rs274x`) and the time is reported beside ours.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "board/model/board.h"
#include "output/gerber_reader.h"
#include "output/gerber_writer.h"
#include "output/hole_output.h"
#include "paths/file_io.h"

namespace zevo {
namespace {

// A board of n drawn elements spread over layers 1, 2, 3 and 8 on a 0.001 mm grid: lands,
// tracks, arcs, rectangles and, on the hole layer, round lands.
std::unique_ptr<Board> MakeBoard(int n) {
    auto b = std::make_unique<Board>();
    b->SetBoardSize(1000, 1000);
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(1000, 999000);
    std::uniform_int_distribution<int> ap(0, 40);
    auto mm = [&] { return coord(rng) / 1000.0; };
    for (int i = 0; i < n; ++i) {
        const int kind = i % 10;
        container* e;
        if (kind < 3) {
            e = b->CreateLand(1 + (i & 1), ap(rng), kind == 2, {mm(), mm()});
        } else if (kind < 7) {
            const Point s{mm(), mm()};
            e = b->CreateLine(1 + (i & 1), ap(rng) % 12, false, s, {s.x + 2.54, s.y + (i % 3)});
        } else if (kind == 7) {
            e = b->CreateArc(3, 3, {mm(), mm()}, 2, 0.5, 2.5);
        } else if (kind == 8) {
            e = b->CreateRect(1, 0, {mm(), mm()}, 2, 1, 0.3);
        } else {
            e = b->CreateLand(8, 14 + i % 5, false, {mm(), mm()});
        }
        b->AppendElement(nullptr, e);
    }
    return b;
}

void BM_WriteGerberAndDrill(benchmark::State& state) {
    const auto b = MakeBoard(static_cast<int>(state.range(0)));
    std::string out;
    for (auto _ : state) {
        const auto used = UsedAperturesByLayer(*b);
        UsedApertures all;
        for (int l : {1, 2, 3, 8}) all |= used[l];
        const DCodeTables codes = AutomaticDCodes(DCodeTables::Defaults(), all);
        std::size_t bytes = 0;
        for (int l : {1, 2, 3, 8}) {
            out.clear();
            WriteLayer(out, *b, l, true, 3, codes);
            bytes += out.size();
        }
        std::vector<Hole> holes;
        GatherHoles(*b, 8, holes);
        out.clear();
        WriteToolTableProgram(
            out, *b, holes, [](int ap) { return ap + 1; }, 3);
        bytes += out.size();
        benchmark::DoNotOptimize(bytes);
        state.counters["MB"] = bytes / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteGerberAndDrill)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// About one command per line of the written file.
std::string GerberOf(int elements, long long& commands) {
    const auto b = MakeBoard(elements);
    UsedApertures used;
    CollectUsedApertures(*b, 1, used);
    std::string out;
    WriteLayer(out, *b, 1, true, 3, AutomaticDCodes(DCodeTables::Defaults(), used));
    commands = 0;
    for (char c : out) commands += c == '*';
    return out;
}

void BM_ReadGerber(benchmark::State& state) {
    long long commands = 0;
    const std::string file = GerberOf(static_cast<int>(state.range(0)), commands);
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<Board>();
        state.ResumeTiming();
        InputResult r;
        ReadGerber(*b, file, GerberReadOptions{}, r);
        benchmark::DoNotOptimize(r.elements.data());
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["commands/s"] = benchmark::Counter(
        static_cast<double>(commands) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadGerber)->Arg(100'000)->Arg(1'600'000)->Unit(benchmark::kMillisecond);

// gerbv on the same file, once (it is a separate program; its start-up is included).
void BM_GerbvReadsTheSameFile(benchmark::State& state) {
    const char* gerbv = std::getenv("ZEVO_GERBV");
    if (!gerbv) {
        state.SkipWithError("set ZEVO_GERBV to gerbv's path to compare");
        return;
    }
    long long commands = 0;
    const std::string file = GerberOf(static_cast<int>(state.range(0)), commands);
    const auto dir = std::filesystem::temp_directory_path();
    const auto in = dir / ("zevo-bench-" + UniqueFileSuffix() + ".gbr");
    const auto out = dir / ("zevo-bench-" + UniqueFileSuffix() + ".out");
    WriteFileAtomically(in, file);
    const std::string cmd = std::string(gerbv) + " -x rs274x -o '" + out.string() + "' '" +
                            in.string() + "' >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("gerbv failed");
    }
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["commands/s"] = benchmark::Counter(
        static_cast<double>(commands) * state.iterations(), benchmark::Counter::kIsRate);
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}
BENCHMARK(BM_GerbvReadsTheSameFile)->Arg(1'600'000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
