#include "../../MeshTestSupport.h"
#include "../../NullContext.h"
#include "../../ObjectTestSupport.h"

#include "scene/materials/MaterialLibrary.h"
#include "scene/rendering/Shader.h"

#include <string>
#include <vector>

using namespace meshtest;

namespace {

TEST(MeshObject, TriangleCountsByMode)
{
    struct {
        TMeshObjectMode mode;
        int vertices;
        int triangles;
    } cases[] = {{momTriangles, 7, 2}, {momTriangleStrip, 2, 0}, {momTriangleStrip, 5, 3}, {momTriangleStrip, 0, 0}};
    for (const auto& c : cases) {
        TMeshObject mesh;
        mesh.SetMode(c.mode);
        mesh.Vertices().SetCount(c.vertices);
        EXPECT_EQ(mesh.TriangleCount(), c.triangles) << c.mode << " " << c.vertices;
    }
}

TEST(MeshObject, ExtractTrianglesByMode)
{
    TMeshObject mesh;
    mesh.SetVertices(Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {3, 3, 0}}));
    TAffineVectorList texCoords;
    EXPECT_EQ(mesh.ExtractTriangles(&texCoords)->Count(), 0); // 7 vertices are no whole triangles
    EXPECT_EQ(texCoords.Count(), 0);

    mesh.SetMode(momTriangleStrip);
    mesh.TexCoords().Assign(&mesh.Vertices());
    const auto strip = mesh.ExtractTriangles(&texCoords);
    ASSERT_EQ(strip->Count(), 15);
    EXPECT_EQ(strip->Get(3), (TAffineVector{1, 1, 0})); // the second triangle is reversed
    EXPECT_EQ(ToVector(texCoords), ToVector(*strip));
    TAffineVectorList visited;
    mesh.VisitTriangles([&](const auto& a, const auto& b, const auto& c) { visited.AddTriangle(a, b, c); });
    EXPECT_EQ(ToVector(visited), ToVector(*strip));
}

class MorphTest : public ::testing::Test {
protected:
    MorphTest()
    {
        auto* first = new TMeshMorphTarget(&mesh.MorphTargets());
        first->SetVertices(Points({{0, 0, 0}, {2, 2, 2}}));
        first->SetNormals(Points({{1, 0, 0}, {0, 0, 1}}));
        auto* second = new TMeshMorphTarget(&mesh.MorphTargets());
        second->SetVertices(Points({{2, 0, 0}, {4, 2, 2}}));
        second->SetNormals(Points({{0, 1, 0}, {0, 0, 1}}));
    }
    TMorphableMeshObject mesh;
};

TEST_F(MorphTest, LerpCopiesAtTheEndsAndRenormalisesBetween)
{
    mesh.Lerp(0, 1, 0);
    EXPECT_EQ(ToVector(mesh.Vertices()), ToVector(mesh.MorphTargets().Items(0)->Vertices()));
    mesh.Lerp(0, 1, 1);
    EXPECT_EQ(ToVector(mesh.Vertices()), ToVector(mesh.MorphTargets().Items(1)->Vertices()));
    mesh.Lerp(0, 1, 0.5f);
    EXPECT_EQ(ToVector(mesh.Vertices()), (std::vector<TAffineVector>{{1, 0, 0}, {3, 2, 2}}));
    EXPECT_NEAR(mesh.Normals()[0].X, 0.70710678f, 1e-6);
    EXPECT_NEAR(mesh.Normals()[0].Y, 0.70710678f, 1e-6);
    EXPECT_THROW(mesh.Lerp(0, 2, 0.5f), EAssertionFailed);
}

TEST_F(MorphTest, ListsMorphTheirMorphableObjectsAndFreeWhatTheyHold)
{
    TMeshObjectList list;
    EXPECT_EQ(list.MorphTargetCount(), 0);
    new TMeshObject(&list);
    EXPECT_EQ(list.MorphTargetCount(), 0); // no morphable object
    auto* morphable = new TMorphableMeshObject(&list);
    new TMeshMorphTarget(&morphable->MorphTargets());
    EXPECT_EQ(list.MorphTargetCount(), 1);
    delete list.Items(0); // an item freed alone leaves its list
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0), morphable);
}

TEST(MeshObjectList, ExtentsOfNothingAreTheStartValues)
{
    TMeshObjectList list;
    TAffineVector min{}, max{};
    list.GetExtents(min, max);
    EXPECT_EQ(min, (TAffineVector{1e30f, 1e30f, 1e30f}));
    EXPECT_EQ(max, (TAffineVector{-1e30f, -1e30f, -1e30f}));
    AddFaceGroupMesh(list, {{-1, 2, 3}, {4, -5, 6}}, {});
    list.GetExtents(min, max);
    EXPECT_EQ(min, (TAffineVector{-1, -5, 3}));
    EXPECT_EQ(max, (TAffineVector{4, 2, 6}));
}

// Draws of face groups are told apart by their index counts: group k has 3 (k + 1).
class MeshDrawing : public scenetest::ObjectRecording {
protected:
    std::vector<int> DrawnCounts() const
    {
        std::vector<int> counts;
        for (const TGLCall& call : recorder.Calls()) {
            if (call.Name == "glDrawElements") {
                counts.push_back(static_cast<int>(call.Args[1]));
            } else if (call.Name == "glRectf") {
                counts.push_back(-static_cast<int>(call.Args[0])); // a material applied
            }
        }
        return counts;
    }

    TMeshObjectList list;
};

TEST_F(MeshDrawing, ImmediateModeSendsColoursOnlyForEqualCounts)
{
    TMeshObject* mesh = AddFaceGroupMesh(list, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {});
    mesh->SetMode(momTriangles);
    mesh->Colors().SetCount(2);
    mesh->BuildList(rci);
    EXPECT_EQ(recorder.Count("glColor4fv"), 0);
    EXPECT_EQ(recorder.Count("glPushAttrib"), 0);
    EXPECT_EQ(recorder.Count("glVertex3fv"), 3);

    recorder.Clear();
    mesh->Colors().SetCount(3);
    mesh->BuildList(rci);
    EXPECT_EQ(recorder.Count("glColor4fv"), 3);
    EXPECT_EQ(recorder.Count("glPushAttrib"), 1);
    EXPECT_EQ(recorder.Count("glPopAttrib"), 1);
}

TEST_F(MeshDrawing, ArraysAreDeclaredOnceAndShortAttributeListsStayOff)
{
    TMeshObject* mesh = AddFaceGroupMesh(list, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1, 2, 0, 1, 2}});
    mesh->Normals().SetCount(2);   // one short
    mesh->TexCoords().SetCount(3); // complete
    mesh->BuildList(rci);
    EXPECT_EQ(recorder.Count("glVertexPointer"), 1);
    EXPECT_EQ(recorder.Count("glNormalPointer"), 0);
    EXPECT_EQ(recorder.Count("glTexCoordPointer"), 1);
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{3, 6}));
    // Everything enabled is disabled again.
    for (const GLenum array : {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY}) {
        int balance = 0;
        for (const TGLCall& call : recorder.Calls()) {
            if (!call.Args.empty() && call.Args[0] == array) {
                balance += call.Name == "glEnableClientState" ? 1 : (call.Name == "glDisableClientState" ? -1 : 0);
            }
        }
        EXPECT_LE(balance, 0) << array;
    }
}

// Marks each application with glRectf(-id) and asks for a second pass when told.
class TMarkerShader : public TGLShader {
    KP_CLASS(TMarkerShader, TGLShader)
public:
    TMarkerShader(TComponent* owner, int id, bool twoPasses) : TGLShader(owner), id_(id), twoPasses_(twoPasses)
    {
        SetShaderStyle(ssReplaceMaterial);
    }

protected:
    void DoApply(TRenderContextInfo&, TObject*) override
    {
        GL.glRectf(static_cast<float>(id_), 0, 0, 0);
        passDue_ = twoPasses_;
    }
    bool DoUnApply(TRenderContextInfo&) override { return std::exchange(passDue_, false); }

private:
    int id_;
    bool twoPasses_;
    bool passDue_ = false;
};

class MaterialDrawing : public MeshDrawing {
protected:
    MaterialDrawing()
    {
        for (const auto& [name, id, twoPasses] : {std::tuple{"A", 1, true}, std::tuple{"B", 2, false}}) {
            TGLLibMaterial* material = library.Materials()->Add();
            material->SetName(name);
            material->SetShader(new TMarkerShader(&library, id, twoPasses));
        }
        // Groups 0..3 with materials A, B, A and none.
        mesh = AddFaceGroupMesh(list, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                                {{0, 1, 2}, {0, 1, 2, 0, 1, 2}, {0, 1, 2, 0, 1, 2, 0, 1, 2}, {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2}});
        const char* names[] = {"A", "B", "A", ""};
        for (int i = 0; i < 4; ++i) {
            mesh->FaceGroups().Items(i)->SetMaterialName(names[i]);
        }
        list.PrepareMaterialLibraryCache(&library);
        rci.materialLibrary = &library;
        recorder.Clear();
    }

    scenetest::TNullContext context;
    TGLMaterialLibrary library;
    TMeshObject* mesh = nullptr;
};

TEST_F(MaterialDrawing, WithoutGroupingConsecutiveRunsDrawOncePerPass)
{
    mesh->BuildList(rci);
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{-1, 3, 3, -2, 6, -1, 9, 9, 12}));
}

TEST_F(MaterialDrawing, GroupedByMaterialEachMaterialIsAppliedOnce)
{
    mesh->SetRenderingOptions(1u << moroGroupByMaterial);
    mesh->BuildList(rci);
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{-1, 3, 9, 3, 9, -2, 6, 12}));
    recorder.Clear();
    mesh->BuildList(rci); // a new pass draws everything again
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{-1, 3, 9, 3, 9, -2, 6, 12}));
}

TEST_F(MaterialDrawing, WithoutALibraryEveryGroupDrawsPlainly)
{
    rci.materialLibrary = nullptr;
    mesh->BuildList(rci);
    EXPECT_EQ(DrawnCounts(), (std::vector<int>{3, 6, 9, 12}));
}

} // namespace

namespace {

// Notes which texture units a material could feed while the mesh draws.
class TUnitProbeShader : public TGLShader {
    KP_CLASS(TUnitProbeShader, TGLShader)
public:
    explicit TUnitProbeShader(TComponent* owner) : TGLShader(owner) { SetShaderStyle(ssReplaceMaterial); }
    std::uint32_t unitsSeen = 0;
    TGLMaterialLibrary* librarySeen = nullptr;

protected:
    void DoApply(TRenderContextInfo& rci, TObject*) override
    {
        MapTexCoordToUnits01();
        unitsSeen = MappedTexUnitsMask();
        librarySeen = rci.materialLibrary;
    }
};

class MeshRendering : public scenetest::ObjectRecording {
protected:
    MeshRendering() : saved(GLExt) { GLExt.ARB_multitexture = true; }
    ~MeshRendering() override { GLExt = saved; }
    TGLExtensionFlags saved;
};

TEST_F(MeshRendering, TheLightMapKeepsUnitOneAndAnInvertedMeshTurnsTheFrontFace)
{
    scenetest::TNullContext context;
    TGLMaterialLibrary library;
    TGLLibMaterial* material = library.Materials()->Add();
    material->SetName("A");
    auto* probe = new TUnitProbeShader(&library);
    material->SetShader(probe);
    TGLFreeForm mesh;
    AddTwoPlanes(mesh.MeshObjects(), 0, 1)->FaceGroups().Items(0)->SetMaterialName("A");
    mesh.SetMaterialLibrary(&library);
    mesh.SetLightmapLibrary(&library);
    mesh.SetNormalsOrientation(mnoInvert);
    rci.amalgamating = true; // drawn directly, no display list
    recorder.Clear();

    mesh.DoRender(rci, true, false);
    EXPECT_EQ(recorder.Count("glDrawElements"), 1);
    EXPECT_EQ(probe->librarySeen, &library);
    EXPECT_EQ(probe->unitsSeen, 1u); // unit 1 belongs to the light map
    std::vector<double> frontFaces;
    for (const TGLCall& call : recorder.CallsTo("glFrontFace")) {
        frontFaces.push_back(call.Args[0]);
    }
    EXPECT_EQ(frontFaces, (std::vector<double>{GL_CW, GL_CCW}));
    EXPECT_EQ(rci.materialLibrary, nullptr);
    EXPECT_EQ(rci.lightmapLibrary, nullptr);

    MapTexCoordToUnits01();
    EXPECT_EQ(MappedTexUnitsMask(), 3u); // allowed again afterwards
    MapTexCoordToUnit0();
}

} // namespace
