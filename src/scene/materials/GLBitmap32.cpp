#include "scene/materials/GLBitmap32.h"

#include "platform/core/Assert.h"
#include "scene/base/Rounding.h"
#include "scene/base/ScalarMath.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr GLenum TextureRectangleNV = 0x84F5;
constexpr GLenum GenerateMipmapSGIS = 0x8191;

} // namespace

bool IsFloatInternalFormat(GLint format)
{
    return format == 0x888A || format == 0x888B || format == 0x881A || format == 0x8814;
}

void TGLBitmap32::Resize()
{
    // DataSize is a 32-bit count of bytes; larger images are refused, not wrapped.
    KP_ASSERT(std::int64_t(FWidth) * FHeight * 4 <= INT32_MAX);
    // std::vector zero-fills what it adds, so a grown image never shows stale memory.
    FData.resize(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight) * 4);
}

void TGLBitmap32::SetWidth(int value)
{
    KP_ASSERT(value >= 0 && value <= INT32_MAX - 3);
    value = (value + 3) & ~3;
    if (value != FWidth) {
        KP_ASSERT(std::int64_t(value) * FHeight * 4 <= INT32_MAX);
        FWidth = value;
        Resize();
    }
}

void TGLBitmap32::SetHeight(int value)
{
    KP_ASSERT(value >= 0);
    if (value != FHeight) {
        KP_ASSERT(std::int64_t(FWidth) * value * 4 <= INT32_MAX);
        FHeight = value;
        Resize();
    }
}

std::uint8_t* TGLBitmap32::ScanLine(int row)
{
    KP_ASSERT(row >= 0 && row < FHeight);
    return FData.data() + static_cast<std::size_t>(row) * FWidth * 4;
}

const std::uint8_t* TGLBitmap32::ScanLine(int row) const
{
    KP_ASSERT(row >= 0 && row < FHeight);
    return FData.data() + static_cast<std::size_t>(row) * FWidth * 4;
}

void TGLBitmap32::Assign(const TPersistent* source)
{
    if (!source) {
        FWidth = 0;
        FHeight = 0;
        std::vector<std::uint8_t>().swap(FData);
        return;
    }
    if (const auto* other = ObjectCast<TGLBitmap32>(source)) {
        if (other != this) {
            FWidth = other->FWidth;
            FHeight = other->FHeight;
            FData = other->FData;
        }
        return;
    }
    if (const auto* bitmap = ObjectCast<TBitmap>(source)) {
        if (bitmap->Width() % 4 == 0) {
            if (bitmap->PixelFormat() == pf24bit) {
                AssignFrom24BitsBitmap(*bitmap);
                return;
            }
            if (bitmap->PixelFormat() == pf32bit) {
                AssignFrom32BitsBitmap(*bitmap);
                return;
            }
        }
    }
    if (const auto* graphic = ObjectCast<TGraphic>(source)) {
        // Any other picture is painted into a 24-bit bitmap whose width is a multiple of 4.
        TBitmap temporary;
        temporary.SetPixelFormat(pf24bit);
        const int width = graphic->Width();
        if (width % 4 == 0) {
            temporary.SetSize(width, graphic->Height());
            temporary.Draw(0, 0, *graphic);
        } else {
            temporary.SetSize((width + 3) & ~3, graphic->Height());
            temporary.StretchDraw(Rect(0, 0, temporary.Width(), temporary.Height()), *graphic);
        }
        AssignFrom24BitsBitmap(temporary);
        return;
    }
    TPersistent::Assign(source);
}

void TGLBitmap32::AssignFrom24BitsBitmap(const TBitmap& bitmap)
{
    KP_ASSERT(bitmap.PixelFormat() == pf24bit);
    CopyFromBitmap(bitmap, 3);
}

void TGLBitmap32::AssignFrom32BitsBitmap(const TBitmap& bitmap)
{
    KP_ASSERT(bitmap.PixelFormat() == pf32bit);
    CopyFromBitmap(bitmap, 4);
}

void TGLBitmap32::CopyFromBitmap(const TBitmap& bitmap, int bytesPerPixel)
{
    KP_ASSERT(bitmap.Width() % 4 == 0);
    KP_ASSERT(std::int64_t(bitmap.Width()) * bitmap.Height() * 4 <= INT32_MAX);
    FWidth = bitmap.Width();
    FHeight = bitmap.Height();
    Resize();
    const bool hasAlpha = bytesPerPixel == 4;
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* src = bitmap.ScanLine(y);
        std::uint8_t* dst = ScanLine(FKeepRowOrder ? y : FHeight - 1 - y);
        // Only the pixel's own bytes are read, so the last pixel never touches the next row.
        for (int x = 0; x < FWidth; ++x, src += bytesPerPixel, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = hasAlpha ? src[3] : 255;
        }
    }
}

std::unique_ptr<TBitmap> TGLBitmap32::MakeVCLBitmap() const
{
    std::unique_ptr<TBitmap> bitmap(TBitmap::Create());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* src = ScanLine(FHeight - 1 - y);
        std::uint8_t* dst = bitmap->ScanLine(y);
        for (int x = 0; x < FWidth; ++x, src += 4, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = src[3];
        }
    }
    return bitmap;
}

void TGLBitmap32::ReadPixels(const TRect& rect)
{
    // An inverted rectangle reads nothing instead of a huge block.
    const int width = std::max(0, rect.Width()) & ~3;
    const int height = std::max(0, rect.Height());
    KP_ASSERT(std::int64_t(width) * height * 4 <= INT32_MAX);
    FWidth = width;
    FHeight = height;
    Resize();
    if (!IsEmpty()) {
        GL.glReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, FData.data());
    }
}

void TGLBitmap32::AlphaFromIntensity()
{
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        FData[i + 3] = static_cast<std::uint8_t>((FData[i] + FData[i + 1] + FData[i + 2]) / 3);
    }
}

void TGLBitmap32::SqrtAlphaChannel()
{
    const std::uint8_t* table = SqrtByteTable();
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        FData[i + 3] = table[(FData[i] + FData[i + 1] + FData[i + 2]) / 3];
    }
}

void TGLBitmap32::AlphaFromColorKey(TColor color)
{
    AlphaFromColorKey(GetRValue(color), GetGValue(color), GetBValue(color));
}

void TGLBitmap32::AlphaFromColorKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        const bool key = FData[i] == red && FData[i + 1] == green && FData[i + 2] == blue;
        FData[i + 3] = key ? 0 : 255;
    }
}

void TGLBitmap32::FillAlpha(std::uint8_t value)
{
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        FData[i + 3] = value;
    }
}

void TGLBitmap32::InvertAlphaChannel()
{
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        FData[i + 3] = static_cast<std::uint8_t>(255 - FData[i + 3]);
    }
}

void TGLBitmap32::ApplyTable(const std::uint8_t* table)
{
    for (std::size_t i = 0; i < FData.size(); i += 4) {
        FData[i] = table[FData[i]];
        FData[i + 1] = table[FData[i + 1]];
        FData[i + 2] = table[FData[i + 2]];
    }
}

void TGLBitmap32::BrightnessCorrection(float factor)
{
    KP_ASSERT(factor >= 0);
    if (FData.empty()) {
        return;
    }
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<std::uint8_t>(std::min(255, RoundSingle(static_cast<float>(i) * factor)));
    }
    ApplyTable(table);
}

void TGLBitmap32::GammaCorrection(float gamma)
{
    KP_ASSERT(gamma > 0);
    if (FData.empty()) {
        return;
    }
    const float exponent = gamma >= 0.1f ? 1 / gamma : 10;
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i) {
        const float value = Power(static_cast<float>(i * 0.00392156862745098), exponent) * 255;
        table[i] = static_cast<std::uint8_t>(std::clamp(RoundSingle(value), 0, 255));
    }
    ApplyTable(table);
}

void TGLBitmap32::HeightToNormalMap(bool wrapX, bool wrapY, float scale)
{
    if (FData.empty()) {
        return;
    }
    std::vector<std::uint8_t> result(FData.size());
    const int w = FWidth;
    const int h = FHeight;
    auto height = [&](int x, int y) { return static_cast<float>(FData[(static_cast<std::size_t>(y) * w + x) * 4 + 1]); };
    for (int y = 0; y < h; ++y) {
        int above, below;
        if (wrapY) {
            above = (y - 1) & (h - 1);
            below = (y + 1) & (h - 1);
        } else {
            above = y > 0 ? y - 1 : y;
            below = y < h - 1 ? y + 1 : y;
        }
        for (int x = 0; x < w; ++x) {
            int left, right;
            if (wrapX) {
                left = (x - 1) & (w - 1);
                right = (x + 1) & (w - 1);
            } else {
                left = x > 0 ? x - 1 : x;
                right = x < w - 1 ? x + 1 : x;
            }
            const float dx = (height(left, y) - height(right, y)) * scale;
            const float dy = (height(x, above) - height(x, below)) * scale;
            const float f = static_cast<float>(InvSqrt(dx * dx + dy * dy + 1)) * 127;
            std::uint8_t* out = &result[(static_cast<std::size_t>(y) * w + x) * 4];
            out[0] = static_cast<std::uint8_t>(RoundSingle(ClampValue(dx * f, -128, 127) + 128));
            out[1] = static_cast<std::uint8_t>(RoundSingle(ClampValue(dy * f, -128, 127) + 128));
            out[2] = static_cast<std::uint8_t>(RoundSingle(ClampValue(f, -128, 127) + 128));
            out[3] = 255;
        }
    }
    FData.swap(result);
}

void TGLBitmap32::UploadAsTexture(GLenum target, TGLMinFilter minFilter, GLint internalFormat, int& texWidth,
                                  int& texHeight) const
{
    if (DataSize() <= 0) {
        return;
    }
    const bool isFloat = IsFloatInternalFormat(internalFormat);
    // Checked before anything reaches OpenGL.
    KP_ASSERT_MSG(!isFloat || target == TextureRectangleNV, "NV Float-type texture must use GL_TEXTURE_RECTANGLE_NV");
    GLint maxSize = 0;
    GL.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    int w = RoundUpToPowerOf2(FWidth);
    int h = RoundUpToPowerOf2(FHeight);
    if (maxSize > 0) {
        w = std::min(w, static_cast<int>(maxSize));
        h = std::min(h, static_cast<int>(maxSize));
    }
    texWidth = w;
    texHeight = h;
    if (isFloat) {
        GL.glTexImage2D(target, 0, internalFormat, w, h, 0, GL_RGBA, GL_FLOAT, nullptr);
        return;
    }
    std::vector<std::uint8_t> scaled;
    const std::uint8_t* pixels = FData.data();
    if (w != FWidth || h != FHeight) {
        scaled.resize(static_cast<std::size_t>(w) * h * 4);
        GL.gluScaleImage(GL_RGBA, FWidth, FHeight, GL_UNSIGNED_BYTE, FData.data(), w, h, GL_UNSIGNED_BYTE,
                         scaled.data());
        pixels = scaled.data();
    }
    if (!IsMipmapFilter(minFilter)) {
        GL.glTexImage2D(target, 0, internalFormat, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else if (GLExt.SGIS_generate_mipmap && target == GL_TEXTURE_2D) {
        GL.glTexParameteri(target, GenerateMipmapSGIS, 1);
        GL.glTexImage2D(target, 0, internalFormat, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else {
        GL.gluBuild2DMipmaps(target, internalFormat, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
}
