#include "platform/core/Exceptions.h"
#include "ErrorTextTestSupport.h"
#include "scene/Nodes.h"
#include "scene/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A stand-in for the GLU tessellator: it remembers what it is given and, at the end of
// the polygon, emits one triangle fan through the callbacks, optionally with vertices
// it asks the combine callback for, or an error.
struct TFakeTess {
    std::vector<std::pair<GLenum, _GLUfuncptr>> callbacks;
    void* polygonData = nullptr;
    std::vector<std::array<double, 3>> coords;
    std::vector<void*> data;
    int combines = 0;
    GLenum error = 0;
    bool deleted = false;

    _GLUfuncptr Get(GLenum which) const
    {
        for (const auto& [w, f] : callbacks) {
            if (w == which) {
                return f;
            }
        }
        return nullptr;
    }
};

TFakeTess* fake = nullptr;
std::vector<std::array<float, 3>> combinedSnapshots;
std::vector<const float*> combinedPointers;
int movedVertices = 0;

GLUtesselator* APIENTRY FakeNewTess() { return reinterpret_cast<GLUtesselator*>(fake); }
void APIENTRY FakeDeleteTess(GLUtesselator*) { fake->deleted = true; }
void APIENTRY FakeCallback(GLUtesselator*, GLenum which, _GLUfuncptr f) { fake->callbacks.emplace_back(which, f); }
void APIENTRY FakeNormal(GLUtesselator*, GLdouble, GLdouble, GLdouble) {}
void APIENTRY FakeBeginPolygon(GLUtesselator*, void* data) { fake->polygonData = data; }
void APIENTRY FakeContour(GLUtesselator*) {}
void APIENTRY FakeVertex(GLUtesselator*, GLdouble* c, void* d)
{
    fake->coords.push_back({c[0], c[1], c[2]});
    fake->data.push_back(d);
}
void APIENTRY FakeEndPolygon(GLUtesselator*)
{
    using Begin = void(APIENTRY*)(GLenum);
    using Vertex = void(APIENTRY*)(void*);
    using End = void(APIENTRY*)();
    using Combine = void(APIENTRY*)(GLdouble*, void**, GLfloat*, void**, void*);
    using Error = void(APIENTRY*)(GLenum, void*);
    if (fake->error != 0) {
        reinterpret_cast<Error>(fake->Get(GLU_TESS_ERROR_DATA))(fake->error, fake->polygonData);
        return;
    }
    reinterpret_cast<Begin>(fake->Get(GLU_TESS_BEGIN))(GL_TRIANGLE_FAN);
    for (void* d : fake->data) {
        reinterpret_cast<Vertex>(fake->Get(GLU_TESS_VERTEX))(d);
    }
    for (int i = 0; i < fake->combines; ++i) {
        GLdouble c[3] = {double(i), 0.5, -1};
        void* in[4] = {};
        GLfloat w[4] = {};
        void* out = nullptr;
        reinterpret_cast<Combine>(fake->Get(GLU_TESS_COMBINE_DATA))(c, in, w, &out, fake->polygonData);
        combinedPointers.push_back(static_cast<const float*>(out));
        combinedSnapshots.push_back({float(i), 0.5f, -1});
    }
    // Every vertex handed out earlier must still be where it was.
    for (std::size_t i = 0; i < combinedPointers.size(); ++i) {
        if (combinedPointers[i][0] != combinedSnapshots[i][0] || combinedPointers[i][2] != -1) {
            ++movedVertices;
        }
    }
    reinterpret_cast<End>(fake->Get(GLU_TESS_END))();
}

class TessellationFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake = &tess;
        combinedSnapshots.clear();
        combinedPointers.clear();
        movedVertices = 0;
        GL.gluNewTess = FakeNewTess;
        GL.gluDeleteTess = FakeDeleteTess;
        GL.gluTessCallback = FakeCallback;
        GL.gluTessNormal = FakeNormal;
        GL.gluTessBeginPolygon = FakeBeginPolygon;
        GL.gluTessBeginContour = FakeContour;
        GL.gluTessEndContour = FakeContour;
        GL.gluTessVertex = FakeVertex;
        GL.gluTessEndPolygon = FakeEndPolygon;
        nodes.AddNode(TAffineVector{0, 0, 0});
        nodes.AddNode(TAffineVector{2, 0, 0});
        nodes.AddNode(TAffineVector{2, 3, 0});
    }
    void TearDown() override { fake = nullptr; }

    TGLRecorder recorder; // restores the table when the test ends
    TFakeTess tess;
    TGLNodes nodes{nullptr};
};

} // namespace

TEST_F(TessellationFixture, NodesGoToTheTessellatorAndComeBackAsVertices)
{
    const TAffineVector normal{0, 0, 1};
    nodes.DrawTessellatedPolygon(false, &normal, false, 0);
    ASSERT_EQ(tess.coords.size(), 3u);
    EXPECT_EQ(tess.coords[2][1], 3);
    EXPECT_EQ(tess.data[1], nodes[1]->VectorPointer()) << "the node's own vector is the vertex data";
    EXPECT_EQ(recorder.Count("glNormal3fv"), 1);
    EXPECT_EQ(recorder.Count("glBegin"), 1);
    const auto vertices = recorder.CallsTo("glVertex3fv");
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[1].Data, (std::vector<double>{2, 0, 0}));
    EXPECT_EQ(recorder.Count("glEnd"), 1);
    EXPECT_TRUE(tess.deleted);
}

TEST_F(TessellationFixture, InvertedOrderAndTooFewNodes)
{
    nodes.DrawTessellatedPolygon(false, nullptr, true, 0);
    ASSERT_EQ(tess.data.size(), 3u);
    EXPECT_EQ(tess.data[0], nodes[2]->VectorPointer());
    EXPECT_EQ(recorder.Count("glNormal3fv"), 0);
    TGLNodes two(nullptr);
    two.AddNode(TAffineVector{0, 0, 0});
    two.AddNode(TAffineVector{1, 0, 0});
    recorder.Clear();
    two.DrawTessellatedPolygon(false, nullptr, false, 0);
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(TessellationFixture, TexturedVerticesSendXAndYAsTextureCoordinates)
{
    MapTexCoordNowhere();
    MapTexCoordToUnit0();
    nodes.DrawTessellatedPolygon(true, nullptr, false, 0);
    const auto tex = recorder.CallsTo("glTexCoord2fv");
    ASSERT_EQ(tex.size(), 3u);
    EXPECT_EQ(tex[2].Data, (std::vector<double>{2, 3}));
    MapTexCoordNowhere();
}

TEST_F(TessellationFixture, SplineOutlineSamplesTheSpline)
{
    nodes.DrawTessellatedPolygon(false, nullptr, false, 4);
    ASSERT_EQ(tess.coords.size(), 9u) << "(3 - 1) * 4 + 1 samples";
    EXPECT_NEAR(tess.coords[4][0], 2, 1e-5) << "sample 4 is node 1";
    EXPECT_NEAR(tess.coords[8][1], 3, 1e-5);
    tess.coords.clear();
    tess.data.clear(); // the first call's buffer is gone
    nodes.DrawTessellatedPolygon(false, nullptr, true, 4);
    EXPECT_NEAR(tess.coords[0][1], 3, 1e-5) << "inverted: starts at the last node";
}

TEST_F(TessellationFixture, ManyCombinedVerticesNeverMove)
{
    tess.combines = 5000;
    nodes.DrawTessellatedPolygon(false, nullptr, false, 0);
    EXPECT_EQ(recorder.Count("glEnd"), 1);
    EXPECT_EQ(combinedPointers.size(), 5000u);
    EXPECT_EQ(movedVertices, 0);
}

TEST_F(TessellationFixture, ErrorsAreRaisedAfterTheTessellatorIsDone)
{
    tess.error = GLU_TESS_MISSING_END_CONTOUR;
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { nodes.DrawTessellatedPolygon(false, nullptr, false, 0); }),
                ::testing::StartsWith(std::to_string(GLU_TESS_MISSING_END_CONTOUR) + ": "));
    EXPECT_TRUE(tess.deleted);
}
