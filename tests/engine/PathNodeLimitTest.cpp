// The preview's path nodes are bounded: a program that would draw more stops with an
// error and keeps what it drew, and the count follows every way nodes go away.

#include "EnginePathSupport.h"

#include "engine/EngineErrors.h"
#include "scene/objects/Lines.h"

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
    std::string error;
    try {
        e.Run("&i = 0\nagain:\nJ2, 0, 1\nCC, 1, , 1, 0, 3\n&i = &i + 1\nIF &i < 1000000 THEN GOTO again");
    } catch (const ERunError& err) {
        error = err.Message();
    }
    EXPECT_EQ("The preview holds more than 20000 points.", error);
    EXPECT_EQ(20000u, e.Move.PathNodeCount());
    EXPECT_EQ(20000u, NodesInPolylines(e.Move));
    std::string cuts;
    std::string jogs;
    e.Move.GetPathText("M", cuts);
    e.Move.GetPathText("J", jogs);
    EXPECT_EQ(20000, std::count(cuts.begin(), cuts.end(), '\n') + std::count(jogs.begin(), jogs.end(), '\n'));
    EXPECT_FALSE(e.Runner.Capped());
}

TEST(PathNodeLimit, TheCountFollowsStepBackAndReset)
{
    TPathEngine e;
    e.Run("M2, 1, 1\nJ2, 3, 3\nCC, 1, , 1, 0, 2\nM2, 0, 0\nZX\nM2, 2, 2\nJY, 4");
    ASSERT_GT(e.Move.PathNodeCount(), 10u);
    EXPECT_EQ(NodesInPolylines(e.Move), e.Move.PathNodeCount());
    while (e.Runner.StepBack(e.Lines)) {
        EXPECT_EQ(NodesInPolylines(e.Move), e.Move.PathNodeCount());
    }
    EXPECT_EQ(0u, e.Move.PathNodeCount());
    // A full run again after a reset may draw up to the limit once more.
    e.Move.MaxPathNodes = NodesInPolylines(e.Move) + 3;
    EXPECT_NO_THROW(e.Run("M2, 1, 1\nM2, 2, 2"));
    EXPECT_NO_THROW(e.Run("M2, 1, 1\nM2, 2, 2"));
    EXPECT_EQ(3u, e.Move.PathNodeCount());
}

} // namespace
