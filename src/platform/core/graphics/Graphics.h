#pragma once
// Pictures and pixel bitmaps without a window system: TGraphic is any picture that can
// paint itself into a bitmap, TBitmap a 24- or 32-bit pixel buffer with top-down rows
// in the platform's byte order (blue, green, red[, alpha]) and rows padded to 4 bytes.
//
// TBitmap keeps its pixels in memory of its own; platform/gui supplies a subclass over
// QImage and installs it as the platform bitmap (TBitmap::Create), so the scene and the
// engine stay free of Qt while the shell gets images it can show.

#include "platform/core/Exceptions.h"
#include "platform/core/objects/Persistent.h"
#include "platform/core/graphics/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;
class TStream;

// A picture file that cannot be read (damaged, unsupported or too large).
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TGraphic : public TPersistent {
    KP_CLASS(TGraphic, TPersistent)
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    // Paints the picture stretched over `dest` of `target`, clipped to the target.
    virtual void DrawOn(TBitmap& target, const TRect& dest) const = 0;

    // Pictures that come from files read them here; the base raises EConvertError.
    virtual void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
};

class TBitmap : public TGraphic {
    KP_CLASS(TBitmap, TGraphic)
public:
    TBitmap();

    // A new bitmap of the platform's class, owned by the caller.
    using TFactory = TBitmap* (*)();
    static TBitmap* Create();
    static void SetPlatformFactory(TFactory factory);

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // pf24bit stores 3 bytes a pixel; every other format 4.
    void SetPixelFormat(TPixelFormat format);
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }

    int BytesPerPixel() const { return FPixelFormat == pf24bit ? 3 : 4; }
    int BytesPerLine() const { return FStride; }
    // Row 0 is the top row. Raises EAssertionFailed outside 0..Height-1.
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;

    // Canvas.Draw and Canvas.StretchDraw.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& dest, const TGraphic& graphic);
    void Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red, std::uint8_t alpha = 255);

    void DrawOn(TBitmap& target, const TRect& dest) const override;
    void Assign(const TPersistent* source) override;
    // A bitmap file (platform/core/graphics/BitmapFile.h).
    void LoadFromStream(TStream& stream) override;

    // Writes one pixel given in blue, green, red, alpha order (alpha dropped at 24 bits).
    void SetPixel(int x, int y, const std::uint8_t* bgra);

protected:
    // Replaces the storage by zero-filled memory for the given size and pixel size and
    // points FBits and FStride at it. Subclasses keep their pixels elsewhere.
    virtual void Reallocate(int width, int height, int bytesPerPixel);

    std::uint8_t* FBits = nullptr;
    int FStride = 0;

private:
    void Rebuild(int width, int height, TPixelFormat format);

    std::vector<std::uint8_t> FStorage;
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
};

// Paints `source` (any pixel reader) stretched over dest of target, nearest pixel.
// `pixel(sx, sy, bgra)` fills the four bytes of source pixel (sx, sy), top-down.
template <class PixelReader>
void StretchPixels(TBitmap& target, const TRect& dest, int sourceWidth, int sourceHeight, PixelReader pixel)
{
    const int w = dest.Width();
    const int h = dest.Height();
    if (w <= 0 || h <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    std::uint8_t bgra[4];
    for (int y = 0; y < h; ++y) {
        const int ty = dest.Top + y;
        if (ty < 0 || ty >= target.Height()) {
            continue;
        }
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * sourceHeight / h);
        for (int x = 0; x < w; ++x) {
            const int tx = dest.Left + x;
            if (tx < 0 || tx >= target.Width()) {
                continue;
            }
            pixel(static_cast<int>(static_cast<std::int64_t>(x) * sourceWidth / w), sy, bgra);
            target.SetPixel(tx, ty, bgra);
        }
    }
}
