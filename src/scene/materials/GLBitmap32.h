#pragma once
// The 32-bit RGBA image every texture passes through on its way to OpenGL: filled from
// the platform's pictures, adjusted (alpha, brightness, gamma, normal map), uploaded as
// a texture image, or read back from the frame buffer and turned into a platform bitmap.
//
// Pixels are red, green, blue, alpha; rows follow each other without padding; row 0 is
// the bottom row of the picture (OpenGL's order) unless KeepRowOrder was set.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Graphics.h"
#include "platform/core/objects/Persistent.h"
#include "platform/core/graphics/Rect.h"
#include "scene/materials/TextureFilters.h"
#include "scene/base/OpenGLBinding.h"

#include <cstdint>
#include <memory>
#include <vector>

class TGLBitmap32 : public TPersistent {
    KP_CLASS(TGLBitmap32, TPersistent)
public:
    TGLBitmap32() = default;

    void Assign(const TPersistent* source) override;
    // Both need a pf24bit (or pf32bit) bitmap whose width is a multiple of 4.
    void AssignFrom24BitsBitmap(const TBitmap& bitmap);
    void AssignFrom32BitsBitmap(const TBitmap& bitmap);
    // A new platform bitmap (32 bits, top row first, blue-green-red-alpha), owned by the caller.
    std::unique_ptr<TBitmap> MakeVCLBitmap() const;
    // Reads the lower left corner of the frame buffer, Rect's size with the width
    // rounded down to a multiple of 4.
    void ReadPixels(const TRect& rect);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Rounded up to a multiple of 4. Growing zero-fills the new bytes.
    void SetWidth(int value);
    void SetHeight(int value);
    std::int32_t DataSize() const { return FWidth * FHeight * 4; }
    bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }
    std::uint8_t* Data() { return FData.empty() ? nullptr : FData.data(); }
    const std::uint8_t* Data() const { return FData.empty() ? nullptr : FData.data(); }
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;

    bool KeepRowOrder() const { return FKeepRowOrder; }
    void SetKeepRowOrder(bool value) { FKeepRowOrder = value; }

    void AlphaFromIntensity();
    void SqrtAlphaChannel();
    // Transparent exactly where red, green and blue equal the key (no system colours).
    void AlphaFromColorKey(TColor color);
    void AlphaFromColorKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void FillAlpha(std::uint8_t value);
    void InvertAlphaChannel();
    void BrightnessCorrection(float factor);
    void GammaCorrection(float gamma);
    // The green channel is the height.
    void HeightToNormalMap(bool wrapX, bool wrapY, float scale);

    // Uploads to the bound texture of `target`; width and height rounded up to powers of
    // two and limited to GL_MAX_TEXTURE_SIZE, returned through texWidth and texHeight.
    void UploadAsTexture(GLenum target, TGLMinFilter minFilter, GLint internalFormat, int& texWidth,
                         int& texHeight) const;

private:
    // Blue-green-red(-alpha) rows of a platform bitmap into our bottom-up RGBA rows.
    void CopyFromBitmap(const TBitmap& bitmap, int bytesPerPixel);
    void Resize();
    void ApplyTable(const std::uint8_t* table);

    std::vector<std::uint8_t> FData;
    std::int32_t FWidth = 0;
    std::int32_t FHeight = 0;
    bool FKeepRowOrder = false;
};

// The float RGBA internal formats (ATI and NV), which upload as storage only.
bool IsFloatInternalFormat(GLint format);
