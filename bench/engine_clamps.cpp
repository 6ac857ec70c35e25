// Clamp lines in bulk: every executed "[CLAMP]" line adds a box under the clamps
// parent with a collision behaviour, and the next run frees them all. Both must stay
// linear in the number of boxes.

#include "EngineBenchPrograms.h"
#include "engine/EngineData.h"
#include "engine/LineLoop.h"
#include "engine/Move.h"
#include "engine/calcul/Calcul.h"
#include "scene/graph/SceneObject.h"
#include "scene/objects/collision/Collision.h"

#include <benchmark/benchmark.h>

namespace {

using namespace enginebench;

void BM_ClampLines(benchmark::State& state)
{
    const TProgramLines lines(static_cast<std::size_t>(state.range(0)), "[CLAMP] left-front, 10, 5, 0, 2, 2, 1");
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TGLBaseSceneObject clampsParent;
    TCollisionManager manager;
    TMove move(data, calcul, shell, nullptr, &clampsParent, &manager);
    for (auto _ : state) {
        RunLines(move, lines);
        move.Clamps().Free(); // as the next run does
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ClampLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
