#include "../UpdateAbleTestSupport.h"
#include "../ErrorTextTestSupport.h"

#include "platform/core/objects/Filer.h"
#include "scene/graph/Coordinates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

void ExpectVector(const TVector& v, float x, float y, float z, float w)
{
    EXPECT_EQ(v.X, x);
    EXPECT_EQ(v.Y, y);
    EXPECT_EQ(v.Z, z);
    EXPECT_EQ(v.W, w);
}

} // namespace

TEST(Coordinates, StylesDecideTheFourthComponent)
{
    struct Case {
        TGLCoordinatesStyle style;
        float wFromVector;
        float wFromAffine;
    } cases[] = {
        {TGLCoordinatesStyle::csPoint, 1, 1},
        {TGLCoordinatesStyle::csVector, 0, 0},
        {TGLCoordinatesStyle::csUnknown, 5, 0},
    };
    for (const Case& c : cases) {
        TGLCoordinates coords(nullptr, TVector{9, 9, 9, 9}, c.style);
        coords.SetAsVector({1, 2, 3, 5});
        ExpectVector(coords.AsVector(), 1, 2, 3, c.wFromVector);
        coords.SetAsAffineVector({4, 5, 6});
        ExpectVector(coords.AsVector(), 4, 5, 6, c.wFromAffine);
        EXPECT_EQ(coords.GetAsAffineVector().Y, 5);
    }
}

TEST(Coordinates, SetVectorAndSetPointRefuseTheWrongStyleAndKeepTheValue)
{
    TGLCoordinates point(nullptr, TVector{1, 1, 1, 1}, TGLCoordinatesStyle::csPoint);
    EXPECT_THROW(point.SetVector(2, 2, 2), EAssertionFailed);
    EXPECT_THROW(point.SetVector(2, 2, 2, 2), EAssertionFailed);
    ExpectVector(point.AsVector(), 1, 1, 1, 1);
    point.SetPoint(3, 4, 5);
    ExpectVector(point.AsVector(), 3, 4, 5, 1);

    TGLCoordinates vector(nullptr, TVector{0, 0, 1, 0}, TGLCoordinatesStyle::csVector);
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { vector.SetPoint(1, 1, 1); }),
                ::testing::StartsWith("Assertion failure (Coordinates.cpp, line "));
    ExpectVector(vector.AsVector(), 0, 0, 1, 0);
    vector.SetVector(1, 2, 3);
    ExpectVector(vector.AsVector(), 1, 2, 3, 0);
    vector.SetVector(1, 2, 3, 7);
    ExpectVector(vector.AsVector(), 1, 2, 3, 7);
}

TEST(Coordinates, OwnedByACoordinatesOwnerOnlyCoordinateChangedIsCalled)
{
    TRecordingCoordinateOwner owner;
    TGLCoordinates coords(&owner, TVector{0, 0, 0, 1}, TGLCoordinatesStyle::csPoint);
    TEventCounter counter;
    coords.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&counter);
    coords.SetX(1);
    coords.SetCoordinate(2, 1); // no comparison: the same value notifies again
    coords.SetCoordinate(2, 1);
    coords.Translate(TAffineVector{1, 0, 0});
    ASSERT_EQ(owner.coordinateChanges.size(), 4u);
    EXPECT_EQ(owner.coordinateChanges[0], &coords);
    EXPECT_TRUE(owner.changes.empty());
    EXPECT_EQ(counter.calls, 0);
    EXPECT_EQ(coords.X(), 2);
}

TEST(Coordinates, OtherOwnersGetNotifyChangeThenTheEvent)
{
    TRecordingComponent owner;
    TGLCoordinates coords(&owner, TVector{0, 0, 0, 0}, TGLCoordinatesStyle::csVector);
    TEventCounter counter;
    coords.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&counter);
    coords.SetY(3);
    ASSERT_EQ(owner.changes.size(), 1u);
    EXPECT_EQ(owner.changes[0], &coords);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.lastSender, &coords);

    TGLCoordinates orphan(nullptr);
    TEventCounter silent;
    orphan.OnNotifyChange = MakeDelegate<&TEventCounter::Handle>(&silent);
    orphan.SetX(1);
    EXPECT_EQ(silent.calls, 0) << "no owner, no event";
}

TEST(Coordinates, QuietOperationsDoNotNotify)
{
    TRecordingCoordinateOwner owner;
    TGLCoordinates a(&owner, TVector{1, 2, 3, 1}, TGLCoordinatesStyle::csPoint);
    TGLCoordinates b(&owner, TVector{0, 0, 0, 0}, TGLCoordinatesStyle::csUnknown);
    b.Assign(&a);
    ExpectVector(b.AsVector(), 1, 2, 3, 1);
    b.SetVectorQuiet({4, 5, 6, 7});
    ExpectVector(b.AsVector(), 4, 5, 6, 7);
    TBinaryPropertyReader::Apply(b, {{"Coordinates", TBinaryPropertyWriter::Collect(a)[0].second}});
    ExpectVector(b.AsVector(), 1, 2, 3, 1);
    EXPECT_TRUE(owner.coordinateChanges.empty());
    TRecordingComponent notCoordinates;
    EXPECT_THROW(b.Assign(&notCoordinates), EConvertError);
}

TEST(Coordinates, StreamPropertyIsSixteenLittleEndianBytesAlwaysWritten)
{
    TGLCoordinates zero(nullptr);
    auto props = TBinaryPropertyWriter::Collect(zero);
    ASSERT_EQ(props.size(), 1u);
    EXPECT_EQ(props[0].first, "Coordinates");
    EXPECT_EQ(props[0].second, std::string(16, '\0'));
    TGLCoordinates c(nullptr, TVector{1, -2, 0.5f, 1}, TGLCoordinatesStyle::csPoint);
    EXPECT_EQ(TBinaryPropertyWriter::Collect(c)[0].second,
              std::string("\x00\x00\x80\x3F\x00\x00\x00\xC0\x00\x00\x00\x3F\x00\x00\x80\x3F", 16));
    EXPECT_THROW(TBinaryPropertyReader::Apply(c, {{"Coordinates", "short"}}), EReadError);
}

TEST(Coordinates, GeometryHelpers)
{
    TGLCoordinates c(nullptr, TVector{3, 0, 4, 1}, TGLCoordinatesStyle::csUnknown);
    EXPECT_FLOAT_EQ(c.VectorLength(), 5);
    c.Normalize();
    EXPECT_FLOAT_EQ(c.X(), 0.6f);
    EXPECT_FLOAT_EQ(c.Z(), 0.8f);
    EXPECT_EQ(c.W(), 0);
    TGLCoordinates r(nullptr, TVector{1, 0, 0, 0}, TGLCoordinatesStyle::csVector);
    r.Rotate({0, 0, 1}, static_cast<float>(M_PI / 2));
    EXPECT_NEAR(r.X(), 0, 1e-6);
    EXPECT_NEAR(std::fabs(r.Y()), 1, 1e-6);
    EXPECT_EQ(r.VectorPointer(), &r.AsVector());
}

TEST(Coordinates, EqualsComparesBitPatterns)
{
    TGLCoordinates c(nullptr, TVector{0, 1, 2, 3}, TGLCoordinatesStyle::csUnknown);
    EXPECT_TRUE(c.Equals({0, 1, 2, 3}));
    EXPECT_FALSE(c.Equals({-0.0f, 1, 2, 3}));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    c.SetVectorQuiet({nan, 1, 2, 3});
    TVector same = c.AsVector();
    EXPECT_TRUE(c.Equals(same)) << "the same NaN bits are equal";
}
