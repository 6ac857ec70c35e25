// The rule highlighter on the million-line program, under part-program rules built as
// the shell builds them: rescanning every line state (with a range that spans lines, and
// without), painting every token, and the rescan after an edit.

#include "EditorBenchProgram.h"
#include "../tests/support/PartProgramRules.h"
#include "editor/document/CodeEditStringList.h"
#include "editor/document/CodeLineStates.h"

#include <benchmark/benchmark.h>

namespace {

// The shell's rules plus, unless left out, a block range that only its close text ends.
struct TBenchEditor {
    explicit TBenchEditor(int lineCount, bool withBlock = true)
    {
        BuildPartProgramRules(highlighter);
        if (withBlock) {
            auto block = std::make_unique<TCodeRange>("(*", "*)");
            block->Name = "Block";
            highlighter.RootRange()->AddRange(std::move(block));
        }
        if (lineCount >= 1000000) {
            lines.LoadFromBytes(Program());
        } else {
            for (int i = 0; i < lineCount; ++i) {
                lines.Add("M3,1.125,2.5,-0.25 ' cut pass");
            }
        }
        RescanAllRanges(lines, highlighter);
    }
    TCodeRuleHighlighter highlighter;
    TCodeEditStringList lines;
};

TBenchEditor& MillionLineEditor()
{
    static TBenchEditor editor(1000000);
    return editor;
}

void BM_RescanAllRanges(benchmark::State& state)
{
    TBenchEditor& editor = MillionLineEditor();
    for (auto _ : state) {
        RescanAllRanges(editor.lines, editor.highlighter);
    }
    state.SetItemsProcessed(state.iterations() * editor.lines.Count());
}
BENCHMARK(BM_RescanAllRanges)->Unit(benchmark::kMillisecond);

// The shell's rules alone: every range ends with its line, so no line is scanned.
void BM_RescanAllRangesEndingWithLine(benchmark::State& state)
{
    TBenchEditor editor(1000000, false);
    for (auto _ : state) {
        RescanAllRanges(editor.lines, editor.highlighter);
    }
    state.SetItemsProcessed(state.iterations() * editor.lines.Count());
}
BENCHMARK(BM_RescanAllRangesEndingWithLine)->Unit(benchmark::kMillisecond);

// What painting and printing do for every line.
void BM_EveryToken(benchmark::State& state)
{
    TBenchEditor& editor = MillionLineEditor();
    TCodeRuleHighlighter& highlighter = editor.highlighter;
    for (auto _ : state) {
        std::int64_t tokens = 0;
        for (int i = 0; i < editor.lines.Count(); ++i) {
            highlighter.SetRange(editor.lines.GetRange(i));
            for (highlighter.SetLine(editor.lines.Record(i).text, i); !highlighter.GetEol(); highlighter.Next()) {
                benchmark::DoNotOptimize(highlighter.GetToken().size());
                benchmark::DoNotOptimize(highlighter.GetTokenAttribute());
                ++tokens;
            }
        }
        state.counters["tokens"] = static_cast<double>(tokens);
    }
    state.SetItemsProcessed(state.iterations() * editor.lines.Count());
}
BENCHMARK(BM_EveryToken)->Unit(benchmark::kMillisecond);

// A one-line edit that leaves every state as it was: one line is scanned, whatever the
// length of the file.
void BM_ScanFromUnchangedState(benchmark::State& state)
{
    TBenchEditor small(100);
    TBenchEditor& editor = state.range(0) >= 1000000 ? MillionLineEditor() : small;
    const int middle = editor.lines.Count() / 2;
    const QString original = editor.lines.Get(middle);
    int scanned = 0;
    for (auto _ : state) {
        editor.lines.Put(middle, "J2,1,1 ' jog");
        scanned += ScanFrom(editor.lines, editor.highlighter, middle) - middle + 1;
        editor.lines.Put(middle, original);
        scanned += ScanFrom(editor.lines, editor.highlighter, middle) - middle + 1;
    }
    state.counters["lines_scanned_per_edit"] = static_cast<double>(scanned) / (2.0 * state.iterations());
}
BENCHMARK(BM_ScanFromUnchangedState)->Arg(100)->Arg(1000000);

// Opening a block 1,000 lines before its close text: the edited line and the 1,000
// lines whose state changed are scanned; taking the opener away scans them again.
void BM_ScanFromOpenedBlock(benchmark::State& state)
{
    TBenchEditor& editor = MillionLineEditor();
    const int first = 400000;
    const QString original = editor.lines.Get(first);
    const QString closer = editor.lines.Get(first + 1000);
    editor.lines.Put(first + 1000, closer + " *)");
    ScanFrom(editor.lines, editor.highlighter, first + 1000);
    int scanned = 0;
    int changed = 0;
    for (auto _ : state) {
        editor.lines.Put(first, "(* " + original);
        const int last = ScanFrom(editor.lines, editor.highlighter, first);
        scanned += last - first + 1;
        for (int i = first + 1; i <= last; ++i) {
            changed += editor.lines.GetRange(i) != 0;
        }
        editor.lines.Put(first, original);
        scanned += ScanFrom(editor.lines, editor.highlighter, first) - first + 1;
    }
    editor.lines.Put(first + 1000, closer);
    ScanFrom(editor.lines, editor.highlighter, first + 1000);
    state.counters["lines_scanned_per_edit"] = static_cast<double>(scanned) / (2.0 * state.iterations());
    state.counters["states_changed_per_edit"] = static_cast<double>(changed) / state.iterations();
}
BENCHMARK(BM_ScanFromOpenedBlock)->Unit(benchmark::kMicrosecond);

} // namespace
