// The shell's line loop with Simulate off and no viewer, over a counting loop of 100
// passes (300 lines) beside a string variable of 1,000 and of 10,000,000 characters,
// the variables list refreshed after every line as a run does. A line that does not
// touch the long variable should cost the same beside either. A binary of its own: it
// needs a QApplication.

#include "ShellBench.h"

#include "app/run/PreviewPanel.h"
#include "engine/RunResults.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QListWidget>

#include <memory>
#include <string>

namespace {

const TProgramLines CountingLoop = {
    "&i = 0",
    "L1:",
    "&i = &i + 1",
    "IF &i < 100 THEN GOTO L1",
};

struct TShell : TBenchShell {
    TShell() : TBenchShell(TMainFormOptions{false}) { window->PanelGL->cbSim->setChecked(false); }
    void Run(const TProgramLines& lines)
    {
        window->Running = true;
        window->RunFile(lines, QString(), -1);
        window->Running = false;
    }
};

std::unique_ptr<TShell> gShell;

void BM_CountingLoopBesideLongVariable(benchmark::State& state)
{
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    TMainForm& window = *gShell->window;
    ResetForResults(*window.Move, window.Calcul, std::string());
    // The long variable as a program assigns it, shown in the list before the timing.
    gShell->Run({"&big = \"" + std::string(static_cast<std::size_t>(state.range(0)), 'x') + "\""});
    // Once untimed: the first pass after the long assignment pays for its memory.
    gShell->Run(CountingLoop);
    for (auto _ : state) {
        gShell->Run(CountingLoop);
    }
    if (window.Calcul.GetVariables().Values("i") != "100" || window.lbVariables->count() != 2) {
        state.SkipWithError("the loop did not run to its end");
    }
    state.SetItemsProcessed(state.iterations() * 300);
    state.counters["list_rows"] = window.lbVariables->count();
}
BENCHMARK(BM_CountingLoopBesideLongVariable)
    ->Arg(1000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
