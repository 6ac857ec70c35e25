#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A program longer than the window (20 lines of the recording host).
QStringList Program(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines.append(QStringLiteral("line %1").arg(i));
    }
    return lines;
}

TEST(CodeEditCommandTable, ScrollingALineKeepsTheCaretInTheWindow)
{
    TEditorSession s(Program(100));
    s.editor.SetTopLine(10);
    RunScript(s, "@1,29 Ctrl+Up");
    EXPECT_EQ(s.editor.TopLine(), 9);
    EXPECT_EQ(s.editor.CaretY(), 28) << "pushed up from below the window";
    RunScript(s, "@1,9 Ctrl+Down");
    EXPECT_EQ(s.editor.TopLine(), 10);
    EXPECT_EQ(s.editor.CaretY(), 10);
    s.editor.SetTopLine(50);
    s.Press("Ctrl+Down");
    EXPECT_EQ(s.editor.TopLine(), 10) << "a caret outside the window is only brought into view";
    s.editor.SetLeftChar(5);
    RunScript(s, "cmd=214 cmd=214 cmd=213");
    EXPECT_EQ(s.editor.LeftChar(), 6);
}

TEST(CodeEditCommandTable, CommandsWithoutARowChangeNothing)
{
    TEditorSession s({"abc", "def"});
    RunScript(s, "@2,2 cmd=630 cmd=650 cmd=18 cmd=251 cmd=700 cmd=1000");
    EXPECT_EQ(s.Text(), "abc|def");
    EXPECT_EQ(s.State(), "caret 2,2");
    EXPECT_EQ(s.UndoRecords(), "");
}

TEST(CodeEditCommandTable, ContextHelpGetsTheWordAtTheCaret)
{
    TEditorSession s({"M3 JOG,1"});
    QString asked = "none";
    s.Press("Ctrl+F1");
    s.editor.OnContextHelp = [&](TObject*, const QString& word) { asked = word; };
    RunScript(s, "@5,1 <1,1 Ctrl+F1");
    EXPECT_EQ(asked, "JOG");
    EXPECT_EQ(s.State(), "caret 5,1");
}

TEST(CodeEditCommandTable, MarkerKeysToggleMoveAndGoToBookmarks)
{
    TEditorSession s(Program(60));
    RunScript(s, "@3,5 Ctrl+Shift+3 @2,40 Ctrl+Shift+3");
    ASSERT_NE(s.editor.BookMark(3), nullptr);
    EXPECT_EQ(s.editor.BookMark(3)->Line(), 40) << "another line moves it";
    EXPECT_EQ(s.editor.BookMark(3)->Column(), 2);
    RunScript(s, "@1,1 <3,1 Ctrl+3");
    EXPECT_EQ(s.State(), "caret 2,40");
    EXPECT_EQ(s.editor.TopLine(), 31) << "centred";
    s.Press("Ctrl+Shift+3");
    EXPECT_EQ(s.editor.BookMark(3), nullptr) << "the same line removes it";
    s.editor.DispatchCommand(ecSetMarker4, QChar(), TTextPoint{1, 9});
    EXPECT_EQ(s.editor.BookMark(4)->Line(), 9) << "the point in the data";
    s.editor.BookMarkOptions().SetEnableKeys(false);
    RunScript(s, "Ctrl+Shift+5 Ctrl+4");
    EXPECT_EQ(s.editor.BookMark(5), nullptr);
    EXPECT_EQ(s.State(), "caret 2,40");
}

} // namespace
