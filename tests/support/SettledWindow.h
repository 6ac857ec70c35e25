#pragma once
// Waits for a window to settle instead of for a time: shown, exposed, and in step with
// the window system, its layout done, no resize, move or layout left to deliver. What a
// test then measures or takes a picture of is what the user would see. A wait that gives
// up after the generous `StateTimeoutMs` fails the test with what was still moving.
//
// For a test that shows that something does NOT happen, `RunEventLoopPast` runs the loop
// past a timer of the time it allows: whatever was due by then has been delivered.

#include "QtTestApp.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// Delivers every event posted before the call: a marker posted now arrives after them.
inline bool DeliverPostedEvents(int timeoutMs = StateTimeoutMs)
{
    QObject marker;
    bool arrived = false;
    QMetaObject::invokeMethod(&marker, [&arrived] { arrived = true; }, Qt::QueuedConnection);
    return WaitFor([&] { return arrived; }, timeoutMs);
}

// Records the events that lay out, resize, move, show, hide or expose anything while it
// lives; Changed() tells whether one went to `window` or to what it holds (its native
// child windows, a 3D viewer's among them). Objects are told apart by their addresses
// alone: the web engine's carry no type information, and a sanitized build judges every
// member call on them.
class TWindowChanges : public QObject {
public:
    explicit TWindowChanges(QWidget& window) : FWindow(window)
    {
        AddMembers();
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TWindowChanges() override { QCoreApplication::instance()->removeEventFilter(this); }
    TWindowChanges(const TWindowChanges&) = delete;
    TWindowChanges& operator=(const TWindowChanges&) = delete;

    bool Changed()
    {
        AddMembers();
        for (const QObject* target : FTargets) {
            if (FMembers.contains(target)) {
                return true;
            }
        }
        return false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::LayoutRequest:
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Expose:
        case QEvent::WindowStateChange:
        case QEvent::PlatformSurface:
            FTargets.insert(watched);
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The window, its widgets, its native window and the native windows inside that.
    void AddMembers()
    {
        FMembers.insert(&FWindow);
        for (const QObject* child : FWindow.findChildren<QObject*>()) {
            FMembers.insert(child);
        }
        if (const QWindow* handle = FWindow.windowHandle()) {
            FMembers.insert(handle);
            for (const QObject* child : handle->findChildren<QObject*>()) {
                FMembers.insert(child);
            }
        }
    }

    QWidget& FWindow;
    QSet<const QObject*> FMembers;
    QSet<const QObject*> FTargets;
};

// One pass in step with the window system: the events posted so far delivered, then the
// server's answers to every request so far read and delivered (`QGuiApplication::sync`,
// a round trip on X11), then what those posted. True when the pass brought `window` no
// change.
inline bool QuietPass(QWidget& window, int timeoutMs = StateTimeoutMs)
{
    TWindowChanges changes(window);
    if (!DeliverPostedEvents(timeoutMs)) {
        return false;
    }
    QGuiApplication::sync();
    return DeliverPostedEvents(timeoutMs) && !changes.Changed();
}

// Waits until `window` is shown, exposed and settled: a quiet pass (above) after which
// `settledToo`, what else the caller needs, holds.
inline ::testing::AssertionResult WaitForSettledWindow(QWidget& window, const std::function<bool()>& settledToo,
                                                       int timeoutMs = StateTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    std::string still;
    while (true) {
        const bool quiet = QuietPass(window, timeoutMs);
        const QWindow* handle = window.windowHandle();
        const bool exposed = window.isVisible() && handle != nullptr && handle->isExposed();
        if (quiet && exposed && settledToo()) {
            return ::testing::AssertionSuccess();
        }
        still = !exposed ? "not shown and exposed"
                : !quiet ? "still laid out, resized or moved"
                         : "not in the state asked";
        if (clock.elapsed() > timeoutMs) {
            return ::testing::AssertionFailure() << "the window " << window.objectName().toStdString()
                                                 << " did not settle in " << timeoutMs << " ms: " << still;
        }
    }
}

inline ::testing::AssertionResult WaitForSettledWindow(QWidget& window, int timeoutMs = StateTimeoutMs)
{
    return WaitForSettledWindow(window, [] { return true; }, timeoutMs);
}

// Runs the event loop until a precise timer of `interval`, started now, has fired: every
// event posted before and every timer due by then (an active one of that interval or
// shorter among them) has been delivered, however slowly the machine runs. Only for a
// test that shows something does not happen within `interval`.
inline void RunEventLoopPast(std::chrono::milliseconds interval)
{
    bool fired = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&fired] { fired = true; });
    timer.start(interval);
    while (!fired) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    DeliverPostedEvents();
}

} // namespace testsupport
