// Runaway programs: loops that never end and draw until the preview's limit stops the
// run. Each reports what the preview held when it stopped (points, polylines, heap in
// bytes and per point) and the process's peak RSS; run one at a time
// (--benchmark_filter=Pocket and so on) to read a program's own peak.

#include "EngineBenchPrograms.h"
#include "engine/EngineErrors.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using enginebench::HeapInUse;
using enginebench::PeakRssMB;
using enginebench::TBenchEngine;

void RunUntilStopped(benchmark::State& state, const TProgramLines& lines)
{
    TBenchEngine e;
    std::string stop;
    double heap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.Move.Reset();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        try {
            e.Runner.RunLinesForResults(lines);
            stop = "no stop";
        } catch (const ERunError& error) {
            stop = error.Message();
        }
        state.PauseTiming();
        heap = static_cast<double>(HeapInUse() - before);
        state.ResumeTiming();
    }
    const double points = static_cast<double>(e.Move.PathNodeCount());
    state.counters["lines_run"] = e.Runner.ExecutedLines();
    state.counters["points_M"] = points / 1e6;
    state.counters["polylines"] = static_cast<double>(e.Move.CutLines().size() + e.Move.JogLines().size());
    state.counters["heap_MB"] = heap / 1e6;
    state.counters["bytes_per_point"] = points > 0 ? heap / points : 0;
    state.counters["peak_rss_MB"] = PeakRssMB();
    state.SetLabel(stop.substr(0, 60));
}

// A loop of large circles cut in 20,000 passes each: one long polyline per line.
void BM_RunawayLargeCircles(benchmark::State& state)
{
    RunUntilStopped(state, {"loop:", "CC, 100, , 1, 0, 360, -0.001, 20000", "GOTO loop"});
}

// Small pocket cuts, each a new polyline of a few hundred points.
void BM_RunawayPocketLoop(benchmark::State& state)
{
    RunUntilStopped(state, {"loop:", "M2 %(1), SIN(2)*2, 1, 0, %(4)",
                            "CG,-1,0.5-0.5,1,1,18.0017,O,0,100,3,34.0555,100,2", "IF 1 = 1 THEN GOTO loop"});
}

// A jog to each hole, down and up: two short polylines per hole.
void BM_RunawayDrillingLoop(benchmark::State& state)
{
    RunUntilStopped(state, {"&x = 0", "loop:", "&x = &x + 0.001", "J3, &x, 1, 0.5", "M3, &x, 1, -0.25",
                            "M3, &x, 1, 0.5", "GOTO loop"});
}

} // namespace

BENCHMARK(BM_RunawayLargeCircles)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_RunawayPocketLoop)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_RunawayDrillingLoop)->Unit(benchmark::kSecond)->Iterations(1);
