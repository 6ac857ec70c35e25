#include "../SceneObjectTestSupport.h"

#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { object->EndUpdate(); }).rfind("Unbalanced Begin/EndUpdate (", 0), 0u);
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

// Pitch, turn and roll with their angle setters and getters.
struct TAxis {
    void (TGLBaseSceneObject::*rotate)(float);
    void (TGLBaseSceneObject::*set)(float);
    float (TGLBaseSceneObject::*get)() const;
    const char* name;
};
const TAxis Axes[] = {
    {&TGLBaseSceneObject::Pitch, &TGLBaseSceneObject::SetPitchAngle, &TGLBaseSceneObject::PitchAngle, "pitch"},
    {&TGLBaseSceneObject::Turn, &TGLBaseSceneObject::SetTurnAngle, &TGLBaseSceneObject::TurnAngle, "turn"},
    {&TGLBaseSceneObject::Roll, &TGLBaseSceneObject::SetRollAngle, &TGLBaseSceneObject::RollAngle, "roll"}};

// Direction and up of a match those of b.
void ExpectSameOrientation(TGLBaseSceneObject& a, TGLBaseSceneObject& b)
{
    ExpectNear(a.Direction().AsVector(), b.Direction().AsVector());
    ExpectNear(a.Up().AsVector(), b.Up().AsVector());
}

TEST_F(SceneObjectPlacementTest, PitchTurnRollRoundTrips)
{
    for (const TAxis& axis : Axes) {
        for (float angle : {30.0f, -45.0f, 90.0f, 170.0f}) {
            TGLBaseSceneObject o, start;
            for (TGLBaseSceneObject* x : {&o, &start}) {
                x->Turn(10); // start off the axes
                x->Pitch(5);
            }
            (o.*axis.rotate)(angle);
            (o.*axis.rotate)(-angle);
            SCOPED_TRACE(std::string(axis.name) + " " + std::to_string(angle));
            ExpectSameOrientation(o, start);
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
    const float cases[][3] = {{30, 0, 30}, {-30, 0, -30}, {120, 30, 150}, {170, 170, -20}, {-100, -100, 160}};
    for (const TAxis& axis : Axes) {
        for (const auto& [first, second, expected] : cases) {
            TGLBaseSceneObject o;
            (o.*axis.rotate)(first);
            (o.*axis.rotate)(second);
            EXPECT_NEAR((o.*axis.get)(), expected, 1e-4) << axis.name << " " << first << " + " << second;
        }
    }
}

TEST_F(SceneObjectPlacementTest, AngleSettersRotateByTheDifferenceAndFold)
{
    for (const TAxis& axis : Axes) {
        SCOPED_TRACE(axis.name);
        TGLBaseSceneObject o, start;
        (o.*axis.set)(40);
        EXPECT_FLOAT_EQ((o.*axis.get)(), 40);
        (o.*axis.set)(0);
        ExpectSameOrientation(o, start);
        (o.*axis.set)(200);
        EXPECT_FLOAT_EQ((o.*axis.get)(), -160);
    }
}

TEST_F(SceneObjectPlacementTest, AngleSettersAgreeWithTheRotations)
{
    for (const TAxis& axis : Axes) {
        SCOPED_TRACE(axis.name);
        const bool turn = axis.rotate == &TGLBaseSceneObject::Turn;
        // Setting the angle gives the orientation the rotation gives...
        TGLBaseSceneObject a, b;
        for (TGLBaseSceneObject* x : {&a, &b}) {
            x->Turn(20); // start off the axes
            (x->*axis.rotate)(10);
        }
        (a.*axis.set)(25);
        (b.*axis.rotate)(turn ? -5.0f : 15.0f); // 25 - stored
        ExpectSameOrientation(a, b);
        // ... and setting the former angle again undoes the rotation.
        TGLBaseSceneObject c, start;
        c.Turn(15);
        start.Turn(15);
        const float before = c.PitchAngle() + c.TurnAngle() + c.RollAngle();
        (c.*axis.rotate)(40);
        const float after = c.PitchAngle() + c.TurnAngle() + c.RollAngle();
        (c.*axis.set)(turn ? 15.0f : 0.0f);
        EXPECT_NEAR(after - before, 40, 1e-4);
        ExpectSameOrientation(c, start);
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
    ExpectSameOrientation(a, b);
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
    ExpectSameOrientation(*object, source);
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

namespace {

// An object whose placement was never asked for sits where its parent is; making the
// placement later (reading a coordinate) keeps the matrices it already answered with.
TEST_F(SceneObjectPlacementTest, AnUnplacedChildSitsWhereItsParentIs)
{
    object->Position().SetPoint(1, 2, 3);
    object->Turn(90);
    auto* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(object);
    const TMatrix parentAbsolute = object->AbsoluteMatrix();
    const TMatrix parentInverse = object->InvAbsoluteMatrix();
    ExpectMatrixNear(child->AbsoluteMatrix(), parentAbsolute);
    ExpectMatrixNear(child->InvAbsoluteMatrix(), parentInverse);
    ExpectNear(child->LocalToAbsolute(TVector{0, 0, 0, 1}), TVector{1, 2, 3, 1});
    EXPECT_FALSE(child->HasPlacement()) << "answering with the parent's matrices made nothing";

    EXPECT_EQ(child->Position().X(), 0.0f);
    ASSERT_TRUE(child->HasPlacement());
    ExpectMatrixNear(child->AbsoluteMatrix(), parentAbsolute);
    ExpectMatrixNear(child->InvAbsoluteMatrix(), parentInverse);

    child->Position().SetPoint(1, 0, 0);
    TMatrix expected{};
    MultiplyMatrices(TMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 1}}}, parentAbsolute, expected);
    ExpectMatrixNear(child->AbsoluteMatrix(), expected);
    object->Position().SetPoint(0, 0, 0);
    EXPECT_NEAR(child->AbsolutePosition().Y, 0.0f, 1e-5f) << "a parent's move reaches the placed child";
}

} // namespace
