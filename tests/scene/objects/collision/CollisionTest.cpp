#include "platform/core/Exceptions.h"
#include "platform/core/files/Stream.h"
#include "scene/graph/SceneObject.h"
#include "scene/objects/collision/Collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A scene object of any half extents that counts how often its box is asked for.
class TBox : public TGLBaseSceneObject {
    KP_CLASS(TBox, TGLBaseSceneObject)
public:
    TBox(TAffineVector at, TAffineVector half) : half_{half.X, half.Y, half.Z, 0}
    {
        Position().SetPoint(at.X, at.Y, at.Z);
    }
    TVector UnscaledHalfExtents() const override
    {
        ++queries;
        return half_;
    }
    TGLBCollision* Collide(TCollisionManager* manager, TCollisionBoundingMode mode, int group = 0)
    {
        auto* c = CreateXCollectionItem<TGLBCollision>(&Behaviours());
        c->BoundingMode = mode;
        c->SetGroupIndex(group);
        c->SetManager(manager);
        return c;
    }
    mutable int queries = 0;

private:
    TVector half_;
};

constexpr TAffineVector One{1, 1, 1};

const float R3 = std::sqrt(3.0f); // bounding radius of a unit half-extents box

TEST(CollisionPairTest, TableEntryDecides)
{
    struct Case {
        const char* name;
        TCollisionBoundingMode mode1, mode2;
        TAffineVector at1, half1, at2, half2;
        bool expected;
    };
    const Case cases[] = {
        {"PointsApart", cbmPoint, cbmPoint, {0, 0, 0}, One, {0.01f, 0, 0}, One, false},
        {"PointsTogether", cbmPoint, cbmPoint, {0, 0, 0}, One, {0.0005f, 0, 0}, One, true},
        {"PointOnSphere", cbmPoint, cbmSphere, {R3, 0, 0}, One, {0, 0, 0}, One, true},
        {"PointOffSphere", cbmPoint, cbmSphere, {1.8f, 0, 0}, One, {0, 0, 0}, One, false},
        {"SpheresTouch", cbmSphere, cbmSphere, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0}, true},
        {"PointInEllipsoid", cbmPoint, cbmEllipsoid, {1.9f, 0, 0}, One, {0, 0, 0}, {2, 1, 1}, true},
        {"PointOffEllipsoid", cbmPoint, cbmEllipsoid, {1.5f, 0.8f, 0}, One, {0, 0, 0}, {2, 1, 1}, false},
        {"PointOnCubeCorner", cbmPoint, cbmCube, {2, 1, 1}, One, {0, 0, 0}, {2, 1, 1}, true},
        {"PointInCubeNotEllipsoid", cbmPoint, cbmCube, {1.5f, 0.8f, 0}, One, {0, 0, 0}, {2, 1, 1}, true},
        {"SphereNearCubeEdge", cbmSphere, cbmCube, {1.4f, 1.4f, 0}, {0.5f, 0.5f, 0}, {0, 0, 0}, One, true},
        {"SphereOffCubeCorner", cbmSphere, cbmCube, {2, 2, 2}, {0.5f, 0.5f, 0}, {0, 0, 0}, One, false},
        {"SphereInEllipsoid", cbmSphere, cbmEllipsoid, {2.5f, 0, 0}, {0.5f, 0, 0}, {0, 0, 0}, {2, 1, 1}, true},
        {"EllipsoidsApart", cbmEllipsoid, cbmEllipsoid, {3, 0, 0}, One, {0, 0, 0}, One, false},
        {"EllipsoidsClose", cbmEllipsoid, cbmEllipsoid, {1, 0, 0}, One, {0, 0, 0}, One, true},
        {"EllipsoidNearCube", cbmEllipsoid, cbmCube, {1.5f, 0, 0}, {0.5f, 0, 0}, {0, 0, 0}, One, true},
        {"CubeInsideCube", cbmCube, cbmCube, {0.2f, 0, 0}, {0.3f, 0.3f, 0.3f}, {0, 0, 0}, {2, 2, 2}, true},
        {"CubesCrossAsPlus", cbmCube, cbmCube, {0, 0, 0}, {2, 0.4f, 0.4f}, {0, 0, 0}, {0.5f, 2, 0.5f}, true},
        {"CubesFaceToFace", cbmCube, cbmCube, {0, 0, 0}, One, {2, 0, 0}, One, true},
        {"CubesApart", cbmCube, cbmCube, {0, 0, 0}, One, {2.1f, 0, 0}, One, false},
        {"FacesAsBoxAgainstCube", cbmFaces, cbmCube, {0, 0, 0}, {2, 0.4f, 0.4f}, {0, 0, 0}, {0.5f, 2, 0.5f}, true},
        {"FacesAsBoxApart", cbmFaces, cbmFaces, {0, 0, 0}, One, {2.5f, 0, 0}, One, false},
        {"FacesAsCubeAgainstPoint", cbmFaces, cbmPoint, {0, 0, 0}, One, {1, 1, 1}, One, true},
    };
    for (const Case& c : cases) {
        TBox a(c.at1, c.half1), b(c.at2, c.half2);
        EXPECT_EQ(CollisionTestTable[c.mode1][c.mode2](&a, &b), c.expected) << c.name;
        EXPECT_EQ(CollisionTestTable[c.mode2][c.mode1](&b, &a), c.expected) << c.name << ", mirrored entry";
    }
}

TEST(CollisionGeometryTest, SegmentCrossesOnlyThroughAFace)
{
    struct Case {
        TAffineVector p, q;
        bool expected;
    };
    const Case cases[] = {
        {{-2, 0, 0}, {2, 0, 0}, true},       // straight through
        {{-0.5f, 0, 0}, {0.5f, 0, 0}, false}, // wholly inside: the corner test covers it
        {{1, -2, 0}, {1, 2, 0}, true},        // along a face, inclusive
        {{2, -2, 0}, {2, 2, 0}, false},       // beside the box
        {{-2, 0, 0}, {-1.5f, 0, 0}, false},   // stops short
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SegmentIntersectsCube(c.p, c.q, One), c.expected) << c.p.X << "," << c.p.Y << " " << c.q.X;
    }
}

class CollisionManagerTest : public ::testing::Test {
protected:
    TBox* Add(TAffineVector at, TAffineVector half, TCollisionBoundingMode mode = cbmCube, int group = 0)
    {
        boxes.push_back(std::make_unique<TBox>(at, half));
        boxes.back()->Collide(&manager, mode, group);
        return boxes.back().get();
    }
    void Listen()
    {
        manager.OnCollision = [this](TObject* sender, TGLBaseSceneObject* a, TGLBaseSceneObject* b) {
            EXPECT_EQ(sender, &manager);
            hits.emplace_back(a, b);
        };
    }

    TCollisionManager manager;
    std::vector<std::unique_ptr<TBox>> boxes; // freed before the manager
    std::vector<std::pair<TGLBaseSceneObject*, TGLBaseSceneObject*>> hits;
};

TEST_F(CollisionManagerTest, NothingWithoutAHandlerElseEachPairOnceWithTheLowerBoxFirst)
{
    TBox* high = Add({0, 0, 1}, One);
    TBox* low = Add({0, 0, 0}, One);
    TBox* middle = Add({0.5f, 0, 0.5f}, One);
    Add({10, 0, 0}, One); // overlaps on Z only
    low->queries = 0;
    manager.CheckCollisions();
    EXPECT_EQ(low->queries, 0);
    Listen();
    manager.CheckCollisions();
    using P = std::pair<TGLBaseSceneObject*, TGLBaseSceneObject*>;
    EXPECT_EQ(hits, (std::vector<P>{{low, middle}, {low, high}, {middle, high}}));
}

TEST_F(CollisionManagerTest, GroupsFlatBoxesAndLoneClientsStayOut)
{
    struct Case {
        const char* name;
        int group1, group2;
        TAffineVector half2;
        std::size_t expected;
    };
    const Case cases[] = {
        {"group 0 meets all", 0, 3, One, 1},         {"one group never", 2, 2, One, 0},
        {"different groups", 1, 2, One, 1},          {"negative group out", 0, -1, One, 0},
        {"flat box out", 0, 0, {1, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        boxes.clear();
        hits.clear();
        Add({0, 0, 0}, One, cbmCube, c.group1);
        Add({0, 0, 0.5f}, c.half2, cbmCube, c.group2);
        Listen();
        manager.CheckCollisions();
        EXPECT_EQ(hits.size(), c.expected) << c.name;
    }
    boxes.resize(1);
    hits.clear();
    manager.CheckCollisions();
    EXPECT_TRUE(hits.empty()) << "a single client";
}

TEST_F(CollisionManagerTest, HandlerRunsAfterThePassAndMayFreeObjects)
{
    TBox* a = Add({0, 0, 0}, One);
    Add({0, 0, 0.5f}, One);
    Add({0, 0, 1}, One);
    int calls = 0;
    manager.OnCollision = [&](TObject*, TGLBaseSceneObject*, TGLBaseSceneObject* b) {
        ++calls;
        manager.CheckCollisions(); // a modal box ticking the animation: ignored
        for (auto& box : boxes) {
            if (box.get() == b) {
                box.reset(); // freed by the handler: its later pairs are dropped
            }
        }
    };
    manager.CheckCollisions();
    EXPECT_EQ(calls, 2) << "(a, middle) frees middle, (a, top) frees top, (middle, top) dropped";
    EXPECT_EQ(manager.ClientCount(), 1);
    EXPECT_EQ(manager.Clients(0)->OwnerBaseSceneObject(), a);
}

TEST(CollisionBehaviourTest, RegistrationFollowsTheManager)
{
    auto first = std::make_unique<TCollisionManager>();
    TCollisionManager second;
    TBox box({0, 0, 0}, One);
    TGLBCollision* c = box.Collide(first.get(), cbmSphere, 4);
    first->RegisterClient(c);
    EXPECT_EQ(first->ClientCount(), 1) << "no duplicates";
    c->SetManager(&second);
    EXPECT_EQ(first->ClientCount(), 0);
    EXPECT_EQ(c->Manager(), &second);

    TBox other({0, 0, 0}, One);
    auto* copy = CreateXCollectionItem<TGLBCollision>(&other.Behaviours());
    copy->Assign(c);
    EXPECT_EQ(copy->Manager(), &second);
    EXPECT_EQ(copy->BoundingMode, cbmSphere);
    EXPECT_EQ(copy->GroupIndex(), 4);
    EXPECT_EQ(second.ClientCount(), 2);

    copy->SetManager(first.get());
    first.reset();
    EXPECT_EQ(copy->Manager(), nullptr) << "a freed manager leaves its clients unregistered";
}

TEST(CollisionBehaviourTest, StreamRecordRoundTripsAndChecksItsValues)
{
    RegisterCollisionClasses();
    TCollisionManager manager;
    manager.SetName("CollisionManager1");
    TBox box({0, 0, 0}, One);
    TGLBCollision* c = box.Collide(&manager, cbmCube, 7);
    TMemoryStream stream;
    TBinaryWriter writer(stream);
    c->WriteToFiler(writer);
    // Version 0 has no group; an unknown manager leaves the behaviour unregistered.
    for (auto [version, name, mode] : {std::tuple{0, "Unknown", 2}, {1, "", 5}, {1, "", -1}}) {
        writer.WriteInteger(version);
        writer.WriteString(name);
        writer.WriteInteger(mode);
        writer.WriteInteger(9);
    }
    stream.SetPosition(0);
    TBinaryReader reader(stream);
    struct Expected {
        TCollisionManager* manager;
        TCollisionBoundingMode mode;
        int group;
    };
    for (const Expected& e : {Expected{&manager, cbmCube, 7}, Expected{nullptr, cbmEllipsoid, 0}}) {
        TGLBCollision loaded;
        loaded.ReadFromFiler(reader);
        EXPECT_EQ(loaded.Manager(), nullptr) << "unregistered until loading finishes";
        loaded.Loaded();
        EXPECT_EQ(loaded.Manager(), e.manager);
        EXPECT_EQ(loaded.BoundingMode, e.mode);
        EXPECT_EQ(loaded.GroupIndex(), e.group);
        EXPECT_TRUE(loaded.PendingManagerName().empty());
    }
    reader.ReadInteger(); // the version 0 record left its group value unread
    for (int bad = 0; bad < 2; ++bad) {
        TGLBCollision item;
        EXPECT_THROW(item.ReadFromFiler(reader), EReadError) << "a bounding mode outside the known ones";
        reader.ReadInteger();
    }
}

} // namespace
