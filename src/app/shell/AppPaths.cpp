#include "app/shell/AppPaths.h"

#include "platform/core/files/FolderLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The executable itself; /proc/self/exe serves before a Qt application exists.
QFileInfo Executable()
{
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath());
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

} // namespace

QString AppDir()
{
    const QString overridden = qEnvironmentVariable("KERFPAD_APP_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    return Executable().absolutePath();
}

QString MainSettingsFileName()
{
    return AppDir() + QLatin1Char('/') + Executable().completeBaseName() + QStringLiteral(".ini");
}

QString LogFileName()
{
    return AppDir() + QStringLiteral("/log.txt");
}

QString FindAppFile(const QString& name)
{
    std::filesystem::path found;
    if (!FindInFolder(AppDir().toStdString(), name.toStdString(), found))
        return {};
    return QString::fromStdString(found.string());
}
