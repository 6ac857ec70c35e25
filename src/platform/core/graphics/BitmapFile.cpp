#include "platform/core/graphics/BitmapFile.h"

#include "platform/core/files/Stream.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
// Refuse sizes that would exhaust memory before reading a single row.
constexpr std::int64_t MaxPixels = std::int64_t(1) << 28;

void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}
std::uint32_t Get16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t Get32(const std::uint8_t* p)
{
    return Get16(p) | Get16(p + 2) << 16;
}

} // namespace

void SaveBitmapToStream(const TBitmap& bitmap, TStream& stream)
{
    const int bytesPerPixel = bitmap.PixelFormat() == pf24bit ? 3 : 4;
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bytesPerPixel + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::uint8_t header[FileHeaderSize + InfoHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, FileHeaderSize + InfoHeaderSize + imageSize);
    Put32(header + 10, FileHeaderSize + InfoHeaderSize);
    std::uint8_t* info = header + FileHeaderSize;
    Put32(info, InfoHeaderSize);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height)); // positive: bottom row first
    Put16(info + 12, 1);
    Put16(info + 14, static_cast<std::uint32_t>(bytesPerPixel * 8));
    Put32(info + 20, imageSize);
    Put32(info + 24, 2835); // 72 dpi
    Put32(info + 28, 2835);
    stream.WriteBuffer(header, sizeof header);
    std::vector<std::uint8_t> row(stride, 0);
    const int sourceBytes = bitmap.BytesPerPixel();
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* src = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            std::memcpy(&row[static_cast<std::size_t>(x) * bytesPerPixel], src + x * sourceBytes, 3);
            if (bytesPerPixel == 4) {
                row[static_cast<std::size_t>(x) * 4 + 3] = sourceBytes == 4 ? src[x * 4 + 3] : 255;
            }
        }
        stream.WriteBuffer(row.data(), stride);
    }
}

void LoadBitmapFromStream(TBitmap& bitmap, TStream& stream)
{
    const std::int64_t start = stream.Position();
    std::uint8_t header[FileHeaderSize + InfoHeaderSize];
    stream.ReadBuffer(header, sizeof header);
    if (header[0] != 'B' || header[1] != 'M') {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    const std::uint8_t* info = header + FileHeaderSize;
    const std::uint32_t dataOffset = Get32(header + 10);
    const std::uint32_t infoSize = Get32(info);
    const std::int32_t width = static_cast<std::int32_t>(Get32(info + 4));
    const std::int32_t rawHeight = static_cast<std::int32_t>(Get32(info + 8));
    const std::uint32_t bits = Get16(info + 14);
    const std::uint32_t compression = Get32(info + 16);
    if (infoSize < InfoHeaderSize || (bits != 24 && bits != 32) || compression != 0 || width < 0 ||
        rawHeight == INT32_MIN || dataOffset < FileHeaderSize + infoSize) {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (static_cast<std::int64_t>(width) * height > MaxPixels) {
        throw EInvalidGraphic("Bitmap image is too large");
    }
    const int bytesPerPixel = static_cast<int>(bits / 8);
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t(3);
    // The rows must all be there before anything is allocated for them.
    if (stream.Size() - start < static_cast<std::int64_t>(dataOffset) + static_cast<std::int64_t>(stride) * height) {
        throw EReadError("Stream read error");
    }
    stream.SetPosition(start + dataOffset);
    TBitmap result;
    result.SetPixelFormat(bits == 24 ? pf24bit : pf32bit);
    result.SetSize(width, height);
    std::vector<std::uint8_t> row(stride);
    for (int i = 0; i < height; ++i) {
        stream.ReadBuffer(row.data(), static_cast<std::int64_t>(stride));
        const int y = topDown ? i : height - 1 - i;
        std::memcpy(result.ScanLine(y), row.data(), static_cast<std::size_t>(width) * bytesPerPixel);
    }
    bitmap.SetPixelFormat(result.PixelFormat());
    bitmap.Assign(&result);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    LoadBitmapFromStream(*this, stream);
}
