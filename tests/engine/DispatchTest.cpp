#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Trace = std::vector<int>;

std::string QuestionText(const char* word, int line)
{
    return std::string("Command: \"") + word + "\" (line: " + std::to_string(line)
        + ") has not been implemented yet.  Continue?";
}

TEST(Dispatch, BlankAndCommentLinesAreRecordedAndBecomeThePreviousLine)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("\n' a comment\nREM another");
    EXPECT_EQ((Trace{1, 2, 3}), out.Trace);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), h.Move.PartFiles().History());
    EXPECT_EQ("REM another", h.Move.LineText());
    EXPECT_EQ("' a comment", h.Move.PrevLineText());
}

TEST(Dispatch, LineBookkeeping)
{
    TEngineHarness h;
    EXPECT_EQ(-1, h.Move.LineNumber());
    EXPECT_EQ(-1, h.Move.PrevLineNumber());
    h.Run("SA\nSR\t ' relative");
    EXPECT_EQ(2, h.Move.LineNumber());
    EXPECT_EQ(1, h.Move.PrevLineNumber());
    EXPECT_EQ("SR ' relative", h.Move.LineText());
    EXPECT_EQ("SR", h.Move.CmdWord());
    EXPECT_EQ("SA", h.Move.PrevCmdWord());
}

TEST(Dispatch, MotionLinesAreLeftToRecordThemselves)
{
    TEngineHarness h;
    h.Run("M3, 1, 2, 3\nJ2, 1, 1\nSA\nMOVE");
    // Once each: the motion lines when they add their node, the others after dispatch.
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), h.Move.PartFiles().History());
}

TEST(Dispatch, NotApplicableCommandsWriteOneInfoLine)
{
    // "MOVE" is logged under its two-letter family "MO".
    for (const char* word : {"MO", "MOVE", "ZT", "VD", "VH", "VI", "VN", "VP", "VR", "SK", "SM", "SO", "SP",
                             "ST", "SW", "TC", "TD", "TF", "TH", "TI", "TS", "TT", "TU", "UD", "UI", "UL",
                             "UN", "UR", "UU", "UV", "FC", "FE", "FG", "FS", "HA", "HB", "HC", "HE", "HN",
                             "HQ", "HR", "HT", "HU", "HW", "RA", "RI", "RP", "RR", "RS", "RZ"}) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(std::string(word) + ", 1");
        EXPECT_EQ("", out.Error) << word;
        ASSERT_EQ(1u, h.Shell.LogLines.size()) << word;
        EXPECT_EQ("info", h.Shell.LogLines[0].first) << word;
        EXPECT_EQ("\"" + std::string(word).substr(0, 2) + "\" command in not applicable for Kerfpad.",
                  h.Shell.LogLines[0].second);
        EXPECT_TRUE(h.Dialogs.Shown.empty()) << word;
    }
}

TEST(Dispatch, FamilyCommandsThatAreSimulatedLogNothing)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("MS, 2\nJS, 3\nZX\nVC, 0.5\nSA\nSR\nUZ\nFN\nHX\nRX\nTX\nCR, 1, 1");
    EXPECT_EQ("", out.Error);
    EXPECT_TRUE(h.Shell.LogLines.empty());
    EXPECT_TRUE(h.Dialogs.Shown.empty());
}

TEST(UnimplementedQuestion, KnownWordsAskAndNoStopsTheRun)
{
    struct Question {
        const char* Word;
        int Line;
        TModalResult Answer;
    };
    const std::tuple<const char*, std::vector<Question>, Trace, bool> cases[] = { // program, questions, trace, stopped
        {"SA\nOPEN \"x\" FOR INPUT AS #1\nSR", {{"OPEN", 2, TModalResult::mrNo}}, {1, 2}, true},
        {"CS, 1\nON INP(&v,1) GOTO x\nSA", {{"CS", 1, TModalResult::mrYes}, {"ON", 2, TModalResult::mrYes}}, {1, 2, 3},
         false},
        {"EXIT SHOPBOT\nexit shopbot\nSA",
         {{"EXIT SHOPBOT", 1, TModalResult::mrYes}, {"EXIT SHOPBOT", 2, TModalResult::mrCancel}}, {1, 2}, true},
        {"&a = 1\nIF &a = 1 THEN OPEN\nPRINT \"not reached\"", {{"OPEN", 2, TModalResult::mrNo}}, {1, 2}, true},
    };
    for (const auto& [program, questions, trace, stopped] : cases) {
        TEngineHarness h;
        for (const Question& q : questions) {
            h.Dialogs.ExpectMessage(QuestionText(q.Word, q.Line), q.Answer);
        }
        const TRunOutcome out = h.Run(program);
        EXPECT_EQ("", out.Error) << program;
        EXPECT_EQ(stopped, out.Stopped) << program;
        EXPECT_EQ(trace, out.Trace) << program;
        EXPECT_TRUE(h.Shell.Messages.empty()) << program;
        ASSERT_EQ(questions.size(), h.Dialogs.Shown.size()) << program;
        for (const TShownDialog& shown : h.Dialogs.Shown) {
            EXPECT_EQ(TMsgDlgType::mtWarning, shown.Type) << program;
            EXPECT_EQ(mbYes | mbNo, shown.Buttons) << program;
        }
    }
}

TEST(UnimplementedQuestion, SkippedWhenSuppressedOrDuringQuickView)
{
    for (int mode = 0; mode < 2; ++mode) {
        TEngineHarness h;
        h.Shell.Suppress = mode == 0;
        h.Shell.QuickView = mode == 1;
        const TRunOutcome out = h.Run("OPEN\nEXIT SHOPBOT\nSA");
        EXPECT_EQ((Trace{1, 2, 3}), out.Trace);
        EXPECT_TRUE(h.Dialogs.Shown.empty());
    }
}

TEST(UnimplementedQuestion, ExecutedStatementsNeverAsk)
{
    TEngineHarness h;
    h.Dialogs.ExpectInput(std::string("3"));
    h.Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    const TRunOutcome out = h.Run("GOSUB sub\nGOTO last\nsub:\nRETURN\nlast:\nPRINT \"hi\"\n"
                                  "INPUT \"n?\" &n\nIF &n = 3 THEN PAUSE\nPAUSE 1\nEND");
    EXPECT_EQ("", out.Error);
    EXPECT_TRUE(out.Stopped);
    EXPECT_EQ((Trace{1, 4, 2, 6, 7, 8, 9, 10}), out.Trace);
}

TEST(Labels, LabelLinesAreNeverExecutedAsCommands)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("main:\nend:\nopen:\nMO:\nSA");
    EXPECT_FALSE(out.Stopped);
    EXPECT_EQ((Trace{1, 2, 3, 4, 5}), out.Trace);
    EXPECT_TRUE(h.Shell.LogLines.empty());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), h.Move.PartFiles().History());
}

TEST(Gosub, JumpsAfterTheLabelAndReturnsAfterTheCall)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("GOSUB Sub1\nPRINT \"back\"\nEND\nsub1: ' the subroutine\nPRINT \"in\"\nRETURN");
    EXPECT_EQ("", out.Error);
    EXPECT_EQ((Trace{1, 5, 6, 2, 3}), out.Trace);
    EXPECT_EQ((std::vector<std::string>{"in", "back"}), h.Shell.Messages);
    EXPECT_TRUE(h.Move.GosubStack().empty());
}

TEST(FlowControl, Traces)
{
    const std::pair<const char*, Trace> cases[] = {
        {"FOO, 1\nBAR", {1, 2}},                                        // unknown words are ignored
        {"GOSUB a\nEND\na:\nGOSUB b\nRETURN\nb:\nRETURN", {1, 4, 7, 5, 2}}, // nested calls return in order
        {"RETURN\nSA", {1, 2}},                                         // an empty stack does nothing
        {"GOTO a\na:\nRETURN\nPRINT \"after\"", {1, 3, 4}},            // GOTO pushes nothing
        {"&a = 1\nIF &a = 1 THEN GoSub sub\nEND\nsub:\nRETURN", {1, 2, 5, 3}}, // back after the IF line
    };
    for (const auto& [program, trace] : cases) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(program);
        EXPECT_EQ("", out.Error) << program;
        EXPECT_EQ(trace, out.Trace) << program;
        EXPECT_TRUE(h.Move.GosubStack().empty()) << program;
        EXPECT_TRUE(h.Dialogs.Shown.empty()) << program;
    }
}

TEST(FlowControl, Messages)
{
    using Messages = std::vector<std::string>;
    const std::tuple<const char*, Messages, bool> cases[] = { // program, PRINT output, stopped
        {"GOTO done ' skip the middle\nPRINT \"skipped\"\ndone:\nPRINT \"here\"", {"here"}, false},
        // Labels match without regard to case and the first wins.
        {"goto LOOP\nPRINT \"no\"\nLoop:\nPRINT \"first\"\nEND\nloop:\nPRINT \"second\"", {"first"}, true},
        {"&i = 0\nagain:\n&i = &i + 1\nIF &i < 5 THEN GOTO again\nPRINT &i", {"5"}, false},
        {"&a = 1\nIF &a = 1 THEN END\nPRINT \"not reached\"", {}, true},
        // A whole number other than one is false.
        {"&a = 2\nIF &a THEN PRINT \"x\"\nIF &a - 1 THEN PRINT \"y\"", {"y"}, false},
        {"&t = 3\nPRINT \"Total: \";&t\nPRINT", {"Total: 3", ""}, false},
        {"&athena = 5\n&lift = 2\n&name = abc\n"
         "IF &athena > 4 THEN PRINT \"a\"\n"
         "if &lift = 2 then print \"b\"\n"
         "If &name = abc Then PRINT \"c\"\n"
         "IF &lift = &lift THEN PRINT \"d\"\n"
         "IF &athena == 5 THEN PRINT \"e\"\n"
         "IF &lift >= 3 THEN PRINT \"no\"\n"
         "IF %(21) = 0 THEN PRINT \"f\"",
         {"a", "b", "c", "d", "e", "f"}, false},
    };
    for (const auto& [program, messages, stopped] : cases) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(program);
        EXPECT_EQ("", out.Error) << program;
        EXPECT_EQ(messages, h.Shell.Messages) << program;
        EXPECT_EQ(stopped, out.Stopped) << program;
    }
}

TEST(Gosub, StackIsEmptiedWhenARunStarts)
{
    TEngineHarness h;
    h.Run("GOSUB a\nEND\na:\nEND");
    EXPECT_EQ(1u, h.Move.GosubStack().size());
    const TRunOutcome out = h.Run("RETURN\nPRINT \"ran on\"");
    EXPECT_EQ((Trace{1, 2}), out.Trace);
    EXPECT_TRUE(h.Move.GosubStack().empty());
}

TEST(Gosub, RunawayRecursionStopsAtTheNestingLimit)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("again:\nGOSUB again\nPRINT \"not reached\"");
    EXPECT_EQ("GOSUB calls nest too deep (line: 2)", out.Error);
    EXPECT_EQ(TMove::MaxGosubDepth, h.Move.GosubStack().size());
    EXPECT_TRUE(h.Shell.Messages.empty());
}

// A step back over a flow statement jumps nowhere and puts the GOSUB stack back as the
// line found it (a RETURN's return comes back, a GOSUB's goes), so a Step that runs the
// line again does what it did the first time.
TEST(FlowControl, StepBackJumpsNowhereAndPutsTheGosubStackBack)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("GOSUB s\nEND\ns:\nGOSUB t\nEND\nt:\nGOTO u\nu:\nRETURN");
    ASSERT_EQ((Trace{1, 4, 7, 9, 5}), out.Trace);
    ASSERT_EQ((std::vector<int>{0}), h.Move.GosubStack());
    const std::pair<int, std::vector<int>> steps[] = {
        {4, {0}}, {8, {0, 3}}, {6, {0, 3}}, {3, {0}}, {0, {}}, // END, RETURN, GOTO, GOSUB t, GOSUB s
    };
    for (const auto& [expected, stack] : steps) {
        const int index = h.Move.PartFiles().GetPrevLineNumForStepBack();
        ASSERT_EQ(expected, index);
        const std::string& line = h.Lines[static_cast<std::size_t>(index)];
        int next = -1;
        h.Move.ExecuteLine(&h.Lines, line, h.Parse(line), index, &next, true);
        EXPECT_EQ(-1, next) << line;
        EXPECT_EQ(stack, h.Move.GosubStack()) << line;
    }
}

TEST(Goto, MissingLabelStopsTheRunWithAnError)
{
    for (const char* statement : {"GOTO", "GOSUB"}) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(std::string("SA\n") + statement + " nowhere\nPRINT \"not reached\"");
        EXPECT_EQ("Cannot find the label \"nowhere\" (line: 2)", out.Error);
        EXPECT_TRUE(h.Shell.Messages.empty());
        EXPECT_EQ(TMsgDlgType::mtError, h.Dialogs.Shown.back().Type);
    }
}

TEST(IfThen, ConditionDecidesTheJump)
{
    const std::pair<const char*, bool> cases[] = {{"&a = 1", true}, {"&a = 2", false}, {"&a = 3 - 2", true},
                                                  {"&a = abc", false}};
    for (const auto& [setup, jumps] : cases) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(std::string(setup) + "\nIF &a = 1 THEN GOTO done\nPRINT \"fell through\"\ndone:");
        EXPECT_EQ("", out.Error) << setup;
        EXPECT_EQ(jumps, h.Shell.Messages.empty()) << setup;
    }
}

TEST(IfThen, StatementBookkeeping)
{
    TEngineHarness h;
    h.Run("&a = 1\nIF &a = 1 THEN SR");
    EXPECT_EQ("SR", h.Move.LineText());
    EXPECT_EQ("IF &a = 1 THEN SR", h.Move.PrevLineText());
    EXPECT_EQ("SR", h.Move.CmdWord());
    EXPECT_EQ(2, h.Move.LineNumber());
    // The IF line is recorded once, not once more for its statement.
    EXPECT_EQ((std::vector<int>{0, 1}), h.Move.PartFiles().History());
}

TEST(IfThen, ConditionThatCannotBeEvaluatedIsFalseAndLogged)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("IF &nosuch = 1 THEN PRINT \"x\"\nIF %(25)=1 THEN GOSUB UNIT_ERROR\nPRINT \"ran on\"");
    EXPECT_EQ("", out.Error);
    EXPECT_EQ((std::vector<std::string>{"ran on"}), h.Shell.Messages);
    ASSERT_EQ(2u, h.Shell.LogLines.size());
    EXPECT_EQ("error", h.Shell.LogLines[0].first);
    EXPECT_EQ(0u, h.Shell.LogLines[0].second.find("Cannot evaluate the condition \"&nosuch = 1\" (line: 1): "))
        << h.Shell.LogLines[0].second;
    EXPECT_EQ(0u, h.Shell.LogLines[1].second.find("Cannot evaluate the condition \"=1\" (line: 2)"))
        << h.Shell.LogLines[1].second;
}

TEST(IfThen, ConditionThatIsNoWholeNumberStopsTheRun)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("&a = 2.5\nIF &a THEN PRINT \"x\"");
    EXPECT_EQ("The condition \"&a\" (line: 2) gives 2.5, not a whole number", out.Error);
    EXPECT_TRUE(h.Shell.Messages.empty());
}

TEST(IfThen, WithoutThenExecutesNothingAndIsLogged)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("IF 1 = 1 PRINT \"x\"\nPRINT \"y\"");
    EXPECT_EQ("", out.Error);
    EXPECT_EQ((std::vector<std::string>{"y"}), h.Shell.Messages);
    ASSERT_EQ(1u, h.Shell.LogLines.size());
    EXPECT_EQ("IF without THEN (line: 1): nothing was executed", h.Shell.LogLines[0].second);
}

TEST(Pause, NumberWaitsThroughTheShellWithoutFreezing)
{
    TEngineHarness h;
    h.Run("PAUSE 2\nPAUSE -3\nPAUSE &t + 1");
    EXPECT_EQ((std::vector<int>{2000, 0}), h.Shell.Waits);
}

TEST(Pause, AFractionOfASecondShowsTheBoxInsteadOfWaiting)
{
    TEngineHarness h;
    h.Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    h.Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    h.Run("PAUSE .25\nPAUSE 1.5");
    EXPECT_TRUE(h.Shell.Waits.empty());
    EXPECT_EQ(2u, h.Dialogs.Shown.size());
}

TEST(Pause, QuickViewSkipsSuppressDoesNot)
{
    TEngineHarness quick;
    quick.Shell.QuickView = true;
    quick.Run("PAUSE 2\nPAUSE");
    EXPECT_TRUE(quick.Shell.Waits.empty());

    TEngineHarness suppressed;
    suppressed.Shell.Suppress = true;
    suppressed.Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    suppressed.Run("PAUSE 2\nPAUSE");
    EXPECT_EQ((std::vector<int>{2000}), suppressed.Shell.Waits);
}

TEST(Pause, ShowsThePreviousCommentLine)
{
    TEngineHarness h;
    h.Dialogs.ExpectMessage(" Load the quarter inch bit", TModalResult::mrOk);
    h.Dialogs.ExpectMessage("Check the clamps", TModalResult::mrOk);
    h.Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    h.Dialogs.ExpectMessage("Continue?", TModalResult::mrCancel);
    h.Run("' Load the quarter inch bit\nPAUSE\nREM Check the clamps\nPAUSE\nSA\nPAUSE\n\nPAUSE");
    ASSERT_EQ(4u, h.Dialogs.Shown.size());
    EXPECT_EQ(TMsgDlgType::mtConfirmation, h.Dialogs.Shown[0].Type);
    EXPECT_EQ(mbOK, h.Dialogs.Shown[0].Buttons);
}

TEST(Pause, FailedArgumentStopsTheRun)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("PAUSE &nosuch * 2");
    EXPECT_EQ(0u, out.Error.find("Cannot evaluate the expression \"&nosuch * 2\" (line: 1)")) << out.Error;
}

TEST(FailedArguments, OnlyStopWhenAHandlerReadsThem)
{
    TEngineHarness h;
    h.Dialogs.ExpectMessage(QuestionText("ON", 1), TModalResult::mrYes);
    const TRunOutcome out = h.Run("ON INP(&v,1) GOTO x\nFOO, &nosuch + 1\nMO, &nosuch + 1\nSA");
    EXPECT_EQ("", out.Error);
    EXPECT_EQ((Trace{1, 2, 3, 4}), out.Trace);
}

TEST(Input, StoresEveryListedVariable)
{
    TEngineHarness h;
    h.Move.SetFileName("/jobs/main.sbp");
    h.Dialogs.ExpectInput(std::string("2.5, abc"));
    h.Run("INPUT \"Depth and name?\" &depth, &name, plain, &extra ' trailing");
    ASSERT_EQ(1u, h.Dialogs.InputPrompts.size());
    EXPECT_EQ("/jobs/main.sbp", h.Dialogs.InputPrompts[0].first);
    EXPECT_EQ("Depth and name?", h.Dialogs.InputPrompts[0].second);
    EXPECT_EQ("2.5", h.Var("depth"));
    EXPECT_EQ("\"ABC\"", h.Var("name"));
    EXPECT_EQ("", h.Var("extra"));
    EXPECT_EQ("<none>", h.Var("plain"));
}

TEST(Input, CancelStoresEmptyValues)
{
    TEngineHarness h;
    h.Dialogs.ExpectInput(std::nullopt);
    h.Run("&a = 5\nINPUT \"a?\" &a, &b");
    EXPECT_EQ("", h.Var("a"));
    EXPECT_EQ("", h.Var("b"));
}

TEST(Input, AtMost21NamesAndValues)
{
    TEngineHarness h;
    std::string names;
    std::string answer;
    for (int i = 1; i <= 23; ++i) {
        names += (i > 1 ? ", &v" : "&v") + std::to_string(i);
        answer += (i > 1 ? "," : "") + std::to_string(i);
    }
    h.Dialogs.ExpectInput(answer);
    h.Run("INPUT \"many\" " + names);
    EXPECT_EQ("21", h.Var("v21"));
    EXPECT_EQ("<none>", h.Var("v22"));
}

TEST(End, StopsAndEndIsAWholeWord)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("ENDX = 1\nend ' finished\nPRINT \"not reached\"");
    EXPECT_TRUE(out.Stopped);
    EXPECT_EQ((Trace{1, 2}), out.Trace);
    EXPECT_EQ("1", h.Var("ENDX"));
}

TEST(SplitCommaList, TrimsAndDropsSurplus)
{
    std::vector<std::string> items;
    SplitCommaList(" a , b,,c ", items, 20);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "", "c"}), items);
    SplitCommaList("1,2,3,4", items, 1);
    EXPECT_EQ((std::vector<std::string>{"1", "2"}), items);
    SplitCommaList("", items, 3);
    EXPECT_EQ((std::vector<std::string>{""}), items);
}

} // namespace
