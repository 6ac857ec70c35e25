#include "editor/document/CodeCharSet.h"

#include <QString>

#include <algorithm>
#include <iterator>

TCodeCharSet TextToCharSet(QStringView text)
{
    TCodeCharSet set;
    for (QChar c : text) {
        set.Include(c.unicode());
    }
    return set;
}

QString CharSetToText(const TCodeCharSet& set)
{
    QString text;
    for (char16_t c = 1; c < 256; ++c) {
        if (std::find(std::begin(AlwaysDelimiters), std::end(AlwaysDelimiters), c) == std::end(AlwaysDelimiters) &&
            set.Contains(c)) {
            text += QChar(c);
        }
    }
    return text;
}
