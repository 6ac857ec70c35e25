// Meshes of a million triangles: building the free form's octree, one ray cast, the
// strip conversions, and saving and loading the "glwm" file. The mesh is a gently
// rolling grid of 1000 x 500 quads with normals and texture coordinates, indexed by
// one face group, as a scanned relief or a large imported part would be.

#include "scene/objects/BaseMesh.h"
#include "scene/objects/MeshObjectClasses.h"
#include "scene/objects/MeshStrips.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

constexpr int Columns = 1000;
constexpr int Rows = 500;

void FillRelief(TGLFreeForm& mesh)
{
    auto* object = new TMeshObject(&mesh.MeshObjects());
    object->SetMode(momFaceGroups);
    for (int r = 0; r <= Rows; ++r) {
        for (int c = 0; c <= Columns; ++c) {
            const float x = static_cast<float>(c) * 0.1f;
            const float y = static_cast<float>(r) * 0.1f;
            object->Vertices().Add(x, y, 0.5f * std::sin(x * 0.3f) * std::cos(y * 0.2f));
            object->Normals().Add(0, 0, 1);
            object->TexCoords().Add(x / 100, y / 50, 0);
        }
    }
    auto* group = new TFGVertexIndexList(&object->FaceGroups());
    TIntegerList& indices = group->VertexIndices();
    indices.EnsureCapacity(Columns * Rows * 6);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            const int i = r * (Columns + 1) + c;
            indices.AddTriple(i, i + 1, i + Columns + 2);
            indices.AddTriple(i, i + Columns + 2, i + Columns + 1);
        }
    }
}

TGLFreeForm& Relief()
{
    static const std::unique_ptr<TGLFreeForm> mesh = [] {
        RegisterMeshObjectClasses();
        auto made = std::make_unique<TGLFreeForm>();
        FillRelief(*made);
        return made;
    }();
    return *mesh;
}

std::size_t OctreeBytes(const TOctree& octree)
{
    std::size_t bytes = static_cast<std::size_t>(octree.TriangleFiler()->Capacity()) * sizeof(TAffineVector);
    auto walk = [&](auto& self, const TOctreeNode& node) -> void {
        bytes += sizeof(TOctreeNode) + node.TriArray.capacity() * sizeof(std::int32_t);
        if (!node.IsLeaf()) {
            for (const auto& child : node.ChildArray) {
                self(self, *child);
            }
        }
    };
    walk(walk, *octree.RootNode());
    return bytes;
}

std::string TempFile(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("kerfpad-bench-") + std::to_string(::getpid()) + name))
        .string();
}

} // namespace

static void BM_OctreeBuildDepth3(benchmark::State& state)
{
    TGLFreeForm& mesh = Relief();
    for (auto _ : state) {
        mesh.BuildOctree(3);
    }
    const TOctree& octree = *mesh.Octree();
    state.counters["bytes_per_triangle"] =
        static_cast<double>(OctreeBytes(octree)) / static_cast<double>(octree.TriCountMesh());
    state.counters["triangles"] = octree.TriCountOctree();
}
BENCHMARK(BM_OctreeBuildDepth3)->Unit(benchmark::kMillisecond);

static void BM_FreeFormRayCast(benchmark::State& state)
{
    TGLFreeForm& mesh = Relief();
    TVector point{}, normal{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(mesh.RayCastIntersect({50, 25, 10, 1}, {0.01f, 0.02f, -1, 0}, &point, &normal));
    }
}
BENCHMARK(BM_FreeFormRayCast)->Unit(benchmark::kMillisecond);

static void BM_StripToList(benchmark::State& state)
{
    const TAffineVectorList& strip = Relief().MeshObjects().Items(0)->Vertices();
    TAffineVectorList list;
    for (auto _ : state) {
        list.Flush();
        ConvertStripToList(strip, list);
        benchmark::DoNotOptimize(list.List());
    }
    state.SetItemsProcessed(state.iterations() * (strip.Count() - 2));
}
BENCHMARK(BM_StripToList)->Unit(benchmark::kMillisecond);

static void BM_IndexedStripToList(benchmark::State& state)
{
    const TMeshObject& object = *Relief().MeshObjects().Items(0);
    TIntegerList indices;
    for (int i = 0; i < 1000002; ++i) {
        indices.Add(i % object.Vertices().Count());
    }
    TAffineVectorList list;
    for (auto _ : state) {
        list.Flush();
        ConvertIndexedStripToList(object.Vertices(), indices, list);
        benchmark::DoNotOptimize(list.List());
    }
    state.SetItemsProcessed(state.iterations() * (indices.Count() - 2));
}
BENCHMARK(BM_IndexedStripToList)->Unit(benchmark::kMillisecond);

static void BM_GlwmSave(benchmark::State& state)
{
    TGLFreeForm& mesh = Relief();
    const std::string file = TempFile("-save.glwm");
    for (auto _ : state) {
        mesh.SaveToFile(file);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
    std::filesystem::remove(file);
}
BENCHMARK(BM_GlwmSave)->Unit(benchmark::kMillisecond);

static void BM_GlwmLoad(benchmark::State& state)
{
    const std::string file = TempFile("-load.glwm");
    Relief().SaveToFile(file);
    TGLFreeForm mesh;
    for (auto _ : state) {
        mesh.LoadFromFile(file);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_GlwmLoad)->Unit(benchmark::kMillisecond);
