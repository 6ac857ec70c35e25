#pragma once
// The plug-ins' side of the running program: the plug-in window for one modal use at a
// time (the Tools menu's whole window, or a single page through the plug-in loader of
// PlugInLoader.h), and at start-up the main window as the automation object's shell and
// the automation object on the D-Bus session bus.

#include "app/plugins/KerfpadInterface.h"
#include "app/plugins/PlugInLoader.h"

#include <QString>

#include <memory>

class TKerfpadBus;
class TMainForm;

// The whole plug-in window, modal: made into FPlugIns, shown, freed after. FPlugIns is
// nullptr again when this returns; the window itself goes on the next event pass
// (deleteLater), because a call from its own page may be what closed it.
void ExecutePlugInsWindow();

// The plug-in loader of the running program: a single page in a plug-in window made
// and freed as above.
class TPlugInWindowLoader : public IPlugInLoader {
public:
    void LoadSimple(const QString& fileName, int width, int height, bool quiet) override;
};

// Gives the focus to the main window's 3D view (its panel when there is no viewer).
void FocusPreviewView();

// The bus service's name while the program is on the bus; empty otherwise.
QString AutomationBusName();

// Made after the main window and freed before it: the bus object and the shell go
// before the simulator and the data module. Without a bus (or when it refuses the
// name) an "error" line goes to the log and start-up goes on.
class TPlugInServices {
public:
    TPlugInServices(TMainForm& window, bool withBus);
    ~TPlugInServices();
    TPlugInServices(const TPlugInServices&) = delete;
    TPlugInServices& operator=(const TPlugInServices&) = delete;

private:
    class TMainWindowShell;
    std::unique_ptr<TMainWindowShell> FShell;
    TAutomationShellScope FShellScope;
    TPlugInWindowLoader FLoader;
    TPlugInLoaderScope FLoaderScope{&FLoader};
    TKerfpadInterface FBusTarget;
    std::unique_ptr<TKerfpadBus> FBus;
};
