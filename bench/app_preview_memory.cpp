// What a path costs the preview's heap beside what the preview counts for it: the main
// window's preview at 800 x 600 on a real GLX window, a path drawn through the engine's
// node handlers (PreviewBenchPaths.h: one long cut, jog and cut pairs of a drilling job,
// short cuts of three nodes) with the preview's bound lifted, then one frame. Reported:
// how much the heap grew with the polylines and with the frame's drawing state (malloc's
// mapped blocks included, over the empty preview's heap after its own frame), the bytes
// the preview counts, their ratio, what stays after the path is cleared (in the heap,
// and resident), and the process's peak RSS (run one path at a time,
// --benchmark_filter=ShortCuts, to read its own).
//
// Mesa's llvmpipe bins a frame's draw calls for its rasterizer threads and keeps those
// scenes' memory, some 100 to 200 MB after a frame of hundreds of thousands of draw calls,
// whatever the path holds. The benchmark rasterizes on the drawing thread instead
// (LP_NUM_THREADS=0, unless the environment sets it), so that the heap's growth is what the
// path keeps.

#include "PreviewBenchPaths.h"
#include "MemoryReadings.h"
#include "ShellBench.h"

#include "scene/viewer/WorldViewer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

using benchmemory::HeapInUseMB;
using benchmemory::PeakRssMB;
using benchmemory::RssMB;

std::unique_ptr<TBenchShell> gShell;

void BM_PreviewMemory(benchmark::State& state, TPathKind kind)
{
    TMainForm* window = ShownPreview(gShell, state);
    if (!window) {
        return;
    }
    TMove& move = *window->Move;
    TGLWorldViewer& viewer = *window->GLWorldViewer1;
    const int nodes = static_cast<int>(state.range(0));
    const std::size_t bound = move.MaxPreviewBytes;
    move.MaxPreviewBytes = std::numeric_limits<std::size_t>::max();
    move.MaxPathNodes = std::numeric_limits<std::size_t>::max();
    double pathMB = 0;
    double drawingMB = 0;
    double countedMB = 0;
    double frameMs = 0;
    double keptMB = 0;
    double rssAfterClearMB = 0;
    for (auto _ : state) {
        move.Reset();
        viewer.Paint();
        const double empty = HeapInUseMB();
        DrawBenchPath(move, kind, nodes);
        const double path = HeapInUseMB();
        countedMB = static_cast<double>(move.PreviewBytes()) / 1e6;
        const auto start = std::chrono::steady_clock::now();
        viewer.Paint();
        frameMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        pathMB = path - empty;
        drawingMB = HeapInUseMB() - path;
        move.Reset();
        viewer.Paint();
        keptMB = HeapInUseMB() - empty;
        rssAfterClearMB = RssMB();
    }
    move.MaxPreviewBytes = bound;
    move.MaxPathNodes = TMove::DefaultMaxPathNodes;
    state.counters["polylines_MB"] = pathMB;
    state.counters["drawing_MB"] = drawingMB;
    state.counters["heap_MB"] = pathMB + drawingMB;
    state.counters["counted_MB"] = countedMB;
    state.counters["counted_per_heap"] = countedMB / (pathMB + drawingMB);
    state.counters["kept_after_clear_MB"] = keptMB;
    state.counters["rss_after_clear_MB"] = rssAfterClearMB;
    state.counters["first_frame_ms"] = frameMs;
    state.counters["peak_rss_MB"] = PeakRssMB();
}

BENCHMARK_CAPTURE(BM_PreviewMemory, OneCut, TPathKind::OneCut)
    ->Arg(5000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_PreviewMemory, JogCutPairs, TPathKind::JogCutPairs)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_PreviewMemory, ShortCuts, TPathKind::ShortCuts)
    ->Arg(6000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    setenv("LP_NUM_THREADS", "0", 0);
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
