#include "app/run/RunOwnPages.h"

#include "app/pages/Editor.h"
#include "app/pages/EditorForm.h"

#include "platform/core/EventLoop.h"

#include <algorithm>

TRunOwnPages::TRunOwnPages() : FActive(ActiveEditor)
{
    if (EditorFactory) {
        for (int i = 0; i < EditorFactory->GetEditorCount(); ++i) {
            FBefore.push_back(EditorFactory->GetEditor(i));
        }
    }
}

bool TRunOwnPages::WasOpen(const std::shared_ptr<IEditor>& page) const
{
    return std::any_of(FBefore.begin(), FBefore.end(),
                       [&](const std::shared_ptr<IEditor>& before) { return SamePage(before, page); });
}

int TRunOwnPages::CloseOpenedSince()
{
    if (!EditorFactory) {
        return 0;
    }
    // Collected first: a closing page leaves the factory's list once it is freed.
    std::vector<std::shared_ptr<TEditor>> opened;
    for (int i = 0; i < EditorFactory->GetEditorCount(); ++i) {
        const std::shared_ptr<IEditor> page = EditorFactory->GetEditor(i);
        auto editor = std::dynamic_pointer_cast<TEditor>(page);
        if (editor && editor->Form && !WasOpen(page) && !page->GetModified()) {
            opened.push_back(std::move(editor));
        }
    }
    for (const std::shared_ptr<TEditor>& editor : opened) {
        if (editor->Form) {
            editor->Form->CloseWithoutQuestion(false);
        }
    }
    // A page's tab sheet frees it from the event loop; until then it keeps its memory
    // and its command numbers, and Run All would pile up every page of its rows.
    if (!opened.empty()) {
        if (IEventLoop* loop = GetEventLoop()) {
            loop->ProcessPendingEvents();
        }
    }
    // The run brought its program's page forward, the user's own too.
    if (FActive && FActive->CanClose() && !SamePage(ActiveEditor, FActive)) {
        FActive->Activate();
    }
    return static_cast<int>(opened.size());
}
