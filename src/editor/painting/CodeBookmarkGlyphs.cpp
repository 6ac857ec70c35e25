#include "editor/painting/CodeBookmarkGlyphs.h"

#include "editor/painting/CodeInternalImage.h"

#include <array>
#include <cstdint>

namespace {

// Digits three pixels wide and five high, one row per string.
constexpr std::array<std::array<const char*, 5>, 10> kDigits = {{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", "..#", "..#", "..#"},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

constexpr int kDigitScale = 2;
constexpr int kDigitLeft = 2;
constexpr int kDigitTop = 1;

// The ribbon: the whole cell but a V cut into its lower end.
bool InRibbon(int x, int y)
{
    if (x < 0 || y < 0 || x >= BookmarkGlyphWidth || y >= BookmarkGlyphHeight) {
        return false;
    }
    const int cut = y - (BookmarkGlyphHeight - 4); // 1, 2, 3 on the last three rows
    const int middle = BookmarkGlyphWidth / 2;
    return cut <= 0 || x < middle - (cut - 1) || x > middle + (cut - 1);
}

bool OnDigit(int digit, int x, int y)
{
    const int dx = (x - kDigitLeft) / kDigitScale;
    const int dy = (y - kDigitTop) / kDigitScale;
    if (x < kDigitLeft || y < kDigitTop || dx >= 3 || dy >= 5) {
        return false;
    }
    return kDigits[static_cast<std::size_t>(digit)][static_cast<std::size_t>(dy)][dx] == '#';
}

} // namespace

std::unique_ptr<TBitmap> MakeBookmarkGlyphStrip()
{
    std::unique_ptr<TBitmap> strip(TBitmap::Create());
    strip->SetPixelFormat(pf32bit);
    strip->SetSize(BookmarkGlyphWidth * BookmarkGlyphCount, BookmarkGlyphHeight);
    const std::uint8_t clear[] = {0, 0, 0, 0};
    const std::uint8_t edge[] = {102, 51, 0, 255};   // blue, green, red, alpha
    const std::uint8_t fill[] = {204, 119, 51, 255};
    const std::uint8_t number[] = {255, 255, 255, 255};
    for (int digit = 0; digit < BookmarkGlyphCount; ++digit) {
        for (int y = 0; y < BookmarkGlyphHeight; ++y) {
            for (int x = 0; x < BookmarkGlyphWidth; ++x) {
                const std::uint8_t* pixel = clear;
                if (InRibbon(x, y)) {
                    const bool border = !InRibbon(x - 1, y) || !InRibbon(x + 1, y) || !InRibbon(x, y - 1) ||
                                        !InRibbon(x, y + 1);
                    pixel = border ? edge : OnDigit(digit, x, y) ? number : fill;
                }
                strip->SetPixel(digit * BookmarkGlyphWidth + x, y, pixel);
            }
        }
    }
    return strip;
}

void InstallCodeEditInternalImages()
{
    SetCodeGlyphBitmapLoader([](const QString& name) -> std::unique_ptr<TCodeGlyphBitmap> {
        if (name.compare(QLatin1String(CodeEditInternalImagesResource), Qt::CaseInsensitive) != 0) {
            return nullptr;
        }
        return std::make_unique<TCodeBitmapGlyphs>(MakeBookmarkGlyphStrip());
    });
}
