#include "EngineTestSupport.h"

#include "engine/LineLoop.h"
#include "engine/VariablesView.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(LineLoop, BeforeLineHookCanStopTheRun)
{
    TEngineHarness h;
    h.Lines = ToLines("PRINT \"1\"\nPRINT \"2\"\nPRINT \"3\"");
    TLineLoopHooks hooks;
    std::vector<int> asked;
    hooks.BeforeLine = [&](int index) {
        asked.push_back(index);
        return index < 2;
    };
    EXPECT_EQ(TLineLoopEnd::Stopped, RunLines(h.Move, h.Lines, hooks));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), asked);
    EXPECT_EQ((std::vector<std::string>{"1", "2"}), h.Shell.Messages);
}

TEST(LineLoop, AfterLineHookSeesEveryExecutedLineAndCanStop)
{
    TEngineHarness h;
    h.Lines = ToLines("GOTO b\na:\nb:\nPRINT \"x\"\nPRINT \"y\"");
    TLineLoopHooks hooks;
    std::vector<int> done;
    hooks.AfterLine = [&](int index) {
        done.push_back(index);
        return index != 3;
    };
    EXPECT_EQ(TLineLoopEnd::Stopped, RunLines(h.Move, h.Lines, hooks));
    EXPECT_EQ((std::vector<int>{0, 3}), done);
}

TEST(LineLoop, RunsToTheEndWithoutHooks)
{
    TEngineHarness h;
    h.Lines = ToLines("&a = 1\n&a = &a + 1\nPRINT &a");
    EXPECT_EQ(TLineLoopEnd::Completed, RunLines(h.Move, h.Lines));
    EXPECT_EQ((std::vector<std::string>{"2"}), h.Shell.Messages);
}

TEST(LineLoop, ErrorsReachTheCaller)
{
    TEngineHarness h;
    h.Lines = ToLines("GOTO nowhere");
    EXPECT_THROW(RunLines(h.Move, h.Lines), Exception);
}

// Only the "=" between name and value is widened; a value shows as it is.
TEST(VariablesView, OnlyTheEqualsSignAfterTheNameIsWidened)
{
    EXPECT_EQ((std::vector<std::string>{"&x = 6", "&name = \"ABC\"", "&e = a=b", "&empty = ", "&s = \"A=B==C\"",
                                        "&q = ==", "&noname"}),
              VariablesListEntries("x=6\r\nname=\"ABC\"\r\ne=a=b\r\nempty=\r\ns=\"A=B==C\"\r\nq===\r\nnoname\r\n"));
    EXPECT_TRUE(VariablesListEntries("").empty());
    EXPECT_EQ((std::vector<std::string>{"&a = 1", "&b = 2"}), VariablesListEntries("a=1\nb=2"));
}

} // namespace
