#include "../SceneObjectTestSupport.h"

#include "platform/core/Exceptions.h"
#include "scene/graph/Behaviours.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/graph/DirectOpenGL.h"
#include "scene/materials/Material.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/graph/ProxyObject.h"
#include "scene/rendering/Shader.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace scenetest;

namespace {

// Asks for a second pass once per application.
class TTwoPassShader : public TGLShader {
    KP_CLASS(TTwoPassShader, TGLShader)
public:
    using TGLShader::TGLShader;
    int applied = 0;

protected:
    void DoApply(TRenderContextInfo&, TObject*) override
    {
        ++applied;
        secondPassDue_ = true;
    }
    bool DoUnApply(TRenderContextInfo&) override
    {
        const bool again = secondPassDue_;
        secondPassDue_ = false;
        return again;
    }

private:
    bool secondPassDue_ = false;
};

template <class Base>
class TMarked : public Base {
public:
    explicit TMarked(TComponent* owner = nullptr) : Base(owner) {}
    void BuildList(TRenderContextInfo&) override
    {
        ++builds;
        GL.glRectf(static_cast<float>(id), 0, 0, 0);
    }
    using Base::IncludeStyle;
    int id = 0;
    int builds = 0;
};
using TMarkedCustom = TMarked<TGLCustomSceneObject>;
using TMarkedImmaterial = TMarked<TGLImmaterialSceneObject>;

class CustomSceneObjectTest : public ::testing::Test {
protected:
    CustomSceneObjectTest()
    {
        rci.scene = &world;
        rci.buffer = &buffer;
        rci.GLStates = &states;
        world.buffer = &buffer;
        shader = new TTwoPassShader(&library);
        TGLLibMaterial* twoPass = library.Materials()->Add();
        twoPass->SetName("two");
        twoPass->SetShader(shader);
    }

    TGLRecorder gl;
    TNullContext context;
    TRecordingWorld world;
    TRecordingBuffer buffer;
    TGLStateCache states;
    TRenderContextInfo rci;
    TGLMaterialLibrary library;
    TTwoPassShader* shader;
    TGLBaseSceneObject& root = *world.ObjectRoot();
};

TEST_F(CustomSceneObjectTest, OneDrawPerMaterialPass)
{
    struct Case {
        bool ignoreMaterials;
        int draws;
        int shaderApplications;
    };
    const Case cases[] = {{false, 2, 1}, {true, 1, 0}};
    for (const Case& c : cases) {
        gl.Clear();
        shader->applied = 0;
        auto* o = TGLBaseSceneObject::CreateAsChild<TMarkedCustom>(&root);
        o->Material().SetMaterialLibrary(&library);
        o->Material().SetLibMaterialName("two");
        rci.ignoreMaterials = c.ignoreMaterials;
        o->Render(rci);
        EXPECT_EQ(gl.Count("glCallList"), c.draws) << "ignoreMaterials " << c.ignoreMaterials;
        EXPECT_EQ(o->builds, 1) << "the list is compiled once";
        EXPECT_EQ(shader->applied, c.shaderApplications);
        EXPECT_EQ(world.CurrentObject(), o);
        ASSERT_TRUE(o->HasValidDisplayList());
        o->DestroyHandle();
        EXPECT_FALSE(o->HasValidDisplayList());
        EXPECT_EQ(gl.Count("glDeleteLists"), 1);
        delete o;
    }
}

TEST_F(CustomSceneObjectTest, ImmaterialDrawsOnceWithoutItsMaterial)
{
    auto* custom = TGLBaseSceneObject::CreateAsChild<TMarkedCustom>(&root);
    custom->IncludeStyle(osNoDisplayList);
    custom->Render(rci);
    const int materialCalls = gl.Count("glColor4fv") + gl.Count("glMaterialfv");
    EXPECT_GT(materialCalls, 0);

    gl.Clear();
    auto* immaterial = TGLBaseSceneObject::CreateAsChild<TMarkedImmaterial>(&root);
    immaterial->IncludeStyle(osNoDisplayList);
    immaterial->Material().SetMaterialLibrary(&library);
    immaterial->Material().SetLibMaterialName("two");
    immaterial->Render(rci);
    EXPECT_EQ(immaterial->builds, 1);
    EXPECT_EQ(gl.Count("glColor4fv") + gl.Count("glMaterialfv"), 0);
    EXPECT_EQ(shader->applied, 0);
    EXPECT_EQ(world.CurrentObject(), immaterial);
}

TEST_F(CustomSceneObjectTest, MaterialChangesReachTheSceneAndBlendedFollowsThem)
{
    auto* o = TGLBaseSceneObject::CreateAsChild<TGLCustomSceneObject>(&root);
    EXPECT_FALSE(o->Blended());
    world.changes.clear();
    TGLMaterial other(nullptr);
    other.SetBlendingMode(bmAdditive);
    o->SetMaterial(other);
    EXPECT_EQ(o->Material().BlendingMode(), bmAdditive);
    EXPECT_FALSE(world.changes.empty());
    o->Material().SetBlendingMode(bmTransparency);
    EXPECT_TRUE(o->Blended());
}

TEST_F(CustomSceneObjectTest, AssignCopiesMaterialAndHint)
{
    TGLCustomSceneObject a, b;
    a.SetHint("Clamp 1");
    a.Material().SetBlendingMode(bmTransparency);
    a.Position().SetPoint(1, 2, 3);
    b.Assign(&a);
    EXPECT_EQ(b.Hint(), "Clamp 1");
    EXPECT_EQ(b.Material().BlendingMode(), bmTransparency);
    EXPECT_EQ(b.Position().Z(), 3);
}

TEST_F(CustomSceneObjectTest, CameraInvarianceModes)
{
    struct Case {
        TGLCameraInvarianceMode mode;
        const char* expectedLoad;
        const char* absent;
    };
    const Case cases[] = {{cimNone, nullptr, "glGetFloatv"},
                          {cimPosition, "glTranslatef(4, 5, 6)", "glLoadIdentity"},
                          {cimOrientation, "glScalef(1, -1, -1)", "glTranslatef"}};
    const TMatrix view{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {7, 8, 9, 1}}};
    rci.modelViewMatrix = &view;
    rci.cameraPosition = {4, 5, 6, 1};
    for (const Case& c : cases) {
        gl.Clear();
        TMarked<TGLCameraInvariantObject> o;
        o.IncludeStyle(osNoDisplayList);
        o.SetCamInvarianceMode(c.mode);
        o.Render(rci);
        EXPECT_EQ(o.builds, 1);
        const auto texts = gl.Texts();
        if (c.expectedLoad) {
            EXPECT_NE(std::find(texts.begin(), texts.end(), c.expectedLoad), texts.end()) << c.expectedLoad;
            EXPECT_EQ(gl.Count("glGetFloatv"), 1);
        }
        EXPECT_EQ(gl.Count(c.absent), 0) << c.absent;
        if (c.mode == cimPosition) {
            EXPECT_EQ(gl.CallsTo("glLoadMatrixf")[0].Data[12], 7) << "the camera's view";
        }
        EXPECT_TRUE(buffer.stack.empty()) << "pushed and popped";
        EXPECT_EQ(gl.Count("glPushMatrix"), gl.Count("glPopMatrix"));
    }
}

TEST_F(CustomSceneObjectTest, CameraInvarianceCopiesAndNotifies)
{
    auto* a = TGLBaseSceneObject::CreateAsChild<TGLCameraInvariantObject>(&root);
    world.changes.clear();
    a->SetCamInvarianceMode(cimNone);
    EXPECT_TRUE(world.changes.empty());
    a->SetCamInvarianceMode(cimOrientation);
    EXPECT_EQ(world.changes.size(), 1u);
    TGLCameraInvariantObject b;
    b.Assign(a);
    EXPECT_EQ(b.CamInvarianceMode(), cimOrientation);
    TGLCameraInvariantObject bad;
    bad.SetCamInvarianceMode(static_cast<TGLCameraInvarianceMode>(7));
    EXPECT_THROW(bad.DoRender(rci, true, false), EAssertionFailed);
}

// ---- Direct OpenGL and render points ----

TEST_F(CustomSceneObjectTest, DirectOpenGLDrawsNothingWithoutHandlerElseEveryFrameOrFromItsList)
{
    auto* plain = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&root);
    EXPECT_TRUE(plain->ObjectStyle() & StyleBit(osNoDisplayList));
    EXPECT_TRUE(plain->ObjectStyle() & StyleBit(osResetStatesAfterRender));
    plain->Render(rci);
    EXPECT_EQ(gl.Count("glRectf"), 0);
    EXPECT_EQ(gl.Count("glNewList"), 0);
    struct Case {
        bool useBuildList;
        int handlerCalls;
        int lists;
    };
    const Case cases[] = {{false, 3, 0}, {true, 2, 2}};
    for (const Case& c : cases) {
        gl.Clear();
        auto* d = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&root);
        int calls = 0;
        d->OnRender = [&](TObject* sender, TRenderContextInfo&) {
            EXPECT_EQ(sender, d);
            ++calls;
            GL.glRectf(1, 0, 0, 0);
        };
        d->SetUseBuildList(c.useBuildList);
        d->Render(rci);
        d->Render(rci);
        d->StructureChanged();
        d->Render(rci);
        EXPECT_EQ(calls, c.handlerCalls) << "useBuildList " << c.useBuildList;
        EXPECT_EQ(gl.Count("glNewList"), c.lists);
        delete d;
    }
}

TEST_F(CustomSceneObjectTest, DirectOpenGLBlendAndAssign)
{
    auto* d = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&root);
    d->ClearStructureChanged();
    world.changes.clear();
    d->SetBlend(true);
    EXPECT_TRUE(d->Blended());
    EXPECT_EQ(world.changes.size(), 1u);
    d->SetBlend(true);
    EXPECT_EQ(world.changes.size(), 1u);
    d->SetUseBuildList(true);
    int calls = 0;
    d->OnRender = [&](TObject*, TRenderContextInfo&) { ++calls; };
    TGLDirectOpenGL copy;
    copy.Assign(d);
    EXPECT_TRUE(copy.Blend());
    EXPECT_TRUE(copy.UseBuildList());
    EXPECT_FALSE(copy.ObjectStyle() & StyleBit(osNoDisplayList));
    copy.BuildList(rci);
    EXPECT_EQ(calls, 1);
    copy.SetUseBuildList(false);
    EXPECT_TRUE(copy.ObjectStyle() & StyleBit(osNoDisplayList));
}

TEST_F(CustomSceneObjectTest, RenderPointCallsItsPairs)
{
    std::vector<std::string> log;
    auto* point = new TGLRenderPoint();
    std::vector<int> ids;
    for (std::string n : {"1", "2", "3"}) {
        ids.push_back(
            point->RegisterCallBack([&log, n](TObject*, TRenderContextInfo&) { log.push_back("render " + n); },
                                    [&log, n](TObject*) { log.push_back("release " + n); }));
    }
    point->Render(rci);
    EXPECT_EQ(log, (std::vector<std::string>{"render 1", "render 2", "render 3"}));
    log.clear();
    point->UnRegisterCallBack(ids[1]);
    point->UnRegisterCallBack(12345);
    EXPECT_EQ(point->CallBackCount(), 2);
    point->Render(rci);
    EXPECT_EQ(log, (std::vector<std::string>{"render 1", "render 3"}));
    log.clear();
    delete point;
    EXPECT_EQ(log, (std::vector<std::string>{"release 3", "release 1"}));
}

// ---- Proxies ----

TEST_F(CustomSceneObjectTest, ProxyDrawsItsMasterInItsOwnPlace)
{
    auto* master = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    master->id = 5;
    master->IncludeStyle(osNoDisplayList);
    master->Position().SetPoint(1, 0, 0);
    auto* proxy = TGLBaseSceneObject::CreateAsChild<TGLProxyObject>(&root);
    proxy->SetMasterObject(master);
    proxy->Position().SetPoint(0, 2, 0);
    gl.Clear();
    proxy->Render(rci);
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{5}));
    const auto mults = gl.CallsTo("glMultMatrixf");
    ASSERT_EQ(mults.size(), 2u);
    EXPECT_EQ(mults[0].Data[13], 2) << "the proxy's place";
    EXPECT_EQ(mults[1].Data[12], 1) << "then the master's own transformation";

    struct Case {
        TGLProxyObjectOptions options;
        std::vector<int> ids;
        int mults;
    };
    const Case cases[] = {{ProxyOptionBit(pooObjects), {5}, 1}, {ProxyOptionBit(pooTransformation), {}, 1}};
    for (const Case& c : cases) {
        gl.Clear();
        proxy->SetProxyOptions(c.options);
        proxy->Render(rci);
        EXPECT_EQ(DrawnIds(gl), c.ids);
        EXPECT_EQ(gl.Count("glMultMatrixf"), c.mults);
    }
}

TEST_F(CustomSceneObjectTest, ProxyKeepsAMovedMasterAndForgetsAFreedOne)
{
    auto* master = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    auto* proxy = TGLBaseSceneObject::CreateAsChild<TGLProxyObject>(&root);
    proxy->SetMasterObject(master);
    // Both owned by the root: moving the master releases the root's ownership of it,
    // which every component the root owns hears of; the proxy keeps it...
    TGLBaseSceneObject elsewhere;
    master->MoveTo(&elsewhere);
    EXPECT_EQ(master->Owner(), nullptr);
    EXPECT_EQ(proxy->MasterObject(), master);
    // ... and still hears when it is freed.
    delete master;
    EXPECT_EQ(proxy->MasterObject(), nullptr);
    gl.Clear();
    proxy->Render(rci);
    EXPECT_TRUE(DrawnIds(gl).empty());
    EXPECT_FALSE(proxy->RayCastIntersect({0, 0, -5, 1}, {0, 0, 1, 0}));
    EXPECT_EQ(proxy->GenerateSilhouette({{0, 0, 5}, {}, TGLSilhouetteStyle::ssFromPoint, false}), nullptr);
    EXPECT_FLOAT_EQ(proxy->UnscaledHalfExtents().X, 0.5f);
}

TEST_F(CustomSceneObjectTest, ProxyInsideItsOwnMasterStopsAtTheSecondVisit)
{
    auto* master = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    master->id = 8;
    master->IncludeStyle(osNoDisplayList);
    auto* proxy = TGLBaseSceneObject::CreateAsChild<TGLProxyObject>(master);
    proxy->SetMasterObject(master);
    gl.Clear();
    master->Render(rci);
    // The master itself, then once more through the proxy; the proxy met again below
    // the master's second drawing draws nothing.
    EXPECT_EQ(DrawnIds(gl), (std::vector<int>{8, 8}));
}

TEST_F(CustomSceneObjectTest, ProxyBoundsAndRayTestsAreTheMastersInTheProxysPlace)
{
    auto* master = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    master->halfExtents = {2, 2, 2, 0};
    master->Position().SetPoint(10, 0, 0);
    auto* proxy = TGLBaseSceneObject::CreateAsChild<TGLProxyObject>(&root);
    proxy->SetMasterObject(master);
    proxy->Position().SetPoint(0, 0, 20);
    EXPECT_FLOAT_EQ(proxy->UnscaledHalfExtents().X, 2);
    TVector point{}, normal{};
    // A ray at the proxy's place hits; the point comes back in the proxy's frame.
    ASSERT_TRUE(proxy->RayCastIntersect({0, 0, 0, 1}, {0, 0, 1, 0}, &point, &normal));
    EXPECT_NEAR(point.Z, 20 - std::sqrt(12.0f), 1e-4);
    EXPECT_NEAR(point.X, 0, 1e-5);
    EXPECT_NEAR(normal.Z, -1, 1e-5);
    EXPECT_FALSE(proxy->RayCastIntersect({0, 10, 0, 1}, {0, 0, 1, 0}));
    const auto s = proxy->GenerateSilhouette({{0, 0, 5}, {}, TGLSilhouetteStyle::ssFromDirection, false});
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Vertices.Count(), 21);
}

TEST_F(CustomSceneObjectTest, ProxyAssignAndOptionsNotify)
{
    auto* master = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    auto* proxy = TGLBaseSceneObject::CreateAsChild<TGLProxyObject>(&root);
    proxy->SetMasterObject(master);
    TGLProxyObject copy;
    copy.Assign(proxy);
    EXPECT_EQ(copy.MasterObject(), master);
    proxy->ClearStructureChanged();
    world.changes.clear();
    proxy->SetProxyOptions(AllProxyOptions);
    EXPECT_TRUE(world.changes.empty());
    proxy->SetProxyOptions(ProxyOptionBit(pooObjects));
    EXPECT_EQ(world.changes.size(), 1u);
}

// ---- Behaviour and effect collections ----

class TSpin : public TGLBehaviour {
    KP_CLASS(TSpin, TGLBehaviour)
    KP_XCOLLECTION_ITEM(TSpin)
public:
    static std::string ClassTitle() { return "Spin"; }
    void DoProgress(const TProgressTimes&) override { log->push_back("spin " + Name()); }
    std::vector<std::string>* log = nullptr;
};

class TOnlyOne : public TGLBehaviour {
    KP_CLASS(TOnlyOne, TGLBehaviour)
    KP_XCOLLECTION_ITEM(TOnlyOne)
public:
    static std::string ClassTitle() { return "Only one"; }
    static bool IsUniqueItem() { return true; }
};

class TShine : public TGLObjectPreEffect {
    KP_CLASS(TShine, TGLObjectPreEffect)
    KP_XCOLLECTION_ITEM(TShine)
public:
    static std::string ClassTitle() { return "Shine"; }
    void Render(TGLAbstractWorldBuffer*, TRenderContextInfo&) override { log->push_back("shine " + Name()); }
    void DoProgress(const TProgressTimes&) override { log->push_back("step " + Name()); }
    std::vector<std::string>* log = nullptr;
};

TEST_F(CustomSceneObjectTest, CollectionsRefuseTheOtherKind)
{
    TGLBaseSceneObject o;
    struct Case {
        TXCollection* collection;
        const TXCollectionItemClass* cls;
        bool accepted;
    };
    const Case cases[] = {
        {&o.Behaviours(), &XCollectionItemClassOf<TSpin>(), true},
        {&o.Behaviours(), &XCollectionItemClassOf<TShine>(), false},
        {&o.Effects(), &XCollectionItemClassOf<TShine>(), true},
        {&o.Effects(), &XCollectionItemClassOf<TSpin>(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.collection->CanAdd(*c.cls), c.accepted) << c.cls->Name();
        if (!c.accepted) {
            const std::string text =
                ErrorText<EAssertionFailed>([&] { CreateXCollectionItem(*c.cls, c.collection); });
            EXPECT_EQ(text.rfind("Addition of " + c.cls->Name() + " to " + c.collection->ClassName() + " rejected.", 0),
                      0u)
                << text;
        }
    }
    EXPECT_EQ(o.Behaviours().Count(), 0);
    CreateXCollectionItem<TOnlyOne>(&o.Behaviours());
    EXPECT_FALSE(o.Behaviours().CanAdd(XCollectionItemClassOf<TOnlyOne>())) << "the general rule still holds";
}

TEST_F(CustomSceneObjectTest, CollectionsBelongToSceneObjects)
{
    TComponent stranger;
    EXPECT_THROW(TGLBehaviours{&stranger}, EAssertionFailed);
    EXPECT_THROW(TGLObjectEffects{&stranger}, EAssertionFailed);
    TGLBaseSceneObject o;
    EXPECT_EQ(o.Behaviours().GetNamePath(), "TGLBehaviours");
    o.SetName("Bit");
    EXPECT_EQ(o.Behaviours().GetNamePath(), "Bit.Behaviours");
    EXPECT_EQ(o.Effects().GetNamePath(), "Bit.Effects");
    auto* spin = CreateXCollectionItem<TSpin>(&o.Behaviours());
    EXPECT_EQ(spin->OwnerBaseSceneObject(), &o);
    EXPECT_EQ(o.Behaviours().ItemsClass(), TGLBehaviour::StaticClass());
    EXPECT_EQ(o.Effects().ItemsClass(), TGLObjectEffect::StaticClass());
}

TEST_F(CustomSceneObjectTest, ItemsStepAndRenderInListOrder)
{
    std::vector<std::string> log;
    TGLBaseSceneObject o;
    for (const char* name : {"a", "b"}) {
        auto* spin = CreateXCollectionItem<TSpin>(&o.Behaviours());
        spin->SetName(name);
        spin->log = &log;
        auto* shine = CreateXCollectionItem<TShine>(&o.Effects());
        shine->SetName(name);
        shine->log = &log;
    }
    o.DoProgress({0.1, 1});
    EXPECT_EQ(log, (std::vector<std::string>{"spin a", "spin b", "step a", "step b"}));
    log.clear();
    o.Effects().RenderPreEffects(&buffer, rci);
    o.Effects().RenderPostEffects(&buffer, rci);
    EXPECT_EQ(log, (std::vector<std::string>{"shine a", "shine b"}));
    EXPECT_TRUE(buffer.afterEffects.empty());
}

} // namespace
