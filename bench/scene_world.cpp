// Scene-wide walks that the shell triggers per user action or per tick: picking by ray
// and stepping the trees in time.

#include "scene/graph/Camera.h"
#include "scene/graph/World.h"

#include <benchmark/benchmark.h>

namespace {

// A grid of n x n objects two units apart in the XY plane, under one group each row.
void FillGrid(TGLWorld& world, int n)
{
    for (int row = 0; row < n; ++row) {
        auto* group = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
        for (int col = 0; col < n; ++col) {
            auto* object = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(group);
            object->Position().SetPoint(float(col * 2), float(row * 2), 0);
        }
    }
}

void BM_WorldRayCast(benchmark::State& state)
{
    TGLWorld world;
    const int n = int(state.range(0));
    FillGrid(world, n);
    TVector point{};
    int hits = 0;
    for (auto _ : state) {
        hits += world.RayCastIntersect({float(n), float(n), 10, 1}, {0, 0, -1, 0}, &point) != nullptr;
    }
    benchmark::DoNotOptimize(hits);
    state.SetItemsProcessed(state.iterations() * n * n);
}
BENCHMARK(BM_WorldRayCast)->Arg(10)->Arg(30);

void BM_WorldProgress(benchmark::State& state)
{
    TGLWorld world;
    FillGrid(world, int(state.range(0)));
    double time = 0;
    for (auto _ : state) {
        time += 0.01;
        world.Progress(0.01, time);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_WorldProgress)->Arg(10)->Arg(30);

} // namespace
