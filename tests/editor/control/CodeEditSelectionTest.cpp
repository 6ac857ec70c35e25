#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Lines as one string for short fixtures: "abc|def".
TEST(CodeEditSelection, SelectionTextInEachMode)
{
    struct Case {
        const char* lines;
        TCodeSelectionMode mode;
        TTextPoint anchor, end;
        bool trim;
        const char* text;
    };
    const Case cases[] = {
        {"abcdef|ghi", smNormal, {5, 1}, {2, 1}, false, "bcd"},
        {"abc|def|ghi", smNormal, {2, 1}, {3, 3}, false, "bc\r\ndef\r\ngh"},
        {"abc|def|ghi", smLine, {2, 2}, {1, 3}, false, "def\r\nghi"},
        {"abc|def|ghi", smLine, {3, 1}, {1, 2}, false, "abc\r\ndef\r\n"},
        {"abcdef|ab", smColumn, {2, 1}, {5, 2}, false, "bcd\r\nb  "},
        {"abcdef|ab", smColumn, {2, 1}, {5, 2}, true, "bcd\r\nb"},
        {"abcdef|ab", smColumn, {5, 2}, {2, 1}, false, "bcd\r\nb  "},
        // Display columns: the tab covers cells 1..8, so cells 9..10 are "xy" on line 1.
        {"\txyz|0123456789ab", smColumn, {2, 1}, {11, 2}, false, "xy\r\n89"},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf(c.lines));
        s.editor.SetOptions(s.editor.Options().Set(eoTrimTrailingSpaces, c.trim));
        s.Select(c.anchor, c.end, c.mode);
        EXPECT_EQ(s.editor.GetSelText(), QString::fromUtf8(c.text)) << c.lines << " mode " << int(c.mode);
    }
}

TEST(CodeEditSelection, ColumnModeNeedsDifferentColumns)
{
    TEditorSession s(LinesOf("abc|def"));
    s.Select({2, 1}, {2, 2}, smColumn);
    EXPECT_FALSE(s.editor.SelAvail());
    s.editor.SetSelectionMode(smNormal);
    EXPECT_TRUE(s.editor.SelAvail());
    EXPECT_TRUE(s.editor.SelectionSpansLines());
}

TEST(CodeEditSelection, WrappedPiecesCopyAsTheirOneLine)
{
    TEditorSession s;
    s.editor.Lines().SetWrapWidth(10);
    s.editor.Lines().SetWrapMode(true);
    s.editor.Lines().Add("aaaa bbbb cccc dddd");
    s.editor.Lines().Add("next");
    ASSERT_EQ(s.editor.LineCount(), 3);
    EXPECT_EQ(s.editor.GetText(), QStringLiteral("aaaa bbbb cccc dddd\r\nnext"));
    s.Select({3, 1}, {3, 3}, smNormal);
    EXPECT_EQ(s.editor.GetSelText(), QStringLiteral("aa bbbb cccc dddd\r\nne"));
}

TEST(CodeEditSelection, LeadingSpaceHelpers)
{
    TEditorSession s;
    s.editor.SetTabWidth(4);
    EXPECT_EQ(s.editor.GetLeftSpacing(10, true), QString(10, QLatin1Char(' '))) << "eoTabsToSpaces";
    s.editor.SetOptions(s.editor.Options().Without(eoTabsToSpaces));
    EXPECT_EQ(s.editor.GetLeftSpacing(10, true), QStringLiteral("\t\t  "));
    EXPECT_EQ(s.editor.GetLeftSpacing(3, true), QStringLiteral("   ")) << "less than one tab";
    EXPECT_EQ(s.editor.GetLeftSpacing(10, false), QString(10, QLatin1Char(' ')));

    EXPECT_EQ(s.editor.LeftSpacesEx(QStringLiteral(" \t x"), false), 3);
    EXPECT_EQ(s.editor.LeftSpacesEx(QStringLiteral(" \t x"), true), 6);
    s.editor.SetOptions(s.editor.Options().Without(eoAutoIndent));
    EXPECT_EQ(s.editor.LeftSpaces(QStringLiteral("   x")), 0);
    EXPECT_EQ(TCustomCodeEdit::TrimTrailingSpaces(QStringLiteral("a\t  ")), QStringLiteral("a\t"));
}

TEST(CodeEditSelection, CaretIsClampedToTheBuffer)
{
    struct Case {
        bool pastEol;
        TTextPoint asked, placed;
    };
    const Case cases[] = {
        {false, {50, 3}, {11, 3}}, {true, {50, 3}, {50, 3}},   {false, {4, 0}, {2, 1}},
        {false, {0, 2}, {1, 2}},   {true, {2000, 1}, {1024, 1}}, {false, {1, 9}, {1, 4}},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf("a|bb|0123456789|"));
        s.editor.SetOptions(s.editor.Options().Set(eoScrollPastEol, c.pastEol));
        s.editor.SetCaretXY(c.asked);
        EXPECT_EQ(s.editor.CaretXY(), c.placed) << c.asked.x << "," << c.asked.y;
    }
    TEditorSession empty;
    empty.editor.SetOptions(empty.editor.Options().Without(eoScrollPastEol));
    empty.editor.SetCaretXY({3, 3});
    EXPECT_EQ(empty.editor.CaretXY(), (TTextPoint{1, 1}));
}

TEST(CodeEditSelection, SurrogatePairsAreNeverSplit)
{
    // "a", a pair at columns 2..3, "b".
    TEditorSession s({QString::fromUtf8("a\U0001F600b")});
    s.editor.SetCaretXY({3, 1});
    EXPECT_EQ(s.editor.CaretX(), 2);
    s.Select({1, 1}, {3, 1});
    EXPECT_EQ(s.editor.SelectionEnd(), (TTextPoint{2, 1}));
    s.editor.SetBlockBegin({3, 1});
    EXPECT_EQ(s.editor.SelectionAnchor(), (TTextPoint{2, 1}));
    EXPECT_EQ(s.editor.DisplayToCharColumn(1, 3), 2);
    s.editor.SetCaretXY({2, 1});
    s.Press("Right");
    EXPECT_EQ(s.editor.CaretX(), 4);
    s.Press("Left");
    EXPECT_EQ(s.editor.CaretX(), 2);
}

// The repainted band of the last invalidation, as lines.
std::pair<int, int> RepaintedLines(const TRecordingHost& host)
{
    const TRect& r = host.invalidated.back();
    return {r.Top / 16 + 1, r.Bottom / 16};
}

TEST(CodeEditSelection, MovingTheEndPointRepaintsTheLinesBetween)
{
    TEditorSession s(LinesOf("aaaa|bbbb|cccc|dddd|eeee|ffff"));
    s.Select({1, 2}, {3, 3}, smColumn);
    s.host.Forget();
    s.editor.SetBlockEnd({3, 5});
    EXPECT_EQ(RepaintedLines(s.host), std::make_pair(3, 5)) << "column kept: old end line to new";
    s.editor.SetBlockEnd({4, 4});
    EXPECT_EQ(RepaintedLines(s.host), std::make_pair(2, 5)) << "column changed: anchor, old and new end";
    s.editor.SetBlockEnd({1, 4});
    s.host.Forget();
    s.editor.SetBlockEnd({1, 6});
    EXPECT_TRUE(s.host.invalidated.empty()) << "anchor and end share their column: nothing shows";

    s.editor.SetSelectionMode(smNormal);
    s.editor.SetBlockEnd({2, 3});
    EXPECT_EQ(RepaintedLines(s.host), std::make_pair(3, 6));
    s.editor.SetBlockBegin({1, 5});
    EXPECT_EQ(RepaintedLines(s.host), std::make_pair(2, 5)) << "the collapsed selection's lines";
}

TEST(CodeEditSelection, SelectAllAndPointTests)
{
    TEditorSession s(LinesOf("abc|de"));
    s.editor.SelectAll();
    EXPECT_EQ(s.State(), "caret 3,2 sel 1,1-3,2 normal");
    EXPECT_TRUE(s.editor.IsInSelection({1, 1}));
    EXPECT_FALSE(s.editor.IsInSelection({3, 2})) << "the end point is outside";

    s.Select({2, 1}, {3, 2}, smColumn);
    EXPECT_TRUE(s.editor.IsInSelection({2, 2}));
    EXPECT_FALSE(s.editor.IsInSelection({1, 1}));
    s.Select({2, 2}, {3, 2}, smLine);
    EXPECT_TRUE(s.editor.IsInSelection({1, 2}));
    EXPECT_FALSE(s.editor.IsInSelection({1, 1}));

    TEditorSession empty;
    empty.editor.SelectAll();
    EXPECT_EQ(empty.State(), "caret 1,1");
}

TEST(CodeEditSelection, CharacterOffsetsCountALineBreakAsTwo)
{
    TEditorSession s(LinesOf("abc|de|f"));
    s.editor.SetCaretXY({2, 2});
    EXPECT_EQ(s.editor.GetSelStart(), 5 + 2);
    for (const int offset : {1, 4, 6, 8, 11}) {
        s.editor.SetSelStart(offset);
        EXPECT_EQ(s.editor.GetSelStart(), offset);
    }
    s.editor.SetSelStart(2);
    s.editor.SetSelEnd(9);
    EXPECT_EQ(s.editor.GetSelText(), QStringLiteral("bc\r\nde\r\n"));
    s.editor.SetSelStart(100);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{2, 3})) << "past the end: the end of the text";
}

TEST(CodeEditSelection, DisplayColumnsExpandTabs)
{
    TEditorSession s(LinesOf("a\tb|x"));
    s.editor.SetTabWidth(4);
    const int expected[][2] = {{1, 1}, {2, 2}, {3, 5}, {4, 6}, {6, 8}};
    for (const auto& e : expected) {
        EXPECT_EQ(s.editor.CharToDisplayColumn(1, e[0]), e[1]) << e[0];
        EXPECT_EQ(s.editor.DisplayToCharColumn(1, e[1]), e[0]) << e[1];
    }
    EXPECT_EQ(s.editor.DisplayToCharColumn(1, 4), 2) << "inside the tab: the tab";
    EXPECT_EQ(s.editor.CharToDisplayColumn(9, 7), 7) << "no such line";
}

} // namespace
