#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/painting/CodeInternalImage.h"
#include "../QtPrinters.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TFakeBitmap : public TCodeGlyphBitmap {
public:
    TFakeBitmap(int w, int h) : w_(w), h_(h) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }

private:
    int w_, h_;
};

struct TCopy {
    const TCodeGlyphBitmap* bitmap;
    TGlyphRect source;
    int x, y;
};

class TRecordingCanvas : public TCodeGlyphCanvas {
public:
    std::vector<TCopy> copies;
    void CopyGlyph(const TCodeGlyphBitmap& bitmap, TGlyphRect source, int x, int y) override
    {
        copies.push_back({&bitmap, source, x, y});
    }
};

class CodeInternalImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCodeGlyphBitmapLoader([this](const QString& name) -> std::unique_ptr<TCodeGlyphBitmap> {
            ++loads;
            if (name == "GLYPHS") {
                return std::make_unique<TFakeBitmap>(103, 16);
            }
            return nullptr;
        });
    }
    void TearDown() override { SetCodeGlyphBitmapLoader(nullptr); }
    int loads = 0;
};

TEST_F(CodeInternalImage, StripsShareOneBitmapPerResource)
{
    EXPECT_EQ(TCodeInternalImage::LoadedResourceCount(), 0);
    {
        TCodeInternalImage first("glyphs", 10);
        TCodeInternalImage second("Glyphs", 10);
        EXPECT_EQ(loads, 1) << "the name compares in upper case";
        EXPECT_EQ(TCodeInternalImage::LoadedResourceCount(), 1);
        EXPECT_EQ(first.Width(), 10); // (103 + 5) / 10, rounded to nearest
        EXPECT_EQ(first.Height(), 16);
    }
    EXPECT_EQ(TCodeInternalImage::LoadedResourceCount(), 0) << "freed with the last strip";
    TCodeInternalImage again("GLYPHS", 4);
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(again.Width(), 26); // (103 + 2) / 4
}

TEST_F(CodeInternalImage, MissingResourceAndZeroCount)
{
    try {
        TCodeInternalImage missing("nothing", 3);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Resource NOTHING not found");
    }
    EXPECT_EQ(TCodeInternalImage::LoadedResourceCount(), 0);
    TCodeInternalImage one("GLYPHS", 0);
    EXPECT_EQ(one.Count(), 1);
    EXPECT_EQ(one.Width(), 103);
}

TEST_F(CodeInternalImage, DrawCentresShortGlyphsAndCropsTallOnes)
{
    TCodeInternalImage strip("GLYPHS", 10);
    struct Case {
        int number, lineHeight;
        bool drawn;
        TGlyphRect source;
        int y;
    } cases[] = {
        {0, 20, true, {0, 0, 10, 16}, 2 + 100},
        {3, 17, true, {30, 0, 10, 16}, 0 + 100},
        {9, 16, true, {90, 0, 10, 16}, 100},
        {2, 11, true, {20, 2, 10, 11}, 100}, // (16 - 11) / 2 rounds toward zero
        {1, 10, true, {10, 3, 10, 10}, 100},
        {10, 16, false, {}, 0},
        {-1, 16, false, {}, 0},
    };
    for (const Case& c : cases) {
        TRecordingCanvas canvas;
        strip.Draw(canvas, c.number, 5, 100, c.lineHeight);
        ASSERT_EQ(canvas.copies.size(), c.drawn ? 1u : 0u) << c.number;
        if (c.drawn) {
            EXPECT_EQ(canvas.copies[0].source, c.source) << c.number;
            EXPECT_EQ(canvas.copies[0].x, 5);
            EXPECT_EQ(canvas.copies[0].y, c.y) << c.number;
        }
    }
}

TEST(CodeBookmarkGlyphs, TenDistinctRibbonsLoadUnderTheirResourceName)
{
    InstallCodeEditInternalImages();
    const std::unique_ptr<TBitmap> strip = MakeBookmarkGlyphStrip();
    ASSERT_EQ(strip->Width(), 10 * BookmarkGlyphWidth);
    ASSERT_EQ(strip->Height(), BookmarkGlyphHeight);
    const auto alpha = [&](int x, int y) { return strip->ScanLine(y)[4 * x + 3]; };
    const auto glyph = [&](int n) {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < BookmarkGlyphHeight; ++y) {
            const std::uint8_t* row = strip->ScanLine(y) + 4 * n * BookmarkGlyphWidth;
            pixels.insert(pixels.end(), row, row + 4 * BookmarkGlyphWidth);
        }
        return pixels;
    };
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(alpha(n * BookmarkGlyphWidth, 0), 255) << "the ribbon fills its top";
        EXPECT_EQ(alpha(n * BookmarkGlyphWidth + BookmarkGlyphWidth / 2, BookmarkGlyphHeight - 1), 0)
            << "the notch at its foot shows the gutter";
        for (int m = 0; m < n; ++m) {
            EXPECT_NE(glyph(n), glyph(m)) << n << " and " << m << " need different numbers";
        }
    }
    TCodeInternalImage images(CodeEditInternalImagesResource, 10);
    EXPECT_EQ(images.Width(), BookmarkGlyphWidth);
    EXPECT_THROW(TCodeInternalImage("OTHER", 1), Exception);
    SetCodeGlyphBitmapLoader(nullptr);
}

} // namespace
