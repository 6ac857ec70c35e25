#include "app/run/ShownText.h"

namespace {

// Code points: one per code unit but the low half of each surrogate pair. Written
// without branches, so that ten million characters take a few milliseconds.
qsizetype CodePointCount(QStringView text)
{
    qsizetype pairs = 0;
    const char16_t* p = text.utf16();
    for (qsizetype i = 1; i < text.size(); ++i) {
        pairs += ((p[i - 1] & 0xFC00) == 0xD800) & ((p[i] & 0xFC00) == 0xDC00);
    }
    return text.size() - pairs;
}

} // namespace

QString ShownText(const QString& text)
{
    if (text.size() <= MaxShownTextLength) {
        return text;
    }
    qsizetype cut = MaxShownTextLength;
    if (text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate()) {
        --cut;
    }
    const qsizetype leftOut = CodePointCount(QStringView(text).mid(cut));
    return text.left(cut) + QStringLiteral(" ... (%1 more character%2 not shown)")
                                .arg(leftOut)
                                .arg(leftOut == 1 ? QString() : QStringLiteral("s"));
}
