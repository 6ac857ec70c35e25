#include "scene/base/Silhouette.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A closed cube of half size 1 round the origin, every quad wound outward.
void AddCube(TConnectivity& c)
{
    c.AddQuad({1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1});
    c.AddQuad({-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1});
    c.AddQuad({-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1});
    c.AddQuad({-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1});
    c.AddQuad({-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1});
    c.AddQuad({-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1});
}

TGLSilhouetteParameters From(TAffineVector position, bool capping)
{
    return {position, {0, 0, 0}, TGLSilhouetteStyle::ssFromPoint, capping};
}

} // namespace

TEST(Silhouette, CubeCountsAndSilhouetteFromPlusX)
{
    for (bool precompute : {false, true}) {
        SCOPED_TRACE(precompute);
        TConnectivity c(precompute);
        AddCube(c);
        EXPECT_EQ(c.VertexCount(), 8);
        EXPECT_EQ(c.FaceCount(), 12);
        EXPECT_EQ(c.EdgeCount(), 18);
        TGLSilhouette* s = nullptr;
        c.CreateSilhouette(From({100, 0, 0}, true), s, false);
        std::unique_ptr<TGLSilhouette> owned(s);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Indices.Count(), 8) << "the four edges of the +X face";
        EXPECT_EQ(s->CapIndices.Count(), 30) << "ten cap triangles";
        EXPECT_EQ(s->Vertices.Count(), 8);
        for (int i = 0; i < s->Indices.Count(); ++i) {
            EXPECT_EQ(s->Vertices[s->Indices[i]].X, 1) << "silhouette vertices lie on the +X face";
            EXPECT_EQ(s->Vertices[s->Indices[i]].W, 1);
        }
        // Each silhouette vertex starts exactly one edge and ends exactly one: a closed loop.
        int starts[8] = {}, ends[8] = {};
        for (int e = 0; e < 4; ++e) {
            ++starts[s->Indices[2 * e]];
            ++ends[s->Indices[2 * e + 1]];
        }
        for (int v = 0; v < 8; ++v) {
            EXPECT_EQ(starts[v], ends[v]);
        }
        TGLSilhouette* again = s;
        c.CreateSilhouette(From({100, 0, 0}, false), again, false);
        EXPECT_EQ(again, s);
        EXPECT_EQ(s->Indices.Count(), 8);
        EXPECT_EQ(s->CapIndices.Count(), 0);
        EXPECT_EQ(s->Vertices.Count(), 4) << "only the vertices the edges use";
    }
}

TEST(Silhouette, SingleTriangleFromBackAndFront)
{
    TConnectivity c;
    c.AddFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0}); // normal +Z
    TGLSilhouette s;
    TGLSilhouette* ps = &s;
    c.CreateSilhouette(From({0.2f, 0.2f, -5}, true), ps, false);
    EXPECT_EQ(s.Indices.Count(), 6) << "three open edges of an unseen face";
    EXPECT_EQ(s.CapIndices.Count(), 3);
    EXPECT_EQ(s.Vertices.Count(), 3);
    // The cap lists a, b, c although the vertices were taken in the order c, b, a.
    EXPECT_EQ(s.CapIndices[0], 2);
    EXPECT_EQ(s.CapIndices[2], 0);
    EXPECT_EQ(s.Vertices[0].Y, 1);
    c.CreateSilhouette(From({0.2f, 0.2f, 5}, true), ps, false);
    EXPECT_EQ(s.Indices.Count(), 0);
    EXPECT_EQ(s.CapIndices.Count(), 0);
    EXPECT_EQ(s.Vertices.Count(), 0);
}

TEST(Silhouette, AddingAppendsWithContinuingVertexNumbers)
{
    TConnectivity c;
    c.AddFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    TGLSilhouette* s = nullptr;
    c.CreateSilhouette(From({0, 0, -1}, false), s, true);
    std::unique_ptr<TGLSilhouette> owned(s);
    EXPECT_EQ(s->Vertices.Count(), 3);
    c.CreateSilhouette(From({0, 0, -1}, false), s, true);
    EXPECT_EQ(s->Vertices.Count(), 6);
    EXPECT_EQ(s->Indices.Count(), 12);
    for (int i = 6; i < 12; ++i) {
        EXPECT_GE(s->Indices[i], 3);
    }
}

TEST(Silhouette, SharedEdgesAndClear)
{
    TConnectivity c;
    c.AddFace({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    c.AddFace({1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    EXPECT_EQ(c.VertexCount(), 4);
    EXPECT_EQ(c.EdgeCount(), 5);
    EXPECT_EQ(c.AddIndexedEdge(1, 0, 7), 0) << "either direction finds the edge";
    EXPECT_THROW(c.AddIndexedFace(0, 1, 9), EAssertionFailed);
    c.Clear();
    EXPECT_EQ(c.EdgeCount(), 0);
    EXPECT_EQ(c.FaceCount(), 0);
    TBaseConnectivity base(false);
    EXPECT_EQ(base.EdgeCount(), 0);
    TGLSilhouette* none = nullptr;
    base.CreateSilhouette(From({0, 0, 0}, true), none, false);
    EXPECT_EQ(none, nullptr);
}
