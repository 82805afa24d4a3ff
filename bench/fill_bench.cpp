// Speed of the fill tool's hatching: an outline of 1 000 edges (a wavy closed curve 200 mm high)
// filled with a 0.1 mm pen, about 2 100 scan lines over every edge.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "board/model/board.h"
#include "tools/fill_hatch.h"

namespace zevo {
namespace {

void BM_HatchThousandEdges(benchmark::State& state) {
    Board b;
    b.SetRoundAperture(1, 0.05);
    const int n = 1000;
    std::vector<Point> p;
    for (int i = 0; i < n; ++i) {
        const double a = kTwoPi * i / n;
        const double r = 100 + 5 * std::sin(12 * a);  // a wavy ring: many crossings per line
        p.push_back({120 + r * std::cos(a), 110 + 100 * std::sin(a)});
    }
    std::vector<const drawn*> outline;
    for (int i = 0; i < n; ++i)
        outline.push_back(b.CreateLine(1, 1, false, p[size_t(i)], p[size_t((i + 1) % n)]));
    size_t strokes = 0;
    for (auto _ : state) {
        std::vector<FillEdge> edges;
        AddFillEdges(outline, edges);
        const auto s = HatchStrokes(edges, 0.1);
        strokes = s.size();
        benchmark::DoNotOptimize(s.data());
    }
    state.counters["strokes"] = double(strokes);
}
BENCHMARK(BM_HatchThousandEdges)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
