// What a frame costs on the scene object side: walking and sorting many children, and
// moving a parent whose subtree must learn that its absolute matrices are stale.
// The driver does nothing, so only our side is measured.
#include "NullGLDriver.h"
#include "scene/graph/SceneObject.h"

#include <benchmark/benchmark.h>

namespace {

class TBlendedEveryOther : public TGLBaseSceneObject {
    KP_CLASS(TBlendedEveryOther, TGLBaseSceneObject)
public:
    explicit TBlendedEveryOther(TComponent* owner, bool blended) : TGLBaseSceneObject(owner), blended_(blended)
    {
        IncludeStyle(osNoDisplayList);
    }
    bool Blended() const override { return blended_; }

private:
    bool blended_;
};

void BM_RenderChildrenSorted(benchmark::State& state)
{
    NullGLDriver driver;
    TGLBaseSceneObject group;
    group.SetObjectsSorting(static_cast<TGLObjectsSorting>(state.range(1)));
    for (int i = 0; i < state.range(0); ++i) {
        auto* child = new TBlendedEveryOther(&group, i % 2 == 1);
        child->Position().SetPoint(float(i % 37), float(i % 11), float(i % 5));
        group.AddChild(child);
    }
    TRenderContextInfo rci;
    rci.cameraPosition = {100, 50, 20, 1};
    for (auto _ : state) {
        group.RenderChildren(0, group.Count() - 1, rci);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RenderChildrenSorted)
    ->Args({1000, osNone})
    ->Args({1000, osRenderFarthestFirst})
    ->Args({1000, osRenderBlendedLast});

void BM_MoveParentOfDeepChain(benchmark::State& state)
{
    TGLBaseSceneObject root;
    TGLBaseSceneObject* leaf = &root;
    for (int i = 0; i < state.range(0); ++i) {
        leaf = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(leaf);
        leaf->Position().SetPoint(1, 0, 0);
    }
    float x = 0;
    for (auto _ : state) {
        root.Position().SetPoint(x, 0, 0);
        x += 1;
        benchmark::DoNotOptimize(leaf->AbsolutePosition());
    }
}
BENCHMARK(BM_MoveParentOfDeepChain)->Arg(64);

} // namespace
