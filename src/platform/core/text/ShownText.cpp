#include "platform/core/text/ShownText.h"

namespace {

bool IsHighSurrogate(char16_t c) { return (c & 0xFC00) == 0xD800; }
bool IsLowSurrogate(char16_t c) { return (c & 0xFC00) == 0xDC00; }

// Code points: one per code unit but the low half of each surrogate pair. Written
// without branches, so that ten million characters take a few milliseconds.
std::size_t CodePointCount(std::u16string_view text)
{
    std::size_t pairs = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        pairs += static_cast<std::size_t>(IsHighSurrogate(text[i - 1])) & static_cast<std::size_t>(IsLowSurrogate(text[i]));
    }
    return text.size() - pairs;
}

} // namespace

TShownTextCut ShownTextCut(std::u16string_view text)
{
    constexpr auto bound = static_cast<std::size_t>(MaxShownTextLength);
    if (text.size() <= bound) {
        return {text.size(), text.size(), {}};
    }
    // Neither cut splits a surrogate pair: the pair goes with the part left out.
    std::size_t head = bound - static_cast<std::size_t>(ShownTailLength);
    if (IsHighSurrogate(text[head - 1]) && IsLowSurrogate(text[head])) {
        --head;
    }
    std::size_t tail = text.size() - static_cast<std::size_t>(ShownTailLength);
    if (IsLowSurrogate(text[tail]) && IsHighSurrogate(text[tail - 1])) {
        ++tail;
    }
    const std::size_t leftOut = CodePointCount(text.substr(head, tail - head));
    const std::string note = " ... (" + std::to_string(leftOut) + " characters not shown) ... ";
    // Just past the bound the note is longer than what it stands for (so it never stands
    // for a single character).
    if (note.size() >= tail - head) {
        return {text.size(), text.size(), {}};
    }
    return {head, tail, std::u16string(note.begin(), note.end())};
}

std::u16string ShownText(std::u16string_view text)
{
    const TShownTextCut cut = ShownTextCut(text);
    if (cut.Note.empty()) {
        return std::u16string(text);
    }
    std::u16string shown(text.substr(0, cut.Head));
    shown += cut.Note;
    shown.append(text.substr(cut.Tail));
    return shown;
}

std::size_t WholeTextOffset(const TShownTextCut& cut, std::size_t shownOffset, bool selectionEnd)
{
    if (shownOffset <= cut.Head) {
        return shownOffset;
    }
    const std::size_t noteEnd = cut.Head + cut.Note.size();
    if (shownOffset < noteEnd) {
        return selectionEnd ? cut.Tail : cut.Head;
    }
    return cut.Tail + (shownOffset - noteEnd);
}
