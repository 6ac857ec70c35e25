// The plug-in window without its browser: its settings and recent plug-ins, the buffer
// and its six buttons, the recent-plug-in items, the open rule's failures, single pages
// that cannot show, the window's life in FPlugIns, and Ctrl+click on a known command.

#include "app/plugins/PlugInServices.h"
#include "app/plugins/PlugInsForm.h"
#include "app/shell/MainForm.h"

#include "../PlugInTestSupport.h"

#include "../../support/FifoWatchdog.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/core/services/Clipboard.h"
#include "platform/gui/ShellOpen.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

class PlugInsWindowGui : public TPlugInTest {
protected:
    std::unique_ptr<TFPlugIns> Window = nullptr;
    TFPlugIns& Make()
    {
        Window = std::make_unique<TFPlugIns>();
        return *Window;
    }
    std::vector<bool> VisibleItems() const
    {
        std::vector<bool> visible;
        for (QAction* item : Window->MRUItems) {
            visible.push_back(item->isVisible());
        }
        return visible;
    }
};

TEST_F(PlugInsWindowGui, TheWholeWindowReadsAndSavesItsBoundsAndRecentPlugIns)
{
    WriteSettings("[PlugInsWin]\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=500\r\nMaximized=1\r\n"
                  "PanelGLWidth=360\r\n[MRU_pg_Files]\r\nMRU_pg_File1=/p/a.htm\r\nMRU_pg_File2=/p/b.htm\r\n"
                  "MRU_pg_File3=/p/c.htm\r\nMRU_pg_File4=/p/d.htm\r\n");
    TFPlugIns& window = Make();
    EXPECT_EQ(window.windowTitle(), "Plug-In Tools");
    EXPECT_EQ(window.geometry(), QRect(30, 40, 700, 500));
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.PanelGLWidth(), 360);
    EXPECT_EQ(Dm.MRUPlugins.Items(), (QStringList{"/p/a.htm", "/p/b.htm", "/p/c.htm", "/p/d.htm"}));
    // The list loses one; closing the whole window writes the restored bounds.
    Dm.RemoveMRUPlugin("/p/b.htm");
    Dialogs.ExpectForm("FPlugIns", {}, TModalResult::mrCancel);
    window.Execute();
    EXPECT_EQ(SectionLines("PlugInsWin"),
              (std::vector<std::string>{"Left=30", "Top=40", "Width=700", "Height=500", "Maximized=1",
                                        "PanelGLWidth=360"}));
    EXPECT_EQ(SectionLines("MRU_pg_Files"), (std::vector<std::string>{"MRU_pg_File1=/p/a.htm",
                                                                      "MRU_pg_File2=/p/c.htm",
                                                                      "MRU_pg_File3=/p/d.htm"}));
    const std::vector<std::string> expected = {"debug: PlugIns.FormCreate", "debug: PlugIns.ReadIniSettings",
                                               "debug: PlugIns.WriteIniSettings"};
    std::vector<std::string> log = LogTexts();
    log.erase(log.begin()); // "Log file opened"
    EXPECT_EQ(log, expected);
}

TEST_F(PlugInsWindowGui, StoredBoundsNoScreenCanShowComeOntoTheScreen)
{
    // The screen here is 800 pixels wide: a window made narrower keeps the buffer's share,
    // never less than its buttons need, also when it never showed.
    ASSERT_EQ(QApplication::primaryScreen()->availableGeometry().width(), 800);
    const struct {
        const char* bounds;
        int width, stored; // the stored window's width and its buffer's
    } cases[] = {{"Left=2147483000\r\nTop=0\r\nWidth=1600\r\nHeight=500\r\n", 1600, 50},
                 {"Left=0\r\nTop=0\r\nWidth=100000\r\nHeight=100000\r\n", 100000, 50},
                 {"Left=-5000\r\nTop=-5000\r\nWidth=600\r\nHeight=400\r\n", 600, 50},
                 {"Left=0\r\nTop=0\r\nWidth=1600\r\nHeight=500\r\n", 1600, 800}};
    for (const auto& [bounds, storedWidth, stored] : cases) {
        WriteSettings(std::string("[PlugInsWin]\r\n") + bounds + "Maximized=0\r\nPanelGLWidth=" +
                      std::to_string(stored) + "\r\n");
        TFPlugIns& window = Make();
        const QRect screen = window.screen()->availableGeometry();
        const QRect placed = window.geometry();
        const int buffer = std::max(stored * placed.width() / storedWidth, window.BufferLeastWidth());
        EXPECT_TRUE(screen.contains(placed)) << bounds;
        Dialogs.ExpectForm("FPlugIns", {}, TModalResult::mrCancel);
        window.Execute();
        EXPECT_EQ(SectionLines("PlugInsWin"),
                  (std::vector<std::string>{"Left=" + std::to_string(placed.x()), "Top=" + std::to_string(placed.y()),
                                            "Width=" + std::to_string(placed.width()),
                                            "Height=" + std::to_string(placed.height()), "Maximized=0",
                                            "PanelGLWidth=" + std::to_string(buffer)}))
            << bounds;
    }
}

TEST_F(PlugInsWindowGui, TheBufferButtonsMoveTextToAndFromTheActivePage)
{
    TFPlugIns& window = Make();
    // Without a page Append, Replace and Load In do nothing.
    window.SetBufferText("B1\r\nB2");
    window.BitBtn3->click();
    window.BitBtn4->click();
    window.BitBtn5->click();
    EXPECT_EQ(window.BufferText(), "B1\r\nB2");

    const auto page = NewPage();
    page->ReplaceAllText({"P1", "P2"});
    window.BitBtn3->click();
    EXPECT_EQ(page->GetLines()->ToStringList(), (QStringList{"P1", "P2", "B1", "B2"}));
    window.BitBtn4->click();
    EXPECT_EQ(page->GetLines()->ToStringList(), (QStringList{"B1", "B2"}));
    page->ReplaceAllText({"P3"});
    window.BitBtn5->click();
    EXPECT_EQ(window.BufferText(), "P3");

    // Copy puts the whole buffer on the clipboard and leaves no selection.
    window.SetBufferText("C1\r\nC2");
    window.BitBtn2->click();
    EXPECT_FALSE(window.Buffer().SelAvail());
    std::string copied;
    {
        TClipboardOpener open(Clipboard());
        ASSERT_TRUE(open.IsOpen());
        ASSERT_TRUE(Clipboard().GetData(ClipboardTextFormat, copied));
    }
    EXPECT_EQ(copied, "C1\r\nC2");

    // New Tab: an untitled page with the buffer's lines after the new-file text.
    window.BitBtn7->click();
    ASSERT_EQ(PageCount(), 2);
    const std::shared_ptr<IEditor> added = EditorFactory->GetEditor(1);
    EXPECT_EQ(added->GetFileName(), "");
    EXPECT_EQ(added->GetLines()->ToStringList().mid(added->GetLines()->Count() - 2), (QStringList{"C1", "C2"}));

    window.BitBtn6->click();
    EXPECT_EQ(window.BufferText(), "");
}

// The buffer buttons under the main window: what a plug-in's change leaves on a page.
class PlugInPageChangesGui : public TPlugInTest {
protected:
    PlugInPageChangesGui() : Main(std::make_unique<TMainForm>()) {}
    ~PlugInPageChangesGui() override { Main.reset(); }
    QString Caption() const
    {
        Main->actUpdateStatusBarPanels->Update();
        return Main->windowTitle();
    }
    static QString Text(const std::shared_ptr<IEditor>& page) { return page->GetLines()->ToStringList().join("\r\n"); }
    // Closing asks to save when the page is modified (Cancel keeps it), else nothing.
    void ExpectClosingAsks(const std::shared_ptr<IEditor>& page, bool asks)
    {
        if (asks) {
            Dialogs.ExpectMessage("The text in the \"" + page->GetFileTitle().toStdString() +
                                      "\" file has changed.\r\n\r\nDo you want to save the modifications?",
                                  TModalResult::mrCancel);
        }
        EXPECT_EQ(page->AskSaveChanges(), !asks);
    }

    std::unique_ptr<TMainForm> Main;
    TFPlugIns Window;
};

TEST_F(PlugInPageChangesGui, APlugInsChangeMarksThePageModifiedAndOneUndoTakesItBack)
{
    const struct {
        const char* Name;
        QPushButton* TFPlugIns::*Button;
        bool NewTab;
        const char* After; // the changed page's text; "*" stands for the text before
        bool Modified;
    } cases[] = {
        {"Append", &TFPlugIns::BitBtn3, false, "*\r\nB1\r\nB2", true},
        {"Replace", &TFPlugIns::BitBtn4, false, "B1\r\nB2", true},
        {"Load In changes the buffer only", &TFPlugIns::BitBtn5, false, "*", false},
        {"New Tab", &TFPlugIns::BitBtn7, true, "*\r\nB1\r\nB2", true},
    };
    WriteText("p.sbp", "P1\r\nP2");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Main->DoOpenFile(FilePath("p.sbp"));
        std::shared_ptr<IEditor> page = ActiveEditor;
        Window.SetBufferText("B1\r\nB2");
        (Window.*c.Button)->click();
        QString before = "P1\r\nP2";
        if (c.NewTab) {
            page = EditorFactory->GetEditor(PageCount() - 1);
            ASSERT_NE(page->GetFileTitle(), "p.sbp");
            // The untitled page's own new-file text, whatever it is (none here).
            before = Text(page);
            before.chop(QString("B1\r\nB2").size());
            before.chop(before.endsWith("\r\n") ? 2 : 0);
        }
        ASSERT_TRUE(SamePage(page, ActiveEditor));
        const QString name = c.NewTab ? page->GetFileTitle() : FilePath("p.sbp");
        QString after = c.After;
        if (before.isEmpty()) {
            after.replace("*\r\n", "");
        }
        EXPECT_EQ(Text(page), after.replace("*", before));
        EXPECT_EQ(page->GetModified(), c.Modified);
        EXPECT_EQ(Caption(), "Kerfpad - [" + name + (c.Modified ? "*]" : "]"));
        ExpectClosingAsks(page, c.Modified);
        if (c.Button == &TFPlugIns::BitBtn5) {
            EXPECT_EQ(Window.BufferText(), before);
        }
        ActiveEditActions->ExecUndo();
        EXPECT_EQ(Text(page), before);
        EXPECT_FALSE(page->GetModified());
        EXPECT_EQ(Caption(), "Kerfpad - [" + name + "]");
        ExpectClosingAsks(page, false);
        Form(page).CloseWithoutQuestion(false);
        Process();
    }
}

TEST_F(PlugInPageChangesGui, TheChangeUndoesAloneAndGoesInWhileARunHoldsThePage)
{
    WriteText("p.sbp", "P1\r\nP2");
    Main->DoOpenFile(FilePath("p.sbp"));
    const std::shared_ptr<IEditor> page = ActiveEditor;
    TCodeEdit& code = Code(page);
    code.SetCaretXY({3, 2});
    code.DispatchCommand(ecChar, QLatin1Char('X'), {});
    Window.SetBufferText("B1");
    Window.BitBtn3->click();
    code.DispatchCommand(ecChar, QLatin1Char('Y'), {});
    EXPECT_EQ(Text(page), "P1\r\nP2XY\r\nB1") << "the typing goes on at the caret";
    // Grouped undo takes typing by typing: the plug-in's change is an undo of its own.
    ActiveEditActions->ExecUndo();
    EXPECT_EQ(Text(page), "P1\r\nP2X\r\nB1");
    ActiveEditActions->ExecUndo();
    EXPECT_EQ(Text(page), "P1\r\nP2X");
    EXPECT_TRUE(page->GetModified());

    // A run holds its page read-only against typing; a plug-in's change goes in all the
    // same, as it would without the run, and the page stays read-only.
    Main->Running = true;
    Main->UpdateAllActions(false);
    ASSERT_EQ(page->GetEditorState(), "Read Only");
    Window.BitBtn4->click();
    EXPECT_EQ(Text(page), "B1");
    EXPECT_EQ(page->GetEditorState(), "Read Only");
    Main->Running = false;
    Main->UpdateAllActions(false);
    ActiveEditActions->ExecUndo();
    EXPECT_EQ(Text(page), "P1\r\nP2X");
    Form(page).CloseWithoutQuestion(false);
    Process();
}

TEST_F(PlugInPageChangesGui, AppendLeavesTheCaretTheSelectionAndTheViewWhereTheyWere)
{
    QStringList program;
    for (int i = 1; i <= 200; ++i) {
        program << QStringLiteral("M2,%1,1 'a comment long enough to scroll sideways").arg(i);
    }
    WriteText("p.sbp", program.join("\r\n").toStdString());
    Main->show();
    Main->DoOpenFile(FilePath("p.sbp"));
    TCodeEdit& code = Code(ActiveEditor);
    const auto view = [&] {
        const TTextPoint c = code.CaretXY(), a = code.SelectionAnchor(), e = code.SelectionEnd();
        return std::vector<int>{c.x, c.y, a.x, a.y, e.x, e.y, code.SelectionMode(), code.TopLine(), code.LeftChar()};
    };
    // A backwards selection, the view scrolled away from it; a column selection at the end.
    const std::tuple<TTextPoint, TTextPoint, TCodeSelectionMode, int, int> cases[] = {
        {{1, 5}, {7, 9}, smNormal, 100, 4}, {{49, 200}, {2, 198}, smColumn, 150, 1}};
    for (const auto& [caret, anchor, mode, top, left] : cases) {
        code.SetSelectionMode(mode);
        code.SetCaretAndSelection(caret, anchor, caret);
        code.SetTopLine(top);
        code.SetLeftChar(left);
        const std::vector<int> before = view();
        Window.SetBufferText("B1\r\nB2");
        Window.BitBtn3->click();
        EXPECT_EQ(code.LineAt(202), "B2");
        EXPECT_EQ(view(), before);
        ActiveEditActions->ExecUndo();
        EXPECT_EQ(code.LineCount(), 200) << "one Undo takes the lines back";
    }
}

TEST_F(PlugInsWindowGui, RecentPlugInItemsShowOnlyTheListsEntries)
{
    TFPlugIns& window = Make();
    Dm.AddMRUPlugin("/p/c&d.htm");
    Dm.AddMRUPlugin("/p/b.htm");
    Dm.AddMRUPlugin("/p/a.htm");
    window.UpdateMRUItems();
    EXPECT_EQ(VisibleItems(), (std::vector<bool>{true, true, true, false, false, false, false, false, false, false}));
    EXPECT_EQ(window.MRUItems[2]->text(), "/p/c&&d.htm") << "an ampersand shows as itself";
}

TEST_F(PlugInsWindowGui, AProgramThatCannotStartIsLoggedAndPromoted)
{
    TFPlugIns& window = Make();
    const QString missing = FilePath("gone.exe");
    Dm.AddMRUPlugin(missing);
    Dm.AddMRUPlugin("/p/a.htm");
    window.MRUItemClick(1);
    EXPECT_EQ(Dm.GetMRUPlugin(0), missing);
    EXPECT_TRUE(Logged("error: cannot start the plug-in program " + missing.toStdString()));
    // The Open button puts what it opened on the list.
    const QString other = FilePath("other.exe");
    Dialogs.ExpectOpen(std::vector<std::string>{other.toStdString()});
    window.Button2->click();
    EXPECT_EQ(Dm.GetMRUPlugin(0), other);
    EXPECT_EQ(Dialogs.FileDialogs.back().InitialDir, Path("plugins"));
    EXPECT_EQ(Dialogs.FileDialogs.back().Filter,
              "Scripts and Executables (*.vbs,*.htm,*.html,*.exe)|*.vbs;*.htm;*.html;*.exe|All Files (*.*)|*.*");
    EXPECT_TRUE(Logged("error: cannot start the plug-in program " + other.toStdString()));
    // An empty entry does nothing.
    window.MRUItemClick(7);
    EXPECT_EQ(Dm.GetMRUPlugin(0), other);
}

TEST_F(PlugInsWindowGui, SinglePagesThatCannotShowAreReportedUnlessQuiet)
{
    const struct {
        const char* Name;
        bool Quiet;
        const char* Box; // "" for none
        bool Logged;
    } cases[] = {
        {"plugins/none.htm", false, "File could not be found. File: plugins/none.htm", false},
        {"plugins/none.htm", true, "", false},
        {"plugins/only.vbs", false, "VBScript plug-ins cannot run here. File: plugins/only.vbs", true},
        {"plugins/only.vbs", true, "", true},
    };
    std::filesystem::create_directories(folder / "plugins");
    WriteText("plugins/ONLY.vbs", "");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + (c.Quiet ? " quiet" : ""));
        WriteText("log.txt", "");
        if (*c.Box) {
            Dialogs.ExpectMessage(c.Box, TModalResult::mrOk);
        }
        TFPlugIns& window = Make();
        EXPECT_FALSE(window.LoadSimple(c.Name, 650, 600, c.Quiet));
        EXPECT_EQ(window.WebBrowser, nullptr);
        EXPECT_EQ(Logged("error: VBScript plug-in cannot run: " + std::string(c.Name)), c.Logged);
        EXPECT_TRUE(Logged("debug: PlugIns.LoadSimple"));
    }
    EXPECT_EQ(ReadSettings(), "") << "no settings written";
}

// A named pipe as a plug-in page would hold the browser, and the program after its
// last window, until another program writes into it: every way to a page refuses it
// before the browser is made.
TEST_F(PlugInsWindowGui, APlugInPageThatIsNoRegularFileIsRefusedByEveryWayIn)
{
    std::filesystem::create_directories(folder / "plugins");
    const testsupport::TFifoWatchdog pipe(Path("plugins/pipe.html"));
    ASSERT_TRUE(pipe.Made());
    const std::string refusal = "Not a regular file: \"" + Path("plugins/pipe.html") + "\" is a named pipe.";
    const QString name = FilePath("plugins/pipe.html");
    const struct {
        const char* Way;
        bool Box;
        std::function<void(TFPlugIns&)> Open;
    } ways[] = {
        {"Open", true,
         [&](TFPlugIns& window) {
             Dialogs.ExpectOpen(std::vector<std::string>{name.toStdString()});
             window.Button2->click();
         }},
        {"recent plug-in", true,
         [&](TFPlugIns& window) {
             Dm.AddMRUPlugin(name);
             window.MRUItemClick(0);
         }},
        {"single page", true, [](TFPlugIns& window) { EXPECT_FALSE(window.LoadSimple("plugins/pipe.html", 650, 600, false)); }},
        {"the page of a script", true, [](TFPlugIns& window) { EXPECT_FALSE(window.LoadSimple("plugins/PIPE.vbs", 0, 0, false)); }},
        {"quiet single page", false, [](TFPlugIns& window) { EXPECT_FALSE(window.LoadSimple("plugins/pipe.html", 0, 0, true)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Way);
        Dialogs.Shown.clear();
        if (way.Box) {
            Dialogs.ExpectMessage(refusal, TModalResult::mrOk);
        }
        TFPlugIns& window = Make();
        way.Open(window);
        EXPECT_EQ(Dialogs.Shown.size(), way.Box ? 1u : 0u);
        EXPECT_EQ(window.WebBrowser, nullptr) << "no browser was made";
    }
    EXPECT_TRUE(Logged("error: " + refusal)) << "a single page's refusal is logged, quiet or not";
    EXPECT_FALSE(pipe.Fired());
}

TEST_F(PlugInsWindowGui, AFailedSubmissionMailIsReported)
{
    const auto previous = SetShellOpenHook([](const QString& target) { return !target.startsWith("mailto:"); });
    Dialogs.ExpectMessage("Error opening default mail client.", TModalResult::mrOk);
    Make().Label1Click();
    SetShellOpenHook(previous);
}

// A responder that also records whether FPlugIns held the window while it was modal.
class TWindowWatchingDialogs : public TScriptedDialogs {
public:
    TModalResult ShowModalForm(IModalForm& form) override
    {
        HeldDuring.push_back(FPlugIns != nullptr);
        return TScriptedDialogs::ShowModalForm(form);
    }
    std::vector<bool> HeldDuring;
};

TEST_F(PlugInsWindowGui, TheWindowLivesInFPlugInsForOneUseAndIsFreedAfter)
{
    TWindowWatchingDialogs dialogs;
    TDialogResponderScope scope(&dialogs);
    dialogs.ExpectForm("FPlugIns", {}, TModalResult::mrCancel);
    ExecutePlugInsWindow();
    EXPECT_EQ(dialogs.HeldDuring, std::vector<bool>{true});
    EXPECT_EQ(FPlugIns, nullptr);
    QPointer<QWidget> left;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "FPlugIns") {
            left = widget;
        }
    }
    ASSERT_TRUE(left) << "freed later, not at once";
    FreeLaterDeleted();
    EXPECT_FALSE(left);
    // A single page that is missing, quietly: no window shows, none is left.
    TPlugInWindowLoader loader;
    loader.LoadSimple("plugins/none.vbs", 650, 600, true);
    EXPECT_EQ(FPlugIns, nullptr);
    EXPECT_TRUE(dialogs.AllAnswered());
}

class TRecordingLoader : public IPlugInLoader {
public:
    void LoadSimple(const QString& fileName, int width, int height, bool quiet) override
    {
        Calls.emplace_back(fileName, width, height, quiet);
    }
    std::vector<std::tuple<QString, int, int, bool>> Calls;
};

TEST_F(PlugInsWindowGui, CtrlClickOnAKnownCommandOpensItsPlugInPageQuietly)
{
    TRecordingLoader loader;
    TPlugInLoaderScope scope(&loader);
    const auto page = NewPage();
    page->ReplaceAllText({"' note", "  mx,2", "FP,sub"});
    TCodeEdit& code = Code(page);
    code.SetCaretXY({5, 3});
    const int x = code.GutterWidth() + 30;
    const int y = code.LineHeight() + 2;
    code.MouseDown(mbLeft, ssCtrl, x, y);
    code.MouseUp(mbLeft, ssCtrl, x, y);
    ASSERT_EQ(loader.Calls.size(), 1u);
    EXPECT_EQ(loader.Calls[0], std::make_tuple(QString("plugins/MX.vbs"), 650, 600, true));
    EXPECT_EQ(code.CaretXY(), (TTextPoint{1, 2}));
    // A comment is no command; without Ctrl nothing opens.
    code.MouseDown(mbLeft, ssCtrl, x, 2);
    code.MouseUp(mbLeft, ssCtrl, x, 2);
    code.MouseDown(mbLeft, ssNone, x, y);
    code.MouseUp(mbLeft, ssNone, x, y);
    EXPECT_EQ(loader.Calls.size(), 1u);
}

} // namespace
