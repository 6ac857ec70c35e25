// The preview's arithmetic without a window: the bit's glide, the caret line's marker,
// the variables list's rows and the collision question.

#include "app/run/BitAnimation.h"

#include "engine/ParsedLine.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TEST(BitStep, GlidesAtMostAQuarterPerAxisAndSnapsOnArrival)
{
    // Speed 50 at 20 ms is the whole remaining distance, capped to 0.25 on the largest
    // axis, the others in proportion.
    TAffineVector bit{0, 0, 0};
    EXPECT_TRUE(MoveBitStep(bit, {10, 5, 0}, 0.02, 50));
    EXPECT_FLOAT_EQ(bit.X, 0.25f);
    EXPECT_FLOAT_EQ(bit.Y, 0.125f);
    int ticks = 1;
    while (MoveBitStep(bit, {10, 5, 0}, 0.02, 50)) {
        ++ticks;
    }
    EXPECT_EQ(ticks, 39) << "39 ticks on the way, the 40th arrives";
    EXPECT_EQ(bit.X, 10.0f);
    EXPECT_EQ(bit.Y, 5.0f);

    // Slowly, the step shrinks with the distance and never overshoots.
    bit = {0, 0, 0};
    EXPECT_TRUE(MoveBitStep(bit, {1, 0, 0}, 0.02, 10));
    EXPECT_FLOAT_EQ(bit.X, 0.2f);
    EXPECT_TRUE(MoveBitStep(bit, {1, 0, 0}, 0.02, 10));
    EXPECT_FLOAT_EQ(bit.X, 0.36f);
}

TEST(BitStep, ArrivalCases)
{
    struct TCase {
        const char* what;
        TAffineVector from, to;
        double dt, speed;
        bool moving;
        TAffineVector after;
    };
    const TCase cases[] = {
        {"within 0.005 on every axis, even slowly", {0, 0, 0}, {0.004f, -0.004f, 0.004f}, 0.02, 1, false,
         {0.004f, -0.004f, 0.004f}},
        {"already there", {3, 3, 3}, {3, 3, 3}, 0.02, 0, false, {3, 3, 3}},
        {"speed 0 freezes the bit", {0, 0, 0}, {1, 0, 0}, 0.02, 0, true, {0, 0, 0}},
        {"a step past the target on every axis lands on it", {0, 0, 0}, {0.1f, 0.1f, 0}, 0.5, 200, false,
         {0.1f, 0.1f, 0}},
        {"one axis short keeps it moving", {0, 0, 0}, {0.1f, 5, 0}, 0.02, 50, true, {0.005f, 0.25f, 0}},
    };
    for (const TCase& c : cases) {
        TAffineVector bit = c.from;
        EXPECT_EQ(MoveBitStep(bit, c.to, c.dt, c.speed), c.moving) << c.what;
        EXPECT_FLOAT_EQ(bit.X, c.after.X) << c.what;
        EXPECT_FLOAT_EQ(bit.Y, c.after.Y) << c.what;
        EXPECT_FLOAT_EQ(bit.Z, c.after.Z) << c.what;
    }
}

TArrayofCmds Parsed(std::initializer_list<const char*> fields)
{
    TArrayofCmds cmds;
    int i = 0;
    for (const char* field : fields) {
        cmds[i++] = field;
    }
    return cmds;
}

TEST(Marker, FollowsTheArgumentsTheCommandNames)
{
    const TAffineVector here{7, 8, 9};
    struct TCase {
        std::initializer_list<const char*> line;
        TAffineVector expected;
    };
    const TCase cases[] = {
        {{"MX", "10"}, {10, 8, 9}},
        {{"MY", "4"}, {7, 4, 9}},
        {{"JZ", "-1"}, {7, 8, -1}},
        {{"J3", "1", "2", "5"}, {1, 2, 5}},
        {{"J2", "1", "2", "5"}, {1, 2, 9}},
        {{"M3", "1", "&x", ""}, {1, 8, 9}},
        {{"CC", "1", "2", "3"}, {7, 8, 9}},
        {{"CP", "4", "0", "0"}, {7, 8, 9}},
        {{""}, {7, 8, 9}},
        {{"MS", "2", "1"}, {2, 1, 9}},
        {{"M", "3"}, {3, 8, 9}},
    };
    for (const TCase& c : cases) {
        const TAffineVector p = MarkerPosition(Parsed(c.line), here);
        EXPECT_EQ(p.X, c.expected.X) << *c.line.begin();
        EXPECT_EQ(p.Y, c.expected.Y) << *c.line.begin();
        EXPECT_EQ(p.Z, c.expected.Z) << *c.line.begin();
    }
}

TEST(VariablesList, RowsOfEndedLines)
{
    EXPECT_EQ(VariablesListItems("a=1=2\r\nb=x\r\nlast=3"), (QStringList{"&a = 1=2", "&b = x"}));
    EXPECT_EQ(VariablesListItems(""), QStringList{});
    // Each row one line: a break within it shows as its symbol.
    EXPECT_EQ(VariablesListItems(QStringLiteral("t=\"a\nb\r\"\r\nu=\u2028\u2029\r\n")),
              (QStringList{QStringLiteral("&t = \"a\u240Ab\u240D\""), QStringLiteral("&u = \u2424\u2424")}));
    const QStringList cut = VariablesListItems(QStringLiteral("t=") + QString(6000, QLatin1Char('\n')) + "\r\n");
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(cut[0].contains(QStringLiteral("characters not shown")));
    EXPECT_FALSE(cut[0].contains(QLatin1Char('\n')));
}

TEST(CollisionQuestion, NamesTheClampAndTheThreeAnswers)
{
    EXPECT_EQ(CollisionQuestion("C1"),
              "The bit collided with C1. Do you want to see this message next time a collision with this "
              "object occurs?\r\"Yes\" to see it again, \"No\" to supress this warning, \"Cancel\" to quit "
              "running.");
}

} // namespace
