// Dragging text within one control and between two, and dropping files.
#include "EditorSession.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeEditDragDrop, AMovedSelectionLandsWhereTheTextAfterItWent)
{
    struct TCase {
        TTextPoint begin, end, drop, expected;
    };
    const TCase cases[] = {
        {{3, 2}, {6, 2}, {10, 2}, {7, 2}}, // one line: by its width
        {{2, 1}, {3, 2}, {5, 2}, {4, 1}},  // on its own last line: after the text that followed E
        {{2, 1}, {3, 2}, {3, 3}, {3, 2}},  // a later line keeps its column
        {{1, 1}, {1, 3}, {4, 3}, {4, 1}},  // whole lines
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DropPointAfterMove(c.begin, c.end, c.drop), c.expected) << c.drop.x << "," << c.drop.y;
    }
}

struct TDropCase {
    const char* name;
    const char* lines;
    TTextPoint anchor, end, drop;
    TShiftState shift;
    const char* text;
    const char* state;
};

void PrintTo(const TDropCase& c, std::ostream* os) { *os << c.name; }

class CodeEditDropWithin : public ::testing::TestWithParam<TDropCase> {};

TEST_P(CodeEditDropWithin, MovesOrCopiesAsOneUndoStep)
{
    const TDropCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    std::vector<int> commands;
    s.editor.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& command, QChar&, const TCodeEditCommandData&) {
        commands.push_back(command);
    };
    s.Select(c.anchor, c.end);
    s.editor.DragDrop(&s.editor, s.CellX(c.drop.x), s.CellY(c.drop.y), c.shift);
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    if (s.Text() == QString::fromUtf8(c.lines)) {
        EXPECT_TRUE(commands.empty()) << "a drop inside the selection does nothing";
        return;
    }
    EXPECT_EQ(commands, std::vector<int>{ecSelGotoXY});
    s.editor.Undo();
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.lines)) << "one undo step";
    s.editor.Redo();
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
}

const TShiftState kCtrl = TShiftState::ssCtrl;

INSTANTIATE_TEST_SUITE_P(
    Cases, CodeEditDropWithin,
    ::testing::Values(TDropCase{"AfterOnItsLine", "x|abcdefghijklmno", {3, 2}, {6, 2}, {10, 2}, {}, "x|abfghicdejklmno",
                                "caret 10,2 sel 7,2-10,2 normal"},
                      TDropCase{"Before", "0123456789", {8, 1}, {5, 1}, {2, 1}, {}, "0456123789",
                                "caret 5,1 sel 2,1-5,1 normal"},
                      TDropCase{"CopyWithCtrl", "0123456789", {5, 1}, {8, 1}, {2, 1}, kCtrl, "0456123456789",
                                "caret 5,1 sel 2,1-5,1 normal"},
                      TDropCase{"InsideDoesNothing", "0123456789", {5, 1}, {8, 1}, {6, 1}, {}, "0123456789",
                                "caret 6,1 sel 5,1-8,1 normal"},
                      TDropCase{"AtItsEndDoesNothing", "0123456789", {5, 1}, {8, 1}, {8, 1}, {}, "0123456789",
                                "caret 8,1 sel 5,1-8,1 normal"},
                      TDropCase{"LinesOnTheirLastLine", "abc|defgh|ijklm", {2, 1}, {3, 2}, {5, 2}, {},
                                "afgbc|deh|ijklm", "caret 3,2 sel 4,1-3,2 normal"},
                      TDropCase{"LinesOnALaterLine", "abc|defgh|ijklm", {2, 1}, {3, 2}, {3, 3}, {},
                                "afgh|ijbc|deklm", "caret 3,3 sel 3,2-3,3 normal"}),
    [](const testing::TestParamInfo<TDropCase>& info) { return std::string(info.param.name); });

TEST(CodeEditDragDrop, TheUndoRecordsOfAMove)
{
    TEditorSession s(LinesOf("0123456789"));
    s.Select({5, 1}, {8, 1});
    s.editor.DragDrop(&s.editor, s.CellX(2), s.CellY(1), ssNone);
    EXPECT_EQ(s.UndoRecords(), "4 5,1-8,1 '456' normal; 2 2,1-5,1 '' normal; 17 0,0-0,0 '' normal");
}

// A second control with its own window.
struct TOtherEditor {
    explicit TOtherEditor(const char* lines)
    {
        editor.SetHost(&host);
        editor.Lines().SetText(QString::fromUtf8(lines));
    }
    TRecordingHost host;
    TCodeEdit editor;
};

TEST(CodeEditDragDrop, FromAnotherControlCopiesUnlessShiftIsDown)
{
    for (bool shift : {false, true}) {
        TEditorSession s(LinesOf("ab"));
        s.editor.SetOptions(s.editor.Options().Without(eoScrollPastEol));
        TOtherEditor source("0123456789");
        source.editor.SetBlockBegin({3, 1});
        source.editor.SetBlockEnd({6, 1});
        s.editor.DragDrop(&source.editor, s.CellX(2), s.CellY(1), shift ? TShiftState(ssShift) : ssNone);
        EXPECT_EQ(s.Text(), QStringLiteral("a234b"));
        EXPECT_EQ(s.State(), "caret 5,1 sel 2,1-5,1 normal");
        EXPECT_EQ(s.UndoRecords(), "0 2,1-5,1 '' normal; 17 0,0-0,0 '' normal");
        EXPECT_FALSE(s.editor.HasOption(eoScrollPastEol)) << "held only for the insertion";
        EXPECT_EQ(source.editor.GetText(), shift ? QStringLiteral("0156789") : QStringLiteral("0123456789"));
        EXPECT_EQ(source.editor.UndoList().ItemCount(), shift ? 1 : 0) << "the source records its own deletion";
    }
}

TEST(CodeEditDragDrop, DropsThatAreLeftAlone)
{
    TEditorSession s(LinesOf("abc"));
    TOtherEditor source("0123456789");
    s.editor.DragDrop(&source.editor, s.CellX(2), s.CellY(1), ssNone);
    EXPECT_EQ(s.Text(), QStringLiteral("abc")) << "nothing selected in the source";
    source.editor.SelectAll();
    s.editor.DragDrop(nullptr, s.CellX(2), s.CellY(1), ssNone);
    s.editor.SetReadOnly(true);
    s.editor.DragDrop(&source.editor, s.CellX(2), s.CellY(1), ssNone);
    EXPECT_EQ(s.Text(), QStringLiteral("abc"));
    EXPECT_EQ(s.editor.UndoList().ItemCount(), 0);
}

TEST(CodeEditDragDrop, TheCaretFollowsADragAndReturnsWhenItLeaves)
{
    TEditorSession s(LinesOf("0123456789|abcdefghij"));
    TOtherEditor source("xyz");
    source.editor.SelectAll();
    s.Select({2, 1}, {4, 1});
    s.MouseDown(3, 1); // on the selection: the press point is kept
    TCursor cursor = crDefault;
    EXPECT_TRUE(s.editor.DragOver(&source.editor, s.CellX(7), s.CellY(2), dsDragMove, ssNone, cursor));
    EXPECT_EQ(cursor, crDrag);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{7, 2}));
    EXPECT_TRUE(s.editor.DragOver(&source.editor, s.CellX(8), s.CellY(2), dsDragMove, kCtrl, cursor));
    EXPECT_EQ(cursor, crMultiDrag);
    s.editor.DragOver(&source.editor, 0, 0, dsDragLeave, ssNone, cursor);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{3, 1}));
    source.editor.SetReadOnly(true);
    EXPECT_FALSE(s.editor.DragOver(&source.editor, s.CellX(7), s.CellY(2), dsDragMove, ssNone, cursor));
    EXPECT_FALSE(s.editor.DragOver(nullptr, s.CellX(7), s.CellY(2), dsDragMove, ssNone, cursor));
}

TEST(CodeEditDragDrop, DroppedFilesReachTheirEventWhole)
{
    TEditorSession s;
    s.editor.DropFiles(5, 6, {QStringLiteral("/tmp/a.sbp")}); // no handler: nothing happens
    QStringList seen;
    int at = 0;
    s.editor.OnDropFiles = [&](TObject*, int x, int y, const QStringList& files) {
        seen = files;
        at = x * 1000 + y;
    };
    const QString longName = QStringLiteral("/tmp/") + QString(300, QLatin1Char('n')) + QStringLiteral(".sbp");
    s.editor.DropFiles(5, 6, {longName, QStringLiteral("/tmp/b.sbp")});
    EXPECT_EQ(seen, (QStringList{longName, QStringLiteral("/tmp/b.sbp")}));
    EXPECT_EQ(at, 5006);
}

} // namespace
