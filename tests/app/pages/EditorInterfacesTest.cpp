#include "app/pages/EditorInterfaces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> released;

// A page that implements the four interfaces and records its release.
class TFakePage : public IEditor, public IEditActions, public IFileActions, public ISearchActions {
public:
    explicit TFakePage(std::string name) : Name(std::move(name)) {}
    ~TFakePage() override { released.push_back(Name); }
    std::string Name;

    void Activate() override {}
    bool AskSaveChanges() override { return true; }
    bool CanClose() override { return true; }
    void ExecClose() override {}
    QPoint GetCaretPos() override { return {-1, -1}; }
    QString GetEditorState() override { return {}; }
    QString GetFileName() override { return {}; }
    QString GetFileTitle() override { return {}; }
    bool GetModified() override { return false; }
    QString GetCurrentLine() override { return {}; }
    void OpenFile(const QString&) override {}
    void IndentSelection(bool) override {}
    void CommentBlock() override {}
    void UnCommentBlock() override {}
    void ApplySettings(const TEditorSettings&) override {}
    void InsertText(const QString&) override {}
    void AppendText(const QStringList&) override {}
    void ReplaceAllText(const QStringList&) override {}
    TCodeEditStringList* GetLines() override { return nullptr; }
    void ShowRunLine(int) override {}
    void HideRunLine() override {}
    bool IsBreakpoint(int) override { return false; }
    void ToggleBreakpoint() override {}
    void ClearBreakpoints() override {}
    void SetReadOnly(bool) override {}
    void ClearCurrentLine() override {}
    void SetFocus() override {}
    bool CanCopy() override { return false; }
    bool CanCut() override { return false; }
    bool CanDelete() override { return false; }
    bool CanPaste() override { return false; }
    bool CanRedo() override { return false; }
    bool CanSelectAll() override { return false; }
    bool CanUndo() override { return false; }
    void ExecCopy() override {}
    void ExecCut() override {}
    void ExecDelete() override {}
    void ExecPaste() override {}
    void ExecRedo() override {}
    void ExecSelectAll() override {}
    void ExecUndo() override {}
    bool CanPrint() override { return false; }
    bool CanSave() override { return false; }
    bool CanSaveAs() override { return false; }
    void ExecPrint() override {}
    void ExecPrintPreview() override {}
    void ExecSave() override {}
    void ExecSaveAs() override {}
    bool CanFind() override { return false; }
    bool CanFindNext() override { return false; }
    bool CanFindPrev() override { return false; }
    bool CanReplace() override { return false; }
    void ExecFind() override {}
    void ExecFindNext() override {}
    void ExecFindPrev() override {}
    void ExecReplace() override {}
};

class TFakeFactory : public IEditorFactory {
public:
    ~TFakeFactory() override { released.push_back("factory"); }
    std::vector<std::shared_ptr<IEditor>> Pages;

    bool CanCloseAll() override { return true; }
    void CloseAll() override {}
    std::shared_ptr<IEditor> CreateBorderless(QWidget*) override { return {}; }
    std::shared_ptr<IEditor> CreateMDIChild(QWidget*) override { return {}; }
    std::shared_ptr<IEditor> CreateTabSheet(QTabWidget*) override { return {}; }
    int GetEditorCount() override { return static_cast<int>(Pages.size()); }
    std::shared_ptr<IEditor> GetEditor(int index) override { return Pages.at(static_cast<std::size_t>(index)); }
    void RemoveEditor(const std::shared_ptr<IEditor>& editor) override { std::erase(Pages, editor); }
    int CloseWithoutQuestion(const std::vector<std::shared_ptr<IEditor>>&) override { return 0; }
};

class EditorGlobals : public ::testing::Test {
protected:
    EditorGlobals()
    {
        released.clear();
        EditorFactory = Factory;
    }
    ~EditorGlobals() override { ReleaseEditorGlobals(); }

    TEditorPageInterfaces Open(const char* name)
    {
        auto page = PageInterfaces(std::make_shared<TFakePage>(name));
        Factory->Pages.push_back(page.Editor);
        return page;
    }

    std::shared_ptr<TFakeFactory> Factory = std::make_shared<TFakeFactory>();
};

TEST_F(EditorGlobals, TheLastActivePageStaysTheTargetWhileOthersRemain)
{
    auto first = Open("first");
    auto second = Open("second");
    ActivateEditorPage(first);
    EXPECT_TRUE(SamePage(ActiveEditor, first.SearchActions));
    EXPECT_TRUE(SamePage(ActiveFileActions, first.Editor));
    EXPECT_FALSE(SamePage(ActiveEditActions, second.Editor));

    // Focus goes elsewhere: the page stays active.
    DeactivateEditorPage(first.Editor);
    EXPECT_EQ(ActiveEditor, first.Editor);

    // The page is destroyed while another remains: the globals keep it alive.
    Factory->RemoveEditor(first.Editor);
    first = {};
    DeactivateEditorPage(ActiveEditor);
    EXPECT_TRUE(released.empty());
    ASSERT_TRUE(ActiveEditor);

    ActivateEditorPage(second);
    EXPECT_EQ(released, std::vector<std::string>{"first"});
}

TEST_F(EditorGlobals, ClearedWhenTheirPageWasTheLastAndReleasedLastDeclaredFirst)
{
    auto only = Open("only");
    auto other = Open("other");
    ActivateEditorPage(only);
    Factory->Pages.clear();
    DeactivateEditorPage(other.Editor);
    EXPECT_TRUE(ActiveEditor && ActiveEditActions && ActiveFileActions && ActiveSearchActions)
        << "they point to another page";
    DeactivateEditorPage(only.Editor);
    EXPECT_FALSE(ActiveEditor || ActiveEditActions || ActiveFileActions || ActiveSearchActions);

    ActivateEditorPage(only);
    ActiveSearchActions = other.SearchActions;
    only = {};
    other = {};
    Factory.reset();
    ReleaseEditorGlobals();
    EXPECT_EQ(released, (std::vector<std::string>{"other", "only", "factory"}));
}

} // namespace
