#include "platform/core/graphics/Font.h"

#include <cmath>
#include <cstdlib>
#include <cstdint>

namespace {
// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return 0;
    }
    return static_cast<int>(std::lround(static_cast<double>(std::int64_t{a} * b) / c));
}
} // namespace

int TFont::Height() const { return height_ != 0 ? height_ : MulDiv(size_, pixelsPerInch_, 72); }

void TFont::SetName(const std::string& value)
{
    if (value != name_) {
        name_ = value;
        Changed();
    }
}

void TFont::SetSize(int value)
{
    if (value != size_ || height_ != 0) {
        size_ = value;
        height_ = 0;
        Changed();
    }
}

void TFont::SetHeight(int pixels)
{
    pixels = std::abs(pixels);
    if (pixels == 0 || pixels == height_) {
        return;
    }
    height_ = pixels;
    size_ = MulDiv(pixels, 72, pixelsPerInch_);
    Changed();
}

void TFont::SetPixelsPerInch(int value)
{
    if (value <= 0 || value == pixelsPerInch_) {
        return;
    }
    if (height_ != 0) {
        height_ = MulDiv(height_, value, pixelsPerInch_);
    }
    pixelsPerInch_ = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TFont::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Changed();
    }
}

void TFont::Assign(const TPersistent* source)
{
    if (const auto* font = ObjectCast<TFont>(source)) {
        name_ = font->name_;
        size_ = font->size_;
        height_ = font->height_;
        pixelsPerInch_ = font->pixelsPerInch_;
        style_ = font->style_;
        color_ = font->color_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TFont::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}
