#include "editor/CodeEditStringList.h"
#include "editor/CodeLineStates.h"
#include "editor/CodeRuleHighlighter.h"
#include "../support/PartProgramRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Remembers which lines it was given.
class TRecordingHighlighter : public TCodeRuleHighlighter {
public:
    void SetLine(const QString& text, int lineNumber) override
    {
        linesSet.push_back(lineNumber);
        TCodeRuleHighlighter::SetLine(text, lineNumber);
    }
    std::vector<int> linesSet;
};

class CodeLineStates : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildPartProgramRules(highlighter);
        auto block = std::make_unique<TCodeRange>("{", "}");
        highlighter.RootRange()->AddRange(std::move(block)); // state 3
        lines.SetText("M3 {\nJ2\nMS } ' x\n&a\nEND");
    }
    std::vector<int> States() const
    {
        std::vector<int> states;
        for (int i = 0; i < lines.Count(); ++i) {
            states.push_back(lines.GetRange(i));
        }
        return states;
    }
    int Edit(int index, const QString& text)
    {
        lines.Put(index, text);
        highlighter.linesSet.clear();
        return ScanFrom(lines, highlighter, index);
    }

    TRecordingHighlighter highlighter;
    TCodeEditStringList lines;
};

TEST_F(CodeLineStates, RescanAllStoresEachLinesStartState)
{
    EXPECT_EQ(States(), std::vector<int>({-1, -1, -1, -1, -1}));
    RescanAllRanges(lines, highlighter);
    EXPECT_EQ(States(), std::vector<int>({0, 3, 3, 0, 0}));
    EXPECT_EQ(highlighter.linesSet, std::vector<int>({0, 1, 2, 3, 4}));
}

TEST_F(CodeLineStates, ScanFromScansOnlyTheLinesWhoseStateChanged)
{
    RescanAllRanges(lines, highlighter);
    struct Step {
        int line;
        const char* text;
        int last;
        std::vector<int> scanned;
        std::vector<int> states;
    } steps[] = {
        {1, "J3 ' {", 1, {1}, {0, 3, 3, 0, 0}},         // no state changes
        {0, "M3", 2, {0, 1, 2}, {0, 0, 0, 0, 0}},        // the block no longer opens
        {3, "{", 4, {3, 4}, {0, 0, 0, 0, 3}},            // the state of the last line changes
        {4, "{", 4, {}, {0, 0, 0, 0, 3}},                // the last line is not scanned
        {2, "MS", 2, {2}, {0, 0, 0, 0, 3}},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(Edit(step.line, step.text), step.last) << step.text;
        EXPECT_EQ(highlighter.linesSet, step.scanned) << step.text;
        EXPECT_EQ(States(), step.states) << step.text;
    }
}

TEST_F(CodeLineStates, UnscannedLinesAreScannedOnTheWay)
{
    lines.PutRange(0, 0);
    EXPECT_EQ(ScanFrom(lines, highlighter, 0), 4);
    EXPECT_EQ(States(), std::vector<int>({0, 3, 3, 0, 0}));
}

} // namespace
