#include "platform/core/files/Stream.h"

#include "platform/core/files/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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

namespace {

TFileAccess AccessOf(std::uint16_t mode)
{
    if (mode == fmCreate) {
        return TFileAccess::Create;
    }
    switch (mode & 0x3) {
    case fmOpenWrite:
        return TFileAccess::Write;
    case fmOpenReadWrite:
        return TFileAccess::ReadWrite;
    default:
        return TFileAccess::Read;
    }
}

TFileDescriptor OpenFile(const std::string& fileName, std::uint16_t mode)
{
    TOpenedFile opened = OpenRegularFile(fileName, AccessOf(mode));
    if (!opened.IsOpen()) {
        if (mode == fmCreate) {
            throw EFCreateError(opened.Message(fileName));
        }
        throw EFOpenError(opened.Message(fileName));
    }
    return std::move(opened.File);
}

} // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : TFileStream(OpenFile(fileName, mode), fileName)
{
}

TFileStream::TFileStream(TFileDescriptor file, const std::string& fileName)
    : fileName_(fileName), file_(std::move(file))
{
}

TFileStream::~TFileStream() = default;

bool TFileStream::Close()
{
    return file_.Close();
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    int error = 0;
    const std::int64_t done = file_.Read(buffer, count, error);
    if (error != 0) {
        throw EReadError(ReadErrorMessage(fileName_, error));
    }
    return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    int error = 0;
    const std::int64_t done = file_.Write(buffer, count, error);
    if (error != 0) {
        throw EWriteError(WriteErrorMessage(fileName_, error));
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    int whence = SEEK_SET;
    if (origin == TSeekOrigin::soCurrent) {
        whence = SEEK_CUR;
    } else if (origin == TSeekOrigin::soEnd) {
        whence = SEEK_END;
    }
    const std::int64_t p = file_.Seek(offset, whence);
    if (p < 0) {
        throw EStreamError("Cannot seek in file \"" + fileName_ + "\". " + std::strerror(errno));
    }
    return p;
}

void TFileStream::SetSize(std::int64_t size)
{
    if (!file_.Truncate(size)) {
        throw EStreamError("Cannot resize file \"" + fileName_ + "\". " + std::strerror(errno));
    }
    if (Position() > size) {
        Seek(size, TSeekOrigin::soBeginning);
    }
}
