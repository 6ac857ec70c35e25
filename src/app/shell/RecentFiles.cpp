#include "app/shell/RecentFiles.h"

void TRecentFiles::Add(const QString& fileName)
{
    if (!fileName.isEmpty())
        Promote(fileName);
}

void TRecentFiles::Remove(const QString& fileName)
{
    for (qsizetype i = FItems.size() - 1; i >= 0; --i)
        if (FItems[i].compare(fileName, Qt::CaseInsensitive) == 0)
            FItems.removeAt(i);
}

void TRecentFiles::Promote(const QString& fileName)
{
    Remove(fileName);
    FItems.prepend(fileName);
    while (FItems.size() > Capacity)
        FItems.removeLast();
}
