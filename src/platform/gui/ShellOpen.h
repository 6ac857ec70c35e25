#pragma once
// The desktop's "open" of a file, a folder or a web address, through one replaceable
// hook so tests see what would have opened instead of starting programs.

#include <QString>

#include <functional>

// True when the desktop took the request. A local path opens as a file or folder,
// anything with a scheme ("https://...") as that address.
bool ShellOpen(const QString& target);
// nullptr goes back to the desktop. Returns the previous hook.
std::function<bool(const QString&)> SetShellOpenHook(std::function<bool(const QString&)> hook);
