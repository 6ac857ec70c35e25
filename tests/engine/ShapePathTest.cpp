// Cutting shapes and clamps in whole programs: the path text they leave among moves,
// zero offsets and sub-files, and the clamp boxes of a run.

#include "EnginePathSupport.h"

#include "platform/core/Exceptions.h"
#include "scene/objects/shapes/Cubes.h"

#include <gtest/gtest.h>

namespace {

// Worked by hand from the shapes' formulas. "VU, , , , , 4" makes the arc step 4 rad,
// so an arc of a quarter turn has no step point at all.
const TPathCase Shapes[] = {
    {"rectangle after a move", "M2, 1, 1\nCR, 2, 1, , -1\nM2, 0, 0",
     "0,0,0;1,1,0;1,1,0;3,1,0;3,2,0;1,2,0;1,1,0;1,1,0;0,0,0"},
    {"rectangle inside zero offsets", "M2, 2, 3\nZ2\nCR, 1, 1", "0,0,0;2,3,0;2,3,0;2,4,0;3,4,0;3,3,0;2,3,0"},
    {"two passes with plunge", "CR, 1, 1, , , 1, -0.5, 2, 1",
     "0,0,0;1,0,0;1,-1,0;0,-1,0;0,0,0;0,0,-0.5;1,0,-0.5;1,-1,-0.5;0,-1,-0.5;0,0,-0.5"},
    {"pocket returning over the safe height", "VC, 0.5, , , 2\nCR, 1, 1, , , , , , 2",
     // A new polyline starts where the tool is, so the inward step is drawn.
     "0,0,0;0,1,0;1,1,0;1,0,0;0,0,0;0,0,0;0.45,0.45,0;0.45,0.55,0;0.55,0.55,0;0.55,0.45,0;0.45,0.45,0;"
     "0.9,0.9,2;0,0,2;0,0,0"},
    {"helical arc of less than a step", "VU, , , , , 4\nCC, 2, , 1, 0, 90, -0.5, , , , 3", "0,0,0;1,-1,-0.5;0,0,0"},
    {"chord arc of less than a step", "VU, , , , , 4\nCA, 2, 1", "0,0,0;2,0,0"},
};

class ShapePaths : public ::testing::TestWithParam<TPathCase> {};

TEST_P(ShapePaths, PathText)
{
    TPathEngine e;
    e.Shell.Suppress = true;
    EXPECT_EQ(ExpectedPath(GetParam().Path), e.Run(GetParam().Program)) << GetParam().Program;
}

INSTANTIATE_TEST_SUITE_P(Programs, ShapePaths, ::testing::ValuesIn(Shapes), PathCaseName);

TEST(ShapePathsInSubFiles, OffsetAndScaleApply)
{
    TTempFolder folder("shapes");
    folder.Write("sub.sbp", "CR, 1, 1\n");
    TPathEngine e;
    e.Shell.Suppress = true;
    const std::string path = e.Run("M2, 10, 20\nFP, sub.sbp, 2, 2, 1, 1, 1", folder.Path("main.sbp"));
    // The call's offset is the position (10, 20); scene = (offset + program) x scale.
    // The shape's polyline starts where the tool was.
    EXPECT_EQ(path, ExpectedPath("0,0,0;10,20,0;10,20,0;40,80,0;40,82,0;42,82,0;42,80,0;40,80,0"));
}

TEST(ShapeStepBack, RemovesTheWholeShapeAndRestoresThePosition)
{
    TPathEngine e;
    e.Run("M2, 1, 1\nCC, 2, , , , , -0.25, 2\nM2, 3, 3");
    ASSERT_TRUE(e.Runner.StepBack(e.Lines));
    ASSERT_TRUE(e.Runner.StepBack(e.Lines));
    std::string cuts;
    e.Move.GetPathText("M", cuts);
    EXPECT_EQ(cuts, ExpectedPath("0,0,0;1,1,0"));
    TVector position{};
    e.Move.GetPosition(position);
    EXPECT_TRUE(position.X == 1 && position.Y == 1 && position.Z == 0) << "the plunges are undone too";
}

TEST(ClampRuns, ClampLinesAddBoxesUntilTheShellFreesThem)
{
    TPathEngine e;
    TGLBaseSceneObject clampsParent;
    e.Move.SetClampsParent(&clampsParent);
    e.Run("[CLAMP] c1, 10, 5, 0, 2, 2, 1 ' front\n[CLAMP] c2, 0, 0, 0, 1, 1, 1");
    ASSERT_EQ(e.Move.Clamps().Count(), 2);
    EXPECT_EQ(e.Move.Clamps()[0].Cube->Hint(), "c1");
    EXPECT_EQ(e.Move.Clamps()[1].Cube->Hint(), "c2");
    EXPECT_EQ(clampsParent.Count(), 2);
    e.Run("[CLAMP] c3, 0, 0, 0, 1, 1, 1");
    ASSERT_EQ(e.Move.Clamps().Count(), 1) << "a new run frees the clamps of the last one";
    EXPECT_EQ(clampsParent.Count(), 1);
    EXPECT_THROW(e.Run("[CLAMP] bad, 0, 0, zero, 1, 1, 1"), EConvertError);
    EXPECT_EQ(clampsParent.Count(), 0) << "a bad number leaves no box";
}

} // namespace
