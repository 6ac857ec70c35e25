#include "app/EditorPageHost.h"

#include <utility>

namespace {
IEditorPageHost* gHost = nullptr;
}

IEditorPageHost* SetEditorPageHost(IEditorPageHost* host)
{
    return std::exchange(gHost, host);
}

IEditorPageHost* EditorPageHost()
{
    return gHost;
}
