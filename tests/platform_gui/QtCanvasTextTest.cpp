// Text, shapes, clipping and images of the Qt canvas, read back from images.
#include "platform/core/graphics/Graphics.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtCanvasFonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <memory>
#include <tuple>

namespace {

class QtCanvasGui : public ::testing::Test {
protected:
    QImage image{240, 80, QImage::Format_RGB32};
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<TQtCanvas> canvas;

    void SetUp() override
    {
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        canvas = std::make_unique<TQtCanvas>(*painter);
        canvas->SetTextColor(clBlack);
    }
    void Finish()
    {
        canvas.reset();
        painter.reset();
    }
    // Pixels in [left, right) x [top, bottom) that are not white.
    int Ink(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
            for (int x = std::max(0, left); x < std::min(right, image.width()); ++x) {
                n += image.pixelColor(x, y) != QColor(Qt::white);
            }
        }
        return n;
    }
    int Count(const QColor& color) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixelColor(x, y) == color;
            }
        }
        return n;
    }
};

TEST_F(QtCanvasGui, EveryCharacterStandsInItsOwnCellOnTheBaseline)
{
    canvas->SetFont(TCanvasFont{"DejaVu Sans", 16, 0});
    const TTextMetrics m = canvas->TextMetrics();
    const std::u16string text = u"iMi WH";
    const std::vector<int> advances(text.size(), 14);
    canvas->ExtTextOut(10, 40, 0, nullptr, text, advances.data());
    Finish();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Ink(10 + 14 * i, 0, 24 + 14 * i, 80) > 0, text[i] != u' ') << "cell " << i;
    }
    EXPECT_EQ(Ink(10 + 14 * 6, 0, 240, 80), 0) << "nothing right of the last cell";
    EXPECT_EQ(Ink(0, 40, 240, 80) + Ink(0, 0, 240, 40 - m.ascent), 0) << "on the baseline, below the ascent";
    EXPECT_EQ(m.height, m.ascent + m.descent);
}

TEST_F(QtCanvasGui, OpaqueClippedTextFillsItsRectangleAndStaysInside)
{
    canvas->SetFont(TCanvasFont{"DejaVu Sans Mono", 16, TFont::fsBold});
    canvas->SetBackgroundColor(RGB(0, 0, 255));
    canvas->SetTextColor(RGB(255, 255, 0));
    const TRect rect{20, 10, 60, 40};
    canvas->ExtTextOut(20, 30, etoOpaque | etoClipped, &rect, u"MMMMMMMMMM", nullptr);
    Finish();
    EXPECT_EQ(Ink(0, 0, 20, 80) + Ink(60, 0, 240, 80) + Ink(0, 0, 240, 10) + Ink(0, 40, 240, 80), 0);
    EXPECT_EQ(image.pixelColor(20, 10), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(59, 39), QColor(0, 0, 255));
    EXPECT_GT(Count(QColor(255, 255, 0)), 0);
}

TEST_F(QtCanvasGui, FontsSizedInPixelsMeasureAlikeOnEveryDevice)
{
    const TCanvasFont font{"DejaVu Sans", 17, TFont::fsItalic};
    QImage print(10, 10, QImage::Format_RGB32);
    print.setDotsPerMeterX(11811); // 300 dpi
    print.setDotsPerMeterY(11811);
    QPainter printPainter(&print);
    TQtCanvas printCanvas(printPainter);
    auto measuring = TQtCanvas::CreateMeasuring(96);
    EXPECT_EQ(printCanvas.PixelsPerInch(), 300);
    EXPECT_EQ(measuring->PixelsPerInch(), 96);
    for (TCanvas* c : {static_cast<TCanvas*>(canvas.get()), static_cast<TCanvas*>(&printCanvas),
                       static_cast<TCanvas*>(measuring.get())}) {
        c->SetFont(font);
    }
    const std::u16string sample = u"Kerfpad measures alike: 0123 \u00e9\u00df";
    EXPECT_EQ(printCanvas.TextMetrics(), canvas->TextMetrics());
    EXPECT_EQ(measuring->TextMetrics(), canvas->TextMetrics());
    EXPECT_EQ(printCanvas.TextWidth(sample), canvas->TextWidth(sample));
    EXPECT_EQ(measuring->TextWidth(sample), canvas->TextWidth(sample));
    EXPECT_EQ(canvas->TextWidth(u"Wi"), canvas->CharAdvance(U'W') + canvas->CharAdvance(U'i')) << "whole pixels";
}

TEST_F(QtCanvasGui, MissingFixedPitchFacesBecomeTheSystemFixedPitchFace)
{
    const bool installed = QFontDatabase::hasFamily("Courier New");
    if (!installed) {
        EXPECT_EQ(QtFontFamily("Courier New"), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    }
    for (const char* face : {"Courier New", "Terminal"}) {
        canvas->SetFont(TCanvasFont{face, 13, 0});
        EXPECT_EQ(canvas->CharAdvance(U'i'), canvas->CharAdvance(U'M')) << face;
    }
    canvas->SetFont(TCanvasFont{"DejaVu Sans", 13, 0});
    EXPECT_LT(canvas->CharAdvance(U'i'), canvas->CharAdvance(U'M')) << "a proportional face stays proportional";
}

TEST_F(QtCanvasGui, ACharacterBeyondTheBasicPlaneStartsInItsFirstCellAndTakesBoth)
{
    canvas->SetFont(TCanvasFont{"DejaVu Sans", 16, 0});
    const std::u16string text = u"a\U0001D400b"; // a, MATHEMATICAL BOLD CAPITAL A, b
    const int advances[] = {12, 12, 12, 12};
    canvas->ExtTextOut(0, 40, 0, nullptr, text, advances);
    Finish();
    EXPECT_GT(Ink(12, 0, 20, 80), 0) << "the pair's glyph begins in its first cell";
    EXPECT_GT(Ink(36, 0, 48, 80), 0) << "b comes after both cells";
    EXPECT_EQ(Ink(48, 0, 240, 80), 0);
}

TEST_F(QtCanvasGui, ShapesUseThePenAndTheBrushAndLeaveOutTheEndPoint)
{
    canvas->SetPen(TPen{RGB(255, 0, 0), TPenStyle::Solid, 1});
    canvas->SetBrush(TBrush{RGB(0, 255, 0), TBrushStyle::Solid});
    canvas->Rectangle(TRect{10, 10, 20, 16});
    const TPoint corner[] = {{50, 5}, {60, 5}, {60, 15}};
    canvas->Polyline(corner);
    canvas->SetBrush(TBrush{RGB(0, 255, 0), TBrushStyle::Clear});
    canvas->Rectangle(TRect{70, 10, 80, 16});
    Finish();
    const QColor red(255, 0, 0);
    const QColor white(Qt::white);
    const std::tuple<int, int, QColor> pixels[] = {
        {10, 10, red}, {19, 15, red}, {20, 15, white}, {15, 12, QColor(0, 255, 0)}, // outline, right edge out
        {59, 5, red},  {60, 14, red}, {60, 15, white},                              // the end point is out
        {70, 12, red}, {75, 12, white},                                             // a clear brush
    };
    for (const auto& [x, y, color] : pixels) {
        EXPECT_EQ(image.pixelColor(x, y), color) << x << "," << y;
    }
}

TEST_F(QtCanvasGui, ClippingIntersectsExcludesAndComesBackWithRestore)
{
    canvas->Save();
    canvas->IntersectClipRect(TRect{10, 10, 50, 50});
    canvas->ExcludeClipRect(TRect{20, 20, 30, 30});
    EXPECT_EQ(canvas->ClipBox(), (TRect{10, 10, 50, 50}));
    canvas->FillRect(TRect{0, 0, 240, 80}, RGB(255, 0, 0));
    canvas->Restore();
    EXPECT_EQ(canvas->ClipBox(), (TRect{0, 0, 240, 80}));
    canvas->FillRect(TRect{100, 0, 110, 10}, RGB(0, 0, 255));
    Finish();
    EXPECT_EQ(Count(QColor(255, 0, 0)), 40 * 40 - 10 * 10);
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::white));
    EXPECT_EQ(Count(QColor(0, 0, 255)), 100);
}

TEST_F(QtCanvasGui, MappingScalesAndMovesLogicalCoordinates)
{
    canvas->SetMapping(TCanvasMapping{{100, 0}, {200, 200}, {10, 20}, {100, 100}});
    canvas->FillRect(TRect{100, 0, 140, 20}, RGB(255, 0, 0));
    EXPECT_EQ(canvas->ClipBox(), (TRect{80, -40, 560, 120}));
    canvas->ResetMapping();
    canvas->FillRect(TRect{0, 0, 2, 2}, RGB(0, 0, 255));
    Finish();
    EXPECT_EQ(Count(QColor(255, 0, 0)), 20 * 10);
    EXPECT_EQ(image.pixelColor(10, 20), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(29, 29), QColor(255, 0, 0));
    EXPECT_EQ(Count(QColor(0, 0, 255)), 4);
}

TEST_F(QtCanvasGui, PartOfAnImageIsCopiedWithItsAlpha)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(4, 2);
    const std::uint8_t red[] = {0, 0, 255, 255};
    const std::uint8_t clear[] = {0, 0, 0, 0};
    for (int x = 0; x < 4; ++x) {
        bitmap.SetPixel(x, 0, x == 2 ? clear : red);
        bitmap.SetPixel(x, 1, red);
    }
    canvas->DrawImage(100, 50, bitmap, TRect{1, 0, 3, 1});
    Finish();
    EXPECT_EQ(image.pixelColor(100, 50), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(101, 50), QColor(Qt::white)) << "a transparent pixel";
    EXPECT_EQ(Count(QColor(255, 0, 0)), 1);
}

} // namespace
