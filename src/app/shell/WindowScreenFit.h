#pragma once
// Keeps every window of the application within the screen it opens on: each top-level
// window and dialog, as it is about to show, is made no larger than the screen's
// available area and, where the program placed it, moved wholly inside it
// (KeepInsideScreen, WindowBounds.h). The windows keep their own sizes where the screen
// holds them: the quick view's 702 pixels, the help's 640 and the test runner's fixed
// 570 ran off a screen of 800 x 600. Every object of the process passes through it, the
// web engine's among them (see MainFormEvents.h): it never dynamic_casts an object.

#include <QObject>

class TWindowScreenFit : public QObject {
public:
    // Watches the application's windows for as long as it lives.
    TWindowScreenFit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
