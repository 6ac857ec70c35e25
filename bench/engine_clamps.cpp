// Clamp lines in bulk: every executed "[CLAMP]" line adds a box under the clamps
// parent with a collision behaviour, and the next run frees them all. Both must stay
// linear in the number of boxes.

#include "EngineBenchPrograms.h"
#include "engine/LineLoop.h"
#include "scene/graph/SceneObject.h"
#include "scene/objects/collision/Collision.h"

#include <benchmark/benchmark.h>

namespace {

using namespace enginebench;

void BM_ClampLines(benchmark::State& state)
{
    const TProgramLines lines(static_cast<std::size_t>(state.range(0)), "[CLAMP] left-front, 10, 5, 0, 2, 2, 1");
    TGLBaseSceneObject clampsParent;
    TCollisionManager manager;
    TBenchEngine e;
    e.Move.SetClampsParent(&clampsParent);
    e.Move.SetCollisionManager(&manager);
    for (auto _ : state) {
        RunLines(e.Move, lines);
        e.Move.Clamps().Free(); // as the next run does
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ClampLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
