// Long loops run as a results run keeps nothing for step back (argument 0) and as the
// shell's Run keeps it (argument 1): a counter to 12 million, a text grown a character
// at a time to 60,000, a counter to 5 million drawing a move each pass, a million moves,
// and a million lines of moves among setting commands whose values change. Each
// reports its time beside its memory: the heap's high-water mark above where the run
// began (sampled every 4,096 lines, malloc's mapped blocks included), what the record
// of the variables holds, what the preview counts (the path and the step-back history),
// how many lines step back reaches, and the process's peak RSS
// (run one benchmark at a time, --benchmark_filter=CountingLoop/1 and so on, to read a
// program's own).

#include "EngineBenchPrograms.h"
#include "engine/RunResults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

namespace {

using namespace enginebench;

const std::string& CountingLoopFile()
{
    static const TProgramFile file("counting", {"&i = 0", "L1:", "&i = &i + 1", "IF &i < 12000000 THEN GOTO L1"});
    static const std::string path = file.Path();
    return path;
}

const std::string& GrowingTextFile()
{
    static const TProgramFile file("growing",
                                   {"&s = \"\"", "&i = 0", "L1:", "&s = &s | \"x\"", "&i = &i + 1",
                                    "IF &i < 60000 THEN GOTO L1"});
    static const std::string path = file.Path();
    return path;
}

const std::string& MovingLoopFile()
{
    static const TProgramFile file("moving", {"&i = 0", "L1:", "&i = &i + 1", "M2, &i / 1000000, 1",
                                              "IF &i < 5000000 THEN GOTO L1"});
    static const std::string path = file.Path();
    return path;
}

void RunLoop(benchmark::State& state, const std::string& path)
{
    const bool keep = state.range(0) != 0;
    TBenchEngine e;
    std::size_t peak = 0;
    std::uint64_t executed = 0;
    e.Runner.OnLineExecuted = [&](int) {
        if ((++executed & 4095) == 0) {
            peak = std::max(peak, HeapInUse());
        }
    };
    std::size_t start = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(e.Move, e.Calcul, path);
        // The shell's Run counts no path text and keeps the record from its first line.
        e.Move.StartRun();
        e.Move.KeepStepBack(keep);
        start = HeapInUse();
        peak = start;
        state.ResumeTiming();
        e.Runner.RunFile(path);
    }
    peak = std::max(peak, HeapInUse());
    state.counters["lines_M"] = static_cast<double>(e.Move.PartFiles().HistoryCount()) / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peak - start) / 1e6;
    state.counters["record_MB"] = static_cast<double>(e.Calcul.GetVariables().UndoBytes()) / 1e6;
    state.counters["preview_MB"] = static_cast<double>(e.Move.PreviewBytes()) / 1e6;
    std::size_t reach = 0;
    while (e.Move.PartFiles().GetPrevLineNumForStepBack() >= 0) {
        ++reach;
    }
    state.counters["step_back_lines"] = static_cast<double>(reach);
    state.counters["peak_rss_MB"] = PeakRssMB();
}

void BM_CountingLoop(benchmark::State& state) { RunLoop(state, CountingLoopFile()); }
void BM_GrowingTextLoop(benchmark::State& state) { RunLoop(state, GrowingTextFile()); }
void BM_MovingLoop(benchmark::State& state) { RunLoop(state, MovingLoopFile()); }
void BM_MovesProgram(benchmark::State& state) { RunLoop(state, PlainMovesFile()); }
void BM_SettingsProgram(benchmark::State& state) { RunLoop(state, SettingsFile()); }

} // namespace

BENCHMARK(BM_CountingLoop)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowingTextLoop)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingLoop)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovesProgram)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsProgram)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
