#include "platform/core/files/FileDescriptor.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Repeats a partial transfer until `count` bytes have moved, the end is reached or an
// error other than an interruption occurs.
template <class Transfer>
std::int64_t TransferAll(std::int64_t count, int& error, Transfer transfer)
{
    error = 0;
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n = transfer(done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

} // namespace

TFileDescriptor& TFileDescriptor::operator=(TFileDescriptor&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

std::int64_t TFileDescriptor::Read(void* buffer, std::int64_t count, int& error)
{
    auto* out = static_cast<char*>(buffer);
    return TransferAll(count, error, [&](std::int64_t done) {
        return ::read(fd_, out + done, static_cast<std::size_t>(count - done));
    });
}

std::int64_t TFileDescriptor::Write(const void* buffer, std::int64_t count, int& error)
{
    const auto* in = static_cast<const char*>(buffer);
    return TransferAll(count, error, [&](std::int64_t done) {
        return ::write(fd_, in + done, static_cast<std::size_t>(count - done));
    });
}

std::int64_t TFileDescriptor::Seek(std::int64_t offset, int whence)
{
    return ::lseek(fd_, static_cast<off_t>(offset), whence);
}

bool TFileDescriptor::Status(struct stat& info) const
{
    return ::fstat(fd_, &info) == 0;
}

std::int64_t TFileDescriptor::Size() const
{
    struct stat info {};
    return Status(info) ? info.st_size : -1;
}

bool TFileDescriptor::Truncate(std::int64_t size)
{
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool TFileDescriptor::Sync()
{
    return ::fsync(fd_) == 0;
}

bool TFileDescriptor::SetPermissions(unsigned mode)
{
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0;
}

bool TFileDescriptor::Close()
{
    if (fd_ < 0) {
        return true;
    }
    const int fd = fd_;
    fd_ = -1;
    // Never retried: the descriptor is gone even when close reports an error, and closing
    // it again could close one another thread has just been given.
    return ::close(fd) == 0;
}
