#include "app/pages/EditorInterfaces.h"

std::shared_ptr<IEditorFactory> EditorFactory;
std::shared_ptr<IEditor> ActiveEditor;
std::shared_ptr<IEditActions> ActiveEditActions;
std::shared_ptr<IFileActions> ActiveFileActions;
std::shared_ptr<ISearchActions> ActiveSearchActions;

void ActivateEditorPage(const TEditorPageInterfaces& page)
{
    ActiveEditor = page.Editor;
    ActiveEditActions = page.EditActions;
    ActiveFileActions = page.FileActions;
    ActiveSearchActions = page.SearchActions;
}

namespace {
template <class T>
void ClearIfPage(std::shared_ptr<T>& global, const std::shared_ptr<IEditor>& page)
{
    if (SamePage(global, page))
        global.reset();
}
} // namespace

void DeactivateEditorPage(const std::shared_ptr<IEditor>& page)
{
    if (EditorFactory && EditorFactory->GetEditorCount() > 0)
        return;
    ClearIfPage(ActiveEditor, page);
    ClearIfPage(ActiveEditActions, page);
    ClearIfPage(ActiveFileActions, page);
    ClearIfPage(ActiveSearchActions, page);
}

void ReleaseEditorGlobals()
{
    ActiveSearchActions.reset();
    ActiveFileActions.reset();
    ActiveEditActions.reset();
    ActiveEditor.reset();
    EditorFactory.reset();
}
