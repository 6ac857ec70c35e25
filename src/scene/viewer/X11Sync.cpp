#include "scene/viewer/X11Sync.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

void SyncQtX11Connection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) {
        return;
    }
    if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
        if (Display* display = x11->display()) {
            XSync(display, False);
        }
    }
}
