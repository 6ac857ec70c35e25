#pragma once
// The program's main block: the start-up registrations, the services the platform layer
// stands in for, the data module and its log, the windows in their order, the command
// line, the event loop, and the teardown after it. main() makes the application object
// and calls it; tests call it too, with their own services and loop.

#include <QApplication>
#include <QStringList>

#include <functional>

class TMainForm;

struct TMainBlockOptions {
    // The 3D viewer (a display with OpenGL).
    bool WithViewer = true;
    // The Qt dialogs, the registry file and the Qt event loop; tests install their own.
    bool InstallServices = true;
    // The automation object on the D-Bus session bus; always with the services above.
    bool WithAutomationBus = false;
    // What runs between start-up and teardown: the event loop unless replaced.
    std::function<int(TMainForm&)> Loop;
};

// The application object: an exception that escaped every handler is reported here
// instead of ending the program with the user's unsaved pages.
class TKerfpadApplication : public QApplication {
public:
    TKerfpadApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The start-up registrations: picture formats, classes, the Qt stand-ins the lower
// layers draw and measure with. Once per process; later calls do nothing.
void RegisterKerfpadClasses();

// Runs the program on `arguments` (each one opened as a file, switches too); the exit
// code of the loop.
int KerfpadMainBlock(const QStringList& arguments, const TMainBlockOptions& options = {});
