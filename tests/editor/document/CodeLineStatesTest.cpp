#include "editor/document/CodeEditStringList.h"
#include "editor/document/CodeLineStates.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "../../support/PartProgramRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// The same rules, always scanned: what every stored state must equal.
class TScanningHighlighter : public TCodeRuleHighlighter {
public:
    bool RangesEndWithLine() const override { return false; }
};

std::vector<int> StatesOf(const TCodeEditStringList& lines)
{
    std::vector<int> states;
    for (int i = 0; i < lines.Count(); ++i) {
        states.push_back(lines.GetRange(i));
    }
    return states;
}

// Each rule set keeps its states with and without the scan-free path, through a load,
// edits, inserted lines and unscanned lines. The text opens every range on one line and
// carries it to the next.
TEST(CodeLineStatesWithoutScan, GiveWhatAFullScanGives)
{
    using TRules = std::function<void(TCodeRuleHighlighter&)>;
    const auto nested = [](TCodeRange& parent, const QString& open, const QString& close) -> TCodeRange& {
        auto range = std::make_unique<TCodeRange>(open, close);
        range->OpenSymbol().TermKind = tkAnyTerm;
        TCodeRange& added = *range;
        parent.AddRange(std::move(range));
        return added;
    };
    const struct {
        const char* name;
        TRules build;
        bool endsWithLine;
    } cases[] = {
        {"no rules", [](TCodeRuleHighlighter&) {}, true},
        {"shell rules", [](TCodeRuleHighlighter& h) { BuildPartProgramRules(h); }, true},
        {"closes at a delimiter only",
         [&](TCodeRuleHighlighter& h) { nested(*h.RootRange(), "{", "}").CloseOnTerm = true; }, true},
        {"block to its close text",
         [&](TCodeRuleHighlighter& h) {
             BuildPartProgramRules(h);
             nested(*h.RootRange(), "{", "}");
         },
         false},
        // The line end closes the inner range only: the next line starts in the comment.
        {"line range inside a line range",
         [&](TCodeRuleHighlighter& h) {
             BuildPartProgramRules(h);
             nested(*h.RootRange()->GetRange(0), "(", ")").CloseOnEol = true;
         },
         false},
    };
    const QString text = "M3 {\nJ2 ' (x\n&a ' {\n\nMS } &b\n' (\n{ END\n}";
    struct Edit {
        int first;
        int last;
        const char* text; // put at `first`; lines after it up to `last` are inserted
    } edits[] = {
        {1, 1, "J3"}, {0, 0, "M3"}, {6, 6, "' ("}, {7, 7, "{"}, {2, 4, "{\n' (\nJ2"}, {0, 0, "{ ' ("},
    };
    for (const auto& c : cases) {
        TCodeRuleHighlighter fast;
        TScanningHighlighter scanning;
        c.build(fast);
        c.build(scanning);
        EXPECT_EQ(fast.RangesEndWithLine(), c.endsWithLine) << c.name;
        TCodeEditStringList fastLines;
        TCodeEditStringList scannedLines;
        fastLines.SetText(text);
        scannedLines.SetText(text);
        RescanAllRanges(fastLines, fast);
        RescanAllRanges(scannedLines, scanning);
        EXPECT_EQ(StatesOf(fastLines), StatesOf(scannedLines)) << c.name;
        // What the highlighter answers afterwards does not tell whether lines were scanned.
        EXPECT_EQ(fast.GetRange(), scanning.GetRange()) << c.name;
        EXPECT_TRUE(fast.GetWordChars() == scanning.GetWordChars()) << c.name;
        EXPECT_FALSE(fast.GetWordChars().Contains(u' ') || fast.GetWordChars().Contains(u'\t')) << c.name;
        // Where ranges may span lines, this text makes one do so.
        const std::vector<int> loaded = StatesOf(scannedLines);
        EXPECT_EQ(std::count(loaded.begin(), loaded.end(), 0) < static_cast<long>(loaded.size()), !c.endsWithLine)
            << c.name;
        for (const Edit& edit : edits) {
            const QStringList parts = QString::fromLatin1(edit.text).split(QLatin1Char('\n'));
            for (TCodeEditStringList* lines : {&fastLines, &scannedLines}) {
                lines->Put(edit.first, parts[0]);
                for (int i = 1; i < parts.size(); ++i) {
                    lines->Insert(edit.first + i, parts[i]);
                }
            }
            EXPECT_EQ(ScanChangedLines(fastLines, fast, edit.first, edit.last),
                      ScanChangedLines(scannedLines, scanning, edit.first, edit.last))
                << c.name << ": " << edit.text;
            EXPECT_EQ(StatesOf(fastLines), StatesOf(scannedLines)) << c.name << ": " << edit.text;
        }
        // Lines never scanned are filled on the way, as far as the scan goes.
        fastLines.SetText(text);
        scannedLines.SetText(text);
        fastLines.PutRange(0, 0);
        scannedLines.PutRange(0, 0);
        EXPECT_EQ(ScanFrom(fastLines, fast, 0), ScanFrom(scannedLines, scanning, 0)) << c.name;
        EXPECT_EQ(StatesOf(fastLines), StatesOf(scannedLines)) << c.name;
    }
}

// The flags are read as the scanner reads them, live: a line range that stops closing
// at the line end after the rules were prepared makes the states need a scan again.
TEST(CodeLineStatesWithoutScan, FollowFlagsChangedAfterPreparation)
{
    TCodeRuleHighlighter highlighter;
    BuildPartProgramRules(highlighter);
    TCodeEditStringList lines;
    lines.SetText("' note\nM3\nJ2");
    RescanAllRanges(lines, highlighter);
    highlighter.SetLine("M3", 0); // prepares the tree
    ASSERT_EQ(StatesOf(lines), std::vector<int>({0, 0, 0}));
    TCodeRange& comment = *highlighter.RootRange()->GetRange(0);
    comment.CloseOnEol = false;
    EXPECT_FALSE(highlighter.RangesEndWithLine());
    RescanAllRanges(lines, highlighter);
    EXPECT_EQ(StatesOf(lines), std::vector<int>({0, comment.TreeIndex(), comment.TreeIndex()}));
}

} // namespace
