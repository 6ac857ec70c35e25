#include "editor/printing/CodeEditPrint.h"
#include "editor/widget/CodeEditPrintPreviewWidget.h"
#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScrollBar>

namespace {

class CodeEditPrintPreviewGui : public ::testing::Test {
protected:
    CodeEditPrintPreviewGui()
    {
        InstallQtMeasuringCanvas();
        QStringList lines;
        for (int i = 1; i <= 150; ++i) {
            lines << QStringLiteral("M3,%1,2,-0.5").arg(i);
        }
        engine.SetLines(lines);
        widget.resize(640, 400);
        widget.show();
        widget.Preview().SetCodeEditPrint(&engine);
        widget.Preview().SetScaleMode(pscWholePage);
        widget.Preview().UpdatePreview();
    }

    static bool Is(const QImage& image, int x, int y, TColor color)
    {
        const TColor rgb = ResolveSystemColor(color);
        return image.pixelColor(x, y) == QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    }

    TCodeEditPrint engine;
    TCodeEditPrintPreviewWidget widget;
};

TEST_F(CodeEditPrintPreviewGui, AGrabShowsTheCentredSheetWithItsShadow)
{
    const QImage image = widget.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const TRect sheet = widget.Preview().SheetRect();
    const int client = widget.viewport()->width();
    EXPECT_LE(std::abs(sheet.Left - (client - sheet.Right)), 3) << "centred across the wide window";
    EXPECT_EQ(sheet.Top, 12);
    EXPECT_TRUE(Is(image, 2, 2, clAppWorkSpace));
    EXPECT_TRUE(Is(image, sheet.Left - 2, sheet.Top + 5, clAppWorkSpace));
    EXPECT_TRUE(Is(image, sheet.Left, sheet.Top + 5, clBlack)) << "the frame";
    EXPECT_TRUE(Is(image, sheet.Left + 3, sheet.Bottom - 3, clWhite)) << "the sheet";
    EXPECT_TRUE(Is(image, sheet.Right, sheet.Top + 10, clBlack)) << "shadow, first pixel";
    EXPECT_TRUE(Is(image, sheet.Right + 1, sheet.Top + 10, clBlack)) << "shadow, second pixel";
    EXPECT_TRUE(Is(image, sheet.Right + 2, sheet.Top + 10, clAppWorkSpace));
    EXPECT_TRUE(Is(image, sheet.Left + 10, sheet.Bottom + 1, clBlack));
    EXPECT_TRUE(Is(image, sheet.Left + 1, sheet.Bottom + 1, clAppWorkSpace)) << "the shadow starts 2 in";

    // The text: dark pixels in the upper left quarter of the sheet, within its margins.
    int dark = 0;
    for (int y = sheet.Top + sheet.Height() / 8; y < sheet.Top + sheet.Height() / 2; ++y) {
        for (int x = sheet.Left + sheet.Width() / 8; x < sheet.Left + sheet.Width() / 2; ++x) {
            dark += image.pixelColor(x, y).lightness() < 128;
        }
    }
    EXPECT_GT(dark, 20);
}

TEST_F(CodeEditPrintPreviewGui, ThePageBarShowsOneHintWhileDragged)
{
    ASSERT_EQ(engine.PageCount(), 3);
    widget.Preview().VerticalScroll(TPreviewScrollCode::ThumbTrack, 2);
    widget.Preview().VerticalScroll(TPreviewScrollCode::ThumbTrack, 3);
    QList<QLabel*> hints;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* label = qobject_cast<QLabel*>(top); label && label->isVisible()) {
            hints << label;
        }
    }
    ASSERT_EQ(hints.size(), 1);
    EXPECT_EQ(hints[0]->text(), u"Page: 3");
    const QRect area(widget.viewport()->mapToGlobal(QPoint(0, 0)), widget.viewport()->size());
    EXPECT_EQ(hints[0]->geometry().right(), area.right() - 4);
    EXPECT_EQ(hints[0]->y(), area.top() + 10);
    EXPECT_EQ(widget.verticalScrollBar()->value(), 3);
    widget.Preview().VerticalScroll(TPreviewScrollCode::EndScroll, 0);
    EXPECT_FALSE(hints[0]->isVisible());
}

} // namespace
