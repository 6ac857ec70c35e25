// The math on every rendering, collision and simulation path: matrix products,
// vector transforms and whole-list normalisation.

#include "scene/base/VectorGeometry.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

TMatrix SomeMatrix(float a)
{
    TMatrix m = MultiplyMatrices(MakeRotationMatrix(TAffineVector{1, 2, 3}, a),
                                 MakeScaleTranslationMatrix({1.5f, 2, 0.5f}, {3, -4, 5}));
    m[0][3] = 0.01f;
    return m;
}

void BM_MultiplyMatrices(benchmark::State& state)
{
    const TMatrix a = SomeMatrix(0.3f), b = SomeMatrix(1.1f);
    TMatrix r;
    for (auto _ : state) {
        MultiplyMatrices(a, b, r);
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MultiplyMatrices);

void BM_InvertMatrix(benchmark::State& state)
{
    const TMatrix a = SomeMatrix(0.7f);
    for (auto _ : state) {
        TMatrix m = a;
        benchmark::DoNotOptimize(m);
        InvertMatrix(m);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_InvertMatrix);

void BM_TransformVectors(benchmark::State& state)
{
    const TMatrix m = SomeMatrix(0.5f);
    std::vector<TVector> points(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = MakePoint(float(i), float(i % 7), -float(i % 13));
    std::vector<TVector> out(points.size());
    for (auto _ : state) {
        for (size_t i = 0; i < points.size(); ++i)
            out[i] = TransformVector(points[i], m);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TransformVectors)->Arg(1 << 10)->Arg(1 << 16);

void BM_NormalizeAffineVectorArray(benchmark::State& state)
{
    std::vector<TAffineVector> source(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = {std::sin(float(i)), float(i % 11) + 1, std::cos(float(i)) * 3};
    std::vector<TAffineVector> work(source.size());
    for (auto _ : state) {
        state.PauseTiming();
        work = source;
        state.ResumeTiming();
        NormalizeAffineVectorArray(work.data(), static_cast<int>(work.size()));
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NormalizeAffineVectorArray)->Arg(1 << 10)->Arg(1 << 16);

void BM_LerpAffineVectorArrays(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    std::vector<TAffineVector> a(n, TAffineVector{1, 2, 3}), b(n, TAffineVector{-4, 5, 0.5f}), out(n);
    for (auto _ : state) {
        LerpAffineVectorArrays(a.data(), b.data(), static_cast<int>(n), out.data(), 0.37f);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LerpAffineVectorArrays)->Arg(1 << 16);

void BM_IntersectRayTriangle(benchmark::State& state)
{
    const TVector start{0.3f, 0.3f, 5, 1}, dir{0.01f, 0.02f, -1, 0};
    TVector point;
    for (auto _ : state) {
        benchmark::DoNotOptimize(IntersectRayTriangle(start, dir, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, &point));
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK(BM_IntersectRayTriangle);

} // namespace
