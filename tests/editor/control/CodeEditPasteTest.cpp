#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

void ClearClipboard(TEditorSession& s)
{
    s.clipboard.Open();
    s.clipboard.Clear();
    s.clipboard.Close();
}

TEST(CodeEditPaste, EachModeInsertsItsShape)
{
    struct Case {
        const char* name;
        const char* lines;
        TTextPoint caret;
        TCodeSelectionMode mode;
        const char* text;
        const char* after;
        TTextPoint caretAfter;
        const char* records;
    };
    const Case cases[] = {
        {"normal, two lines", "xyz", {2, 1}, smNormal, "a\r\nb", "xa|byz", {2, 2}, "1 2,1-2,2 '' normal"},
        {"normal, one line", "xyz", {4, 1}, smNormal, "ab", "xyzab", {6, 1}, "1 4,1-6,1 '' normal"},
        {"normal, past the end", "x", {4, 1}, smNormal, "ab", "x  ab", {6, 1}, "1 4,1-6,1 '' normal"},
        {"line block before the caret line", "1|2|3|line four|5", {5, 4}, smLine, "A\r\nB\r\n",
         "1|2|3|A|B|line four|5", {1, 6}, "1 1,4-80,5 '' line"},
        {"column block, short lines padded and one added", "abcdef|ab|abcdef", {4, 2}, smColumn, "11\r\n22\r\n33",
         "abcdef|ab 11|abc22def|   33", {4, 4},
         "1 4,2-6,2 '' normal; 1 4,3-6,3 '' normal; 1 4,4-6,4 '' normal"},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf(c.lines));
        s.editor.SetCaretXY(c.caret);
        s.ClipboardBlock(c.mode, QString::fromUtf8(c.text));
        s.editor.PasteFromClipboard();
        EXPECT_EQ(s.Text(), QString::fromUtf8(c.after)) << c.name;
        EXPECT_EQ(s.editor.CaretXY(), c.caretAfter) << c.name;
        EXPECT_EQ(s.UndoRecords(), c.records) << c.name;
        EXPECT_FALSE(s.editor.Pasting());
    }
}

TEST(CodeEditPaste, ColumnInsertionHandsBackItsWidth)
{
    TEditorSession s(LinesOf("ab|cd"));
    s.editor.SetCaretXY({2, 1});
    int width = 0;
    s.editor.SetSelTextPrimitive(smColumn, QStringLiteral("xyz\r\nuvw"), &width);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(s.Text(), QStringLiteral("axyzb|cuvwd"));
    EXPECT_EQ(s.editor.UndoList().ItemCount(), 0) << "not pasting and not asked to record";
}

TEST(CodeEditPaste, ASelectionIsRecordedAsDeletedAndReplaced)
{
    TEditorSession s(LinesOf("one two three"));
    s.Select({8, 1}, {5, 1});
    s.ClipboardBlock(smNormal, QStringLiteral("2"));
    s.editor.PasteFromClipboard();
    EXPECT_EQ(s.Text(), QStringLiteral("one 2 three"));
    EXPECT_EQ(s.UndoRecords(), "4 5,1-8,1 'two' normal; 1 5,1-6,1 '' normal");
    EXPECT_EQ(s.editor.UndoList().Item(0).ChangeNumber, s.editor.UndoList().Item(1).ChangeNumber) << "one block";

    // Plain text replaces the selection in one group as well.
    ClearClipboard(s);
    s.ClipboardBytes(ClipboardTextFormat, "TWO");
    s.editor.SelectAll();
    s.editor.PasteFromClipboard();
    EXPECT_EQ(s.Text(), QStringLiteral("TWO"));
    EXPECT_EQ(s.UndoRecords(), "4 5,1-8,1 'two' normal; 1 5,1-6,1 '' normal; "
                               "4 1,1-12,1 'one 2 three' normal; 1 1,1-4,1 '' normal");
}

TEST(CodeEditPaste, ABlockThatIsNotOursPastesAsPlainText)
{
    struct Case {
        const char* name;
        std::string block;
    };
    const Case cases[] = {
        {"mode byte 3", std::string("\x03xyz\0", 5)},
        {"no NUL", std::string("\x01xyz")},
        {"mode byte alone", std::string("\x00", 1)},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf("ab"));
        s.editor.SetCaretXY({2, 1});
        s.ClipboardBytes(CodeEditClipboardFormat, c.block);
        s.ClipboardBytes(ClipboardTextFormat, "P\r\nQ");
        s.editor.PasteFromClipboard();
        EXPECT_EQ(s.Text(), QStringLiteral("aP|Qb")) << c.name;
    }
}

TEST(CodeEditPaste, CopyAndPasteKeepTheModeAndEveryCharacter)
{
    const QString text = QString::fromUtf8("caf\u00e9 \U0001F600|\u00fcber|x");
    TEditorSession s(text.split(QLatin1Char('|')));
    s.Select({1, 1}, {1, 2}, smLine);
    s.editor.CopyToClipboard();
    std::string block;
    s.clipboard.Open();
    ASSERT_TRUE(s.clipboard.GetData(CodeEditClipboardFormat, block));
    s.clipboard.Close();
    EXPECT_EQ(block[0], char(smLine));
    EXPECT_EQ(block.back(), '\0');

    TEditorSession other(LinesOf("end"));
    other.clipboard.Open();
    other.clipboard.SetData(CodeEditClipboardFormat, block);
    other.clipboard.Close();
    other.editor.PasteFromClipboard();
    EXPECT_EQ(other.Text(), QString::fromUtf8("caf\u00e9 \U0001F600|\u00fcber|end"));
}

TEST(CodeEditPaste, ClipboardFailuresRaiseAndLeaveTheControlConsistent)
{
    TEditorSession s(LinesOf("abc"));
    s.editor.SelectAll();
    s.clipboard.failSetFormat = std::string(CodeEditClipboardFormat);
    EXPECT_THROW(
        {
            try {
                s.editor.CopyToClipboard();
            } catch (const ECodeEditError& e) {
                EXPECT_STREQ(e.what(), "Clipboard copy operation failed");
                throw;
            }
        },
        ECodeEditError);
    EXPECT_FALSE(s.clipboard.IsOpen());

    s.clipboard.failSetFormat.clear();
    s.editor.CopyToClipboard();
    s.clipboard.failGetFormat = std::string(CodeEditClipboardFormat);
    s.editor.SetWordWrap(true);
    try {
        s.editor.PasteFromClipboard();
        FAIL() << "no error";
    } catch (const ECodeEditError& e) {
        EXPECT_STREQ(e.what(), "Clipboard paste operation failed.");
    }
    EXPECT_FALSE(s.clipboard.IsOpen());
    EXPECT_FALSE(s.editor.Pasting());
    EXPECT_TRUE(s.editor.WordWrap());
    EXPECT_EQ(s.Text(), QStringLiteral("abc"));
    // The undo block was closed: a new record gets a new change number.
    s.editor.UndoList().AddChange(crInsert, {1, 1}, {1, 1}, QString(), smNormal);
    s.editor.UndoList().AddChange(crInsert, {1, 1}, {1, 1}, QString(), smNormal);
    EXPECT_NE(s.editor.UndoList().Item(0).ChangeNumber, s.editor.UndoList().Item(1).ChangeNumber);
}

TEST(CodeEditPaste, CutRecordsTheDeletionAndReadOnlyIgnoresEdits)
{
    TEditorSession s(LinesOf("abc|def"));
    s.Select({2, 1}, {2, 2});
    s.editor.CutToClipboard();
    EXPECT_EQ(s.Text(), QStringLiteral("aef"));
    EXPECT_EQ(s.UndoRecords(), "4 2,1-2,2 'bc\\nd' normal");
    EXPECT_EQ(s.State(), "caret 2,1");

    s.editor.SetReadOnly(true);
    s.editor.SelectAll();
    s.editor.CutToClipboard();
    s.editor.PasteFromClipboard();
    s.editor.SetSelTextRaw(QStringLiteral("x"));
    EXPECT_EQ(s.Text(), QStringLiteral("aef"));
    EXPECT_EQ(s.editor.UndoList().ItemCount(), 1);
}

TEST(CodeEditPaste, DeletingInEachModeTellsTheMarks)
{
    struct Case {
        TCodeSelectionMode mode;
        TTextPoint anchor, end;
        const char* after;
        int markLines[3];
    };
    // Marks on lines 2, 3 and 5.
    const Case cases[] = {
        {smNormal, {2, 2}, {3, 4}, "line1|lne4|line5", {2, 2, 3}},
        {smLine, {2, 2}, {3, 3}, "line1|line4|line5", {2, 2, 3}},
        {smLine, {1, 4}, {1, 5}, "line1|line2|line3|", {2, 3, 4}},
        {smColumn, {2, 1}, {4, 5}, "le1|le2|le3|le4|le5", {2, 3, 5}},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf("line1|line2|line3|line4|line5"));
        TCodeEditMark* marks[3];
        int i = 0;
        for (const int line : {2, 3, 5}) {
            marks[i] = s.editor.Marks().Add(std::make_unique<TCodeEditMark>(&s.editor));
            marks[i++]->SetLine(line);
        }
        s.editor.SetSelectionMode(c.mode);
        s.editor.SetBlockBegin(c.anchor);
        s.editor.SetBlockEnd(c.end);
        s.editor.SetSelTextRaw(QString());
        EXPECT_EQ(s.Text(), QString::fromUtf8(c.after)) << int(c.mode);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(marks[k]->Line(), c.markLines[k]) << int(c.mode) << " mark " << k;
        }
    }
}

TEST(CodeEditPaste, PointsLeftBehindByAShorterBufferStandAtItsEnd)
{
    TEditorSession s(LinesOf("a|b|c"));
    s.editor.SetCaretXY({2, 3});
    s.editor.Lines().Delete(2);
    s.editor.Lines().Delete(1);
    s.editor.SetSelTextRaw(QStringLiteral("x\r\ny"));
    EXPECT_EQ(s.Text(), QStringLiteral("ax|y"));
}

TEST(CodeEditPaste, InsertedLinesMoveTheMarksBelowTheInsertionPoint)
{
    TEditorSession s(LinesOf("ab|cd"));
    TCodeEditMark* mark = s.editor.Marks().Add(std::make_unique<TCodeEditMark>(&s.editor));
    mark->SetLine(1);
    s.editor.SetCaretXY({2, 1});
    s.editor.SetSelTextRaw(QStringLiteral("x\r\ny"));
    EXPECT_EQ(mark->Line(), 1) << "the line's head stays";
    s.editor.SetCaretXY({1, 1});
    s.editor.SetSelTextRaw(QStringLiteral("z\r\n"));
    EXPECT_EQ(mark->Line(), 2) << "inserted before the whole line";
    EXPECT_EQ(s.Text(), QStringLiteral("z|ax|yb|cd"));
}

TEST(CodeEditPaste, TheWrapSwitchKeepsTheCaretOnItsCharacter)
{
    QString line;
    for (int i = 0; i < 15; ++i) {
        line += QStringLiteral("word%1").arg(i, 3, 10, QLatin1Char('0')).leftJustified(10);
    }
    ASSERT_EQ(line.size(), 150);
    TEditorSession s({QStringLiteral("first"), line});
    s.editor.SetOptions(s.editor.Options().With(eoAltSetsColumnMode));
    s.editor.SetSelectionMode(smColumn);
    s.editor.SetCaretXY({100, 2});
    const QChar under = line[99];
    s.editor.SetWordWrap(true);
    EXPECT_TRUE(s.editor.Lines().WrapMode());
    EXPECT_EQ(s.editor.Lines().WrapWidth(), 80);
    EXPECT_EQ(s.editor.CaretY(), 3) << "the second piece";
    EXPECT_EQ(s.editor.GetLineText()[s.editor.CaretX() - 1], under);
    EXPECT_EQ(s.editor.SelectionMode(), smNormal);
    EXPECT_FALSE(s.editor.HasOption(eoAltSetsColumnMode));

    s.editor.SetWordWrap(false);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{100, 2}));
    EXPECT_EQ(s.editor.LineCount(), 2);
    EXPECT_TRUE(s.editor.HasOption(eoAltSetsColumnMode)) << "remembered";
}

TEST(CodeEditPaste, TheWrapSwitchCountsCharactersNotCellsOfATab)
{
    TEditorSession s({QStringLiteral("aaaa\tbbbb cccc dddd")});
    s.host.clientWidth = 32 + 10 * 8;
    s.editor.ClientResized();
    s.editor.SetCaretXY({13, 1});
    s.editor.SetWordWrap(true);
    ASSERT_EQ(s.Text(), QStringLiteral("aaaa\tbbbb |cccc dddd"));
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{3, 2}));
    s.editor.SetWordWrap(false);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{13, 1}));
}

TEST(CodeEditPaste, AColumnBlockIsReplacedFromItsTopLeftCorner)
{
    TEditorSession s(LinesOf("abcde|fghij|klmno"));
    s.Select({4, 1}, {2, 3}, smColumn);
    s.editor.SetSelTextRaw(QStringLiteral("1\r\n2\r\n3"));
    EXPECT_EQ(s.Text(), QStringLiteral("a1de|f2ij|k3no"));
}

TEST(CodeEditPaste, APasteIntoWrappedTextReplacesTheSameSelection)
{
    TEditorSession s({QStringLiteral("aaaa bbbb cccc dddd"), QStringLiteral("end")});
    s.host.clientWidth = 32 + 10 * 8;
    s.editor.ClientResized();
    s.editor.SetWordWrap(true);
    ASSERT_EQ(s.Text(), QStringLiteral("aaaa bbbb |cccc dddd|end"));
    s.Select({1, 2}, {5, 2});
    s.editor.SetCaretXY({5, 2});
    s.ClipboardBlock(smNormal, QStringLiteral("CC"));
    s.editor.PasteFromClipboard();
    EXPECT_TRUE(s.editor.WordWrap());
    EXPECT_EQ(s.editor.GetText(), QStringLiteral("aaaa bbbb CC dddd\r\nend"));
    EXPECT_EQ(s.UndoRecords(), "4 1,2-5,2 'cccc' normal; 20 5,2-5,2 '' normal; "
                               "1 11,1-13,1 '' normal; 19 3,2-3,2 '' normal");
}

} // namespace
