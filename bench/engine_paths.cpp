// One-million-line programs run to their path text: lines per second through the
// preprocessor, the dispatcher and the polylines, and the memory the run keeps: per
// path node for a program of plain moves (one long polyline), per polyline for a
// drilling job (two short polylines per hole). Heap figures count blocks that malloc
// maps on its own too; peak_rss_MB is the whole process, program text included, so
// run the drilling benchmark alone (--benchmark_filter=Drilling) to read its peak.

#include "engine/EngineData.h"
#include "engine/ProgramRunner.h"
#include "EngineBenchPrograms.h"
#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <string>

namespace {

using namespace enginebench;

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double PeakRssMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PlainMovesToPathText(benchmark::State& state)
{
    const TProgramLines& lines = PlainMoves();
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TMove move(data, calcul, shell);
    TProgramRunner runner(move, data, calcul);
    double bytesPerNode = 0;
    std::size_t textBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        move.Reset();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        const std::string text = runner.RunLinesForResults(lines);
        state.PauseTiming();
        textBytes = text.size();
        const int nodes = ProgramLines + 1; // one polyline: its start and a node per move
        // The first pass counts everything; later ones reuse some capacity.
        bytesPerNode =
            std::max(bytesPerNode, static_cast<double>(HeapInUse() - before - text.capacity()) / nodes);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.counters["bytes_per_node"] = bytesPerNode;
    state.counters["text_MB"] = static_cast<double>(textBytes) / 1e6;
}

void BM_DrillingToPathText(benchmark::State& state)
{
    const TProgramLines& lines = DrillingProgram();
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TMove move(data, calcul, shell);
    TProgramRunner runner(move, data, calcul);
    double bytesPerPolyline = 0;
    std::size_t polylines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        move.Reset();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        const std::string text = runner.RunLinesForResults(lines);
        state.PauseTiming();
        polylines = move.CutLines().size() + move.JogLines().size();
        // Everything the run keeps but its path text: polylines with their nodes, the
        // lines parent's lists and the step-back history.
        const double kept = static_cast<double>(HeapInUse() - before - text.capacity());
        bytesPerPolyline = std::max(bytesPerPolyline, kept / static_cast<double>(polylines));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.counters["polylines"] = static_cast<double>(polylines);
    state.counters["bytes_per_polyline"] = bytesPerPolyline;
    state.counters["peak_rss_MB"] = PeakRssMB();
}

} // namespace

BENCHMARK(BM_PlainMovesToPathText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DrillingToPathText)->Unit(benchmark::kMillisecond)->Iterations(2);
