// The shell's line loop with Simulate off and no viewer, the variables list refreshed
// after every line as a run does. A counting loop of 100 passes (300 lines) beside a
// string variable of 1,000 and of 10,000,000 characters: a line that does not touch the
// long variable should cost the same beside either. With the window shown, N lines
// `&vN = N`, and a loop that reassigns the list's first variable beside N others: a
// line should cost the same beside 100,000 variables as beside ten, also after a value
// holding a lone line break. A binary of its own: it needs a QApplication.

#include "EngineBenchPrograms.h"
#include "ShellBench.h"

#include "app/run/PreviewPanel.h"
#include "engine/RunResults.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>
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

// The shell with its window shown, the list visible as a user sees it.
TShell& ShownShell()
{
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    if (!gShell->window->isVisible()) {
        gShell->window->resize(1000, 700);
        gShell->window->show();
        TBenchShell::ProcessEventsFor(300);
    }
    return *gShell;
}

// N lines `&vN = N`, alone or after one value holding a lone line break (LF, or CR),
// which the row split at CR LF leaves inside its row: the list must cost the same.
void BM_AssignManyVariablesListShown(benchmark::State& state)
{
    TShell& shell = ShownShell();
    TMainForm& window = *shell.window;
    const int count = static_cast<int>(state.range(0));
    TProgramLines lines = enginebench::AssignmentLines(count);
    static const char* const before[] = {nullptr, "char(10)", "char(13)"};
    const char* lineBreak = before[state.range(1)];
    if (lineBreak != nullptr) {
        lines.insert(lines.begin(), std::string("&t = \"a\" | ") + lineBreak + " | \"b\"");
        state.SetLabel(state.range(1) == 1 ? "after LF" : "after CR");
    }
    const int rows = static_cast<int>(lines.size());
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(*window.Move, window.Calcul, std::string());
        window.ShowVariables(window.Calcul.GetVariables());
        QCoreApplication::processEvents(); // the emptied list laid out untimed
        state.ResumeTiming();
        shell.Run(lines);
    }
    if (window.lbVariables->count() != rows || !window.lbVariables->isVisible()) {
        state.SkipWithError("the list does not show every variable");
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AssignManyVariablesListShown)
    ->Args({10, 0})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({300000, 0})
    ->Args({10, 1})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({300000, 1})
    ->Args({300000, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 1,000 passes of four lines; only the loop is timed.
void BM_ReassignFirstVariableListShown(benchmark::State& state)
{
    TShell& shell = ShownShell();
    TMainForm& window = *shell.window;
    const int count = static_cast<int>(state.range(0));
    const TProgramLines setup = enginebench::AssignmentLines(count);
    const TProgramLines loop = {
        "&i = 0",
        "L1:",
        "&s = &v" + std::to_string(count) + " + &v1",
        "&v1 = &v1 + 1",
        "&i = &i + 1",
        "IF &i < 1000 THEN GOTO L1",
    };
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(*window.Move, window.Calcul, std::string());
        shell.Run(setup);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        shell.Run(loop);
    }
    if (window.Calcul.GetVariables().Values("v1") != "1001" || window.lbVariables->count() != count + 2 ||
        window.lbVariables->item(count)->text() != QStringLiteral("&v1 = 1001")) {
        state.SkipWithError("the loop did not run to its end");
    }
    state.SetItemsProcessed(state.iterations() * 4002);
}
BENCHMARK(BM_ReassignFirstVariableListShown)
    ->Arg(10)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
