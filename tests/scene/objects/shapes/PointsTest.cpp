#include "scene/objects/shapes/Points.h"

#include "../../NullContext.h"
#include "../../ObjectTestSupport.h"
#include "platform/core/objects/Filer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace scenetest;

class Points : public ObjectRecording {
protected:
    // The vertex array handed over; the points stay where it points after the draw.
    static const float*& VertexArray()
    {
        static const float* array = nullptr;
        return array;
    }
    Points()
    {
        GL.glVertexPointer = [](GLint, GLenum, GLsizei, const void* p) {
            VertexArray() = static_cast<const float*>(p);
        };
    }
    ~Points() override { GLExt = TGLExtensionFlags{}; }
    int DrawnCount() const { return static_cast<int>(recorder.CallsTo("glDrawArrays").at(0).Args[2]); }
    void Draw()
    {
        recorder.Clear();
        points.BuildList(rci);
    }
    void Fill(int positions, int colors)
    {
        points.Positions().Clear();
        points.Colors().Clear();
        for (int i = 0; i < positions; ++i) {
            points.Positions().Add(float(i), 1, 2);
        }
        for (int i = 0; i < colors; ++i) {
            points.Colors().Add({0.5f, float(i), 0, 1});
        }
    }
    // The texts of the state calls made while the points are set up.
    std::vector<std::string> StyleStates() const
    {
        std::vector<std::string> texts;
        bool inside = false;
        for (const TGLCall& call : recorder.Calls()) {
            inside = (inside || call.Name == "glPointSize") && call.Name != "glDrawArrays";
            if (inside && call.Name != "glPointSize") {
                texts.push_back(call.Text);
            }
        }
        return texts;
    }

    TGLPoints points;
};

TEST_F(Points, ColoursDecideHowManyPointsAreDrawn)
{
    struct Case {
        int positions, colors, drawn;
    };
    for (const Case& c : {Case{3, 0, 3}, Case{3, 1, 3}, Case{3, 5, 3}, Case{5, 2, 2}, Case{0, 0, 1}, Case{0, 3, 1}}) {
        Fill(c.positions, c.colors);
        Draw();
        ASSERT_EQ(DrawnCount(), c.drawn) << c.positions << " " << c.colors;
        EXPECT_EQ(recorder.Count("glColorPointer"), c.colors > 1 ? 1 : 0);
        const auto colour = recorder.CallsTo("glColor4fv");
        ASSERT_EQ(colour.size(), c.colors > 1 ? 0u : 1u);
        if (c.colors <= 1) {
            const std::vector<double> white{1, 1, 1, 1}, given{0.5, 0, 0, 1};
            EXPECT_EQ(colour[0].Data, c.colors ? given : white);
        } else {
            EXPECT_EQ(recorder.Calls().end()[-3].Text, "glDisableClientState(32886)") << "colour array off";
        }
        const float* first = VertexArray();
        EXPECT_EQ(std::vector<float>(first, first + 3), (c.positions ? std::vector<float>{0, 1, 2}
                                                                    : std::vector<float>{0, 0, 0}))
            << "no positions: one point at the origin";
    }
}

TEST_F(Points, EachStyleSetsItsStatesAndTheAlphaFunctionIsReset)
{
    struct Case {
        TGLPointStyle style;
        std::vector<std::string> states;
    };
    const Case cases[] = {
        {psSquare, {"glDisable(3042)"}},
        {psRound, {"glEnable(2832)", "glEnable(3008)", "glAlphaFunc(516, 0.5)", "glDisable(3042)"}},
        {psSmooth, {"glEnable(2832)", "glEnable(3008)", "glAlphaFunc(517, 0)", "glEnable(3042)", "glBlendFunc(770, 771)"}},
        {psSmoothAdditive,
         {"glEnable(2832)", "glEnable(3008)", "glAlphaFunc(517, 0)", "glEnable(3042)", "glBlendFunc(770, 1)"}},
        {psSquareAdditive, {"glEnable(3042)", "glBlendFunc(770, 1)"}},
    };
    points.SetSize(4);
    for (const Case& c : cases) {
        points.SetStyle(c.style);
        Draw();
        EXPECT_EQ(StyleStates(), c.states) << int(c.style);
        EXPECT_EQ(recorder.CallsTo("glPointSize")[0].Args[0], 4);
        EXPECT_EQ(recorder.Calls().end()[-2].Name, "glPopAttrib");
        EXPECT_EQ(recorder.Calls().back().Text, "glAlphaFunc(516, 0)");
    }
    points.SetStyle(static_cast<TGLPointStyle>(9));
    recorder.Clear();
    EXPECT_THROW(points.BuildList(rci), EAssertionFailed);
    EXPECT_EQ(recorder.Count("glPushAttrib"), 0) << "nothing is left pushed";
}

TEST_F(Points, LargeCloudsLockTheirArraysWhenTheDriverCan)
{
    struct Case {
        int count;
        bool extension, locked;
    };
    for (const Case& c : {Case{64, true, false}, Case{65, true, true}, Case{65, false, false}}) {
        GLExt.EXT_compiled_vertex_array = c.extension;
        Fill(c.count, 0);
        Draw();
        const auto locks = recorder.CallsTo("glLockArraysEXT");
        ASSERT_EQ(locks.size(), c.locked ? 1u : 0u) << c.count << " " << c.extension;
        EXPECT_EQ(recorder.Count("glUnlockArraysEXT"), c.locked ? 1 : 0);
        if (c.locked) {
            EXPECT_EQ(locks[0].Args[1], 65);
        }
    }
}

TEST_F(Points, ParametersActOnlyWhenEnabledAndSupported)
{
    TGLPointParameters& params = points.PointParameters();
    params.SetMaxSize(-5);
    EXPECT_EQ(params.MaxSize(), 0) << "negative sizes become 0";
    params.SetMaxSize(32);
    params.DistanceAttenuation().SetVector(1, 0.5f, 0.25f);
    for (const bool enabled : {false, true}) {
        for (const bool extension : {false, true}) {
            params.SetEnabled(enabled);
            GLExt.ARB_point_parameters = extension;
            Draw();
            const auto vectors = recorder.CallsTo("glPointParameterfvARB");
            const bool acts = enabled && extension;
            ASSERT_EQ(vectors.size(), acts ? 2u : 0u) << enabled << extension;
            EXPECT_EQ(recorder.Count("glPointParameterfARB"), acts ? 6 : 0);
            if (acts) {
                EXPECT_EQ(recorder.CallsTo("glPointParameterfARB")[1].Args[1], 32);
                EXPECT_EQ(vectors[0].Data, (std::vector<double>{1, 0.5, 0.25}));
                EXPECT_EQ(vectors[1].Data, (std::vector<double>{1, 0, 0})) << "defaults back";
                EXPECT_EQ(recorder.CallsTo("glPointParameterfARB")[4].Args[1], 128);
            }
        }
    }
}

TEST_F(Points, PointParamsStreamTheThreeSizes)
{
    TGLPointParameters params(nullptr);
    const auto none = TBinaryPropertyWriter::Collect(params);
    EXPECT_TRUE(none.empty());
    params.SetFadeTresholdSize(2);
    const auto some = TBinaryPropertyWriter::Collect(params);
    ASSERT_EQ(some.size(), 1u);
    EXPECT_EQ(some[0].first, "PointParams");
    EXPECT_EQ(some[0].second, std::string("\x00\x00\x00\x00\x00\x00\x00\x43\x00\x00\x00\x40", 12));

    TGLPointParameters read(nullptr);
    // MinSize -1, MaxSize 64, FadeTresholdSize 2.
    TBinaryPropertyReader::Apply(read, {{"PointParams", std::string("\x00\x00\x80\xbf\x00\x00\x80\x42\x00\x00\x00\x40", 12)}});
    EXPECT_EQ(read.MinSize(), 0) << "through the setter";
    EXPECT_EQ(read.MaxSize(), 64);
    EXPECT_EQ(read.FadeTresholdSize(), 2);
}

TEST_F(Points, StaticPointsDrawThroughTheDisplayList)
{
    scenetest::TNullContext context;
    TGLPoints cloud;
    EXPECT_TRUE(cloud.ObjectStyle() & StyleBit(osNeverCulled));
    cloud.Positions().Add(0, 1, 2);
    cloud.Positions().Add(3, 4, 5);
    for (const bool isStatic : {false, true, false}) {
        const bool switched = isStatic != cloud.Static();
        cloud.ClearStructureChanged();
        cloud.SetStatic(isStatic);
        EXPECT_EQ((cloud.ObjectStyle() & StyleBit(osNoDisplayList)) != 0, !isStatic);
        EXPECT_EQ((cloud.Changes() & ChangeBit(ocStructure)) != 0, switched) << isStatic;
        recorder.Clear();
        cloud.Render(rci);
        cloud.Render(rci);
        // Static: compiled once, its points inside the list, then called every frame.
        EXPECT_EQ(recorder.Count("glDrawArrays"), isStatic ? 1 : 2) << isStatic;
        EXPECT_EQ(recorder.Count("glNewList"), isStatic ? 1 : 0) << isStatic;
        EXPECT_EQ(recorder.Count("glCallList"), isStatic ? 2 : 0) << isStatic;
        if (isStatic) {
            std::vector<std::string> order;
            for (const TGLCall& call : recorder.Calls()) {
                if (call.Name == "glNewList" || call.Name == "glDrawArrays" || call.Name == "glEndList") {
                    order.push_back(call.Name);
                }
            }
            EXPECT_EQ(order, (std::vector<std::string>{"glNewList", "glDrawArrays", "glEndList"}));
        }
    }
}

} // namespace
