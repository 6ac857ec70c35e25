#include "scene/objects/shapes/Frustum.h"
#include "scene/objects/shapes/Polygon.h"

#include "../../ObjectTestSupport.h"
#include "../../RealGluTessellator.h"
#include "../../RecordedPrimitives.h"
#include "platform/core/objects/Filer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scenetest;

class FrustumAndPolygon : public ObjectRecording {
protected:
    std::vector<TRecordedPrimitive> Draw(TGLBaseSceneObject& object)
    {
        recorder.Clear();
        object.BuildList(rci);
        return RecordedPrimitives(recorder.Calls());
    }
};

TEST_F(FrustumAndPolygon, FrustumSizesKeepHeightBelowTheApex)
{
    struct Case {
        const char* what;
        void (TGLFrustrum::*set)(float);
        float value, apex, height, width;
    };
    const Case cases[] = {
        {"Height above the apex raises it", &TGLFrustrum::SetHeight, 1.5f, 1.5f, 1.5f, 1},
        {"apex below Height lowers it", &TGLFrustrum::SetApexHeight, 0.25f, 0.25f, 0.25f, 1},
        {"negative Height ignored", &TGLFrustrum::SetHeight, -1, 1, 0.5f, 1},
        {"negative apex ignored", &TGLFrustrum::SetApexHeight, -1, 1, 0.5f, 1},
        {"negative width ignored", &TGLFrustrum::SetBaseWidth, -2, 1, 0.5f, 1},
        {"NaN ignored", &TGLFrustrum::SetApexHeight, std::nanf(""), 1, 0.5f, 1},
    };
    for (const Case& c : cases) {
        TGLFrustrum frustum;
        (frustum.*c.set)(c.value);
        EXPECT_EQ(frustum.ApexHeight(), c.apex) << c.what;
        EXPECT_EQ(frustum.Height(), c.height) << c.what;
        EXPECT_EQ(frustum.BaseWidth(), c.width) << c.what;
    }
}

TEST_F(FrustumAndPolygon, FrustumFacesPointOutwardsAndTheTopOnlyBelowTheApex)
{
    for (const TNormalDirection direction : {ndOutside, ndInside}) {
        TGLFrustrum frustum;
        frustum.SetBaseWidth(2);
        frustum.SetNormalDirection(direction);
        const auto quads = Draw(frustum);
        ASSERT_EQ(quads.size(), 1u);
        ASSERT_EQ(quads[0].vertices.size(), 24u);
        const TVec3 centre{0, 0.25, 0};
        for (std::size_t f = 0; f < 6; ++f) {
            const auto* v = &quads[0].vertices[4 * f];
            TVec3 middle{};
            for (int k = 0; k < 4; ++k) {
                for (int j = 0; j < 3; ++j) {
                    middle[j] += v[k].position[j] / 4;
                }
            }
            const TVec3 area = Cross(Sub(v[1].position, v[0].position), Sub(v[2].position, v[0].position));
            EXPECT_GT(Dot(area, Sub(middle, centre)), 0) << "face " << f << " wound outwards";
            EXPECT_NEAR(Length(v[0].normal), 1, 1e-6);
            const double sign = direction == ndOutside ? 1 : -1;
            EXPECT_GT(sign * Dot(v[0].normal, area), 0) << "face " << f << " normal";
        }
    }
    TGLFrustrum pyramid;
    pyramid.SetHeight(1);
    EXPECT_EQ(Draw(pyramid)[0].vertices.size(), 20u) << "no top face at the apex";
}

TEST_F(FrustumAndPolygon, ApexAtZeroGivesAFlatFrustumWithoutNaN)
{
    TGLFrustrum frustum;
    frustum.SetApexHeight(0);
    frustum.SetBaseDepth(0);
    EXPECT_EQ(frustum.Height(), 0);
    const auto quads = Draw(frustum);
    ASSERT_EQ(quads[0].vertices.size(), 20u);
    for (const auto& v : quads[0].vertices) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(std::isfinite(v.position[k]) && std::isfinite(v.normal[k]));
        }
        EXPECT_EQ(std::fabs(v.position[0]), 0.5) << "the top equals the base";
        EXPECT_EQ(v.position[1], 0);
    }
}

TEST_F(FrustumAndPolygon, FrustrumSizeIsWrittenOnlyAwayFromTheDefaults)
{
    TGLFrustrum frustum;
    EXPECT_TRUE(TBinaryPropertyWriter::Collect(frustum).empty());
    frustum.SetBaseWidth(2);
    const auto written = TBinaryPropertyWriter::Collect(frustum);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].first, "FrustrumSize");
    EXPECT_EQ(written[0].second,
              std::string("\x00\x00\x80\x3f\x00\x00\x80\x3f\x00\x00\x00\x40\x00\x00\x00\x3f", 16));

    // Apex 0.25, depth -1, width 3, height 2: read through the setters.
    TGLFrustrum read;
    TBinaryPropertyReader::Apply(
        read, {{"FrustrumSize", std::string("\x00\x00\x80\x3e\x00\x00\x80\xbf\x00\x00\x40\x40\x00\x00\x00\x40", 16)}});
    EXPECT_EQ(read.BaseDepth(), 1) << "a negative depth is refused";
    EXPECT_EQ(read.BaseWidth(), 3);
    EXPECT_EQ(read.Height(), 2);
    EXPECT_EQ(read.ApexHeight(), 2) << "raised with Height";
}

TEST_F(FrustumAndPolygon, PolygonDrawsBothFacesThroughTheTessellator)
{
    TRealGluTessellator glu;
    ASSERT_TRUE(glu.Available());
    TGLPolygon polygon;
    for (const auto& p : {TAffineVector{0, 0, 0}, TAffineVector{2, 0, 0}, TAffineVector{2, 1, 0},
                          TAffineVector{0, 1, 0}}) {
        polygon.Nodes().AddNode(p);
    }
    // Both faces by default: one facing +Z, one facing -Z.
    double up = 0, down = 0;
    for (const auto& t : Triangles(Draw(polygon))) {
        const double z = AreaVector(t)[2] / 2;
        (z > 0 ? up : down) += std::fabs(z);
        EXPECT_NEAR(t[0].normal[2], z > 0 ? 1 : -1, 1e-6) << "the normal follows the face";
        EXPECT_EQ(t[0].texCoord[0], t[0].position[0]) << "textured with X and Y";
    }
    EXPECT_NEAR(up, 2, 1e-6);
    EXPECT_NEAR(down, 2, 1e-6);
    polygon.SetParts(ppTop);
    polygon.SetSplineMode(lsmCubicSpline);
    polygon.SetDivision(4);
    Draw(polygon);
    EXPECT_GE(recorder.Count("glVertex3fv"), 3 * 4 + 1) << "every spline sample is a vertex";
}

} // namespace
