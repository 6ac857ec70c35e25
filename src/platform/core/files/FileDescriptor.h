#pragma once
// An open file that closes itself. It has one owner at a time (it moves, it does not
// copy), so no descriptor is lost on an error's way out or closed twice. Every read and
// write goes through its one loop, which goes on after an interruption or a short
// transfer. Files a user or a settings file names are opened through OpenRegularFile
// (RegularFile.h), which gives one of these.
//
// A descriptor opened non-blocking (OpenRegularFile opens them so) never waits in a
// read: a file that has no data yet, such as a kernel log that stat calls a regular
// file, fails with EAGAIN instead of holding the program's one user-interface thread.

#include <algorithm>
#include <cstdint>
#include <cstdio>

struct stat;

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    // Adopts `fd`; -1 is none.
    explicit TFileDescriptor(int fd) noexcept : fd_(fd) {}
    TFileDescriptor(TFileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept;
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() { Close(); }

    bool IsOpen() const { return fd_ >= 0; }

    // Move `count` bytes unless the end of the file or an error comes first; they return
    // the bytes moved and set `error` to 0, or to the errno of the failure (EAGAIN: the
    // read would have waited).
    std::int64_t Read(void* buffer, std::int64_t count, int& error);
    std::int64_t Write(const void* buffer, std::int64_t count, int& error);
    // Replaces `bytes` (a std::string or a QByteArray) with everything from the position
    // to the end; 0, or the errno of the failure, `bytes` then empty.
    template <class Bytes>
    int ReadToEnd(Bytes& bytes);

    // The new position, or -1 with errno; `whence` is SEEK_SET, SEEK_CUR or SEEK_END.
    std::int64_t Seek(std::int64_t offset, int whence);
    // What the system says of the open file (fstat); false with errno set.
    bool Status(struct stat& info) const;
    // The size the system reports now, or -1 with errno.
    std::int64_t Size() const;
    // These return false with errno set when the system refuses.
    bool Truncate(std::int64_t size);
    bool Sync();
    bool SetPermissions(unsigned mode);
    // Closes now (the destructor does it otherwise); false with errno set when the system
    // reports a failure, which for a file just written can mean its data is lost.
    bool Close();

private:
    int fd_ = -1;
};

template <class Bytes>
int TFileDescriptor::ReadToEnd(Bytes& bytes)
{
    using TSize = typename Bytes::size_type;
    // Room for the size the system reports and one byte more, so the end of a file of
    // that size is seen without a second round; a file whose size says nothing (a
    // kernel's text file says 0) gets more room each round.
    const std::int64_t position = Seek(0, SEEK_CUR);
    const std::int64_t size = Size();
    std::int64_t room = std::max<std::int64_t>(size > position && position >= 0 ? size - position + 1 : 0, 16384);
    std::int64_t have = 0;
    for (;;) {
        bytes.resize(static_cast<TSize>(have + room));
        int error = 0;
        const std::int64_t got = Read(bytes.data() + have, room, error);
        have += got;
        if (error != 0) {
            bytes.resize(0);
            return error;
        }
        if (got < room) {
            break;
        }
        room = have;
    }
    bytes.resize(static_cast<TSize>(have));
    return 0;
}
