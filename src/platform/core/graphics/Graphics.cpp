#include "platform/core/graphics/Graphics.h"

#include "platform/core/Assert.h"
#include "platform/core/files/Stream.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

TBitmap::TFactory platformFactory = nullptr;

} // namespace

void TGraphic::LoadFromStream(TStream&)
{
    throw EConvertError("Cannot load a " + ClassName() + " from a stream");
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(stream);
}

TBitmap::TBitmap() = default;

TBitmap* TBitmap::Create()
{
    return platformFactory ? platformFactory() : new TBitmap();
}

void TBitmap::SetPlatformFactory(TFactory factory)
{
    platformFactory = factory;
}

void TBitmap::Reallocate(int width, int height, int bytesPerPixel)
{
    FStride = static_cast<int>((std::int64_t(width) * bytesPerPixel + 3) & ~std::int64_t(3));
    FStorage.assign(static_cast<std::size_t>(FStride) * static_cast<std::size_t>(height), 0);
    FBits = FStorage.empty() ? nullptr : FStorage.data();
}

void TBitmap::Rebuild(int width, int height, TPixelFormat format)
{
    // Rows longer than an int can count are refused before anything changes.
    KP_ASSERT(width >= 0 && height >= 0 && std::int64_t(width) * 4 + 3 <= INT32_MAX);
    if (width == FWidth && height == FHeight && format == FPixelFormat && (FBits || width == 0 || height == 0)) {
        return;
    }
    // Keep the overlapping part, as a resized bitmap keeps its top-left pixels.
    TBitmap old;
    const bool keep = FBits && FWidth > 0 && FHeight > 0;
    if (keep) {
        old.Rebuild(FWidth, FHeight, FPixelFormat);
        for (int y = 0; y < FHeight; ++y) {
            std::memcpy(old.ScanLine(y), ScanLine(y), static_cast<std::size_t>(FWidth) * BytesPerPixel());
        }
    }
    FPixelFormat = format;
    FWidth = width;
    FHeight = height;
    Reallocate(width, height, BytesPerPixel());
    if (keep) {
        const int w = std::min(width, old.Width());
        const int h = std::min(height, old.Height());
        std::uint8_t bgra[4];
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* src = old.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = src + x * old.BytesPerPixel();
                bgra[0] = p[0];
                bgra[1] = p[1];
                bgra[2] = p[2];
                bgra[3] = old.BytesPerPixel() == 4 ? p[3] : 255;
                SetPixel(x, y, bgra);
            }
        }
    }
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    Rebuild(FWidth, FHeight, format);
}

void TBitmap::SetSize(int width, int height)
{
    Rebuild(width, height, FPixelFormat);
}

std::uint8_t* TBitmap::ScanLine(int row)
{
    KP_ASSERT(row >= 0 && row < FHeight && FBits);
    return FBits + static_cast<std::size_t>(row) * FStride;
}

const std::uint8_t* TBitmap::ScanLine(int row) const
{
    KP_ASSERT(row >= 0 && row < FHeight && FBits);
    return FBits + static_cast<std::size_t>(row) * FStride;
}

void TBitmap::SetPixel(int x, int y, const std::uint8_t* bgra)
{
    std::memcpy(ScanLine(y) + x * BytesPerPixel(), bgra, BytesPerPixel());
}

void TBitmap::Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red, std::uint8_t alpha)
{
    const std::uint8_t bgra[4] = {blue, green, red, alpha};
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            SetPixel(x, y, bgra);
        }
    }
}

void TBitmap::Draw(int x, int y, const TGraphic& graphic)
{
    graphic.DrawOn(*this, Rect(x, y, x + graphic.Width(), y + graphic.Height()));
}

void TBitmap::StretchDraw(const TRect& dest, const TGraphic& graphic)
{
    graphic.DrawOn(*this, dest);
}

void TBitmap::DrawOn(TBitmap& target, const TRect& dest) const
{
    const int bpp = BytesPerPixel();
    StretchPixels(target, dest, FWidth, FHeight, [&](int sx, int sy, std::uint8_t* bgra) {
        const std::uint8_t* p = ScanLine(sy) + sx * bpp;
        bgra[0] = p[0];
        bgra[1] = p[1];
        bgra[2] = p[2];
        bgra[3] = bpp == 4 ? p[3] : 255;
    });
}

void TBitmap::Assign(const TPersistent* source)
{
    if (const TBitmap* other = ObjectCast<TBitmap>(source)) {
        if (other == this) {
            return;
        }
        Rebuild(0, 0, other->PixelFormat());
        Rebuild(other->Width(), other->Height(), other->PixelFormat());
        const std::size_t rowBytes = static_cast<std::size_t>(FWidth) * BytesPerPixel();
        for (int y = 0; y < FHeight; ++y) {
            std::memcpy(ScanLine(y), other->ScanLine(y), rowBytes);
        }
        return;
    }
    TGraphic::Assign(source);
}
