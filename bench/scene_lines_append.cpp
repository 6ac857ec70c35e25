// A tool path growing while the view is drawn: 100,000 nodes appended to one polyline
// and its drawing rebuilt after every 100, as the preview does during a run. The
// vertex calls go to empty entry points (the recording table takes the rest), so the
// times are the line's own work per frame.

#include "scene/base/GLRecordingTable.h"
#include "scene/objects/lines/Lines.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int TotalNodes = 100000;
constexpr int NodesPerFrame = 100;

class TSilentVertices {
public:
    TSilentVertices()
    {
        GL.glVertex3f = [](GLfloat, GLfloat, GLfloat) {};
        GL.glColor4fv = [](const GLfloat*) {};
    }

private:
    TGLRecorder recorder_;
};

void BM_AppendWhileRendering(benchmark::State& state)
{
    TSilentVertices gl;
    TRenderContextInfo rci;
    double firstFrames = 0;
    double lastFrames = 0;
    for (auto _ : state) {
        TGLLines line;
        line.SetNodesAspect(lnaInvisible);
        firstFrames = lastFrames = 0;
        for (int n = 1; n <= TotalNodes; ++n) {
            line.AddNode(float(n % 97), float(n % 89), -0.25f);
            if (n % NodesPerFrame == 0) {
                const auto start = std::chrono::steady_clock::now();
                line.BuildList(rci);
                line.ClearStructureChanged();
                TGLRecorder::Current()->Clear();
                const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                                      .count();
                if (n <= 10000) {
                    firstFrames += us;
                } else if (n > TotalNodes - 10000) {
                    lastFrames += us;
                }
            }
        }
    }
    constexpr double framesPerTenThousand = 10000.0 / NodesPerFrame;
    state.counters["frame_us_first_10k"] = firstFrames / framesPerTenThousand;
    state.counters["frame_us_last_10k"] = lastFrames / framesPerTenThousand;
    state.SetItemsProcessed(state.iterations() * TotalNodes);
}

// One frame (100 appended nodes and a rebuild) at a given line length.
void BM_FrameAtLength(benchmark::State& state)
{
    TSilentVertices gl;
    TRenderContextInfo rci;
    TGLLines line;
    line.SetNodesAspect(lnaInvisible);
    for (int n = 0; n < state.range(0); ++n) {
        line.AddNode(float(n % 97), float(n % 89), 0);
    }
    for (auto _ : state) {
        for (int k = 0; k < NodesPerFrame; ++k) {
            line.AddNode(1, 2, 3);
        }
        line.BuildList(rci);
        TGLRecorder::Current()->Clear();
        state.PauseTiming();
        for (int k = 0; k < NodesPerFrame; ++k) {
            line.DeleteLastNode();
        }
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_AppendWhileRendering)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FrameAtLength)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
