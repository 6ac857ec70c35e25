#include "scene/base/ValueStream.h"

#include "platform/core/text/ExtendedFloat.h"
#include "scene/base/Utf8Text.h"

#include <cstring>

namespace {

void PutLE(std::uint8_t* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t GetLE(const std::uint8_t* in, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | in[i];
    }
    return v;
}

} // namespace

void TVirtualReader::ReadTypeError() const { throw EReadError(ClassName() + ", read type error"); }

// ---- TBinaryWriter ----

void TBinaryWriter::Write(const void* buffer, std::int64_t count) { Stream().WriteBuffer(buffer, count); }

void TBinaryWriter::WriteInteger(std::int32_t value)
{
    std::uint8_t buf[5];
    int size;
    if (value >= -128 && value <= 127) {
        buf[0] = vaInt8;
        size = 1;
    } else if (value >= -32768 && value <= 32767) {
        buf[0] = vaInt16;
        size = 2;
    } else {
        buf[0] = vaInt32;
        size = 4;
    }
    PutLE(buf + 1, static_cast<std::uint32_t>(value), size);
    Stream().WriteBuffer(buf, size + 1);
}

void TBinaryWriter::WriteBoolean(bool value)
{
    const std::uint8_t tag = value ? vaTrue : vaFalse;
    Stream().WriteBuffer(&tag, 1);
}

void TBinaryWriter::WriteString(std::string_view value)
{
    std::uint8_t head[5];
    int headSize;
    if (value.size() <= 255) {
        head[0] = vaString;
        head[1] = static_cast<std::uint8_t>(value.size());
        headSize = 2;
    } else {
        if (value.size() > 0x7FFFFFFFu) {
            throw EWriteError("String too long for the stream");
        }
        head[0] = vaLString;
        PutLE(head + 1, static_cast<std::uint32_t>(value.size()), 4);
        headSize = 5;
    }
    Stream().WriteBuffer(head, headSize);
    Stream().WriteBuffer(value.data(), static_cast<std::int64_t>(value.size()));
}

void TBinaryWriter::WriteFloat(double value)
{
    std::uint8_t buf[11];
    buf[0] = vaExtended;
    const TExtendedBytes bytes = EncodeExtended(value);
    std::memcpy(buf + 1, bytes.data(), bytes.size());
    Stream().WriteBuffer(buf, sizeof buf);
}

void TBinaryWriter::WriteListBegin()
{
    const std::uint8_t tag = vaList;
    Stream().WriteBuffer(&tag, 1);
}

void TBinaryWriter::WriteListEnd()
{
    const std::uint8_t tag = vaNull;
    Stream().WriteBuffer(&tag, 1);
}

// ---- TBinaryReader ----

void TBinaryReader::Read(void* buffer, std::int64_t count) { Stream().ReadBuffer(buffer, count); }

int TBinaryReader::ReadValue()
{
    std::uint8_t tag = vaNull;
    if (Stream().Read(&tag, 1) != 1) {
        return vaNull;
    }
    return tag;
}

int TBinaryReader::NextValue()
{
    TStream& s = Stream();
    const std::int64_t position = s.Position();
    const int tag = ReadValue();
    s.SetPosition(position);
    return tag;
}

std::int32_t TBinaryReader::ReadInteger()
{
    std::uint8_t buf[4];
    switch (ReadValue()) {
    case vaInt8:
        Stream().ReadBuffer(buf, 1);
        return static_cast<std::int8_t>(buf[0]);
    case vaInt16:
        Stream().ReadBuffer(buf, 2);
        return static_cast<std::int16_t>(GetLE(buf, 2));
    case vaInt32:
        Stream().ReadBuffer(buf, 4);
        return static_cast<std::int32_t>(GetLE(buf, 4));
    default:
        ReadTypeError();
    }
}

bool TBinaryReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        ReadTypeError();
    }
}

std::uint32_t TBinaryReader::ReadLength(std::uint32_t unitSize)
{
    std::uint8_t buf[4];
    Stream().ReadBuffer(buf, 4);
    const std::uint32_t length = GetLE(buf, 4);
    if (static_cast<std::int64_t>(length) * unitSize > Stream().Remaining()) {
        throw EReadError("Stream read error");
    }
    return length;
}

std::string TBinaryReader::ReadString()
{
    switch (ReadValue()) {
    case vaString: {
        std::uint8_t length = 0;
        Stream().ReadBuffer(&length, 1);
        std::string out(length, '\0');
        Stream().ReadBuffer(out.data(), length);
        return out;
    }
    case vaLString: {
        std::string out(ReadLength(1), '\0');
        Stream().ReadBuffer(out.data(), static_cast<std::int64_t>(out.size()));
        return out;
    }
    case vaWString: {
        const std::uint32_t count = ReadLength(2);
        std::u16string units(count, u'\0');
        std::string raw(static_cast<std::size_t>(count) * 2, '\0');
        Stream().ReadBuffer(raw.data(), static_cast<std::int64_t>(raw.size()));
        for (std::uint32_t i = 0; i < count; ++i) {
            units[i] = static_cast<char16_t>(static_cast<std::uint8_t>(raw[2 * i]) |
                                             (static_cast<std::uint8_t>(raw[2 * i + 1]) << 8));
        }
        return WideToUTF8(units);
    }
    case vaUTF8String: {
        std::string raw(ReadLength(1), '\0');
        Stream().ReadBuffer(raw.data(), static_cast<std::int64_t>(raw.size()));
        return WideToUTF8(UTF8ToWide(raw));
    }
    default:
        ReadTypeError();
    }
}

double TBinaryReader::ReadFloat()
{
    if (ReadValue() != vaExtended) {
        ReadTypeError();
    }
    TExtendedBytes bytes{};
    Stream().ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return DecodeExtended(bytes);
}

void TBinaryReader::ReadListBegin()
{
    if (ReadValue() != vaList) {
        ReadTypeError();
    }
}

void TBinaryReader::ReadListEnd()
{
    if (ReadValue() != vaNull) {
        ReadTypeError();
    }
}
