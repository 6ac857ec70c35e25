#include "scene/objects/shapes/Plane.h"
#include "scene/objects/shapes/Sprite.h"

#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace scenetest;

class FlatShapes : public ObjectRecording {
protected:
    std::vector<TRecordedPrimitive> Draw(TGLBaseSceneObject& object)
    {
        recorder.Clear();
        object.BuildList(rci);
        return RecordedPrimitives(recorder.Calls());
    }
    // Position and texture point of every vertex, sorted, so that a quad and strips
    // can be compared.
    static std::vector<std::array<double, 4>> Corners(const std::vector<TRecordedPrimitive>& primitives)
    {
        std::vector<std::array<double, 4>> result;
        for (const auto& p : primitives) {
            for (const auto& v : p.vertices) {
                result.push_back({v.position[0], v.position[1], v.texCoord[0], v.texCoord[1]});
            }
        }
        std::sort(result.begin(), result.end());
        result.erase(std::unique(result.begin(), result.end()), result.end());
        return result;
    }
    TGLPlane plane;
};

TEST_F(FlatShapes, TiledPlaneDrawsOneStripPerRowWithoutDepthWrites)
{
    plane.SetStyle(psTileTexture);
    plane.SetWidth(3);
    plane.SetHeight(2);
    plane.SetXTiles(3);
    plane.SetYTiles(2);
    plane.SetNoZWrite(true);
    const auto strips = Draw(plane);
    ASSERT_EQ(strips.size(), 2u);
    for (std::size_t row = 0; row < strips.size(); ++row) {
        EXPECT_EQ(strips[row].mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
        ASSERT_EQ(strips[row].vertices.size(), 8u) << "XTiles + 1 pairs";
        const auto& last = strips[row].vertices.back();
        EXPECT_FLOAT_EQ(last.position[0], 1.5);
        EXPECT_FLOAT_EQ(last.position[1], row - 1.0);
        EXPECT_FLOAT_EQ(last.texCoord[0], 3) << "one texture span per tile";
        EXPECT_FLOAT_EQ(last.texCoord[1], double(row));
        for (const auto& t : Triangles({strips[row]})) {
            EXPECT_GT(AreaVector(t)[2], 0) << "faces +Z";
        }
    }
    const auto masks = recorder.CallsTo("glDepthMask");
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_EQ(masks[0].Args[0], GL_FALSE);
    EXPECT_EQ(masks[1].Args[0], GL_TRUE);
}

TEST_F(FlatShapes, DefaultTilesMatchTheQuadAndOffsetsShiftBoth)
{
    plane.SetWidth(2);
    plane.SetXScope(0.5f);
    const auto quad = Corners(Draw(plane));
    ASSERT_EQ(quad.size(), 4u);
    plane.SetStyle(psTileTexture);
    EXPECT_EQ(Corners(Draw(plane)), quad);

    plane.SetXOffset(0.25f);
    plane.SetYOffset(-0.5f);
    for (TPlaneStyles style : {TPlaneStyles(psSingleQuad | psTileTexture), TPlaneStyles(psTileTexture)}) {
        plane.SetStyle(style);
        const auto shifted = Corners(Draw(plane));
        ASSERT_EQ(shifted.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ(shifted[i][2], quad[i][2] + 0.25) << "style " << int(style);
            EXPECT_DOUBLE_EQ(shifted[i][3], quad[i][3] - 0.5) << "style " << int(style);
        }
    }
}

TEST_F(FlatShapes, PlaneSettersKeepScopesAndTilesInRangeAndAssignCopiesOnlyTheSize)
{
    plane.SetXScope(2);
    plane.SetXTiles(0);
    plane.SetYTiles(0);
    EXPECT_EQ(plane.XScope(), 1.0f);
    EXPECT_EQ(plane.XTiles(), 1u);
    plane.SetStyle(psTileTexture);
    const auto strips = Draw(plane);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_TRUE(std::isfinite(strips[0].vertices[0].texCoord[0]));

    TGLPlane target;
    plane.SetWidth(4);
    plane.SetXTiles(7);
    target.Assign(&plane);
    EXPECT_EQ(target.Width(), 4);
    EXPECT_EQ(target.XTiles(), 1u) << "only Width and Height are copied";
}

TEST_F(FlatShapes, PlaneRayCastFromEitherSide)
{
    plane.SetWidth(2);
    plane.Position().SetPoint(0, 0, 5);
    struct Case {
        TVector start, vector;
        bool hit;
        float normalZ;
    };
    const Case cases[] = {
        {{0.5f, 0.2f, 10, 1}, {0, 0, -1, 0}, true, 1},  // from the front
        {{0.5f, 0.2f, 0, 1}, {0, 0, 2, 0}, true, -1},   // from behind
        {{1, 0.5f, 10, 1}, {0, 0, -1, 0}, true, 1},     // on the corner
        {{1.01f, 0, 10, 1}, {0, 0, -1, 0}, false, 0},   // beside it
        {{0, 0, 10, 1}, {1, 0, 0, 0}, false, 0},        // parallel
        {{0, 0, 10, 1}, {0, 0, 1, 0}, false, 0},        // running away
        {{0, 0, 0, 1}, {0, 0, -1, 0}, false, 0},        // running away behind it
    };
    for (const Case& c : cases) {
        TVector point{9, 9, 9, 9}, normal{9, 9, 9, 9};
        ASSERT_EQ(plane.RayCastIntersect(c.start, c.vector, &point, &normal), c.hit) << c.start.X << " " << c.start.Z;
        if (c.hit) {
            EXPECT_FLOAT_EQ(point.X, c.start.X);
            EXPECT_FLOAT_EQ(point.Y, c.start.Y);
            EXPECT_FLOAT_EQ(point.Z, 5);
            EXPECT_FLOAT_EQ(normal.Z, c.normalZ);
        } else {
            EXPECT_EQ(point.X, 9) << "untouched on a miss";
        }
    }
}

TEST_F(FlatShapes, PlaneSilhouetteIsItsOutlineCappedByTwoTriangles)
{
    plane.SetWidth(4);
    plane.SetHeight(2);
    for (const bool capping : {false, true}) {
        const auto silhouette = plane.GenerateSilhouette({{0, 0, 5}, {0, 0, -1}, TGLSilhouetteStyle::ssFromPoint, capping});
        ASSERT_EQ(silhouette->Vertices.Count(), 4);
        ASSERT_EQ(silhouette->Indices.Count(), 8);
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(silhouette->Indices[2 * e + 1], silhouette->Indices[(2 * e + 2) % 8]) << "a closed loop";
        }
        ASSERT_EQ(silhouette->CapIndices.Count(), capping ? 6 : 0);
        double area = 0;
        for (int t = 0; t < silhouette->CapIndices.Count(); t += 3) {
            const auto corner = [&](int k) {
                const TVector& v = silhouette->Vertices[silhouette->CapIndices[t + k]];
                return TVec3{v.X, v.Y, v.Z};
            };
            area += std::fabs(Cross(Sub(corner(1), corner(0)), Sub(corner(2), corner(0)))[2]) / 2;
        }
        EXPECT_DOUBLE_EQ(area, capping ? 8 : 0) << "the caps cover the plane once";
    }
}

TEST_F(FlatShapes, SpriteFacesTheCameraAndTurnsAboutTheViewAxis)
{
    // A camera turned about a slanted axis.
    const TMatrix m = MakeRotationMatrix(TAffineVector{1, 1, 0}, 0.7f);
    recorder.Floats[GL_MODELVIEW_MATRIX].assign(&m.V[0].X, &m.V[0].X + 16);
    TGLSprite sprite;
    sprite.SetWidth(2);
    sprite.SetHeight(4);
    sprite.SetAlphaChannel(3);
    EXPECT_EQ(sprite.AlphaChannel(), 1.0f) << "clamped";
    sprite.SetAlphaChannel(0.25f);
    const auto quads = Draw(sprite);
    ASSERT_EQ(quads.size(), 1u);
    const TVec3 right{m.V[0][0], m.V[1][0], m.V[2][0]}, up{m.V[0][1], m.V[1][1], m.V[2][1]};
    const double signs[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(quads[0].vertices[i].position[k], signs[i][0] * right[k] + 2 * signs[i][1] * up[k], 1e-6)
                << "corner " << i;
        }
    }
    const auto materials = recorder.CallsTo("glMaterialfv");
    ASSERT_FALSE(materials.empty());
    EXPECT_FLOAT_EQ(materials.back().Data[3], 0.25f);
    EXPECT_EQ(recorder.Count("glPushMatrix"), 0);

    sprite.SetRotation(30);
    Draw(sprite);
    const auto rotations = recorder.CallsTo("glRotatef");
    ASSERT_EQ(rotations.size(), 1u);
    EXPECT_EQ(rotations[0].Args[0], 30);
    EXPECT_NEAR(rotations[0].Args[1], m.V[0][2], 1e-7);
    EXPECT_NEAR(rotations[0].Args[3], m.V[2][2], 1e-7);
    EXPECT_EQ(recorder.Count("glPopMatrix"), 1);
}

TEST_F(FlatShapes, SpriteMirrorsItsTexture)
{
    recorder.Floats[GL_MODELVIEW_MATRIX] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct Case {
        bool u, v;
        double s, t; // at the upper right corner
    };
    for (const Case& c : {Case{false, false, 1, 1}, Case{true, false, 0, 1}, Case{false, true, 1, 0},
                          Case{true, true, 0, 0}}) {
        TGLSprite sprite;
        sprite.SetMirrorU(c.u);
        sprite.SetMirrorV(c.v);
        const auto quads = Draw(sprite);
        EXPECT_EQ(quads[0].vertices[0].texCoord[0], c.s) << c.u << c.v;
        EXPECT_EQ(quads[0].vertices[0].texCoord[1], c.t) << c.u << c.v;
        EXPECT_EQ(quads[0].vertices[2].texCoord[0], 1 - c.s) << c.u << c.v;
    }
}

} // namespace
