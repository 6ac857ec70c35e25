#include "app/pages/GutterGlyphs.h"

#include "editor/painting/CodeImageList.h"
#include "platform/core/graphics/Graphics.h"

#include <cstdint>
#include <functional>

namespace {

// Blue, green, red, alpha.
using TPixel = std::uint8_t[4];

std::unique_ptr<TBitmap> Glyph(const std::function<const std::uint8_t*(int x, int y)>& pixelAt)
{
    std::unique_ptr<TBitmap> image(TBitmap::Create());
    image->SetPixelFormat(pf32bit);
    image->SetSize(GutterGlyphSize, GutterGlyphSize);
    for (int y = 0; y < GutterGlyphSize; ++y) {
        for (int x = 0; x < GutterGlyphSize; ++x) {
            image->SetPixel(x, y, pixelAt(x, y));
        }
    }
    return image;
}

const TPixel Clear = {0, 0, 0, 0};
const TPixel DiscEdge = {0, 0, 128, 255};
const TPixel DiscFill = {0, 0, 255, 255};
const TPixel ArrowEdge = {96, 32, 0, 255};
const TPixel ArrowFill = {255, 160, 0, 255};

const std::uint8_t* Empty(int, int) { return Clear; }

// A red disc.
const std::uint8_t* Breakpoint(int x, int y)
{
    const int c = GutterGlyphSize / 2;
    const int d = (x - c) * (x - c) + (y - c) * (y - c);
    const int r = c;
    return d > r * r ? Clear : d > (r - 1) * (r - 1) ? DiscEdge : DiscFill;
}

// An arrow pointing right: a shaft on the middle rows and a head on the right half.
const std::uint8_t* RunLine(int x, int y)
{
    const int c = GutterGlyphSize / 2;
    const int dy = y > c ? y - c : c - y;
    const bool head = x >= c && dy <= GutterGlyphSize - 1 - x;
    const bool shaft = x < c && dy <= 2;
    if (!head && !shaft) {
        return Clear;
    }
    const bool edge = (head && dy == GutterGlyphSize - 1 - x) || (shaft && (dy == 2 || x == 0));
    return edge ? ArrowEdge : ArrowFill;
}

} // namespace

std::unique_ptr<TCodeImageList> MakeGutterGlyphs()
{
    auto list = std::make_unique<TCodeImageList>(nullptr, GutterGlyphSize, GutterGlyphSize);
    for (int index = 0; index <= GutterGlyphBreakpoint; ++index) {
        const auto pixels = index == GutterGlyphRunLine      ? RunLine
                            : index == GutterGlyphBreakpoint ? Breakpoint
                                                             : Empty;
        list->Add(*Glyph(pixels));
    }
    return list;
}
