// What a material costs per drawn object (apply and unapply against a driver that does
// nothing), and looking a shared material up by name in a library.
#include "NullGLDriver.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/Material.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"

#include <benchmark/benchmark.h>

namespace {

struct Frame {
    Frame()
    {
        rci.GLStates = &states;
        rci.faceCulling = true;
        states.Enable(stLighting);
        states.Enable(stCullFace);
    }
    TGLStateCache states;
    TRenderContextInfo rci;
};

void ApplyUnApply(TGLMaterial& material, TRenderContextInfo& rci)
{
    material.Apply(rci);
    while (material.UnApply(rci)) {
    }
}

void BM_MaterialOpaque(benchmark::State& state)
{
    NullGLDriver driver;
    Frame frame;
    TGLMaterial material(nullptr);
    for (auto _ : state) {
        ApplyUnApply(material, frame.rci);
    }
}
BENCHMARK(BM_MaterialOpaque);

void BM_MaterialTransparentWireFrameUnlit(benchmark::State& state)
{
    NullGLDriver driver;
    Frame frame;
    TGLMaterial material(nullptr);
    material.SetBlendingMode(bmTransparency);
    material.SetMaterialOptions(MaterialOption(moNoLighting));
    material.FrontProperties()->SetPolygonMode(pmLines);
    for (auto _ : state) {
        ApplyUnApply(material, frame.rci);
    }
}
BENCHMARK(BM_MaterialTransparentWireFrameUnlit);

void BM_MaterialLinkedToALibraryMaterial(benchmark::State& state)
{
    NullGLDriver driver;
    Frame frame;
    TGLMaterialLibrary library;
    TGLLibMaterial* shared = library.Materials()->Add();
    shared->SetName("Path");
    shared->TextureOffset()->SetVector(0.5f, 0, 0);
    TGLMaterial material(nullptr);
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName("Path");
    for (auto _ : state) {
        ApplyUnApply(material, frame.rci);
    }
}
BENCHMARK(BM_MaterialLinkedToALibraryMaterial);

void BM_LibraryLookupByName(benchmark::State& state)
{
    TGLMaterialLibrary library;
    for (int i = 0; i < state.range(0); ++i) {
        library.Materials()->Add()->SetName("Material" + std::to_string(i));
    }
    const std::string last = "Material" + std::to_string(state.range(0) - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.LibMaterialByName(last));
    }
}
BENCHMARK(BM_LibraryLookupByName)->Arg(16)->Arg(256);

} // namespace
