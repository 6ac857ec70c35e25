#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Logs the commands an editor processes: "511:a" for a character, "17" for others.
struct TCommandLog {
    std::vector<std::string> seen;
    explicit TCommandLog(TCustomCodeEdit& editor)
    {
        editor.OnCommandProcessed = [this](TObject*, TCodeEditorCommand& command, QChar& c,
                                           const TCodeEditCommandData&) {
            seen.push_back(std::to_string(command) + (c.isNull() ? "" : ":" + QString(c).toStdString()));
        };
    }
    std::string Joined() const
    {
        std::string s;
        for (const std::string& e : seen) {
            s += (s.empty() ? "" : " ") + e;
        }
        return s;
    }
};

TEST(CodeEditInput, AKeyThatMakesACommandSwallowsItsCharacter)
{
    TEditorSession s(LinesOf("abc"));
    TCommandLog log(s.editor);
    s.Press({"Right", "Enter", "A", "Shift+B", "Ctrl+A", "Space"});
    EXPECT_EQ(log.Joined(), "2 509 511:a 511:B 199 511: ");
    // The input method's result string is dispatched once; no characters follow it on
    // this platform, so the next typed ones are not skipped.
    log.seen.clear();
    s.editor.ImeResult(QStringLiteral("xy"));
    s.Type(QStringLiteral("xyz"));
    EXPECT_EQ(log.Joined(), "550 511:x 511:y 511:z");
    // A surrogate pair from a key enters whole; the character after a command is dropped
    // also when it is a pair.
    log.seen.clear();
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    s.editor.KeyText(QStringLiteral("a") + pair);
    s.Press("Right");
    s.editor.KeyText(pair + QStringLiteral("b"));
    EXPECT_EQ(log.Joined(), "511:a 550 2 511:b");
}

TEST(CodeEditInput, TheKeyHandlerChainSeesKeysFirst)
{
    struct TLink {
        void KeyDown(TObject*, TVirtualKey& key, TShiftState) { key = key == VK_RIGHT ? 0 : key; }
        void KeyPress(TObject*, QChar& c) { c = c == QLatin1Char('a') ? QChar() : c; }
    } link;
    TEditorSession s(LinesOf("abc"));
    TCommandLog log(s.editor);
    s.editor.KbdHandler().AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&link));
    s.editor.KbdHandler().AddKeyPressHandler(MakeDelegate<&TLink::KeyPress>(&link));
    s.Press({"Right", "Left", "A", "B"});
    EXPECT_EQ(log.Joined(), "1 511 511:b") << "a consumed character still reaches the editor as NUL";
}

TEST(CodeEditInput, TransientPaintingIsHeldByALockedBeforePhase)
{
    TEditorSession s(LinesOf("abc"));
    std::string log;
    s.editor.OnPaintTransient = [&log](TObject*, TTransientType t) { log += t == ttBefore ? "b" : "a"; };
    s.editor.PaintTransientEx(ttBefore, true);
    s.editor.SetCaretXY({2, 1});
    s.editor.PaintTransientEx(ttAfter, true);
    EXPECT_EQ(log, "ba") << "the caret's own phases are skipped inside";
    s.editor.SetCaretXY({3, 1});
    EXPECT_EQ(log, "baba");
}

TEST(CodeEditInput, TwoKeyBindingsAreArmedByACommandlessKey)
{
    TEditorSession s(LinesOf("abc"));
    TCodeEditKeyStroke* stroke = s.editor.Keystrokes().Add();
    stroke->SetKey('Q');
    stroke->SetShift(ssCtrl);
    stroke->SetKey2('E');
    stroke->SetShift2(ssNone);
    stroke->SetCommand(ecEditorBottom);
    TCodeEditCommandData data;
    EXPECT_EQ(s.editor.KeyToCommand('Q', ssCtrl, data), ecNone);
    EXPECT_EQ(s.editor.KeyToCommand('E', ssNone, data), ecEditorBottom);
    EXPECT_EQ(s.editor.KeyToCommand('E', ssNone, data), ecNone) << "the first key is used up";
    EXPECT_EQ(s.editor.KeyToCommand('Q', ssCtrl, data), ecNone);
    EXPECT_EQ(s.editor.KeyToCommand(VK_SHIFT, ssShift, data), ecNone) << "below 30: clears the first key";
    EXPECT_EQ(s.editor.KeyToCommand('E', ssNone, data), ecNone);

    s.editor.SetCaretXY({3, 1});
    EXPECT_EQ(s.editor.KeyToCommand('3', ssCtrl | ssShift, data), ecSetMarker3);
    ASSERT_NE(CommandPoint(data), nullptr);
    EXPECT_EQ(*CommandPoint(data), (TTextPoint{3, 1})) << "the marker's point is the caret";
}

// An editor whose command hooks log and may swallow the command before it runs.
class THookedEdit : public TCodeEdit {
public:
    std::vector<std::string> log;
    bool swallow = false;
    void CallCommandHooks(bool after, TCodeEditorCommand& command, QChar& c, const TCodeEditCommandData& data) override
    {
        log.push_back(std::string(after ? "after " : "before ") + std::to_string(command));
        if (!after && swallow) {
            command = ecNone;
        }
        TCodeEdit::CallCommandHooks(after, command, c, data);
    }
    void PerformCommand(TCodeEditorCommand command, QChar c, const TCodeEditCommandData& data) override
    {
        log.push_back("perform " + std::to_string(command));
        TCodeEdit::PerformCommand(command, c, data);
    }
};

TEST(CodeEditInput, DispatchOffersTheCommandToEventsAndHooks)
{
    THookedEdit editor;
    std::vector<std::string> processed;
    editor.OnProcessCommand = [](TObject*, TCodeEditorCommand& command, QChar&, const TCodeEditCommandData&) {
        if (command == ecLeft) {
            command = ecRight;
        }
    };
    editor.OnProcessUserCommand = [&processed](TObject*, TCodeEditorCommand& command, QChar&,
                                               const TCodeEditCommandData&) {
        processed.push_back("user " + std::to_string(command));
    };
    editor.OnCommandProcessed = [&processed](TObject*, TCodeEditorCommand& command, QChar&,
                                             const TCodeEditCommandData&) {
        processed.push_back("done " + std::to_string(command));
    };
    editor.DispatchCommand(ecLeft, QChar(), {});
    editor.DispatchCommand(ecUserFirst + 5, QChar(), {});
    editor.swallow = true;
    editor.DispatchCommand(ecRight, QChar(), {});
    const std::vector<std::string> expected = {"before 2", "perform 2", "after 2", "before 1006",
                                               "after 1006", "before 2", "after 0"};
    EXPECT_EQ(editor.log, expected);
    EXPECT_EQ(processed, (std::vector<std::string>{"done 2", "user 1006", "done 1006", "done 0"}));
}

TEST(CodeEditInput, OneCommandReportsItsStatusOnce)
{
    TEditorSession s(LinesOf("abc|def"));
    std::vector<TCodeStatusChanges> fired;
    s.editor.OnStatusChange = [&fired](TObject*, TCodeStatusChanges c) { fired.push_back(c); };
    s.Press("Ctrl+Shift+End");
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], scCaretX | scCaretY | scSelection);
}

TEST(CodeEditInput, ClicksPlaceTheCaretAndShiftExtendsFromTheAnchor)
{
    TEditorSession s(LinesOf("first line|second line|third"));
    TCommandLog log(s.editor);
    s.ClickAt(3, 2);
    EXPECT_EQ(s.State(), "caret 3,2");
    EXPECT_EQ(log.Joined(), "17");
    EXPECT_TRUE(s.host.Called("capture"));
    EXPECT_TRUE(s.host.Called("release"));
    s.ClickAt(5, 3, ssShift);
    EXPECT_EQ(s.State(), "caret 5,3 sel 3,2-5,3 normal");
    s.ClickAt(2, 1, ssShift);
    EXPECT_EQ(s.State(), "caret 2,1 sel 3,2-2,1 normal") << "the same anchor";

    s.ClickAt(2, 1);
    EXPECT_EQ(s.State(), "caret 2,1") << "a click on the selection that never dragged";
    s.editor.SetOptions(s.editor.Options().With(eoAltSetsColumnMode));
    s.ClickAt(2, 1, ssAlt);
    EXPECT_EQ(s.editor.SelectionMode(), smColumn);
    s.ClickAt(2, 1);
    EXPECT_EQ(s.editor.SelectionMode(), smNormal);

    // Press, drag, release: a selection.
    s.MouseDown(2, 1);
    s.DragTo(4, 2);
    EXPECT_EQ(s.State(), "caret 4,2 sel 2,1-4,2 normal");
}

TEST(CodeEditInput, AClickOnTheSelectionArmsADrag)
{
    TEditorSession s(LinesOf("drag this text"));
    s.Select({6, 1}, {10, 1});
    s.editor.SetCaretXY({10, 1});
    s.MouseDown(7, 1);
    EXPECT_TRUE(s.editor.TestState(sfWaitForDragging));
    EXPECT_EQ(s.State(), "caret 7,1 sel 6,1-10,1 normal") << "the selection stays while a drag may start";
    s.MouseUp(7, 1);
    EXPECT_EQ(s.State(), "caret 7,1") << "released without dragging: collapsed at the click";
    EXPECT_FALSE(s.editor.TestState(sfWaitForDragging));

    s.Select({6, 1}, {10, 1});
    s.MouseDown(7, 1);
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(7) + 3, s.CellY(1));
    EXPECT_FALSE(s.host.Called("drag")) << "below the drag distance";
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(7) + 4, s.CellY(1));
    EXPECT_TRUE(s.host.Called("drag"));
    EXPECT_FALSE(s.editor.TestState(sfWaitForDragging));

    // Without drag-and-drop editing the click simply moves the caret.
    s.editor.SetOptions(s.editor.Options().Without(eoDragDropEditing));
    s.Select({6, 1}, {10, 1});
    s.MouseDown(7, 1);
    EXPECT_EQ(s.State(), "caret 7,1");
}

TEST(CodeEditInput, TheRightButtonMovesTheCaretOnlyWithItsOption)
{
    TEditorSession s(LinesOf("one two three"));
    s.Select({1, 1}, {4, 1});
    s.MouseDown(10, 1, ssNone, mbRight);
    EXPECT_EQ(s.State(), "caret 1,1 sel 1,1-4,1 normal");
    s.editor.SetOptions(s.editor.Options().With(eoRightMouseMovesCursor));
    s.MouseDown(2, 1, ssNone, mbRight);
    EXPECT_EQ(s.State(), "caret 1,1 sel 1,1-4,1 normal") << "inside the selection: kept";
    s.MouseDown(10, 1, ssNone, mbRight);
    EXPECT_EQ(s.State(), "caret 10,1");
}

TEST(CodeEditInput, TheGutterIsClickedOnRelease)
{
    TEditorSession s(LinesOf("a|b|c"));
    std::vector<std::string> clicks;
    s.editor.OnGutterClick = [&clicks](TObject*, int x, int, int line, TCodeEditMark* mark) {
        clicks.push_back(std::to_string(x) + "@" + std::to_string(line) + (mark ? " mark " + std::to_string(mark->ImageIndex()) : ""));
    };
    for (const int image : {7, 8}) {
        TCodeEditMark* mark = s.editor.Marks().Add(std::make_unique<TCodeEditMark>(&s.editor));
        mark->SetLine(2);
        mark->SetImage(image);
    }
    const int y = s.CellY(2);
    s.editor.MouseDown(mbLeft, ssNone, 5, y);
    EXPECT_TRUE(clicks.empty());
    s.editor.MouseUp(mbLeft, ssNone, 5, y);
    s.editor.MouseDown(mbLeft, ssNone, 13, y);
    s.editor.MouseUp(mbLeft, ssNone, 13, y);
    s.editor.MouseDown(mbLeft, ssNone, 26, y);
    s.editor.MouseUp(mbLeft, ssNone, 26, y);
    s.editor.MouseDown(mbLeft, ssNone, 5, s.CellY(3));
    s.editor.MouseUp(mbLeft, ssNone, 40, s.CellY(3));
    EXPECT_EQ(clicks, (std::vector<std::string>{"5@2 mark 7", "13@2 mark 8", "26@2"})) << "released off the gutter";
}

TEST(CodeEditInput, SelectingBelowTheWindowScrollsOnTheTimer)
{
    QStringList lines;
    for (int i = 1; i <= 100; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    TEditorSession s(lines);
    s.MouseDown(1, 5);
    const int below = 20 * 16 + 20; // two lines below the 20-line window
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(3), below);
    EXPECT_EQ(s.editor.ScrollDeltaY(), 2);
    EXPECT_TRUE(s.editor.ScrollTimerRunning());
    EXPECT_EQ(s.State(), "caret 3,5 sel 1,5-3,5 normal") << "y outside the client keeps the caret line";
    s.loop.AdvanceTimers(100);
    s.loop.ProcessPendingEvents();
    EXPECT_EQ(s.editor.TopLine(), 3);
    EXPECT_EQ(s.State(), "caret 3,22 sel 1,5-3,22 normal");
    s.editor.MouseUp(mbLeft, ssNone, s.CellX(3), below);
    EXPECT_FALSE(s.editor.ScrollTimerRunning());
    EXPECT_EQ(s.loop.TimerCount(), 0u);

    // Left of the text: steps back, and the timer stops once the mouse returns.
    s.editor.SetLeftChar(5);
    s.editor.SetBlockBegin({1, 1});
    s.MouseDown(8, 10);
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.editor.GutterWidth() - 1, s.CellY(10));
    EXPECT_EQ(s.editor.ScrollDeltaX(), -1);
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(8), s.CellY(10));
    EXPECT_FALSE(s.editor.ScrollTimerRunning());
    // A window that loses the mouse capture stops scrolling.
    s.editor.MouseMove(TShiftState(TShiftState::ssLeft), s.CellX(3), below);
    ASSERT_TRUE(s.editor.ScrollTimerRunning());
    s.editor.CaptureLost();
    EXPECT_FALSE(s.editor.ScrollTimerRunning());
    EXPECT_FALSE(s.editor.MouseCaptured());
}

TEST(CodeEditInput, TheWheelKeepsItsRemainder)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i) {
        lines << QStringLiteral("x");
    }
    TEditorSession s(lines);
    s.editor.SetTopLine(50);
    s.editor.MouseWheel(-60, ssNone);
    EXPECT_EQ(s.editor.TopLine(), 50);
    s.editor.MouseWheel(-60, ssNone);
    EXPECT_EQ(s.editor.TopLine(), 53);
    s.editor.MouseWheel(240, ssNone);
    EXPECT_EQ(s.editor.TopLine(), 47);
    s.editor.MouseWheel(-120, ssCtrl);
    EXPECT_EQ(s.editor.TopLine(), 67) << "a page with Ctrl";
    s.editor.SetOptions(s.editor.Options().With(eoHalfPageScroll));
    s.editor.MouseWheel(-120, ssCtrl);
    EXPECT_EQ(s.editor.TopLine(), 77);
    s.host.wheelLines = 50;
    s.editor.MouseWheel(120, ssNone);
    EXPECT_EQ(s.editor.TopLine(), 57) << "never more than a page";
}

TEST(CodeEditInput, CursorPerArea)
{
    TEditorSession s(LinesOf("abcdef"));
    s.editor.Gutter().SetCursor(crArrow + 1);
    s.Select({2, 1}, {5, 1});
    EXPECT_EQ(s.editor.CursorAt(3, 8), crArrow + 1);
    EXPECT_EQ(s.editor.CursorAt(s.CellX(3), 8), crArrow);
    EXPECT_EQ(s.editor.CursorAt(s.CellX(6), 8), crIBeam);
    s.editor.SetOptions(s.editor.Options().Without(eoDragDropEditing));
    EXPECT_EQ(s.editor.CursorAt(s.CellX(3), 8), crIBeam);
}

} // namespace
