// Reading and writing generated boards of 10 k, 100 k and 1 M elements.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "board/file/document.h"
#include "board_generator.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace zevo {
namespace {

struct Sample {
    std::unique_ptr<Board> board;
    std::string text;
    size_t elements = 0;
};

size_t CountElements(const ListNode& list) {
    size_t n = 0;
    for (container* c : Items(list)) {
        ++n;
        if (c->kind == kGroup) n += CountElements(AsGroup(c)->members);
    }
    return n;
}

// One generated board per size, kept for the whole run.
const Sample& SampleOf(size_t elements) {
    static std::map<size_t, Sample> samples;
    Sample& s = samples[elements];
    if (!s.board) {
        s.board = std::make_unique<Board>();
        ResetToBuiltInDefaults(*s.board);
        GenerateBoard(*s.board, {elements, 7});
        s.text = WriteDocument(*s.board);
        s.elements = CountElements(s.board->items);
    }
    return s;
}

long ResidentBytes() {
#ifdef __linux__
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
#else
    return 0;
#endif
}

void BM_ReadDocumentText(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<Board>();
        ResetToBuiltInDefaults(*b);
        state.ResumeTiming();
        ReadResult r = ReadDocumentText(s.text, *b);
        benchmark::DoNotOptimize(r);
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.text.size()));
    state.counters["elements"] = static_cast<double>(s.elements);
    state.counters["file_MB"] = static_cast<double>(s.text.size()) / 1e6;
}

void BM_ReadDocumentFile(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("zevo_bench_" + std::to_string(state.range(0)) + ".pcb");
    WriteDocumentFile(path, *s.board);
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<Board>();
        ResetToBuiltInDefaults(*b);
        state.ResumeTiming();
        ReadResult r = ReadDocument(path, *b);
        benchmark::DoNotOptimize(r);
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.text.size()));
}

void BM_WriteDocument(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = WriteDocument(*s.board);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_WriteDocumentFile(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("zevo_bench_w" + std::to_string(state.range(0)) + ".pcb");
    for (auto _ : state) benchmark::DoNotOptimize(WriteDocumentFile(path, *s.board));
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.text.size()));
}

// Memory held by a board read from a file, per element (resident set growth while holding it).
void BM_BoardMemory(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    double perElement = 0;
    for (auto _ : state) {
        const long before = ResidentBytes();
        auto b = std::make_unique<Board>();
        ResetToBuiltInDefaults(*b);
        ReadDocumentText(s.text, *b);
        perElement =
            static_cast<double>(ResidentBytes() - before) / static_cast<double>(s.elements);
        benchmark::DoNotOptimize(b);
    }
    state.counters["bytes_per_element"] = perElement;
}

void BM_WriteOldFormat(benchmark::State& state) {
    const Sample& s = SampleOf(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(WriteOldFormat(*s.board));
}

BENCHMARK(BM_ReadDocumentText)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDocumentFile)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDocument)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDocumentFile)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOldFormat)->Arg(100000)->Unit(benchmark::kMillisecond);
// Once, on a fresh process state as far as possible: the first board of a size.
BENCHMARK(BM_BoardMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
