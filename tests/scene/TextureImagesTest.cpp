#include "ErrorTextTestSupport.h"
#include "TextureTestSupport.h"

#include "platform/core/BitmapFile.h"
#include "scene/BlankImages.h"
#include "scene/DataFile.h"
#include "scene/PictureImages.h"
#include "scene/Texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using texturetest::SolidBitmap;

// A folder of its own per test, removed afterwards.
class TextureImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("kerfpad-teximg-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string ReadText(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteBitmap(const std::string& name, int width, int height, std::uint8_t r, std::uint8_t g,
                     std::uint8_t b) const
    {
        TMemoryStream stream;
        SaveBitmapToStream(*SolidBitmap(width, height, r, g, b), stream);
        stream.SaveToFile(Path(name));
    }

    std::filesystem::path folder;
};

// Every face of a cube-map image one colour (red 40 per face index when not given).
void FillCube(TGLCubeMapImage& image, int red = -1)
{
    for (int face = cmtPX; face <= cmtNZ; ++face) {
        auto bitmap = SolidBitmap(4, 4, static_cast<std::uint8_t>(red < 0 ? 40 * face : red), 9, 9);
        image.Picture(static_cast<TGLCubeMapFace>(face)).SetGraphic(bitmap.get());
    }
}

bool AllZero(const TGLBitmap32* bitmap)
{
    return std::all_of(bitmap->Data(), bitmap->Data() + bitmap->DataSize(), [](std::uint8_t b) { return b == 0; });
}

// ---- registries ----

TEST(TextureImageRegistry, StandardClassesInOrderWithExactNamesFriendlyNamesAndTargets)
{
    struct Case {
        const char* className;
        const char* name;
        GLenum target;
    };
    const Case cases[] = {{"TGLBlankImage", "Blank Image", GL_TEXTURE_2D},
                          {"TGLPersistentImage", "Persistent Image", GL_TEXTURE_2D},
                          {"TGLPicFileImage", "PicFile Image", GL_TEXTURE_2D},
                          {"TGLCubeMapImage", "CubeMap Image", 0x8513},
                          {"TGLFloatDataImage", "FloatData Image", 0x84F5}};
    const auto& classes = GLTextureImageClasses();
    ASSERT_GE(classes.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const Case& c = cases[i];
        EXPECT_STREQ(classes[i].cls->name, c.className);
        ASSERT_NE(FindGLTextureImageClass(c.className), nullptr) << c.className;
        std::unique_ptr<TGLTextureImage> image(FindGLTextureImageClass(c.className)->create(nullptr));
        EXPECT_EQ(image->ClassName(), c.className);
        EXPECT_EQ(image->FriendlyName(), c.name);
        EXPECT_EQ(image->NativeTextureTarget(), c.target) << c.className;
    }
    EXPECT_EQ(FindGLTextureImageClass("tglcubemapimage"), nullptr);
    EXPECT_EQ(FindGLTextureImageClass("TGLNoSuchImage"), nullptr);
}

TEST_F(TextureImageFiles, GraphicFromFileByExtensionWhateverItsCase)
{
    WriteBitmap("UPPER.BMP", 4, 2, 10, 20, 30);
    std::unique_ptr<TGraphic> graphic = CreateGraphicFromFile(Path("UPPER.BMP"));
    ASSERT_NE(graphic, nullptr);
    EXPECT_TRUE(graphic->Is<TBitmap>());
    EXPECT_EQ(graphic->Width(), 4);
    EXPECT_EQ(graphic->Height(), 2);
    // Missing or unknown files give nothing; a file that fails to load passes its error on.
    EXPECT_EQ(CreateGraphicFromFile(Path("missing.bmp")), nullptr);
    for (const char* name : {"notes.xyzzy", "noextension"}) {
        WriteText(name, "hello");
        EXPECT_EQ(CreateGraphicFromFile(Path(name)), nullptr) << name;
    }
    WriteText("broken.bmp", "BM this is not a bitmap");
    EXPECT_THROW(CreateGraphicFromFile(Path("broken.bmp")), EStreamError);
}

// ---- blank and float data ----

TEST(BlankImage, SizesBelowOneBecomeOne)
{
    for (const auto& [value, stored] : {std::pair{0, 1}, {-5, 1}, {1, 1}, {300, 300}}) {
        TGLBlankImage image;
        image.SetWidth(value);
        image.SetHeight(value);
        EXPECT_EQ(image.GetWidth(), stored) << value;
        EXPECT_EQ(image.GetHeight(), stored) << value;
    }
}

TEST(BlankImage, DescriptionsAndZeroFilledPixels)
{
    TGLBlankImage image;
    EXPECT_EQ(image.FriendlyDescription(), "Blank Image (256 x 256)");
    image.SetWidth(8);
    image.SetHeight(2);
    TGLBitmap32* bitmap = image.GetBitmap32(GL_TEXTURE_2D);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 8);
    EXPECT_EQ(bitmap->Height(), 2);
    EXPECT_TRUE(AllZero(bitmap));
    image.ReleaseBitmap32();

    TGLFloatDataImage floats;
    floats.SetWidth(4);
    floats.SetHeight(4);
    EXPECT_EQ(floats.FriendlyDescription(), "Image to be dynamically generated by OpenGL");
    EXPECT_TRUE(AllZero(floats.GetBitmap32(0x84F5)));
}

TEST_F(TextureImageFiles, SizeFilesWriteAndReadTheSizeAsText)
{
    for (const bool floatData : {false, true}) {
        const auto make = [&]() -> TGLBlankImage* {
            return floatData ? new TGLFloatDataImage() : new TGLBlankImage();
        };
        std::unique_ptr<TGLBlankImage> image(make()), back(make());
        image->SetWidth(64);
        image->SetHeight(32);
        image->SaveToFile(Path("size.txt"));
        EXPECT_EQ(ReadText("size.txt"),
                  std::string(floatData ? "[FloatDataImage]" : "[BlankImage]") + "\nWidth=64\nHeight=32\n");
        back->LoadFromFile(Path("size.txt"));
        EXPECT_EQ(back->GetWidth(), 64) << floatData;
        EXPECT_EQ(back->GetHeight(), 32) << floatData;
    }
    // Windows line breaks and junk.
    WriteText("size.txt", "[BlankImage]\r\nheight = 0\r\nWidth=abc\r\n");
    TGLBlankImage image;
    image.LoadFromFile(Path("size.txt"));
    EXPECT_EQ(image.GetWidth(), 256); // not a number: kept
    EXPECT_EQ(image.GetHeight(), 1);  // below one: one
}

// ---- notifications ----

TEST(TextureImage, ChangesMarkTheOwningTextureImageChanged)
{
    TGLTexture texture;
    texture.SetImageClassName("TGLBlankImage");
    auto* image = static_cast<TGLBlankImage*>(texture.Image());
    texturetest::TRecordingScene scene;
    texture.SetDisabled(false);
    texture.GetHandle();
    EXPECT_EQ(texture.Changes(), 0u);
    image->SetWidth(image->GetWidth()); // same value: nothing
    EXPECT_EQ(texture.Changes(), 0u);
    image->SetWidth(16);
    EXPECT_EQ(texture.Changes(), TGLTexture::ImageChanged);
}

TEST(PictureImage, PictureChangesInvalidateButUploadsDoNot)
{
    TGLTexture texture;
    auto* image = static_cast<TGLPersistentImage*>(texture.Image());
    texturetest::TRecordingScene scene;
    texture.GetHandle();
    ASSERT_EQ(texture.Changes(), 0u);
    auto bitmap = SolidBitmap(4, 4, 255, 0, 0);
    image->Picture().SetGraphic(bitmap.get());
    EXPECT_EQ(texture.Changes(), TGLTexture::ImageChanged);
    texture.GetHandle();
    EXPECT_EQ(texture.Changes(), 0u);
    EXPECT_EQ(texture.TexWidth(), 4);
}

TEST(PictureImage, BitmapHoldsThePictureBottomRowFirst)
{
    TGLPersistentImage image;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(4, 2);
    const std::uint8_t top[4] = {0, 0, 255, 255};    // red
    const std::uint8_t bottom[4] = {255, 0, 0, 255}; // blue
    for (int x = 0; x < 4; ++x) {
        bitmap.SetPixel(x, 0, top);
        bitmap.SetPixel(x, 1, bottom);
    }
    image.Picture().SetGraphic(&bitmap);
    TGLBitmap32* pixels = image.GetBitmap32(GL_TEXTURE_2D);
    ASSERT_EQ(pixels->Height(), 2);
    EXPECT_EQ(pixels->ScanLine(0)[2], 255); // row 0 is the bottom: blue
    EXPECT_EQ(pixels->ScanLine(1)[0], 255); // row 1 the top: red
}

// ---- persistent image files ----

TEST_F(TextureImageFiles, PersistentImageLoadsAfterTheHandlerRenamesTheFile)
{
    WriteBitmap("real.bmp", 8, 4, 1, 2, 3);
    TGLPersistentImage image;
    std::string asked;
    image.OnTextureNeeded = [&](TObject*, std::string& name) {
        asked = name;
        name = Path("real.bmp");
    };
    image.LoadFromFile("wanted.bmp");
    EXPECT_EQ(asked, "wanted.bmp");
    EXPECT_EQ(image.GetWidth(), 8);
    image.SaveToFile(Path("saved.bmp"));
    TGLPersistentImage back;
    back.LoadFromFile(Path("saved.bmp"));
    EXPECT_EQ(back.GetHeight(), 4);
}

TEST_F(TextureImageFiles, PersistentImageMissingFileClearsAndRaises)
{
    TGLPersistentImage image;
    auto bitmap = SolidBitmap(4, 4, 0, 0, 0);
    image.Picture().SetGraphic(bitmap.get());
    const std::string name = Path("absent.bmp");
    EXPECT_EQ(ErrorText<ETexture>([&] { image.LoadFromFile(name); }), "Could not open file: " + name);
    EXPECT_TRUE(image.Picture().Empty());
}

// ---- picture-file image ----

TEST_F(TextureImageFiles, PicFileImageReadsItsFileAtEveryUpload)
{
    WriteBitmap("pic.bmp", 4, 4, 255, 0, 0);
    TGLPicFileImage image;
    image.SetPictureFileName(Path("pic.bmp"));
    TGLBitmap32* first = image.GetBitmap32(GL_TEXTURE_2D);
    ASSERT_EQ(first->Width(), 4);
    EXPECT_EQ(first->Data()[0], 255);
    EXPECT_TRUE(image.Picture().Empty()); // not kept between uploads
    image.ReleaseBitmap32();
    WriteBitmap("pic.bmp", 8, 4, 0, 255, 0);
    TGLBitmap32* second = image.GetBitmap32(GL_TEXTURE_2D);
    EXPECT_EQ(second->Width(), 8);
    EXPECT_EQ(second->Data()[1], 255);
}

TEST_F(TextureImageFiles, PicFileImageReportsAMissingFileOnceUntilTheNameChanges)
{
    TGLPicFileImage image;
    image.SetPictureFileName(Path("gone.bmp"));
    EXPECT_EQ(ErrorText<ETexture>([&] { image.GetBitmap32(GL_TEXTURE_2D); }),
              "Could not open file: " + Path("gone.bmp"));
    TGLBitmap32* quiet = nullptr;
    EXPECT_NO_THROW(quiet = image.GetBitmap32(GL_TEXTURE_2D));
    ASSERT_NE(quiet, nullptr);
    EXPECT_TRUE(quiet->IsEmpty());
    image.SetPictureFileName(Path("other.bmp"));
    EXPECT_THROW(image.GetBitmap32(GL_TEXTURE_2D), ETexture);
    EXPECT_NO_THROW(image.GetBitmap32(GL_TEXTURE_2D));
}

TEST_F(TextureImageFiles, PicFileImageNameFiles)
{
    TGLPicFileImage image;
    image.SetPictureFileName("textures/wood.jpg");
    image.SaveToFile(Path("name.pic"));
    EXPECT_EQ(ReadText("name.pic"), "textures/wood.jpg");

    WriteText("nul.pic", std::string("maple.bmp\0trailing", 18));
    TGLPicFileImage fromNul;
    fromNul.LoadFromFile(Path("nul.pic"));
    EXPECT_EQ(fromNul.PictureFileName(), "maple.bmp");

    WriteText("big.pic", std::string(600, 'x'));
    TGLPicFileImage fromBig;
    fromBig.LoadFromFile(Path("big.pic"));
    EXPECT_EQ(fromBig.PictureFileName(), Path("big.pic"));
}

// ---- cube map ----

TEST_F(TextureImageFiles, CubeMapFileRoundTripKeepsFaceOrder)
{
    TGLCubeMapImage image;
    FillCube(image);
    image.SaveToFile(Path("cube.cub"));
    const std::string bytes = ReadText("cube.cub");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), 0);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[1]), 1); // 256, little-endian

    TGLCubeMapImage back;
    back.LoadFromFile(Path("cube.cub"));
    for (int face = 0; face < 6; ++face) {
        TGLBitmap32* bitmap = back.GetBitmap32(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_TRUE(bitmap->KeepRowOrder());
        EXPECT_EQ(bitmap->Data()[0], 40 * face) << "face " << face;
    }
    EXPECT_EQ(back.GetBitmap32(GL_TEXTURE_2D), nullptr);
}

TEST_F(TextureImageFiles, CubeMapFilesOfAnotherVersionOrTruncatedChangeNoFace)
{
    WriteText("bad.cub", std::string("\x01\x01", 2));
    TGLCubeMapImage refused;
    EXPECT_THROW(refused.LoadFromFile(Path("bad.cub")), EAssertionFailed);

    TGLCubeMapImage image;
    FillCube(image, 9);
    image.SaveToFile(Path("cube.cub"));
    const std::string bytes = ReadText("cube.cub");
    WriteText("short.cub", bytes.substr(0, bytes.size() - 10));
    TGLCubeMapImage other;
    auto marker = SolidBitmap(8, 8, 1, 1, 1);
    other.PicturePX().SetGraphic(marker.get());
    EXPECT_THROW(other.LoadFromFile(Path("short.cub")), EReadError);
    EXPECT_EQ(other.GetWidth(), 8);
}

} // namespace
