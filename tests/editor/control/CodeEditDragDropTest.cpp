// Dragging text within one control and between two, and dropping files.
#include "../EditorSession.h"

#include <gtest/gtest.h>

namespace {

const TShiftState kCtrl = TShiftState::ssCtrl;

TEST(CodeEditDragDrop, AMovedSelectionLandsWhereTheTextAfterItWent)
{
    EXPECT_EQ(DropPointAfterMove({3, 2}, {6, 2}, {10, 2}), (TTextPoint{7, 2})) << "one line: by its width";
    EXPECT_EQ(DropPointAfterMove({2, 1}, {3, 2}, {5, 2}), (TTextPoint{4, 1})) << "on its own last line";
    EXPECT_EQ(DropPointAfterMove({2, 1}, {3, 2}, {3, 3}), (TTextPoint{3, 2})) << "a later line keeps its column";
}

TEST(CodeEditDragDrop, WithinOneControlMovesOrCopiesAsOneUndoStep)
{
    struct TCase {
        const char* lines;
        TTextPoint anchor, end, drop;
        TShiftState shift;
        const char* text;
        const char* state;
    };
    const TCase cases[] = {
        {"x|abcdefghijklmno", {3, 2}, {6, 2}, {10, 2}, {}, "x|abfghicdejklmno", "caret 10,2 sel 7,2-10,2 normal"},
        {"0123456789", {8, 1}, {5, 1}, {2, 1}, {}, "0456123789", "caret 5,1 sel 2,1-5,1 normal"},
        {"0123456789", {5, 1}, {8, 1}, {2, 1}, kCtrl, "0456123456789", "caret 5,1 sel 2,1-5,1 normal"},
        {"abc|defgh|ijklm", {2, 1}, {3, 2}, {5, 2}, {}, "afgbc|deh|ijklm", "caret 3,2 sel 4,1-3,2 normal"},
        {"abc|defgh|ijklm", {2, 1}, {3, 2}, {3, 3}, {}, "afgh|ijbc|deklm", "caret 3,3 sel 3,2-3,3 normal"},
        // Inside the selection or at its end: nothing happens.
        {"0123456789", {5, 1}, {8, 1}, {6, 1}, {}, "0123456789", "caret 6,1 sel 5,1-8,1 normal"},
        {"0123456789", {5, 1}, {8, 1}, {8, 1}, {}, "0123456789", "caret 8,1 sel 5,1-8,1 normal"},
    };
    for (const TCase& c : cases) {
        TEditorSession s(LinesOf(c.lines));
        std::vector<int> commands;
        s.editor.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& command, QChar&, const TCodeEditCommandData&) {
            commands.push_back(command);
        };
        s.Select(c.anchor, c.end);
        s.editor.DragDrop(&s.editor, s.CellX(c.drop.x), s.CellY(c.drop.y), c.shift);
        EXPECT_EQ(s.Text(), QString::fromUtf8(c.text)) << c.text;
        EXPECT_EQ(s.State(), c.state) << c.text;
        const bool changed = s.Text() != QString::fromUtf8(c.lines);
        EXPECT_EQ(commands, changed ? std::vector<int>{ecSelGotoXY} : std::vector<int>{}) << c.text;
        s.editor.Undo();
        EXPECT_EQ(s.Text(), QString::fromUtf8(c.lines)) << "one undo step: " << c.text;
    }
    TEditorSession s(LinesOf("0123456789"));
    s.Select({5, 1}, {8, 1});
    s.editor.DragDrop(&s.editor, s.CellX(2), s.CellY(1), ssNone);
    EXPECT_EQ(s.UndoRecords(), "4 5,1-8,1 '456' normal; 2 2,1-5,1 '' normal; 17 0,0-0,0 '' normal");
}

// A second control with its own window.
struct TOtherEditor {
    explicit TOtherEditor(const char* text)
    {
        editor.SetHost(&host);
        editor.Lines().SetText(QString::fromUtf8(text));
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
        s.editor.DragDrop(&source.editor, s.CellX(2), s.CellY(1), ssNone);
        EXPECT_EQ(s.Text(), QStringLiteral("ab")) << "nothing selected in the source";
        source.editor.SetBlockBegin({3, 1});
        source.editor.SetBlockEnd({6, 1});
        s.editor.DragDrop(&source.editor, s.CellX(2), s.CellY(1), shift ? TShiftState(ssShift) : ssNone);
        EXPECT_EQ(s.Text(), QStringLiteral("a234b"));
        EXPECT_EQ(s.State(), "caret 5,1 sel 2,1-5,1 normal");
        EXPECT_EQ(s.UndoRecords(), "0 2,1-5,1 '' normal; 17 0,0-0,0 '' normal");
        EXPECT_FALSE(s.editor.HasOption(eoScrollPastEol)) << "held only for the insertion";
        EXPECT_EQ(source.editor.GetText(), shift ? QStringLiteral("0156789") : QStringLiteral("0123456789"));
        EXPECT_EQ(source.editor.UndoList().ItemCount(), shift ? 1 : 0) << "the source records its own deletion";
        s.editor.SetReadOnly(true);
        s.editor.DragDrop(&source.editor, s.CellX(1), s.CellY(1), ssNone);
        EXPECT_EQ(s.Text(), QStringLiteral("a234b")) << "a read-only target takes nothing";
    }
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
}

} // namespace
