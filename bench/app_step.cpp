// What one step costs beside a long path: the main window's preview at 800 x 600 on a
// real GLX window, a path of 100,000, 1,000,000 or 5,000,000 nodes already drawn, then a
// step over "M2, 9, 9" and a step back over it, each timed from the engine's line to the
// frame that shows it (the picture swapped). Three kinds of path: one long cut, as a
// counting loop of moves draws it, the same cut coming from 1E20 (a segment that reaches
// far beyond the view, so that the frames test each segment they draw), and pairs of a
// jog and a cut of two nodes each, as a drilling job draws it (PreviewBenchPaths.h).
// Beside the times: how much the heap grew with the path and its first frame (malloc's
// mapped blocks included; the OpenGL driver's share too, see app_preview_memory.cpp), the
// bytes the preview counts for it, and the process's peak RSS (run one size at a time,
// --benchmark_filter=.../5000000/, to read its own). A binary of its own: it needs a
// QApplication on xcb.

#include "PreviewBenchPaths.h"
#include "MemoryReadings.h"
#include "ShellBench.h"

#include "app/run/PreviewPanel.h"
#include "engine/Move.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/viewer/WorldViewer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <chrono>
#include <memory>

namespace {

using benchmemory::HeapInUseMB;
using benchmemory::PeakRssMB;

std::unique_ptr<TBenchShell> gShell;

double Ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_StepBesidePath(benchmark::State& state, TPathKind kind)
{
    TMainForm* window = ShownPreview(gShell, state);
    if (!window) {
        return;
    }
    TMove& move = *window->Move;
    TGLWorldViewer& viewer = *window->GLWorldViewer1;
    const int nodes = static_cast<int>(state.range(0));
    move.KeepStepBack(true);
    // The heap the path takes: its growth over the empty preview's, both after a frame.
    move.Reset();
    viewer.Paint();
    const double emptyHeap = HeapInUseMB();
    DrawBenchPath(move, kind, nodes);
    viewer.Paint();
    const double heap = HeapInUseMB() - emptyHeap;
    const double previewBytes = static_cast<double>(move.PreviewBytes()) / 1e6;
    // A frame in which nothing changed draws nothing new.
    viewer.Paint();

    const TLineBatches& batches = window->Scene->DummyLines->Batches();
    const TGLWorldBuffer& buffer = viewer.Buffer();
    const std::uint64_t drawnBefore = batches.PointsDrawn();
    const int reusesBefore = buffer.PassPictureReuses();
    const TProgramLines program{"M2, 9, 9"};
    TArrayofCmds cmds;
    int next = 0;
    double forward = 0;
    double back = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        move.PreprocessLine(program[0], true, cmds);
        move.ExecuteLine(&program, program[0], cmds, 0, &next, false);
        viewer.Paint();
        const auto stepped = std::chrono::steady_clock::now();
        const int line = move.PartFiles().PopLine();
        move.PreprocessLine(program[static_cast<std::size_t>(line)], true, cmds);
        move.ExecuteLine(&program, program[static_cast<std::size_t>(line)], cmds, line, &next, true);
        viewer.Paint();
        forward += Ms(stepped - start);
        back += Ms(std::chrono::steady_clock::now() - stepped);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["step_ms"] = forward / n;
    state.counters["step_back_ms"] = back / n;
    // What a frame after a step drew, and how many of them started from the picture.
    state.counters["points_drawn_per_frame"] = static_cast<double>(batches.PointsDrawn() - drawnBefore) / (2 * n);
    state.counters["frames_from_picture"] = (buffer.PassPictureReuses() - reusesBefore) / (2 * n);
    state.counters["path_heap_MB"] = heap;
    state.counters["preview_MB"] = previewBytes;
    // A frame that draws everything, for comparison: the view turned a little.
    double whole = 0;
    for (int i = 0; i < 3; ++i) {
        window->Scene->DummyCube1->Turn(0.25f);
        const auto start = std::chrono::steady_clock::now();
        viewer.Paint();
        whole += Ms(std::chrono::steady_clock::now() - start);
    }
    window->Scene->DummyCube1->Turn(-0.75f);
    state.counters["whole_frame_ms"] = whole / 3;
    state.counters["peak_rss_MB"] = PeakRssMB();
    move.KeepStepBack(false);
    move.Reset();
}

BENCHMARK_CAPTURE(BM_StepBesidePath, OneCut, TPathKind::OneCut)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(5000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_StepBesidePath, OneCutFromFar, TPathKind::OneCutFromFar)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(5000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_StepBesidePath, JogCutPairs, TPathKind::JogCutPairs)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(5000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
