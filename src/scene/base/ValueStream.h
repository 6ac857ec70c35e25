#pragma once
// Typed values on a byte stream: persistent objects write integers, booleans, strings,
// floats and nested lists through an abstract writer and read them back through an
// abstract reader. TBinaryWriter/TBinaryReader use the compact tagged format: one tag
// byte, then the payload, multi-byte numbers little-endian.

#include "platform/core/objects/Object.h"
#include "platform/core/files/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The tag bytes of the binary format.
enum TValueTag : std::uint8_t {
    vaNull = 0,      // end of list
    vaList = 1,      // begin of list
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,  // 10-byte x87 extended float
    vaString = 6,    // 1-byte length
    vaFalse = 8,
    vaTrue = 9,
    vaLString = 12,  // 4-byte length
    vaWString = 18,  // 4-byte count of UTF-16 units (read only)
    vaUTF8String = 20, // 4-byte byte count (read only)
};

class TVirtualWriter : public TObject {
    KP_CLASS(TVirtualWriter, TObject)
public:
    // The stream is not owned.
    explicit TVirtualWriter(TStream& stream) : stream_(stream) {}
    TStream& Stream() const { return stream_; }

    // Raw bytes, no tag.
    virtual void Write(const void* buffer, std::int64_t count) = 0;
    virtual void WriteInteger(std::int32_t value) = 0;
    virtual void WriteBoolean(bool value) = 0;
    virtual void WriteString(std::string_view value) = 0;
    virtual void WriteFloat(double value) = 0;
    virtual void WriteListBegin() = 0;
    virtual void WriteListEnd() = 0;

private:
    TStream& stream_;
};

class TVirtualReader : public TObject {
    KP_CLASS(TVirtualReader, TObject)
public:
    explicit TVirtualReader(TStream& stream) : stream_(stream) {}
    TStream& Stream() const { return stream_; }

    // Raw bytes, no tag; EReadError when the stream ends first.
    virtual void Read(void* buffer, std::int64_t count) = 0;
    // The tag of the next value without consuming it.
    virtual int NextValue() = 0;
    virtual std::int32_t ReadInteger() = 0;
    virtual bool ReadBoolean() = 0;
    virtual std::string ReadString() = 0;
    virtual double ReadFloat() = 0;
    virtual void ReadListBegin() = 0;
    virtual void ReadListEnd() = 0;
    virtual bool EndOfList() { return NextValue() == vaNull; }

    // EReadError "<reader class>, read type error".
    [[noreturn]] void ReadTypeError() const;

private:
    TStream& stream_;
};

using TVirtualWriterClass = std::unique_ptr<TVirtualWriter> (*)(TStream&);
using TVirtualReaderClass = std::unique_ptr<TVirtualReader> (*)(TStream&);

template <class W>
std::unique_ptr<TVirtualWriter> MakeWriter(TStream& stream)
{
    return std::make_unique<W>(stream);
}
template <class R>
std::unique_ptr<TVirtualReader> MakeReader(TStream& stream)
{
    return std::make_unique<R>(stream);
}

class TBinaryWriter : public TVirtualWriter {
    KP_CLASS(TBinaryWriter, TVirtualWriter)
public:
    using TVirtualWriter::TVirtualWriter;

    void Write(const void* buffer, std::int64_t count) override;
    // The smallest of tags 2, 3 and 4 that holds the value.
    void WriteInteger(std::int32_t value) override;
    void WriteBoolean(bool value) override;
    // Tag 6 up to 255 bytes, tag 12 above.
    void WriteString(std::string_view value) override;
    // Always the 10-byte extended form.
    void WriteFloat(double value) override;
    void WriteListBegin() override;
    void WriteListEnd() override;
};

// Every read consumes the tag; a tag the read does not accept raises the read type
// error and leaves its payload unread. A stream that ends before a tag reads as the
// end of a list; one that ends inside a payload raises EReadError.
class TBinaryReader : public TVirtualReader {
    KP_CLASS(TBinaryReader, TVirtualReader)
public:
    using TVirtualReader::TVirtualReader;

    void Read(void* buffer, std::int64_t count) override;
    int NextValue() override;
    std::int32_t ReadInteger() override;
    bool ReadBoolean() override;
    // Tags 6, 12, 18 (UTF-16, converted to UTF-8) and 20 (UTF-8).
    std::string ReadString() override;
    double ReadFloat() override;
    void ReadListBegin() override;
    void ReadListEnd() override;

    // Consumes one tag byte; 0 when the stream has nothing left.
    int ReadValue();

private:
    // A length that cannot fit in what is left of the stream is a read error, so a
    // damaged length never allocates gigabytes.
    std::uint32_t ReadLength(std::uint32_t unitSize);
};
