// Frame time of a tool path of 200,000 two-node polylines under the lines group against
// the same 400,000 vertices as one polyline, drawn alternately in one off-screen context
// (a GLX pbuffer; Mesa's software renderer under Xvfb). The vertices walk a serpentine
// through the view in steps of about half a pixel, so both scenes rasterise short
// segments. Without a display the benchmarks skip.

#include "GLBenchContext.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/objects/lines/LinesGroup.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int Size = 512;
constexpr int Polylines = 200000;

// The off-screen context, left current with pixel coordinates, made once; null when
// there is no display.
TGLX11Context* Context()
{
    static const std::unique_ptr<TGLX11Context> context = MakeBenchContext(Size, Size, [](TGLX11Context&) {
        GL.glMatrixMode(GL_PROJECTION);
        GL.glLoadIdentity();
        GL.glOrtho(0, Size, 0, Size, -1, 1);
        GL.glMatrixMode(GL_MODELVIEW);
        GL.glLoadIdentity();
    });
    return context.get();
}

// Vertex k of the serpentine: rows of 800 points, half a pixel apart.
TAffineVector Vertex(int k)
{
    const int row = k / 800;
    const int column = row % 2 == 0 ? k % 800 : 799 - k % 800;
    return {6.0f + 0.625f * static_cast<float>(column), 6.0f + static_cast<float>(row), 0.0f};
}

void AddPolylines(TGLBaseSceneObject& parent)
{
    for (int i = 0; i < Polylines; ++i) {
        auto* line = parent.AddNewChild<TGLLines>();
        line->SetNodesAspect(lnaInvisible);
        for (int k = 2 * i; k < 2 * i + 2; ++k) {
            const TAffineVector v = Vertex(k);
            line->AddNode(v.X, v.Y, v.Z);
        }
    }
}

struct TScenes {
    TGLLinesGroup group;
    TGLLines single;
    TGLStateCache states;
    TRenderContextInfo rci;

    TScenes()
    {
        rci.GLStates = &states;
        AddPolylines(group);
        single.SetNodesAspect(lnaInvisible);
        for (int k = 0; k < 2 * Polylines; ++k) {
            const TAffineVector v = Vertex(k);
            single.AddNode(v.X, v.Y, v.Z);
        }
    }

    // One frame: clear, draw, and wait until the renderer has finished it.
    double Frame(TGLBaseSceneObject& root)
    {
        const auto start = std::chrono::steady_clock::now();
        GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        root.Render(rci);
        GL.glFinish();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
};

void BM_ManyPolylinesAgainstOne(benchmark::State& state)
{
    if (!Context()) {
        state.SkipWithError("no display for an off-screen OpenGL context");
        return;
    }
    TScenes scenes;
    scenes.Frame(scenes.group); // copies the batches
    scenes.Frame(scenes.single); // compiles the display list
    double many = 0;
    double one = 0;
    for (auto _ : state) {
        many += scenes.Frame(scenes.group);
        one += scenes.Frame(scenes.single);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["many_ms"] = many / n;
    state.counters["one_ms"] = one / n;
    state.counters["ratio"] = many / one;
    state.counters["batches"] = scenes.group.Batches().Batches();
}

// The run's own case: the last polyline grows by a node every frame.
void BM_ManyPolylinesLastGrowing(benchmark::State& state)
{
    if (!Context()) {
        state.SkipWithError("no display for an off-screen OpenGL context");
        return;
    }
    TScenes scenes;
    scenes.Frame(scenes.group);
    auto* last = static_cast<TGLLines*>(scenes.group.Children(Polylines - 1));
    const std::uint64_t copiedBefore = scenes.group.Batches().PointsCopied();
    double ms = 0;
    for (auto _ : state) {
        last->AddNode(300, 300, 0);
        ms += scenes.Frame(scenes.group);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["frame_ms"] = ms / n;
    state.counters["points_copied_per_frame"] =
        static_cast<double>(scenes.group.Batches().PointsCopied() - copiedBefore) / n;
}

// For comparison: the same polylines under a plain grouping cube, one display list each.
void BM_ManyPolylinesOwnLists(benchmark::State& state)
{
    if (!Context()) {
        state.SkipWithError("no display for an off-screen OpenGL context");
        return;
    }
    TScenes scenes;
    TGLDummyCube plain;
    AddPolylines(plain);
    scenes.Frame(plain);
    double ms = 0;
    for (auto _ : state) {
        ms += scenes.Frame(plain);
    }
    state.counters["frame_ms"] = ms / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_ManyPolylinesAgainstOne)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ManyPolylinesLastGrowing)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ManyPolylinesOwnLists)->Unit(benchmark::kMillisecond)->Iterations(5);
