// What a results run's path costs the heap beside what the preview counts for it, run
// headless (no lines parent: nothing is ever drawn) with the preview's bound lifted: one
// long cut of 5 million moves, a drilling job of 2.5 million holes (a jog and a cut of two
// nodes each) and 2 million short cuts of three nodes (a zero command between them starts
// each anew). Reported: the heap's growth with the run and its results text, the bytes
// the preview counts (the text included, and what drawing the path would keep, for a path
// may be drawn later), and the peak RSS (run one at a time,
// --benchmark_filter=HeadlessDrilling, to read its own).

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <limits>
#include <string>

namespace {

using enginebench::HeapInUse;
using enginebench::PeakRssMB;
using enginebench::TBenchEngine;

TProgramLines Loop(const std::string& count, std::initializer_list<const char*> body)
{
    TProgramLines lines{"&i = 0", "L1:"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("&i = &i + 1");
    lines.push_back("IF &i < " + count + " THEN GOTO L1");
    return lines;
}

void RunHeadless(benchmark::State& state, const TProgramLines& lines)
{
    TBenchEngine e;
    e.Move.MaxPreviewBytes = std::numeric_limits<std::size_t>::max();
    e.Runner.MaxExecutedLines = std::numeric_limits<int>::max();
    double heapMB = 0;
    double countedMB = 0;
    double textMB = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        const std::string text = e.Runner.RunLinesForResults(lines);
        heapMB = static_cast<double>(HeapInUse() - before) / 1e6;
        countedMB = static_cast<double>(e.Move.PreviewBytes()) / 1e6;
        textMB = static_cast<double>(text.size()) / 1e6;
    }
    state.counters["nodes_M"] = static_cast<double>(e.Move.PathNodeCount()) / 1e6;
    state.counters["heap_MB"] = heapMB;
    state.counters["counted_MB"] = countedMB;
    state.counters["text_MB"] = textMB;
    state.counters["counted_per_heap"] = countedMB / heapMB;
    state.counters["peak_rss_MB"] = PeakRssMB();
}

void BM_HeadlessOneCut(benchmark::State& state)
{
    RunHeadless(state, Loop("5000000", {"M2, &i / 1000000, 1"}));
}

void BM_HeadlessDrilling(benchmark::State& state)
{
    RunHeadless(state, Loop("2500000", {"J3, &i / 1000, 1, 0.5", "MZ, -0.25"}));
}

void BM_HeadlessShortCuts(benchmark::State& state)
{
    RunHeadless(state, Loop("2000000", {"ZX", "M2, 0.05, 1", "M2, 0.1, 1.05"}));
}

} // namespace

BENCHMARK(BM_HeadlessOneCut)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_HeadlessDrilling)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_HeadlessShortCuts)->Unit(benchmark::kSecond)->Iterations(1);
