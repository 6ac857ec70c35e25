// The messages window as a run fills it through the shell's line loop (Simulate off):
// one PRINT of 10,240 and of 10,000,000 characters, and 100,000 PRINTs of short lines,
// with the heap the window keeps for them (a long line is held once, whole; what shows
// holds only its cut form); then Save of those lines and a copy of all of them whole
// (Ctrl+A, Ctrl+C). A binary of its own: it needs a QApplication.

#include "MemoryReadings.h"
#include "ShellBench.h"

#include "app/run/MessagesForm.h"
#include "app/run/PreviewPanel.h"
#include "platform/core/services/DialogService.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QTextCursor>

#include <memory>
#include <string>

namespace {

using benchmemory::HeapInUseMB;
using benchmemory::PeakRssMB;

struct TShell : TBenchShell {
    TShell() : TBenchShell(TMainFormOptions{false})
    {
        window->PanelGL->cbSim->setChecked(false);
        FMessages = &messages;
    }
    ~TShell() { FMessages = nullptr; }
    void Run(const TProgramLines& lines)
    {
        window->Running = true;
        window->RunFile(lines, QString(), -1);
        window->Running = false;
    }

    TFMessages messages;
};

std::unique_ptr<TShell> gShell;

TShell& Shell()
{
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    return *gShell;
}

TProgramLines ShortPrints(int count)
{
    TProgramLines lines;
    for (int k = 1; k <= count; ++k) {
        lines.push_back("PRINT \"line " + std::to_string(k) + "\"");
    }
    return lines;
}

// Every iteration starts from an empty window; the heap it keeps is read after the run.
void RunPrints(benchmark::State& state, const TProgramLines& lines, qsizetype expectedLines)
{
    TShell& shell = Shell();
    double keptMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        shell.messages.ButtonClearClick();
        QCoreApplication::processEvents();
        const double before = HeapInUseMB();
        state.ResumeTiming();
        shell.Run(lines);
        state.PauseTiming();
        keptMB = HeapInUseMB() - before;
        state.ResumeTiming();
    }
    if (shell.messages.Lines().size() != expectedLines) {
        state.SkipWithError("the window does not hold every line");
    }
    state.counters["kept_MB"] = keptMB;
    state.counters["peak_rss_MB"] = PeakRssMB();
}

void BM_PrintOneLongLine(benchmark::State& state)
{
    // The program's own line holds the text too; only the window's share is counted.
    const TProgramLines lines = {"PRINT \"" + std::string(static_cast<std::size_t>(state.range(0)), 'x') + "\""};
    RunPrints(state, lines, 1);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PrintOneLongLine)->Arg(10'240)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PrintManyShortLines(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    RunPrints(state, ShortPrints(count), count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PrintManyShortLines)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The save dialog answers with one file name.
class TSaveTo : public IDialogResponder {
public:
    explicit TSaveTo(std::string fileName) : FFileName(std::move(fileName)) {}
    TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return TModalResult::mrOk; }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    bool SaveDialog(const TFileDialogOptions&, std::string& fileName) override
    {
        fileName = FFileName;
        return true;
    }

private:
    std::string FFileName;
};

// The window holding a line of ten million characters and 100,000 short ones.
TShell& FilledShell()
{
    TShell& shell = Shell();
    if (shell.messages.Lines().size() != 100'001) {
        shell.messages.ButtonClearClick();
        shell.Run({"PRINT \"" + std::string(10'000'000, 'x') + "\""});
        shell.Run(ShortPrints(100'000));
    }
    return shell;
}

void BM_SaveLines(benchmark::State& state)
{
    TShell& shell = FilledShell();
    TSaveTo responder((shell.folder.path() + "/messages.txt").toStdString());
    const TDialogResponderScope scope(&responder);
    for (auto _ : state) {
        shell.messages.ButtonSaveClick();
    }
    state.counters["peak_rss_MB"] = PeakRssMB();
}
BENCHMARK(BM_SaveLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CopyAllLinesWhole(benchmark::State& state)
{
    TShell& shell = FilledShell();
    TMessagesView& view = *shell.messages.RichEditMessages;
    qsizetype copied = 0;
    for (auto _ : state) {
        view.selectAll();
        copied = view.SelectedWholeText().size();
    }
    if (copied < 10'000'000) {
        state.SkipWithError("the copy is not whole");
    }
    state.counters["peak_rss_MB"] = PeakRssMB();
}
BENCHMARK(BM_CopyAllLinesWhole)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
