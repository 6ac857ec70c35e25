#include "platform/core/files/RegularFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string KindOf(mode_t mode)
{
    if (S_ISREG(mode)) {
        return {};
    }
    if (S_ISDIR(mode)) {
        return "directory";
    }
    if (S_ISFIFO(mode)) {
        return "named pipe";
    }
    if (S_ISSOCK(mode)) {
        return "socket";
    }
    if (S_ISBLK(mode)) {
        return "block device";
    }
    return "character device";
}

int OpenFlags(TFileAccess access)
{
    switch (access) {
    case TFileAccess::Read:
        return O_RDONLY;
    case TFileAccess::Write:
        return O_WRONLY;
    case TFileAccess::ReadWrite:
        return O_RDWR;
    case TFileAccess::Create:
        // Not O_TRUNC: the file is emptied only once it is known to be regular.
        return O_RDWR | O_CREAT;
    }
    return O_RDONLY;
}

} // namespace

std::string NonRegularFileKind(const std::string& fileName)
{
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) {
        return {};
    }
    return KindOf(info.st_mode);
}

std::string NotRegularFileMessage(const std::string& fileName, const std::string& kind)
{
    return "Not a regular file: \"" + fileName + "\" is a " + kind + ".";
}

std::string ReadErrorMessage(const std::string& fileName, int error)
{
    const std::string reason = error == EAGAIN || error == EWOULDBLOCK
                                   ? std::string("Reading it would wait for data that may never come.")
                                   : std::strerror(error);
    return "Error reading file \"" + fileName + "\". " + reason;
}

std::string WriteErrorMessage(const std::string& fileName, int error)
{
    return "Error writing file \"" + fileName + "\". " + std::strerror(error);
}

bool TOpenedFile::Missing() const
{
    return !IsOpen() && Kind.empty() && (Error == ENOENT || Error == ENOTDIR);
}

std::string TOpenedFile::Message(const std::string& fileName) const
{
    if (!Kind.empty()) {
        return NotRegularFileMessage(fileName, Kind);
    }
    const char* verb = Access == TFileAccess::Create ? "Cannot create file \"" : "Cannot open file \"";
    return verb + fileName + "\". " + std::strerror(Error);
}

TOpenedFile OpenRegularFile(const std::string& fileName, TFileAccess access)
{
    TOpenedFile opened;
    opened.Access = access;
    opened.Kind = NonRegularFileKind(fileName);
    if (!opened.Kind.empty()) {
        return opened;
    }
    // Should the name have become a pipe since, its opening does not wait for the
    // other end.
    TFileDescriptor file(::open(fileName.c_str(), OpenFlags(access) | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        opened.Error = errno;
        return opened;
    }
    struct stat info {};
    if (!file.Status(info)) {
        opened.Error = errno;
        return opened;
    }
    opened.Kind = KindOf(info.st_mode);
    if (!opened.Kind.empty()) {
        return opened;
    }
    if (access == TFileAccess::Create && info.st_size > 0 && !file.Truncate(0)) {
        opened.Error = errno;
        return opened;
    }
    opened.File = std::move(file);
    return opened;
}
