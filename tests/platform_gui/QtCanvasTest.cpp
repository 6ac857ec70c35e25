#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(QtCanvas, FillsExactlyTheRectangleWithResolvedColours)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        canvas.FillRect(TRect{2, 3, 5, 6}, RGB(255, 0, 0));
        canvas.FillRect(TRect{7, 7, 7, 9}, RGB(0, 255, 0)); // empty: nothing drawn
        canvas.FillRect(TRect{8, 0, 10, 1}, clWindow);
    }
    EXPECT_EQ(image.pixelColor(2, 3), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(4, 5), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 0, 0)) << "right edge excluded";
    EXPECT_EQ(image.pixelColor(4, 6), QColor(0, 0, 0)) << "bottom edge excluded";
    EXPECT_EQ(image.pixelColor(7, 7), QColor(0, 0, 0));
    const TColor window = ResolveSystemColor(clWindow);
    EXPECT_EQ(image.pixelColor(9, 0), QColor(GetRValue(window), GetGValue(window), GetBValue(window)));
}
