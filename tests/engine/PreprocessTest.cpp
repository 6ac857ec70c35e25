#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

void ExpectElements(const TArrayofCmds& cmds, const std::vector<std::string>& expected, const std::string& line)
{
    int i = 0;
    for (const auto& e : expected) {
        EXPECT_EQ(e, cmds[i]) << "element " << i << " of: " << line;
        ++i;
    }
    for (; i < TArrayofCmds::Count; ++i) {
        EXPECT_EQ("", cmds[i]) << "element " << i << " of: " << line;
    }
}

struct SplitCase {
    const char* Line;
    std::vector<std::string> Elements;
};

class PreprocessSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PreprocessSplit, EditorModeElements)
{
    TEngineHarness h;
    ExpectElements(h.Parse(GetParam().Line, false), GetParam().Elements, GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PreprocessSplit,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"   ", {}}, SplitCase{"' just a comment", {}},
                      SplitCase{"REM note", {}}, SplitCase{"m3, 1, 2, 3", {"M3", "1", "2", "3"}},
                      SplitCase{"M2 1,2", {"M2", "1", "2"}}, SplitCase{"M2,1,2", {"M2", "1", "2"}},
                      SplitCase{"M3 1 2", {"M3", "1 2"}}, SplitCase{"M2 .5,1", {"M2", "0.5", "1"}},
                      SplitCase{"M3, 1, .5", {"M3", "1", "0.5"}}, SplitCase{"M3,1,-.25", {"M3", "1", "-0.25"}},
                      SplitCase{"M3,,.5", {"M3", "", "0.5"}}, SplitCase{"PAUSE .25", {"PAUSE", "0.25"}},
                      SplitCase{"  MS , 2 ,  ", {"MS", "2"}}, SplitCase{"GOTO done", {"GOTO", "done"}},
                      SplitCase{"FP premium.sbp", {"FP", "premium.sbp"}},
                      SplitCase{"M3, 1, 2 ' cut here", {"M3", "1", "2"}},
                      SplitCase{"[CLAMP] c1, 10, 5, 0, 2, 2, 1 ' front clamp",
                                {"[CLAMP]", "c1", "10", "5", "0", "2", "2", "1"}},
                      SplitCase{"&x = 5", {"&X", "= 5"}}, SplitCase{"FP ./parts/a.sbp", {"FP", "./parts/a.sbp"}},
                      SplitCase{"FP,../a.sbp, 1", {"FP", "../a.sbp", "1"}}, SplitCase{"MX, -.5", {"MX", "-0.5"}},
                      SplitCase{"MX\t-1", {"MX", "-1"}}, // a tab ends the word as a blank does
                      SplitCase{"PRINT \"x\" .", {"PRINT", "\"x\" ."}}));

TEST(PreprocessSplit, TwentyFieldsKeepTheWordAndFourteenArguments)
{
    TEngineHarness h;
    std::string line = "M5";
    for (int i = 1; i <= 19; ++i) {
        line += "," + std::to_string(i);
    }
    const TArrayofCmds cmds = h.Parse(line, false);
    EXPECT_EQ("M5", cmds[0]);
    for (int i = 1; i <= 14; ++i) {
        EXPECT_EQ(std::to_string(i), cmds[i]);
    }
}

struct EvalCase {
    const char* Setup;
    const char* Line;
    std::vector<std::string> Elements;
};

class PreprocessEvaluate : public ::testing::TestWithParam<EvalCase> {};

TEST_P(PreprocessEvaluate, ArgumentsAreEvaluated)
{
    TEngineHarness h;
    h.Run(GetParam().Setup);
    const TArrayofCmds cmds = h.Parse(GetParam().Line);
    ExpectElements(cmds, GetParam().Elements, GetParam().Line);
    EXPECT_FALSE(cmds.AnyFailed());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PreprocessEvaluate,
    ::testing::Values(EvalCase{"", "M3, 1.5, -.25 ' cut here", {"M3", "1.5", "-0.25"}},
                      EvalCase{"", "M3, 41.2345, 17.0912, -0.3500", {"M3", "41.2345", "17.0912", "-0.3500"}},
                      EvalCase{"", "MX, -1.50, -007, +2.50, -0", {"MX", "-1.50", "-007", "2.50", "-0"}},
                      EvalCase{"&r = 2.5\n&a = 0", "M3, &r * 4, &a + 7 * 0.5, -0.125", {"M3", "10", "3.5", "-0.125"}},
                      EvalCase{"&w = 3", "m2, &W/2, 1", {"M2", "1.5", "1"}},
                      EvalCase{"", "MX, 2^3", {"MX", "8"}},
                      EvalCase{"", "MX, -5", {"MX", "-5"}},
                      EvalCase{"", "MX, 1e3", {"MX", "1e3"}},
                      EvalCase{"", "M3, %(21), %(12), %(13)", {"M3", "0", "96.5", "-0.5"}},
                      EvalCase{"&x = 2", "MX, %(28) + &x", {"MX", "3"}},
                      EvalCase{"", "FP, my-part/sub.sbp, 2", {"FP", "my-part/sub.sbp", "2"}},
                      EvalCase{"", "[CLAMP] left-front, 1, 2, 0, 2, 2, 1",
                               {"[CLAMP]", "left-front", "1", "2", "0", "2", "2", "1"}},
                      EvalCase{"", "IF &a = 1 THEN GOTO x-y", {"IF", "&a = 1 THEN GOTO x-y"}},
                      EvalCase{"", "my-label:", {"MY-LABEL:"}}));

TEST(PreprocessEvaluate, FailedArgumentKeepsItsOwnTextAndIsMarked)
{
    TEngineHarness h;
    h.Run("&a = 4");
    const TArrayofCmds cmds = h.Parse("M3, &a * 2, &nosuch + 1, &a - 1");
    EXPECT_EQ("8", cmds[1]);
    EXPECT_EQ("&nosuch + 1", cmds[2]);
    EXPECT_TRUE(cmds.Failed(2));
    EXPECT_EQ("3", cmds[3]);
    EXPECT_FALSE(cmds.Failed(1));
    EXPECT_FALSE(cmds.Failed(3));
    EXPECT_NE(std::string::npos, cmds.ErrorOf(2).find("NOSUCH"));
    EXPECT_EQ("", cmds.ErrorOf(1));
    // Elements of a failed line never take another element's value.
    const TArrayofCmds part = h.Parse("M2, &a + 1, my-part");
    EXPECT_EQ("5", part[1]);
    EXPECT_EQ("my-part", part[2]);
    EXPECT_TRUE(part.Failed(2));
    // Each failed element keeps its own message.
    const TArrayofCmds two = h.Parse("M2, &first + 1, 2 * &second");
    EXPECT_NE(std::string::npos, two.ErrorOf(1).find("FIRST"));
    EXPECT_NE(std::string::npos, two.ErrorOf(2).find("SECOND"));
}

TEST(PreprocessEditorMode, NothingIsEvaluatedOrStored)
{
    TEngineHarness h;
    const TArrayofCmds cmds = h.Parse("&x = 3 * 2", false);
    EXPECT_EQ(0, h.Calcul.GetVariables().Count());
    const TArrayofCmds move = h.Parse("M3, &r * 2, -.5", false);
    EXPECT_EQ("&r * 2", move[1]);
    EXPECT_EQ("-0.5", move[2]);
    EXPECT_FALSE(move.AnyFailed());
    const TArrayofCmds print = h.Parse("PRINT \"a\"; &x", false);
    EXPECT_EQ("PRINT", print[0]);
    EXPECT_EQ("\"a\"; &x", print[1]);
    EXPECT_TRUE(h.Dialogs.Shown.empty());
    EXPECT_TRUE(h.Shell.Messages.empty());
}

TEST(Assignments, StoreTheValue)
{
    const std::tuple<const char*, const char*, const char*> cases[] = { // program, name, value
        {"&x = 3 * 2", "x", "6"}, {"&x = 1\n&x = 3 * 2", "x", "6"}, {"x = abc", "x", "\"ABC\""},
        {"&x = abc", "x", "\"ABC\""}, {"&x = 5", "x", "5"}, {"&x = &nosuch + 1", "x", "NOSUCH+1"},
        {"&a = 2\n&b = &a * 10 ' comment", "b", "20"}, {"&d = %(28) + 1", "d", "2"}, {"&t = -.5", "t", "-0.5"},
        {"&q = \"abc\"", "q", "\"ABC\""}, {"&x = a", "x", "\"A\""}, {"&remain = 4", "remain", "4"},
        {"&msg = \"then\"", "msg", "\"THEN\""}, // "=" outside quotes, no IF in front: an assignment
    };
    for (const auto& [program, name, value] : cases) {
        TEngineHarness h;
        EXPECT_EQ("", h.Run(program).Error) << program;
        EXPECT_EQ(value, h.Var(name)) << program;
    }
}

TEST(Assignments, OldLineIsReplacedNotDuplicated)
{
    TEngineHarness h;
    h.Run("&x = 1\n&y = 2\n&x = 3");
    EXPECT_EQ("y=2\r\nx=3\r\n", h.Calcul.GetVariablesText());
}

TEST(Assignments, AnAssignmentIsNotDispatched)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("&height = 5\nFPX = 1\nTOOL = 2\nUZ_OFF = 3");
    EXPECT_EQ("", out.Error);
    EXPECT_TRUE(h.Shell.LogLines.empty());
    EXPECT_EQ("5", h.Var("height"));
    EXPECT_EQ("1", h.Var("FPX"));
    EXPECT_EQ("", h.Move.CmdWord());
    const TArrayofCmds cmds = h.Parse("&height = 5");
    EXPECT_EQ("", cmds[0]);
}

TEST(Assignments, IfLineIsNotAnAssignment)
{
    TEngineHarness h;
    h.Run("&a = 2\nIF &a > 1 THEN &b = 2");
    EXPECT_EQ("2", h.Var("b"));
    EXPECT_EQ(2, h.Calcul.GetVariables().Count());
}

TEST(SystemVarSubstitution, Cases)
{
    TEngineHarness h;
    EXPECT_EQ("M3, 0", h.Move.ReplaceSysVars("M3, %(21)"));
    EXPECT_EQ("x %(abc) %(21)", h.Move.ReplaceSysVars("x %(abc) %(21)"));
    EXPECT_EQ("0 %(abc) 0", h.Move.ReplaceSysVars("%(21) %(abc) %(21)"));
    EXPECT_EQ("%(21", h.Move.ReplaceSysVars("%(21"));
    EXPECT_EQ("a  b", h.Move.ReplaceSysVars("a %(60) b"));
    EXPECT_EQ("96.5,-0.5", h.Move.ReplaceSysVars("%(12),%(13)"));
    EXPECT_EQ("  ", h.Move.ReplaceSysVars("  "));
}

TEST(SystemVarSubstitution, SubstitutedTextIsNotSubstitutedAgain)
{
    TEngineHarness h;
    h.Data.SetSysVarStr(-3, "%(-3)");
    EXPECT_EQ("[%(-3)]", h.Move.ReplaceSysVars("[%(-3)]"));
    h.Data.SetSysVarStr(-3, "%(21)");
    EXPECT_EQ("%(21) 0", h.Move.ReplaceSysVars("%(-3) %(21)"));
}

TEST(UserVarSubstitution, Cases)
{
    TEngineHarness h;
    h.Run("&a = 5\n&ab = 7\n&s = hello");
    EXPECT_EQ("5 7", h.Move.ReplaceUserVars("&a &ab"));
    EXPECT_EQ("&nosuch 5", h.Move.ReplaceUserVars("&nosuch &a"));
    EXPECT_EQ("\"HELLO\"!", h.Move.ReplaceUserVars("&S!"));
    EXPECT_EQ("a & b", h.Move.ReplaceUserVars("a & b"));
    h.Calcul.GetVariables().Add("loop=\"&LOOP\"");
    EXPECT_EQ("\"&LOOP\" and \"&LOOP\"", h.Move.ReplaceUserVars("&loop and &loop"));
}

TEST(PreprocessPrint, QuotesAndSemicolonsGoVariablesAreReplaced)
{
    TEngineHarness h;
    h.Run("&t = 12.5");
    const TArrayofCmds cmds = h.Parse("PRINT \"Total: \";&t");
    EXPECT_EQ("PRINT", cmds[0]);
    EXPECT_EQ("Total: 12.5", cmds[1]);
    for (int i = 2; i < TArrayofCmds::Count; ++i) {
        EXPECT_EQ("", cmds[i]);
    }
    EXPECT_EQ("don't stop", h.Parse("print \"don't stop\" ' comment")[1]);
    EXPECT_EQ("x, -1", h.Parse("PRINT \"x, -1\"")[1]);
}

} // namespace
