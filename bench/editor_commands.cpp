// Editing keys in the editor model on the million-line program, with the rule
// highlighter and the page settings: a key must cost the same near the top of the
// program and near its end (nothing per key may walk the buffer), End and typing on a
// line far longer than the page's 256 columns must cost no more than the line itself,
// and select all, Delete, Undo and Redo must stay well under a second.

#include "../tests/editor/EditorPageSettings.h"
#include "../tests/editor/RecordingHost.h"
#include "../tests/support/PartProgramRules.h"
#include "EditorBenchProgram.h"
#include "MemoryReadings.h"
#include "editor/control/CodeEdit.h"

#include <benchmark/benchmark.h>

#include <memory>

#include <time.h>

namespace {

// One model per setting of eoScrollPastEol, loaded once; every benchmark leaves its
// text as it found it.
struct TBenchModel {
    explicit TBenchModel(bool scrollPastEol)
    {
        BuildPartProgramRules(highlighter);
        editor.Lines().LoadFromBytes(Program());
        editor.SetHost(&host);
        UsePageSettings(editor);
        editor.SetOptions(PageOptions.Set(eoScrollPastEol, scrollPastEol));
        editor.SetHighlighter(&highlighter);
        host.Forget();
    }
    void Key(TCodeEditorCommand command, QChar c = QChar()) { editor.DispatchCommand(command, c, {}); }
    // The recording host keeps what it was asked; forget it now and then.
    void Tidy(benchmark::IterationCount i)
    {
        if ((i & 4095) == 0) {
            host.Forget();
        }
    }

    TRecordingHost host;
    TCodeRuleHighlighter highlighter;
    TCodeEdit editor;
};

TBenchModel& Model(bool scrollPastEol)
{
    static std::unique_ptr<TBenchModel> models[2];
    std::unique_ptr<TBenchModel>& model = models[scrollPastEol ? 1 : 0];
    if (!model) {
        model = std::make_unique<TBenchModel>(scrollPastEol);
    }
    model->editor.ClearUndo();
    return *model;
}

// The time of one command ("per_key", in seconds per key).
void PerKey(benchmark::State& state, int keysPerIteration)
{
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations() * keysPerIteration),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Arguments: the line (1-based), eoScrollPastEol.
void BM_TypeAndBackspace(benchmark::State& state)
{
    TBenchModel& m = Model(state.range(1) != 0);
    const int line = static_cast<int>(state.range(0));
    m.editor.SetCaretXY({5, line});
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        m.Key(ecChar, QLatin1Char('7'));
        m.Key(ecDeleteLastChar);
        m.Tidy(++i);
    }
    PerKey(state, 2);
}

void BM_DeleteAndRetype(benchmark::State& state)
{
    TBenchModel& m = Model(state.range(1) != 0);
    const int line = static_cast<int>(state.range(0));
    m.editor.SetCaretXY({5, line});
    const QChar c = m.editor.LineAt(line)[4];
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        m.Key(ecDeleteChar);
        m.Key(ecChar, c);
        m.editor.SetCaretXY({5, line});
        m.Tidy(++i);
    }
    PerKey(state, 2);
}

void BM_EnterAndDeleteLine(benchmark::State& state)
{
    TBenchModel& m = Model(state.range(1) != 0);
    const int line = static_cast<int>(state.range(0));
    const int end = static_cast<int>(m.editor.LineAt(line).size()) + 1;
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        m.editor.SetCaretXY({end, line});
        m.Key(ecLineBreak);
        m.Key(ecDeleteLine);
        m.Tidy(++i);
    }
    PerKey(state, 2);
}

void KeyArguments(benchmark::internal::Benchmark* b)
{
    for (int pastEol : {1, 0}) {
        for (int line : {10, 900000}) {
            b->Args({line, pastEol});
        }
    }
}
BENCHMARK(BM_TypeAndBackspace)->Apply(KeyArguments);
BENCHMARK(BM_DeleteAndRetype)->Apply(KeyArguments);
BENCHMARK(BM_EnterAndDeleteLine)->Apply(KeyArguments);

// End, a typed character and Backspace on a long line put into the middle of the
// program for the run. Arguments: the line's length, eoScrollPastEol.
void BM_EndTypeOnALongLine(benchmark::State& state)
{
    TBenchModel& m = Model(state.range(1) != 0);
    const int length = static_cast<int>(state.range(0));
    constexpr int line = 500000;
    m.editor.Lines().Insert(line - 1, QString(length, QLatin1Char('A')));
    m.editor.SetCaretXY({1, line});
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        m.Key(ecLineEnd);
        m.Key(ecChar, QLatin1Char(';'));
        m.Key(ecDeleteLastChar);
        m.Key(ecLineStart);
        m.Tidy(++i);
    }
    const bool whole = m.editor.LineAt(line).size() == length && m.editor.CaretXY().x == 1;
    m.editor.Lines().Delete(line - 1);
    PerKey(state, 4);
    state.counters["heap_MB"] = benchmemory::HeapInUseMB();
    state.counters["peak_rss_MB"] = benchmemory::PeakRssMB();
    if (!whole) {
        state.SkipWithError("the line did not keep its text");
    }
}
BENCHMARK(BM_EndTypeOnALongLine)->Args({40000, 1})->Args({40000, 0})->Args({1000000, 1});

// Seconds of processor time this thread has used (the shared machine's wall clock
// mostly measures the other processes).
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Select all and Delete, then Undo, then Redo, each timed on its own; an untimed undo
// puts the program back for the next round.
void BM_SelectAllDeleteUndoRedo(benchmark::State& state)
{
    TBenchModel& m = Model(state.range(0) != 0);
    double deleting = 0;
    double undoing = 0;
    double redoing = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        m.Key(ecSelectAll);
        m.Key(ecDeleteChar);
        const double t1 = ThreadSeconds();
        m.Key(ecUndo);
        const double t2 = ThreadSeconds();
        m.Key(ecRedo);
        const double t3 = ThreadSeconds();
        m.Key(ecUndo);
        m.editor.ClearUndo();
        deleting += t1 - t0;
        undoing += t2 - t1;
        redoing += t3 - t2;
        benchmark::DoNotOptimize(m.editor.LineCount());
    }
    state.counters["delete_s"] = benchmark::Counter(deleting, benchmark::Counter::kAvgIterations);
    state.counters["undo_s"] = benchmark::Counter(undoing, benchmark::Counter::kAvgIterations);
    state.counters["redo_s"] = benchmark::Counter(redoing, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SelectAllDeleteUndoRedo)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
