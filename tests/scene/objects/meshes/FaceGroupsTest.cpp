#include "../../MeshTestSupport.h"
#include "../../NullContext.h"
#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"

#include "scene/materials/MaterialLibrary.h"

#include <vector>

using namespace meshtest;

namespace {

// Vertex k is (k, 0, 0), so an extracted point names its index.
class FaceGroupTest : public ::testing::Test {
protected:
    FaceGroupTest()
    {
        mesh = new TMeshObject(&list);
        mesh->SetMode(momFaceGroups);
        for (int k = 0; k < 8; ++k) {
            mesh->Vertices().Add(static_cast<float>(k), 0, 0);
        }
    }
    template <class Group = TFGVertexIndexList>
    Group& AddGroup(TFaceGroupMeshMode mode, std::initializer_list<int> indices)
    {
        auto* group = new Group(&mesh->FaceGroups());
        group->SetMode(mode);
        SetIndices(group->VertexIndices(), indices);
        return *group;
    }
    static std::vector<int> Indices(const TAffineVectorList& points)
    {
        std::vector<int> out;
        for (int i = 0; i < points.Count(); ++i) {
            out.push_back(static_cast<int>(points[i].X));
        }
        return out;
    }

    TMeshObjectList list;
    TMeshObject* mesh = nullptr;
};

TEST_F(FaceGroupTest, TrianglesOfEveryMode)
{
    struct {
        TFaceGroupMeshMode mode;
        std::initializer_list<int> indices;
        std::vector<int> triangles;
        int count;
    } cases[] = {
        {fgmmTriangles, {0, 1, 2, 3, 4}, {0, 1, 2}, 1},
        {fgmmFlatTriangles, {5, 6, 7}, {5, 6, 7}, 1},
        {fgmmTriangleStrip, {0, 1, 2, 3}, {0, 1, 2, 3, 2, 1}, 2},
        {fgmmTriangleFan, {0, 1, 2, 3, 4}, {0, 1, 2, 0, 2, 3, 0, 3, 4}, 3},
        {fgmmQuads, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}, 4},
        {fgmmQuads, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 0, 2, 3}, 2}, // the last 3 indices are no quad
        {fgmmTriangleFan, {0, 1}, {}, 0},
    };
    for (const auto& c : cases) {
        mesh->FaceGroups().Clear();
        TFGVertexIndexList& group = AddGroup(c.mode, c.indices);
        const auto triangles = mesh->ExtractTriangles();
        EXPECT_EQ(Indices(*triangles), c.triangles) << "mode " << c.mode;
        TAffineVectorList visited; // the ray cast's road must see the same triangles
        mesh->VisitTriangles([&](const auto& a, const auto& b, const auto& p) { visited.AddTriangle(a, b, p); });
        EXPECT_EQ(ToVector(visited), ToVector(*triangles)) << "mode " << c.mode;
        EXPECT_EQ(group.TriangleCount(), c.count) << "mode " << c.mode;
    }
}

TEST_F(FaceGroupTest, MissingAttributesAreZeroFilledToTheLengthOfTheVertices)
{
    AddGroup(fgmmTriangleFan, {0, 1, 2, 3, 4});
    mesh->TexCoords().Assign(&mesh->Vertices());
    TAffineVectorList texCoords;
    Points normals({{9, 9, 9}});
    const auto triangles = mesh->ExtractTriangles(&texCoords, &normals);
    EXPECT_EQ(Indices(texCoords), Indices(*triangles));
    ASSERT_EQ(normals.Count(), 1 + triangles->Count());
    for (int i = 1; i < normals.Count(); ++i) {
        EXPECT_EQ(normals[i], (TAffineVector{0, 0, 0}));
    }
}

TEST_F(FaceGroupTest, SeparateIndexListsFallBackToTheVertexIndices)
{
    auto& group = AddGroup<TFGVertexNormalTexIndexList>(fgmmTriangles, {0, 1, 2});
    SetIndices(group.TexCoordIndices(), {7, 6, 5});
    mesh->TexCoords().Assign(&mesh->Vertices());
    mesh->Normals().Assign(&mesh->Vertices());
    TAffineVectorList texCoords, normals;
    mesh->ExtractTriangles(&texCoords, &normals);
    EXPECT_EQ(Indices(texCoords), (std::vector<int>{7, 6, 5}));
    EXPECT_EQ(Indices(normals), (std::vector<int>{0, 1, 2}));
}

TEST_F(FaceGroupTest, PerIndexTextureCoordinatesFollowTheMode)
{
    struct {
        TFaceGroupMeshMode mode;
        std::initializer_list<int> indices;
        std::vector<int> texCoords;
    } cases[] = {
        {fgmmTriangleFan, {4, 5, 6, 7}, {10, 11, 12, 10, 12, 13}},
        // Quads are split like the vertices, never an assertion; a partial quad is dropped.
        {fgmmQuads, {0, 1, 2, 3, 4, 5, 6}, {10, 11, 12, 10, 12, 13}},
    };
    for (const auto& c : cases) {
        mesh->FaceGroups().Clear();
        auto& group = AddGroup<TFGIndexTexCoordList>(c.mode, c.indices);
        for (int k = 0; k < group.VertexIndices().Count(); ++k) {
            group.TexCoords().Add(static_cast<float>(10 + k), 0, 0);
        }
        TAffineVectorList texCoords;
        const auto triangles = mesh->ExtractTriangles(&texCoords);
        EXPECT_EQ(Indices(texCoords), c.texCoords) << "mode " << c.mode;
        EXPECT_EQ(texCoords.Count(), triangles->Count()) << "mode " << c.mode;
    }
}

class FaceGroupDrawing : public scenetest::ObjectRecording {
protected:
    FaceGroupDrawing()
    {
        mesh = AddFaceGroupMesh(list, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {});
        saved = GLExt;
    }
    ~FaceGroupDrawing() override { GLExt = saved; }

    TMeshObjectList list;
    TMeshObject* mesh = nullptr;
    TGLExtensionFlags saved;
};

TEST_F(FaceGroupDrawing, NormalTexIndexListsSplitQuadsAndSendNormalsOnlyWhenThereAreAny)
{
    auto* group = new TFGVertexNormalTexIndexList(&mesh->FaceGroups());
    group->SetMode(fgmmQuads);
    SetIndices(group->VertexIndices(), {0, 1, 2, 3});
    mesh->BuildList(rci);
    EXPECT_EQ(recorder.Count("glNormal3fv"), 0);
    const auto triangles = scenetest::Triangles(scenetest::RecordedPrimitives(recorder.Calls()));
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_EQ(triangles[1][1].position, (scenetest::TVec3{1, 1, 0})); // (0, 2, 3)
    EXPECT_EQ(triangles[1][2].position, (scenetest::TVec3{0, 1, 0}));

    recorder.Clear();
    mesh->Normals().Assign(&mesh->Vertices());
    SetIndices(group->NormalIndices(), {3, 2, 1, 0});
    mesh->BuildList(rci);
    const auto normals = recorder.CallsTo("glNormal3fv");
    ASSERT_EQ(normals.size(), 6u);
    EXPECT_EQ(normals[0].Data, (std::vector<double>{0, 1, 0})); // vertex 3's normal first
}

TEST_F(FaceGroupDrawing, TheLightMapSwitchesOnlyWhenItsIndexChanges)
{
    GLExt.ARB_multitexture = true;
    scenetest::TNullContext context;
    TGLMaterialLibrary lightMaps;
    lightMaps.Materials()->Add();
    rci.lightmapLibrary = &lightMaps;
    mesh->LightMapTexCoords().SetCount(4);
    // Indices 0, 0, beyond the library, none, 0.
    for (const int index : {0, 0, 7, -1, 0}) {
        auto* group = new TFGVertexIndexList(&mesh->FaceGroups());
        SetIndices(group->VertexIndices(), {0, 1, 2});
        group->SetLightMapIndex(index);
    }
    mesh->BuildList(rci);
    EXPECT_EQ(recorder.Count("glDrawElements"), 5);
    EXPECT_EQ(recorder.Count("glTexEnvi"), 2); // set up for the first group and the last
    std::vector<GLenum> unitOneTexturing;
    for (const TGLCall& call : recorder.Calls()) {
        if ((call.Name == "glEnable" || call.Name == "glDisable") && call.Args[0] == GL_TEXTURE_2D) {
            unitOneTexturing.push_back(call.Name == "glEnable");
        }
    }
    // On, off for the one beyond the library, on again, off when the build ends.
    EXPECT_EQ(unitOneTexturing, (std::vector<GLenum>{1, 0, 1, 0}));
}

} // namespace
