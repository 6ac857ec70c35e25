#pragma once
// Alt+F4 closes the window it is pressed in, every window and dialog of the application:
// a window manager binds it for itself, but without one nobody did, so only the main
// window (whose Exit action it is) closed. Every object of the process passes through
// it, the web engine's among them (see MainFormEvents.h): it never dynamic_casts an
// object.

#include <QObject>

class QKeyEvent;

// Whether a key press is Alt+F4.
bool IsWindowCloseKey(const QKeyEvent& event);

class TWindowCloseKey : public QObject {
public:
    // Watches the application's windows for as long as it lives.
    TWindowCloseKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
