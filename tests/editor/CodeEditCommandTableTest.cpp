#include "EditorSession.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A program longer than the window (20 lines of 8x16 cells in the recording host).
QStringList Program(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines.append(QStringLiteral("line %1").arg(i));
    }
    return lines;
}

TEST(CodeEditCommandTable, PageMovesFollowTheScrollOptions)
{
    struct TCase {
        TCodeEditorOptions extra;
        int caretLine; // after Page Down from line 1
    };
    for (const TCase& c : {TCase{{}, 21}, TCase{{eoHalfPageScroll}, 11}, TCase{{eoScrollByOneLess}, 20},
                           TCase{{eoHalfPageScroll, eoScrollByOneLess}, 10}}) {
        TEditorSession s(Program(100));
        ASSERT_EQ(s.editor.LinesInWindow(), 20);
        s.editor.SetOptions(TCodeEditorOptions::FromBits(CodeEditDefaultOptions.Bits() | c.extra.Bits()));
        s.Press("PgDn");
        EXPECT_EQ(s.editor.CaretY(), c.caretLine) << c.extra.Bits();
        EXPECT_EQ(s.editor.TopLine(), c.caretLine) << c.extra.Bits();
        EXPECT_TRUE(s.host.Called("repaint"));
        s.Press("Shift+PgUp");
        EXPECT_EQ(s.State(), "caret 1,1 sel 1," + std::to_string(c.caretLine) + "-1,1 normal");
    }
}

TEST(CodeEditCommandTable, PageTopBottomAndGotoXY)
{
    TEditorSession s(Program(100));
    s.editor.SetTopLine(30);
    s.editor.SetCaretXY({3, 35});
    s.Press("Ctrl+PgUp");
    EXPECT_EQ(s.State(), "caret 3,30");
    s.Press("Shift+Ctrl+PgDn");
    EXPECT_EQ(s.State(), "caret 3,49 sel 3,30-3,49 normal");
    s.editor.DispatchCommand(ecGotoXY, QChar(), {});
    EXPECT_EQ(s.State(), "caret 3,49 sel 3,30-3,49 normal") << "no point, no move";
    s.editor.DispatchCommand(ecGotoXY, QChar(), TTextPoint{2, 7});
    EXPECT_EQ(s.State(), "caret 2,7");
}

TEST(CodeEditCommandTable, ScrollingALineKeepsTheCaretInTheWindow)
{
    TEditorSession s(Program(100));
    s.editor.SetTopLine(10);
    s.editor.SetCaretXY({1, 29});
    s.Press("Ctrl+Up");
    EXPECT_EQ(s.editor.TopLine(), 9);
    EXPECT_EQ(s.editor.CaretY(), 28) << "pushed up from below the window";
    s.editor.SetCaretXY({1, 9});
    s.Press("Ctrl+Down");
    EXPECT_EQ(s.editor.TopLine(), 10);
    EXPECT_EQ(s.editor.CaretY(), 10);
    // With the caret outside the window only the caret is brought into view.
    s.editor.SetTopLine(50);
    s.Press("Ctrl+Down");
    EXPECT_EQ(s.editor.TopLine(), 10);
    EXPECT_EQ(s.editor.CaretY(), 10);
    s.editor.SetLeftChar(5);
    s.editor.DispatchCommand(ecScrollRight, QChar(), {});
    s.editor.DispatchCommand(ecScrollRight, QChar(), {});
    s.editor.DispatchCommand(ecScrollLeft, QChar(), {});
    EXPECT_EQ(s.editor.LeftChar(), 6);
}

TEST(CodeEditCommandTable, ColumnSelectionActsAsNormalUnderTheSoftWrap)
{
    TEditorSession s({"abc"});
    s.editor.DispatchCommand(ecColumnSelect, QChar(), {});
    EXPECT_EQ(s.editor.SelectionMode(), smColumn);
    s.editor.SetWordWrap(true);
    s.editor.DispatchCommand(ecLineSelect, QChar(), {});
    s.editor.DispatchCommand(ecColumnSelect, QChar(), {});
    EXPECT_EQ(s.editor.SelectionMode(), smNormal);
}

TEST(CodeEditCommandTable, CommandsWithoutARowChangeNothing)
{
    TEditorSession s({"abc", "def"});
    s.editor.SetCaretXY({2, 2});
    for (TCodeEditorCommand command : {ecString, ecAutoCompletion, TCodeEditorCommand(18), TCodeEditorCommand(250 + 1),
                                       TCodeEditorCommand(700), TCodeEditorCommand(1000)}) {
        s.editor.DispatchCommand(command, QLatin1Char('x'), {});
    }
    EXPECT_EQ(s.Text(), "abc|def");
    EXPECT_EQ(s.State(), "caret 2,2");
    EXPECT_EQ(s.UndoRecords(), "");
}

TEST(CodeEditCommandTable, ReadOnlyStillCopiesButChangesNothing)
{
    TEditorSession s({"abc def"});
    s.Select({1, 1}, {4, 1});
    s.editor.SetReadOnly(true);
    s.Press({"Ctrl+C", "Ctrl+X", "Ctrl+V"});
    for (TCodeEditorCommand command : {ecUpperCase, ecToggleCase, ecClearAll}) {
        s.editor.DispatchCommand(command, QChar(), {});
    }
    EXPECT_EQ(s.Text(), "abc def");
    s.editor.SetReadOnly(false);
    s.editor.SetCaretAndSelection({8, 1}, {8, 1}, {8, 1});
    s.Press("Ctrl+V");
    EXPECT_EQ(s.Text(), "abc defabc") << "the copy made while read-only";
}

TEST(CodeEditCommandTable, ContextHelpGetsTheWordAtTheCaret)
{
    TEditorSession s({"M3 JOG,1"});
    QString asked;
    s.Press("Ctrl+F1");
    EXPECT_TRUE(asked.isEmpty()) << "nothing without a handler";
    s.editor.OnContextHelp = [&](TObject*, const QString& word) { asked = word; };
    s.editor.SetCaretXY({5, 1});
    s.Select({1, 1}, {3, 1});
    s.Press("Ctrl+F1");
    EXPECT_EQ(asked, "JOG");
    EXPECT_EQ(s.State(), "caret 5,1");
}

TEST(CodeEditCommandTable, MarkerKeysToggleMoveAndGoToBookmarks)
{
    TEditorSession s(Program(60));
    s.editor.SetCaretXY({3, 5});
    s.Press("Ctrl+Shift+3");
    ASSERT_NE(s.editor.BookMark(3), nullptr);
    EXPECT_EQ(s.editor.BookMark(3)->Line(), 5);
    s.editor.SetCaretXY({2, 40});
    s.Press("Ctrl+Shift+3");
    EXPECT_EQ(s.editor.BookMark(3)->Line(), 40) << "another line moves it";
    EXPECT_EQ(s.editor.BookMark(3)->Column(), 2);
    s.editor.SetCaretXY({1, 1});
    s.Select({1, 1}, {3, 1});
    s.Press("Ctrl+3");
    EXPECT_EQ(s.State(), "caret 2,40");
    EXPECT_EQ(s.editor.TopLine(), 31) << "centred";
    s.Press("Ctrl+Shift+3");
    EXPECT_EQ(s.editor.BookMark(3), nullptr) << "the same line removes it";
    s.editor.DispatchCommand(ecSetMarker4, QChar(), TTextPoint{1, 9});
    EXPECT_EQ(s.editor.BookMark(4)->Line(), 9) << "the point in the data";

    s.editor.BookMarkOptions().SetEnableKeys(false);
    s.Press({"Ctrl+Shift+5", "Ctrl+4"});
    EXPECT_EQ(s.editor.BookMark(5), nullptr);
    EXPECT_EQ(s.State(), "caret 2,40");
}

} // namespace
