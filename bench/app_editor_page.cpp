// An editor page of the shell on the million-line program: opening it (with no rules
// and under the shell's part-program rules) and saving it through the page beside the
// text buffer's own load and save, and typing at the end of the page in the main window
// (status bar, caption and command hint updated on every key) on that program and on a
// 100-line one. A binary of its own: it needs a QApplication.

#include "EditorBenchProgram.h"
#include "QtBenchMain.h"
#include "ShellBench.h"
#include "../tests/support/PartProgramRules.h"

#include "app/pages/Editor.h"
#include "editor/widget/CodeEditWidget.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <memory>

namespace {

// The main window, with the million-line and a 100-line program in its folder.
struct TShell : TBenchShell {
    TShell() : TBenchShell(TMainFormOptions{})
    {
        WriteFile("million.sbp", Program());
        QByteArray small;
        for (int i = 0; i < 100; ++i) {
            small += "M3,1.125,2.5,-0.25 ' cut pass\r\n";
        }
        WriteFile("small.sbp", small);
        window->resize(1000, 720);
    }
    QString File(const char* name) const { return folder.filePath(QLatin1String(name)); }
    void WriteFile(const char* name, const QByteArray& bytes) const
    {
        QFile file(File(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    TEditor& Page(const char* name)
    {
        window->DoOpenFile(File(name));
        return static_cast<TEditor&>(*ActiveEditor);
    }
};

// Made on first use and freed before the QApplication goes.
std::unique_ptr<TShell> gShell;

TShell& Shell()
{
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    return *gShell;
}

void BM_BufferLoad(benchmark::State& state)
{
    // The shell (and the program file) is made before the clock runs.
    const QString file = Shell().File("million.sbp");
    TCodeEditStringList lines;
    for (auto _ : state) {
        lines.LoadFromFile(file);
    }
    state.counters["lines"] = lines.Count();
}
BENCHMARK(BM_BufferLoad)->Unit(benchmark::kMillisecond);

void BM_PageOpen(benchmark::State& state)
{
    TEditor& page = Shell().Page("million.sbp");
    for (auto _ : state) {
        page.OpenFile(Shell().File("million.sbp"));
    }
    state.counters["lines"] = page.GetLines()->Count();
}
BENCHMARK(BM_PageOpen)->Unit(benchmark::kMillisecond);

// The same under the shell's part-program rules: ranges that end with their line, so
// the line states need no scan either.
void BM_PageOpenUnderShellRules(benchmark::State& state)
{
    TEditor& page = Shell().Page("million.sbp");
    TCodeRuleHighlighter& highlighter = *dm->CodeRuleHighlighter1;
    BuildPartProgramRules(highlighter);
    highlighter.NotifyChange();
    for (auto _ : state) {
        page.OpenFile(Shell().File("million.sbp"));
    }
    state.counters["lines"] = page.GetLines()->Count();
    // The other benchmarks keep the rule-less highlighter.
    highlighter.RootRange()->Clear();
    highlighter.RootRange()->SetCaseSensitive(true);
    highlighter.NotifyChange();
}
BENCHMARK(BM_PageOpenUnderShellRules)->Unit(benchmark::kMillisecond);

void BM_BufferSave(benchmark::State& state)
{
    TCodeEditStringList lines;
    lines.LoadFromFile(Shell().File("million.sbp"));
    for (auto _ : state) {
        lines.SaveToFile(Shell().File("saved.sbp"));
    }
}
BENCHMARK(BM_BufferSave)->Unit(benchmark::kMillisecond);

void BM_PageSave(benchmark::State& state)
{
    TEditor& page = Shell().Page("million.sbp");
    for (auto _ : state) {
        page.Form->CodeEditor().SetModified(true);
        page.ExecSave();
    }
}
BENCHMARK(BM_PageSave)->Unit(benchmark::kMillisecond);

// One typed character at the end of the last line, and Backspace to take it back, with
// the main window following every status change.
void TypeAtTheEnd(benchmark::State& state, const char* name)
{
    TEditor& page = Shell().Page(name);
    TCodeEdit& editor = page.Form->CodeEditor();
    editor.SetCaretXY(TTextPoint{1000, editor.LineCount()});
    for (auto _ : state) {
        editor.DispatchCommand(ecChar, QLatin1Char('x'), {});
        editor.DispatchCommand(ecDeleteLastChar, QChar(), {});
    }
    state.counters["lines"] = editor.LineCount();
}

void BM_TypeAtEndOfMillionLines(benchmark::State& state)
{
    TypeAtTheEnd(state, "million.sbp");
}
BENCHMARK(BM_TypeAtEndOfMillionLines)->Unit(benchmark::kMicrosecond);

void BM_TypeAtEndOfHundredLines(benchmark::State& state)
{
    TypeAtTheEnd(state, "small.sbp");
}
BENCHMARK(BM_TypeAtEndOfHundredLines)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, [] { gShell.reset(); });
}
