#include "platform/core/graphics/BitmapFile.h"
#include "platform/core/graphics/Picture.h"
#include "platform/core/files/Stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void Checkered(TBitmap& bitmap, TPixelFormat format, int width, int height)
{
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t bgra[4] = {static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 20),
                                          static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0),
                                          static_cast<std::uint8_t>(100 + x)};
            bitmap.SetPixel(x, y, bgra);
        }
    }
}

// A checkered bitmap saved as a bitmap file to the stream.
void SaveCheckered(TStream& stream, TPixelFormat format, int width, int height)
{
    TBitmap bitmap;
    Checkered(bitmap, format, width, height);
    SaveBitmapToStream(bitmap, stream);
}

TEST(BitmapFile, PixelsRowsAndPaddingSurviveARoundTrip)
{
    struct Case {
        TPixelFormat format;
        int width, height;
        std::int64_t fileSize; // 54-byte header plus padded rows
    } cases[] = {{pf24bit, 3, 2, 54 + 12 * 2} /* 9 bytes padded to 12 */, {pf24bit, 4, 3, 54 + 12 * 3},
                 {pf32bit, 5, 2, 54 + 20 * 2}, {pf24bit, 0, 0, 54}};
    for (const Case& c : cases) {
        TBitmap source;
        Checkered(source, c.format, c.width, c.height);
        TMemoryStream stream;
        SaveBitmapToStream(source, stream);
        EXPECT_EQ(stream.Size(), c.fileSize) << c.width;
        stream.SetPosition(0);
        TBitmap read;
        LoadBitmapFromStream(read, stream);
        EXPECT_EQ(stream.Position(), c.fileSize) << c.width;
        ASSERT_EQ(read.Width(), c.width);
        ASSERT_EQ(read.Height(), c.height);
        EXPECT_EQ(read.PixelFormat(), c.format) << c.width;
        for (int y = 0; y < c.height; ++y) {
            EXPECT_EQ(std::memcmp(read.ScanLine(y), source.ScanLine(y), std::size_t(c.width) * source.BytesPerPixel()),
                      0) << c.width << " row " << y;
        }
    }
}

TEST(BitmapFile, TwoFilesInOneStreamAreReadOneAfterTheOther)
{
    TMemoryStream stream;
    SaveCheckered(stream, pf24bit, 2, 2);
    SaveCheckered(stream, pf32bit, 3, 1);
    stream.SetPosition(0);
    TBitmap first;
    TBitmap second;
    LoadBitmapFromStream(first, stream);
    LoadBitmapFromStream(second, stream);
    EXPECT_EQ(first.Width(), 2);
    EXPECT_EQ(second.Width(), 3);
    EXPECT_EQ(second.PixelFormat(), pf32bit);
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(BitmapFile, DamagedFilesRaiseAndLeaveTheBitmapAlone)
{
    TMemoryStream good;
    SaveCheckered(good, pf24bit, 4, 4);
    const std::string bytes(reinterpret_cast<const char*>(good.Memory()), static_cast<std::size_t>(good.Size()));
    TBitmap target;
    Checkered(target, pf24bit, 1, 1);
    const auto Load = [&](const std::string& file) {
        TStringStream s(file);
        LoadBitmapFromStream(target, s);
    };
    EXPECT_THROW(Load(bytes.substr(0, bytes.size() - 5)), EReadError); // truncated
    EXPECT_THROW(Load(bytes.substr(0, 20)), EReadError);                // the header only
    std::string damaged = bytes;
    damaged[0] = 'X'; // wrong magic
    EXPECT_THROW(Load(damaged), EInvalidGraphic);
    damaged = bytes;
    damaged[14 + 14] = 8; // 8 bits per pixel: a palette
    EXPECT_THROW(Load(damaged), EInvalidGraphic);
    damaged = bytes;
    damaged[14 + 4] = damaged[14 + 5] = damaged[14 + 6] = '\xff';
    damaged[14 + 7] = 0x7f; // width 2^31 - 1
    EXPECT_THROW(Load(damaged), EInvalidGraphic);
    EXPECT_EQ(target.Width(), 1);
}

TEST(BitmapFile, TBitmapReadsBitmapFilesFromStreams)
{
    TMemoryStream stream;
    SaveCheckered(stream, pf24bit, 2, 3);
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(bitmap.Height(), 3);
}

struct PictureEvents {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

TEST(Picture, CopiesGraphicsAndTellsEveryChange)
{
    PictureEvents events;
    TPicture picture;
    picture.OnChange = MakeDelegate<&PictureEvents::Changed>(&events);
    EXPECT_TRUE(picture.Empty());
    TBitmap source;
    Checkered(source, pf24bit, 3, 2);
    picture.SetGraphic(&source);
    EXPECT_EQ(events.changes, 1);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &source);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);

    TPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Width(), 3);
    picture.Assign(nullptr);
    EXPECT_EQ(events.changes, 2);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(copy.Width(), 3);
}

TEST(Picture, SavesAsABitmapFile)
{
    TPicture picture;
    TBitmap source;
    Checkered(source, pf32bit, 2, 2);
    picture.SetGraphic(&source);
    TMemoryStream stream;
    picture.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap back;
    LoadBitmapFromStream(back, stream);
    EXPECT_EQ(back.Width(), 2);
    EXPECT_EQ(std::memcmp(back.ScanLine(1), source.ScanLine(1), 8), 0);
}

} // namespace
