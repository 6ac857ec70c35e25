#include "../../support/RecordingCanvas.h"
#include "platform/core/graphics/Canvas.h"

#include <gtest/gtest.h>

using testsupport::TRecordingCanvas;

namespace {

struct TFontHeightCase {
    const char* what;
    void (*build)(TFont& font);
    int height;
    int size;
};

const TFontHeightCase kFontHeights[] = {
    {"10 points on the screen", [](TFont& f) { f.SetSize(10); }, 13, 10},
    {"10 points on a 300 dpi printer", [](TFont& f) { f.SetSize(10); f.SetPixelsPerInch(300); }, 42, 10},
    {"printer resolution first, then the size", [](TFont& f) { f.SetPixelsPerInch(600); f.SetSize(9); }, 75, 9},
    {"13 pixels given directly", [](TFont& f) { f.SetHeight(13); }, 13, 10},
    {"a pixel height keeps its physical size on the printer",
     [](TFont& f) { f.SetHeight(13); f.SetPixelsPerInch(300); }, 41, 10},
    {"a size after a pixel height counts in points again", [](TFont& f) { f.SetHeight(40); f.SetSize(12); }, 16, 12},
    {"the sign of a pixel height is the platform's, not ours", [](TFont& f) { f.SetHeight(-20); }, 20, 15},
};

TEST(Canvas, FontHeightFollowsPointsAndPixelsPerInch)
{
    for (const TFontHeightCase& c : kFontHeights) {
        TFont font;
        c.build(font);
        EXPECT_EQ(font.Height(), c.height) << c.what;
        EXPECT_EQ(font.Size(), c.size) << c.what;
        TFont copy;
        copy.Assign(&font);
        EXPECT_EQ(copy.Height(), c.height) << c.what << " (copied)";
    }
}

TEST(Canvas, PlatformFontSetsTheCanvasFontAndTheTextColour)
{
    TRecordingCanvas canvas;
    TFont font;
    font.SetName("Arial");
    font.SetStyle(TFont::fsBold | TFont::fsItalic);
    font.SetColor(clRed);
    font.SetPixelsPerInch(300);
    font.SetSize(10);
    canvas.SetFont(font);
    EXPECT_EQ(canvas.Font(), (TCanvasFont{"Arial", 42, TFont::fsBold | TFont::fsItalic}));
    EXPECT_EQ(canvas.TextColor(), clRed);
}

TEST(Canvas, RestoreBringsBackStateClipAndMappingAndMovesTheFontSerialOn)
{
    TRecordingCanvas canvas;
    canvas.SetFont(TCanvasFont{"A", 10, 0});
    canvas.SetPen(TPen{clGreen, TPenStyle::Clear, 3});
    canvas.Save();
    canvas.SetFont(TCanvasFont{"B", 12, TFont::fsBold});
    canvas.SetBrush(TBrush{clYellow, TBrushStyle::Clear});
    canvas.IntersectClipRect(TRect{10, 10, 50, 50});
    canvas.SetMapping(TCanvasMapping{{0, 0}, {100, 100}, {5, 5}, {200, 200}});
    const std::uint32_t inside = canvas.FontSerial();
    canvas.Restore();

    EXPECT_EQ(canvas.Font(), (TCanvasFont{"A", 10, 0}));
    EXPECT_EQ(canvas.Pen(), (TPen{clGreen, TPenStyle::Clear, 3}));
    EXPECT_EQ(canvas.Brush(), TBrush{});
    EXPECT_EQ(canvas.ClipBox(), canvas.measures.device);
    EXPECT_EQ(canvas.Mapping(), TCanvasMapping{});
    EXPECT_GT(canvas.FontSerial(), inside) << "a device that selected font B must select A again";
    canvas.Restore(); // one too many: nothing happens
    EXPECT_EQ(canvas.Font().name, "A");
}

} // namespace
