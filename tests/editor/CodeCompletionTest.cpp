#include "EditorSession.h"
#include "QtPrinters.h"
#include "editor/completion/CodeCompletionPrettyText.h"
#include "editor/completion/CodeCompletionProposal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A pop-up window on a fixed grid that logs what the model shows, and a screen whose
// client points are offset by (100, 200).
struct TRecordingCompletionWindow : TFixedCompletionWindow {
    std::string log;
    void Show(bool activate) override { log += activate ? "show;" : "show quietly;"; }
    void Hide() override { log += "hide;"; }
};
struct TScreenHost : TRecordingHost {
    void ClientToScreen(int& x, int& y) const override
    {
        x += 100;
        y += 200;
    }
};

// The Code Insert list of the application on an editor: keys go to the pop-up while it
// shows (it has the focus), else to the editor.
class CodeCompletion : public ::testing::Test {
protected:
    CodeCompletion()
    {
        s.editor.SetHost(&host);
        list.Form().SetWindow(&window);
        list.SetOptions({scoLimitToMatchedText, scoUseInsertList, scoUsePrettyText, scoEndCharCompletion});
        list.AddEditor(&s.editor);
        for (const char* item : {"print", "prompt", "goto"}) {
            list.AddItem(QString::fromUtf8(item), QString::fromUtf8(item).toUpper() + QStringLiteral(" x"));
        }
    }
    // The key goes down where the focus is; its character follows there unless the
    // pop-up used the key (the editor drops it itself after a command).
    void Press(const std::string& shortcut)
    {
        TVirtualKey key = 0;
        TShiftState shift;
        ShortCutToKey(TextToShortCut(shortcut), key, shift);
        ASSERT_NE(key, 0) << shortcut;
        const QChar c = key == VK_SPACE    ? QChar(u' ')
                        : key == VK_RETURN ? QChar(u'\r')
                        : key == VK_BACK   ? QChar(8)
                                           : QChar();
        QChar typed = c;
        if (PopupHasFocus()) {
            list.Form().KeyDown(key, shift);
            if (key != 0 && !c.isNull()) {
                list.Form().KeyPress(typed);
            }
        } else {
            s.editor.KeyDown(key, shift);
            if (!c.isNull()) {
                s.editor.KeyPress(typed);
            }
        }
    }
    void Type(const char* text)
    {
        for (QChar c : QString::fromUtf8(text)) {
            if (PopupHasFocus()) {
                list.Form().KeyPress(c);
            } else {
                s.editor.KeyPress(c);
            }
        }
    }
    bool PopupHasFocus() const { return list.Form().Visible() && list.Form().Kind() == ctCode; }
    // The rows, the selected one in brackets; "closed" when the pop-up is hidden.
    std::string Rows() const
    {
        if (!list.Form().Visible()) {
            return "closed";
        }
        std::string rows;
        const QStringList& items = list.Form().ItemList();
        for (int i = 0; i < items.size(); ++i) {
            const std::string item = items[i].toStdString();
            rows += (rows.empty() ? "" : " ") + (i == list.Form().Position() ? "[" + item + "]" : item);
        }
        return rows;
    }

    TEditorSession s;
    TScreenHost host;
    TRecordingCompletionWindow window;
    TCodeCompletionProposal list;
};

TEST_F(CodeCompletion, FilterBackspaceAndEnterInsertingTheInsertText)
{
    Press("Ctrl+Space");
    EXPECT_EQ(Rows(), "[print] prompt goto");
    EXPECT_EQ(s.Text(), "") << "the blank of the shortcut is swallowed";
    EXPECT_EQ(s.editor.FocusWindowCount(), 1);
    EXPECT_TRUE(s.editor.AlwaysShowCaret());
    Type("pr");
    EXPECT_EQ(Rows(), "[print] prompt");
    Press("Down");
    Press("BkSp");
    Press("BkSp");
    EXPECT_EQ(Rows(), "[print] prompt goto");
    EXPECT_EQ(s.Text(), "") << "Backspace deleted in the editor too";
    Type("pro");
    Press("Enter");
    EXPECT_EQ(Rows(), "closed");
    EXPECT_EQ(s.Text(), "PROMPT x");
    EXPECT_EQ(s.State(), "caret 9,1");
    EXPECT_EQ(s.editor.FocusWindowCount(), 0);
    EXPECT_FALSE(s.editor.AlwaysShowCaret());
    Type("(pr");
    Press("Ctrl+Space");
    Press("Enter");
    EXPECT_EQ(s.Text(), "PROMPT x(PRINT x");
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "PROMPT x") << "group undo takes the typing with it, but nothing of the first completion";
    s.editor.SetOptions(s.editor.Options().Without(eoGroupUndo));
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "pro") << "the insertion undoes in one step";
}

TEST_F(CodeCompletion, ShortcutAtTheEndOfAWordOpensBelowTheCaretFilteredByIt)
{
    Type("x pri");
    Press("Ctrl+Space");
    EXPECT_EQ(Rows(), "[print]");
    EXPECT_EQ(s.Text(), "x pri");
    EXPECT_EQ(list.Form().Bounds().Left, s.editor.TextOffset() + 5 * TRecordingHost::CellWidth + 100);
    EXPECT_EQ(list.Form().Bounds().Top, TRecordingHost::CellHeight + 200);
    EXPECT_EQ(list.Form().Bounds().Height(), 13 * 8 + 2);
    EXPECT_EQ(window.log, "show;");
}

TEST_F(CodeCompletion, EndCharactersInsertTheItemOnlyWithEndCharCompletion)
{
    Type("pr");
    Press("Ctrl+Space");
    Type("(");
    EXPECT_EQ(Rows(), "closed");
    EXPECT_EQ(s.Text(), "PRINT x(");
    list.SetOptions(list.Options().Without(scoEndCharCompletion));
    Type(" pr");
    Press("Ctrl+Space");
    Type("(");
    EXPECT_EQ(s.Text(), "PRINT x( pr(");
}

TEST_F(CodeCompletion, ATriggerThatAcceptsOpensTheNextListAtOnce)
{
    Type("go");
    Press("Ctrl+Space");
    Type(".");
    EXPECT_EQ(s.Text(), "GOTO x.");
    EXPECT_EQ(Rows(), "[print] prompt goto") << "opened behind the dot without waiting for events";
    EXPECT_EQ(s.loop.delivered, 0);
}

TEST_F(CodeCompletion, KeysThatCloseTheList)
{
    int cancelled = 0;
    list.OnCancelled = [&cancelled](TObject*) { ++cancelled; };
    Type("ab");
    Press("Ctrl+Space");
    EXPECT_EQ(Rows(), "") << "nothing matches, the empty list shows";
    Press("Left");
    EXPECT_EQ(Rows(), "closed");
    EXPECT_EQ(s.State(), "caret 2,1") << "then the editor moves";
    Press("Ctrl+Space");
    Press("Esc");
    Press("End");
    Press("Ctrl+Space");
    Press("BkSp");
    Press("BkSp");
    EXPECT_EQ(Rows(), "[print] prompt goto");
    Press("BkSp");
    EXPECT_EQ(Rows(), "closed") << "Backspace with an empty filter cancels";
    EXPECT_EQ(s.Text(), "");
    Press("Ctrl+Space");
    Type("p{");
    EXPECT_EQ(Rows(), "closed");
    EXPECT_EQ(s.Text(), "p{") << "a character the list does not take is typed, not lost";
    Press("Ctrl+Space");
    Press("Enter");
    EXPECT_EQ(s.Text(), "p{") << "accepting an empty list changes nothing";
    EXPECT_EQ(cancelled, 4);
}

TEST_F(CodeCompletion, RefusalsLeaveThingsAsTheyAre)
{
    list.OnExecute = [](CodeCompletionType, TObject*, QString&, int&, int&, bool& canExecute) { canExecute = false; };
    Type("pr");
    Press("Ctrl+Space");
    EXPECT_EQ(Rows(), "closed");
    EXPECT_EQ(s.State(), "caret 4,1") << "a list that never opened lets the shortcut's blank through";
    s.editor.SetCaretXY(TTextPoint{3, 1});
    list.OnExecute = nullptr;
    list.OnCodeCompletion = [](QString&, TShiftState, int, QChar, bool& canExecute) { canExecute = false; };
    Press("Ctrl+Space");
    Press("Enter");
    EXPECT_EQ(Rows(), "[print] prompt");
    EXPECT_EQ(s.Text(), "pr");
    EXPECT_EQ(s.State(), "caret 3,1 sel 1,1-3,1 normal") << "the token stays selected";

    TEditorSession readOnly, detached;
    readOnly.editor.SetReadOnly(true);
    list.AddEditor(&readOnly.editor);
    list.ActivateAtCaret(&readOnly.editor);
    list.ActivateAtCaret(&detached.editor);
    EXPECT_EQ(list.Form().CurrentEditor(), &s.editor);
}

TEST_F(CodeCompletion, AcceptingLocksTheEditorWhoseTextChanges)
{
    TEditorSession other;
    list.AddEditor(&other.editor);
    other.Type("go");
    other.Press("Ctrl+Space");
    ASSERT_EQ(list.CurrentEditorIndex(), 1);
    std::string seen;
    list.OnCodeCompletion = [&](QString& value, TShiftState, int index, QChar, bool&) {
        seen = value.toStdString() + " " + std::to_string(index) + " lock " + std::to_string(other.editor.PaintLock()) +
               "/" + std::to_string(s.editor.PaintLock()) +
               (other.editor.UndoList().BlockChangeNumber() != 0 ? " in a block" : "");
    };
    Press("Tab");
    EXPECT_EQ(seen, "GOTO x 0 lock 1/0 in a block");
    EXPECT_EQ(other.Text(), "GOTO x");
}

TEST_F(CodeCompletion, TriggerTimerOpensTheListWhileTheApplicationIsActive)
{
    list.SetOptions(list.Options().With(scoUseBuiltInTimer));
    Type("x.");
    EXPECT_TRUE(list.TimerRunning());
    s.loop.AdvanceTimers(999);
    s.loop.ProcessPendingEvents();
    EXPECT_EQ(Rows(), "closed");
    s.loop.AdvanceTimers(1);
    s.loop.ProcessPendingEvents();
    EXPECT_EQ(Rows(), "[print] prompt goto");
    EXPECT_FALSE(list.TimerRunning());

    Press("Esc");
    window.applicationActive = false;
    Type(".");
    s.loop.AdvanceTimers(1000);
    s.loop.ProcessPendingEvents();
    EXPECT_EQ(Rows(), "closed");
    Type(".y");
    EXPECT_FALSE(list.TimerRunning()) << "another character stops it while the list is closed";
    list.SetOptions(list.Options().Without(scoUseBuiltInTimer));
    EXPECT_FALSE(list.HasTimer());
}

TEST_F(CodeCompletion, ParameterHintFollowsCommandsAndGoesWithTheFocus)
{
    list.SetDefaultType(ctParams);
    list.SetItemList({QStringLiteral("x, y")});
    list.ActivateAtCaret(&s.editor);
    EXPECT_TRUE(list.Form().Visible());
    EXPECT_TRUE(list.Form().StayOnTop());
    s.editor.DispatchCommand(ecRight, QChar(), {});
    EXPECT_EQ(window.log, "show quietly;show quietly;") << "re-opened at the caret after the command";
    s.editor.DispatchCommand(701, QChar(), {});
    EXPECT_FALSE(list.Form().Visible());
}

TEST_F(CodeCompletion, AFreedEditorIsDetached)
{
    {
        TEditorSession gone;
        list.SetEditor(&gone.editor);
        gone.Press("Ctrl+Space");
        EXPECT_TRUE(list.Form().Visible());
    }
    EXPECT_FALSE(list.Form().Visible());
    EXPECT_EQ(list.EditorsCount(), 0);
    EXPECT_EQ(list.Form().CurrentEditor(), nullptr);
}

// The list model on its own: 20 items in 8 rows.
class CodeCompletionForm : public ::testing::Test {
protected:
    CodeCompletionForm()
    {
        for (int i = 0; i < 20; ++i) {
            items << QStringLiteral("item%1").arg(i, 2, 10, QLatin1Char('0'));
        }
        form.SetItemList(items);
        form.OnChange = [this](TObject*, int index) { changes += std::to_string(index) + " "; };
        form.OpenCode(QString(), 0, 0);
    }
    std::string Key(const std::string& shortcut)
    {
        TVirtualKey key = 0;
        TShiftState shift;
        ShortCutToKey(TextToShortCut(shortcut), key, shift);
        form.KeyDown(key, shift);
        return std::to_string(form.Position()) + "@" + std::to_string(form.ScrollPosition());
    }
    QStringList items;
    TCodeBaseCompletionProposalForm form;
    std::string changes;
};

TEST_F(CodeCompletionForm, KeysMoveTheSelectionAndScrollItIntoView)
{
    EXPECT_EQ(Key("Up"), "0@0");
    EXPECT_EQ(Key("PgDn"), "8@1");
    EXPECT_EQ(Key("Down"), "9@2");
    EXPECT_EQ(Key("End"), "19@12");
    EXPECT_EQ(Key("PgDn"), "19@12");
    EXPECT_EQ(Key("PgUp"), "11@11");
    EXPECT_EQ(Key("Ctrl+Up"), "0@0");
    EXPECT_EQ(Key("Ctrl+Down"), "19@12");
    EXPECT_EQ(Key("Home"), "0@0");
    EXPECT_EQ(changes.substr(0, 17), "8 9 19 11 0 19 0 ");
    EXPECT_EQ(Key("End"), "19@12");
    form.SelectItem(-3);
    EXPECT_EQ(form.Position(), 0) << "never above the first row";
    form.MouseDown(1 + 3 * form.ItemHeight() + 2);
    EXPECT_EQ(form.Position(), 3) << "the row under the pointer";
    form.MouseWheel(-120, TShiftState(TShiftState::ssCtrl));
    EXPECT_EQ(form.Position(), 11) << "a page with Ctrl";
}

TEST_F(CodeCompletionForm, FilteringKeepsTheFullListAndEachRowsIndexInIt)
{
    form.SetFlags({scoLimitToMatchedText, scoUsePrettyText});
    form.SetItemList({QStringLiteral(u"\u0003Bkw\u0003b\tPrint"), QStringLiteral("Élan"), QStringLiteral("élan"),
                      QStringLiteral("pr")});
    form.SetFilterText(QStringLiteral("PR"));
    EXPECT_EQ(form.ItemList().size(), 2) << "the text after the tab counts, in any case";
    EXPECT_EQ(form.ItemObject(1), 3);
    form.SetFilterText(QStringLiteral("é"));
    EXPECT_EQ(form.ItemList(), QStringList{QStringLiteral("élan")}) << "ASCII folding leaves É alone";
    form.SetFlags({scoLimitToMatchedText, scoAnsiStrings});
    form.SetFilterText(QStringLiteral("é"));
    EXPECT_EQ(form.ItemList().size(), 2);
    EXPECT_EQ(form.ItemObject(0), 1);
    EXPECT_EQ(form.AssignedList().size(), 4);
    form.SetFilterText(QString());
    EXPECT_EQ(form.ItemList().size(), 4);
}

struct TPlaceCase {
    const char* name;
    TRect bounds;
    TRect workArea;
    TRect placed;
};
void PrintTo(const TPlaceCase& c, std::ostream* os) { *os << c.name; }

class CodeCompletionPlacement : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(CodeCompletionPlacement, StaysInsideTheWorkArea)
{
    EXPECT_EQ(FitToWorkArea(GetParam().bounds, GetParam().workArea, 16), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CodeCompletionPlacement,
    ::testing::Values(TPlaceCase{"RightEdgeOpensLeftOfTheCaret", Rect(900, 100, 1162, 221), Rect(0, 0, 1024, 768),
                                 Rect(638, 100, 900, 221)},
                      TPlaceCase{"NeverLeftOfTheArea", Rect(200, 100, 462, 221), Rect(0, 0, 300, 768),
                                 Rect(0, 100, 262, 221)},
                      TPlaceCase{"BottomOpensAboveTheCaretLine", Rect(100, 700, 362, 821), Rect(0, 0, 1024, 768),
                                 Rect(100, 563, 362, 684)},
                      TPlaceCase{"SecondScreen", Rect(1400, 100, 1662, 221), Rect(1280, 0, 2560, 1024),
                                 Rect(1400, 100, 1662, 221)},
                      TPlaceCase{"SecondScreenRightEdge", Rect(2400, 950, 2662, 1071), Rect(1280, 0, 2560, 1024),
                                 Rect(2138, 813, 2400, 934)}),
    [](const ::testing::TestParamInfo<TPlaceCase>& info) { return std::string(info.param.name); });

TEST(CodeCompletionGeometry, LayoutRowsAndWheel)
{
    const TCompletionLayout layout = LayoutPopup(262, 13, 8, 15, 16);
    EXPECT_EQ(layout.height, 121);
    EXPECT_EQ(layout.scrollBar, Rect(245, 16, 261, 120));
    EXPECT_EQ(layout.bitmapWidth, 244);
    EXPECT_EQ(layout.bitmapHeight, 104);
    EXPECT_EQ(RowAtPoint(16 + 13, 5, 15, 13), 6);
    int remainder = 0;
    EXPECT_EQ(WheelSteps(remainder, 200, 10, 8, false), -8) << "never more than a page";
    EXPECT_EQ(remainder, 80);
    EXPECT_EQ(WheelSteps(remainder, -200, 3, 8, false), 3);
    EXPECT_EQ(remainder, 0);
}

TEST(CodeCompletionPrettyText, CodesBecomeRunsAndAreNeverDrawn)
{
    const TPrettyMeasure measure = [](TFontStyles style, const QString& text) {
        return static_cast<int>(text.size()) * ((style & TFont::fsBold) != 0 ? 7 : 6);
    };
    const QString colored = QStringLiteral(u"\u0001\u00FF\u0000\u0000red\u0003Bbold");
    const TColor red = RGB(255, 0, 0);
    EXPECT_EQ(LayoutPrettyText(colored, 1, false, 0, false, measure),
              (std::vector<TPrettyRun>{{"red", 1, 18, 0, true, red}, {"bold", 19, 28, TFont::fsBold, true, red}}));
    EXPECT_EQ(LayoutPrettyText(colored, 1, true, 0, false, measure),
              (std::vector<TPrettyRun>{{"red", 1, 18, 0, false, clNone},
                                       {"bold", 19, 28, TFont::fsBold, false, clNone}}))
        << "the highlighted row keeps its own colour";
    EXPECT_EQ(LayoutPrettyText(QStringLiteral("abcdefghij\tx"), 1, false, 30, true, measure),
              (std::vector<TPrettyRun>{{"abcde", 1, 30, 0, false, clNone}, {"x", 31, 7, TFont::fsBold, false, clNone}}))
        << "the first column is cut at the biggest word; the tab starts bold";
    EXPECT_EQ(LayoutPrettyText(QStringLiteral("\tA\tb"), 1, false, 30, false, measure),
              (std::vector<TPrettyRun>{{"A", 1, 7, TFont::fsBold, false, clNone}, {"b", 9, 6, 0, false, clNone}}))
        << "bold going off moves one pixel on";
    EXPECT_EQ(PrettyTextPlain(colored), "redbold");
    EXPECT_EQ(MarkCurrentParameter(QStringLiteral("x, y,z"), 1), "x, \ty\t, z");
}

} // namespace
