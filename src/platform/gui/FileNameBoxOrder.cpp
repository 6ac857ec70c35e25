#include "platform/gui/FileNameBoxOrder.h"

#include <QDir>

QStringList NamesInFileNameBox(const QString& text)
{
    if (!text.contains(QLatin1Char('"'))) {
        return text.isEmpty() ? QStringList() : QStringList{text};
    }
    // Every second part lies between a pair of quotes.
    const QStringList parts = text.split(QLatin1Char('"'));
    QStringList names;
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (!parts[i].isEmpty()) {
            names << parts[i];
        }
    }
    return names;
}

QStringList OrderAsNamedInBox(const QStringList& files, const QString& boxText, const QString& directory)
{
    const QDir folder(directory);
    QStringList left = files;
    QStringList ordered;
    for (const QString& name : NamesInFileNameBox(boxText)) {
        const QString path = QDir::cleanPath(folder.absoluteFilePath(name));
        for (qsizetype i = 0; i < left.size(); ++i) {
            if (QDir::cleanPath(left[i]) == path) {
                ordered << left.takeAt(i);
                break;
            }
        }
    }
    return ordered + left;
}
