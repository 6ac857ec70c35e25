#include "../support/JpegWriter.h"
#include "ErrorTextTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/core/files/Stream.h"
#include "scene/materials/DataFile.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/materials/JPEGImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("kerfpad_" + std::to_string(::getpid()) + "_" + name)).string();
}

TEST(JPEGImage, DecodesColoursAndSize)
{
    const auto bytes = testsupport::SolidJpeg(16, 8, 200, 40, 10);
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    ASSERT_EQ(jpeg.Width(), 16);
    ASSERT_EQ(jpeg.Height(), 8);
    EXPECT_NEAR(jpeg.Pixels()[0], 200, 4);
    EXPECT_NEAR(jpeg.Pixels()[1], 40, 4);
    EXPECT_NEAR(jpeg.Pixels()[2], 10, 4);
}

TEST(JPEGImage, AssignsToAnRGBAImageThroughDrawing)
{
    // 6 wide is not a multiple of 4: the picture is stretched to 8.
    const auto bytes = testsupport::SolidJpeg(6, 4, 0, 0, 250);
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    TGLBitmap32 image;
    image.Assign(&jpeg);
    ASSERT_EQ(image.Width(), 8);
    ASSERT_EQ(image.Height(), 4);
    const std::uint8_t* last = image.ScanLine(3) + 7 * 4;
    EXPECT_LT(last[0], 8);
    EXPECT_GT(last[2], 240);
    EXPECT_EQ(last[3], 255);
}

TEST(JPEGImage, BadInputRaisesAndKeepsThePicture)
{
    auto truncated = testsupport::SolidJpeg(64, 64, 9, 9, 9);
    truncated.resize(20);
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"empty", {}}, {"not a jpeg", {'B', 'M', 0, 1, 2, 3}}, {"cut inside the header", truncated}};
    const auto good = testsupport::SolidJpeg(8, 8, 1, 2, 3);
    for (const auto& [name, bytes] : cases) {
        TJPEGImage jpeg;
        jpeg.LoadFromMemory(good.data(), good.size());
        EXPECT_THROW(jpeg.LoadFromMemory(bytes.data(), bytes.size()), EInvalidGraphic) << name;
        EXPECT_EQ(jpeg.Width(), 8) << name;
    }
}

TEST(JPEGImage, RefusesPicturesThatClaimAHugeSize)
{
    auto bytes = testsupport::SolidJpeg(8, 8, 1, 2, 3);
    // Rewrite the frame header (SOF0: FF C0, length, precision, height, width) to claim
    // 60000 x 60000 pixels; the decoder must refuse before allocating.
    bool patched = false;
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = 0xEA;
            bytes[i + 6] = 0x60;
            bytes[i + 7] = 0xEA;
            bytes[i + 8] = 0x60;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    TJPEGImage jpeg;
    EXPECT_EQ(ErrorText<EInvalidGraphic>([&] { jpeg.LoadFromMemory(bytes.data(), bytes.size()); }),
              "JPEG error: picture too large");
    EXPECT_EQ(jpeg.Width(), 0);
}

TEST(JPEGImage, LoadsFromAFileThroughTheFormatRegistry)
{
    RegisterJPEGPictureFormat();
    RegisterJPEGPictureFormat(); // registering twice adds nothing
    int jpgFormats = 0;
    for (const TPictureFormat& f : PictureFormats()) {
        jpgFormats += f.Extension == "jpg";
    }
    EXPECT_EQ(jpgFormats, 1);

    const TPictureFormat* format = GraphicClassForExtension(".JPG");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->GraphicClass, TJPEGImage::StaticClass());
    EXPECT_EQ(GraphicClassForExtension("jpeg"), GraphicClassForExtension(".jpeg"));
    EXPECT_EQ(GraphicClassForExtension("..jpg"), nullptr); // only one dot is removed
    EXPECT_EQ(GraphicClassForExtension("xyz"), nullptr);

    const std::string path = TempPath("picture.jpg");
    testsupport::WriteFile(path, testsupport::SolidJpeg(4, 4, 0, 255, 0));
    std::unique_ptr<TGraphic> picture(format->Create());
    picture->LoadFromFile(path);
    EXPECT_EQ(picture->Width(), 4);
    std::filesystem::remove(path);
}

TEST(CreateFileStream, NamesAMissingFileInQuotes)
{
    const std::string path = TempPath("missing.dat");
    EXPECT_EQ(ErrorText<Exception>([&] { CreateFileStream(path, fmOpenRead); }), "File not found: \"" + path + "\"");
    EXPECT_FALSE(HookedFileExists(path));
    auto created = CreateFileStream(path, fmCreate);
    created->WriteBuffer("ab", 2);
    created.reset();
    EXPECT_TRUE(HookedFileExists(path));
    EXPECT_EQ(CreateFileStream(path)->Size(), 2);
    std::filesystem::remove(path);
}

class TTextDataFile : public TDataFile {
    KP_CLASS(TTextDataFile, TDataFile)
public:
    using TDataFile::TDataFile;
    TDataFile* CreateCopy(TPersistent* owner) const override { return new TTextDataFile(owner); }
    void LoadFromStream(TStream& stream) override
    {
        Text.resize(static_cast<std::size_t>(stream.Size()));
        stream.ReadBuffer(Text.data(), stream.Size());
    }
    std::string Text;
};

TEST(DataFile, LoadsByFileNameAndRemembersTheNameWithoutFolderButCannotSave)
{
    const std::string path = TempPath("model.txt");
    testsupport::WriteFile(path, {'h', 'i'});
    TTextDataFile file(nullptr);
    file.LoadFromFile(path);
    EXPECT_EQ(file.Text, "hi");
    EXPECT_EQ(file.ResourceName(), std::filesystem::path(path).filename().string());
    std::unique_ptr<TDataFile> copy(file.CreateCopy(&file));
    EXPECT_EQ(copy->Owner(), &file);
    EXPECT_EQ(copy->ClassName(), "TTextDataFile");
    std::filesystem::remove(path);
    TMemoryStream stream;
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { file.SaveToStream(stream); }),
                ::testing::StartsWith("Export for TTextDataFile to TMemoryStream not available."));
    EXPECT_EQ(file.Capabilities(), 1u << dfcRead);
}

} // namespace
