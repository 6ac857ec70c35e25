#include "platform/gui/QtShownText.h"

QString ShownText(const QString& text)
{
    if (text.size() <= MaxShownTextLength) {
        return text;
    }
    const std::u16string_view units(QStringView(text).utf16(), static_cast<std::size_t>(text.size()));
    const std::u16string shown = ShownText(units);
    // A cut is always shorter, so the same length is the text itself.
    if (shown.size() == units.size()) {
        return text;
    }
    return QString::fromStdU16String(shown);
}

TShownTextCut ShownTextCut(const QString& text)
{
    return ShownTextCut(std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())));
}
