// Lines longer than MaxLeftChar: their own columns stay reachable by every command that
// places the caret or a selection point, while MaxLeftChar still bounds how far past a
// short line's end the caret may go. Scripts run under the page settings (MaxLeftChar
// 256) unless they say otherwise; "x{300}" is 300 x's.
#include "../EditorScriptSteps.h"
#include "platform/core/services/Clipboard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TLongLineCase {
    const char* name;
    const char* lines;
    const char* script;
    const char* text;      // afterwards, with runs
    const char* state;     // caret and selection
    const char* clipboard; // the plain text on the clipboard, with runs; nullptr: not read
};

void PrintTo(const TLongLineCase& c, std::ostream* os) { *os << c.name; }

std::string ClipboardText(TEditorSession& s)
{
    std::string text;
    TClipboardOpener open(s.clipboard);
    s.clipboard.GetData(ClipboardTextFormat, text);
    return text;
}

class LongLines : public testing::TestWithParam<TLongLineCase> {};

TEST_P(LongLines, ScriptsReachTheWholeLine)
{
    const TLongLineCase& c = GetParam();
    TEditorSession s(RunLines(c.lines));
    RunScript(s, c.script);
    const QString text = ExpandRuns(QString::fromUtf8(c.text));
    EXPECT_EQ(s.Text().size(), text.size());
    EXPECT_TRUE(s.Text() == text) << s.Text().left(20).toStdString() << "..." << s.Text().right(20).toStdString();
    EXPECT_EQ(s.State(), c.state);
    if (c.clipboard) {
        const std::string clip = ClipboardText(s);
        EXPECT_EQ(clip.size(), ExpandRuns(QString::fromUtf8(c.clipboard)).size());
        EXPECT_TRUE(QString::fromStdString(clip) == ExpandRuns(QString::fromUtf8(c.clipboard)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Page, LongLines,
    testing::Values(
        TLongLineCase{"EndThenTypeGoesAfterTheLine", "A{500}B{500}", "page End ';", "A{500}B{500};", "caret 1002,1",
                      nullptr},
        TLongLineCase{"TypingOnPastColumn256KeepsItsOrder", "A{254}", "page End 'xyz", "A{254}xyz", "caret 258,1",
                      nullptr},
        TLongLineCase{"HomeShiftEndCutTakesTheWholeLine", "A{500}B{500}", "page @700,1 Home Shift+End Ctrl+X", "",
                      "caret 1,1", "A{500}B{500}"},
        TLongLineCase{"ShiftEndFromTheMiddleCopiesToTheEnd", "A{500}B{500}", "page @300,1 Shift+End Ctrl+C",
                      "A{500}B{500}", "caret 1001,1 sel 300,1-1001,1 normal", "A{201}B{500}"},
        TLongLineCase{"SelectAllCutOnAFortyThousandCharacterLine", "A{40000}B{8}", "page Ctrl+A Ctrl+X", "",
                      "caret 1,1", "A{40000}B{8}"},
        TLongLineCase{"SelectAllOfSeveralLinesEndsAfterTheLongLast", "x|A{700}", "page Ctrl+A Ctrl+C", "x|A{700}",
                      "caret 701,2 sel 1,1-701,2 normal", "x\r\nA{700}"},
        TLongLineCase{"PasteLeavesTheCaretAfterThePastedText", "", "page clipn=C{300} Ctrl+V ';", "C{300};",
                      "caret 302,1", nullptr},
        TLongLineCase{"PasteOfSeveralLinesEndsAfterTheLongLastPiece", "ab", "page @2,1 clipn=x~C{400} Ctrl+V ';",
                      "ax|C{400};b", "caret 402,2", nullptr},
        TLongLineCase{"CtrlEndReachesTheEndOfALongLastLine", "a|A{1000}", "page Ctrl+End ';", "a|A{1000};",
                      "caret 1002,2", nullptr},
        TLongLineCase{"ShiftCtrlEndSelectsToTheEnd", "a|A{1000}", "page @1,2 Shift+Ctrl+End Ctrl+X", "a|",
                      "caret 1,2", "A{1000}"},
        TLongLineCase{"ShiftRightExtendsPastColumn256", "A{300}", "page @255,1 Shift+Right Shift+Right Shift+Right",
                      "A{300}", "caret 258,1 sel 255,1-258,1 normal", nullptr},
        TLongLineCase{"UndoPutsTheCaretBackBeyond256", "A{1000}", "page End 'xy Ctrl+Z", "A{1000}", "caret 1001,1",
                      nullptr},
        TLongLineCase{"RedoPutsTheCaretAfterTheRedoneText", "A{1000}", "page End 'xy Ctrl+Z Shift+Ctrl+Z",
                      "A{1000}xy", "caret 1003,1", nullptr},
        TLongLineCase{"UndoOfACutSelectsTheWholeLineAgain", "A{1000}", "page Home Shift+End Ctrl+X Ctrl+Z",
                      "A{1000}", "caret 1001,1 sel 1,1-1001,1 normal", nullptr},
        TLongLineCase{"ReplaceAllYesToAllReplacesTheWholeHit", "A{300}", "page yestoall=A{300}>Y", "Y", "caret 2,1",
                      nullptr},
        TLongLineCase{"ReplaceAllYesToAllOnEveryLine", "A{300}|xA{300}x", "page yestoall=A{300}>Y", "Y|xYx",
                      "caret 3,2", nullptr},
        TLongLineCase{"FindSelectsTheWholeHit", "x{10}A{300}", "page find=A{300}", "x{10}A{300}",
                      "caret 311,1 sel 11,1-311,1 normal", nullptr},
        TLongLineCase{"ColumnPastTheEndOfALongLineStopsAtItsEnd", "A{1000}", "page @1200,1 ';", "A{1000};",
                      "caret 1002,1", nullptr},
        TLongLineCase{"AShortLineStillStopsAtMaxLeftChar", "abc", "page @300,1 ';", "abc {252};", "caret 257,1",
                      nullptr},
        TLongLineCase{"WithoutScrollPastEolAShortLineStopsAtItsEnd", "abc", "page -ScrollPastEol @300,1 ';", "abc;",
                      "caret 5,1", nullptr},
        TLongLineCase{"DownFromALongLineToAShortOneStopsAtMaxLeftChar", "A{1000}|ab", "page End Down", "A{1000}|ab",
                      "caret 256,2", nullptr},
        TLongLineCase{"ColumnBlockOverLongLinesCopiesWholeColumns", "A{300}B{10}|A{300}C{10}",
                      "page @301,1 <|311,2 Ctrl+C", "A{300}B{10}|A{300}C{10}", "caret 301,1 sel 311,2-301,1 column",
                      "B{10}\r\nC{10}"}));

INSTANTIATE_TEST_SUITE_P(
    PlugInBuffer, LongLines,
    testing::Values(
        // The plug-in window's buffer keeps the control's MaxLeftChar of 1024.
        TLongLineCase{"SelectAllCopyGivesTheWholeLongLastLine", "x|A{1500}", "+ScrollPastEol Ctrl+A Ctrl+C",
                      "x|A{1500}", "caret 1501,2 sel 1,1-1501,2 normal", "x\r\nA{1500}"},
        TLongLineCase{"EndThenTypeOnALineOf1500", "A{1500}", "+ScrollPastEol End ';", "A{1500};", "caret 1502,1",
                      nullptr}));

INSTANTIATE_TEST_SUITE_P(
    Defaults, LongLines,
    testing::Values(TLongLineCase{"ASmallMaxLeftCharBoundsNoLine", "A{40000}", "maxleft=100 End ';", "A{40000};",
                                  "caret 40002,1", nullptr},
                    TLongLineCase{"WithoutScrollPastEolTheEndOfALongLine", "A{2000}", "-ScrollPastEol End ';",
                                  "A{2000};", "caret 2002,1", nullptr}));

class LongLinesByMouse : public testing::Test {
protected:
    LongLinesByMouse() : s(RunLines("A{1000}|ab|A{300} word|B{1200}")) { UsePageSettings(s.editor); }
    TEditorSession s;
};

// The view reaches the end of the longest line, where a click on a shorter one lands at
// that one's end.
TEST_F(LongLinesByMouse, ClicksAndDragsPastTheEndStopAtTheLineEnd)
{
    s.Press("Ctrl+End");
    EXPECT_EQ(s.editor.LeftChar(), 1201 - s.editor.CharsInWindow() + 1) << "the caret at the window's right edge";
    s.ClickAt(1150, 1);
    EXPECT_EQ(s.State(), "caret 1001,1");
    EXPECT_EQ(s.editor.LeftChar(), 1001) << "the view follows the caret";
    s.MouseDown(1010, 4);
    s.DragTo(1050, 1);
    EXPECT_EQ(s.State(), "caret 1001,1 sel 1010,4-1001,1 normal");
    s.ClickAt(1040, 4);
    s.MouseDown(1070, 1, ssShift);
    s.MouseUp(1070, 1, ssShift);
    EXPECT_EQ(s.State(), "caret 1001,1 sel 1040,4-1001,1 normal") << "Shift+click";
    s.ClickAt(1050, 2);
    EXPECT_EQ(s.State(), "caret 256,2") << "a short line keeps MaxLeftChar";
}

TEST_F(LongLinesByMouse, ADoubleClickPastColumn256SelectsTheWordThere)
{
    s.editor.SetCaretXY({306, 3});
    const int x = s.CellX(303);
    const int y = s.CellY(3);
    s.editor.MouseDown(mbLeft, ssNone, x, y);
    s.editor.MouseUp(mbLeft, ssNone, x, y);
    s.editor.DblClick(x, y);
    EXPECT_EQ(s.State(), "caret 306,3 sel 302,3-306,3 normal");
}

// Selecting past the window's right edge scrolls on the timer only as far as the line
// under the mouse lets the caret go: the view spans the longest line, and scrolling on
// past the caret's last column left the caret and the selection's end out of sight.
struct TAutoScrollCase {
    const char* name;
    int line;
    const char* state;
};

void PrintTo(const TAutoScrollCase& c, std::ostream* os) { *os << c.name; }

class LongLinesAutoScroll : public testing::TestWithParam<TAutoScrollCase> {};

TEST_P(LongLinesAutoScroll, TheCaretStaysInView)
{
    const TAutoScrollCase& c = GetParam();
    TEditorSession s(RunLines("A{1000}|ab|A{300} word|B{1200}"));
    UsePageSettings(s.editor);
    const int chars = s.editor.CharsInWindow();
    s.MouseDown(1, c.line);
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(chars + 4), s.CellY(c.line));
    ASSERT_GT(s.editor.ScrollDeltaX(), 0);
    for (int tick = 0; tick < 400; ++tick) {
        s.loop.AdvanceTimers(100);
        s.loop.ProcessPendingEvents();
    }
    EXPECT_EQ(s.State(), c.state);
    const int caret = s.editor.CaretXY().x;
    EXPECT_LE(s.editor.LeftChar(), caret);
    EXPECT_LE(caret, s.editor.LeftChar() + chars);
    s.editor.MouseUp(mbLeft, ssNone, s.CellX(chars + 4), s.CellY(c.line));
}

INSTANTIATE_TEST_SUITE_P(
    Page, LongLinesAutoScroll,
    testing::Values(TAutoScrollCase{"AShortLineStopsAtMaxLeftChar", 2, "caret 256,2 sel 1,2-3,2 normal"},
                    TAutoScrollCase{"ALineOf305StopsAtItsEnd", 3, "caret 306,3 sel 1,3-306,3 normal"},
                    TAutoScrollCase{"TheLongestLineScrollsToItsEnd", 4, "caret 1201,4 sel 1,4-1201,4 normal"}),
    [](const testing::TestParamInfo<TAutoScrollCase>& info) { return std::string(info.param.name); });

// The horizontal bar spans the longest line's end past MaxLeftChar; past 32767 columns
// it is scaled, and its thumb reaches the end.
TEST_F(LongLinesByMouse, TheHorizontalBarSpansTheLongestLine)
{
    const int chars = s.editor.CharsInWindow();
    EXPECT_EQ(s.editor.ScrollInfo(sbHorizontal).maximum, 1201);
    s.editor.Scroll(sbHorizontal, scBottom, 0);
    EXPECT_EQ(s.editor.LeftChar(), 1201 - chars + 1);

    s.editor.Lines().Add(ExpandRuns("B{40008}"));
    const TScrollBarInfo& bar = s.editor.ScrollInfo(sbHorizontal);
    EXPECT_EQ(bar.maximum, ScrollBarMaxRange);
    s.editor.Scroll(sbHorizontal, scTrack, ScrollBarMaxRange - bar.page + 1);
    EXPECT_EQ(s.editor.LeftChar(), 40009 - chars + 1) << "the thumb at its end";
    s.editor.Scroll(sbHorizontal, scTrack, ScrollBarMaxRange / 2);
    EXPECT_NEAR(s.editor.LeftChar(), 20005, 2);
    EXPECT_NEAR(bar.position, ScrollBarMaxRange / 2, 1) << "the thumb stays where it was put";
    s.editor.SetCaretXY({40009, 5});
    EXPECT_EQ(s.editor.LeftChar(), 40009 - chars + 1);

    // Without its long lines the view spans MaxLeftChar again.
    s.editor.Lines().Delete(4);
    s.editor.Lines().Delete(3);
    s.editor.Lines().Delete(2);
    s.editor.Lines().Delete(0);
    EXPECT_EQ(s.editor.ScrollInfo(sbHorizontal).maximum, 256);
}

} // namespace
