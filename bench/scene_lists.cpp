// Throughput of the typed lists and the value stream on mesh-sized data: a part program
// with a million moves becomes a million nodes, and meshes stream their vertex lists.

#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"

#include <benchmark/benchmark.h>

static void BM_AffineListAdd(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TAffineVectorList list;
        for (int i = 0; i < n; ++i) {
            list.Add(static_cast<float>(i), 0, 1);
        }
        benchmark::DoNotOptimize(list.List());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AffineListAdd)->Arg(1000)->Arg(100000);

static void BM_AffineListStreamRoundTrip(benchmark::State& state)
{
    TAffineVectorList list;
    const int n = static_cast<int>(state.range(0));
    list.SetCount(n);
    for (auto _ : state) {
        const std::string data = list.SaveToString();
        TAffineVectorList back;
        back.LoadFromString(data);
        benchmark::DoNotOptimize(back.Count());
    }
    state.SetBytesProcessed(state.iterations() * n * 12);
}
BENCHMARK(BM_AffineListStreamRoundTrip)->Arg(100000);

static void BM_IntegerSortUnique(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TIntegerList list;
        std::uint32_t seed = 7;
        for (int i = 0; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            list.Add(static_cast<std::int32_t>(seed >> 8));
        }
        state.ResumeTiming();
        list.SortUnique();
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_IntegerSortUnique)->Arg(100000);
