#include "../../ErrorTextTestSupport.h"
#include "../../MeshTestSupport.h"
#include "../../TextureTestSupport.h"

#include "scene/materials/MaterialLibrary.h"
#include "scene/base/MatrixMath.h"
#include "scene/objects/meshes/MeshConnectivity.h"

#include <filesystem>

using namespace meshtest;

namespace {

class BaseMeshTest : public texturetest::TTempFolderTest {
protected:
    BaseMeshTest() { RegisterMeshObjectClasses(); }

    // The mesh as it is saved, for comparing whole states.
    std::string State() const { return mesh.MeshObjects().SaveToString(); }
    void LoadFrom(const TGLFreeForm& source, const std::string& name)
    {
        TStringStream stream(source.MeshObjects().SaveToString());
        mesh.LoadFromStream(name, stream);
    }

    TGLFreeForm mesh;
};

TEST_F(BaseMeshTest, LoadingScalesThenCentres)
{
    TGLFreeForm source;
    AddFaceGroupMesh(source.MeshObjects(), {{2, 1, 5}, {6, 3, 7}}, {});
    source.MeshObjects().Items(0)->Normals().Add(0, 0, 1);

    mesh.SetAutoCentering(1u << macCenterX);
    LoadFrom(source, "a.glwm");
    EXPECT_EQ(ToVector(mesh.MeshObjects().Items(0)->Vertices()), (std::vector<TAffineVector>{{-2, 1, 5}, {2, 3, 7}}));

    mesh.SetAutoCentering(0);
    mesh.AutoScaling().SetPoint(2, 1, 1);
    LoadFrom(source, "a.glwm");
    EXPECT_EQ(ToVector(mesh.MeshObjects().Items(0)->Vertices()), (std::vector<TAffineVector>{{4, 1, 5}, {12, 3, 7}}));
    EXPECT_EQ(mesh.MeshObjects().Items(0)->Normals()[0], (TAffineVector{0, 0, 1}));

    // Scaled first: X spans [4, 12] before it is centred.
    mesh.SetAutoCentering(1u << macCenterX);
    LoadFrom(source, "a.glwm");
    EXPECT_EQ(mesh.MeshObjects().Items(0)->Vertices()[0].X, -4);

    mesh.SetAutoCentering(1u << macUseBarycenter);
    mesh.AutoScaling().SetPoint(1, 1, 1);
    LoadFrom(source, "a.glwm");
    EXPECT_EQ(ToVector(mesh.MeshObjects().Items(0)->Vertices()), (std::vector<TAffineVector>{{-2, -1, -1}, {2, 1, 1}}));
}

TEST_F(BaseMeshTest, HalfExtentsAreSymmetricAboutTheOriginAndFollowChanges)
{
    TMeshObject* object = AddFaceGroupMesh(mesh.MeshObjects(), {{1, -4, 0}, {3, 2, 0}}, {});
    EXPECT_EQ(mesh.UnscaledHalfExtents().X, 3);
    EXPECT_EQ(mesh.UnscaledHalfExtents().Y, 4);
    object->Vertices().Add(-5, 0, 0);
    EXPECT_EQ(mesh.UnscaledHalfExtents().X, 3); // cached
    mesh.StructureChanged();
    EXPECT_EQ(mesh.UnscaledHalfExtents().X, 5);
}

TEST_F(BaseMeshTest, ARayReportsTheNearerOfTwoHits)
{
    AddTwoPlanes(mesh.MeshObjects(), 2, -3);
    mesh.Position().SetPoint(10, 0, 0);
    TVector point{}, normal{};
    ASSERT_TRUE(mesh.RayCastIntersect({10, 0, -10, 1}, {0, 0, 1, 0}, &point, &normal));
    EXPECT_FLOAT_EQ(point.X, 10);
    EXPECT_FLOAT_EQ(point.Z, -3);
    ASSERT_TRUE(mesh.RayCastIntersect({10, 0, 10, 1}, {0, 0, -1, 0}, &point, &normal));
    EXPECT_FLOAT_EQ(point.Z, 2);
    EXPECT_GT(normal.Z, 0);
    mesh.SetNormalsOrientation(mnoInvert);
    mesh.RayCastIntersect({10, 0, 10, 1}, {0, 0, -1, 0}, &point, &normal);
    EXPECT_LT(normal.Z, 0);

    point = {7, 7, 7, 7};
    EXPECT_FALSE(mesh.RayCastIntersect({20, 0, 10, 1}, {0, 0, -1, 0}, &point, &normal));
    EXPECT_EQ(point.X, 7); // untouched
}

TEST_F(BaseMeshTest, AnEmptyFileNameDoesNothing)
{
    AddTwoPlanes(mesh.MeshObjects(), 0, 1);
    const std::string before = State();
    TStringStream stream("not a mesh");
    mesh.LoadFromFile("");
    mesh.LoadFromStream("", stream);
    mesh.AddDataFromFile("");
    mesh.SaveToFile("");
    mesh.SaveToStream("", stream);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(stream.DataString(), "not a mesh");
}

TEST_F(BaseMeshTest, AFailedLoadLeavesTheMeshAsItWas)
{
    TGLFreeForm source;
    AddTwoPlanes(source.MeshObjects(), 0, 1);
    const std::string good = source.MeshObjects().SaveToString();
    WriteText("truncated.glwm", good.substr(0, good.size() / 2));
    std::string unknownVersion = good;
    unknownVersion[0 + 2 + 2 + 1 + 11 + 1] = 9; // the mesh object's first version: after 02 00 01 06 0B "TMeshObject"
    WriteText("version.glwm", unknownVersion);
    std::string badClass = good;
    badClass.replace(badClass.find("TMeshObject"), 11, "TMeshObjekt");
    WriteText("reference.glwm", badClass);
    WriteText("foreign.glwm", std::string{2, 0, 1, 6, 17} + "TAffineVectorList" + good.substr(good.find("TMeshObject") + 11));
    WriteText("unknown.xyz", good);

    AddFaceGroupMesh(mesh.MeshObjects(), {{5, 5, 5}}, {});
    mesh.BuildOctree(1);
    const std::string before = State();
    for (const char* name : {"unknown.xyz", "missing.glwm", "truncated.glwm", "version.glwm", "reference.glwm",
                             "foreign.glwm"}) {
        EXPECT_THROW(mesh.LoadFromFile(Path(name)), Exception) << name;
        EXPECT_THROW(mesh.AddDataFromFile(Path(name)), Exception) << name;
        EXPECT_EQ(State(), before) << name;
        EXPECT_EQ(mesh.MeshObjects().Items(0)->Owner(), &mesh.MeshObjects());
    }
    EXPECT_EQ(mesh.Octree()->TriCountMesh(), 0);
}

TEST_F(BaseMeshTest, LoadingAndAddingRebuildTheOctree)
{
    TGLFreeForm source;
    AddTwoPlanes(source.MeshObjects(), 0, 1);
    mesh.BuildOctree(2);
    EXPECT_EQ(mesh.Octree()->TriCountMesh(), 0);
    LoadFrom(source, "a.glwm");
    EXPECT_EQ(mesh.Octree()->TriCountMesh(), 2);
    EXPECT_EQ(mesh.Octree()->NodeCount(), 72);
    TStringStream stream(source.MeshObjects().SaveToString());
    mesh.AddDataFromStream("b.glwm", stream);
    EXPECT_EQ(mesh.MeshObjects().Count(), 2);
    EXPECT_EQ(mesh.Octree()->TriCountMesh(), 4);
    EXPECT_TRUE(mesh.OctreeTriangleIntersect({0, 0, -1}, {0, 0, 2}, {0.1f, 0, 2}));
}

TEST_F(BaseMeshTest, OctreeQueriesNeedAnOctree)
{
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { mesh.OctreeTriangleIntersect({}, {}, {}); })
                  .rfind("Octree must have been prepared and setup before use. (", 0),
              0u);
    EXPECT_THROW(mesh.OctreeAABBIntersect({}, IdentityMatrix, IdentityMatrix), EAssertionFailed);
}

TEST_F(BaseMeshTest, OctreeBoxQueriesWorkBetweenTwoObjectsSpaces)
{
    AddTwoPlanes(mesh.MeshObjects(), 0, 5);
    mesh.Position().SetPoint(100, 0, 0);
    mesh.BuildOctree(3);
    // A unit box around the origin of an object standing at (100, 0, 5).
    const TMatrix objMatrix = MakeScaleTranslationMatrix({1, 1, 1}, {100, 0, 5});
    const TMatrix invObjMatrix = MakeScaleTranslationMatrix({1, 1, 1}, {-100, 0, -5});
    TAffineVectorList hits;
    EXPECT_TRUE(mesh.OctreeAABBIntersect({{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}, objMatrix, invObjMatrix, &hits));
    ASSERT_EQ(hits.Count(), 3);
    EXPECT_EQ(hits[0].Z, 0); // in the object's space
    EXPECT_FALSE(mesh.OctreeAABBIntersect({{-0.5f, -0.5f, 1}, {0.5f, 0.5f, 2}}, objMatrix, invObjMatrix));
}

TEST_F(BaseMeshTest, SavingReplacesTheFileWholeOrNotAtAll)
{
    AddTwoPlanes(mesh.MeshObjects(), 0, 1);
    mesh.SaveToFile(Path("a.glwm"));
    TGLFreeForm reread;
    reread.LoadFromFile(Path("a.glwm"));
    EXPECT_EQ(reread.LastLoadedFileName(), Path("a.glwm"));
    EXPECT_EQ(reread.MeshObjects().SaveToString(), State());

    WriteText("old.xyz", "old");
    EXPECT_THROW(mesh.SaveToFile(Path("old.xyz")), EInvalidVectorFile);
    EXPECT_EQ(ReadText("old.xyz"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2); // no temporary left
}

TEST_F(BaseMeshTest, AssignCopiesTheMeshAndAFreedLibraryIsForgotten)
{
    auto* library = new TGLMaterialLibrary();
    mesh.SetMaterialLibrary(library);
    mesh.SetLightmapLibrary(library);
    AddTwoPlanes(mesh.MeshObjects(), 0, 1)->FaceGroups().Items(0)->SetMaterialName("x");
    mesh.SetNormalsOrientation(mnoInvert);
    TGLFreeForm copy;
    copy.Assign(&mesh);
    EXPECT_EQ(copy.MeshObjects().SaveToString(), State());
    EXPECT_EQ(copy.MaterialLibrary(), library);
    EXPECT_EQ(copy.NormalsOrientation(), mnoInvert);
    delete library;
    EXPECT_EQ(mesh.MaterialLibrary(), nullptr);
    EXPECT_EQ(mesh.LightmapLibrary(), nullptr);
    EXPECT_EQ(copy.MaterialLibrary(), nullptr);
}

class TTestActor : public TGLFreeForm {
public:
    bool IsActor() const override { return true; }
};

TEST(MeshConnectivity, SharesTheVerticesAndSplitsEveryMode)
{
    TGLFreeForm mesh;
    TMeshObject* first = AddFaceGroupMesh(mesh.MeshObjects(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                                          {{0, 1, 2, 3}}, fgmmTriangleStrip);
    AddFaceGroupMesh(mesh.MeshObjects(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}}, fgmmQuads);
    TGLBaseMeshConnectivity connectivity(mesh);
    EXPECT_TRUE(connectivity.PrecomputeFaceNormal());
    ASSERT_EQ(connectivity.FaceGroupConnectivities().size(), 2u);
    EXPECT_EQ(connectivity.FaceCount(), 4);
    EXPECT_EQ(connectivity.EdgeCount(), 10);

    // Seen from below every face is turned away, so the caps list the faces.
    TFaceGroupConnectivity& strip = *connectivity.FaceGroupConnectivities()[0];
    EXPECT_EQ(&strip.Vertices(), &first->Vertices());
    TGLSilhouette* caps = nullptr;
    strip.CreateSilhouette({{0.5f, 0.5f, -5}, {0, 0, 1}, TGLSilhouetteStyle::ssFromPoint, true}, caps, false);
    std::vector<int> faces;
    for (int i = 0; i < caps->CapIndices.Count(); ++i) {
        const TVector& p = caps->Vertices[caps->CapIndices[i]];
        faces.push_back(first->Vertices().IndexOf({p.X, p.Y, p.Z}));
    }
    delete caps;
    EXPECT_EQ(faces, (std::vector<int>{0, 1, 2, 3, 2, 1}));

    connectivity.Clear(true);
    EXPECT_EQ(connectivity.FaceCount(), 0);
    EXPECT_EQ(first->Vertices().Count(), 4); // shared, never emptied

    auto merged = mesh.GenerateSilhouette({{0.5f, 0.5f, -5}, {0, 0, 1}, TGLSilhouetteStyle::ssFromPoint, true});
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->CapIndices.Count(), 12); // both objects in one silhouette

    TTestActor actor;
    EXPECT_FALSE(TGLBaseMeshConnectivity(actor).PrecomputeFaceNormal());
}

} // namespace
