#include "../SceneObjectTestSupport.h"

#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/Exceptions.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace scenetest;

namespace {

// A camera stand-in: the tree takes cameras out before freeing a subtree.
class TCameraLike : public TGLBaseSceneObject {
    KP_CLASS(TCameraLike, TGLBaseSceneObject)
public:
    explicit TCameraLike(TComponent* owner = nullptr) : TGLBaseSceneObject(owner) {}
    ~TCameraLike() override { ++freed; }
    bool IsCamera() const override { return true; }
    static inline int freed = 0;
};

// Counts its own destruction, to catch double frees and leaks in tree operations.
class TCountedObject : public TGLBaseSceneObject {
    KP_CLASS(TCountedObject, TGLBaseSceneObject)
public:
    explicit TCountedObject(TComponent* owner = nullptr) : TGLBaseSceneObject(owner) { ++alive; }
    ~TCountedObject() override { --alive; }
    static inline int alive = 0;
};

std::vector<TGLBaseSceneObject*> ChildrenOf(const TGLBaseSceneObject& parent)
{
    std::vector<TGLBaseSceneObject*> out;
    for (int i = 0; i < parent.Count(); ++i) {
        out.push_back(parent.Children(i));
    }
    return out;
}

std::vector<std::string> NamesOf(const TGLBaseSceneObject& parent)
{
    std::vector<std::string> names;
    for (TGLBaseSceneObject* child : ChildrenOf(parent)) {
        names.push_back(child->Name());
    }
    return names;
}

// Named before it joins, so the scene's light log shows the name.
TGLBaseSceneObject* Named(TGLBaseSceneObject* parent, const std::string& name)
{
    auto* child = new TGLBaseSceneObject(parent);
    child->SetName(name);
    parent->AddChild(child);
    return child;
}

class SceneObjectTreeTest : public ::testing::Test {
protected:
    TRecordingWorld world;
    TGLBaseSceneObject& root = *world.ObjectRoot();
};

TEST_F(SceneObjectTreeTest, CreateAsChildJoinsParentAndScene)
{
    TGLBaseSceneObject* a = Named(&root, "a");
    TGLBaseSceneObject* b = Named(&root, "b");
    EXPECT_EQ(ChildrenOf(root), (std::vector<TGLBaseSceneObject*>{a, b}));
    EXPECT_EQ(a->Parent(), &root);
    EXPECT_EQ(a->Scene(), &world);
    EXPECT_EQ(a->Owner(), &root);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(world.lightLog, (std::vector<std::string>{"add a", "add b"}));
    delete a; // freeing a child takes it out of its parent
    EXPECT_EQ(ChildrenOf(root), (std::vector<TGLBaseSceneObject*>{b}));
}

TEST_F(SceneObjectTreeTest, InsertKeepsOrderAndClampsIndex)
{
    struct Case {
        int index;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {0, {"x", "a", "b"}},
        {1, {"a", "x", "b"}},
        {2, {"a", "b", "x"}},
        {-5, {"x", "a", "b"}},
        {99, {"a", "b", "x"}},
    };
    for (const Case& c : cases) {
        TGLBaseSceneObject parent;
        Named(&parent, "a");
        Named(&parent, "b");
        auto* x = new TGLBaseSceneObject();
        x->SetName("x");
        parent.Insert(c.index, x);
        EXPECT_EQ(NamesOf(parent), c.order) << "index " << c.index;
        EXPECT_EQ(x->Parent(), &parent);
    }
}

TEST_F(SceneObjectTreeTest, AddChildOfAnObjectWithAParentDetachesItFirst)
{
    TCountedObject::alive = 0;
    {
        TGLBaseSceneObject p1, p2;
        auto* child = TGLBaseSceneObject::CreateAsChild<TCountedObject>(&p1);
        p2.AddChild(child);
        EXPECT_EQ(p1.Count(), 0);
        EXPECT_EQ(ChildrenOf(p2), (std::vector<TGLBaseSceneObject*>{child}));
        EXPECT_EQ(child->Parent(), &p2);
        // Ownership by the old parent was released, so only p2's tree frees it.
        EXPECT_EQ(child->Owner(), nullptr);
        EXPECT_EQ(p1.ComponentCount(), 0);
    }
    EXPECT_EQ(TCountedObject::alive, 0);
}

TEST_F(SceneObjectTreeTest, AddingAnObjectToItsOwnSubtreeIsRefused)
{
    TGLBaseSceneObject* a = Named(&root, "a");
    TGLBaseSceneObject* b = Named(a, "b");
    EXPECT_THROW(b->AddChild(a), EAssertionFailed);
    EXPECT_THROW(a->AddChild(a), EAssertionFailed);
    EXPECT_THROW(a->MoveTo(b), EAssertionFailed);
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(a->Parent(), &root);
}

TEST_F(SceneObjectTreeTest, RemoveKeepingChildrenHandsThemToTheFormerParentInOrder)
{
    TGLBaseSceneObject* a = Named(&root, "a");
    TGLBaseSceneObject* mid = Named(&root, "mid");
    TGLBaseSceneObject* z = Named(&root, "z");
    TGLBaseSceneObject* c1 = Named(mid, "c1");
    TGLBaseSceneObject* c2 = Named(mid, "c2");
    TGLBaseSceneObject* c3 = Named(mid, "c3");
    root.Remove(mid, true);
    EXPECT_EQ(mid->Count(), 0);
    EXPECT_EQ(mid->Parent(), nullptr);
    EXPECT_EQ(mid->Scene(), &world) << "the scene link stays";
    EXPECT_EQ(ChildrenOf(root), (std::vector<TGLBaseSceneObject*>{a, z, c1, c2, c3}));
    EXPECT_EQ(c2->Parent(), &root);
    delete mid;
}

TEST_F(SceneObjectTreeTest, RemoveWithoutKeepingChildrenTakesTheSubtreeAndIgnoresStrangers)
{
    TGLBaseSceneObject stranger;
    TGLBaseSceneObject* mid = Named(&root, "mid");
    TGLBaseSceneObject* c1 = Named(mid, "c1");
    world.changes.clear();
    root.Remove(&stranger, false);
    EXPECT_EQ(root.Count(), 1);
    EXPECT_TRUE(world.changes.empty());
    root.Remove(mid, false);
    EXPECT_EQ(root.Count(), 0);
    EXPECT_EQ(ChildrenOf(*mid), (std::vector<TGLBaseSceneObject*>{c1}));
    EXPECT_EQ(world.changes.size(), 1u);
    EXPECT_EQ(world.lightLog.back(), "remove mid");
    delete mid;
}

TEST_F(SceneObjectTreeTest, MoveToNilLeavesParentAndScene)
{
    TGLBaseSceneObject* a = Named(&root, "a");
    TGLBaseSceneObject* b = Named(a, "b");
    a->MoveTo(nullptr);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(a->Scene(), nullptr);
    EXPECT_EQ(b->Scene(), nullptr);
    TGLBaseSceneObject other;
    a->MoveTo(&other);
    EXPECT_EQ(a->Parent(), &other);
}

TEST_F(SceneObjectTreeTest, SetIndexClampsAndReorders)
{
    struct Case {
        int from, to;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {0, 2, {"b", "c", "a"}},
        {2, 0, {"c", "a", "b"}},
        {1, 1, {"a", "b", "c"}},
        {0, 50, {"b", "c", "a"}},
        {2, -3, {"c", "a", "b"}},
    };
    for (const Case& c : cases) {
        TRecordingWorld w;
        TGLBaseSceneObject* r = w.ObjectRoot();
        Named(r, "a");
        Named(r, "b");
        Named(r, "c");
        r->Children(c.from)->SetIndex(c.to);
        EXPECT_EQ(NamesOf(*r), c.order) << c.from << " -> " << c.to;
        EXPECT_EQ(w.updateCount, 0);
    }
}

TEST_F(SceneObjectTreeTest, DeleteChildrenFreesEveryDescendantOnce)
{
    TCountedObject::alive = 0;
    {
        TGLBaseSceneObject parent;
        auto* a = TGLBaseSceneObject::CreateAsChild<TCountedObject>(&parent);
        TGLBaseSceneObject::CreateAsChild<TCountedObject>(a);
        TGLBaseSceneObject::CreateAsChild<TCountedObject>(&parent);
        // One not owned by its parent as a component: the tree frees it all the same.
        parent.AddChild(new TCountedObject());
        EXPECT_EQ(TCountedObject::alive, 4);
        parent.DeleteChildren();
        EXPECT_EQ(TCountedObject::alive, 0);
        EXPECT_EQ(parent.Count(), 0);
        TGLBaseSceneObject::CreateAsChild<TCountedObject>(&parent);
    }
    EXPECT_EQ(TCountedObject::alive, 0);
}

TEST_F(SceneObjectTreeTest, CamerasAreTakenOutAndTheirChildrenKept)
{
    TCameraLike::freed = 0;
    TGLBaseSceneObject group;
    auto* camera = TGLBaseSceneObject::CreateAsChild<TCameraLike>(&group);
    auto* underCamera = Named(camera, "under");
    auto* plain = Named(&group, "plain");
    auto* deepCamera = TGLBaseSceneObject::CreateAsChild<TCameraLike>(plain);
    (void)deepCamera;
    group.DeleteChildCameras();
    EXPECT_EQ(TCameraLike::freed, 2);
    EXPECT_EQ(ChildrenOf(group), (std::vector<TGLBaseSceneObject*>{plain, underCamera}));
    EXPECT_EQ(plain->Count(), 0);
}

TEST_F(SceneObjectTreeTest, StreamingParentPicksTheSceneRootByKind)
{
    auto* object = new TGLBaseSceneObject();
    object->SetParentComponent(&world);
    EXPECT_EQ(object->Parent(), world.ObjectRoot());
    auto* camera = new TCameraLike();
    camera->SetParentComponent(&world);
    EXPECT_EQ(camera->Parent(), world.CameraRoot());
    TComponent notAnObject;
    object->SetParentComponent(&notAnObject);
    EXPECT_EQ(object->Parent(), nullptr);
    EXPECT_EQ(object->Scene(), nullptr);
    EXPECT_EQ(object->GetParentComponent(), nullptr);
    EXPECT_FALSE(object->HasParent());
    std::vector<TComponent*> streamed;
    world.CameraRoot()->GetChildren([&](TComponent* c) { streamed.push_back(c); });
    EXPECT_EQ(streamed, (std::vector<TComponent*>{camera}));
    delete object;
}

TEST_F(SceneObjectTreeTest, RootNeedsASceneOwner)
{
    TComponent owner;
    EXPECT_THROW(new TGLWorldRootObject(&owner), EAssertionFailed);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(world.ObjectRoot()->Scene(), &world);
    EXPECT_TRUE(world.ObjectRoot()->ObjectStyle() & StyleBit(osNoDisplayList));
}

TEST_F(SceneObjectTreeTest, LeavingASceneFreesTheSubtreeDisplayLists)
{
    TGLRecorder gl;
    TNullContext context;
    TGLBaseSceneObject* a = Named(&root, "a");
    TGLBaseSceneObject* b = Named(a, "b");
    TRenderContextInfo rci;
    const GLuint la = a->GetHandle(rci);
    const GLuint lb = b->GetHandle(rci);
    ASSERT_NE(la, 0u);
    ASSERT_NE(lb, 0u);
    gl.Clear();
    a->MoveTo(nullptr);
    EXPECT_EQ(gl.Count("glDeleteLists"), 2);
    EXPECT_FALSE(a->HasValidDisplayList());
    EXPECT_FALSE(b->HasValidDisplayList());
    delete a; // detached from the root, which no longer owns it
}

TEST_F(SceneObjectTreeTest, AddNewChildCreatesTheClassUnderTheSameOwner)
{
    RegisterClass<TCountedObject>();
    TComponent form;
    auto* parent = new TGLBaseSceneObject(&form);
    TGLBaseSceneObject* first = parent->AddNewChild(TCountedObject::StaticClass());
    TGLBaseSceneObject* before = parent->AddNewChildFirst(TGLBaseSceneObject::StaticClass());
    EXPECT_TRUE(first->Is<TCountedObject>());
    EXPECT_EQ(first->Owner(), &form);
    EXPECT_EQ(ChildrenOf(*parent), (std::vector<TGLBaseSceneObject*>{before, first}));
    auto* typed = parent->AddNewChild<TCountedObject>();
    EXPECT_EQ(typed->Owner(), &form);
    EXPECT_EQ(parent->Count(), 3);
}

} // namespace
