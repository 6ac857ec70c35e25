#pragma once
// A QApplication for tests in binaries without their own main(): made on first use,
// on whatever platform the environment names (offscreen for gui tests, xcb under Xvfb
// for gl tests), and kept for the rest of the process.

#include "StateTimeout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

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

// Runs the event loop until `done` holds or `milliseconds` passed; returns whether it
// held, as last seen: a state read from the X server may pass on at once (openbox names
// no window active for a moment while it hands the keyboard on), and asking again would
// fail a wait that saw it. The loop sleeps while it has nothing to do (a test that spins
// takes the processor from the X server and the other processes it waits for), waking
// to look at `done` again.
template <class F>
bool WaitFor(F&& done, int milliseconds = StateTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(5);
    poll.start();
    bool held = done();
    while (!held && clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        held = done();
    }
    return held;
}

} // namespace testsupport
