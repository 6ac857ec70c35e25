#include "app/run/RunOwnPages.h"

#include "platform/core/services/EventLoop.h"

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

void TRunOwnPages::CloseOpenedSince()
{
    if (!EditorFactory) {
        return;
    }
    // Collected first: a closing page leaves the factory's list once it is freed.
    std::vector<std::shared_ptr<IEditor>> opened;
    for (int i = 0; i < EditorFactory->GetEditorCount(); ++i) {
        std::shared_ptr<IEditor> page = EditorFactory->GetEditor(i);
        if (page && !WasOpen(page) && !page->GetModified()) {
            opened.push_back(std::move(page));
        }
    }
    const int closed = opened.empty() ? 0 : EditorFactory->CloseWithoutQuestion(opened);
    // A page's tab sheet frees it from the event loop; until then it keeps its memory
    // and its command numbers, and Run All would pile up every page of its rows.
    if (closed > 0) {
        if (IEventLoop* loop = GetEventLoop()) {
            loop->ProcessPendingEvents();
        }
    }
    // The run brought its program's page forward, the user's own too.
    if (FActive && FActive->CanClose() && !SamePage(ActiveEditor, FActive)) {
        FActive->Activate();
    }
}
