// Search and replace in the editor model on the million-line program.

#include "../tests/editor/RecordingHost.h"
#include "EditorBenchProgram.h"
#include "editor/control/CodeEdit.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The program in an editor with a window; every tenth line ends in "path" instead of
// "pass", and the last line holds the only "needle".
struct TSearchBench {
    TSearchBench()
    {
        editor.SetHost(&host);
        QByteArray bytes = Program();
        qsizetype at = 0;
        for (int line = 0; line < 1000000; ++line) {
            const qsizetype end = bytes.indexOf("\r\n", at);
            if (line % 10 == 0) {
                bytes.replace(end - 4, 4, "path");
            }
            if (line == 999999) {
                bytes.replace(end - 4, 4, "needle");
                break;
            }
            at = end + 2;
        }
        editor.Lines().LoadFromBytes(bytes);
    }
    TRecordingHost host;
    TCodeEdit editor;
    bool upper = false; // the word's case now, kept across repetitions
};

TSearchBench& Bench()
{
    static TSearchBench bench;
    return bench;
}

void BM_FindOnTheLastLine(benchmark::State& state)
{
    TCodeEdit& editor = Bench().editor;
    for (auto _ : state) {
        editor.SetCaretXY(TTextPoint{1, 1});
        if (editor.SearchAndReplace("needle", "", {sroEntireScope}) != 1) {
            state.SkipWithError("no hit");
        }
    }
}
BENCHMARK(BM_FindOnTheLastLine)->Unit(benchmark::kMillisecond);

// 100,000 hits replaced as one undo step; the case of the word flips each time, so
// every run has the same work.
void BM_ReplaceAllEveryTenthLine(benchmark::State& state)
{
    TCodeEdit& editor = Bench().editor;
    bool& upper = Bench().upper;
    for (auto _ : state) {
        const QString from = upper ? "PATH" : "path";
        const QString to = upper ? "path" : "PATH";
        const int hits = editor.SearchAndReplace(from, to, {sroEntireScope, sroMatchCase, sroReplaceAll});
        if (hits != 100000) {
            state.SkipWithError(("not every tenth line: " + std::to_string(hits)).c_str());
        }
        upper = !upper;
    }
}
BENCHMARK(BM_ReplaceAllEveryTenthLine)->Unit(benchmark::kMillisecond);

// The same replace-all, then one undo that takes back all 100,000 replacements (200,000
// records, far past the undo limit, kept as one change) and one redo.
void BM_ReplaceAllUndoRedo(benchmark::State& state)
{
    TCodeEdit& editor = Bench().editor;
    const bool upper = Bench().upper;
    const QString from = upper ? "PATH" : "path";
    const QString to = upper ? "path" : "PATH";
    for (auto _ : state) {
        editor.SearchAndReplace(from, to, {sroEntireScope, sroMatchCase, sroReplaceAll});
        editor.Undo();
        if (!editor.Lines()[0].endsWith(from) || !editor.Lines()[999990].endsWith(from)) {
            state.SkipWithError("the undo left replacements behind");
        }
        editor.Redo();
        if (!editor.Lines()[0].endsWith(to) || editor.CanRedo()) {
            state.SkipWithError("the redo did not replace everything again");
        }
        editor.Undo();
    }
}
BENCHMARK(BM_ReplaceAllUndoRedo)->Unit(benchmark::kMillisecond);

} // namespace
