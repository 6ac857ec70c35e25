// IF ... THEN chains on one line: each condition in turn, then the statement after the
// last THEN, with the line bookkeeping of one nested statement per THEN; and chains of
// any length, alone or around sub-file calls, never exhaust the stack.

#include "EnginePathSupport.h"

#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    out.reserve(text.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

struct TChainCase {
    const char* Program;
    std::vector<std::string> Messages;
    std::string Error;
    bool Stopped;
    // The simulator's texts after the run: line, previous line, command word, previous word.
    const char* LineText;
    const char* PrevLineText;
    const char* CmdWord;
    const char* PrevCmdWord;
};

TEST(NestedIf, ChainsBehaveAsOneNestedStatementPerThen)
{
    const TChainCase cases[] = {
        {"IF 1=1 THEN IF 2=2 THEN PRINT \"x\"", {"x"}, "", false,
         "PRINT \"x\"", "IF 2=2 THEN PRINT \"x\"", "PRINT", "IF"},
        {"IF 1=1 THEN if 2=2 then IF 3=4 THEN PRINT \"x\"  ", {}, "", false,
         "IF 3=4 THEN PRINT \"x\"", "if 2=2 then IF 3=4 THEN PRINT \"x\"", "IF", "IF"},
        // A false first condition ends the chain before any nested statement.
        {"IF 1=2 THEN IF 2=2 THEN PRINT \"x\"", {}, "", false,
         "IF 1=2 THEN IF 2=2 THEN PRINT \"x\"", "", "IF", ""},
        {"IF 1=1 THEN IF 1=1 THEN END\nPRINT \"not reached\"", {}, "", true, "END", "IF 1=1 THEN END", "END", "IF"},
        {"IF 1=1 THEN IF 2.5 THEN PRINT \"x\"", {}, "The condition \"2.5\" (line: 1) gives 2.5, not a whole number",
         false, "IF 2.5 THEN PRINT \"x\"", "IF 1=1 THEN IF 2.5 THEN PRINT \"x\"", "IF", "IF"},
        {"IF 1=1 THEN if 1=1 THEN &v = 7\nPRINT &v", {"7"}, "", false, "PRINT &v", "&v = 7", "PRINT", "IF"},
        {"IF 1=1 THEN IF 1=1 THEN GOTO done\nPRINT \"fell through\"\ndone:\nPRINT \"done\"", {"done"}, "", false,
         "PRINT \"done\"", "GOTO done", "PRINT", "GOTO"},
    };
    for (const TChainCase& c : cases) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(c.Program);
        EXPECT_EQ(c.Messages, h.Shell.Messages) << c.Program;
        EXPECT_EQ(c.Error, out.Error) << c.Program;
        EXPECT_EQ(c.Stopped, out.Stopped) << c.Program;
        EXPECT_EQ(c.LineText, h.Move.LineText()) << c.Program;
        EXPECT_EQ(c.PrevLineText, h.Move.PrevLineText()) << c.Program;
        EXPECT_EQ(c.CmdWord, h.Move.CmdWord()) << c.Program;
        EXPECT_EQ(c.PrevCmdWord, h.Move.PrevCmdWord()) << c.Program;
        const std::vector<int>& history = h.Move.PartFiles().History();
        EXPECT_EQ(1, std::count(history.begin(), history.end(), 0)) << "the IF line is recorded once: " << c.Program;
    }
    TEngineHarness h;
    h.Run("IF 1=1 THEN IF 1=1 PRINT \"x\"");
    ASSERT_EQ(1u, h.Shell.LogLines.size());
    EXPECT_EQ("IF without THEN (line: 1): nothing was executed", h.Shell.LogLines[0].second);
}

TEST(NestedIf, TwentyThousandThensOnOneLine)
{
    TEngineHarness h;
    const std::string chain = Repeat("IF 1=1 THEN ", 20000);
    const TRunOutcome out = h.Run(chain + "PRINT \"x\"\n" + chain + "IF 1=2 THEN PRINT \"y\"\nPRINT \"z\"");
    EXPECT_EQ("", out.Error);
    EXPECT_EQ((std::vector<std::string>{"x", "z"}), h.Shell.Messages);
}

TEST(NestedIf, SubFilesCalledInsideAChainStopAtTheFileDepthLimit)
{
    for (int thens : {40, 200}) {
        TTempFolder folder("nested_if");
        folder.Write("main.sbp", Repeat("IF 1=1 THEN ", thens) + "FP main.sbp\r\n");
        TPathEngine e;
        e.Shell.Suppress = true;
        std::string error;
        try {
            e.Runner.RunFileForResults(folder.Path("main.sbp"));
        } catch (const ERunError& err) {
            error = err.Message();
        }
        EXPECT_EQ("Sub-files nested deeper than " + std::to_string(TMove::MaxFileDepth) + " levels (line: 1)", error)
            << thens;
    }
}

} // namespace
