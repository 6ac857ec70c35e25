#include "EngineTestSupport.h"

#include "engine/CCommands.h"
#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

struct TNode {
    bool NewLine;
    float X, Y, Z;
};

class CCommandsTest : public ::testing::Test {
protected:
    CCommandsTest()
    {
        data.SetSysVarFloat(-1, 0.05f);
        data.SetOnAddMoveNode([this](bool setCurPos, bool newLine, float x, float y, float z) {
            EXPECT_FALSE(setCurPos) << "the shape keeps the program position itself";
            nodes.push_back({newLine, x, y, z});
        });
    }

    // Runs one C line given as its elements, from `from`.
    void Run(std::initializer_list<const char*> elements, TVector from = {0, 0, 0, 0})
    {
        TArrayofCmds cmds;
        int i = 0;
        for (const char* e : elements) {
            cmds[i++] = e;
        }
        nodes.clear();
        context.Position = from;
        EXPECT_TRUE(shapes.Execute(cmds, context));
    }

    // Distance of node i from (cx, cy).
    double From(std::size_t i, double cx, double cy) const
    {
        return std::hypot(nodes[i].X - cx, nodes[i].Y - cy);
    }
    int NewLines() const
    {
        int n = 0;
        for (const TNode& node : nodes) {
            n += node.NewLine;
        }
        return n;
    }
    void ExpectNode(std::size_t i, float x, float y, float z, const std::string& what = {}) const
    {
        ASSERT_LT(i, nodes.size()) << what;
        EXPECT_NEAR(nodes[i].X, x, 1e-4) << what << " node " << i;
        EXPECT_NEAR(nodes[i].Y, y, 1e-4) << what << " node " << i;
        EXPECT_NEAR(nodes[i].Z, z, 1e-4) << what << " node " << i;
    }

    TEngineData data;
    TFakeShell shell;
    TC_Commands shapes{data, shell};
    TShapeContext context;
    std::vector<TNode> nodes;
};

TEST_F(CCommandsTest, CircleThroughTheCurrentPointInBothDirections)
{
    // Compass angles 0, 0.05, ... 6.2 (the next, 6.25, is within a step of 2 pi): 125
    // step points between the current point and the end point.
    for (const char* direction : {"1", "-1"}) {
        Run({"CC", "2", "", direction});
        ASSERT_EQ(nodes.size(), 127u) << direction;
        EXPECT_TRUE(nodes[0].NewLine);
        EXPECT_EQ(NewLines(), 1);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            EXPECT_NEAR(From(i, 0, -1), 1, 1e-5) << i;
        }
        ExpectNode(2, std::string(direction) == "1" ? std::sin(0.05f) : -std::sin(0.05f), std::cos(0.05f) - 1, 0,
                   direction);
        ExpectNode(126, 0, 0, 0);
    }
    EXPECT_FLOAT_EQ(context.Position.X, nodes.back().X) << "the position follows the last point";
}

TEST_F(CCommandsTest, QuarterArcAndArcsToAnEndPoint)
{
    struct Case {
        std::initializer_list<const char*> line;
        float endX, endY;
        float cx, cy, r;
        float midSign; // sign of the middle node's offset from the centre on Y
    };
    const Case cases[] = {
        {{"CC", "2", "", "1", "0", "90"}, 1, -1, 0, -1, 1, 1},
        {{"CG", "", "2", "0", "1", "0"}, 2, 0, 1, 0, 1, 1},    // centre mode, clockwise over the top
        {{"CG", "2", "2", "0", "", "", "", "-1"}, 2, 0, 1, 0, 1, -1},
        {{"CG", "2", "2", "0", "", "", "", "0.0"}, 2, 0, 1, 0, 1, 1}, // not an integer: default 1
        {{"CA", "2", "1"}, 2, 0, 1, 0, 1, 1},
        {{"CA", "2", "1", "", "-1"}, -2, 0, -1, 0, 1, 1},
        {{"CP", "2", "1", "0", "", "1", "270", "90"}, 2, 0, 1, 0, 1, 1},
    };
    for (const Case& c : cases) {
        Run(c.line);
        const std::string what = *c.line.begin() + std::string(" ") + *(c.line.begin() + 1);
        ASSERT_GE(nodes.size(), 3u) << what;
        ExpectNode(nodes.size() - 1, c.endX, c.endY, 0, what);
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            EXPECT_NEAR(From(i, c.cx, c.cy), c.r, 1e-5) << what << " node " << i;
        }
        EXPECT_GT((nodes[nodes.size() / 2].Y - c.cy) * c.midSign, 0.5f) << what;
    }
}

TEST_F(CCommandsTest, RectangleCornersDirectionsSidesAndPasses)
{
    struct Case {
        std::initializer_list<const char*> line;
        std::vector<std::vector<float>> points; // x, y, z
        int newLines;
    };
    const Case cases[] = {
        {{"CR", "4", "2"}, {{0, 0, 0}, {0, 2, 0}, {4, 2, 0}, {4, 0, 0}, {0, 0, 0}}, 1},
        {{"CR", "4", "2", "", "-1"}, {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 0}, {0, 0, 0}}, 1},
        {{"CR", "4", "2", "", "1", "1"}, {{0, 0, 0}, {4, 0, 0}, {4, -2, 0}, {0, -2, 0}, {0, 0, 0}}, 1},
        {{"CR", "4", "2", "", "1", "2"}, {{0, 0, 0}, {0, -2, 0}, {-4, -2, 0}, {-4, 0, 0}, {0, 0, 0}}, 1},
        {{"CR", "4", "", "", "1", "3.7"}, {{0, 0, 0}, {-4, 0, 0}, {-4, 4, 0}, {0, 4, 0}, {0, 0, 0}}, 1},
        {{"CR", "4", "2", "O"}, {{0, 0, 0}, {0, 2.125f, 0}, {4.125f, 2.125f, 0}, {4.125f, 0, 0}, {0, 0, 0}}, 1},
        {{"CR", "1", "1", "", "", "", "-0.25", "2"},
         {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0},
          {0, 0, -0.25f}, {0, 1, -0.25f}, {1, 1, -0.25f}, {1, 0, -0.25f}, {0, 0, -0.25f}}, 2},
        {{"CR", "1", "1", "", "", "", "-0.25", "2", "1"},
         {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0},
          {0, 0, -0.25f}, {0, 1, -0.25f}, {1, 1, -0.25f}, {1, 0, -0.25f}, {0, 0, -0.25f}}, 1},
    };
    for (const Case& c : cases) {
        Run(c.line);
        const std::string what = std::to_string(&c - cases);
        ASSERT_EQ(nodes.size(), c.points.size()) << what;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            ExpectNode(i, c.points[i][0], c.points[i][1], c.points[i][2], what);
        }
        EXPECT_EQ(NewLines(), c.newLines) << what;
    }
}

TEST_F(CCommandsTest, PocketsShrinkByTheStepover)
{
    // Stepover (100 - 10) / 100 x 0.25 = 0.225.
    Run({"CC", "2", "", "", "", "", "", "", "", "", "2"});
    std::vector<double> radii;
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        if (nodes[i].NewLine) {
            radii.push_back(From(i + 1, 0, -1)); // the ring's first step point
        }
    }
    ASSERT_EQ(radii.size(), 5u);
    for (std::size_t k = 0; k < radii.size(); ++k) {
        EXPECT_NEAR(radii[k], 1 - 0.225 * double(k), 1e-5) << k;
    }
    ExpectNode(nodes.size() - 1, 0, 0, 0, "back to the start");

    Run({"CR", "4", "2", "", "", "", "", "", "2"});
    ASSERT_EQ(nodes.size(), 5u * 5 + 3);
    for (int k = 0; k < 5; ++k) {
        ExpectNode(std::size_t(k) * 5, 0.225f * k, 0.225f * k, 0, "ring start");
        ExpectNode(std::size_t(k) * 5 + 2, 0.225f * k + 4 - 0.45f * k, 0.225f * k + 2 - 0.45f * k, 0, "far corner");
    }
    const float safeZ = data.GetSysVarFloat(28);
    ExpectNode(25, 1.125f, 1.125f, safeZ, "up after the last inward step");
    ExpectNode(26, 0, 0, safeZ);
    ExpectNode(27, 0, 0, 0);

    Run({"CP", "2", "1", "0", "", "", "", "", "", "", "", "", "2"});
    ExpectNode(nodes.size() - 1, 1, 1, 0, "CP returns to its circle's end point");
}

TEST_F(CCommandsTest, HelicalPassesDescendByOnePlungeAndReturn)
{
    for (const char* option : {"3", "4"}) {
        Run({"CC", "2", "", "-1", "360", "0", "-0.5", "", "", "", option});
        const TNode first = nodes[1];
        EXPECT_LT(first.Z, 0);
        std::size_t end = 2;
        while (end < nodes.size() && nodes[end].Z < nodes[end - 1].Z) {
            ++end;
        }
        // `end` is the first node not below its predecessor: the end point, one plunge down.
        ExpectNode(end - 1, 0, 0, first.Z - 0.5f, option);
        ExpectNode(nodes.size() - 1, first.X, first.Y, first.Z, option);
        EXPECT_LT(nodes[2].X, 0) << "counter-clockwise";
    }
    // Option 4: a flat pass at the bottom, back to its own first point, then up.
    const std::size_t n = nodes.size();
    EXPECT_FLOAT_EQ(nodes[n - 2].Z, nodes[1].Z - 0.5f);
}

TEST_F(CCommandsTest, RepetitionsPlungeAtTheStartPoint)
{
    Run({"CC", "2", "", "", "", "", "-0.25", "3"});
    ASSERT_EQ(nodes.size(), 3u * 127);
    EXPECT_EQ(NewLines(), 1);
    for (int pass = 0; pass < 3; ++pass) {
        ExpectNode(std::size_t(pass) * 127, 0, 0, -0.25f * pass, "pass start");
        ExpectNode(std::size_t(pass) * 127 + 126, 0, 0, -0.25f * pass, "pass end");
    }
}

TEST_F(CCommandsTest, ProblemsAreReportedOrStopTheRun)
{
    struct Case {
        std::initializer_list<const char*> line;
        const char* message; // logged and shown
    };
    const Case logged[] = {
        {{"CG", "1", "10", "0"}, "Radius of arc is too small for distance between points."},
        {{"CA", "1", "0.5", "I"}, "Radius of arc is too small for distance between points."}, // r 0.375
        {{"CR", "abc"}, "Invalid x specified for CR command: abc"},
    };
    for (const Case& c : logged) {
        shell.LogLines.clear();
        shell.Messages.clear();
        Run(c.line);
        EXPECT_TRUE(nodes.empty()) << c.message;
        ASSERT_EQ(shell.LogLines.size(), 1u);
        EXPECT_EQ(shell.LogLines[0], std::make_pair(std::string("error"), std::string(c.message)));
        EXPECT_EQ(shell.Messages, std::vector<std::string>{c.message});
    }

    EXPECT_THROW(Run({"CR", "4", "2", "", "1", "5"}), ERunError);
    EXPECT_THROW(Run({"CA", "2", "0"}), ERunError);
    EXPECT_THROW(Run({"CC", "two"}), EConvertError);
    data.SetSysVarFloat(-1, 1e-7f);
    EXPECT_THROW(Run({"CC", "2"}), ERunError);
    EXPECT_TRUE(nodes.empty()) << "refused before drawing";
}

TEST_F(CCommandsTest, BadStepAndStepoverFallBack)
{
    data.SetSysVarFloat(-1, 0);
    Run({"CC", "2"});
    EXPECT_EQ(nodes.size(), 127u) << "the default step";
    data.SetSysVarFloat(-1, 0.05f);
    data.SetSysVarFloat(-4, 100);
    Run({"CR", "4", "2", "", "", "", "", "", "3"}, {1, 1, 0, 0});
    ASSERT_EQ(nodes.size(), 1u) << "only the closing point";
    ExpectNode(0, 1, 1, 0);
    EXPECT_EQ(shell.LogLines.size(), 2u);
}

TEST_F(CCommandsTest, PointsGoThroughTheSceneMapping)
{
    context.Offset = {10, 20, 0};
    context.Scale = {2, 2, 1};
    Run({"CR", "1", "1"}, {1, 1, 0, 0});
    ExpectNode(0, 22, 42, 0);
    ExpectNode(2, 24, 44, 0);
    EXPECT_FLOAT_EQ(context.Position.X, 1) << "the position stays in program coordinates";
    EXPECT_FLOAT_EQ(context.PrevPosition.X, 1) << "CR keeps where it began";
}

} // namespace
