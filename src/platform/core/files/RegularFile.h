#pragma once
// Opening a file without waiting on it. Opening a named pipe waits until another
// program opens its other end, reading one or a device waits for data that may never
// come; the program has one user-interface thread, which would wait with it. Files a
// user or a settings file names are opened through here, which refuses anything but a
// regular file (a symbolic link counts as what it points to), and keeps what it opens
// non-blocking, so a file that stat calls regular but whose data must be waited for
// (a kernel log) fails its read instead of waiting (TFileDescriptor).

#include "platform/core/files/FileDescriptor.h"

#include <string>

// What a name that exists but is no regular file is: "directory", "named pipe",
// "socket", "character device" or "block device"; empty for a regular file and for a
// name that cannot be looked at (opening it says why).
std::string NonRegularFileKind(const std::string& fileName);

// The one refusal of a name that is no regular file, whichever way it came in:
//     Not a regular file: "/jobs/pipe.sbp" is a named pipe.
std::string NotRegularFileMessage(const std::string& fileName, const std::string& kind);
// A read that failed: "Error reading file "<name>". <reason>", the reason for EAGAIN
// saying that reading would wait.
std::string ReadErrorMessage(const std::string& fileName, int error);
// A write that failed: "Error writing file "<name>". <reason>".
std::string WriteErrorMessage(const std::string& fileName, int error);

enum class TFileAccess {
    Read,
    Write,
    ReadWrite,
    // Read and write, the file made when missing and emptied once it is known to be a
    // regular file.
    Create,
};

struct TOpenedFile {
    // Open when the file could be opened.
    TFileDescriptor File;
    // What the name is when it is no regular file (NonRegularFileKind).
    std::string Kind;
    // The errno when the system refused; 0 otherwise.
    int Error = 0;
    TFileAccess Access = TFileAccess::Read;

    bool IsOpen() const { return File.IsOpen(); }
    // Nothing of that name (also a path through something that is no folder).
    bool Missing() const;
    // Why it is not open: NotRegularFileMessage, else "Cannot open file "<name>". <reason>"
    // ("Cannot create file" for Create).
    std::string Message(const std::string& fileName) const;
};

// Opens a regular file, close-on-exec and non-blocking. A name that is no regular file
// is not opened at all (opening a device can rewind a tape or hang up a line), and
// what was opened is looked at again, since the name may have changed in between.
TOpenedFile OpenRegularFile(const std::string& fileName, TFileAccess access);
