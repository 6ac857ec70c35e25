#include "../../ErrorTextTestSupport.h"
#include "../../NullContext.h"
#include "../../ObjectTestSupport.h"

#include "scene/objects/meshes/SimpleMesh.h"

#include <gmock/gmock.h>

#include <string>

namespace {

// Where the array declarations pointed; the calls still reach the recorder.
struct TArrayPointers {
    static inline const void* Interleaved = nullptr;
    static inline const void* TexCoords = nullptr;
    static inline const void* Vertices = nullptr;
    static inline TGLProcTable Recorded;
    static void APIENTRY InterleavedArrays(GLenum f, GLsizei s, const void* p)
    {
        Interleaved = p;
        Recorded.glInterleavedArrays(f, s, p);
    }
    static void APIENTRY TexCoordPointer(GLint n, GLenum t, GLsizei s, const void* p)
    {
        TexCoords = p;
        Recorded.glTexCoordPointer(n, t, s, p);
    }
    static void APIENTRY VertexPointer(GLint n, GLenum t, GLsizei s, const void* p)
    {
        Vertices = p;
        Recorded.glVertexPointer(n, t, s, p);
    }
    static void Install()
    {
        Recorded = GL;
        GL.glInterleavedArrays = InterleavedArrays;
        GL.glTexCoordPointer = TexCoordPointer;
        GL.glVertexPointer = VertexPointer;
    }
};

// Drawn without a display list, as a locked list must be.
class TDirectMesh : public TGLMesh {
    KP_CLASS(TDirectMesh, TGLMesh)
public:
    TDirectMesh() { IncludeStyle(osNoDisplayList); }
};

std::ptrdiff_t Offset(const void* p, const TGLMesh& mesh)
{
    return static_cast<const char*>(p) - reinterpret_cast<const char*>(mesh.Vertices().Values());
}

class SimpleMeshTest : public scenetest::ObjectRecording {
protected:
    SimpleMeshTest() : savedFlags(GLExt) { GLExt.NV_vertex_array_range = true; }
    ~SimpleMeshTest() override { GLExt = savedFlags; }

    std::string Call(const char* name)
    {
        const auto calls = recorder.CallsTo(name);
        return calls.empty() ? "none" : calls.back().Text;
    }
    static std::string Enum(GLenum e) { return std::to_string(e); }

    TGLExtensionFlags savedFlags;
    TDirectMesh mesh;
};

TEST_F(SimpleMeshTest, TheListGrowsBy256Records)
{
    TVertexList list(nullptr);
    for (int i = 0; i < 256; ++i) {
        list.AddVertex({float(i), 0, 0}, {0, 0, 1}, {1, 1, 1, 1}, {0, 0});
    }
    EXPECT_EQ(list.Capacity(), 256);
    list.AddVertex({7, 8, 9}, {0, 1, 0}, {0.5f, 0, 0, 1}, {0.25f, 0.75f});
    EXPECT_EQ(list.Count(), 257);
    EXPECT_EQ(list.Capacity(), 512);
    EXPECT_EQ(list.Values()[255].Coord.X, 255);
    const TVertexData& last = list.Values()[256];
    EXPECT_EQ(last.Coord.Z, 9);
    EXPECT_EQ(last.TextCoord.T, 0.75f);
    EXPECT_EQ(last.Color.X, 0.5f);
}

TEST_F(SimpleMeshTest, ANewMeshIsOneStripOfThreeVertices)
{
    mesh.BuildList(rci);
    EXPECT_EQ(Call("glDrawArrays"), "glDrawArrays(" + Enum(GL_TRIANGLE_STRIP) + ", 0, 3)");
    EXPECT_EQ(mesh.Vertices().Values()[1].Coord.Y, 1);
    EXPECT_EQ(mesh.Vertices().Values()[2].Normal.Z, 1);
    EXPECT_EQ(recorder.Count("glPushClientAttrib"), recorder.Count("glPopClientAttrib"));

    const std::pair<TMeshMode, GLenum> modes[] = {{mmTriangleFan, GL_TRIANGLE_FAN}, {mmTriangles, GL_TRIANGLES},
                                                  {mmQuadStrip, GL_QUAD_STRIP},     {mmQuads, GL_QUADS},
                                                  {mmPolygon, GL_POLYGON}};
    for (const auto& [mode, primitive] : modes) {
        mesh.SetMode(mode);
        mesh.BuildList(rci);
        EXPECT_EQ(Call("glDrawArrays"), "glDrawArrays(" + Enum(primitive) + ", 0, 3)");
    }
}

TEST_F(SimpleMeshTest, EachVertexModeDeclaresItsPartOfTheRecords)
{
    TArrayPointers::Install();
    struct Case {
        TVertexMode mode;
        std::string arguments; // format and stride
        std::ptrdiff_t offset;
        bool colorMaterial;
    };
    const Case cases[] = {
        {vmV, Enum(GL_V3F) + ", 48", 36, false},
        {vmVN, Enum(GL_N3F_V3F) + ", 48", 24, false},
        {vmVNC, Enum(GL_C4F_N3F_V3F) + ", 48", 8, true},
        {vmVNCT, Enum(GL_T2F_C4F_N3F_V3F) + ", 0", 0, true},
        {vmVNT, Enum(GL_T2F_C4F_N3F_V3F) + ", 0", 0, false}, // colours sent, but not as the material
    };
    for (const Case& c : cases) {
        recorder.Clear();
        mesh.SetVertexMode(c.mode);
        mesh.BuildList(rci);
        EXPECT_EQ(Call("glInterleavedArrays"), "glInterleavedArrays(" + c.arguments + ", @)");
        EXPECT_EQ(Offset(TArrayPointers::Interleaved, mesh), c.offset) << int(c.mode);
        EXPECT_EQ(recorder.Count("glColorMaterial") > 0, c.colorMaterial) << int(c.mode);
    }
    // No interleaved format has texture points and positions 48 bytes apart.
    recorder.Clear();
    mesh.SetVertexMode(vmVT);
    mesh.BuildList(rci);
    EXPECT_EQ(recorder.Count("glInterleavedArrays"), 0);
    EXPECT_EQ(Call("glTexCoordPointer"), "glTexCoordPointer(2, " + Enum(GL_FLOAT) + ", 48, @)");
    EXPECT_EQ(Offset(TArrayPointers::TexCoords, mesh), 0);
    EXPECT_EQ(Offset(TArrayPointers::Vertices, mesh), 36);
    EXPECT_EQ(recorder.Count("glColorMaterial"), 0);
}

TEST_F(SimpleMeshTest, ALockedListKeepsWhatWasWrittenAndCannotGrow)
{
    scenetest::TNullContext context;
    TVertexList& list = mesh.Vertices();
    list.SetLocked(true);
    ASSERT_TRUE(list.Locked());
    EXPECT_EQ(Call("glXAllocateMemoryNV"), "glXAllocateMemoryNV(144, 0, 0, 0.5)");
    list.Values()[0].Coord = {4, 5, 6};
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { list.AddVertex({}, {}, {}, {}); }),
                ::testing::StartsWith("Cannot add to a locked list !"));

    recorder.Clear();
    mesh.BuildList(rci);
    EXPECT_EQ(recorder.Texts().front(), "glVertexArrayRangeNV(144, @)");
    EXPECT_EQ(Call("glEnableClientState"), "glEnableClientState(" + Enum(GL_VERTEX_ARRAY_RANGE_NV) + ")");
    EXPECT_EQ(recorder.Texts().back(), "glFlushVertexArrayRangeNV()");

    list.SetLocked(false);
    EXPECT_FALSE(list.Locked());
    EXPECT_EQ(recorder.FastBlocksInUse(), 0);
    EXPECT_EQ(list.Values()[0].Coord.Y, 5);
    list.AddVertex({1, 1, 1}, {}, {}, {});
    EXPECT_EQ(list.Count(), 4);

    TGLMesh copy;
    copy.Assign(&mesh);
    EXPECT_EQ(copy.Vertices().Count(), 4);
    EXPECT_EQ(copy.Vertices().Values()[0].Coord.Z, 6);
}

TEST_F(SimpleMeshTest, WithoutExtensionContextOrFastMemoryTheListStaysAsItIs)
{
    TVertexList& list = mesh.Vertices();
    list.SetLocked(true); // no current context
    EXPECT_FALSE(list.Locked());
    scenetest::TNullContext context;
    recorder.GrantFastMemory = false;
    list.SetLocked(true);
    EXPECT_FALSE(list.Locked());
    GLExt.NV_vertex_array_range = false;
    recorder.GrantFastMemory = true;
    recorder.Clear();
    list.SetLocked(true);
    EXPECT_FALSE(list.Locked());
    EXPECT_EQ(recorder.Count("glXAllocateMemoryNV"), 0);
    {
        GLExt.NV_vertex_array_range = true;
        TVertexList locked(nullptr);
        locked.AddVertex({}, {}, {}, {});
        locked.SetLocked(true);
        ASSERT_TRUE(locked.Locked());
    }
    EXPECT_EQ(recorder.FastBlocksInUse(), 0); // freed with the list
}

} // namespace
