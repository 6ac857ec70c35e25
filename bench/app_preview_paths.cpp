// The preview at 800 x 600 holding a path of five million nodes in one polyline (a
// serpentine over the table in steps of a fraction of a pixel, so that the frames cost
// what the nodes do, not the pixels), and the same path with one node more, at 1E20: the
// first frame (which copies or compiles the path), then frames while the view turns
// (every frame draws the whole path), and the process's peak resident memory. Run each
// alone (--benchmark_filter=FiveMillionNodePath/0 and /1) to read its own peak. Needs an
// X server and OpenGL; skipped without.

#include "EngineBenchPrograms.h"
#include "ShellBench.h"

#include "engine/Move.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/WorldViewer.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QGuiApplication>

#include <memory>

namespace {

constexpr int PathNodes = 5000000;
constexpr int RowNodes = 2000;

std::unique_ptr<TBenchShell> gShell;

void BM_PreviewFramesWithFiveMillionNodePath(benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X server");
        return;
    }
    const bool farNode = state.range(0) != 0;
    gShell.reset();
    gShell = std::make_unique<TBenchShell>(TMainFormOptions{true});
    TMainForm& window = *gShell->window;
    if (!window.GLWorldViewer1) {
        state.SkipWithError("no OpenGL");
        return;
    }
    window.show();
    window.GLWorldViewer1->Widget()->setFixedSize(800, 600);
    TBenchShell::ProcessEventsFor(500);
    for (int i = 0; i < PathNodes; ++i) {
        const int row = i / RowNodes;
        const int column = row % 2 == 0 ? i % RowNodes : RowNodes - 1 - i % RowNodes;
        window.Move->AddMoveNode(true, i == 0, 96.0f * float(column) / RowNodes, 48.0f * float(row) * RowNodes / PathNodes,
                                 -0.25f);
    }
    if (farNode) {
        window.Move->AddMoveNode(true, false, 1e20f, 1e20f, 0);
    }
    TGLWorldViewer& viewer = *window.GLWorldViewer1;
    QElapsedTimer first;
    first.start();
    viewer.Paint();
    const double firstMs = static_cast<double>(first.nsecsElapsed()) / 1e6;
    for (auto _ : state) {
        window.Scene->DummyCube1->Turn(0.5f);
        viewer.Paint();
    }
    state.counters["first_frame_ms"] = firstMs;
    state.counters["peak_rss_MB"] = enginebench::PeakRssMB();
}
BENCHMARK(BM_PreviewFramesWithFiveMillionNodePath)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
