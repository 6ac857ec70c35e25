// Positions are singles: a move, jog or shape whose target single precision cannot
// hold stops the run with an error naming the line, draws nothing for that line and
// leaves the position where it was, so later lines and runs go on from finite numbers.
// Texts the engine writes for numbers that are not finite are defined.

#include "EnginePathSupport.h"

#include "engine/PathText.h"
#include "engine/VariablesView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

struct TRangeCase {
    const char* Program;
    const char* Error;    // empty: the run ends without one
    const char* Path;     // what was drawn, the failing line's nodes not among them
    float X, Y, Z, A, B;  // the position afterwards
};

// "x,y,z;..." as the engine writes it: numbers this large take its scientific form.
std::string PathOf(const std::string& nodes)
{
    std::string text;
    std::size_t from = 0;
    while (from < nodes.size()) {
        float v[3] = {0, 0, 0};
        std::sscanf(nodes.c_str() + from, "%f,%f,%f", &v[0], &v[1], &v[2]);
        AppendPointLine(text, v[0], v[1], v[2]);
        const std::size_t end = nodes.find(';', from);
        from = end == std::string::npos ? nodes.size() : end + 1;
    }
    return text;
}

TEST(CoordinateRange, ATargetBeyondSinglesStopsTheRunAndDrawsNothingForIt)
{
    const TRangeCase cases[] = {
        {"M2,1e308,1e308", "The target of \"M2\" is beyond the coordinate range (line: 1)", "", 0, 0, 0, 0, 0},
        {"M2, 1, 1\nM2,1e39,0\nM2, 5, 5", "The target of \"M2\" is beyond the coordinate range (line: 2)",
         "0,0,0;1,1,0", 1, 1, 0, 0, 0},
        {"M2,-1e308,0", "The target of \"M2\" is beyond the coordinate range (line: 1)", "", 0, 0, 0, 0, 0},
        {"M2, 1, 1\nJ2, 2, 1e39", "The target of \"J2\" is beyond the coordinate range (line: 2)", "0,0,0;1,1,0", 1,
         1, 0, 0, 0},
        {"JZ, -1e39", "The target of \"JZ\" is beyond the coordinate range (line: 1)", "", 0, 0, 0, 0, 0},
        // The axes before the failing one are put back too.
        {"M5, 1, 2, 3, 4, 1e39", "The target of \"M5\" is beyond the coordinate range (line: 1)", "", 0, 0, 0, 0, 0},
        {"MA, 2\nMB, -1e39", "The target of \"MB\" is beyond the coordinate range (line: 2)", "0,0,0;0,0,0", 0, 0, 0,
         2, 0},
        // Relative moves that add up past the range.
        {"SR\nMX, 3e38\nMX, 3e38", "The target of \"MX\" is beyond the coordinate range (line: 3)",
         "0,0,0;3e38,0,0", 3e38f, 0, 0, 0, 0},
        {"MD, 1e39, 90", "The distance of \"MD\" (argument 1) is beyond its range (line: 1)", "", 0, 0, 0, 0, 0},
        {"MD, 3e38, 0\nMD, 3e38, 0", "The target of \"MD\" is beyond the coordinate range (line: 2)",
         "0,0,0;0,3e38,0", 0, 3e38f, 0, 0, 0},
        // MH's height is refused where it is set; MH itself may still leave the range.
        {"VC, , , , 1e39\nMH", "The safe height of \"VC\" (argument 4) is beyond its range (line: 1)", "", 0, 0, 0, 0,
         0},
        {"MZ, 3e38\nZZ\nVC, , , , 3e38\nMH", "The target of \"MH\" is beyond the coordinate range (line: 4)",
         "0,0,0;0,0,3e38", 0, 0, 0, 0, 0},
        {"IF 1 = 1 THEN M2, 1e39, 0", "The target of \"M2\" is beyond the coordinate range (line: 1)", "", 0, 0, 0, 0,
         0},
        // A finite position beyond the range in the scene, through the zero offsets.
        {"M2, 3e38, 0\nZX\nM2, 3e38, 0", "The target of \"M2\" is beyond the coordinate range (line: 3)",
         "0,0,0;3e38,0,0", 0, 0, 0, 0, 0},
        // Shapes: a circle or a rectangle that reaches past it draws none of its points.
        {"M2, 3e38, 0\nCC, 2e38", "The target of \"CC\" is beyond the coordinate range (line: 2)", "0,0,0;3e38,0,0",
         3e38f, 0, 0, 0, 0},
        {"MX, 2e38\nCR, 2e38, 1", "The target of \"CR\" is beyond the coordinate range (line: 2)", "0,0,0;2e38,0,0",
         2e38f, 0, 0, 0, 0},
        {"CP, 1, 1e39, 0", "The centre offset of \"CP\" (argument 2) is beyond its range (line: 1)", "", 0, 0, 0, 0, 0},
        {"MX, 3e38\nCP, 1, 3e38, 0", "The target of \"CP\" is beyond the coordinate range (line: 2)", "0,0,0;3e38,0,0",
         3e38f, 0, 0, 0, 0},
        // The largest singles are still positions.
        {"M2, 3.4e38, -3.4e38", "", "0,0,0;3.4e38,-3.4e38,0", 3.4e38f, -3.4e38f, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Program);
        TPathEngine e;
        const TRunOutcome run = e.RunForResults(c.Program);
        EXPECT_EQ(c.Error, run.Error);
        EXPECT_EQ(PathOf(c.Path), run.Path);
        TVector pos;
        e.Move.GetPosition(pos);
        float a = 0;
        float b = 0;
        e.Move.GetAB(a, b);
        EXPECT_EQ((std::vector<float>{c.X, c.Y, c.Z, c.A, c.B}), (std::vector<float>{pos.X, pos.Y, pos.Z, a, b}));
        TAffineVector bit;
        e.Move.GetBitTarget(bit);
        EXPECT_TRUE(std::isfinite(bit.X) && std::isfinite(bit.Y) && std::isfinite(bit.Z));
        EXPECT_EQ(e.Move.CountedPathTextBytes(), run.Path.size());
    }
}

TEST(CoordinateRange, TheNextRunGoesOnFromWhereTheToolWas)
{
    TEngineHarness h;
    EXPECT_EQ("The target of \"MX\" is beyond the coordinate range (line: 2)", h.Run("M2, 1, 1\nMX, 1e39").Error);
    const TRunOutcome next = h.Run("SR\nMX, 1\n&x = %(1)");
    EXPECT_EQ("", next.Error);
    EXPECT_EQ("2", h.Var("X"));
    ASSERT_EQ(1u, h.Move.CutLines().size());
    std::string path;
    h.Move.GetPathText("M", path);
    EXPECT_EQ(ExpectedPath("0,0,0;1,1,0;2,1,0"), path);
}

TEST(CoordinateRange, ASubFileScaledPastTheRangeStopsAtItsLine)
{
    TTempFolder folder("range");
    folder.Write("big.sbp", "MX, 1\nMX, 1e38");
    folder.Write("main.sbp", "MY, 2\nFP, big, 10, 1, 1");
    TPathEngine e;
    const TRunOutcome run = e.RunFileForResults(folder.Path("main.sbp"));
    EXPECT_EQ("The target of \"MX\" is beyond the coordinate range (line: 2)", run.Error);
    EXPECT_EQ(ExpectedPath("0,0,0;0,2,0;10,2,0"), run.Path);
    EXPECT_EQ(1, e.Move.PartFiles().Depth());
}

TEST(CoordinateRange, NumbersThatAreNotFiniteHaveTheirTexts)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ("INF", TEngineData::SingleToStr(inf));
    EXPECT_EQ("-INF", TEngineData::SingleToStr(-inf));
    EXPECT_EQ("NAN", TEngineData::SingleToStr(std::nanf("")));
    EXPECT_EQ("NAN", TEngineData::SingleToStr(-std::nanf("")));
    EXPECT_EQ("INF,-INF,NAN", TEngineData::PointToText(inf, -inf, std::nanf("")));

    // A system variable beyond the range (no command writes one, the data module can
    // hold one), as a program reads it and as the variables list shows it.
    TEngineHarness h;
    h.Data.SetSysVarFloat(28, inf);
    EXPECT_EQ("", h.Run("&z = \"%(28)\"").Error);
    EXPECT_EQ("\"INF\"", h.Var("z"));
    EXPECT_EQ((std::vector<std::string>{"&z = \"INF\""}), VariablesListEntries(h.Shell.VariablesText));
}

} // namespace
