// What the state cache and the texture-coordinate router cost per call, against a
// driver that does nothing (so only our side is measured).
#include "NullGLDriver.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/rendering/TexCoordRouter.h"

#include <benchmark/benchmark.h>

namespace {

void BM_StateCacheRedundantEnable(benchmark::State& state)
{
    NullGLDriver driver;
    TGLStateCache cache;
    cache.Enable(stLighting);
    for (auto _ : state) {
        cache.Enable(stLighting);
        benchmark::DoNotOptimize(cache.States());
    }
}
BENCHMARK(BM_StateCacheRedundantEnable);

void BM_StateCacheSameMaterial(benchmark::State& state)
{
    NullGLDriver driver;
    TGLStateCache cache;
    const TVector black = {0, 0, 0, 1};
    const TVector gray = {0.5f, 0.5f, 0.5f, 1};
    cache.SetMaterialColors(GL_FRONT, black, gray, gray, black, 10);
    for (auto _ : state) {
        cache.SetMaterialColors(GL_FRONT, black, gray, gray, black, 10);
    }
}
BENCHMARK(BM_StateCacheSameMaterial);

void BM_RouterTexCoord(benchmark::State& state)
{
    NullGLDriver driver;
    const TGLExtensionFlags savedExt = GLExt;
    GLExt.ARB_multitexture = true;
    MapTexCoordNowhere();
    if (state.range(0) == 0) {
        MapTexCoordToUnit0();
    } else {
        MapTexCoordToUnitMask(static_cast<std::uint32_t>(state.range(0)));
    }
    float s = 0;
    for (auto _ : state) {
        TexCoordRouter.TexCoord2f(s, 1);
        s += 1;
    }
    MapTexCoordNowhere();
    GLExt = savedExt;
}
BENCHMARK(BM_RouterTexCoord)->Arg(0)->Arg(0b11)->Arg(0b1111);

} // namespace
