// The shell's run of the million-move program with Simulate off and no viewer, beside
// the engine's headless rate on the same lines, with the longest time the window goes
// without an event pass; and, under an X server, the preview's frame with that
// program's path of a million nodes at 800 x 600 while only the bit moves, and while
// the view turns (every frame whole). A binary of its own: it needs a QApplication, on
// xcb when there is a display.

#include "EngineBenchPrograms.h"
#include "ShellBench.h"

#include "app/run/PreviewPanel.h"
#include "engine/RunResults.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/viewer/WorldViewer.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// The main window with Simulate off.
struct TShell : TBenchShell {
    explicit TShell(bool withViewer) : TBenchShell(TMainFormOptions{withViewer})
    {
        window->PanelGL->cbSim->setChecked(false);
    }
    // The simulator as a results run leaves it, then the program's lines through the
    // shell's own line loop.
    void RunProgram()
    {
        ResetForResults(*window->Move, window->Calcul, std::string());
        window->Running = true;
        window->RunFile(enginebench::PlainMoves(), QString(), -1);
        window->Running = false;
    }
};

std::unique_ptr<TShell> gShell;
std::unique_ptr<TShell> gViewerShell;

void BM_HeadlessRunOfPlainMoves(benchmark::State& state)
{
    enginebench::TBenchEngine e;
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(e.Move, e.Calcul, std::string());
        state.ResumeTiming();
        e.Runner.RunLinesForResults(enginebench::PlainMoves());
    }
    state.SetItemsProcessed(state.iterations() * enginebench::ProgramLines);
}
BENCHMARK(BM_HeadlessRunOfPlainMoves)->Unit(benchmark::kMillisecond)->Iterations(3);

// The event passes are timed by a timer that fires on every pass of the event loop.
void BM_ShellRunOfPlainMovesSimulateOff(benchmark::State& state)
{
    if (!gShell) {
        gShell = std::make_unique<TShell>(false);
    }
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer pass;
    pass.setInterval(0);
    QObject::connect(&pass, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(*gShell->window->Move, gShell->window->Calcul, std::string());
        state.ResumeTiming();
        pass.start();
        clock.start();
        last = 0;
        gShell->RunProgram();
        longest = std::max(longest, clock.elapsed() - last);
        pass.stop();
    }
    state.SetItemsProcessed(state.iterations() * enginebench::ProgramLines);
    state.counters["longest_gap_ms"] = static_cast<double>(longest);
}
BENCHMARK(BM_ShellRunOfPlainMovesSimulateOff)->Unit(benchmark::kMillisecond)->Iterations(3);

// The preview at 800 x 600 holding the million-node path, drawn once; nullptr (and the
// benchmark skipped) without an X server or OpenGL.
TMainForm* PreviewWithMillionNodePath(benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X server");
        return nullptr;
    }
    if (!gViewerShell) {
        // One shell at a time: each holds the data module.
        gShell.reset();
        gViewerShell = std::make_unique<TShell>(true);
        TMainForm& window = *gViewerShell->window;
        if (window.GLWorldViewer1) {
            window.show();
            window.GLWorldViewer1->Widget()->setFixedSize(800, 600);
            TBenchShell::ProcessEventsFor(500);
            gViewerShell->RunProgram();
        }
    }
    TMainForm& window = *gViewerShell->window;
    if (!window.GLWorldViewer1) {
        state.SkipWithError("no OpenGL");
        return nullptr;
    }
    window.GLWorldViewer1->Paint();
    return &window;
}

// What the frames of a benchmark cost beyond their time: points copied for drawing and
// the frames that started from the kept picture of the scene without its moving objects.
struct TFrameCounters {
    explicit TFrameCounters(TMainForm& window)
        : batches(window.Scene->DummyLines->Batches()), buffer(window.GLWorldViewer1->Buffer()),
          copiedBefore(batches.PointsCopied()), reusesBefore(buffer.StaticCopyReuses())
    {
    }
    void Report(benchmark::State& state, TGLWorldViewer& viewer) const
    {
        const double frames = static_cast<double>(state.iterations());
        state.counters["points_copied_per_frame"] = static_cast<double>(batches.PointsCopied() - copiedBefore) / frames;
        state.counters["frames_from_copy"] = (buffer.StaticCopyReuses() - reusesBefore) / frames;
        state.counters["viewer_w"] = viewer.Width();
        state.counters["viewer_h"] = viewer.Height();
    }
    const TLineBatches& batches;
    TGLWorldBuffer& buffer;
    std::uint64_t copiedBefore;
    int reusesBefore;
};

// One frame of the preview, the bit moved a little before each; the path's copy for
// drawing is made once.
void BM_PreviewFrameWithMillionNodePath(benchmark::State& state)
{
    TMainForm* window = PreviewWithMillionNodePath(state);
    if (!window) {
        return;
    }
    TGLWorldViewer& viewer = *window->GLWorldViewer1;
    const TFrameCounters counters(*window);
    float x = 0;
    for (auto _ : state) {
        x = x > 90 ? 0 : x + 0.5f;
        window->Scene->Bit->Position().SetPoint(x, 24, 0);
        viewer.Paint();
    }
    counters.Report(state, viewer);
}
BENCHMARK(BM_PreviewFrameWithMillionNodePath)->Unit(benchmark::kMillisecond)->Iterations(20);

// One frame of the preview while the view turns a little before each: every frame
// draws the whole path.
void BM_PreviewFrameWithMillionNodePathViewTurning(benchmark::State& state)
{
    TMainForm* window = PreviewWithMillionNodePath(state);
    if (!window) {
        return;
    }
    TGLWorldViewer& viewer = *window->GLWorldViewer1;
    const TFrameCounters counters(*window);
    for (auto _ : state) {
        window->Scene->DummyCube1->Turn(0.5f);
        viewer.Paint();
    }
    counters.Report(state, viewer);
}
BENCHMARK(BM_PreviewFrameWithMillionNodePathViewTurning)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] {
        gViewerShell.reset();
        gShell.reset();
    });
}
