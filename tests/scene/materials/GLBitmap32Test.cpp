#include "platform/core/Exceptions.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Pixel = std::array<int, 4>;

Pixel PixelAt(const TGLBitmap32& image, int x, int row)
{
    const std::uint8_t* p = image.ScanLine(row) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A 24-bit bitmap whose pixel (x, y) has blue x, green y, red 200 (top row y = 0).
std::unique_ptr<TBitmap> Make24(int width, int height)
{
    auto result = std::make_unique<TBitmap>();
    TBitmap& bitmap = *result;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t bgra[4] = {std::uint8_t(x), std::uint8_t(y), 200, 0};
            bitmap.SetPixel(x, y, bgra);
        }
    }
    return result;
}

TEST(GLBitmap32, Assigns24BitBitmapsBottomRowFirstInRGBA)
{
    TGLBitmap32 image;
    image.Assign(Make24(4, 3).get());
    ASSERT_EQ(image.Width(), 4);
    ASSERT_EQ(image.Height(), 3);
    EXPECT_EQ(image.DataSize(), 48);
    // Data row 0 is the bitmap's bottom row (y = 2).
    EXPECT_EQ(PixelAt(image, 1, 0), (Pixel{200, 2, 1, 255}));
    EXPECT_EQ(PixelAt(image, 3, 2), (Pixel{200, 0, 3, 255}));
    TGLBitmap32 kept;
    kept.SetKeepRowOrder(true);
    kept.Assign(Make24(4, 3).get());
    EXPECT_EQ(PixelAt(kept, 1, 0), (Pixel{200, 0, 1, 255}));
    // A 4-pixel 24-bit row is exactly 12 bytes: reading a 4th byte of the last pixel would leave the row.
    std::unique_ptr<TBitmap> row = Make24(4, 1);
    ASSERT_EQ(row->BytesPerLine(), 12);
    image.AssignFrom24BitsBitmap(*row);
    EXPECT_EQ(PixelAt(image, 3, 0), (Pixel{200, 0, 3, 255}));
}

TEST(GLBitmap32, Assigns32BitBitmapsWithTheirAlphaAndOtherFormatsThroughDrawing)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(4, 1);
    const std::uint8_t bgra[4] = {10, 20, 30, 40};
    bitmap.SetPixel(2, 0, bgra);
    TGLBitmap32 image;
    image.Assign(&bitmap);
    EXPECT_EQ(PixelAt(image, 2, 0), (Pixel{30, 20, 10, 40}));
    bitmap.SetPixelFormat(pfDevice);
    bitmap.Fill(1, 2, 3, 4);
    image.Assign(&bitmap);
    EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{3, 2, 1, 255}));
}

TEST(GLBitmap32, NarrowBitmapsAreStretchedToAMultipleOfFour)
{
    TGLBitmap32 image;
    image.Assign(Make24(6, 2).get());
    ASSERT_EQ(image.Width(), 8);
    ASSERT_EQ(image.Height(), 2);
    // Stretched: the last column shows the source's last column.
    EXPECT_EQ(PixelAt(image, 0, 1), (Pixel{200, 0, 0, 255}));
    EXPECT_EQ(PixelAt(image, 7, 1), (Pixel{200, 0, 5, 255}));
}

TEST(GLBitmap32, DirectConversionsRefuseWrongBitmapsBeforeChangingAnything)
{
    TGLBitmap32 image;
    image.SetWidth(4);
    image.SetHeight(1);
    TBitmap wide32;
    wide32.SetPixelFormat(pf32bit);
    wide32.SetSize(8, 2);
    EXPECT_THROW(image.AssignFrom24BitsBitmap(*Make24(6, 1)), EAssertionFailed);
    EXPECT_THROW(image.AssignFrom24BitsBitmap(wide32), EAssertionFailed);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 1);
}

TEST(GLBitmap32, AssignNilEmptiesAndUnrelatedObjectsRaise)
{
    TGLBitmap32 image;
    image.SetWidth(8);
    image.SetHeight(8);
    image.Assign(nullptr);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.Data(), nullptr);
    TPersistent unrelated;
    EXPECT_THROW(image.Assign(&unrelated), EConvertError);
}

TEST(GLBitmap32, MakeVCLBitmapRestoresTheSourceOrientationAndColours)
{
    TGLBitmap32 image;
    image.Assign(Make24(4, 3).get());
    std::unique_ptr<TBitmap> back = image.MakeVCLBitmap();
    ASSERT_EQ(back->PixelFormat(), pf32bit);
    ASSERT_EQ(back->Width(), 4);
    ASSERT_EQ(back->Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* p = back->ScanLine(y) + x * 4;
            EXPECT_EQ((Pixel{p[0], p[1], p[2], p[3]}), (Pixel{x, y, 200, 255})) << x << "," << y;
        }
    }
    TGLBitmap32 empty;
    EXPECT_TRUE(empty.MakeVCLBitmap()->Empty());
}

TEST(GLBitmap32, WidthRoundsUpToAMultipleOfFour)
{
    for (const auto& [value, expected] : {std::pair{5, 8}, {4, 4}, {0, 0}, {1, 4}, {13, 16}}) {
        TGLBitmap32 image;
        image.SetHeight(2);
        image.SetWidth(value);
        EXPECT_EQ(image.Width(), expected) << value;
        EXPECT_EQ(image.DataSize(), expected * 2 * 4) << value;
    }
}

TEST(GLBitmap32, GrowingZeroFillsAndNegativeSizesFail)
{
    TGLBitmap32 image;
    image.SetWidth(4);
    image.SetHeight(1);
    image.FillAlpha(9);
    image.SetHeight(3);
    EXPECT_EQ(PixelAt(image, 3, 2), (Pixel{0, 0, 0, 0}));
    EXPECT_THROW(image.SetHeight(-1), EAssertionFailed);
    EXPECT_THROW(image.SetWidth(-8), EAssertionFailed);
    EXPECT_EQ(image.Height(), 3);
    // More than a 32-bit byte count: refused, the image stays as it was.
    image.SetHeight(40000);
    EXPECT_THROW(image.SetWidth(40000), EAssertionFailed);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.DataSize(), 4 * 40000 * 4);
}

std::unique_ptr<TGLBitmap32> OnePixelRow(std::vector<Pixel> pixels)
{
    auto result = std::make_unique<TGLBitmap32>();
    TGLBitmap32& image = *result;
    image.SetWidth(static_cast<int>(pixels.size()));
    image.SetHeight(1);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        for (int c = 0; c < 4; ++c) {
            image.ScanLine(0)[i * 4 + c] = static_cast<std::uint8_t>(pixels[i][c]);
        }
    }
    return result;
}

TEST(GLBitmap32, AlphaOperations)
{
    auto imageptr = OnePixelRow({{0, 0, 0, 7}, {30, 60, 90, 7}, {255, 255, 255, 7}, {0, 0, 1, 7}});
    TGLBitmap32& image = *imageptr;
    image.AlphaFromIntensity();
    EXPECT_EQ(PixelAt(image, 1, 0)[3], 60);
    image.SqrtAlphaChannel();
    EXPECT_EQ(PixelAt(image, 2, 0)[3], 255);
    EXPECT_EQ(PixelAt(image, 0, 0)[3], 0);
    image.AlphaFromColorKey(clBlack);
    EXPECT_EQ(PixelAt(image, 0, 0)[3], 0);
    EXPECT_EQ(PixelAt(image, 3, 0)[3], 255); // blue 1 is not black
    EXPECT_EQ(PixelAt(image, 1, 0)[3], 255);
    image.InvertAlphaChannel();
    EXPECT_EQ(PixelAt(image, 0, 0)[3], 255);
    image.FillAlpha(12);
    EXPECT_EQ(PixelAt(image, 2, 0)[3], 12);
}

TEST(GLBitmap32, CorrectionsMapColourButNotAlpha)
{
    const struct {
        const char* name;
        bool gamma;
        float value;
        int in, out;
    } cases[] = {{"gamma 1 is identity", true, 1, 137, 137},
                 // Below 0.1 the exponent is 10: (128/255)^10 * 255 = 0.25 -> 0.
                 {"tiny gamma uses exponent 10", true, 0.05f, 128, 0},
                 {"tiny gamma keeps white", true, 0.05f, 255, 255},
                 {"gamma 2", true, 2, 64, 128},
                 {"brightness doubles", false, 2, 100, 200},
                 {"brightness saturates", false, 2, 200, 255},
                 {"brightness rounds", false, 0.5f, 3, 2}};
    for (const auto& c : cases) {
        auto image = OnePixelRow({{c.in, c.in, c.in, 77}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
        if (c.gamma) {
            image->GammaCorrection(c.value);
        } else {
            image->BrightnessCorrection(c.value);
        }
        EXPECT_EQ(PixelAt(*image, 0, 0), (Pixel{c.out, c.out, c.out, 77})) << c.name;
    }
    // bad factors are refused and change nothing
    auto image = OnePixelRow({{1, 2, 3, 4}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    EXPECT_THROW(image->GammaCorrection(0), EAssertionFailed);
    EXPECT_THROW(image->BrightnessCorrection(-1), EAssertionFailed);
    EXPECT_EQ(PixelAt(*image, 0, 0), (Pixel{1, 2, 3, 4}));
}

TEST(GLBitmap32, FlatHeightMapGivesStraightUpNormals)
{
    TGLBitmap32 image;
    image.SetWidth(4);
    image.SetHeight(4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            image.ScanLine(y)[x * 4 + 1] = 90;
        }
    }
    for (bool wrap : {false, true}) {
        TGLBitmap32 copy;
        copy.Assign(&image);
        copy.HeightToNormalMap(wrap, wrap, 3);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                EXPECT_EQ(PixelAt(copy, x, y), (Pixel{128, 128, 255, 255}));
            }
        }
    }
}

TEST(GLBitmap32, SlopeTiltsTheNormalAwayFromTheHighSide)
{
    // Height rises with x: left - right is negative, so red drops below 128.
    auto imageptr = OnePixelRow({{0, 0, 0, 0}, {0, 10, 0, 0}, {0, 20, 0, 0}, {0, 30, 0, 0}});
    TGLBitmap32& image = *imageptr;
    image.HeightToNormalMap(false, false, 0.1f);
    const Pixel inner = PixelAt(image, 1, 0);
    // dx = -2, f = 127 / sqrt(5): red = round(-2 * 56.8 + 128) = 14, blue = round(56.8 + 128) = 185.
    EXPECT_EQ(inner, (Pixel{14, 128, 185, 255}));
    // At the edge the pixel itself stands in: dx = -1.
    EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{38, 128, 218, 255}));
}

TEST(GLBitmap32, ReadPixelsRoundsTheWidthDown)
{
    TGLRecorder gl;
    gl.FrameWidth = 8;
    gl.FrameHeight = 2;
    gl.FramePixels.assign(8 * 2 * 4, 0);
    gl.FramePixels[(1 * 8 + 2) * 4] = 99; // red of pixel (2, 1)
    TGLBitmap32 image;
    image.ReadPixels(Rect(0, 0, 7, 2));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(PixelAt(image, 2, 1)[0], 99);
    EXPECT_EQ(gl.Calls().back().Text, "glReadPixels(0, 0, 4, 2, 6408, 5121, @)");
    image.ReadPixels(Rect(10, 10, 0, 0));
    EXPECT_TRUE(image.IsEmpty());
}

class GLBitmap32UploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = GLExt;
        gl.Integers[GL_MAX_TEXTURE_SIZE] = {2048};
    }
    void TearDown() override { GLExt = FSaved; }

    std::unique_ptr<TGLBitmap32> Image(int w, int h)
    {
        auto image = std::make_unique<TGLBitmap32>();
        image->SetWidth(w);
        image->SetHeight(h);
        return image;
    }

    TGLRecorder gl;
    TGLExtensionFlags FSaved;
};

TEST_F(GLBitmap32UploadTest, NonPowerOfTwoImagesAreScaledFirstAndSizesLimitedByTheDriver)
{
    int w = 0;
    int h = 0;
    Image(100, 60)->UploadAsTexture(GL_TEXTURE_2D, miLinear, GL_RGBA8, w, h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
    ASSERT_EQ(gl.Count("gluScaleImage"), 1);
    EXPECT_EQ(gl.CallsTo("gluScaleImage")[0].Text, "gluScaleImage(6408, 100, 60, 5121, @, 128, 64, 5121, @)");
    EXPECT_EQ(gl.CallsTo("glTexImage2D")[0].Text, "glTexImage2D(3553, 0, 32856, 128, 64, 0, 6408, 5121, @)");
    gl.Clear();
    // power-of-two images upload without a copy
    Image(64, 64)->UploadAsTexture(GL_TEXTURE_2D, miNearest, GL_RGBA8, w, h);
    EXPECT_EQ(gl.Count("gluScaleImage"), 0);
    EXPECT_EQ(gl.Count("glTexImage2D"), 1);
    EXPECT_EQ(w, 64);
    gl.Integers[GL_MAX_TEXTURE_SIZE] = {64};
    Image(200, 8)->UploadAsTexture(GL_TEXTURE_2D, miNearest, GL_RGBA8, w, h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 8);
}

TEST_F(GLBitmap32UploadTest, MipmapsUseTheDriverWhenItCanBuildThem)
{
    int w = 0;
    int h = 0;
    GLExt.SGIS_generate_mipmap = true;
    Image(64, 64)->UploadAsTexture(GL_TEXTURE_2D, miLinearMipmapLinear, GL_RGBA8, w, h);
    EXPECT_EQ(gl.CallsTo("glTexParameteri")[0].Text, "glTexParameteri(3553, 33169, 1)");
    EXPECT_EQ(gl.Count("gluBuild2DMipmaps"), 0);
    gl.Clear();
    GLExt.SGIS_generate_mipmap = false;
    Image(64, 64)->UploadAsTexture(GL_TEXTURE_2D, miNearestMipmapNearest, GL_RGBA8, w, h);
    EXPECT_EQ(gl.Count("gluBuild2DMipmaps"), 1);
    EXPECT_EQ(gl.Count("glTexImage2D"), 0);
}

TEST_F(GLBitmap32UploadTest, FloatFormatsNeedRectangleTexturesAndUploadStorageOnly)
{
    int w = 0;
    int h = 0;
    EXPECT_THROW(Image(8, 8)->UploadAsTexture(GL_TEXTURE_2D, miNearest, 0x8814, w, h), EAssertionFailed);
    EXPECT_TRUE(gl.Calls().empty());
    Image(8, 8)->UploadAsTexture(0x84F5, miNearest, 0x881A, w, h);
    EXPECT_EQ(gl.CallsTo("glTexImage2D")[0].Args[7], GL_FLOAT);
    EXPECT_TRUE(IsFloatInternalFormat(0x888A));
    EXPECT_FALSE(IsFloatInternalFormat(GL_RGBA8));
}

TEST_F(GLBitmap32UploadTest, EmptyImagesUploadNothing)
{
    int w = -1;
    int h = -1;
    TGLBitmap32().UploadAsTexture(GL_TEXTURE_2D, miNearest, GL_RGBA8, w, h);
    EXPECT_TRUE(gl.Calls().empty());
    EXPECT_EQ(w, -1);
}

} // namespace
