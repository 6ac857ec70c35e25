#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(MoveState, CreationWritesTheModeAndArcStepAndInstallsThePositionReaders)
{
    TEngineHarness h;
    EXPECT_TRUE(h.Data.SysVars.IsSet(21));
    EXPECT_TRUE(h.Data.SysVars.IsSet(-1));
    EXPECT_EQ(0, h.Data.GetSysVarInt(21));
    EXPECT_FLOAT_EQ(0.05f, h.Data.GetSysVarFloat(-1));
}

TEST(MoveState, PositionEntriesFollowTheSimulatedTool)
{
    TEngineHarness h;
    h.Move.SetPosition(TVector{3.0f, -4.5f, 0.25f, 0.0f});
    EXPECT_FLOAT_EQ(3.0f, h.Data.GetSysVarFloat(1));
    EXPECT_EQ("3,-4.5,0.25", h.Move.ReplaceSysVars("%(1),%(2),%(3)"));
    h.Move.SetPosition(TVector{7.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ("7", h.Move.ReplaceSysVars("%(1)"));
    const TArrayofCmds cmds = h.Parse("MX, %(1) + 1");
    EXPECT_EQ("8", cmds[1]);
}

TEST(MoveState, DestroyedSimulatorLeavesNoHandlerBehind)
{
    TEngineData data;
    TCalcul calcul;
    TFakeShell shell;
    {
        TMove move(data, calcul, shell);
        move.SetPosition(TVector{1.0f, 2.0f, 3.0f, 0.0f});
        EXPECT_FLOAT_EQ(2.0f, data.GetSysVarFloat(2));
    }
    EXPECT_FLOAT_EQ(0.0f, data.GetSysVarFloat(2));
}

TEST(MoveState, InputCaptionIsTheCurrentSubFileOrTheMainFile)
{
    TEngineHarness h;
    h.Move.SetFileName("main.sbp");
    TFP level;
    level.FileName = "/jobs/PART2.sbp";
    h.Move.PartFiles().PushLevel(level);
    h.Dialogs.ExpectInput(std::string("1"));
    h.Run("INPUT \"x?\" &x");
    ASSERT_EQ(1u, h.Dialogs.InputPrompts.size());
    EXPECT_EQ("/jobs/PART2.sbp", h.Dialogs.InputPrompts[0].first);
}

TEST(PartFiles, HistoryAndLevels)
{
    TPartFiles files;
    EXPECT_EQ(-1, files.GetPrevLineNumForStepBack());
    for (int i = 0; i < 10001; ++i) {
        files.AddToLinesAndNodesArray(i);
    }
    EXPECT_EQ(10001, files.HistoryCount());
    EXPECT_EQ(10000, files.PopLine());
    EXPECT_EQ(1, files.Depth());
    EXPECT_FLOAT_EQ(1.0f, files.GetCurrent().Scale.X);
    EXPECT_FLOAT_EQ(0.0f, files.GetCurrent().Scale.W);
    EXPECT_EQ(1, files.GetCurrent().Arg5);
    files.PushLevel(TFP{});
    EXPECT_EQ(2, files.Depth());
    files.PopLevel();
    files.PopLevel();
    EXPECT_EQ(1, files.Depth());
    files.Reset();
    EXPECT_EQ(0, files.HistoryCount());
}

} // namespace
