#pragma once
// Where the shell asks for a plug-in page to be shown: the plug-in window installs
// itself here (it creates its window, loads the page modally and frees it). Code insert
// items of the form "[LOADFILE],page,width,height" go through it, so the code insert
// needs no plug-in window of its own and tests answer with a fake.

#include "platform/core/InstallScope.h"

#include <QString>

class IPlugInLoader {
public:
    virtual ~IPlugInLoader() = default;
    // Shows the page `fileName` in a plug-in window of that size (0 x 0: the window's
    // own); `quiet` leaves a missing file unreported.
    virtual void LoadSimple(const QString& fileName, int width, int height, bool quiet) = 0;
};

// Installs `loader` (not owned; nullptr removes it) and returns the one it replaces.
inline IPlugInLoader* SetPlugInLoader(IPlugInLoader* loader)
{
    return TServiceSlot<IPlugInLoader>::Install(loader);
}
inline IPlugInLoader* PlugInLoader()
{
    return TServiceSlot<IPlugInLoader>::Installed();
}

using TPlugInLoaderScope = TInstallScope<IPlugInLoader, SetPlugInLoader>;
