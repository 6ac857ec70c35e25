// How components outside the control extend it: command hooks, links in the key
// handler chains, windows that take the focus in the editor's place, and the plug-ins
// told after painting.
#include "editor/control/CodeEdit.h"

#include <algorithm>

void TCustomCodeEdit::RegisterCommandHook(const TCommandHookEvent& handler, void* handlerData)
{
    if (!handler) {
        return;
    }
    const THookedCommandHandlerEntry entry{handler, handlerData};
    if (std::find(hooks_.begin(), hooks_.end(), entry) == hooks_.end()) {
        hooks_.push_back(entry);
    }
}

void TCustomCodeEdit::UnregisterCommandHook(const TCommandHookEvent& handler)
{
    const auto it = std::find(hooks_.begin(), hooks_.end(), THookedCommandHandlerEntry{handler, nullptr});
    if (it != hooks_.end()) {
        hooks_.erase(it);
    }
}

void TCustomCodeEdit::AddKeyDownHandler(const TKeyEvent& handler) { kbdHandler_->AddKeyDownHandler(handler); }
void TCustomCodeEdit::RemoveKeyDownHandler(const TKeyEvent& handler) { kbdHandler_->RemoveKeyDownHandler(handler); }
void TCustomCodeEdit::AddKeyPressHandler(const TKeyPressEvent& handler) { kbdHandler_->AddKeyPressHandler(handler); }

void TCustomCodeEdit::RemoveKeyPressHandler(const TKeyPressEvent& handler)
{
    kbdHandler_->RemoveKeyPressHandler(handler);
}

void TCustomCodeEdit::AddFocusWindow(ICodeEditFocusWindow* window)
{
    if (window && std::find(focusWindows_.begin(), focusWindows_.end(), window) == focusWindows_.end()) {
        focusWindows_.push_back(window);
    }
}

void TCustomCodeEdit::RemoveFocusWindow(ICodeEditFocusWindow* window)
{
    focusWindows_.erase(std::remove(focusWindows_.begin(), focusWindows_.end(), window), focusWindows_.end());
}

void TCustomCodeEdit::DoPluginsAfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine)
{
    for (const auto& plugin : plugins_) {
        plugin->AfterPaint(canvas, clip, firstLine, lastLine);
    }
}
