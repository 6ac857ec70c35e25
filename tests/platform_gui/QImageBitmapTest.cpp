#include "platform/core/graphics/PictureFormats.h"
#include "platform/core/files/Stream.h"
#include "platform/gui/QImageBitmap.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>

#include <memory>

namespace {

TEST(QImageBitmap, BecomesThePlatformBitmapAndSharesItsPixelsWithQt)
{
    InstallQtGraphics();
    std::unique_ptr<TBitmap> bitmap(TBitmap::Create());
    ASSERT_TRUE(bitmap->Is<TQImageBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(3, 2);
    const std::uint8_t bgra[4] = {10, 20, 30, 255};
    bitmap->SetPixel(2, 1, bgra);
    const QImage& image = static_cast<TQImageBitmap&>(*bitmap).Image();
    EXPECT_EQ(image.pixel(2, 1), qRgba(30, 20, 10, 255));
    EXPECT_EQ(image.pixel(0, 0), qRgba(0, 0, 0, 0));
}

TEST(QImageBitmap, TwentyFourBitRowsAreBlueGreenRed)
{
    TQImageBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(4, 1);
    const std::uint8_t bgr[4] = {1, 2, 3, 0};
    bitmap.SetPixel(3, 0, bgr);
    EXPECT_EQ(bitmap.Image().pixel(3, 0), qRgb(3, 2, 1));
    EXPECT_EQ(bitmap.ScanLine(0)[9], 1);
}

TEST(QImageBitmap, ResizingKeepsTheTopLeftPixels)
{
    TQImageBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(2, 2);
    bitmap.Fill(5, 6, 7, 8);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(bitmap.Image().pixel(1, 1), qRgba(7, 6, 5, 8));
    EXPECT_EQ(bitmap.Image().pixel(3, 2), qRgba(0, 0, 0, 0));
}

TEST(QImageBitmap, ReadsPngThroughTheRegisteredFormat)
{
    InstallQtGraphics();
    QImage source(5, 4, QImage::Format_ARGB32);
    source.fill(QColor(40, 50, 60));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.save(&buffer, "PNG"));

    const TPictureFormat* format = nullptr;
    for (const TPictureFormat& f : PictureFormats()) {
        if (f.Extension == "png") {
            format = &f;
            break;
        }
    }
    ASSERT_NE(format, nullptr);
    std::unique_ptr<TGraphic> picture(format->Create());
    TMemoryStream stream;
    stream.WriteBuffer(png.constData(), png.size());
    stream.SetPosition(0);
    picture->LoadFromStream(stream);
    EXPECT_EQ(picture->Width(), 5);
    EXPECT_EQ(static_cast<TQImageBitmap&>(*picture).Image().pixel(4, 3), qRgb(40, 50, 60));

    TMemoryStream junk;
    junk.WriteBuffer("junk", 4);
    junk.SetPosition(0);
    EXPECT_THROW(picture->LoadFromStream(junk), EInvalidGraphic);
}

} // namespace
