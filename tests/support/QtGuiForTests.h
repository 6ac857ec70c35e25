#pragma once
// Some Qt services (fonts among them) need a QGuiApplication. Tests that use them call
// EnsureQtGui(): it makes one the first time, on the offscreen platform unless the
// environment names another, and leaves an existing application alone.

#include <QGuiApplication>

#include <cstdlib>

namespace testsupport {

inline void EnsureQtGui()
{
    if (QCoreApplication::instance()) {
        return;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static int argc = 1;
    static char name[] = "kerfpad-tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace testsupport
