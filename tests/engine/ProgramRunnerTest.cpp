// The headless runner reads program files the way the editor's buffer does, so a
// sub-file and a results run see the lines an editor page shows.

#include "EnginePathSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgramRunnerLines, EveryLineBreakStyleEndsALine)
{
    const std::pair<std::string, TProgramLines> cases[] = {
        {"M2,1,1\rM2,2,2\r", {"M2,1,1", "M2,2,2"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR: two breaks
        {"a\n\nb\n", {"a", "", "b"}},
        {"\n", {""}},
        {"x\r", {"x"}},
        {"", {}},
    };
    TTempFolder folder("runner_lines");
    for (const auto& [text, expected] : cases) {
        folder.Write("part.sbp", text);
        TProgramLines lines{"left over"};
        ASSERT_TRUE(TProgramRunner::LoadLines(folder.Path("part.sbp"), lines));
        EXPECT_EQ(expected, lines) << text;
    }
}

TEST(ProgramRunnerLines, ASubFileWithCarriageReturnsRunsEveryLine)
{
    TTempFolder folder("runner_cr");
    folder.Write("sub.sbp", "M2,1,1\rM2,2,2\r");
    folder.Write("main.sbp", "FP, sub.sbp\r");
    TPathEngine e;
    EXPECT_EQ(ExpectedPath("0,0,0;1,1,0;2,2,0"), e.Runner.RunFileForResults(folder.Path("main.sbp")));
}

} // namespace
