#include "scene/objects/shapes/HeightField.h"

#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"
#include "scene/materials/Material.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scenetest;

class HeightField : public ObjectRecording {
protected:
    HeightField()
    {
        field.XSamplingScale().SetMax(2);
        field.XSamplingScale().SetStep(1);
        field.YSamplingScale().SetMax(3);
        field.YSamplingScale().SetStep(1);
    }
    std::vector<TRecordedPrimitive> Draw()
    {
        recorder.Clear();
        field.BuildList(rci);
        return RecordedPrimitives(recorder.Calls());
    }
    TGLHeightField field;
};

TEST_F(HeightField, ResetsTheStatesAfterItRendered)
{
    EXPECT_NE(field.ObjectStyle() & StyleBit(osResetStatesAfterRender), 0);
}

TEST_F(HeightField, ScalesWithAnEmptyRangeOrOneRowDrawNothing)
{
    TGLHeightField fresh;
    recorder.Clear();
    fresh.BuildList(rci);
    EXPECT_TRUE(recorder.Calls().empty());
    EXPECT_EQ(fresh.TriangleCount(), 0);
    field.YSamplingScale().SetMax(0.5f); // rows at y = 0 only
    EXPECT_TRUE(Draw().empty());
    EXPECT_EQ(field.TriangleCount(), 0);
    field.YSamplingScale().SetMax(0);
    EXPECT_TRUE(Draw().empty());
}

TEST_F(HeightField, AFlatFieldIsOneStripBetweenEachPairOfRows)
{
    field.SetOnGetHeight([](float, float, float& z, TVector&, TTexPoint&) { z = 0; });
    const auto strips = Draw();
    // 3 samples across, 4 rows: 3 strips of 6 vertices.
    ASSERT_EQ(strips.size(), 3u);
    double area = 0;
    for (std::size_t k = 0; k < strips.size(); ++k) {
        const auto& v = strips[k].vertices;
        EXPECT_EQ(strips[k].mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
        ASSERT_EQ(v.size(), 6u);
        // Newer row first, then older and newer in turn, older last.
        const double older = double(k), newer = double(k + 1);
        const double expected[6][2] = {{0, newer}, {0, older}, {1, newer}, {1, older}, {2, newer}, {2, older}};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(v[i].position[0], expected[i][0]);
            EXPECT_EQ(v[i].position[1], expected[i][1]);
            EXPECT_EQ(v[i].normal, (TVec3{0, 0, 1}));
        }
    }
    for (const auto& t : Triangles(strips)) {
        const TVec3 a = AreaVector(t);
        EXPECT_GT(a[2], 0) << "triangles face +Z";
        area += a[2] / 2;
    }
    EXPECT_DOUBLE_EQ(area, 6);
    EXPECT_EQ(field.TriangleCount(), 12);
}

TEST_F(HeightField, APlaneHasOneNormalEverywhere)
{
    struct Case {
        const char* what;
        float dx, dy; // z = dx * x + dy * y
    };
    for (const Case& c : {Case{"flat", 0, 0}, Case{"rising along x", 1, 0}, Case{"falling along y", 0, -0.5f},
                          Case{"both", 2, 3}}) {
        field.SetOnGetHeight([&](float x, float y, float& z, TVector&, TTexPoint&) { z = c.dx * x + c.dy * y; });
        const double n = std::sqrt(double(c.dx) * c.dx + double(c.dy) * c.dy + 1);
        const TVec3 want{-c.dx / n, -c.dy / n, 1 / n};
        for (const auto& strip : Draw()) {
            for (const auto& v : strip.vertices) {
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(v.normal[k], want[k], 1e-6) << c.what << " at " << v.position[0] << ", "
                                                            << v.position[1];
                }
                EXPECT_NEAR(v.position[2], c.dx * v.position[0] + c.dy * v.position[1], 1e-6) << c.what;
            }
        }
    }
}

TEST_F(HeightField, TheBuiltInSurfaceIsARippledDome)
{
    for (TGLSamplingScale* scale : {&field.XSamplingScale(), &field.YSamplingScale()}) {
        scale->SetMin(-1);
        scale->SetMax(1);
    }
    field.SetColorMode(hfcmDiffuse);
    for (const auto& strip : Draw()) {
        for (const auto& v : strip.vertices) {
            const double r2 = v.position[0] * v.position[0] + v.position[1] * v.position[1];
            EXPECT_NEAR(v.position[2], std::cos(12 * r2) / ((6.28 * r2 + 1) * 2), 1e-6);
        }
    }
    const auto colors = recorder.CallsTo("glColor4fv");
    ASSERT_FALSE(colors.empty());
    EXPECT_FLOAT_EQ(colors[0].Data[0], 0.8f);
    EXPECT_EQ(colors[0].Data[3], 1);
}

TEST_F(HeightField, TheFirstHandlerWinsAndTheSecondGetsTheSender)
{
    TObject* sender = nullptr;
    field.SetOnGetHeight2([&](TObject* s, float, float, float& z, TVector&, TTexPoint&) {
        sender = s;
        z = 2;
    });
    auto strips = Draw();
    EXPECT_EQ(sender, &field);
    EXPECT_EQ(strips[0].vertices[0].position[2], 2);
    field.SetOnGetHeight([](float, float, float& z, TVector&, TTexPoint&) { z = 5; });
    sender = nullptr;
    strips = Draw();
    EXPECT_EQ(sender, nullptr);
    EXPECT_EQ(strips[0].vertices[0].position[2], 5);
}

struct TStateCase {
    THeightFieldColorMode colorMode;
    THeightFieldOptions options;
    TPolygonMode polygonMode;
    bool pushed;
    GLenum colorMaterial; // 0: none
    GLenum polygon;       // 0: left alone
};

TEST_F(HeightField, StatesAreSetAndRestored)
{
    const TStateCase cases[] = {
        {hfcmNone, 0, pmFill, false, 0, 0},
        {hfcmNone, hfoTwoSided, pmLines, true, 0, GL_LINE},
        {hfcmEmission, 0, pmFill, true, GL_EMISSION, 0},
        {hfcmAmbient, hfoTwoSided, pmPoints, true, GL_AMBIENT, GL_POINT},
        {hfcmDiffuse, 0, pmFill, true, GL_DIFFUSE, 0},
        {hfcmAmbientAndDiffuse, hfoTwoSided, pmFill, true, GL_AMBIENT_AND_DIFFUSE, GL_FILL}};
    for (const TStateCase& c : cases) {
        SCOPED_TRACE("color mode " + std::to_string(c.colorMode) + ", polygon mode " + std::to_string(c.polygonMode));
        field.SetColorMode(c.colorMode);
        field.SetOptions(c.options);
        field.Material().FrontProperties()->SetPolygonMode(c.polygonMode);
        Draw();
        EXPECT_EQ(recorder.Count("glPopAttrib"), c.pushed ? 1 : 0);
        const auto pushes = recorder.CallsTo("glPushAttrib");
        ASSERT_EQ(pushes.size(), c.pushed ? 1u : 0u);
        EXPECT_TRUE(pushes.empty() || pushes[0].Args[0] == GL_ENABLE_BIT);
        const auto colorMaterial = recorder.CallsTo("glColorMaterial");
        ASSERT_EQ(colorMaterial.size(), c.colorMaterial ? 1u : 0u);
        EXPECT_EQ(recorder.Count("glColor4fv") > 0, c.colorMaterial != 0);
        if (c.colorMaterial) {
            EXPECT_EQ(colorMaterial[0].Args, (std::vector<double>{GL_FRONT_AND_BACK, double(c.colorMaterial)}));
        }
        const auto polygon = recorder.CallsTo("glPolygonMode");
        const auto disables = recorder.CallsTo("glDisable");
        if (c.polygon) {
            ASSERT_FALSE(polygon.empty());
            EXPECT_EQ(polygon.back().Args, (std::vector<double>{GL_FRONT_AND_BACK, double(c.polygon)}));
            ASSERT_FALSE(disables.empty());
            EXPECT_EQ(disables[0].Args[0], GL_CULL_FACE);
        } else {
            EXPECT_TRUE(polygon.empty());
        }
    }
}

TEST_F(HeightField, TextureCoordinatesArePresetToThePositionAndMayBeChanged)
{
    field.SetOptions(hfoTextureCoordinates);
    field.SetOnGetHeight([](float x, float, float& z, TVector&, TTexPoint& t) {
        z = 0;
        if (x == 2) {
            t.S = 9;
        }
    });
    const auto strips = Draw();
    const auto& v = strips[0].vertices;
    EXPECT_EQ(v[0].texCoord, (std::array<double, 2>{0, 1}));
    EXPECT_EQ(v[1].texCoord, (std::array<double, 2>{0, 0}));
    EXPECT_EQ(v[4].texCoord, (std::array<double, 2>{9, 1}));
    field.SetOptions(0);
    Draw();
    EXPECT_EQ(recorder.Count("glTexCoord2fv"), 0);
}

TEST_F(HeightField, AStepTooSmallForTheCoordinatesCannotStallTheLoops)
{
    for (TGLSamplingScale* scale : {&field.XSamplingScale(), &field.YSamplingScale()}) {
        scale->SetMax(1e8f + 64);
        scale->SetMin(1e8f);
        scale->SetStep(0.001f);
    }
    field.SetOnGetHeight([](float, float, float& z, TVector&, TTexPoint&) { z = 0; });
    Draw();
    EXPECT_EQ(field.TriangleCount(), 0);
}

TEST_F(HeightField, AScaleChangeRebuildsTheDrawing)
{
    field.ClearStructureChanged();
    field.XSamplingScale().SetStep(0.5f);
    EXPECT_NE(field.Changes() & ChangeBit(ocStructure), 0);
}

TEST_F(HeightField, AssignCopiesScalesFirstHandlerOptionsAndColorMode)
{
    TGLHeightField source;
    source.XSamplingScale().SetMax(7);
    source.YSamplingScale().SetStep(0.25f);
    source.SetOptions(hfoTextureCoordinates);
    source.SetColorMode(hfcmAmbient);
    source.SetOnGetHeight([](float, float, float& z, TVector&, TTexPoint&) { z = 1; });
    source.SetOnGetHeight2([](TObject*, float, float, float&, TVector&, TTexPoint&) {});
    source.Position().SetPoint(1, 2, 3);
    TGLHeightField target;
    target.Assign(&source);
    EXPECT_EQ(target.XSamplingScale().Max(), 7);
    EXPECT_EQ(target.YSamplingScale().Step(), 0.25f);
    EXPECT_EQ(target.Options(), hfoTextureCoordinates);
    EXPECT_EQ(target.ColorMode(), hfcmAmbient);
    EXPECT_TRUE(static_cast<bool>(target.OnGetHeight()));
    EXPECT_FALSE(static_cast<bool>(target.OnGetHeight2()));
    EXPECT_EQ(target.Position().X(), 0);
}

} // namespace
