#include "platform/gui/X11Connection.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

xcb_connection_t* QtX11Connection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app != nullptr ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}
