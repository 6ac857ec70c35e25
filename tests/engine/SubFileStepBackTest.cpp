// Step back over FP lines: the call is undone as a whole, and the step back after it
// goes on with the calling file's line before the FP line, never with the sub-file's
// line numbers read as the caller's.

#include "EnginePathSupport.h"

#include "engine/PartFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TSubFile {
    const char* Name;
    const char* Text;
};

struct TFPStepBackCase {
    const char* Name;
    const char* Main;
    std::vector<TSubFile> Subs;
    std::vector<int> Popped; // the main file's line indexes step back takes, in order
};

const TFPStepBackCase FPCases[] = {
    {"three moves then prints", "M2, 5, 5\nFP, sub\nPRINT \"a\"\nPRINT \"b\"",
     {{"sub.sbp", "M2, 1, 1\nM2, 2, 2\nM2, 3, 3"}}, {3, 2, 1, 0}},
    {"offset scale and zeroing", "M2, 5, 5\nFP, sub, 2, 2, 1, 1, 1\nM2, 0, 0",
     {{"sub.sbp", "M2, 1, 1\nZX\nJY, 4\nZ2\nM2, 1, 1\nMX, 2"}}, {2, 1, 0}},
    {"nested calls", "J2, 1, 1\nFP, outer\nM2, 9, 9\nFP, outer\nPRINT \"x\"",
     {{"outer.sbp", "M2, 2, 2\nFP, inner\nM2, 3, 3"}, {"inner.sbp", "ZX\nM2, 4, 4\nJZ, 1\nM2, 5, 5"}},
     {4, 3, 2, 1, 0}},
    {"called from IF", "&go = 1\nM2, 5, 5\nIF &go = 1 THEN FP, sub\nPRINT \"after\"",
     {{"sub.sbp", "M2, 1, 1\nM2, 2, 2"}}, {3, 2, 1, 0}},
    {"END in the sub-file", "M2, 5, 5\nFP, sub\nM2, 6, 6",
     {{"sub.sbp", "M2, 1, 1\nEND\nM2, 2, 2"}}, {2, 1, 0}},
    {"sub-file longer than the caller", "FP, sub\nMX, 1",
     {{"sub.sbp", "MX, 1\nMX, 2\nMX, 3\nMX, 4\nMX, 5\nMX, 6"}}, {1, 0}},
    {"variables in the caller and the sub-file", "&x = 1\nFP, sub\n&x = &x + 1\n&z = freevar(\"y\")",
     {{"sub.sbp", "&y = &x * 10\nM2, &y, 1\n&x = 5\nSL\n&w = existvar(\"x\")"}}, {3, 2, 1, 0}},
};

struct TEngineState {
    std::string Path;
    int Cuts = 0;
    int Jogs = 0;
    std::vector<float> Position;
    std::vector<float> Zero;
    std::vector<float> Bit;
    std::string Variables;
};

TEngineState StateOf(TPathEngine& e)
{
    TEngineState s;
    s.Path = ResultsText(e.Move);
    s.Cuts = e.CutCount();
    s.Jogs = e.JogCount();
    TVector pos;
    e.Move.GetPosition(pos);
    s.Position = {pos.X, pos.Y, pos.Z, pos.W};
    const TVector zero = e.Move.ZeroOffset();
    s.Zero = {zero.X, zero.Y, zero.Z};
    TAffineVector bit;
    e.Move.GetBitTarget(bit);
    s.Bit = {bit.X, bit.Y, bit.Z};
    s.Variables = e.Calcul.GetVariablesText();
    return s;
}

void ExpectSameState(const TEngineState& got, const TEngineState& expected)
{
    EXPECT_EQ(got.Path, expected.Path);
    EXPECT_EQ(got.Cuts, expected.Cuts);
    EXPECT_EQ(got.Jogs, expected.Jogs);
    EXPECT_EQ(got.Position, expected.Position);
    EXPECT_EQ(got.Zero, expected.Zero);
    EXPECT_EQ(got.Bit, expected.Bit);
    EXPECT_EQ(got.Variables, expected.Variables);
}

class FPStepBack : public ::testing::TestWithParam<TFPStepBackCase> {
protected:
    FPStepBack()
    {
        e.Shell.Suppress = true;
        for (const TSubFile& sub : GetParam().Subs) {
            folder.Write(sub.Name, sub.Text);
        }
    }
    // The state a run of the main file's first `count` lines leaves.
    TEngineState PrefixState(const TProgramLines& lines, std::size_t count)
    {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += lines[i] + "\n";
        }
        folder.Write("prefix.sbp", text);
        TPathEngine fresh;
        fresh.Shell.Suppress = true;
        fresh.Runner.RunFileForResults(folder.Path("prefix.sbp"));
        return StateOf(fresh);
    }

    TTempFolder folder{"fpstep"};
    TPathEngine e;
};

// Each step back leaves what running the lines before it leaves: path, position, zero
// offsets, the bit and the variables; the history holds only the main file's lines
// between the calls.
TEST_P(FPStepBack, EachStepBackLeavesWhatTheLinesBeforeLeave)
{
    folder.Write("main.sbp", GetParam().Main);
    e.Runner.RunFileForResults(folder.Path("main.sbp"));
    TProgramLines lines;
    ASSERT_TRUE(TProgramRunner::LoadLines(folder.Path("main.sbp"), lines));
    EXPECT_EQ(e.Move.PartFiles().HistoryCount(), static_cast<int>(GetParam().Popped.size()))
        << "one entry per executed line of the main file";
    for (const int expected : GetParam().Popped) {
        SCOPED_TRACE("stepping back line " + std::to_string(expected + 1));
        ASSERT_FALSE(e.Move.PartFiles().History().empty());
        ASSERT_EQ(e.Move.PartFiles().History().back(), expected);
        ASSERT_TRUE(e.Runner.StepBack(lines));
        ExpectSameState(StateOf(e), PrefixState(lines, static_cast<std::size_t>(expected)));
    }
    EXPECT_FALSE(e.Runner.StepBack(lines));
}

INSTANTIATE_TEST_SUITE_P(Programs, FPStepBack, ::testing::ValuesIn(FPCases), [](const auto& info) {
    std::string n;
    for (const char* c = info.param.Name; *c; ++c) {
        n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return n;
});

// Stepping back inside a sub-file goes back through its own lines and stops at its
// first; the caller's lines stay for the step backs after the call. A call from IF
// runs its file's lines as lines of their own too.
TEST(FPStepBackInside, StopsAtTheSubFilesFirstLine)
{
    for (const char* call : {"FP, sub", "IF 1 = 1 THEN FP, sub"}) {
        SCOPED_TRACE(call);
        TTempFolder folder{"fpinside"};
        TPathEngine e;
        e.Shell.Suppress = true;
        folder.Write("sub.sbp", "M2, 1, 1\nZX\nM2, 2, 2");
        folder.Write("main.sbp", std::string("M2, 5, 5\nJX, 7\n") + call + "\nM2, 0, 0");
        TProgramLines sub;
        ASSERT_TRUE(TProgramRunner::LoadLines(folder.Path("sub.sbp"), sub));
        std::vector<int> popped;
        std::vector<int> historyInside;
        TVector zeroAfterStepBack{};
        e.Data.SetOnRunFile([&](const std::string& name) {
            e.Runner.RunFile(name);
            historyInside = e.Move.PartFiles().History();
            while (true) {
                const int next = e.Move.PartFiles().History().empty() ? -1 : e.Move.PartFiles().History().back();
                if (!e.Runner.StepBack(sub)) {
                    break;
                }
                popped.push_back(next);
            }
            zeroAfterStepBack = e.Move.ZeroOffset();
            e.Runner.RunFile(name); // the sub-file once more, forward
        });
        const std::string path = e.Runner.RunFileForResults(folder.Path("main.sbp"));
        EXPECT_EQ(historyInside, (std::vector<int>{0, 1, 0, 1, 2}));
        EXPECT_EQ(popped, (std::vector<int>{2, 1, 0}));
        EXPECT_EQ(zeroAfterStepBack.X, 0.0f) << "ZX in the sub-file undone";
        EXPECT_EQ(e.Move.PartFiles().History(), (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(e.Move.PartFiles().Depth(), 1);
        EXPECT_EQ(path, ExpectedPath("5,5,0;7,5,0;0,0,0;5,5,0;7,5,0;1,1,0;1,1,0;3,2,0;1,0,0"));
    }
}

TEST(PartFiles, EachLevelKeepsItsOwnPartOfTheHistory)
{
    TPartFiles files;
    files.AddToLinesAndNodesArray(0);
    files.AddToLinesAndNodesArray(1);
    files.PushLevel(TFP{});
    EXPECT_EQ(-1, files.PopLine()) << "nothing of the sub-file yet";
    EXPECT_EQ(2, files.HistoryCount());
    files.AddToLinesAndNodesArray(0);
    files.PushLevel(TFP{});
    files.AddToLinesAndNodesArray(5);
    files.AddToLinesAndNodesArray(6);
    EXPECT_EQ(6, files.PopLine());
    files.PopLevel();
    EXPECT_EQ((std::vector<int>{0, 1, 0}), files.History()) << "the inner file's lines went with its level";
    EXPECT_EQ(0, files.PopLine());
    EXPECT_EQ(-1, files.PopLine());
    files.PopLevel();
    EXPECT_EQ(1, files.PopLine());
    EXPECT_EQ(0, files.PopLine());
    EXPECT_EQ(-1, files.PopLine());
}

} // namespace
