#include "app/shell/DelimitedText.h"

namespace {

constexpr QChar Quote = QLatin1Char('"');

// Characters 1 to 32 separate fields; character 0 ends the text, as in the platform.
bool IsBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

QStringList SplitDelimitedText(QChar separator, const QString& text)
{
    QStringList fields;
    const qsizetype terminator = text.indexOf(QChar(0));
    const qsizetype end = terminator < 0 ? text.size() : terminator;
    qsizetype p = 0;
    while (p < end && IsBlank(text[p]))
        ++p;
    while (p < end) {
        QString field;
        if (text[p] == Quote) {
            ++p;
            while (p < end) {
                if (text[p] == Quote) {
                    if (p + 1 < end && text[p + 1] == Quote) {
                        field += Quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += text[p++];
            }
        } else {
            const qsizetype from = p;
            while (p < end && text[p].unicode() > 32 && text[p] != separator)
                ++p;
            field = text.mid(from, p - from);
        }
        fields << field;
        while (p < end && IsBlank(text[p]))
            ++p;
        if (p < end && text[p] == separator) {
            if (p + 1 == end)
                fields << QString();
            do {
                ++p;
            } while (p < end && IsBlank(text[p]));
        }
    }
    return fields;
}
