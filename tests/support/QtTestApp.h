#pragma once
// A QApplication for tests in binaries without their own main(): made on first use,
// on whatever platform the environment names (offscreen for gui tests, xcb under Xvfb
// for gl tests), and kept for the rest of the process.

#include <QApplication>
#include <QElapsedTimer>

namespace testsupport {

inline void EnsureQApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kerfpad-test";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

// Processes events until `done` holds or `milliseconds` passed; returns `done`.
template <class F>
bool WaitFor(F&& done, int milliseconds = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

} // namespace testsupport
