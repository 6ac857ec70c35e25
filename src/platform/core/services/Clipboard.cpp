#include "platform/core/services/Clipboard.h"

bool TMemoryClipboard::Open()
{
    if (failOpen || open_) {
        return false;
    }
    open_ = true;
    ++opens_;
    cleared_ = false;
    pending_.clear();
    return true;
}

void TMemoryClipboard::Close()
{
    if (!open_) {
        return;
    }
    if (cleared_) {
        formats_.clear();
    }
    for (auto& [format, bytes] : pending_) {
        formats_[format] = std::move(bytes);
    }
    pending_.clear();
    open_ = false;
}

bool TMemoryClipboard::Clear()
{
    if (!open_) {
        return false;
    }
    cleared_ = true;
    pending_.clear();
    return true;
}

bool TMemoryClipboard::HasFormat(std::string_view format) const
{
    return formats_.find(format) != formats_.end();
}

bool TMemoryClipboard::SetData(std::string_view format, const std::string& bytes)
{
    if (!open_ || (!failSetFormat.empty() && format == failSetFormat)) {
        return false;
    }
    pending_[std::string(format)] = bytes;
    return true;
}

bool TMemoryClipboard::GetData(std::string_view format, std::string& bytes) const
{
    if (!open_ || (!failGetFormat.empty() && format == failGetFormat)) {
        return false;
    }
    const auto it = formats_.find(format);
    if (it == formats_.end()) {
        return false;
    }
    bytes = it->second;
    return true;
}

namespace {
IClipboard* gClipboard = nullptr;

TMemoryClipboard& BuiltInClipboard()
{
    static TMemoryClipboard clipboard;
    return clipboard;
}
} // namespace

IClipboard* SetClipboard(IClipboard* clipboard)
{
    IClipboard* previous = gClipboard;
    gClipboard = clipboard;
    return previous;
}

IClipboard& Clipboard()
{
    return gClipboard ? *gClipboard : BuiltInClipboard();
}

bool CopyTextToClipboard(const std::string& text)
{
    IClipboard& clipboard = Clipboard();
    const TClipboardOpener open(clipboard);
    return open.IsOpen() && clipboard.Clear() && clipboard.SetData(ClipboardTextFormat, text);
}
