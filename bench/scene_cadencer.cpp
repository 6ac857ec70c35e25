// The cadencer's step as the run loop calls it: once per pass of every wait, so it
// must stay cheap and allocation-free.

#include "scene/graph/Cadencer.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CadencerProgressFreeStep(benchmark::State& state)
{
    TGLCadencer cadencer;
    cadencer.SetMode(cmManual);
    cadencer.SetTimeReference(cmExternal);
    double time = 0;
    double total = 0;
    cadencer.OnProgress = [&total](TObject*, double delta, double) { total += delta; };
    for (auto _ : state) {
        time += 0.001;
        cadencer.SetExternalTime(time);
        cadencer.Progress();
    }
    benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_CadencerProgressFreeStep);

// Fixed steps: each call runs state.range(0) steps of 1 ms.
void BM_CadencerProgressFixedSteps(benchmark::State& state)
{
    TGLCadencer cadencer;
    cadencer.SetMode(cmManual);
    cadencer.SetTimeReference(cmExternal);
    cadencer.SetFixedDeltaTime(0.001);
    const double perCall = 0.001 * double(state.range(0)) + 0.0000001;
    double time = 0;
    long steps = 0;
    cadencer.OnProgress = [&steps](TObject*, double, double) { ++steps; };
    for (auto _ : state) {
        time += perCall;
        cadencer.SetExternalTime(time);
        cadencer.Progress();
    }
    state.SetItemsProcessed(steps);
}
BENCHMARK(BM_CadencerProgressFixedSteps)->Arg(1)->Arg(16);

// The performance-counter clock, as the preview uses it.
void BM_CadencerProgressCounterClock(benchmark::State& state)
{
    TGLCadencer cadencer;
    cadencer.SetMode(cmManual);
    long steps = 0;
    cadencer.OnProgress = [&steps](TObject*, double, double) { ++steps; };
    for (auto _ : state) {
        cadencer.Progress();
    }
    benchmark::DoNotOptimize(steps);
}
BENCHMARK(BM_CadencerProgressCounterClock);

} // namespace
