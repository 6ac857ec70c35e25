// A Save As that fails (a target that is no regular file, a folder that cannot hold the
// file) shows its error box and leaves the page as it was: its name, the window's
// caption, its tab, its modified state and the recent list. Save (Ctrl+S) then writes
// the page's own file, and the close question names it. Driven through the main
// window's actions, the save dialog answered by script.

#include "app/shell/DataModuleActions.h"
#include "app/shell/MainForm.h"
#include "app/pages/PageControl.h"

#include "../ShellTestSupport.h"

#include "../../support/NonRegularFiles.h"

#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

class PageSaveAsGui : public TShellTest {
protected:
    PageSaveAsGui() : Window(std::make_unique<TMainForm>()) {}
    ~PageSaveAsGui() override { Window.reset(); }

    // What the user sees of the active page: its name, the window's caption, its tab.
    std::string Looks() const
    {
        Window->actUpdateStatusBarPanels->Update();
        const auto page = AsEditor(ActiveEditor);
        return page->GetFileName().toStdString() + " | " + Window->windowTitle().toStdString() + " | " +
               Window->pctrlMain->tabText(Window->pctrlMain->currentIndex()).toStdString();
    }
    std::vector<QString> RecentFiles() const
    {
        std::vector<QString> files;
        for (int i = 0; i < Dm.GetMRUFileCount(); ++i) {
            files.push_back(Dm.GetMRUFile(i));
        }
        return files;
    }
    void ExpectSaveQuestion(const std::string& title, TModalResult answer)
    {
        Dialogs.ExpectMessage("The text in the \"" + title +
                                  "\" file has changed.\r\n\r\nDo you want to save the modifications?",
                              answer);
    }

    struct TTarget {
        std::string Name; // as chosen in the save dialog
        std::string Error;
    };
    // Every target a Save As cannot write, with its error box's text.
    std::vector<TTarget> FailingTargets(const testsupport::TNonRegularFiles& nodes) const
    {
        std::vector<TTarget> targets;
        for (const auto& node : nodes.Entries) {
            targets.push_back({nodes.Path(node), nodes.Refusal(node)});
        }
        std::filesystem::create_directory(folder / "folder.sbp");
        targets.push_back({Path("folder.sbp"), "Not a regular file: \"" + Path("folder.sbp") + "\" is a directory."});
        targets.push_back({Path("missing/part.sbp"),
                           "Cannot create file \"" + Path("missing/part.sbp") + "\". No such file or directory"});
        WriteText("plain", "not a folder");
        targets.push_back(
            {Path("plain/part.sbp"), "Cannot create file \"" + Path("plain/part.sbp") + "\". Not a directory"});
        // Root writes into any folder.
        if (::geteuid() != 0) {
            std::filesystem::create_directory(folder / "locked");
            std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_read |
                                                                 std::filesystem::perms::owner_exec);
            targets.push_back({Path("locked/part.sbp"),
                               "Cannot create file \"" + Path("locked/part.sbp") + "\". Permission denied"});
        }
        return targets;
    }

    std::unique_ptr<TMainForm> Window;
    TDataModuleActions& Actions = Dm.Actions;
};

TEST_F(PageSaveAsGui, AFailedSaveAsKeepsTheNamedPageAsItWas)
{
    const testsupport::TNonRegularFiles nodes(folder);
    ASSERT_TRUE(nodes.Made());
    WriteText("old.sbp", "M2,1,1\r\n");
    Dm.AddMRUFile(FilePath("b.sbp"));
    Dm.AddMRUFile(FilePath("a.sbp"));
    Window->DoOpenFile(FilePath("old.sbp"));
    const auto page = AsEditor(ActiveEditor);
    const std::string looks = Path("old.sbp") + " | Kerfpad - [" + Path("old.sbp") + "*] | old.sbp";
    std::string typed;
    for (const TTarget& target : FailingTargets(nodes)) {
        SCOPED_TRACE(target.Name);
        QTest::keyClicks(&Form(page).CodeEditorWidget(), "x");
        typed += "x";
        Dialogs.ExpectSave(target.Name);
        Dialogs.ExpectMessage(target.Error, TModalResult::mrOk);
        ASSERT_TRUE(Actions.actFileSaveAs->Execute());
        EXPECT_EQ(Looks(), looks);
        EXPECT_TRUE(page->GetModified());
        EXPECT_EQ(RecentFiles(), (std::vector<QString>{FilePath("a.sbp"), FilePath("b.sbp")}));
        // Save writes the page's own file.
        ASSERT_TRUE(Actions.actFileSave->Execute());
        EXPECT_EQ(ReadText("old.sbp"), typed + "M2,1,1\r\n");
        EXPECT_FALSE(page->GetModified());
    }
    EXPECT_TRUE(nodes.Unchanged());
    EXPECT_FALSE(nodes.Waited());
    // The close question names the page's own file, which goes to the top of the list.
    QTest::keyClicks(&Form(page).CodeEditorWidget(), "y");
    ExpectSaveQuestion("old.sbp", TModalResult::mrNo);
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(RecentFiles(), (std::vector<QString>{FilePath("old.sbp"), FilePath("a.sbp"), FilePath("b.sbp")}));
}

// An untitled page keeps its title and its number: Save asks for a name again.
TEST_F(PageSaveAsGui, AFailedSaveAsKeepsTheUntitledPageUntitled)
{
    const testsupport::TNonRegularFiles nodes(folder);
    ASSERT_TRUE(nodes.Made());
    Window->DoOpenFile({});
    const auto page = AsEditor(ActiveEditor);
    QTest::keyClicks(&Form(page).CodeEditorWidget(), "MS,1");
    for (const TTarget& target : FailingTargets(nodes)) {
        SCOPED_TRACE(target.Name);
        Dialogs.ExpectSave(target.Name);
        Dialogs.ExpectMessage(target.Error, TModalResult::mrOk);
        ASSERT_TRUE(Actions.actFileSave->Execute());
        EXPECT_EQ(Looks(), " | Kerfpad - [Untitled1*] | Untitled1");
        EXPECT_TRUE(page->GetModified());
    }
    EXPECT_EQ(Dm.NewUntitledNumber(), 2) << "the page holds its number";
    Dm.ReleaseUntitledNumber(2);
    // Yes to the close question asks for a name once more; this one takes.
    ExpectSaveQuestion("Untitled1", TModalResult::mrYes);
    Dialogs.ExpectSave(Path("named.sbp"));
    page->ExecClose();
    Process();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(ReadText("named.sbp"), "MS,1\r\n");
    EXPECT_EQ(RecentFiles(), std::vector<QString>{FilePath("named.sbp")});
    EXPECT_TRUE(nodes.Unchanged());
    EXPECT_EQ(Dm.NewUntitledNumber(), 1) << "the number went back";
}

} // namespace
