#pragma once
// Gives the keyboard back when a window of the application hides with it. Without a
// window manager the X server leaves the keyboard with the root window, so Shift+F5,
// F5, F11 and typed letters were lost after any dialog or box closed (a run's PAUSE and
// INPUT boxes among them, a file dialog closed by Return on its completion list) until
// the user clicked; and a window manager does not always give it back: openbox, told of
// two windows gone one after the other (the question before a Save As replaces a file,
// then the dialog), left it with a window of its own. The keyboard goes to the window
// that had it before the hidden one showed, else to the window the hidden one belongs
// to, else to the main window: the first that still shows and takes the keyboard.
//
// Every object of the process passes through it, the web engine's among them (see
// MainFormEvents.h): it never dynamic_casts an object and remembers windows by their
// addresses.

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

class TKeyboardReturn : public QObject {
public:
    // Watches the application's windows for as long as it lives; `main` takes the
    // keyboard when no other window can.
    explicit TKeyboardReturn(QWidget& main);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the keyboard went with `hidden`, asked as it hides.
    bool KeyboardLeftWith(const QWindow& hidden) const;

    struct TShown {
        QPointer<QObject> Window; // the address may be reused once it has gone
        QPointer<QWidget> ActiveBefore;
    };

    QWidget& FMain;
    // The window that has the keyboard by Qt's account, or was given it since; none once
    // the keyboard has left the application.
    QPointer<QWindow> FHolder;
    // Keyed by the window's address, from its show until it hides.
    QHash<const QObject*, TShown> FShown;
};
