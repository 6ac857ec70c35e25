#include "app/PlugInLoader.h"

#include <utility>

namespace {
IPlugInLoader* gLoader = nullptr;
}

IPlugInLoader* SetPlugInLoader(IPlugInLoader* loader)
{
    return std::exchange(gLoader, loader);
}

IPlugInLoader* PlugInLoader()
{
    return gLoader;
}
