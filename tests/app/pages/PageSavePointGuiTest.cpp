// A page saved and then undone no longer holds its file's text: the caption marks it,
// Save (Ctrl+S, the data module's action) writes what it shows and closing asks; redone
// back to what was saved, it is unmodified again. Typed through the page's widget,
// saved, undone and redone through the actions the keys run.
#include "app/shell/DataModuleActions.h"
#include "app/shell/MainForm.h"
#include "app/pages/SearchState.h"

#include "../ShellTestSupport.h"

#include <QTest>

namespace {

class PageSavePointGui : public TShellTest {
protected:
    PageSavePointGui() : Window(std::make_unique<TMainForm>()) { EditorSearch = TEditorSearchState{}; }
    ~PageSavePointGui() override
    {
        Window.reset();
        EditorSearch = TEditorSearchState{};
    }

    std::shared_ptr<TEditor> Open(const std::string& name)
    {
        Window->DoOpenFile(FilePath(name));
        return AsEditor(ActiveEditor);
    }
    QString Caption() const
    {
        Window->actUpdateStatusBarPanels->Update();
        return Window->windowTitle();
    }
    // The caption and whether Save would write, as the user sees them.
    std::string Looks(const std::shared_ptr<TEditor>& page) const
    {
        Actions.actFileSave->Update();
        const bool marked = Caption() == "Kerfpad - [" + page->GetFileName() + "*]";
        return std::string(marked ? "*" : "-") + (Actions.actFileSave->isEnabled() ? " save" : " -");
    }
    static QString Text(const std::shared_ptr<TEditor>& page) { return Code(page).Lines().ToStringList().join('|'); }
    void ExpectSaveQuestion(const std::string& title, TModalResult answer)
    {
        Dialogs.ExpectMessage("The text in the \"" + title +
                                  "\" file has changed.\r\n\r\nDo you want to save the modifications?",
                              answer);
    }
    void Close(const std::shared_ptr<TEditor>& page)
    {
        page->ExecClose();
        Process();
    }

    std::unique_ptr<TMainForm> Window;
    TDataModuleActions& Actions = Dm.Actions;
};

TEST_F(PageSavePointGui, AnUndoneSaveIsSavedAndAskedForARedoBackToItIsNot)
{
    WriteText("p.sbp", "MS,1\r\n");
    auto page = Open("p.sbp");
    QTest::keyClicks(&Form(page).CodeEditorWidget(), "x");
    EXPECT_EQ(Looks(page), "* save");
    ASSERT_TRUE(Actions.actFileSave->Execute());
    EXPECT_EQ(ReadText("p.sbp"), "xMS,1\r\n");
    EXPECT_EQ(Looks(page), "- -");

    ASSERT_TRUE(Actions.actEditUndo->Execute());
    EXPECT_EQ(Text(page), "MS,1");
    EXPECT_EQ(Looks(page), "* save");
    ExpectSaveQuestion("p.sbp", TModalResult::mrCancel);
    Close(page);
    ASSERT_EQ(PageCount(), 1) << "Cancel keeps the page";
    // Redo back to the saved text: nothing to save, closing would ask nothing.
    ASSERT_TRUE(Actions.actEditRedo->Execute());
    EXPECT_EQ(Text(page), "xMS,1");
    EXPECT_EQ(Looks(page), "- -");
    EXPECT_TRUE(page->AskSaveChanges());
    // Undone again and closed: Yes writes what the page shows.
    ASSERT_TRUE(Actions.actEditUndo->Execute());
    ExpectSaveQuestion("p.sbp", TModalResult::mrYes);
    Close(page);
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(ReadText("p.sbp"), "MS,1\r\n");
    EXPECT_TRUE(Dialogs.AllAnswered());
}

// More hits than the undo list's limit holds records: the replace-all stays one step,
// and its undo after a save is a change like any other.
TEST_F(PageSavePointGui, AReplaceAllSavedThenUndone)
{
    std::string program;
    for (int i = 1; i <= 2000; ++i) {
        program += "M2, " + std::to_string(i) + ", 1\r\n";
    }
    WriteText("many.sbp", program);
    auto page = Open("many.sbp");
    Dialogs.ExpectForm("TextReplaceDialog", {{"cbSearchText", "M2"}, {"cbReplaceText", "J2"}}, TModalResult::mrOk);
    Dialogs.ExpectForm("ConfirmReplaceDialog", {}, TModalResult::mrAll);
    ASSERT_TRUE(Actions.actSearchReplace->Execute());
    ASSERT_TRUE(Text(page).startsWith("J2, 1, 1|J2, 2, 1"));
    ASSERT_TRUE(Actions.actFileSave->Execute());
    std::string replaced = program;
    for (std::size_t at = replaced.find("M2"); at != std::string::npos; at = replaced.find("M2", at)) {
        replaced.replace(at, 2, "J2");
    }
    EXPECT_TRUE(ReadText("many.sbp") == replaced);

    ASSERT_TRUE(Actions.actEditUndo->Execute());
    EXPECT_TRUE(Text(page).startsWith("M2, 1, 1|M2, 2, 1"));
    EXPECT_EQ(Looks(page), "* save");
    ASSERT_TRUE(Actions.actEditRedo->Execute());
    EXPECT_EQ(Looks(page), "- -");
    ASSERT_TRUE(Actions.actEditUndo->Execute());
    ExpectSaveQuestion("many.sbp", TModalResult::mrYes);
    Close(page);
    EXPECT_TRUE(ReadText("many.sbp") == program) << "the file as it was loaded";
    EXPECT_TRUE(Dialogs.AllAnswered());
}

} // namespace
