#include "ErrorTextTestSupport.h"
#include "MeshTestSupport.h"

#include "scene/base/ValueStream.h"

#include <cstring>
#include <string>

using namespace meshtest;

namespace {

// Pieces of the tagged value format, for fixtures assembled by hand.
std::string Int(int v) // values that fit one byte
{
    return std::string{char(vaInt8), char(v)};
}
std::string Str(const std::string& s) { return std::string{char(vaString), char(s.size())} + s; }
std::string Raw(const void* data, std::size_t size) { return std::string(static_cast<const char*>(data), size); }
// A typed list: version, count, item size, the items, and the vector lists' own version.
std::string List(int count, int itemSize, const std::string& items, bool vectorList)
{
    return Int(0) + Int(count) + Int(itemSize) + items + (vectorList ? Int(0) : "");
}
const std::string EmptyAffine = List(0, 12, "", true);

// One mesh object "m" of three vertices in face-group mode with one face group of
// material "mat", indices 0 1 2; `mode` and `index2` let a test spoil it.
std::string MeshFile(int meshVersion = 2, int optionsSize = 1, int mode = 2, int index2 = 2)
{
    const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const std::int32_t indices[3] = {0, 1, index2};
    const std::string faceGroup = Str("TFGVertexIndexList") + Int(0) + Str("mat") + Int(0) +
                                  List(3, 4, Raw(indices, sizeof indices), false) + Int(0);
    std::string mesh = Str("TMeshObject") + Int(1) + Str("m") + List(3, 12, Raw(vertices, sizeof vertices), true) +
                       EmptyAffine + char(vaTrue);
    mesh += Int(meshVersion) + EmptyAffine;
    if (meshVersion >= 1) {
        mesh += List(0, 8, "", false);
    }
    mesh += List(0, 16, "", true) + Int(0) + char(vaList) + faceGroup + char(vaNull);
    mesh += Int(mode) + Int(optionsSize) + std::string(1, '\1');
    if (meshVersion >= 2) {
        mesh += Int(0) + Int(5) + Int(6);
    }
    return Int(0) + char(vaList) + mesh + char(vaNull);
}

class MeshFileTest : public ::testing::Test {
protected:
    MeshFileTest() { RegisterMeshObjectClasses(); }

    void Load(const std::string& bytes, const std::string& name = "mesh.glwm")
    {
        TStringStream stream(bytes);
        mesh.LoadFromStream(name, stream);
    }
    std::string Save(const std::string& name = "mesh.glwm")
    {
        TStringStream stream;
        mesh.SaveToStream(name, stream);
        return stream.DataString();
    }

    TGLFreeForm mesh;
};

TEST_F(MeshFileTest, AHandAssembledFileReadsAndWritesBackByteForByte)
{
    Load(MeshFile());
    ASSERT_EQ(mesh.MeshObjects().Count(), 1);
    const TMeshObject& object = *mesh.MeshObjects().Items(0);
    EXPECT_EQ(object.Name(), "m");
    EXPECT_EQ(object.Mode(), momFaceGroups);
    EXPECT_EQ(object.RenderingOptions(), 1);
    EXPECT_EQ(object.TexCoordSetIndexA(), 5);
    EXPECT_EQ(object.Vertices()[1], (TAffineVector{1, 0, 0}));
    ASSERT_EQ(object.FaceGroups().Count(), 1);
    const auto& group = static_cast<const TFGVertexIndexList&>(*object.FaceGroups().Items(0));
    EXPECT_EQ(group.MaterialName(), "mat");
    EXPECT_EQ(group.LightMapIndex(), -1);
    EXPECT_EQ(group.VertexIndices().Count(), 3);
    EXPECT_EQ(Save(), MeshFile());
}

TEST_F(MeshFileTest, OlderMeshObjectVersionsReadBack)
{
    for (const int version : {0, 1}) {
        Load(MeshFile(version));
        const TMeshObject& object = *mesh.MeshObjects().Items(0);
        EXPECT_EQ(object.FaceGroups().Count(), 1) << version;
        EXPECT_EQ(object.TexCoordSetIndexA(), 2) << version; // the defaults
        EXPECT_EQ(object.TexCoordsExCount(), 0) << version;
    }
}

TEST_F(MeshFileTest, ARoundTripKeepsEveryField)
{
    auto* morphable = new TMorphableMeshObject(&mesh.MeshObjects());
    morphable->SetMode(momTriangleStrip);
    morphable->SetRenderingOptions(1);
    morphable->TexCoordsEx(2).AddPointXYZ(1, 2, 3);
    morphable->SetTexCoordSetIndexA(7);
    morphable->SetTexCoordSetIndexB(0);
    morphable->LightMapTexCoords().Add({0.5f, 0.25f});
    morphable->SetVisible(false);
    new TMeshMorphTarget(&morphable->MorphTargets());
    auto* lit = new TFGVertexNormalTexIndexList(&morphable->FaceGroups());
    lit->SetLightMapIndex(3);
    auto* textured = new TFGIndexTexCoordList(&morphable->FaceGroups());
    textured->SetMode(fgmmQuads);
    const std::string saved = Save();

    TGLFreeForm copy;
    TStringStream stream(saved);
    copy.LoadFromStream("copy.glwm", stream);
    const auto& read = static_cast<const TMorphableMeshObject&>(*copy.MeshObjects().Items(0));
    ASSERT_TRUE(read.Is<TMorphableMeshObject>());
    EXPECT_EQ(read.Mode(), momTriangleStrip);
    EXPECT_EQ(read.RenderingOptions(), 1);
    EXPECT_EQ(read.TexCoordsExCount(), 3);
    EXPECT_EQ(const_cast<TMorphableMeshObject&>(read).TexCoordsEx(2).Count(), 1);
    EXPECT_EQ(read.TexCoordSetIndexA(), 7);
    EXPECT_EQ(read.TexCoordSetIndexB(), 0);
    EXPECT_EQ(read.LightMapTexCoords().Count(), 1);
    EXPECT_FALSE(read.Visible());
    EXPECT_EQ(read.MorphTargets().Count(), 1);
    EXPECT_EQ(read.FaceGroups().Items(0)->LightMapIndex(), 3);
    EXPECT_EQ(static_cast<const TFGVertexIndexList*>(read.FaceGroups().Items(1))->Mode(), fgmmQuads);
    EXPECT_EQ(read.FaceGroups().Items(1)->Owner(), &read.FaceGroups());
    EXPECT_EQ(read.Owner(), &copy.MeshObjects());
    EXPECT_EQ(copy.MeshObjects().SaveToString(), mesh.MeshObjects().SaveToString());
}

TEST_F(MeshFileTest, AFaceGroupWithoutLightMapIsWrittenAsVersionZero)
{
    Load(MeshFile());
    const std::string bytes = Save();
    const std::string group = Str("TFGVertexIndexList") + Int(0) + Str("mat") + Int(0);
    EXPECT_NE(bytes.find(group), std::string::npos);
}

TEST_F(MeshFileTest, FormatsAreFoundByExtensionInAnyCase)
{
    TVectorFileFormatsList& formats = GetVectorFileFormats();
    ASSERT_GE(formats.Count(), 1);
    EXPECT_EQ(formats.Items(0).Extension, "glwm");
    EXPECT_EQ(formats.Items(0).Description, "GLWorld Mesh");
    EXPECT_EQ(formats.FindFromFileName("/x/part.Glwm").VectorFileClass, TGLGLWMVectorFile::StaticClass());
    EXPECT_EQ(ErrorText<EInvalidVectorFile>([&] { formats.FindFromFileName("part.xyz"); }),
              "Unknown file extension (xyz), maybe you forgot to add the support unit to your uses? (GLFileXYZ?)");

    TVectorFileFormatsList local;
    local.Add("GLWM", "first", 0, TGLGLWMVectorFile::StaticClass(), nullptr);
    local.Add("glwm", "second", 0, TGLGLWMVectorFile::StaticClass(), nullptr);
    EXPECT_EQ(local.FindExt("gLwM")->Description, "second"); // the last registration wins
}

TEST_F(MeshFileTest, CorruptFilesRaiseErrorsNamingFileAndFault)
{
    struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {MeshFile(2, 2), "broken.glwm: mesh object \"m\" has rendering options of 2 bytes instead of 1"},
        {MeshFile(2, 1, 3), "broken.glwm: mesh object \"m\" has the unknown mode 3"},
        {MeshFile(2, 1, 2, 3), "broken.glwm: face group 0 of mesh object \"m\": vertex index 3 outside a list of 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorText<EInvalidVectorFile>([&] { Load(c.bytes, "broken.glwm"); }), c.message);
    }
    EXPECT_EQ(ErrorText<EFilerException>([&] { Load(MeshFile(3)); }), "TMeshObject : unknown archive version 3");
}

} // namespace
