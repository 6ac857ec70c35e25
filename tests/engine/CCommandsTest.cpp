#include "EngineTestSupport.h"

#include "engine/CCommands.h"
#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

    // Runs a C line ("CR, 4, 2"), elements split at commas, from `from`.
    void Run(const std::string& line, TVector from = {0, 0, 0, 0})
    {
        TArrayofCmds cmds;
        std::vector<std::string> items;
        SplitCommaList(line, items, TArrayofCmds::Count - 1);
        for (std::size_t i = 0; i < items.size(); ++i) {
            cmds[int(i)] = items[i];
        }
        nodes.clear();
        context.Position = from;
        EXPECT_TRUE(shapes.Execute(cmds, context));
    }
    // "x,y,z;..." with at most four decimals, for nodes [first, last).
    std::string Path(std::size_t first = 0, std::size_t last = std::string::npos) const
    {
        std::string text;
        for (std::size_t i = first; i < std::min(last, nodes.size()); ++i) {
            const float v[3] = {nodes[i].X, nodes[i].Y, nodes[i].Z};
            for (int k = 0; k < 3; ++k) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%.4f", std::fabs(v[k]) < 5e-5f ? 0.0f : v[k]);
                std::string number = buf;
                number.erase(number.find_last_not_of('0') + 1);
                if (number.back() == '.') {
                    number.pop_back();
                }
                text += (text.empty() ? "" : k == 0 ? ";" : ",") + number;
            }
        }
        return text;
    }
    double From(std::size_t i, double cx, double cy) const { return std::hypot(nodes[i].X - cx, nodes[i].Y - cy); }
    int NewLines() const
    {
        int n = 0;
        for (const TNode& node : nodes) {
            n += node.NewLine;
        }
        return n;
    }

    TEngineData data;
    TFakeShell shell;
    TC_Commands shapes{data, shell};
    TShapeContext context;
    std::vector<TNode> nodes;
};

TEST_F(CCommandsTest, RectangleCornersDirectionsSidesAndPasses)
{
    struct Case {
        const char* line;
        const char* path;
        int newLines;
    };
    const Case cases[] = {
        {"CR, 4, 2", "0,0,0;0,2,0;4,2,0;4,0,0;0,0,0", 1},
        {"CR, 4, 2, , -1", "0,0,0;4,0,0;4,2,0;0,2,0;0,0,0", 1},
        {"CR, 4, 2, , 1, 1", "0,0,0;4,0,0;4,-2,0;0,-2,0;0,0,0", 1},
        {"CR, 4, 2, , 1, 2", "0,0,0;0,-2,0;-4,-2,0;-4,0,0;0,0,0", 1},
        {"CR, 4, , , 1, 3.7", "0,0,0;-4,0,0;-4,4,0;0,4,0;0,0,0", 1}, // Y length defaults to X
        {"CR, 4, 2, O", "0,0,0;0,2.125,0;4.125,2.125,0;4.125,0,0;0,0,0", 1},
        {"CR, 1, 1, , , , -1, 2", "0,0,0;0,1,0;1,1,0;1,0,0;0,0,0;0,0,-1;0,1,-1;1,1,-1;1,0,-1;0,0,-1", 2},
        {"CR, 1, 1, , , , -1, 2, 1", "0,0,0;0,1,0;1,1,0;1,0,0;0,0,0;0,0,-1;0,1,-1;1,1,-1;1,0,-1;0,0,-1", 1},
    };
    for (const Case& c : cases) {
        Run(c.line);
        EXPECT_EQ(Path(), c.path) << c.line;
        EXPECT_EQ(NewLines(), c.newLines) << c.line;
    }
}

TEST_F(CCommandsTest, CirclesAndArcsStayOnTheirCircle)
{
    struct Case {
        const char* line;
        std::size_t count; // 0: not checked
        const char* start; // the first three nodes
        const char* end;
        float cx, cy, r;
    };
    // Compass steps 0, 0.05, ... 6.2 (6.25 is within a step of 2 pi): 125 step points.
    const Case cases[] = {
        {"CC, 2", 127, "0,0,0;0,0,0;0.05,-0.0012,0", "0,0,0", 0, -1, 1},
        {"CC, 2, , -1", 127, "0,0,0;0,0,0;-0.05,-0.0012,0", "0,0,0", 0, -1, 1}, // the default whole turn
        {"CC, 2, , 1, 0, 90", 0, "0,0,0;0,0,0;0.05,-0.0012,0", "1,-1,0", 0, -1, 1},
        {"CG, , 2, 0, 1, 0", 0, "0,0,0;0,0,0;0.0012,0.05,0", "2,0,0", 1, 0, 1},   // centre mode, over the top
        {"CG, 2, 2, 0, , , , -1", 0, "0,0,0;0,0,0;0.0012,-0.05,0", "2,0,0", 1, 0, 1}, // under
        {"CG, 2, 2, 0, , , , 0.0", 0, "0,0,0;0,0,0;0.0012,0.05,0", "2,0,0", 1, 0, 1}, // not an integer: 1
        {"CA, 2, 1", 0, "0,0,0;0,0,0;0.0012,0.05,0", "2,0,0", 1, 0, 1},
        {"CA, 2, 1, , -1", 0, "0,0,0;0,0,0;-0.0012,0.05,0", "-2,0,0", -1, 0, 1},
        {"CP, 2, 1, 0, , 1, 270, 90", 0, "0,0,0;0,0,0;0.0012,0.05,0", "2,0,0", 1, 0, 1},
    };
    for (const Case& c : cases) {
        Run(c.line);
        if (c.count) {
            EXPECT_EQ(nodes.size(), c.count) << c.line;
        }
        EXPECT_EQ(Path(0, 3), c.start) << c.line;
        EXPECT_EQ(Path(nodes.size() - 1), c.end) << c.line;
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            EXPECT_NEAR(From(i, c.cx, c.cy), c.r, 1e-5) << c.line << " node " << i;
        }
        EXPECT_EQ(NewLines(), 1) << c.line;
    }
    EXPECT_EQ(context.Position.X, nodes.back().X) << "the position follows the last point";
}

TEST_F(CCommandsTest, PocketsShrinkByTheStepover)
{
    // Stepover (100 - 10) / 100 x 0.25 = 0.225.
    Run("CC, 2, , , , , , , , , 2");
    std::vector<double> radii;
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        if (nodes[i].NewLine) {
            radii.push_back(From(i + 1, 0, -1));
        }
    }
    ASSERT_EQ(radii.size(), 5u);
    for (std::size_t k = 0; k < radii.size(); ++k) {
        EXPECT_NEAR(radii[k], 1 - 0.225 * double(k), 1e-5) << k;
    }
    EXPECT_EQ(Path(nodes.size() - 1), "0,0,0");

    Run("CR, 4, 2, , , , , , 2");
    EXPECT_EQ(Path(0, 3), "0,0,0;0,2,0;4,2,0");
    EXPECT_EQ(Path(20, 23), "0.9,0.9,0;0.9,1.1,0;3.1,1.1,0") << "the fifth ring: 4 x 0.225 in, 8 x 0.225 shorter";
    EXPECT_EQ(Path(25), "1.125,1.125,1;0,0,1;0,0,0") << "up at the last inward step, over, down";
    EXPECT_EQ(nodes.size(), 28u);

    Run("CP, 2, 1, 0, , , , , , , , , 2");
    EXPECT_EQ(Path(nodes.size() - 1), "1,1,0") << "CP returns to its circle's end point";
}

TEST_F(CCommandsTest, HelicalPassesRepetitionsAndFlatPass)
{
    for (const char* option : {"3", "4"}) {
        Run(std::string("CC, 2, , -1, 360, 0, -0.5, , , , ") + option);
        const TNode first = nodes[1];
        std::size_t end = 2; // past the descent: the end point is the last node going down
        while (end < nodes.size() && nodes[end].Z < nodes[end - 1].Z) {
            ++end;
        }
        EXPECT_EQ(Path(end - 1, end).substr(0, 4), "0,0,") << option;
        EXPECT_FLOAT_EQ(nodes[end - 1].Z, first.Z - 0.5f) << "the end point, one plunge below the first step";
        EXPECT_EQ(Path(nodes.size() - 1), Path(1, 2)) << "back to the first step point";
        EXPECT_LT(nodes[2].X, 0) << "counter-clockwise";
    }
    EXPECT_FLOAT_EQ(nodes[nodes.size() - 2].Z, nodes[1].Z - 0.5f) << "the flat pass ends at the bottom";

    Run("CC, 2, , , , , -0.25, 3");
    ASSERT_EQ(nodes.size(), 3u * 127);
    EXPECT_EQ(NewLines(), 1);
    EXPECT_EQ(Path(126, 128), "0,0,0;0,0,-0.25") << "a vertical plunge at the start point";
    EXPECT_EQ(Path(253, 255), "0,0,-0.25;0,0,-0.5");
    EXPECT_EQ(Path(380), "0,0,-0.5");
}

TEST_F(CCommandsTest, ProblemsAreReportedOrStopTheRun)
{
    const char* const radius = "Radius of arc is too small for distance between points.";
    const std::pair<const char*, const char*> logged[] = {
        {"CG, 1, 10, 0", radius},
        {"CA, 1, 0.5, I", radius}, // r 0.375 after the inside correction
        {"CR, abc", "Invalid x specified for CR command: abc"},
    };
    for (const auto& [line, message] : logged) {
        shell.LogLines.clear();
        shell.Messages.clear();
        Run(line);
        EXPECT_TRUE(nodes.empty()) << line;
        EXPECT_EQ(shell.LogLines, (std::vector<std::pair<std::string, std::string>>{{"error", message}})) << line;
        EXPECT_EQ(shell.Messages, std::vector<std::string>{message}) << line;
    }
    EXPECT_THROW(Run("CR, 4, 2, , 1, 5"), ERunError);
    EXPECT_THROW(Run("CA, 2, 0"), ERunError);
    EXPECT_THROW(Run("CC, two"), EConvertError);
    data.SetSysVarFloat(-1, 1e-7f);
    EXPECT_THROW(Run("CC, 2"), ERunError);
    EXPECT_TRUE(nodes.empty()) << "refused before drawing";
}

TEST_F(CCommandsTest, BadStepAndStepoverFallBack)
{
    data.SetSysVarFloat(-1, 0);
    Run("CC, 2");
    EXPECT_EQ(nodes.size(), 127u) << "the default step";
    data.SetSysVarFloat(-1, 0.05f);
    data.SetSysVarFloat(-4, 100);
    Run("CR, 4, 2, , , , , , 3", {1, 1, 0, 0});
    EXPECT_EQ(Path(), "1,1,0") << "no rings, only the closing point";
    EXPECT_EQ(shell.LogLines.size(), 2u);
}

TEST_F(CCommandsTest, PointsGoThroughTheSceneMapping)
{
    context.Offset = {10, 20, 0};
    context.Scale = {2, 2, 1};
    Run("CR, 1, 1", {1, 1, 0, 0});
    EXPECT_EQ(Path(0, 3), "22,42,0;22,44,0;24,44,0");
    EXPECT_EQ(context.Position.X, 1) << "the position stays in program coordinates";
}

} // namespace
