#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using O = TSearchReplaceOption;

// The undo records as groups: the number of records of each change number, oldest
// first; "|" for a group break.
std::string UndoGroups(const TCodeEditUndoList& list)
{
    std::string s;
    int count = 0;
    for (int i = 0; i < list.ItemCount(); ++i) {
        if (list.Item(i).ChangeReason == crGroupBreak) {
            s += "|";
            continue;
        }
        ++count;
        if (i + 1 == list.ItemCount() || list.Item(i + 1).ChangeNumber != list.Item(i).ChangeNumber) {
            s += (s.empty() || s.back() == '|' ? "" : ",") + std::to_string(count);
            count = 0;
        }
    }
    return s;
}

struct TSearchCase {
    const char* name;
    const char* lines;
    TTextPoint caret;
    TTextPoint anchor; // a selection from anchor to end when they differ
    TTextPoint end;
    TCodeSelectionMode mode;
    const char* search;
    const char* replace;
    TSearchReplaceOptions options;
    int hits;
    const char* text;  // after the call
    const char* state; // caret and selection after the call
};

void PrintTo(const TSearchCase& c, std::ostream* os) { *os << c.name; }

class CodeEditSearchReplaceCases : public ::testing::TestWithParam<TSearchCase> {};

TEST_P(CodeEditSearchReplaceCases, HitsTextAndSelection)
{
    const TSearchCase& c = GetParam();
    TEditorSession s(c.lines[0] ? LinesOf(c.lines) : QStringList());
    s.editor.SetCaretXY(c.caret);
    s.Select(c.anchor, c.end, c.mode);
    s.editor.SetCaretXY(c.caret);
    const int hits = s.editor.SearchAndReplace(QString::fromUtf8(c.search), QString::fromUtf8(c.replace), c.options);
    EXPECT_EQ(hits, c.hits);
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    EXPECT_EQ(s.editor.SelectionMode(), c.mode) << "the mode comes back as it was";
    EXPECT_EQ(s.editor.PaintLock(), 0);
    EXPECT_EQ(s.editor.UndoList().BlockChangeNumber(), 0) << "no undo block stays open";
}

constexpr TTextPoint P(int x, int y) { return TTextPoint{x, y}; }
const TSearchReplaceOptions Find{};
const TSearchReplaceOptions FindBack{O::sroBackwards};
const TSearchReplaceOptions Whole{O::sroEntireScope};
const TSearchReplaceOptions Selected{O::sroSelectedOnly, O::sroReplaceAll};

INSTANTIATE_TEST_SUITE_P(
    Ranges, CodeEditSearchReplaceCases,
    ::testing::Values(
        TSearchCase{"EmptyPatternChangesNothing", "ab ab", P(2, 1), P(1, 1), P(3, 1), smNormal, "", "x",
                    {O::sroReplaceAll}, 0, "ab ab", "caret 2,1 sel 1,1-3,1 normal"},
        TSearchCase{"EmptyBuffer", "", P(1, 1), P(1, 1), P(1, 1), smNormal, "ab", "", Whole, 0, "", "caret 1,1"},
        TSearchCase{"ForwardFromBehindAHitFindsTheNext", "ab ab ab", P(3, 1), P(1, 1), P(1, 1), smNormal, "ab",
                    "", Find, 1, "ab ab ab", "caret 6,1 sel 4,1-6,1 normal"},
        TSearchCase{"BackwardFromTheStartOfAHitFindsThePrevious", "ab ab ab", P(4, 1), P(1, 1), P(1, 1), smNormal,
                    "ab", "", FindBack, 1, "ab ab ab", "caret 1,1 sel 1,1-3,1 normal"},
        TSearchCase{"BackwardCountsAHitEndingAtTheCaret", "ab ab ab", P(6, 1), P(1, 1), P(1, 1), smNormal, "ab",
                    "", FindBack, 1, "ab ab ab", "caret 4,1 sel 4,1-6,1 normal"},
        TSearchCase{"FindNextInLineModeLeavesTheHitBehind", "ab ab", P(3, 1), P(3, 1), P(3, 1), smLine, "ab", "",
                    Find, 1, "ab ab", "caret 6,1 sel 4,1-6,1 line"},
        TSearchCase{"NoWrapAround", "ab|ab x", P(3, 2), P(1, 1), P(1, 1), smNormal, "ab", "", Find, 0, "ab|ab x",
                    "caret 3,2"},
        TSearchCase{"SelectedOnlyWithoutSelectionSearchesFromTheCaret", "ab ab|ab", P(2, 1), P(1, 1), P(1, 1),
                    smNormal, "ab", "X", Selected, 2, "ab X|X", "caret 2,2"},
        TSearchCase{"NormalSelectionCutsHitsAtBothEnds", "abab|abab", P(1, 1), P(2, 1), P(4, 2), smNormal, "ab",
                    "X", Selected, 2, "abX|Xab", "caret 2,2 sel 2,2-3,2 normal"},
        TSearchCase{"LineSelectionTakesWholeLinesAndKeepsTheirText", "abab|abab|ab", P(1, 1), P(2, 1), P(2, 2),
                    smLine, "ab", "X", Selected, 4, "XX|XX|ab", "caret 3,2"},
        TSearchCase{"ColumnSelectionTestsColumnsOnEveryLine", "abab|abab|abab", P(1, 1), P(5, 3), P(3, 1), smColumn,
                    "ab", "X", Selected, 3, "abX|abX|abX", "caret 4,3"},
        TSearchCase{"ReplaceAllShiftsTheLaterHitsOfALine", "ab ab", P(1, 1), P(1, 1), P(1, 1), smNormal, "ab", "abc",
                    {O::sroReplaceAll}, 2, "abc abc", "caret 8,1"},
        TSearchCase{"ReplaceAllBackwards", "ab ab|ab", P(3, 2), P(1, 1), P(1, 1), smNormal, "ab", "xyz",
                    {O::sroReplaceAll, O::sroBackwards}, 3, "xyz xyz|xyz", "caret 4,1"},
        TSearchCase{"ReplaceTakesTheFirstHitInRangeOnly", "ab ab", P(1, 1), P(1, 1), P(1, 1), smNormal, "ab", "X",
                    {O::sroReplace}, 1, "X ab", "caret 2,1"},
        TSearchCase{"ReplaceInSelectionKeepsTheRestSelected", "ab ab ab|ab", P(1, 1), P(1, 1), P(6, 1), smNormal,
                    "ab", "X", {O::sroReplace, O::sroSelectedOnly}, 1, "X ab ab|ab", "caret 2,1 sel 2,1-5,1 normal"},
        TSearchCase{"LineBreaksInTheReplacementReplaceEachHitOnce", "aa|a", P(1, 1), P(1, 1), P(1, 1), smNormal, "a",
                    "a\r\na", {O::sroReplaceAll}, 3, "a|aa|a|a|a", "caret 2,5"}),
    [](const ::testing::TestParamInfo<TSearchCase>& info) { return std::string(info.param.name); });

// Scripted answers to the replace question, and the questions asked.
class CodeEditReplacePrompt : public ::testing::Test {
protected:
    CodeEditReplacePrompt()
    {
        s.editor.OnReplaceText = [this](TObject*, const QString& search, const QString& replace, int line, int column,
                                        TCodeReplaceAction& action) {
            asked += search.toStdString() + ">" + replace.toStdString() + "@" + std::to_string(column) + "," +
                     std::to_string(line) + " ";
            ASSERT_LT(next, answers.size());
            action = answers[next++];
        };
    }
    int ReplaceAll() { return s.editor.SearchAndReplace("a", "XY", {O::sroReplaceAll, O::sroPrompt}); }
    TEditorSession s{LinesOf("a a|a a")};
    std::vector<TCodeReplaceAction> answers;
    std::size_t next = 0;
    std::string asked;
};

TEST_F(CodeEditReplacePrompt, ReplaceAllAnswerStopsTheQuestionsAndUndoesAsOneStep)
{
    answers = {rpaSkip, rpaReplace, rpaReplaceAll};
    EXPECT_EQ(ReplaceAll(), 4);
    EXPECT_EQ(asked, "a>XY@1,1 a>XY@3,1 a>XY@1,2 ");
    EXPECT_EQ(s.Text(), "a XY|XY XY");
    EXPECT_EQ(UndoGroups(s.editor.UndoList()), "2|4|") << "the prompted replacement, then the rest as one step";
    EXPECT_EQ(s.editor.PaintLock(), 0);
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "a XY|a a");
}

TEST_F(CodeEditReplacePrompt, CancelStopsWithTheHitsSoFar)
{
    answers = {rpaReplace, rpaCancel};
    EXPECT_EQ(ReplaceAll(), 2);
    EXPECT_EQ(s.Text(), "XY a|a a");
    EXPECT_EQ(s.State(), "caret 5,1 sel 4,1-5,1 normal") << "the cancelled hit stays selected";
}

TEST_F(CodeEditReplacePrompt, WithoutAHandlerEveryHitIsReplaced)
{
    s.editor.OnReplaceText = nullptr;
    EXPECT_EQ(ReplaceAll(), 4);
    EXPECT_EQ(s.Text(), "XY XY|XY XY");
    EXPECT_EQ(UndoGroups(s.editor.UndoList()), "2|2|2|2|");
}

TEST_F(CodeEditReplacePrompt, AnExceptionStillLowersThePaintLockAndClosesTheUndoBlock)
{
    s.editor.OnReplaceText = nullptr;
    int changes = 0;
    s.editor.OnChange = [&changes](TObject*) {
        if (++changes == 3) {
            throw ECodeEditError("stop");
        }
    };
    EXPECT_THROW(s.editor.SearchAndReplace("a", "b", {O::sroReplaceAll}), ECodeEditError);
    EXPECT_EQ(s.editor.PaintLock(), 0);
    EXPECT_EQ(s.editor.UndoList().BlockChangeNumber(), 0);
    EXPECT_EQ(UndoGroups(s.editor.UndoList()), "3|") << "what was done before stays in the one block";
}

TEST(CodeEditSearchReplace, EngineIsMadeOnceAndMayBeOverridden)
{
    TEditorSession s(LinesOf("xab"));
    s.editor.SearchAndReplace("", "", {});
    TCodeEditSearch* own = s.editor.SearchEngine();
    ASSERT_NE(own, nullptr) << "made even for an empty pattern";

    TCodeEditSearch other;
    s.editor.OnSearchEngineOverride = [&other](TCodeEditSearch*& engine) { engine = &other; };
    EXPECT_EQ(s.editor.SearchAndReplace("AB", "", {O::sroEntireScope}), 1);
    EXPECT_EQ(s.editor.SearchEngine(), &other);
    EXPECT_EQ(other.Pattern(), "AB");
}

TEST(CodeEditSearchReplace, AHitOutsideTheWindowIsCentred)
{
    QStringList lines;
    for (int i = 1; i <= 100; ++i) {
        lines << (i == 60 ? QStringLiteral("needle") : QStringLiteral("hay"));
    }
    TEditorSession s(lines);
    ASSERT_EQ(s.editor.LinesInWindow(), 20);
    EXPECT_EQ(s.editor.SearchAndReplace("needle", "", {}), 1);
    EXPECT_EQ(s.editor.TopLine(), 51);
}

TEST(CodeEditSearchReplace, OneUndoTakesBackAReplaceAll)
{
    TEditorSession s(LinesOf("ab ab|x ab"));
    EXPECT_EQ(s.editor.SearchAndReplace("ab", "abc", {O::sroReplaceAll}), 3);
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "ab ab|x ab");
    EXPECT_FALSE(s.editor.CanUndo());
}

// A replace-all of more hits than the undo limit: the whole replace-all is one change
// that the list keeps, so one undo restores every line and a redo replaces them again.
TEST(CodeEditSearchReplace, AReplaceAllPastTheUndoLimitUndoesAndRedoesWhole)
{
    struct Case {
        int limit;
        int lines;
    } cases[] = {{5, 12}, {TCodeEditUndoList::DefaultMaxUndo, 1500}};
    for (const Case& c : cases) {
        QStringList lines;
        for (int i = 1; i <= c.lines; ++i) {
            lines << QStringLiteral("row %1 row").arg(i);
        }
        TEditorSession s(lines);
        s.editor.SetMaxUndo(c.limit);
        s.editor.SetCaretXY(TTextPoint{1, 1});
        s.editor.DispatchCommand(ecChar, QLatin1Char('#'), {}); // an older change the limit drops
        const QString typed = s.Text();
        const QStringList replacedLines = typed.split(QLatin1Char('|')).replaceInStrings("row", "ROWX");
        const QString replaced = replacedLines.join(QLatin1Char('|'));

        ASSERT_EQ(s.editor.SearchAndReplace("row", "ROWX", {O::sroEntireScope, O::sroReplaceAll}), 2 * c.lines);
        EXPECT_TRUE(s.Text() == replaced) << c.limit;
        EXPECT_EQ(UndoGroups(s.editor.UndoList()), std::to_string(4 * c.lines) + "|") << "two records a hit, none lost";
        EXPECT_TRUE(s.editor.UndoList().FullUndoImpossible()) << "the typed character went";

        s.editor.Undo();
        EXPECT_TRUE(s.Text() == typed) << c.limit;
        EXPECT_FALSE(s.editor.CanUndo());
        EXPECT_TRUE(s.editor.Modified()) << "the typed character cannot be taken back";
        s.editor.Redo();
        EXPECT_TRUE(s.Text() == replaced) << c.limit;
        EXPECT_FALSE(s.editor.CanRedo());
        s.editor.Undo();
        EXPECT_TRUE(s.Text() == typed) << c.limit;
    }
}

TEST(CodeEditSearchReplace, ReadOnlyTextIsSearchedButNotChanged)
{
    TEditorSession s(LinesOf("ab ab"));
    s.editor.SetReadOnly(true);
    EXPECT_EQ(s.editor.SearchAndReplace("ab", "abc", {O::sroReplaceAll}), 2);
    EXPECT_EQ(s.State(), "caret 6,1 sel 4,1-6,1 normal") << "the hits stay where the text left them";
}

} // namespace
