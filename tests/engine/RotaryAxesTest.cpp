// The A and B axes through whole lines: every single-axis move and jog takes its
// first argument, in absolute and relative mode, and the programs read the axes back
// through %(4) and %(5).

#include "EnginePathSupport.h"

#include <gtest/gtest.h>

namespace {

std::string Var(const TPathEngine& e, const std::string& name)
{
    const int i = e.Calcul.GetVariables().IndexOfName(name);
    return i < 0 ? std::string("<none>") : std::string(e.Calcul.GetVariables().ValueFromIndex(i));
}

TEST(RotaryAxes, SingleAxisLinesTakeTheirFirstArgument)
{
    const struct {
        const char* Program;
        float A, B;
    } cases[] = {
        {"MB, 5", 0, 5},
        {"JB, 7", 0, 7},
        {"MB, 1, 9", 0, 1},         // a second argument is no target
        {"MA, 2\nMB, 3", 2, 3},
        {"MB, 4\nMB, ", 0, 4},      // an omitted target leaves the axis where it is
        {"M5, 1, 2, 3, 4, 6\nMB, 8", 4, 8},
        {"SR\nMB, 2\nMB, 3", 0, 5}, // relative: added to where the axis is
        {"SR\nMB, 2\nJB, -0.5", 0, 1.5f},
        {"MB, 2\nSR\nJB, 1\nSA\nMB, -1", 0, -1},
    };
    for (const auto& c : cases) {
        TPathEngine e;
        e.Run(c.Program);
        float a = -99;
        float b = -99;
        e.Move.GetAB(a, b);
        EXPECT_EQ(c.A, a) << c.Program;
        EXPECT_EQ(c.B, b) << c.Program;
    }
}

TEST(RotaryAxes, ProgramsReadBackWhatMBAndJBSet)
{
    TPathEngine e;
    e.Run("MB, 5\n&b = %(5)\nSR\nJB, 2.5\n&after = %(5)\nMX, 1\nPRINT \"%(5)\"");
    EXPECT_EQ("5", Var(e, "B"));
    EXPECT_EQ("7.5", Var(e, "AFTER"));
    // The B moves add their nodes in place (the jog, then the cuts, the move after the
    // jog a polyline of its own): only MX moves the tool in the plane.
    EXPECT_EQ(ExpectedPath("0,0,0;0,0,0;0,0,0;0,0,0;0,0,0;1,0,0"), e.Run("MB, 5\nJB, 2\nMX, 1"));
}

// In absolute mode too, an omitted argument leaves its axis where it is: a line moves
// only the axes it names, A and B among them.
TEST(RotaryAxes, OmittedArgumentsKeepTheirAxesInAbsoluteMode)
{
    const struct {
        const char* Program;
        const char* Path; // jog nodes, then cut nodes
        float A, B;
    } cases[] = {
        {"MA, 2\nMA, ", "0,0,0;0,0,0;0,0,0", 2, 0},
        {"JA, 3\nJA, ", "0,0,0;0,0,0;0,0,0;0,0,0", 3, 0},
        {"JB, 4\nJB, ", "0,0,0;0,0,0;0,0,0;0,0,0", 0, 4},
        {"M4, 1, 2, 3, 4\nM4, 5, , , ", "0,0,0;1,2,3;5,2,3", 4, 0},
        {"M4, 1, 2, 3, 4\nM4, , , 6, ", "0,0,0;1,2,3;1,2,6", 4, 0},
        {"M5, 1, 2, 3, 4, 6\nM5, , 7, , , ", "0,0,0;1,2,3;1,7,3", 4, 6},
        {"J4, 1, 2, 3, 4\nJ4, , , , ", "0,0,0;1,2,3;1,2,3;1,2,3", 4, 0},
        {"J5, 1, 2, 3, 4, 6\nJ5, 9", "0,0,0;1,2,3;1,2,3;9,2,3", 4, 6},
    };
    for (const auto& c : cases) {
        TPathEngine e;
        EXPECT_EQ(ExpectedPath(c.Path), e.Run(c.Program)) << c.Program;
        float a = -99;
        float b = -99;
        e.Move.GetAB(a, b);
        EXPECT_EQ(c.A, a) << c.Program;
        EXPECT_EQ(c.B, b) << c.Program;
    }
}

TEST(RotaryAxes, StepBackPutsBBack)
{
    TPathEngine e;
    e.Run("MB, 5\nMB, 9");
    ASSERT_TRUE(e.Runner.StepBack(e.Lines));
    float a = 0;
    float b = 0;
    e.Move.GetAB(a, b);
    EXPECT_EQ(5.0f, b);
}

} // namespace
