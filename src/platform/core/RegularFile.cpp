#include "platform/core/RegularFile.h"

#include <cerrno>

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
    return "device";
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

int OpenRegularFile(const std::string& fileName, int flags, std::string& kind)
{
    // A device is not opened at all: opening one can rewind a tape or hang up a line.
    kind = NonRegularFileKind(fileName);
    if (!kind.empty()) {
        return -1;
    }
    // Should the name have become a pipe since, its opening does not wait for the
    // other end.
    const int fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    kind = KindOf(info.st_mode);
    if (!kind.empty()) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
