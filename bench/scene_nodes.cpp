// A simulated part program appends one node per move: Add plus SetAsVector, each with
// its change notification, must stay cheap for a million moves.

#include "scene/graph/Nodes.h"
#include "scene/graph/UpdateAble.h"

#include <benchmark/benchmark.h>

namespace {

class TCountingOwner : public TGLUpdateAbleComponent {
    KP_CLASS(TCountingOwner, TGLUpdateAbleComponent)
public:
    long changes = 0;
    void NotifyChange(TObject*) override { ++changes; }
};

} // namespace

static void BM_NodesAppend(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TCountingOwner owner;
        TGLNodes nodes(&owner);
        for (int i = 0; i < n; ++i) {
            nodes.Add()->SetAsVector({static_cast<float>(i), 1, 2, 1});
        }
        benchmark::DoNotOptimize(owner.changes);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_NodesAppend)->Arg(1000)->Arg(100000);
