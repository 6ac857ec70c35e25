#include "engine/LabelIndex.h"

#include <gtest/gtest.h>

namespace {

TEST(LabelIndex, FindsTheFirstLabelIgnoringCase)
{
    TLabelIndex index;
    const TProgramLines lines = {"M3,1,1,1", "Loop: ' top", "PRINT 1", "loop:", "end:"};
    EXPECT_EQ(1, index.Find(lines, "LOOP"));
    EXPECT_EQ(1, index.Find(lines, "loop"));
    EXPECT_EQ(4, index.Find(lines, "End"));
    EXPECT_EQ(-1, index.Find(lines, "nowhere"));
    EXPECT_EQ(-1, index.Find(lines, "PRINT 1"));
}

TEST(LabelIndex, FollowsEditsOfTheSameProgram)
{
    TLabelIndex index;
    TProgramLines lines = {"a:", "b:", "c:"};
    EXPECT_EQ(1, index.Find(lines, "b"));
    // Same size, label moved: the stale entry is checked and rebuilt.
    lines[1] = "PRINT 2";
    lines[2] = "b:";
    EXPECT_EQ(2, index.Find(lines, "b"));
    // A label added in place of another line is found although the size is unchanged.
    lines[0] = "new:";
    EXPECT_EQ(0, index.Find(lines, "new"));
    lines.push_back("tail:");
    EXPECT_EQ(3, index.Find(lines, "tail"));
}

TEST(LabelIndex, AnotherProgramGetsItsOwnIndex)
{
    TLabelIndex index;
    const TProgramLines first = {"x:", "y:"};
    const TProgramLines second = {"y:", "x:"};
    EXPECT_EQ(1, index.Find(first, "y"));
    EXPECT_EQ(0, index.Find(second, "y"));
    EXPECT_EQ(0, index.Find(first, "x"));
}

} // namespace
