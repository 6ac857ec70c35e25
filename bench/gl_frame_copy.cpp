// What keeping the picture of a scene without its dynamic layer costs at the preview's
// 800 x 600: reading colour and depth back after a whole frame, and drawing them back
// at the start of a frame in which only the layer moved. One off-screen context (a GLX
// pbuffer; Mesa's software renderer under Xvfb); without a display the benchmarks skip.

#include "GLBenchContext.h"

#include "scene/graph/FrameCopy.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

// The off-screen context with a frame of two overlapping quads drawn, made once; null
// when there is no display.
TGLX11Context* Context()
{
    static const std::unique_ptr<TGLX11Context> context = MakeBenchContext(Width, Height, [](TGLX11Context& made) {
        GL.glEnable(GL_DEPTH_TEST);
        GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL.glBegin(GL_QUADS);
        GL.glColor3f(1, 0, 0);
        for (const float z : {-0.5f, 0.5f}) {
            GL.glVertex3f(-0.8f, -0.8f, z);
            GL.glVertex3f(0.6f, -0.8f, z);
            GL.glVertex3f(0.6f, 0.6f, -z);
            GL.glVertex3f(-0.8f, 0.6f, -z);
            GL.glColor3f(0, 0, 1);
        }
        GL.glEnd();
        made.Deactivate();
    });
    return context.get();
}

void BM_FrameCopySave(benchmark::State& state)
{
    TGLX11Context* context = Context();
    if (!context) {
        state.SkipWithError("needs an X server");
        return;
    }
    context->Activate();
    TGLFrameCopy copy;
    for (auto _ : state) {
        copy.Save(Width, Height);
        GL.glFinish();
    }
    state.counters["bytes"] = static_cast<double>(copy.Bytes());
    context->Deactivate();
}
BENCHMARK(BM_FrameCopySave)->Unit(benchmark::kMillisecond);

void BM_FrameCopyRestore(benchmark::State& state)
{
    TGLX11Context* context = Context();
    if (!context) {
        state.SkipWithError("needs an X server");
        return;
    }
    context->Activate();
    TGLFrameCopy copy;
    copy.Save(Width, Height);
    for (auto _ : state) {
        copy.Restore();
        GL.glFinish();
    }
    context->Deactivate();
}
BENCHMARK(BM_FrameCopyRestore)->Unit(benchmark::kMillisecond);

} // namespace
