#include "app/shell/MainForm.h"
#include "app/pages/PageControl.h"

#include "../ShellTestSupport.h"
#include "../../support/SettledWindow.h"

#include "platform/gui/ShellOpen.h"

#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>

namespace {

class MainWindowGui : public TShellTest {
protected:
    MainWindowGui() : Window(std::make_unique<TMainForm>()) {}
    ~MainWindowGui() override { Window.reset(); }

    std::shared_ptr<TEditor> Page(int index) const { return AsEditor(EditorFactory->GetEditor(index)); }
    QString Caption() const
    {
        Window->actUpdateStatusBarPanels->Update();
        return Window->windowTitle();
    }
    QStringList FileNames() const
    {
        QStringList names;
        for (int i = 0; i < PageCount(); ++i) {
            names << QDir(QString::fromStdString(folder.string())).relativeFilePath(Page(i)->GetFileName());
        }
        return names;
    }

    std::unique_ptr<TMainForm> Window;
};

TEST_F(MainWindowGui, CaptionAndPanelsFollowTheActivePage)
{
    EXPECT_EQ(Caption(), "Kerfpad");
    Window->DoOpenFile({});
    const auto page = Page(0);
    page->ReplaceAllText(QStringList(12, QStringLiteral("M2,1,1")));
    Code(page).SetCaretXY({5, 12});
    page->InsertText("x");
    EXPECT_EQ(Caption(), "Kerfpad - [Untitled1*]");
    EXPECT_EQ(Window->StatusPanelText(0), "     12:  6 ");
    EXPECT_EQ(Window->StatusPanelText(1), "Modified");
    EXPECT_EQ(Window->StatusPanelText(2), "Insert");
    // During a run the page is read-only.
    Window->Running = true;
    Window->UpdateAllActions(false);
    EXPECT_EQ(Window->StatusPanelText(2), "Read Only");
    Window->Running = false;
    Window->UpdateAllActions(false);
    EXPECT_EQ(Window->StatusPanelText(2), "Insert");

    WriteText("named.sbp", "MS,1");
    Window->DoOpenFile(FilePath("named.sbp"));
    EXPECT_EQ(Caption(), "Kerfpad - [" + FilePath("named.sbp") + "]");
    // The page shown becomes the target; a target whose form is gone counts as none.
    Window->pctrlMain->setCurrentIndex(0);
    EXPECT_EQ(Caption(), "Kerfpad - [Untitled1*]");
    Form(Page(1)).SetActiveEditor(true);
    Page(1)->ExecClose();
    Process();
    EXPECT_EQ(Caption(), "Kerfpad");
    EXPECT_EQ(Window->StatusPanelText(0) + Window->StatusPanelText(4), "");
}

// The actions are brought up to date whenever the loop goes idle: an update that finds
// everything as it was changes nothing, so the window settles and the loop sleeps.
// Clearing the empty status panels laid the window out again at every idle, which woke
// the loop at once: a processor kept busy for as long as no page was open.
TEST_F(MainWindowGui, AnIdleWindowSettlesWithAPageOrNone)
{
    Window->show();
    EXPECT_TRUE(testsupport::WaitForSettledWindow(*Window)) << "no page";
    Window->DoOpenFile({});
    ASSERT_EQ(PageCount(), 1);
    EXPECT_TRUE(testsupport::WaitForSettledWindow(*Window)) << "a page";
    EXPECT_EQ(Window->StatusPanelText(2), "Insert");
}

TEST_F(MainWindowGui, OneFileOnePage)
{
    WriteText("a.sbp", "A");
    WriteText("b.sbp", "b");
    WriteText("B.sbp", "B");
    Window->DoOpenFile(FilePath("a.sbp"));
    Window->DoOpenFile(FilePath("b.sbp"));
    Window->DoOpenFile(FilePath("a.sbp"));
    EXPECT_EQ(PageCount(), 2);
    EXPECT_EQ(Window->pctrlMain->currentIndex(), 0) << "the page of a.sbp is active again";
    // The same file through another name or another case, when no such file exists.
    Window->DoOpenFile(FilePath("./a.sbp"));
    Window->DoOpenFile(FilePath("A.SBP"));
    EXPECT_EQ(PageCount(), 2);
    // Files that differ in case are two files.
    Window->DoOpenFile(FilePath("B.sbp"));
    EXPECT_EQ(FileNames(), (QStringList{"a.sbp", "b.sbp", "B.sbp"}));
}

TEST_F(MainWindowGui, RecentFilesListClosedFiles)
{
    WriteText("a.sbp", "A");
    Window->mFileClick();
    EXPECT_FALSE(Window->mRecentFiles->menuAction()->isEnabled());
    Window->DoOpenFile(FilePath("a.sbp"));
    Page(0)->ExecClose();
    Process();
    EXPECT_EQ(Dm.GetMRUFile(0), FilePath("a.sbp"));
    Dm.AddMRUFile("/gone/R&D.sbp");
    Window->mFileClick();
    Window->mRecentFilesClick();
    EXPECT_TRUE(Window->mRecentFiles->menuAction()->isEnabled());
    EXPECT_EQ(Window->MRUItems[0]->text(), "/gone/R&&D.sbp");
    EXPECT_EQ(Window->MRUItems[1]->text(), FilePath("a.sbp"));
    EXPECT_TRUE(Window->MRUItems[1]->isVisible());
    EXPECT_FALSE(Window->MRUItems[2]->isVisible());
    // A file that went away opens nothing and leaves the list.
    Dialogs.ExpectMessage("File not found: /gone/R&D.sbp", TModalResult::mrOk);
    Window->OnOpenMRUFile(1);
    EXPECT_EQ(PageCount(), 0);
    // Opening takes a file off the list.
    Window->OnOpenMRUFile(1);
    EXPECT_EQ(FileNames(), QStringList{"a.sbp"});
    EXPECT_EQ(Dm.GetMRUFileCount(), 0);
    // No recent files during a run.
    Dm.AddMRUFile(FilePath("a.sbp"));
    Window->Running = true;
    Window->mFileClick();
    EXPECT_FALSE(Window->mRecentFiles->menuAction()->isEnabled());
}

TEST_F(MainWindowGui, CommandLineAndOpenDialogOpenPagesInOrder)
{
    WriteText("a.sbp", "A");
    WriteText("b.sbp", "B");
    EXPECT_FALSE(Window->OpenCommandLine({}, true));
    const QString current = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.string()));
    EXPECT_TRUE(Window->OpenCommandLine({"a.sbp", "b.sbp", "-x"}, true));
    QDir::setCurrent(current);
    EXPECT_EQ(FileNames(), (QStringList{"a.sbp", "b.sbp", "-x"}));
    EXPECT_EQ(Code(Page(2)).LineCount(), 0) << "a name that does not exist gives a new page";
    Window->OpenCommandLine({FilePath("c.sbp"), FilePath("d.sbp")}, false);
    EXPECT_EQ(PageCount(), 4);

    WriteText("e.sbp", "E");
    WriteText("f.sbp", "F");
    Dialogs.ExpectOpen(std::vector<std::string>{Path("f.sbp"), Path("e.sbp")});
    Window->actFileOpen->Execute();
    EXPECT_EQ(FileNames().mid(4), (QStringList{"f.sbp", "e.sbp"}));
    EXPECT_TRUE(Dialogs.OpenMultiSelect.at(0));
}

TEST_F(MainWindowGui, FPLinesNameTheirSubFileAsTheRunFindsIt)
{
    std::filesystem::create_directory(folder / "jobs");
    WriteText("jobs/main.sbp", "FP,door");
    WriteText("jobs/DOOR.SBP", "J2,0,0");
    std::filesystem::create_directories(folder / "jobs/Parts/Left");
    WriteText("jobs/Parts/Left/Hinge.sbp", "J2,0,0");
    Window->DoOpenFile(FilePath("jobs/main.sbp"));
    const struct {
        const char* Line;
        const char* Expected;
    } cases[] = {
        {"FP,door 'the door", "jobs/DOOR.SBP"},
        {"fp, Door.sbp,1,1", "jobs/DOOR.SBP"},
        {"FP,Lid", "jobs/Lid.sbp"},
        {"FP,remote", "jobs/remote.sbp"},
        {"FP,lid.nc", "jobs/lid.nc"},
        // Folders, too, whatever their case.
        {"FP, parts/left/hinge", "jobs/Parts/Left/Hinge.sbp"},
        {"FP,PARTS/LEFT/HINGE.SBP,1,1 'the hinge", "jobs/Parts/Left/Hinge.sbp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Window->ResolveFPFileName(c.Line), FilePath(c.Expected)) << c.Line;
    }
}

TEST_F(MainWindowGui, UserTabChangesWaitForTheRunToEnd)
{
    Window->show();
    Window->DoOpenFile({});
    Window->DoOpenFile({});
    QTabBar* bar = Window->pctrlMain->tabBar();
    Window->Running = true;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(Window->pctrlMain->currentIndex(), 1);
    Window->pctrlMain->setCurrentIndex(0);
    EXPECT_EQ(Window->pctrlMain->currentIndex(), 0) << "changes by code go through";
    EXPECT_TRUE(SamePage(ActiveEditor, Page(0)));
    Window->Running = false;
    // A right press makes the tab under it the page first.
    QTest::mousePress(bar, Qt::RightButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(Window->pctrlMain->currentIndex(), 1);
    QTest::mouseRelease(bar, Qt::RightButton, {}, bar->tabRect(1).center());
    Window->PopupMenu2->close();
}

TEST_F(MainWindowGui, TabPopupClosesOthersAndOpensTheFolder)
{
    WriteText("a.sbp", "A");
    Window->DoOpenFile({});
    Window->DoOpenFile(FilePath("a.sbp"));
    Window->DoOpenFile({});
    Page(1)->Activate();
    Form(Page(1)).SetActiveEditor(true);
    QStringList opened;
    const auto previous = SetShellOpenHook([&](const QString& target) {
        opened << target;
        return false;
    });
    Window->OpeningContainingFolder1Click();
    SetShellOpenHook(previous);
    EXPECT_EQ(opened, QStringList{QString::fromStdString(folder.string())});
    Window->CloseAllb1Click();
    Process();
    EXPECT_EQ(FileNames(), QStringList{"a.sbp"});
}

TEST_F(MainWindowGui, ClosingTheWindowAsksEveryPageAndMayBeRefused)
{
    Window->DoOpenFile({});
    Page(0)->InsertText("x");
    Dialogs.ExpectMessage("The text in the \"Untitled1\" file has changed.\r\n\r\nDo you want to save the "
                          "modifications?",
                          TModalResult::mrCancel);
    Window->show();
    EXPECT_FALSE(Window->close());
    EXPECT_TRUE(Window->isVisible());
}

TEST_F(MainWindowGui, PrintSetupOpensThroughTheDialogService)
{
    Dialogs.ExpectForm("PrinterSetup", {}, TModalResult::mrCancel);
    Window->PrintSetup1->trigger();
    EXPECT_EQ(Dialogs.FormsShown, std::vector<std::string>{"PrinterSetup"});
}

TEST_F(MainWindowGui, ActionsFollowThePage)
{
    TDataModuleActions& a = Dm.Actions;
    const auto enabled = [&] {
        Window->UpdateAllActions(true);
        QString on;
        for (TAction* action : {a.actFileSave, a.actEditCopy, a.actEditCut, a.actEditUndo, a.actSearchFind,
                                a.actSearchFindNext, a.actIndent, Window->actCommentBlock, Window->actToggleBP,
                                Window->actFileCloseAll}) {
            on += action->isEnabled() ? '1' : '0';
        }
        return on;
    };
    EXPECT_EQ(enabled(), "0000000000");
    Window->DoOpenFile({});
    const auto page = Page(0);
    EXPECT_EQ(enabled(), "1000000011") << "an untitled page can be saved";
    page->InsertText("MS,1");
    EXPECT_EQ(enabled(), "1001100011");
    Code(page).SelectAll();
    EXPECT_EQ(enabled(), "1111101111");
    Window->Running = true;
    EXPECT_EQ(enabled(), "1100101111") << "read-only while running: no cut, no undo";
    Window->Running = false;
    Window->UpdateAllActions(false);
    Window->actCommentBlock->trigger();
    EXPECT_EQ(page->GetLines()->ToStringList(), QStringList{"'MS,1"});
    // The view toggles.
    Window->actViewVars->trigger();
    Window->UpdateAllActions(false);
    EXPECT_TRUE(Window->lbVariables->isHidden());
    EXPECT_FALSE(Window->actViewVars->isChecked());
}

TEST(DataModuleActions, StartDisabledButIndentAndCodeInsert)
{
    TDataModuleActions actions;
    for (const auto& action : actions.actlMain.Actions()) {
        // Code Insert until its first update finds no page.
        const bool enabled = action.get() == actions.actIndent || action.get() == actions.actUnIndent ||
                             action.get() == actions.actCodeInsert;
        EXPECT_EQ(action->isEnabled(), enabled) << action->Name().toStdString();
    }
}

TEST(DataModuleActions, CarryTheirShortcutsHintsAndIcons)
{
    TDataModuleActions actions;
    EXPECT_EQ(actions.actSearchFindPrev->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    EXPECT_EQ(actions.actIndent->toolTip(), "Indent Block (Shift+Ctrl+I)");
    EXPECT_FALSE(actions.actFileClose->icon().isNull());
}

TEST_F(MainWindowGui, SettingsComeBackAtTheNextStart)
{
    Window->statusBar()->hide();
    Dm.AddMRUFile("/p/one.sbp");
    Window.reset();
    EXPECT_EQ(Settings().ReadString("Main", "ViewStatusbar", ""), "0");
    EXPECT_EQ(Settings().ReadString("MRUFiles", "MRUFile1", ""), "/p/one.sbp");
    Window = std::make_unique<TMainForm>();
    EXPECT_TRUE(Window->statusBar()->isHidden());
}

} // namespace
