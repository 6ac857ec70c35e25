#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"

#include "editor/macros/CodeMacroRecorder.h"
#include "editor/highlighting/CodeRuleHighlighter.h"

#include "../../support/PartProgramRules.h"

#include "../ShellTestSupport.h"
#include "../../support/QtTestApp.h"

#include "platform/gui/Beep.h"

#include <QApplication>
#include <QMdiArea>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace {

using EditorPageGui = TPageTest;

const std::string SaveQuestion(const std::string& title)
{
    return "The text in the \"" + title + "\" file has changed.\r\n\r\nDo you want to save the modifications?";
}

TEST_F(EditorPageGui, SaveKeepsTheBytesAndBreaksOfTheFile)
{
    const std::string files[] = {"M3,1,2\r\nJ2,0,0\r\n", "M3,1,2\nJ2,0,0", "MS,1\r", "\xEF\xBB\xBFPRINT \"\xC3\xA9\"\r\n"};
    int n = 0;
    for (const std::string& bytes : files) {
        const std::string name = "f" + std::to_string(++n) + ".sbp";
        WriteText(name, bytes);
        const auto page = NewPage(FilePath(name));
        EXPECT_FALSE(page->GetModified());
        EXPECT_TRUE(page->CanFind()) << "a text that arrives whole can be searched";
        EXPECT_EQ(Host.Tabs.tabText(Host.Tabs.currentIndex()), QString::fromStdString(name));
        page->ExecSave();
        EXPECT_EQ(ReadText(name), bytes);
    }
    // An edit is saved with the file's own break.
    const auto page = NewPage(FilePath("f2.sbp"));
    Code(page).SetCaretXY({1, 2});
    page->InsertText("ZZ");
    EXPECT_TRUE(page->GetModified());
    page->ExecSave();
    EXPECT_FALSE(page->GetModified());
    EXPECT_EQ(ReadText("f2.sbp"), "M3,1,2\nZZJ2,0,0");
}

TEST_F(EditorPageGui, TheControlAsThePageSetsItUp)
{
    TCodeEdit& code = Code(NewPage());
    TCodeEditKeyStrokes& keys = code.Keystrokes();
    for (const auto& [key, shift] : {std::pair{VK_BACK, ssShift}, {VK_RETURN, ssShift}, {VK_F1, ssCtrl}}) {
        EXPECT_LT(keys.FindKeycode(key, shift), 0) << key;
    }
    for (const auto& [key, shift] : {std::pair{VK_BACK, ssNone}, {VK_RETURN, ssNone}, {TVirtualKey('M'), ssCtrl}}) {
        EXPECT_GE(keys.FindKeycode(key, shift), 0) << key;
    }
    EXPECT_EQ(code.TabWidth(), 5);
    EXPECT_TRUE(code.WantTabs());
    EXPECT_EQ(code.MaxLeftChar(), 256);
    EXPECT_TRUE(code.HasOption(eoTabIndent) && code.HasOption(eoDropFiles) && !code.HasOption(eoScrollPastEof));
    // The macro recorder's keys: Ctrl+Shift+R records what follows.
    TVirtualKey record = 'R';
    code.KeyDown(record, ssCtrl | ssShift);
    code.DispatchCommand(ecChar, QLatin1Char('x'), {});
    TVirtualKey stop = 'R';
    code.KeyDown(stop, ssCtrl | ssShift);
    EXPECT_EQ(Form(AsEditor(EditorFactory->GetEditor(0))).CodeMacroRecorder1().GetEventCount(), 1);
}

TEST_F(EditorPageGui, SaveAsNamesTheUntitledPage)
{
    const auto page = NewPage();
    EXPECT_EQ(page->GetFileTitle(), "Untitled1");
    EXPECT_EQ(Host.Tabs.tabText(0), "Untitled1");
    page->InsertText("MS,2");
    Dialogs.ExpectSave(Path("named"));
    page->ExecSave();
    EXPECT_EQ(ReadText("named.sbp"), "MS,2\r\n");
    EXPECT_EQ(page->GetFileName(), FilePath("named.sbp"));
    EXPECT_EQ(Host.Tabs.tabText(0), "named.sbp");
    EXPECT_EQ(Dm.UntitledNumbers.Size(), 32);
    EXPECT_EQ(Dm.NewUntitledNumber(), 1) << "the number went back";
}

TEST_F(EditorPageGui, ClosingAModifiedPageAsksToSave)
{
    WriteText("a.sbp", "A");
    const auto page = NewPage(FilePath("a.sbp"));
    page->InsertText("x");
    // Cancel keeps the page, and the file stays off the recent list.
    Dialogs.ExpectMessage(SaveQuestion("a.sbp"), TModalResult::mrCancel);
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(Dm.GetMRUFileCount(), 0);
    // No closes without saving; the file goes to the top of the recent list.
    Dialogs.ExpectMessage(SaveQuestion("a.sbp"), TModalResult::mrNo);
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(ReadText("a.sbp"), "A");
    EXPECT_EQ(Dm.GetMRUFile(0), FilePath("a.sbp"));
    EXPECT_FALSE(page->CanClose());
    EXPECT_EQ(page->GetCaretPos(), QPoint(-1, -1));

    // Yes saves first.
    const auto again = NewPage(FilePath("a.sbp"));
    again->InsertText("y");
    Dialogs.ExpectMessage(SaveQuestion("a.sbp"), TModalResult::mrYes);
    again->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(ReadText("a.sbp"), "yA");
}

TEST_F(EditorPageGui, YesOnAnUntitledPageRunsTheSaveDialogWhoseCancelKeepsThePage)
{
    const auto page = NewPage();
    page->InsertText("M3,1,1,1");
    Dialogs.ExpectMessage(SaveQuestion("Untitled1"), TModalResult::mrYes);
    Dialogs.ExpectSave(std::nullopt);
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(page->GetFileTitle(), "Untitled1");
}

TEST_F(EditorPageGui, CanCloseAllAsksTheLastPageFirstAndStopsAtCancel)
{
    std::shared_ptr<TEditor> pages[3];
    for (auto& page : pages) {
        page = NewPage();
        page->InsertText("x");
    }
    Dialogs.ExpectMessage(SaveQuestion("Untitled3"), TModalResult::mrNo);
    Dialogs.ExpectMessage(SaveQuestion("Untitled2"), TModalResult::mrCancel);
    EXPECT_FALSE(EditorFactory->CanCloseAll());
    EXPECT_EQ(PageCount(), 3);
}

TEST_F(EditorPageGui, ATabPageLeavesTheFactoryOnlyWhenItsSheetIsFreed)
{
    const auto first = NewPage();
    NewPage();
    EXPECT_EQ(first->GetFileTitle() + Host.Tabs.tabText(1), "Untitled1Untitled2");
    first->ExecClose();
    EXPECT_EQ(PageCount(), 2);
    EXPECT_EQ(Host.Tabs.count(), 2);
    Process();
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(Host.Tabs.count(), 1);
    // CloseAll gives both numbers back.
    EditorFactory->CloseAll();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(NewPage()->GetFileTitle(), "Untitled1");
    // Removing a page the factory does not hold changes nothing.
    EditorFactory->RemoveEditor(first);
    EXPECT_EQ(PageCount(), 1);
}

// Closing the page that has the keyboard gives it to the page shown next, whichever way
// the page closes; closing another page leaves it where it is.
TEST_F(EditorPageGui, AClosedPageHandsTheKeyboardToThePageShownNext)
{
    Host.Tabs.activateWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Host.Tabs.isActiveWindow(); }));
    const auto first = NewPage();
    const auto second = NewPage();
    const auto third = NewPage();
    const auto focused = [](const std::shared_ptr<TEditor>& page) {
        return QApplication::focusWidget() == &page->Form->CodeEditorWidget();
    };
    ASSERT_TRUE(focused(third));
    first->ExecClose(); // not the one with the keyboard
    Process();
    EXPECT_TRUE(focused(third));
    third->ExecClose();
    Process();
    EXPECT_TRUE(focused(second)) << "the page shown next has the keyboard";
    EditorFactory->CloseWithoutQuestion({second});
    Process();
    EXPECT_EQ(PageCount(), 0);
}

// Closed through the save question, a page goes while the box has just gone and before
// its window has the keyboard back: the page shown next takes it as the window does.
TEST_F(EditorPageGui, APageClosedWhileItsWindowWaitsForTheKeyboardHandsItOn)
{
    Host.Tabs.activateWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Host.Tabs.isActiveWindow(); }));
    const auto first = NewPage();
    const auto second = NewPage();
    ASSERT_EQ(QApplication::focusWidget(), &second->Form->CodeEditorWidget());
    QWidget box;
    box.show();
    box.activateWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == &box; }));
    second->ExecClose();
    box.hide();
    ASSERT_TRUE(testsupport::WaitFor([] { return QApplication::activeWindow() == nullptr; }));
    Process();
    ASSERT_EQ(PageCount(), 1);
    Host.Tabs.activateWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Host.Tabs.isActiveWindow(); }));
    EXPECT_EQ(QApplication::focusWidget(), &first->Form->CodeEditorWidget());
}

// The pages a results run opened for itself close through the factory: no question,
// even for a changed page, and their files stay off the recent list.
TEST_F(EditorPageGui, TheFactoryClosesGivenPagesWithoutTheQuestion)
{
    WriteText("a.sbp", "A");
    WriteText("b.sbp", "B");
    const auto kept = NewPage(FilePath("a.sbp"));
    const auto changed = NewPage(FilePath("b.sbp"));
    changed->InsertText("x");
    const auto untitled = NewPage();
    const auto gone = NewPage();
    gone->ExecClose();
    Process();
    EXPECT_EQ(EditorFactory->CloseWithoutQuestion({changed, untitled, gone}), 2) << "a page no longer held is skipped";
    Process();
    EXPECT_EQ(PageCount(), 1);
    EXPECT_TRUE(SamePage(EditorFactory->GetEditor(0), kept));
    EXPECT_EQ(ReadText("b.sbp"), "B");
    EXPECT_EQ(Dm.GetMRUFileCount(), 0);
    EXPECT_EQ(kept->GetFileTitle(), "a.sbp");
    EXPECT_EQ(NewPage()->GetFileTitle(), "Untitled1") << "the untitled numbers come back";
}

// The program's end: every page closes without the question, the last first, so the
// first page's file ends on top of the recent list.
TEST_F(EditorPageGui, CloseAllClosesEveryPageLastFirstWithoutTheQuestion)
{
    WriteText("a.sbp", "A");
    WriteText("b.sbp", "B");
    NewPage(FilePath("a.sbp"));
    NewPage(FilePath("b.sbp"))->InsertText("x");
    EXPECT_EQ(NewPage()->GetFileTitle(), "Untitled1");
    EditorFactory->CloseAll();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(Dm.MRUFiles.Items(), (QStringList{FilePath("a.sbp"), FilePath("b.sbp")}));
    EXPECT_EQ(ReadText("b.sbp"), "B");
    EXPECT_EQ(NewPage()->GetFileTitle(), "Untitled1") << "the untitled number came back";
}

TEST_F(EditorPageGui, BorderlessAndChildPagesFreeTheirWindowsWhenClosed)
{
    QWidget parent;
    const auto borderless = AsEditor(EditorFactory->CreateBorderless(&parent));
    EXPECT_EQ(borderless->Form->parentWidget(), &parent);
    QMdiArea area;
    const auto child = AsEditor(EditorFactory->CreateMDIChild(&area));
    child->OpenFile({});
    EXPECT_EQ(child->Form->windowTitle(), "Untitled1 - Editor");
    ASSERT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(PageCount(), 2);
    borderless->ExecClose();
    child->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_TRUE(parent.findChildren<TCodeEditWidget*>().isEmpty());
}

TEST_F(EditorPageGui, BreakpointsFromTheGutterAndTheirColours)
{
    WriteText("p.sbp", "MS,1\nFP,sub\nM2,1,1\nJ2,0,0\nM2,2,2\nM2,3,3\nFP,other\n");
    const auto page = NewPage(FilePath("p.sbp"));
    TCodeEdit& code = Code(page);
    code.HandleGutterClick(2, 6 * code.LineHeight() + 2);
    EXPECT_TRUE(page->IsBreakpoint(6));
    EXPECT_EQ(Form(page).Breakpoints, std::vector<int>{7});
    code.SetCaretXY({1, 2});
    page->ToggleBreakpoint();

    struct TColours {
        int Line;
        bool Special;
        TColor Foreground, Background;
    };
    const auto colours = [&](int line) {
        TColor fg = clBlack, bg = clBlack;
        const bool special = code.FireSpecialLineColors(line, fg, bg);
        return TColours{line, special, fg, bg};
    };
    const auto expect = [&](int line, bool special, TColor fg, TColor bg) {
        const TColours c = colours(line);
        EXPECT_EQ(c.Special, special) << line;
        if (special) {
            EXPECT_EQ(c.Foreground, fg) << line;
            EXPECT_EQ(c.Background, bg) << line;
        }
    };
    expect(1, false, 0, 0);
    expect(7, true, clWhite, TColor(0x0000FF)); // a breakpoint on an FP line
    expect(2, true, clWhite, TColor(0x0000FF));
    page->ClearBreakpoints();
    expect(2, true, TColor(0xFF0000), clWhite); // an FP line
    // The run line shows only while stepping.
    page->ShowRunLine(3);
    EXPECT_EQ(Form(page).RunLine, -1);
    expect(3, false, 0, 0);
    Host.Stepping = true;
    page->ShowRunLine(3);
    EXPECT_EQ(code.CaretXY(), (TTextPoint{1, 3}));
    expect(3, true, clWhite, TColor(0xFF0000));
    page->ToggleBreakpoint();
    expect(3, true, clWhite, TColor(0xFF0000));
}

TEST_F(EditorPageGui, BreakpointGlyphIsPaintedInTheGutter)
{
    WriteText("p.sbp", "MS,1\nM2,1,1\n");
    const auto page = NewPage(FilePath("p.sbp"));
    Host.Tabs.show();
    TCodeEdit& code = Code(page);
    code.SetCaretXY({1, 2});
    page->ToggleBreakpoint();
    const QImage image = Form(page).CodeEditorWidget().viewport()->grab().toImage();
    const int middle = code.LineHeight() + code.LineHeight() / 2;
    EXPECT_EQ(image.pixelColor(14 + 5, middle), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(14 + 5, middle - code.LineHeight()), QColor(255, 0, 0));
}

TEST_F(EditorPageGui, CommentAndUnCommentTheSelection)
{
    const auto page = NewPage();
    page->ReplaceAllText({"X", "Y", "Z"});
    TCodeEdit& code = Code(page);
    code.SetCaretAndSelection({2, 2}, {1, 1}, {2, 2});
    ASSERT_TRUE(AsEditor(page)->CanCopy());
    page->CommentBlock();
    EXPECT_EQ(code.Lines().ToStringList(), (QStringList{"'X", "'Y", "Z"}));
    code.SetCaretAndSelection({3, 2}, {1, 1}, {3, 2});
    page->UnCommentBlock();
    EXPECT_EQ(code.Lines().ToStringList(), (QStringList{"X", "Y", "Z"}));
}

TEST_F(EditorPageGui, NewPageTextComesFromTheCodeInsertItem)
{
    Dm.EditorOptions.CodeInsertValues = {"first\r\nsecond", "A\r\nB\r\nC"};
    Dm.EditorOptions.EditorSettings.DefNewFile = 1;
    EXPECT_EQ(Code(NewPage()).Lines().ToStringList(), (QStringList{"A", "B", "C"}));
    // An index the items do not have gives an empty page.
    Dm.EditorOptions.EditorSettings.DefNewFile = 2;
    const auto empty = NewPage();
    EXPECT_EQ(Code(empty).LineCount(), 0);
    EXPECT_FALSE(AsEditor(empty)->CanFind());
}

TEST_F(EditorPageGui, AFileThatCannotBeReadGivesNoPage)
{
    std::filesystem::create_directory(folder / "dir.sbp");
    Dialogs.ExpectMessage("Not a regular file: \"" + Path("dir.sbp") + "\" is a directory.", TModalResult::mrOk);
    NewPage(FilePath("dir.sbp"));
    EXPECT_EQ(Dialogs.Shown.at(0).Type, TMsgDlgType::mtError);
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(Dm.GetMRUFileCount(), 0);
}

TEST_F(EditorPageGui, AFailedSaveKeepsThePageModifiedAndOpen)
{
    WriteText("plain", "not a folder");
    const auto page = NewPage();
    page->InsertText("keep me");
    const std::string failure = "Cannot create file \"" + Path("plain/sub.sbp") + "\". Not a directory";
    Dialogs.ExpectSave(Path("plain/sub.sbp"));
    Dialogs.ExpectMessage(failure, TModalResult::mrOk);
    page->ExecSaveAs();
    EXPECT_TRUE(page->GetModified());
    // Yes to the question saves, fails, and the close does not happen.
    Dialogs.ExpectMessage(SaveQuestion("Untitled1"), TModalResult::mrYes);
    Dialogs.ExpectSave(Path("plain/sub.sbp"));
    Dialogs.ExpectMessage(failure, TModalResult::mrOk);
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(Code(page).Lines().ToStringList(), QStringList{"keep me"});
}

class TFailingFactory : public TEditorFactory {
protected:
    TEditorForm* CreateForm(TEditorForm::TKind, QWidget*) override { throw Exception("no form today"); }
};

TEST_F(EditorPageGui, AFailedTabPageIsLoggedShownAndGivesNoPage)
{
    EditorFactory = std::make_shared<TFailingFactory>();
    Dm.OpenLog();
    Dialogs.ExpectMessage("no form today", TModalResult::mrOk);
    EXPECT_EQ(NewPage(), nullptr);
    EXPECT_EQ(Host.Tabs.count(), 0);
    Dm.CloseLog();
    EXPECT_NE(ReadText("log.txt").find("error: Creating an editor page: no form today"), std::string::npos);
}

TEST_F(EditorPageGui, StatusChangesReachTheMainWindow)
{
    const auto page = NewPage();
    page->ReplaceAllText({"MS,1,2", "' note"});
    Code(page).SetCaretXY({3, 1});
    EXPECT_EQ(Host.HintPanel, "hint of MS");
    EXPECT_EQ(Host.MarkerLines.last(), "MS,1,2");
    Code(page).SetCaretXY({1, 2});
    EXPECT_EQ(Host.HintPanel, "");
    EXPECT_GT(Host.StatusUpdates, 0);
    EXPECT_EQ(page->GetCurrentLine(), "' note");
}

TEST_F(EditorPageGui, CtrlClickOnAnFPLineOpensTheSubFile)
{
    WriteText("sub.sbp", "J2,1,1");
    const auto page = NewPage();
    page->ReplaceAllText({"MS,1", "FP,sub"});
    TCodeEdit& code = Code(page);
    const int y = code.LineHeight() + 2;
    const int x = code.GutterWidth() + 10;
    // Ctrl over the FP line shows the hand; the click opens the file.
    code.MouseMove(ssCtrl, x, y);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    code.MouseMove(ssNone, x, y);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Over a known command too, and not over a text that is none.
    code.MouseMove(ssCtrl, x, 2);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    page->ReplaceAllText({"hello", "FP,sub"});
    code.MouseMove(ssCtrl, x, 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Host.SubFileName = FilePath("sub.sbp");
    code.MouseDown(mbLeft, ssCtrl, x, y);
    code.MouseUp(mbLeft, ssCtrl, x, y);
    EXPECT_EQ(Host.ResolvedLines, QStringList{"FP,sub"});
    ASSERT_EQ(PageCount(), 2);
    EXPECT_EQ(EditorFactory->GetEditor(1)->GetFileName(), FilePath("sub.sbp"));
    // Without Ctrl nothing opens; a missing file is reported.
    code.MouseDown(mbLeft, ssNone, x, y);
    code.MouseUp(mbLeft, ssNone, x, y);
    Host.SubFileName = FilePath("gone.sbp");
    Dialogs.ExpectMessage("File not found: " + Path("gone.sbp"), TModalResult::mrOk);
    code.MouseDown(mbLeft, ssCtrl, x, y);
    code.MouseUp(mbLeft, ssCtrl, x, y);
    EXPECT_EQ(PageCount(), 2);
}

TEST_F(EditorPageGui, DroppedFilesGoToTheMainWindow)
{
    const auto page = NewPage();
    Form(page).CodeEditor().DropFiles(5, 5, {"/a.sbp", "/b.sbp"});
    EXPECT_EQ(Host.Opened, (QStringList{"/a.sbp", "/b.sbp"}));
}

TEST_F(EditorPageGui, ClosedPagesAnswerNothingButStayActiveUntilAnotherIs)
{
    const auto first = NewPage();
    const auto second = NewPage();
    Form(second).SetActiveEditor(true);
    // The keyboard is not with the page, so the page shown next does not take it.
    Form(second).CodeEditorWidget().clearFocus();
    second->ExecClose();
    Process();
    EXPECT_TRUE(SamePage(ActiveEditor, second));
    EXPECT_EQ(ActiveEditor->GetFileTitle(), "");
    EXPECT_EQ(ActiveEditor->GetLines(), nullptr);
    EXPECT_FALSE(ActiveFileActions->CanSave());
    EXPECT_TRUE(ActiveEditor->AskSaveChanges());
    first->Activate();
    Form(first).SetActiveEditor(true);
    EXPECT_TRUE(SamePage(ActiveEditor, first));
    // The last page leaving clears the globals.
    first->ExecClose();
    Process();
    EXPECT_EQ(ActiveEditor, nullptr);
}

// The states a page keeps after loading a file are those of a scan of every line, under
// the shell's rules (no range outlives its line) and with a block that spans lines.
TEST_F(EditorPageGui, ALoadedPageKeepsTheLineStatesOfAFullScan)
{
    TCodeRuleHighlighter& highlighter = *dm->CodeRuleHighlighter1;
    const auto fullScan = [&](const TCodeEditStringList& lines) {
        std::vector<int> states;
        highlighter.ResetRange();
        for (int i = 0; i < lines.Count(); ++i) {
            states.push_back(highlighter.GetRange());
            highlighter.SetLine(lines.Get(i), i);
            highlighter.NextToEol();
        }
        return states;
    };
    const auto stored = [](const TCodeEditStringList& lines) {
        std::vector<int> states;
        for (int i = 0; i < lines.Count(); ++i) {
            states.push_back(lines.GetRange(i));
        }
        return states;
    };
    WriteText("states.sbp", "M3,1 ' (* cut\r\n&x = 2 (*\r\nJ2,0,0\r\n*) MS,1\r\nEND\r\n");
    BuildPartProgramRules(highlighter);
    const auto page = NewPage(FilePath("states.sbp"));
    const TCodeEditStringList& lines = Code(page).Lines();
    EXPECT_EQ(stored(lines), fullScan(lines));
    highlighter.RootRange()->Unprepare();
    highlighter.RootRange()->AddRange(std::make_unique<TCodeRange>("(*", "*)"));
    page->OpenFile(FilePath("states.sbp"));
    const std::vector<int> blockStates = stored(Code(page).Lines());
    EXPECT_EQ(blockStates, fullScan(Code(page).Lines()));
    EXPECT_NE(blockStates[2], 0) << "the block opened on line 2 reaches line 4";
}

// --- find and replace ------------------------------------------------------------------

class EditorSearchGui : public TPageTest {
protected:
    EditorSearchGui() { EditorSearch = TEditorSearchState{}; }
    ~EditorSearchGui() override { EditorSearch = TEditorSearchState{}; }
    QString Text(const std::shared_ptr<TEditor>& page) { return Code(page).Lines().ToStringList().join('|'); }
};

TEST_F(EditorSearchGui, ReplaceAsksForEachHit)
{
    const auto page = NewPage();
    page->ReplaceAllText({"a1 a2", "a3 a4 a5"});
    const auto replace = [&](const std::string& search, const std::string& by,
                             std::initializer_list<TModalResult> answers) {
        Dialogs.ExpectForm("TextReplaceDialog", {{"cbSearchText", search}, {"cbReplaceText", by}},
                           TModalResult::mrOk);
        for (TModalResult answer : answers) {
            Dialogs.ExpectForm("ConfirmReplaceDialog", {}, answer);
        }
        page->ExecReplace();
    };
    replace("a", "b", {TModalResult::mrYes, TModalResult::mrNo, TModalResult::mrAll});
    EXPECT_EQ(Text(page), "b1 a2|b3 b4 b5");
    EXPECT_EQ(ConfirmReplaceDialog, nullptr) << "freed after the search";
    // Cancel stops at once.
    replace("b", "c", {TModalResult::mrCancel});
    EXPECT_EQ(Text(page), "b1 a2|b3 b4 b5");
    // Equal texts never ask.
    replace("b", "b", {});
    EXPECT_EQ(Text(page), "b1 a2|b3 b4 b5");
    EXPECT_EQ(EditorSearch.SearchTextHistory, "b\r\na");
    EXPECT_EQ(EditorSearch.ReplaceTextHistory, "b\r\nc");
}

TEST_F(EditorSearchGui, FindAndFindNextGoOnFromTheCaret)
{
    const auto page = NewPage();
    page->ReplaceAllText({"M2 x", "M2 y", "M2 z"});
    TCodeEdit& code = Code(page);
    EXPECT_FALSE(AsEditor(page)->CanFindNext());
    Dialogs.ExpectForm("TextSearchDialog", {{"cbSearchText", "m2"}}, TModalResult::mrOk);
    page->ExecFind();
    EXPECT_EQ(code.GetSelText(), "M2");
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{1, 1}));
    ASSERT_TRUE(AsEditor(page)->CanFindNext());
    page->ExecFindNext();
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{1, 2}));
    // Case sensitivity from the dialog; nothing found beeps and collapses the selection.
    int beeps = 0;
    const auto previous = SetBeepHook([&] { ++beeps; });
    Dialogs.ExpectForm("TextSearchDialog", {{"cbSearchText", "m2"}, {"cbSearchCaseSensitive", "1"}},
                       TModalResult::mrOk);
    page->ExecFind();
    SetBeepHook(previous);
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(code.SelAvail());
    EXPECT_EQ(code.CaretXY(), (TTextPoint{3, 2}));
    // Cancel leaves the search state as it was.
    Dialogs.ExpectForm("TextSearchDialog", {{"cbSearchText", "zzz"}}, TModalResult::mrCancel);
    page->ExecFind();
    EXPECT_EQ(EditorSearch.SearchText, "m2");
    EXPECT_TRUE(EditorSearch.SearchCaseSensitive);
    EXPECT_EQ(EditorSearch.SearchTextHistory, "m2");
}

TEST_F(EditorSearchGui, TheConfirmationQuestionNamesTheText)
{
    TConfirmReplaceDialog dialog;
    dialog.PrepareShow(QRect(0, 0, 800, 600), 10, 20, 36, "M3");
    EXPECT_EQ(dialog.Question(), "Replace this occurence of \"M3\"?");
    EXPECT_EQ(dialog.pos(), QPoint(10, 40));
    EXPECT_EQ(ConfirmReplaceDialog, &dialog);
}

} // namespace
