// Meshes of a million triangles: building the free form's octree, one ray cast, the
// strip conversions, and saving and loading the "glwm" file. The mesh is a gently
// rolling grid of 1000 x 500 quads with normals and texture coordinates, indexed by
// one face group, as a scanned relief or a large imported part would be.
//
// Then two free forms of 100,000 triangles each in faces-mode collision passes, and
// the skinning of 100,000 vertices on two bones each.

#include "../tests/support/SphereMesh.h"

#include "scene/objects/meshes/Actor.h"
#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/collision/Collision.h"
#include "scene/objects/meshes/MeshObjectClasses.h"
#include "scene/objects/meshes/MeshStrips.h"
#include "scene/objects/meshes/SkeletonMeshObject.h"

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

namespace {

// Two spheres of 100,000 triangles each (250 segments, 201 rings) in faces mode.
class TFacesPair {
public:
    TFacesPair(float radius2, TAffineVector at2)
    {
        testsupport::AddSphere(first.MeshObjects(), 1, 250, 201);
        testsupport::AddSphere(second.MeshObjects(), radius2, 250, 201);
        second.Position().SetPoint(at2.X, at2.Y, at2.Z);
        for (TGLFreeForm* mesh : {&first, &second}) {
            auto* collision = CreateXCollectionItem<TGLBCollision>(&mesh->Behaviours());
            collision->BoundingMode = cbmFaces;
            collision->SetManager(&manager);
        }
        manager.OnCollision = [this](TObject*, TGLBaseSceneObject*, TGLBaseSceneObject*) { ++hits; };
    }
    // A pass; whether it reported the pair.
    bool Pass()
    {
        hits = 0;
        manager.CheckCollisions();
        return hits > 0;
    }
    void DropOctrees()
    {
        for (TGLFreeForm* mesh : {&first, &second}) {
            if (mesh->Octree()) {
                mesh->Octree()->DisposeTree();
            }
        }
    }

    TGLFreeForm first;
    TGLFreeForm second;
    TCollisionManager manager; // freed first: it lets go of the behaviours
    int hits = 0;
};

void RunFacesPasses(benchmark::State& state, TFacesPair& pair, bool expected)
{
    if (pair.Pass() != expected) {
        state.SkipWithError("the pass gave the wrong answer");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(pair.Pass());
    }
    state.counters["triangles"] = pair.first.MeshObjects().TriangleCount();
}

} // namespace

// The first pass of a touching pair builds both octrees (depth 3).
static void BM_FacesFirstPass(benchmark::State& state)
{
    TFacesPair pair(1, {1.999f, 0, 0});
    for (auto _ : state) {
        state.PauseTiming();
        pair.DropOctrees();
        state.ResumeTiming();
        if (!pair.Pass()) {
            state.SkipWithError("the touching pair did not collide");
            break;
        }
    }
}
BENCHMARK(BM_FacesFirstPass)->Unit(benchmark::kMillisecond);

static void BM_FacesTouchingPass(benchmark::State& state)
{
    TFacesPair pair(1, {1.999f, 0, 0});
    RunFacesPasses(state, pair, true);
}
BENCHMARK(BM_FacesTouchingPass)->Unit(benchmark::kMillisecond);

// The boxes overlap, the surfaces do not: every triangle near the other's box is tested.
static void BM_FacesNestedPass(benchmark::State& state)
{
    TFacesPair pair(0.5f, {0.05f, 0.02f, 0.03f});
    RunFacesPasses(state, pair, false);
}
BENCHMARK(BM_FacesNestedPass)->Unit(benchmark::kMillisecond);

// The same pair taken the other way round: every triangle of the inner sphere lies in
// the outer one's box and walks its octree.
static void BM_FacesNestedInnerFirst(benchmark::State& state)
{
    TFacesPair pair(0.5f, {0.05f, 0.02f, 0.03f});
    for (auto _ : state) {
        if (CheckFacesVsFaces(&pair.second, &pair.first)) {
            state.SkipWithError("nested spheres collided");
            break;
        }
    }
}
BENCHMARK(BM_FacesNestedInnerFirst)->Unit(benchmark::kMillisecond);

// 100,000 vertices, each half on one bone and half on the other, posed between two
// frames every iteration, normals normalised.
static void BM_SkinningTwoBonesPerVertex(benchmark::State& state)
{
    RegisterMeshObjectClasses();
    TGLActor actor;
    TSkeleton& skeleton = actor.Skeleton();
    new TSkeletonBone(&skeleton.RootBones(), 0, "a");
    new TSkeletonBone(&skeleton.RootBones(), 1, "b");
    for (float angle : {0.0f, 1.0f}) {
        auto* frame = new TSkeletonFrame(&skeleton.Frames());
        frame->Position().Add(0, 0, 0);
        frame->Position().Add(angle, 0, 0);
        frame->Rotation().Add(0, 0, angle);
        frame->Rotation().Add(angle, 0, 0);
    }
    auto* object = new TSkeletonMeshObject(&actor.MeshObjects());
    constexpr int Vertices = 100000;
    for (int i = 0; i < Vertices; ++i) {
        const float t = static_cast<float>(i) / Vertices;
        object->Vertices().Add(t, 1 - t, 0.5f);
        object->Normals().Add(0, 0, 1);
        object->AddWeightedBones({{0, 1 - t}, {1, t}});
    }
    skeleton.RootBones().PrepareGlobalMatrices();
    object->PrepareBoneMatrixInvertedMeshes();
    float factor = 0;
    for (auto _ : state) {
        skeleton.Lerp(0, 1, factor);
        skeleton.MorphMesh(true);
        factor = factor < 0.9f ? factor + 0.1f : 0;
        benchmark::DoNotOptimize(object->Vertices().List());
    }
    state.SetItemsProcessed(state.iterations() * Vertices);
}
BENCHMARK(BM_SkinningTwoBonesPerVertex)->Unit(benchmark::kMillisecond);
