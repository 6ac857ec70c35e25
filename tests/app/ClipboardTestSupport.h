#pragma once
// A clipboard of a test's own, in memory, installed for its lifetime: what the
// application copies through the clipboard service lands here.

#include "platform/core/services/Clipboard.h"

#include <string>

class TTestClipboard {
public:
    TTestClipboard() { Set("(nothing copied)"); }

    // The plain text on it; "(none)" without one.
    std::string Text()
    {
        const TClipboardOpener open(FClipboard);
        std::string text;
        return open.IsOpen() && FClipboard.GetData(ClipboardTextFormat, text) ? text : "(none)";
    }
    void Set(const std::string& text)
    {
        const TClipboardOpener open(FClipboard);
        FClipboard.Clear();
        FClipboard.SetData(ClipboardTextFormat, text);
    }

private:
    TMemoryClipboard FClipboard;
    TClipboardScope FScope{&FClipboard};
};
