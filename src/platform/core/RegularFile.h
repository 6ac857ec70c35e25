#pragma once
// Opening a file without waiting on it. Opening a named pipe waits until another
// program writes into it, and a device may never end its text; the program has one
// user-interface thread, which would wait with it. Files a user can name are opened
// through here, which refuses anything but a regular file (a symbolic link counts as
// what it points to).

#include <string>

// What a name that exists but is no regular file is: "directory", "named pipe",
// "socket" or "device"; empty for a regular file and for a name that cannot be looked
// at (opening it says why).
std::string NonRegularFileKind(const std::string& fileName);

// open(2) of a regular file with `flags` (O_RDONLY, O_WRONLY or O_RDWR; close-on-exec
// is added). -1 when it cannot be opened: `kind` then names what the name is when that
// is no regular file (see NonRegularFileKind), else it is empty and errno says why.
// What was opened is looked at again, since the name may have changed in between.
int OpenRegularFile(const std::string& fileName, int flags, std::string& kind);
