#include "app/shell/CommandHints.h"

#include "app/shell/TextFileLines.h"

bool TCommandHints::LoadFromFile(const QString& fileName)
{
    FHasList = ReadTextFileLines(fileName, FLines);
    return FHasList;
}

void TCommandHints::SetLines(const QStringList& lines)
{
    FLines = lines;
    FHasList = true;
}

QString TCommandHints::Hint(const QString& word) const
{
    if (!FHasList)
        return {};
    const QString key = word + QLatin1Char('~');
    for (const QString& line : FLines)
        if (line.startsWith(key, Qt::CaseSensitive))
            return line.mid(key.size());
    return {};
}
