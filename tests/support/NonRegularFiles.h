#pragma once
// Names in a test's folder that are no regular file, each with what a refusal says it
// is: a named pipe (under a TFifoWatchdog) and, where the test runs as root, a
// character device node of its own and a link to it. Unchanged() tells whether every
// one is still exactly what it was (type, device, link text): saving over one must not
// leave a regular file in its place. No name leads to a device of the system's: a
// broken refusal would replace it (a rename over a link to /dev/null replaces
// /dev/null).

#include "FifoWatchdog.h"

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace testsupport {

class TNonRegularFiles {
public:
    struct TEntry {
        std::string Name; // in the folder
        std::string Kind; // as NonRegularFileKind says
    };

    explicit TNonRegularFiles(const std::filesystem::path& folder)
        : FFolder(folder), FPipe((folder / "pipe.sbp").string())
    {
        Entries.push_back({"pipe.sbp", "named pipe"});
        // Making a device node takes root.
        if (::mknod((folder / "node.sbp").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
            std::filesystem::create_symlink("node.sbp", folder / "to-node.sbp");
            Entries.push_back({"node.sbp", "character device"});
            Entries.push_back({"to-node.sbp", "character device"});
        }
        for (const TEntry& entry : Entries) {
            FBefore.push_back(Look(entry.Name));
        }
    }

    bool Made() const { return FPipe.Made(); }
    // Something waited on the pipe until the watchdog ended the wait.
    bool Waited() const { return FPipe.Fired(); }
    std::string Path(const TEntry& entry) const { return (FFolder / entry.Name).string(); }
    // "Not a regular file: "<path>" is a <kind>."
    std::string Refusal(const TEntry& entry) const
    {
        return "Not a regular file: \"" + Path(entry) + "\" is a " + entry.Kind + ".";
    }
    bool Unchanged() const
    {
        for (std::size_t i = 0; i < Entries.size(); ++i) {
            if (Look(Entries[i].Name) != FBefore[i]) {
                return false;
            }
        }
        return true;
    }

    std::vector<TEntry> Entries;

private:
    // The type, the device and the link text of a name.
    std::string Look(const std::string& name) const
    {
        struct stat info {};
        if (::lstat((FFolder / name).c_str(), &info) != 0) {
            return "missing";
        }
        std::error_code error;
        const std::string link = S_ISLNK(info.st_mode) ? std::filesystem::read_symlink(FFolder / name, error).string()
                                                       : std::string();
        return std::to_string(info.st_mode & S_IFMT) + " " + std::to_string(info.st_rdev) + " " + link;
    }

    std::filesystem::path FFolder;
    TFifoWatchdog FPipe;
    std::vector<std::string> FBefore;
};

} // namespace testsupport
