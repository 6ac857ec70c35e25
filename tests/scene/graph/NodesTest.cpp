#include "../UpdateAbleTestSupport.h"

#include "scene/graph/NamedManagers.h"
#include "scene/graph/Nodes.h"
#include "scene/base/CubicSpline.h"

#include <gtest/gtest.h>

TEST(Nodes, AddAndNodeChangesReachTheOwnerOnce)
{
    TRecordingComponent owner;
    TGLNodes nodes(&owner);
    TGLNode* n = nodes.Add();
    ASSERT_EQ(owner.changes.size(), 1u);
    EXPECT_EQ(owner.changes[0], &nodes);
    n->SetAsVector({1, 2, 3, 4});
    n->SetCoordinate(1, 5);
    EXPECT_EQ(owner.changes.size(), 3u);
    EXPECT_EQ(n->Y(), 5);
    EXPECT_EQ(n->W(), 4);
    EXPECT_EQ(n->GetAsAffineVector().Z, 3);
}

TEST(Nodes, UpdateBracketsHoldNotificationsAndTheLastEndUpdateSendsTwo)
{
    TRecordingComponent owner;
    TGLNodes nodes(&owner);
    nodes.Add();
    owner.changes.clear();
    nodes.BeginUpdate();
    nodes.BeginUpdate();
    nodes.Add()->SetAsVector({1, 1, 1, 1});
    nodes.Items(0)->SetX(4);
    nodes.NotifyChange();
    nodes.EndUpdate();
    EXPECT_TRUE(owner.changes.empty()) << "an inner EndUpdate says nothing";
    nodes.EndUpdate();
    EXPECT_EQ(owner.changes.size(), 2u) << "once through Update, once from EndUpdate itself";
}

TEST(Nodes, OwnersThatAreNotUpdateAbleHearNothingAndAnotherCollectionIsAnInvalidCastAfterStoring)
{
    TComponent plain;
    TGLNodes nodes(&plain);
    nodes.Add()->SetX(1);
    TGLNodes orphan(nullptr);
    orphan.Add()->SetX(2);
    EXPECT_EQ(orphan[0]->X(), 2);
    TCollection other(CollectionItemClassOf<TGLNode>());
    auto* node = static_cast<TGLNode*>(other.Add());
    EXPECT_THROW(node->SetX(3), EConvertError);
    EXPECT_EQ(node->X(), 3);
    TGLNode loose(nullptr);
    loose.SetAsVector({1, 2, 3, 4});
    EXPECT_EQ(loose.Z(), 3);
}

TEST(Nodes, DisplayNameStoredCoordinatesAndAssign)
{
    TGLNodes nodes(nullptr);
    TGLNode* n = nodes.AddNode(TAffineVector{1, 2.5f, -3});
    EXPECT_EQ(n->DisplayName(), "1.0000; 2.5000; -3.0000");
    n->SetX(0);
    EXPECT_FALSE(n->StoreCoordinate(0));
    EXPECT_TRUE(n->StoreCoordinate(1));
    TGLNode* m = nodes.Add();
    m->Assign(n);
    EXPECT_EQ(m->Y(), 2.5f);
    // whole lists copy too
    TGLNodes a(nullptr), b(nullptr);
    a.AddNode(TVector{1, 2, 3, 1});
    a.AddNode(TVector{4, 5, 6, 1});
    b.AddNode(TVector{9, 9, 9, 9});
    b.Assign(&a);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(b[1]->Z(), 6);
    EXPECT_EQ(b[1]->W(), 1);
}

TEST(Nodes, PolygonNormal)
{
    struct Case {
        std::vector<TAffineVector> points;
        TAffineVector normal;
    } cases[] = {
        {{}, {0, 0, 0}},
        {{{0, 0, 0}, {1, 0, 0}}, {0, 0, 0}},
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 0, 1}},
        {{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, {0, 0, -1}},
        {{{5, 5, 5}, {5, 5, 7}, {5, 9, 5}, {0, 0, 0}}, {-1, 0, 0}},
    };
    for (const Case& c : cases) {
        TGLNodes nodes(nullptr);
        for (const TAffineVector& p : c.points) {
            nodes.AddNode(p);
        }
        const TAffineVector n = nodes.PolygonNormal();
        EXPECT_FLOAT_EQ(n.X, c.normal.X) << c.points.size() << " points";
        EXPECT_FLOAT_EQ(n.Y, c.normal.Y) << c.points.size() << " points";
        EXPECT_FLOAT_EQ(n.Z, c.normal.Z) << c.points.size() << " points";
    }
}

TEST(Nodes, MakeSplinePassesThroughTheNodes)
{
    TGLNodes nodes(nullptr);
    nodes.AddNode(TAffineVector{0, 0, 0});
    nodes.AddNode(TAffineVector{1, 2, 3});
    nodes.AddNode(TAffineVector{4, 0, -1});
    auto spline = nodes.MakeSpline();
    for (int i = 0; i < 3; ++i) {
        const TAffineVector p = spline->SplineAffineVector(static_cast<float>(i));
        EXPECT_NEAR(p.X, nodes[i]->X(), 1e-5);
        EXPECT_NEAR(p.Y, nodes[i]->Y(), 1e-5);
        EXPECT_NEAR(p.Z, nodes[i]->Z(), 1e-5);
    }
}

namespace {
class TNotified : public TCollectionItem {
    KP_CLASS(TNotified, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    void Touch() { Changed(false); }
};
} // namespace

TEST(Nodes, NotifyCollectionReportsToAnUpdateAbleOwner)
{
    TRecordingComponent owner;
    TNotifyCollection c(&owner, CollectionItemClassOf<TNotified>());
    static_cast<TNotified*>(c.Add())->Touch();
    ASSERT_EQ(owner.changes.size(), 2u);
    EXPECT_EQ(owner.changes[1], &c);
    TNotifyCollection loose(nullptr, CollectionItemClassOf<TNotified>());
    TEventCounter counter;
    loose.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&counter);
    loose.Add();
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.lastSender, &loose);
}

TEST(UpdateAble, ObjectChainsReachTheTopComponent)
{
    TRecordingComponent top;
    TGLUpdateAbleComponent middle(&top);
    TGLUpdateAbleObject outer(&middle);
    TGLUpdateAbleObject inner(&outer);
    TEventCounter outerEvents;
    outer.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&outerEvents);
    inner.NotifyChange(&inner);
    ASSERT_EQ(top.changes.size(), 1u);
    EXPECT_EQ(top.changes[0], &middle);
    EXPECT_EQ(outerEvents.calls, 1);
    EXPECT_EQ(outerEvents.lastSender, &outer);
    TGLUpdateAbleObject lonely(nullptr);
    TEventCounter never;
    lonely.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&never);
    lonely.NotifyChange(&lonely);
    EXPECT_EQ(never.calls, 0);
}

TEST(NamedManagers, AddFindRemove)
{
    TRecordingComponent a;
    a.SetName("Collisions");
    TComponent b;
    b.SetName("Collisions");
    const int index = AddNamedManager(&a);
    EXPECT_EQ(AddNamedManager(&a), index);
    AddNamedManager(&b);
    EXPECT_EQ(FindNamedManager(TRecordingComponent::StaticClass(), "Collisions"), &a);
    EXPECT_EQ(FindNamedManager(TComponent::StaticClass(), "Collisions"), &a) << "first listed";
    EXPECT_EQ(FindNamedManager(TRecordingComponent::StaticClass(), "collisions"), nullptr) << "case-sensitive";
    RemoveNamedManager(&a);
    EXPECT_EQ(FindNamedManager(TRecordingComponent::StaticClass(), "Collisions"), nullptr);
    EXPECT_EQ(FindNamedManager(TComponent::StaticClass(), "Collisions"), &b);
    RemoveNamedManager(&b);
    RemoveNamedManager(&b);
}
