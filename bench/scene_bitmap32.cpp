// Conversions every texture goes through: bitmap rows to RGBA, and the per-pixel passes.
#include "scene/materials/GLBitmap32.h"

#include <benchmark/benchmark.h>

namespace {

void BM_AssignFrom24BitsBitmap(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(size, size);
    bitmap.Fill(10, 20, 30);
    TGLBitmap32 image;
    for (auto _ : state) {
        image.AssignFrom24BitsBitmap(bitmap);
        benchmark::DoNotOptimize(image.Data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(size) * size * 4);
}
BENCHMARK(BM_AssignFrom24BitsBitmap)->Arg(256)->Arg(1024);

void BM_HeightToNormalMap(benchmark::State& state)
{
    TGLBitmap32 image;
    image.SetWidth(512);
    image.SetHeight(512);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            image.ScanLine(y)[x * 4 + 1] = static_cast<std::uint8_t>(x ^ y);
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        TGLBitmap32 copy;
        copy.Assign(&image);
        state.ResumeTiming();
        copy.HeightToNormalMap(true, true, 2);
        benchmark::DoNotOptimize(copy.Data());
    }
}
BENCHMARK(BM_HeightToNormalMap);

void BM_GammaCorrection(benchmark::State& state)
{
    TGLBitmap32 image;
    image.SetWidth(1024);
    image.SetHeight(1024);
    for (auto _ : state) {
        image.GammaCorrection(1.0f);
        benchmark::DoNotOptimize(image.Data());
    }
}
BENCHMARK(BM_GammaCorrection);

} // namespace
