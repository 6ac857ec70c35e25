#include "platform/gui/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include <utility>

namespace {
std::function<bool(const QString&)>& Hook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}
} // namespace

bool ShellOpen(const QString& target)
{
    if (Hook()) {
        return Hook()(target);
    }
    const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

std::function<bool(const QString&)> SetShellOpenHook(std::function<bool(const QString&)> hook)
{
    return std::exchange(Hook(), std::move(hook));
}
