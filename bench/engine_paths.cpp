// One-million-line programs in memory run to their path text: lines per second through
// the preprocessor, the dispatcher, the polylines and the text, and the memory the run
// keeps, counted on one pass: per path node for a program of plain moves (one long
// polyline), per polyline for a drilling job (two short polylines per hole). Heap figures count blocks that malloc
// maps on its own too; peak_rss_MB is the whole process, program text included, so
// run the drilling benchmark alone (--benchmark_filter=Drilling) to read its peak.

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using namespace enginebench;

// What a run to path text left behind, measured on the first pass: every block that
// pass keeps is its own (later passes reuse some capacity and would count less).
struct TKept {
    double Bytes = 0;        // heap the run keeps besides its path text
    std::size_t TextBytes = 0;
    std::size_t Polylines = 0;
};

TKept RunToPathText(benchmark::State& state, const TProgramLines& lines)
{
    TBenchEngine e;
    TKept kept;
    bool measured = false;
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        // The last pass's text and paths are freed outside the timed region.
        text = std::string();
        e.Move.Reset();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        text = e.Runner.RunLinesForResults(lines);
        state.PauseTiming();
        if (!measured) {
            kept.Bytes = static_cast<double>(HeapInUse()) - static_cast<double>(before)
                - static_cast<double>(text.capacity());
            kept.TextBytes = text.size();
            kept.Polylines = e.Move.CutLines().size() + e.Move.JogLines().size();
            measured = true;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.counters["peak_rss_MB"] = PeakRssMB();
    return kept;
}

void BM_PlainMovesToPathText(benchmark::State& state)
{
    const TKept kept = RunToPathText(state, PlainMoves());
    const int nodes = ProgramLines + 1; // one polyline: its start and a node per move
    state.counters["bytes_per_node"] = kept.Bytes / nodes;
    state.counters["text_MB"] = static_cast<double>(kept.TextBytes) / 1e6;
}

// Per polyline: the polyline with its nodes (2.5 on average), its place in the
// polyline lists and its share of the step-back history.
void BM_DrillingToPathText(benchmark::State& state)
{
    const TKept kept = RunToPathText(state, DrillingProgram());
    state.counters["polylines"] = static_cast<double>(kept.Polylines);
    state.counters["bytes_per_polyline"] = kept.Bytes / static_cast<double>(kept.Polylines);
}

} // namespace

BENCHMARK(BM_PlainMovesToPathText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DrillingToPathText)->Unit(benchmark::kMillisecond)->Iterations(2);
