// The preview's path nodes are bounded: a program that would draw more stops with an
// error and keeps what it drew, and the count follows every way nodes go away.

#include "EnginePathSupport.h"

#include "scene/objects/lines/Lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::size_t NodesInPolylines(const TMove& move)
{
    std::size_t nodes = 0;
    for (const TGLLinesArray* lines : {&move.CutLines(), &move.JogLines()}) {
        for (const TGLLines* line : *lines) {
            nodes += static_cast<std::size_t>(line->Nodes().Count());
        }
    }
    return nodes;
}

TEST(PathNodeLimit, AShapeLoopStopsAtTheLimitAndKeepsItsNodes)
{
    TPathEngine e;
    e.Move.MaxPathNodes = 20000;
    e.Runner.MaxExecutedLines = 10000000; // far beyond the node limit
    const TRunOutcome run =
        e.RunForResults("&i = 0\nagain:\nJ2, 0, 1\nCC, 1, , 1, 0, 3\n&i = &i + 1\nIF &i < 1000000 THEN GOTO again");
    EXPECT_EQ("The preview holds more than 20000 points.", run.Error);
    EXPECT_EQ(20000u, e.Move.PathNodeCount());
    EXPECT_EQ(20000u, NodesInPolylines(e.Move));
    EXPECT_EQ(20000, std::count(run.Path.begin(), run.Path.end(), '\n'));
    EXPECT_FALSE(e.Runner.Capped());
}

TEST(PathNodeLimit, TheCountFollowsStepBackAndReset)
{
    TPathEngine e;
    e.Run("M2, 1, 1\nJ2, 3, 3\nCC, 1, , 1, 0, 2\nM2, 0, 0\nZX\nM2, 2, 2\nJY, 4");
    ASSERT_GT(e.Move.PathNodeCount(), 10u);
    EXPECT_EQ(NodesInPolylines(e.Move), e.Move.PathNodeCount());
    std::size_t bytes = e.Move.PreviewBytes();
    while (e.Runner.StepBack(e.Lines)) {
        EXPECT_EQ(NodesInPolylines(e.Move), e.Move.PathNodeCount());
        EXPECT_LT(e.Move.PreviewBytes(), bytes) << "every step back gives memory back";
        bytes = e.Move.PreviewBytes();
    }
    EXPECT_EQ(0u, e.Move.PathNodeCount());
    EXPECT_EQ(0u, e.Move.PreviewBytes());
    // A full run again after a reset may draw up to the limit once more.
    e.Move.MaxPathNodes = NodesInPolylines(e.Move) + 3;
    EXPECT_NO_THROW(e.Run("M2, 1, 1\nM2, 2, 2"));
    EXPECT_NO_THROW(e.Run("M2, 1, 1\nM2, 2, 2"));
    EXPECT_EQ(3u, e.Move.PathNodeCount());
}

// Points alone do not bound the preview's memory: short polylines cost far more per
// point. A lowered budget stops each runaway program before the preview passes it,
// with the nodes drawn so far kept and counted.
TEST(PathNodeLimit, PreviewMemoryIsBoundedInBytes)
{
    const struct {
        const char* Name;
        const char* Program;
        bool Draws;
    } cases[] = {
        {"pocket loop",
         "loop:\nM2 %(1), SIN(2)*2, 1, 0, %(4)\nCG,-1,0.5-0.5,1,1,18.0017,O,0,100,3,34.0555,100,2\n"
         "IF 1 = 1 THEN GOTO loop",
         true},
        {"large circles", "loop:\nCC, 100, , 1, 0, 360, -0.001, 20000\nGOTO loop", true},
        {"drilling loop", "&x = 0\nloop:\n&x = &x + 0.5\nJ3, &x, 1, 0.5\nM3, &x, 1, -0.25\nM3, &x, 1, 0.5\nGOTO loop",
         true},
        // The step-back history grows with every executed line, drawn or not.
        {"no drawing", "loop:\n&i = &i + 1\nGOTO loop", false},
        {"clamp loop", "loop:\n[CLAMP] left-front, 10, 5, 0, 2, 2, 1\nGOTO loop", false},
    };
    constexpr std::size_t Budget = 3000000;
    for (const auto& c : cases) {
        TPathEngine e;
        e.Move.MaxPreviewBytes = Budget;
        e.Runner.MaxExecutedLines = 100000000; // far beyond the budget
        const TRunOutcome run = e.RunForResults(c.Program);
        EXPECT_EQ("The preview holds more than 3 MB.", run.Error) << c.Name;
        EXPECT_LE(e.Move.PreviewBytes(), Budget) << c.Name;
        // A long polyline doubles its room as it grows: the doubling that would not
        // fit stops the run.
        EXPECT_GT(e.Move.PreviewBytes(), Budget / 2) << c.Name << ": stopped by the budget";
        EXPECT_EQ(NodesInPolylines(e.Move), e.Move.PathNodeCount()) << c.Name;
        EXPECT_EQ(c.Draws, e.Move.PathNodeCount() > 0) << c.Name;
        EXPECT_EQ(std::count(run.Path.begin(), run.Path.end(), '\n'), static_cast<long>(e.Move.PathNodeCount()))
            << c.Name;
        EXPECT_FALSE(e.Runner.Capped()) << c.Name;
    }
}

} // namespace
