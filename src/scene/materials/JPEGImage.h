#pragma once
// A JPEG picture, decoded with libjpeg into 8-bit RGB. Registered as the picture format
// for "jpg", "jpeg" and "jpe" by RegisterJPEGPictureFormat (called once at start-up).

#include "platform/core/graphics/Graphics.h"

#include <cstdint>
#include <vector>

class TJPEGImage : public TGraphic {
    KP_CLASS(TJPEGImage, TGraphic)
public:
    // Pictures with more pixels than this are refused instead of exhausting memory.
    static constexpr std::int64_t MaxPixels = std::int64_t(1) << 28;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // Raises EInvalidGraphic "JPEG error: <libjpeg's message>" for data it cannot read;
    // the picture is then left as it was.
    void LoadFromStream(TStream& stream) override;
    void LoadFromMemory(const std::uint8_t* data, std::size_t size);
    void DrawOn(TBitmap& target, const TRect& dest) const override;
    void Assign(const TPersistent* source) override;

    // Red, green, blue per pixel, top row first, no padding.
    const std::vector<std::uint8_t>& Pixels() const { return FPixels; }

private:
    std::vector<std::uint8_t> FPixels;
    int FWidth = 0;
    int FHeight = 0;
};

void RegisterJPEGPictureFormat();
