#include "SceneObjectTestSupport.h"

#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace scenetest;

namespace {

void ExpectNear(const TVector& actual, const TVector& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

void ExpectMatrixNear(const TMatrix& actual, const TMatrix& expected, float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r) {
        ExpectNear(actual.V[r], expected.V[r], tolerance);
    }
}

class SceneObjectPlacementTest : public ::testing::Test {
protected:
    TRecordingWorld world;
    TGLBaseSceneObject& root = *world.ObjectRoot();
    TGLBaseSceneObject* object = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&root);
};

TEST_F(SceneObjectPlacementTest, LocalMatrixIsBuiltFromTheVectors)
{
    object->Position().SetPoint(1, 2, 3);
    object->Scale().SetVector(2, 3, 4);
    const TMatrix& m = object->Matrix();
    ExpectMatrixNear(m, TMatrix{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 1}}});
    EXPECT_EQ(object->Changes() & ChangeBit(ocTransformation), 0);
}

TEST_F(SceneObjectPlacementTest, AbsoluteMatrixEqualsLocalUntilARealParent)
{
    object->Position().SetPoint(5, 0, 0);
    ExpectMatrixNear(object->AbsoluteMatrix(), object->Matrix());
    TGLBaseSceneObject* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(object);
    child->Position().SetPoint(0, 1, 0);
    ExpectNear(child->AbsolutePosition(), TVector{5, 1, 0, 1});
    object->Position().SetPoint(7, 0, 0);
    ExpectNear(child->AbsolutePosition(), TVector{7, 1, 0, 1}); // a parent move reaches the child
}

TEST_F(SceneObjectPlacementTest, InverseMatrixUndoesTheAbsoluteOne)
{
    struct Case {
        TVector scale;
        float turn;
    };
    const Case cases[] = {{{1, 1, 1, 0}, 0}, {{1, 1, 1, 0}, 40}, {{2, 1, 0.5f, 0}, 0}, {{3, 3, 3, 0}, -70}};
    for (const Case& c : cases) {
        TGLBaseSceneObject* parent = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&root);
        parent->Position().SetPoint(1, -2, 3);
        parent->Turn(25);
        TGLBaseSceneObject* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(parent);
        child->Position().SetPoint(-4, 0.5f, 2);
        child->Scale().SetAsVector(c.scale);
        child->Turn(c.turn);
        const TMatrix product = MultiplyMatrices(child->AbsoluteMatrix(), child->InvAbsoluteMatrix());
        ExpectMatrixNear(product, IdentityMatrix, 1e-4f);
        const TAffineVector p{0.25f, 0.5f, -1};
        const TVector abs = child->LocalToAbsolute(TVector{p.X, p.Y, p.Z, 1});
        const TAffineVector back = child->AbsoluteToLocal(TAffineVector{abs.X, abs.Y, abs.Z});
        EXPECT_NEAR(back.X, p.X, 1e-4f);
        EXPECT_NEAR(back.Y, p.Y, 1e-4f);
        EXPECT_NEAR(back.Z, p.Z, 1e-4f);
    }
}

TEST_F(SceneObjectPlacementTest, PositionAndStructureChangesNotifyOnceUntilUsed)
{
    object->Matrix(); // as a render would
    world.changes.clear();
    object->Position().SetPoint(1, 0, 0);
    object->Position().SetPoint(2, 0, 0);
    EXPECT_EQ(world.changes.size(), 1u);
    object->Matrix();
    object->Position().SetPoint(3, 0, 0);
    EXPECT_EQ(world.changes.size(), 2u);
    object->ClearStructureChanged();
    world.changes.clear();
    object->StructureChanged();
    object->StructureChanged();
    EXPECT_EQ(world.changes.size(), 1u);
    auto* drawn = TGLBaseSceneObject::CreateAsChild<TMarkedObject>(&root);
    drawn->IncludeStyle(osNoDisplayList);
    world.changes.clear();
    drawn->StructureChanged();
    drawn->StructureChanged();
    EXPECT_EQ(world.changes.size(), 2u) << "without a display list every change redraws";
}

TEST_F(SceneObjectPlacementTest, UpdateBracketHoldsNotificationsUntilTheEnd)
{
    object->Matrix();
    world.changes.clear();
    object->BeginUpdate();
    object->BeginUpdate();
    object->SetVisible(false);
    object->SetShowAxes(true);
    EXPECT_TRUE(object->IsUpdating());
    object->EndUpdate();
    EXPECT_TRUE(world.changes.empty());
    object->EndUpdate();
    EXPECT_EQ(world.changes.size(), 1u);
    EXPECT_EQ(ThrownText<EAssertionFailed>([&] { object->EndUpdate(); }).rfind("Unbalanced Begin/EndUpdate (", 0), 0u);
}

TEST_F(SceneObjectPlacementTest, SettersNotifyOnlyOnChange)
{
    world.changes.clear();
    object->SetVisible(true);
    object->SetShowAxes(false);
    object->SetObjectsSorting(osInherited);
    object->SetVisibilityCulling(vcInherited);
    EXPECT_TRUE(world.changes.empty());
    object->SetObjectsSorting(osNone);
    object->SetVisibilityCulling(vcObjectBased);
    EXPECT_EQ(world.changes.size(), 2u);
}

TEST_F(SceneObjectPlacementTest, InvalidationStopsAtNodesAlreadyStale)
{
    TGLBaseSceneObject* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(object);
    TGLBaseSceneObject* grandChild = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(child);
    grandChild->AbsoluteMatrixRef();
    grandChild->InvAbsoluteMatrixRef();
    constexpr auto both = ChangeBit(ocAbsoluteMatrix) | ChangeBit(ocInverseMatrix);
    EXPECT_EQ(grandChild->Changes() & both, 0);
    object->Position().SetPoint(0, 0, 1);
    EXPECT_EQ(child->Changes() & both, both);
    EXPECT_EQ(grandChild->Changes() & both, both);
    ExpectNear(grandChild->AbsolutePosition(), TVector{0, 0, 1, 1});
}

TEST_F(SceneObjectPlacementTest, ZeroVectorsBecomeTheAxesAndAnUpChangeTurnsDirectionSquare)
{
    object->Direction().SetVector(0, 0, 0);
    ExpectNear(object->Direction().AsVector(), TVector{0, 0, 1, 0});
    ExpectNear(object->Up().AsVector(), TVector{0, 1, 0, 0});
    object->Up().SetVector(0, 0, 0);
    ExpectNear(object->Up().AsVector(), TVector{0, 1, 0, 0});
    object->Up().SetVector(0, 1, 1);
    ExpectNear(object->Up().AsVector(), TVector{0, 0.70710677f, 0.70710677f, 0});
    ExpectNear(object->Direction().AsVector(), TVector{0, -0.70710677f, 0.70710677f, 0});
    EXPECT_NEAR(VectorDotProduct(object->Up().AsVector(), object->Direction().AsVector()), 0, 1e-6);
}

TEST_F(SceneObjectPlacementTest, DirectionParallelToUpFallsBackForTheRightVector)
{
    struct Case {
        TVector up, direction, expectedUp;
    };
    const Case cases[] = {
        // right falls back to Z x Up = (-1, 0, 0); Up := right x Direction.
        {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}},
        // Z x Up is zero too; right := X x Up = (0, -1, 0).
        {{0, 0, 1, 0}, {0, 0, 1, 0}, {-1, 0, 0, 0}},
        // not parallel: Up is made square to Direction.
        {{0, 1, 0, 0}, {0, 1, 1, 0}, {0, 0.70710677f, -0.70710677f, 0}},
    };
    for (const Case& c : cases) {
        TGLBaseSceneObject o;
        o.Up().SetVectorQuiet(c.up);
        o.Direction().SetAsVector(c.direction);
        ExpectNear(o.Up().AsVector(), c.expectedUp);
        ExpectNear(o.Direction().AsVector(), NormalizedVector(c.direction));
    }
}

TEST_F(SceneObjectPlacementTest, PitchTurnRollRoundTrips)
{
    using Rotation = void (TGLBaseSceneObject::*)(float);
    const Rotation rotations[] = {&TGLBaseSceneObject::Pitch, &TGLBaseSceneObject::Turn, &TGLBaseSceneObject::Roll};
    const float angles[] = {30, -45, 90, 170};
    for (Rotation rotate : rotations) {
        for (float angle : angles) {
            TGLBaseSceneObject o;
            o.Turn(10); // start off the axes
            o.Pitch(5);
            const TVector dir = o.Direction().AsVector();
            const TVector up = o.Up().AsVector();
            (o.*rotate)(angle);
            (o.*rotate)(-angle);
            ExpectNear(o.Direction().AsVector(), dir, 1e-5f);
            ExpectNear(o.Up().AsVector(), up, 1e-5f);
        }
    }
}

TEST_F(SceneObjectPlacementTest, PitchKeepsTheFrameOrthonormalAndReportsItsAngle)
{
    object->Pitch(30);
    const TVector d = object->Direction().AsVector();
    const TVector u = object->Up().AsVector();
    EXPECT_NEAR(VectorXYZLength(d), 1, 1e-6);
    EXPECT_NEAR(VectorXYZLength(u), 1, 1e-6);
    EXPECT_NEAR(VectorDotProduct(d, u), 0, 1e-6);
    EXPECT_NEAR(d.X, 0, 1e-6);
    EXPECT_NEAR(std::fabs(d.Y), 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(object->PitchAngle(), 30);
}

TEST_F(SceneObjectPlacementTest, RotationsAddToTheirAngleWithinAHalfTurn)
{
    struct Case {
        float first, second, expected;
    };
    const Case cases[] = {{30, 0, 30}, {-30, 0, -30}, {120, 30, 150}, {170, 170, -20}, {-100, -100, 160}};
    using Rotation = void (TGLBaseSceneObject::*)(float);
    using Getter = float (TGLBaseSceneObject::*)() const;
    const std::pair<Rotation, Getter> axes[] = {{&TGLBaseSceneObject::Pitch, &TGLBaseSceneObject::PitchAngle},
                                                {&TGLBaseSceneObject::Turn, &TGLBaseSceneObject::TurnAngle},
                                                {&TGLBaseSceneObject::Roll, &TGLBaseSceneObject::RollAngle}};
    for (const auto& [rotate, angle] : axes) {
        for (const Case& c : cases) {
            TGLBaseSceneObject o;
            (o.*rotate)(c.first);
            (o.*rotate)(c.second);
            EXPECT_NEAR((o.*angle)(), c.expected, 1e-4) << c.first << " + " << c.second;
        }
    }
}

TEST_F(SceneObjectPlacementTest, AngleSettersRotateByTheDifferenceAndFold)
{
    using Setter = void (TGLBaseSceneObject::*)(float);
    using Getter = float (TGLBaseSceneObject::*)() const;
    struct Case {
        Setter set;
        Getter get;
    };
    const Case cases[] = {{&TGLBaseSceneObject::SetPitchAngle, &TGLBaseSceneObject::PitchAngle},
                          {&TGLBaseSceneObject::SetTurnAngle, &TGLBaseSceneObject::TurnAngle},
                          {&TGLBaseSceneObject::SetRollAngle, &TGLBaseSceneObject::RollAngle}};
    for (const Case& c : cases) {
        TGLBaseSceneObject o;
        const TVector dir = o.Direction().AsVector();
        const TVector up = o.Up().AsVector();
        (o.*c.set)(40);
        EXPECT_FLOAT_EQ((o.*c.get)(), 40);
        (o.*c.set)(0);
        ExpectNear(o.Direction().AsVector(), dir);
        ExpectNear(o.Up().AsVector(), up);
        (o.*c.set)(200);
        EXPECT_FLOAT_EQ((o.*c.get)(), -160);
    }
}

TEST_F(SceneObjectPlacementTest, AngleSettersAgreeWithTheRotations)
{
    using Rotation = void (TGLBaseSceneObject::*)(float);
    using Setter = void (TGLBaseSceneObject::*)(float);
    const std::pair<Rotation, Setter> axes[] = {{&TGLBaseSceneObject::Pitch, &TGLBaseSceneObject::SetPitchAngle},
                                                {&TGLBaseSceneObject::Turn, &TGLBaseSceneObject::SetTurnAngle},
                                                {&TGLBaseSceneObject::Roll, &TGLBaseSceneObject::SetRollAngle}};
    for (const auto& [rotate, set] : axes) {
        // Setting the angle gives the orientation the rotation gives...
        TGLBaseSceneObject a, b;
        a.Turn(20); // start off the axes
        b.Turn(20);
        (a.*rotate)(10);
        (b.*rotate)(10);
        (a.*set)(25);
        (b.*rotate)(rotate == &TGLBaseSceneObject::Turn ? -5.0f : 15.0f); // 25 - stored
        ExpectNear(a.Direction().AsVector(), b.Direction().AsVector());
        ExpectNear(a.Up().AsVector(), b.Up().AsVector());
        // ... and setting the former angle again undoes the rotation.
        TGLBaseSceneObject c;
        c.Turn(15);
        const TVector dir = c.Direction().AsVector();
        const TVector up = c.Up().AsVector();
        const float before = c.PitchAngle() + c.TurnAngle() + c.RollAngle();
        (c.*rotate)(40);
        const float after = c.PitchAngle() + c.TurnAngle() + c.RollAngle();
        (c.*set)(rotate == &TGLBaseSceneObject::Turn ? 15.0f : 0.0f);
        EXPECT_NEAR(after - before, 40, 1e-4);
        ExpectNear(c.Direction().AsVector(), dir);
        ExpectNear(c.Up().AsVector(), up);
    }
}

TEST_F(SceneObjectPlacementTest, AnglesWhileLoadingAreOnlyStored)
{
    TGLBaseSceneObject o;
    o.BeginLoading();
    o.SetTurnAngle(30);
    EXPECT_FLOAT_EQ(o.TurnAngle(), 30);
    ExpectNear(o.Direction().AsVector(), TVector{0, 0, 1, 0});
    o.Position().SetVectorQuiet(TVector{1, 2, 3, 0});
    o.Loaded();
    EXPECT_FALSE(o.IsLoading());
    EXPECT_EQ(o.Position().W(), 1);
}

TEST_F(SceneObjectPlacementTest, RotationCoordinatesRebuildTheOrientation)
{
    TGLBaseSceneObject a, b;
    a.Rotation().SetVector(20, 35, -15);
    b.ResetAndPitchTurnRoll(20, 35, -15);
    ExpectNear(a.Direction().AsVector(), b.Direction().AsVector());
    ExpectNear(a.Up().AsVector(), b.Up().AsVector());
    EXPECT_FLOAT_EQ(b.PitchAngle(), 20);
    EXPECT_FLOAT_EQ(b.TurnAngle(), 35);
    EXPECT_FLOAT_EQ(b.RollAngle(), -15);
    TGLBaseSceneObject c;
    c.Pitch(20);
    TGLBaseSceneObject d;
    d.ResetAndPitchTurnRoll(20, 0, 0);
    ExpectNear(c.Direction().AsVector(), d.Direction().AsVector());
}

TEST_F(SceneObjectPlacementTest, ResetRotationsKeepsPositionAndScale)
{
    object->Position().SetPoint(1, 2, 3);
    object->Scale().SetVector(2, 2, 2);
    object->Turn(50);
    object->Roll(10);
    object->ResetRotations();
    EXPECT_EQ(object->Changes() & ChangeBit(ocTransformation), 0);
    ExpectMatrixNear(object->Matrix(), TMatrix{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {1, 2, 3, 1}}});
    ExpectNear(object->Rotation().AsVector(), TVector{0, 0, 0, 0});
    ExpectNear(object->AbsolutePosition(), TVector{1, 2, 3, 1});
}

TEST_F(SceneObjectPlacementTest, SetMatrixSplitsIntoTheVectors)
{
    TGLBaseSceneObject source;
    source.Position().SetPoint(4, 5, 6);
    source.Scale().SetVector(1, 2, 3);
    source.Turn(30);
    object->SetMatrix(source.Matrix());
    ExpectNear(object->Position().AsVector(), TVector{4, 5, 6, 1});
    ExpectNear(object->Scale().AsVector(), TVector{1, 2, 3, 0}, 1e-5f);
    ExpectNear(object->Direction().AsVector(), source.Direction().AsVector());
    ExpectNear(object->Up().AsVector(), source.Up().AsVector());
    ExpectMatrixNear(object->Matrix(), source.Matrix());
}

TEST_F(SceneObjectPlacementTest, AbsoluteAxesAndSideVectors)
{
    object->Turn(90);
    TGLBaseSceneObject* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(object);
    ExpectNear(child->AbsoluteDirection(), object->Direction().AsVector());
    ExpectNear(child->AbsoluteUp(), TVector{0, 1, 0, 0});
    const TVector left = object->LeftVector();
    const TVector right = object->RightVector();
    ExpectNear(AddVectors(left, right), TVector{0, 0, 0, 0});
    ExpectNear(right, object->Matrix().V[0]);
    object->Position().SetPoint(1, 1, 1);
    object->Translate(2, -1, 0.5f);
    ExpectNear(object->Position().AsVector(), TVector{3, 0, 1.5f, 1});
}

} // namespace
