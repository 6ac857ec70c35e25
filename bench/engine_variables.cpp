// Lines per second through the line loop beside many user variables: a program that
// assigns N new variables (`&vN = N`); a loop that reads and reassigns variables while
// N others stand before it, the first of them reassigned at every pass so that the
// list loses a line at its start; and a loop whose every pass makes and uses an inline
// definition, which is calculated on a copy of the variables. A line should cost the
// same beside 100,000 variables as beside ten.

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace enginebench;

constexpr int LoopPasses = 10000;

// Four lines a pass: two reads of a variable far down the list, a reassignment of the
// list's first line, a counter and the jump.
TProgramLines LookupLoop(int variables)
{
    const std::string last = "&v" + std::to_string(variables);
    return {
        "&i = 0",
        "L1:",
        "&s = " + last + " + &v1 * 2",
        "&v1 = &v1 + 1",
        "&i = &i + 1",
        "IF &i < " + std::to_string(LoopPasses) + " THEN GOTO L1",
    };
}

// Three lines a pass: a definition of x used at once, the counter and the jump.
TProgramLines DefinitionLoop(int variables)
{
    return {
        "&i = 0",
        "L1:",
        "&d = x:=&v" + std::to_string(variables) + "*2;x+&i",
        "&i = &i + 1",
        "IF &i < " + std::to_string(LoopPasses) + " THEN GOTO L1",
    };
}

void RunLines(TBenchEngine& e, const TProgramLines& lines)
{
    TArrayofCmds cmds;
    const int n = static_cast<int>(lines.size());
    for (int i = 0; i < n; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        e.Move.PreprocessLine(line, true, cmds);
        if (e.Move.ExecuteLine(&lines, line, cmds, i, &i, false)) {
            break;
        }
    }
}

void ResetRun(TBenchEngine& e)
{
    e.Move.StartRun();
    e.Move.Reset();
    e.Move.PartFiles().Reset();
    e.Calcul.GetVariables().Clear();
}

void BM_AssignManyVariables(benchmark::State& state)
{
    const TProgramLines lines = AssignmentLines(static_cast<int>(state.range(0)));
    TBenchEngine e;
    for (auto _ : state) {
        state.PauseTiming();
        ResetRun(e);
        state.ResumeTiming();
        RunLines(e, lines);
    }
    if (e.Calcul.GetVariables().Count() != state.range(0)) {
        state.SkipWithError("not every variable was stored");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AssignManyVariables)->Arg(10)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Only the loop's lines are timed: the variables before it are assigned untimed.
using TExpected = std::vector<std::pair<std::string, std::string>>;

void RunLoopBesideVariables(benchmark::State& state, const TProgramLines& loop, int linesPerPass,
                            const TExpected& expected)
{
    const int variables = static_cast<int>(state.range(0));
    const TProgramLines setup = AssignmentLines(variables);
    TBenchEngine e;
    for (auto _ : state) {
        state.PauseTiming();
        ResetRun(e);
        RunLines(e, setup);
        state.ResumeTiming();
        RunLines(e, loop);
    }
    for (const auto& [name, value] : expected) {
        if (e.Calcul.GetVariables().Values(name) != value) {
            state.SkipWithError("the loop did not run to its end");
        }
    }
    state.SetItemsProcessed(state.iterations() * (2 + linesPerPass * static_cast<std::int64_t>(LoopPasses)));
}

void BM_LookupLoopBesideVariables(benchmark::State& state)
{
    RunLoopBesideVariables(state, LookupLoop(static_cast<int>(state.range(0))), 4,
                           {{"i", std::to_string(LoopPasses)}, {"v1", std::to_string(1 + LoopPasses)}});
}
BENCHMARK(BM_LookupLoopBesideVariables)->Arg(10)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DefinitionLoopBesideVariables(benchmark::State& state)
{
    const int variables = static_cast<int>(state.range(0));
    RunLoopBesideVariables(state, DefinitionLoop(variables), 3,
                           {{"i", std::to_string(LoopPasses)},
                            {"x", std::to_string(2 * variables)},
                            {"d", std::to_string(2 * variables + LoopPasses - 1)}});
}
BENCHMARK(BM_DefinitionLoopBesideVariables)->Arg(10)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
