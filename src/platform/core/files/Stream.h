#pragma once
// Byte streams: the abstract TStream and its in-memory, string-backed and file forms.
// ReadBuffer/WriteBuffer raise EReadError/EWriteError when fewer bytes than asked for
// could be moved; Read/Write report how many bytes they moved.

#include "platform/core/Exceptions.h"
#include "platform/core/files/FileDescriptor.h"
#include "platform/core/objects/Object.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes: one access mode or'ed with one sharing mode, or fmCreate alone.
// Sharing modes are accepted for compatibility; POSIX files have no mandatory locks.
constexpr std::uint16_t fmCreate = 0xFFFF;
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;

// A file that could not be created or opened; the message names the file and the reason.
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};

class TStream : public TObject {
    KP_CLASS(TStream, TObject)
public:
    // Moves up to count bytes; returns how many were moved (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size) = 0;
    // Bytes between the position and the end.
    std::int64_t Remaining() { return Size() - Position(); }

    // All or nothing: EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    // Copies count bytes from the source's position; count 0 copies the whole source
    // from its start. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// The position a seek asks for (may be negative: the caller refuses that).
std::int64_t SeekTarget(std::int64_t position, std::int64_t size, std::int64_t offset, TSeekOrigin origin);

// The in-memory streams share one implementation over their byte container.
template <class Buffer>
class TBufferStream : public TStream {
public:
    TBufferStream() = default;
    explicit TBufferStream(Buffer data) : data_(std::move(data)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        const std::int64_t available = Size() - position_;
        if (count <= 0 || available <= 0) {
            return 0;
        }
        const std::int64_t n = count < available ? count : available;
        std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
        position_ += n;
        return n;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        if (count <= 0) {
            return 0;
        }
        const std::int64_t end = position_ + count;
        if (end > Size()) {
            data_.resize(static_cast<std::size_t>(end));
        }
        std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
        position_ = end;
        return count;
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override
    {
        const std::int64_t p = SeekTarget(position_, Size(), offset, origin);
        if (p < 0) {
            throw EStreamError("Stream seek before the beginning");
        }
        position_ = p;
        return position_;
    }

    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

    void SetSize(std::int64_t size) override
    {
        data_.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        if (position_ > Size()) {
            position_ = Size();
        }
    }

protected:
    Buffer data_;
    std::int64_t position_ = 0;
};

// A growable block of memory.
class TMemoryStream : public TBufferStream<std::vector<std::uint8_t>> {
    KP_CLASS(TMemoryStream, TStream)
public:
    void Clear();
    const std::uint8_t* Memory() const { return data_.data(); }
    std::uint8_t* Memory() { return data_.data(); }
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
};

// A stream over a string of bytes; DataString is the whole content.
class TStringStream : public TBufferStream<std::string> {
    KP_CLASS(TStringStream, TStream)
public:
    TStringStream() = default;
    explicit TStringStream(std::string data) : TBufferStream(std::move(data)) {}

    const std::string& DataString() const { return data_; }
    // Reads up to count bytes from the position as a string.
    std::string ReadString(std::int64_t count);
    void WriteString(const std::string& text);
};

// A regular file on disk (RegularFile.h: anything else is refused, nothing waits).
// fmCreate creates or empties the file for writing and reading; the other modes open
// an existing file.
//   EFCreateError: Cannot create file "<name>". <reason>
//   EFOpenError:   Cannot open file "<name>". <reason>
//   either, for a name that is no regular file: Not a regular file: "<name>" is a ...
// Read and Write raise EReadError "Error reading file "<name>". <reason>" and
// EWriteError "Error writing file "<name>". <reason>" when the system fails them (a
// read that would wait is such a failure); the end of the file is none.
class TFileStream : public TStream {
    KP_CLASS(TFileStream, TStream)
public:
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    // The name the stream was opened with; its messages name it.
    const std::string& FileName() const { return fileName_; }

protected:
    // Adopts an open file, named `fileName` in messages.
    TFileStream(TFileDescriptor file, const std::string& fileName);
    TFileDescriptor& File() { return file_; }
    // Closes the file; false (errno set) when the system reports a failure.
    bool Close();

private:
    std::string fileName_;
    TFileDescriptor file_;
};
