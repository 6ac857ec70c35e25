#include "platform/gui/QtShownText.h"

QString ShownText(const QString& text)
{
    if (text.size() <= MaxShownTextLength) {
        return text;
    }
    const std::u16string_view units(QStringView(text).utf16(), static_cast<std::size_t>(text.size()));
    return QString::fromStdU16String(ShownText(units));
}
