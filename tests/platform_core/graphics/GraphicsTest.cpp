#include "platform/core/graphics/Graphics.h"
#include "platform/core/graphics/PictureFormats.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

std::array<int, 4> At(const TBitmap& b, int x, int y)
{
    const std::uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
    return {p[0], p[1], p[2], b.BytesPerPixel() == 4 ? p[3] : -1};
}

TEST(Bitmap, RowsArePaddedToFourBytes)
{
    const std::tuple<TPixelFormat, int, int> cases[] = { // format, width, stride
        {pf24bit, 1, 4}, {pf24bit, 4, 12}, {pf24bit, 5, 16}, {pf32bit, 3, 12}, {pfDevice, 2, 8}};
    for (const auto& [format, width, stride] : cases) {
        TBitmap b;
        b.SetPixelFormat(format);
        b.SetSize(width, 2);
        EXPECT_EQ(b.BytesPerLine(), stride) << width;
        EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), stride) << width;
    }
}

TEST(Bitmap, ScanLinesOutsideTheBitmapFail)
{
    TBitmap b;
    b.SetSize(2, 2);
    EXPECT_THROW(b.ScanLine(2), EAssertionFailed);
    EXPECT_THROW(b.ScanLine(-1), EAssertionFailed);
    EXPECT_THROW(b.SetSize(-1, 2), EAssertionFailed);
    EXPECT_THROW(b.SetSize(0x40000000, 1), EAssertionFailed); // a row past 2 GB
    EXPECT_EQ(b.Width(), 2);
}

TEST(Bitmap, ChangingTheFormatKeepsThePixels)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(2, 1);
    const std::uint8_t bgra[4] = {1, 2, 3, 4};
    b.SetPixel(1, 0, bgra);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(At(b, 1, 0), (std::array<int, 4>{1, 2, 3, -1}));
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(At(b, 1, 0), (std::array<int, 4>{1, 2, 3, 255}));
}

TEST(Bitmap, StretchDrawUsesTheNearestPixelAndClips)
{
    TBitmap source;
    source.SetPixelFormat(pf24bit);
    source.SetSize(2, 1);
    const std::uint8_t left[4] = {10, 0, 0, 0};
    const std::uint8_t right[4] = {20, 0, 0, 0};
    source.SetPixel(0, 0, left);
    source.SetPixel(1, 0, right);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(4, 1);
    target.StretchDraw(Rect(0, 0, 4, 1), source);
    EXPECT_EQ(At(target, 1, 0)[0], 10);
    EXPECT_EQ(At(target, 2, 0)[0], 20);
    // Partly outside the target: only the visible part is painted.
    target.Fill(0, 0, 0);
    target.Draw(3, 0, source);
    EXPECT_EQ(At(target, 3, 0)[0], 10);
    target.Draw(-1, 0, source);
    EXPECT_EQ(At(target, 0, 0)[0], 20);
}

TEST(Bitmap, AssignCopiesSizeFormatAndPixels)
{
    TBitmap a;
    a.SetPixelFormat(pf24bit);
    a.SetSize(3, 2);
    a.Fill(7, 8, 9);
    TBitmap b;
    b.Assign(&a);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(At(b, 2, 1), (std::array<int, 4>{7, 8, 9, -1}));
}

TEST(Bitmap, WithoutAPlatformFactoryCreateGivesAPlainBitmap)
{
    std::unique_ptr<TBitmap> b(TBitmap::Create());
    EXPECT_EQ(b->ClassName(), "TBitmap");
    EXPECT_THROW(b->LoadFromFile("/nonexistent/picture.bmp"), Exception);
}

TEST(PictureFormats, LookupOrderAndUnregistering)
{
    RegisterPictureFormat<TBitmap>("tst1", "Test one");
    RegisterPictureFormat<TBitmap>("tst2", "Test two");
    int found = 0;
    for (const TPictureFormat& f : PictureFormats()) {
        if (f.Extension == "tst1" || f.Extension == "tst2") {
            ++found;
            std::unique_ptr<TGraphic> g(f.Create());
            EXPECT_TRUE(g->Is<TBitmap>());
        }
    }
    EXPECT_EQ(found, 2);
    UnregisterPictureFormats(TBitmap::StaticClass());
    for (const TPictureFormat& f : PictureFormats()) {
        EXPECT_NE(f.GraphicClass, TBitmap::StaticClass());
    }
}

} // namespace
