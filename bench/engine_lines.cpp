// Lines per second through the preprocessor and the dispatcher, for two generated
// one-million-line programs: plain moves, and moves whose arguments are expressions.

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "EngineBenchPrograms.h"
#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace enginebench;

void RunProgram(benchmark::State& state, const TProgramLines& lines)
{
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TMove move(data, calcul, shell);
    TArrayofCmds cmds;
    for (auto _ : state) {
        move.StartRun();
        move.Reset(); // moves now draw: start each pass without the last pass's paths
        move.PartFiles().Reset();
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

void BM_PlainMoveLines(benchmark::State& state)
{
    RunProgram(state, PlainMoves());
}

void BM_ExpressionMoveLines(benchmark::State& state)
{
    RunProgram(state, ExpressionMoves());
}

} // namespace

BENCHMARK(BM_PlainMoveLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpressionMoveLines)->Unit(benchmark::kMillisecond);
