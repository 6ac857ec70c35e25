#pragma once
// The main window's watch on the application's events: the wheel anywhere over the main
// window (editor pages included) moves the preview, the window's resizes set the
// camera's focal length, and its first show gives the preview its stored width. The
// viewer's own window reports its wheel through the viewer's handler.
//
// Every object of the process passes through it, the web engine's among them, whose
// classes carry no run-time type information: it never dynamic_casts an object, and
// the sanitizer build leaves it out of the check of member calls against type records
// (src/app/CMakeLists.txt), which cannot judge such objects.

#include <QObject>

class TMainForm;

class TMainFormEvents : public QObject {
public:
    explicit TMainFormEvents(TMainForm& form);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainForm& FForm;
};
