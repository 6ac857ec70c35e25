#include "platform/core/Stream.h"

#include "platform/core/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

std::int64_t SeekTarget(std::int64_t current, std::int64_t size, std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case TSeekOrigin::soBeginning:
        return offset;
    case TSeekOrigin::soCurrent:
        return current + offset;
    case TSeekOrigin::soEnd:
        return size + offset;
    }
    return current;
}

// ---- TStream ----

std::int64_t TStream::Size()
{
    const std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count) {
        throw EReadError("Stream read error");
    }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count) {
        throw EWriteError("Stream write error");
    }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr std::int64_t chunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(count, chunk)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min(left, chunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream ----

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    SetSize(size);
    position_ = 0;
    if (size > 0) {
        source.ReadBuffer(data_.data(), size);
    }
}

void TMemoryStream::SaveToStream(TStream& dest)
{
    if (!data_.empty()) {
        dest.WriteBuffer(data_.data(), Size());
    }
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TStringStream ----

std::string TStringStream::ReadString(std::int64_t count)
{
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, Size() - position_));
    std::string out = data_.substr(static_cast<std::size_t>(position_), static_cast<std::size_t>(n));
    position_ += n;
    return out;
}

void TStringStream::WriteString(const std::string& text)
{
    Write(text.data(), static_cast<std::int64_t>(text.size()));
}

// ---- TFileStream ----

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName)
{
    if (mode == fmCreate) {
        fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        }
        return;
    }
    int flags = O_RDONLY;
    switch (mode & 0x3) {
    case fmOpenWrite:
        flags = O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags = O_RDWR;
        break;
    default:
        break;
    }
    std::string kind;
    fd_ = OpenRegularFile(fileName, flags, kind);
    if (fd_ < 0) {
        throw EFOpenError("Cannot open file \"" + fileName + "\". " +
                          (kind.empty() ? std::string(std::strerror(errno)) : "Is a " + kind));
    }
}

TFileStream::~TFileStream() { Close(); }

bool TFileStream::Close()
{
    if (fd_ < 0) {
        return true;
    }
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

namespace {

// Repeats a partial read or write until `count` bytes have moved, the end is reached
// or an error other than an interruption occurs; returns the bytes moved.
template <class Transfer>
std::int64_t TransferAll(std::int64_t count, Transfer transfer)
{
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += n;
    }
    return done;
}

} // namespace

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    return TransferAll(count, [&](std::int64_t done) {
        return ::read(fd_, out + done, static_cast<std::size_t>(count - done));
    });
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    return TransferAll(count, [&](std::int64_t done) {
        return ::write(fd_, in + done, static_cast<std::size_t>(count - done));
    });
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    int whence = SEEK_SET;
    if (origin == TSeekOrigin::soCurrent) {
        whence = SEEK_CUR;
    } else if (origin == TSeekOrigin::soEnd) {
        whence = SEEK_END;
    }
    const off_t p = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (p < 0) {
        throw EStreamError("Cannot seek in file \"" + fileName_ + "\". " + std::strerror(errno));
    }
    return p;
}

void TFileStream::SetSize(std::int64_t size)
{
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        throw EStreamError("Cannot resize file \"" + fileName_ + "\". " + std::strerror(errno));
    }
    if (Position() > size) {
        Seek(size, TSeekOrigin::soBeginning);
    }
}
