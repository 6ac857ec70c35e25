#include "../UpdateAbleTestSupport.h"

#include "platform/core/objects/Filer.h"
#include "platform/core/graphics/SystemColors.h"
#include "scene/materials/Color.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Color, ComponentSettersNotifyOnlyOnRealChange)
{
    TRecordingComponent owner;
    TGLColor c(&owner);
    c.SetColorComponent(3, 1.0f);
    EXPECT_TRUE(owner.changes.empty());
    c.SetAlpha(0.5f);
    EXPECT_EQ(c.Alpha(), 0.5f);
    EXPECT_EQ(owner.changes.size(), 1u);
    c.SetColor(c.Color());
    EXPECT_EQ(owner.changes.size(), 2u) << "SetColor always notifies";
}

TEST(Color, OwnerRebuildsItsStructureOnEveryChange)
{
    TRecordingComponent owner;
    TEventCounter counter;
    TGLColor c(&owner, ColorRed, MakeDelegate<&TEventCounter::Handle>(&counter));
    EXPECT_EQ(c.Red(), 1);
    c.SetColor(ColorBlue);
    c.SetColor(ColorBlue);
    EXPECT_EQ(owner.structureChanges, 2);
    EXPECT_EQ(owner.changes.size(), 2u);
    EXPECT_EQ(counter.calls, 2);
    EXPECT_EQ(counter.lastSender, &c);
    c.Initialize(ColorWhite);
    EXPECT_EQ(owner.structureChanges, 2) << "Initialize is quiet";
    TGLColor orphan(nullptr, ColorWhite, MakeDelegate<&TEventCounter::Handle>(&counter));
    orphan.SetColor(ColorBlack);
    EXPECT_EQ(counter.calls, 2) << "a colour without owner tells nobody";
}

TEST(Color, AssignCopiesAndNotifiesStreamReadDoesNot)
{
    TRecordingComponent owner;
    TGLColor a(nullptr, {0.1f, 0.2f, 0.3f, 0.4f});
    TGLColor b(&owner);
    b.Assign(&a);
    EXPECT_EQ(b.Green(), 0.2f);
    EXPECT_EQ(owner.changes.size(), 1u);
    const auto props = TBinaryPropertyWriter::Collect(a);
    ASSERT_EQ(props.size(), 1u);
    EXPECT_EQ(props[0].first, "Color");
    EXPECT_EQ(props[0].second.size(), 16u);
    TGLColor c(&owner);
    TBinaryPropertyReader::Apply(c, props);
    EXPECT_EQ(c.Alpha(), 0.4f);
    EXPECT_EQ(owner.changes.size(), 1u);
    TGLCoordinates notAColor(nullptr);
    EXPECT_THROW(b.Assign(&notAColor), EConvertError);
}

TEST(Color, ColorToVector)
{
    struct Case {
        TColor color;
        float alpha;
        TVector expected;
    } cases[] = {
        {255, 0.5f, {1, 0, 0, 0.5f}},
        {RGB(0, 255, 0), 1, {0, 1, 0, 1}},
        {RGB(0, 0, 255), 1, {0, 0, 1, 1}},
        {RGB(51, 102, 204), 1, {0.2f, 0.4f, 0.8f, 1}},
        {clBtnFace, 1, {240 / 255.0f, 240 / 255.0f, 240 / 255.0f, 1}},
        {clWindow, 0, {1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        const TVector v = ColorToVector(c.color, c.alpha);
        EXPECT_FLOAT_EQ(v.X, c.expected.X) << c.color;
        EXPECT_FLOAT_EQ(v.Y, c.expected.Y) << c.color;
        EXPECT_FLOAT_EQ(v.Z, c.expected.Z) << c.color;
        EXPECT_EQ(v.W, c.expected.W);
    }
    EXPECT_EQ(ColorToVector(255, 1).X, 1.0f) << "exactly 1, not 0.99999994";
}

TEST(Color, VectorToColorRoundsHalfToEvenAndClamps)
{
    struct Case {
        TVector color;
        TColor expected;
    } cases[] = {
        {{1, 0.5f, 0, 1}, RGB(255, 128, 0)},
        {{0, 0, 0, 0}, RGB(0, 0, 0)},
        {{2.5f / 255, 3.5f / 255, 0.2f, 1}, RGB(2, 4, 51)},
        {{1.5f, -0.5f, 2, 1}, RGB(255, 0, 255)},
        {{-3, 1.004f, 1.01f, 1}, RGB(0, 255, 255)},
        {{std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 0.5f, 0},
         RGB(0, 255, 128)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VectorToColor(c.color), c.expected) << c.color.X << " " << c.color.Y << " " << c.color.Z;
    }
    TGLColor round(nullptr);
    round.SetAsWinColor(RGB(10, 20, 30));
    EXPECT_EQ(round.AsWinColor(), RGB(10, 20, 30));
}
