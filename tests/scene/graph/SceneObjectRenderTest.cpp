#include "../SceneObjectTestSupport.h"

#include "platform/core/Exceptions.h"
#include "scene/graph/Behaviours.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace scenetest;

namespace {

// The box -1 .. 1 on every axis, planes facing inwards.
TFrustum UnitBoxFrustum()
{
    return TFrustum{{1, 0, 0, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {0, 0, -1, 1}};
}

class SceneObjectRenderTest : public ::testing::Test {
protected:
    SceneObjectRenderTest()
    {
        rci.scene = &world;
        rci.buffer = &buffer;
        rci.GLStates = &states;
        rci.rcci.frustum = UnitBoxFrustum();
        world.buffer = &buffer;
    }

    // A child drawing its id every frame (no display list), at x on the X axis.
    TMarkedObject* Marked(TGLBaseSceneObject* parent, int id, float x, bool blended = false)
    {
        auto* o = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(parent);
        o->id = id;
        o->blended = blended;
        o->IncludeStyle(osNoDisplayList);
        o->Position().SetPoint(x, 0, 0);
        return o;
    }

    TGLRecorder gl;
    TNullContext context;
    TRecordingWorld world;
    TRecordingBuffer buffer;
    TGLStateCache states;
    TRenderContextInfo rci;
    TGLBaseSceneObject& root = *world.ObjectRoot();
};

TEST_F(SceneObjectRenderTest, DisplayListIsReusedUntilTheStructureChanges)
{
    auto* o = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    o->Render(rci);
    o->Render(rci);
    EXPECT_EQ(o->builds, 1);
    EXPECT_EQ(gl.Count("glNewList"), 1);
    EXPECT_EQ(gl.Count("glCallList"), 2);
    EXPECT_TRUE(o->HasValidDisplayList());
    const double name = gl.CallsTo("glNewList")[0].Args[0];
    o->StructureChanged();
    EXPECT_FALSE(o->HasValidDisplayList());
    o->Render(rci);
    EXPECT_EQ(o->builds, 2);
    ASSERT_EQ(gl.Count("glNewList"), 2);
    EXPECT_EQ(gl.CallsTo("glNewList")[1].Args[0], name) << "the same name is recompiled";
    EXPECT_EQ(gl.Count("glGenLists"), 1);
    EXPECT_EQ(gl.CallsTo("glCallList").back().Args[0], name);

    // A change while compiling leaves the list stale.
    struct TSelfChanging : TMarkedObject {
        void BuildList(TRenderContextInfo& r) override
        {
            TMarkedObject::BuildList(r);
            StructureChanged();
        }
    } changing;
    changing.GetHandle(rci);
    EXPECT_FALSE(changing.HasValidDisplayList());
}

TEST_F(SceneObjectRenderTest, NoDisplayListAndAmalgamatingDrawDirectly)
{
    struct Case {
        bool noDisplayList;
        bool amalgamating;
        int lists;
    };
    const Case cases[] = {{true, false, 0}, {false, true, 0}, {false, false, 1}};
    for (const Case& c : cases) {
        gl.Clear();
        TMarkedObject o;
        if (c.noDisplayList) {
            o.IncludeStyle(osNoDisplayList);
        }
        rci.amalgamating = c.amalgamating;
        o.Render(rci);
        o.Render(rci);
        EXPECT_EQ(gl.Count("glNewList"), c.lists);
        EXPECT_EQ(o.builds, c.lists ? 1 : 2);
    }
}


TEST_F(SceneObjectRenderTest, RenderWrapsTheDrawInTheLocalMatrix)
{
    auto* o = Marked(&root, 1, 3);
    gl.Clear();
    o->Render(rci);
    const auto texts = gl.Texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts.front(), "glPushMatrix()");
    EXPECT_EQ(gl.CallsTo("glMultMatrixf")[0].Data,
              (std::vector<double>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 3, 0, 0, 1}));
    EXPECT_EQ(texts.back(), "glPopMatrix()");
    EXPECT_EQ(gl.Count("glLoadName"), 0);
}

TEST_F(SceneObjectRenderTest, ChildrenAreSortedByTheMode)
{
    struct Case {
        TGLObjectsSorting mode;
        std::vector<int> order;
    };
    // ids 1..4 at x = 2, 6, 4, 8; 3 is blended, 4 invisible. Camera at the origin.
    const Case cases[] = {
        {osNone, {1, 2, 3}},
        {osRenderFarthestFirst, {2, 3, 1}},
        {osRenderNearestFirst, {1, 3, 2}},
        {osRenderBlendedLast, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        gl.Clear();
        TGLBaseSceneObject group;
        group.SetObjectsSorting(c.mode);
        Marked(&group, 1, 2);
        Marked(&group, 2, 6);
        Marked(&group, 3, 4, true);
        Marked(&group, 4, 8)->SetVisible(false);
        group.RenderChildren(0, group.Count() - 1, rci);
        EXPECT_EQ(DrawnIds(gl), c.order) << "mode " << int(c.mode);
        EXPECT_EQ(rci.objectsSorting, osInherited) << "restored";
    }
    // Inherited sorting comes from the context.
    gl.Clear();
    TGLBaseSceneObject inheriting;
    Marked(&inheriting, 1, 2);
    Marked(&inheriting, 2, 6);
    rci.objectsSorting = osRenderFarthestFirst;
    inheriting.RenderChildren(0, 1, rci);
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{2, 1}));
    // Blended last: opaque in list order, then blended farthest first.
    gl.Clear();
    TGLBaseSceneObject group;
    group.SetObjectsSorting(osRenderBlendedLast);
    const float x[] = {5, 9, 7, 1, 3};
    for (int id = 1; id <= 5; ++id) {
        Marked(&group, id, x[id - 1], id % 2 == 1); // the odd ids blended
    }
    group.RenderChildren(0, 4, rci);
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{2, 4, 3, 1, 5}));
}

TEST_F(SceneObjectRenderTest, ChildRangeLimits)
{
    struct Case {
        int first, last;
        std::vector<int> ids;
    };
    const Case cases[] = {{1, 1, {2}}, {2, 1, {}}, {0, 2, {1, 2, 3}}, {-4, 9, {1, 2, 3}}, {1, 2, {2, 3}}};
    for (const Case& c : cases) {
        gl.Clear();
        TGLBaseSceneObject group;
        Marked(&group, 1, 0);
        Marked(&group, 2, 0);
        Marked(&group, 3, 0);
        group.RenderChildren(c.first, c.last, rci);
        EXPECT_EQ(DrawnIds(gl), c.ids) << c.first << ".." << c.last;
    }
}

TEST_F(SceneObjectRenderTest, CullingByMode)
{
    struct Case {
        TGLVisibilityCulling mode;
        bool insideChild;
        std::vector<int> ids;
    };
    // Parent 1 at x = 10 (outside); child 2 at +1 from it (outside, never culled);
    // child 3, when there, at -10 from it (inside).
    const Case cases[] = {
        {vcNone, true, {1, 2, 3}},
        {vcObjectBased, true, {2, 3}},
        {vcHierarchical, true, {1, 2, 3}}, // the box around both children reaches the view
        {vcObjectBased, false, {2}},
        {vcHierarchical, false, {}}, // everything outside: the whole subtree is skipped
    };
    for (const Case& c : cases) {
        gl.Clear();
        TGLBaseSceneObject group;
        TMarkedObject* parent = Marked(&group, 1, 10);
        Marked(parent, 2, 1)->IncludeStyle(osNeverCulled);
        if (c.insideChild) {
            Marked(parent, 3, -10);
        }
        rci.visibilityCulling = c.mode;
        parent->Render(rci);
        EXPECT_EQ(DrawnIds(gl), c.ids) << "mode " << int(c.mode) << ", inside child " << c.insideChild;
    }
}

TEST_F(SceneObjectRenderTest, NeverCulledIsDrawnInEveryModeAndAnUnknownModeIsAnAssertion)
{
    for (TGLVisibilityCulling mode : {vcNone, vcObjectBased, vcHierarchical}) {
        gl.Clear();
        TMarkedObject* o = Marked(&root, 7, 50);
        o->IncludeStyle(osNeverCulled);
        rci.visibilityCulling = mode;
        o->Render(rci);
        EXPECT_EQ(DrawnIds(gl), (std::vector<int>{7})) << "mode " << int(mode);
        delete o;
    }
    TMarkedObject o;
    rci.visibilityCulling = static_cast<TGLVisibilityCulling>(9);
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { o.Render(rci); }).rfind("Unknown visibility culling option (", 0), 0u);
}

TEST_F(SceneObjectRenderTest, ObjectCullingOverridesTheContextForItsChildrenOnly)
{
    TGLBaseSceneObject group;
    group.SetVisibilityCulling(vcObjectBased);
    Marked(&group, 1, 0);
    Marked(&group, 2, 30);
    rci.visibilityCulling = vcNone;
    group.RenderChildren(0, 1, rci);
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{1}));
    EXPECT_EQ(rci.visibilityCulling, vcNone);
}

TEST_F(SceneObjectRenderTest, PickingNamesTheObject)
{
    TMarkedObject* a = Marked(&root, 1, 0);
    rci.drawState = dsPicking;
    a->Render(rci);
    ASSERT_EQ(gl.Count("glLoadName"), 1);
    const auto name = static_cast<GLuint>(gl.CallsTo("glLoadName")[0].Args[0]);
    EXPECT_EQ(ObjectOfPickName(name), a);
    EXPECT_EQ(PickNameOf(a), name) << "stable";

    gl.Clear();
    rci.proxySubObject = true;
    TMarkedObject* b = Marked(&root, 2, 0);
    b->Render(rci);
    EXPECT_EQ(gl.Count("glPushName"), 1);
    EXPECT_EQ(gl.Count("glPopName"), 1);
    EXPECT_EQ(gl.Count("glLoadName"), 0);
    EXPECT_NE(PickNameOf(b), name);
    delete a;
    EXPECT_EQ(ObjectOfPickName(name), nullptr) << "a freed object is no longer found";
}

TEST_F(SceneObjectRenderTest, AxesAreDrawnWhenAsked)
{
    TMarkedObject* o = Marked(&root, 1, 0);
    o->SetShowAxes(true);
    o->Render(rci);
    const auto stipple = gl.CallsTo("glLineStipple");
    ASSERT_EQ(stipple.size(), 1u);
    EXPECT_EQ(stipple[0].Args, (std::vector<double>{1, 0xCCCC}));
    EXPECT_EQ(gl.Count("glVertex3f"), 12);
    EXPECT_EQ(gl.CallsTo("glVertex3f")[3].Args, (std::vector<double>{100, 0, 0})) << "depth of view long";
    EXPECT_EQ(gl.CallsTo("glBlendFunc").size(), 1u);
    gl.Clear();
    rci.ignoreBlending = true;
    o->Render(rci);
    EXPECT_EQ(gl.Count("glBlendFunc"), 0);
    EXPECT_EQ(gl.Count("glPushAttrib"), gl.Count("glPopAttrib"));
}

TEST_F(SceneObjectRenderTest, IgnoreDepthBufferRestoresTheDepthTestItFound)
{
    struct Case {
        bool depthOn;
        std::vector<std::string> calls;
    };
    const Case cases[] = {{true, {"glDisable(2929)", "glEnable(2929)"}}, {false, {}}};
    for (const Case& c : cases) {
        TGLStateCache cache;
        if (c.depthOn) {
            cache.Enable(stDepthTest);
        }
        rci.GLStates = &cache;
        gl.Clear();
        TMarkedObject* o = Marked(&root, 1, 0);
        o->IncludeStyle(osIgnoreDepthBuffer);
        o->Render(rci);
        std::vector<std::string> depthCalls;
        for (const std::string& t : gl.Texts()) {
            if (t == "glDisable(2929)" || t == "glEnable(2929)") {
                depthCalls.push_back(t);
            }
        }
        EXPECT_EQ(depthCalls, c.calls);
        EXPECT_EQ((cache.States() & StateBit(stDepthTest)) != 0, c.depthOn);
        delete o;
    }
    rci.GLStates = &states;
}

TEST_F(SceneObjectRenderTest, ResetStatesStyleMakesTheCacheForgetAfterTheObject)
{
    // A forgotten polygon mode is sent to OpenGL again; a remembered one is filtered.
    for (bool reset : {false, true}) {
        TGLStateCache cache;
        rci.GLStates = &cache;
        cache.SetPolygonMode(GL_FRONT, GL_LINE);
        TMarkedObject* o = Marked(&root, 1, 0);
        if (reset) {
            o->IncludeStyle(osResetStatesAfterRender);
        }
        o->Render(rci);
        gl.Clear();
        cache.SetPolygonMode(GL_FRONT, GL_LINE);
        EXPECT_EQ(gl.Count("glPolygonMode"), reset ? 1 : 0) << "reset " << reset;
        delete o;
    }
    rci.GLStates = &states;
}

class TOrderEffect : public TGLObjectPreEffect {
    KP_CLASS(TOrderEffect, TGLObjectPreEffect)
    KP_XCOLLECTION_ITEM(TOrderEffect)
public:
    static std::string ClassTitle() { return "Order pre"; }
    void Render(TGLAbstractWorldBuffer*, TRenderContextInfo&) override { GL.glRectf(-1, 0, 0, 0); }
};

class TOrderPostEffect : public TGLObjectPostEffect {
    KP_CLASS(TOrderPostEffect, TGLObjectPostEffect)
    KP_XCOLLECTION_ITEM(TOrderPostEffect)
public:
    static std::string ClassTitle() { return "Order post"; }
    void Render(TGLAbstractWorldBuffer*, TRenderContextInfo&) override { GL.glRectf(-2, 0, 0, 0); }
};

class TOrderAfterEffect : public TGLObjectAfterEffect {
    KP_CLASS(TOrderAfterEffect, TGLObjectAfterEffect)
    KP_XCOLLECTION_ITEM(TOrderAfterEffect)
public:
    static std::string ClassTitle() { return "Order after"; }
    void Render(TGLAbstractWorldBuffer*, TRenderContextInfo&) override { GL.glRectf(-3, 0, 0, 0); }
};

TEST_F(SceneObjectRenderTest, EffectsDrawAroundTheirObjectAndAfterEffectsAreQueued)
{
    TMarkedObject* o = Marked(&root, 1, 0);
    CreateXCollectionItem<TOrderAfterEffect>(&o->Effects());
    CreateXCollectionItem<TOrderPostEffect>(&o->Effects());
    CreateXCollectionItem<TOrderEffect>(&o->Effects());
    o->Render(rci);
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{-1, 1, -2}));
    ASSERT_EQ(buffer.afterEffects.size(), 1u);
    EXPECT_TRUE(buffer.afterEffects[0]->Is<TOrderAfterEffect>());
    EXPECT_EQ(gl.Count("glPushMatrix"), gl.Count("glPopMatrix"));
}

TEST_F(SceneObjectRenderTest, PointInsideHonoursScale)
{
    struct Case {
        TAffineVector point;
        bool inside;
    };
    const Case cases[] = {{{0.9f, 0, 0}, true},  {{1.1f, 0, 0}, false}, {{-1, 0, 0}, true},
                          {{0, 0.5f, 0}, true},  {{0, 0.6f, 0}, false}, {{0.9f, 0.4f, -0.4f}, true},
                          {{0, 0, -0.51f}, false}};
    TGLBaseSceneObject o;
    o.Scale().SetVector(2, 1, 1);
    for (const Case& c : cases) {
        EXPECT_EQ(o.IsPointInside(c.point), c.inside) << c.point.X << " " << c.point.Y << " " << c.point.Z;
    }
}

TEST_F(SceneObjectRenderTest, RayCastAgainstTheBoundingSphere)
{
    TGLBaseSceneObject o;
    o.Position().SetPoint(0, 0, 5);
    o.Scale().SetVector(2, 2, 2); // radius sqrt(3)
    const TVector sentinel{9, 9, 9, 9};
    TVector point = sentinel, normal = sentinel;
    EXPECT_FALSE(o.RayCastIntersect({0, 3, 0, 1}, {0, 0, 1, 0}, &point, &normal));
    EXPECT_TRUE(VectorEquals(point, sentinel));
    EXPECT_TRUE(VectorEquals(normal, sentinel));
    EXPECT_FALSE(o.RayCastIntersect({0, 0, 10, 1}, {0, 0, 1, 0}, &point)) << "behind the start";
    // A ray vector of any length: it is made a unit vector first.
    ASSERT_TRUE(o.RayCastIntersect({0, 0, 0, 1}, {0, 0, 4, 0}, &point, &normal));
    EXPECT_NEAR(point.Z, 5 - std::sqrt(3.0f), 1e-5);
    EXPECT_NEAR(normal.Z, -1, 1e-6);
    EXPECT_TRUE(o.RayCastIntersect({0, 0, 0, 1}, {0, 0, 1, 0}));
    EXPECT_FALSE(o.RayCastIntersect({0, 0, 0, 1}, {0, 0, 0, 0})) << "no direction";
}

TEST_F(SceneObjectRenderTest, BoundingBoxGrowsByChildrenAndScales)
{
    TGLBaseSceneObject o;
    auto* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&o);
    child->Position().SetPoint(3, 0, 0);
    const TAABB unscaled = o.UnscaledBoundingBox();
    EXPECT_FLOAT_EQ(unscaled.Min.X, -0.5f);
    EXPECT_FLOAT_EQ(unscaled.Max.X, 3.5f);
    EXPECT_FLOAT_EQ(unscaled.Max.Y, 0.5f);
    o.Scale().SetVector(2, 1, 1);
    const TAABB scaled = o.BoundingBox();
    EXPECT_FLOAT_EQ(scaled.Min.X, -1);
    EXPECT_FLOAT_EQ(scaled.Max.X, 7);
    EXPECT_FLOAT_EQ(scaled.Max.Z, 0.5f);
    EXPECT_FLOAT_EQ(o.BoundingSphereRadius(), std::sqrt(1.5f));
    EXPECT_FLOAT_EQ(o.UnscaledBoundingSphereRadius(), std::sqrt(0.75f));
    // The parent's scale carries the child to x = 6.
    EXPECT_FLOAT_EQ(child->SqrDistanceTo({0, 4, 0, 1}), 36 + 16);
    EXPECT_FLOAT_EQ(child->BarycenterSqrDistanceTo({3, 0, 2, 1}), 9 + 4);
}

TEST_F(SceneObjectRenderTest, SilhouetteIsACircleWithOptionalCaps)
{
    struct Case {
        TGLSilhouetteStyle style;
        bool capping;
        int vertices, caps;
    };
    const Case cases[] = {{TGLSilhouetteStyle::ssFromPoint, false, 21, 0},
                          {TGLSilhouetteStyle::ssFromPoint, true, 22, 21},
                          {TGLSilhouetteStyle::ssFromDirection, false, 21, 0}};
    TGLBaseSceneObject o;
    for (const Case& c : cases) {
        const auto s = o.GenerateSilhouette({{0, 0, 10}, {0, 0, -1}, c.style, c.capping});
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Vertices.Count(), c.vertices);
        EXPECT_EQ(s->Indices.Count(), 42);
        EXPECT_EQ(s->CapIndices.Count(), c.caps * 3);
        EXPECT_EQ(s->Indices[40], 20);
        EXPECT_EQ(s->Indices[41], 0) << "the last edge closes the circle";
        const float r = static_cast<float>(VectorXYZLength(s->Vertices[0]));
        if (c.style == TGLSilhouetteStyle::ssFromDirection) {
            EXPECT_FLOAT_EQ(r, o.UnscaledBoundingSphereRadius());
        } else {
            EXPECT_FLOAT_EQ(r, SphereApparentRadius(10, o.UnscaledBoundingSphereRadius()));
        }
        for (int i = 0; i < 21; ++i) {
            EXPECT_NEAR(s->Vertices[i].Z, 0, 1e-6) << "square to the line of sight";
        }
    }
    // An eye inside the sphere keeps the plain radius instead of one at infinity.
    const auto inside = o.GenerateSilhouette({{0, 0, 0.1f}, {}, TGLSilhouetteStyle::ssFromPoint, false});
    EXPECT_FLOAT_EQ(static_cast<float>(VectorXYZLength(inside->Vertices[3])), o.UnscaledBoundingSphereRadius());
}

} // namespace
