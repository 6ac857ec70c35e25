#pragma once
// Gives the keyboard back when a window of the application that had it hides, where no
// window manager does: without one the X server leaves the keyboard with the root
// window, so Shift+F5, F5, F11 and typed letters were lost after any dialog or box
// closed (a run's PAUSE and INPUT boxes among them) until the user clicked. The
// keyboard goes to the window that had it before the hidden one showed, else to the
// window the hidden one belongs to, else to the main window: the first that still
// shows and takes the keyboard. Under a window manager nothing is done; it gives the
// keyboard back itself.
//
// Every object of the process passes through it, the web engine's among them (see
// MainFormEvents.h): it never dynamic_casts an object and remembers windows by their
// addresses.

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;
class QWindow;

class TKeyboardReturn : public QObject {
public:
    // Whether the keyboard is given back from `hidden` without us: true where a window
    // manager runs on its X display, and off X11, which this does not concern.
    using TManaged = std::function<bool(const QWindow& hidden)>;
    static bool WindowManagerRuns(const QWindow& hidden);

    // Watches the application's windows for as long as it lives; `main` takes the
    // keyboard when no other window can.
    explicit TKeyboardReturn(QWidget& main, TManaged managed = &WindowManagerRuns);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TShown {
        QPointer<QObject> Window; // the address may be reused once it has gone
        QPointer<QWidget> ActiveBefore;
    };

    QWidget& FMain;
    TManaged FManaged;
    // Keyed by the window's address, from its show until it hides.
    QHash<const QObject*, TShown> FShown;
};
