// Lines per second through the line loop as the run drives it: each line preprocessed,
// dispatched and, since every move draws, appended to the path as a node; no path text
// is written (engine_paths.cpp and engine_files.cpp time that). Two generated
// one-million-line programs: plain moves, and moves whose arguments are expressions.
// The last pass's paths are freed outside the timed region.

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace enginebench;

void RunProgram(benchmark::State& state, const TProgramLines& lines)
{
    TBenchEngine e;
    TMove& move = e.Move;
    TArrayofCmds cmds;
    for (auto _ : state) {
        state.PauseTiming();
        move.StartRun();
        move.Reset();
        move.PartFiles().Reset();
        state.ResumeTiming();
        const int n = static_cast<int>(lines.size());
        for (int i = 0; i < n; ++i) {
            const std::string& line = lines[static_cast<std::size_t>(i)];
            move.PreprocessLine(line, true, cmds);
            if (move.ExecuteLine(&lines, line, cmds, i, &i, false)) {
                break;
            }
        }
        benchmark::DoNotOptimize(cmds[1].data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void BM_PlainMovesPreprocessDispatchAndNodes(benchmark::State& state)
{
    RunProgram(state, PlainMoves());
}

void BM_ExpressionMovesPreprocessDispatchAndNodes(benchmark::State& state)
{
    RunProgram(state, ExpressionMoves());
}

} // namespace

BENCHMARK(BM_PlainMovesPreprocessDispatchAndNodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpressionMovesPreprocessDispatchAndNodes)->Unit(benchmark::kMillisecond);
