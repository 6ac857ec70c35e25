#include "platform/gui/QImageBitmap.h"
#include "scene/materials/GLBitmap32.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// With the shell's graphics installed, a snapshot of the 3D view is a QImage the shell
// can show or save as it is.
TEST(SnapshotBitmap, IsAQImageWithTheTopRowFirst)
{
    InstallQtGraphics();
    TGLBitmap32 image;
    image.SetWidth(4);
    image.SetHeight(2);
    std::uint8_t* bottom = image.ScanLine(0);
    bottom[0] = 255; // red, bottom-left
    bottom[3] = 255;
    std::uint8_t* top = image.ScanLine(1);
    top[2] = 255; // blue, top-left
    top[3] = 128;
    std::unique_ptr<TBitmap> bitmap = image.MakeVCLBitmap();
    auto* qt = ObjectCast<TQImageBitmap>(bitmap.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->Image().width(), 4);
    EXPECT_EQ(qt->Image().pixel(0, 0), qRgba(0, 0, 255, 128));
    EXPECT_EQ(qt->Image().pixel(0, 1), qRgba(255, 0, 0, 255));
}

} // namespace
