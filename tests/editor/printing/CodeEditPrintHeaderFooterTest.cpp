#include "editor/printing/CodeEditPrintHeaderFooter.h"
#include "editor/printing/CodeEditPrintMargins.h"
#include "editor/printing/CodeEditPrinterInfo.h"
#include "../QtPrinters.h"
#include "../../support/FixedClock.h"
#include "../../support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;
using testsupport::TRecordingMetrics;

TEST(CodeEditPrintHeaderFooter, MacrosExpandWithoutRegardToCase)
{
    struct Case {
        const char16_t* text;
        const char16_t* expanded;
    } cases[] = {
        {u"$pagenum$/$PAGECOUNT$", u"III/12"},
        {u"$a$b$", u"$a$b$"},
        {u"Page $PAGENUM", u"Page $PAGENUM"},
        {u"$$PageNum$$", u"$III$"},
        {u"$TITLE$: $DATETIME$ | $TIMEDATE$", u"job.sbp: D T | T D"},
        {u" \t ", u""},
        {u" $Title$ ", u" job.sbp "},
        {u"cost $5 $", u"cost $5 $"},
    };
    for (const Case& c : cases) {
        THeaderFooterItem item;
        item.Text = QString::fromUtf16(c.text);
        EXPECT_EQ(item.GetExpandedText(12, 3, true, "job.sbp", "T", "D"), QString::fromUtf16(c.expanded))
            << item.Text.toStdString();
    }
}

class CodeEditPrintFrame : public ::testing::Test {
protected:
    CodeEditPrintFrame()
    {
        TRecordingMetrics m;
        m.charWidth = m.boldCharWidth = 24;
        m.metrics = {50, 40, 10, 0, 0, 24, 24, 0};
        canvas.measures = m;
        margins.InitPage(canvas, 1, info, false, false, 0);
    }
    // What the part draws on the page, of one kind.
    std::vector<TCanvasCall> Printed(THeaderFooter& part, int page, TCanvasCall::Kind kind = TCanvasCall::Text)
    {
        part.InitPrint(canvas, 12, "job.sbp", &margins);
        canvas.calls.clear();
        part.Print(canvas, page);
        return canvas.Calls(kind);
    }

    TRecordingCanvas canvas;
    TCodeEditPrinterInfo info;
    TCodeEditPrintMargins margins;
    THeader header;
    TFooter footer;
};

TEST_F(CodeEditPrintFrame, MarginsInPixelsMirrorTheGutterOnEvenPages)
{
    EXPECT_EQ(std::vector<int>({margins.PixelLeft, margins.PixelRight, margins.PixelTop, margins.PixelBottom,
                                margins.PixelHeader, margins.PixelFooter, margins.PixelLeftHFTextIndent,
                                margins.PixelRightHFTextIndent, margins.PixelHFInternalMargin}),
              std::vector<int>({230, 2239, 245, 3162, 127, 3280, 254, 2215, 6}));
    margins.SetGutter(10);
    margins.SetMirrorMargins(true);
    margins.InitPage(canvas, 1, info, false, false, 0);
    EXPECT_EQ(margins.PixelLeft, 348);
    EXPECT_EQ(margins.PixelRight, 2239);
    EXPECT_EQ(margins.PixelGutter, 118);
    margins.InitPage(canvas, 2, info, false, false, 0);
    EXPECT_EQ(margins.PixelLeft, 112);
    EXPECT_EQ(margins.PixelRight, 2003);
    margins.InitPage(canvas, 3, info, true, false, 1234);
    EXPECT_EQ(margins.PixelLeft, 348 + 6 * 24) << "room for \"1234: \"";
}

TEST_F(CodeEditPrintFrame, ItemsStandLeftCentredOrRightOnTheirBaselines)
{
    header.Add("abc", nullptr, taLeftJustify, 1);
    header.Add("abc", nullptr, taCenter, 1);
    header.Add("abc", nullptr, taRightJustify, 1);
    header.Add("$PAGENUM$", nullptr, taLeftJustify, 3); // the third line becomes the second
    header.SetMirrorPosition(true);
    // Two lines of 50 and two internal margins of 6: the frame ends at the header margin.
    const int top = 127 - 112 + 6;
    const std::vector<TCanvasCall> odd = Printed(header, 1);
    ASSERT_EQ(odd.size(), 4u);
    EXPECT_EQ(header.FrameHeight(), 112);
    EXPECT_EQ(std::vector<int>({odd[0].x, odd[1].x, odd[2].x, odd[3].x}), std::vector<int>({254, 1198, 2143, 254}));
    EXPECT_EQ(std::vector<int>({odd[0].y, odd[3].y}), std::vector<int>({top + 40, top + 50 + 40}));
    EXPECT_EQ(odd[0].options, 0);
    const std::vector<TCanvasCall> even = Printed(header, 2);
    EXPECT_EQ(std::vector<int>({even[0].x, even[1].x, even[2].x, even[3].x}),
              std::vector<int>({2143, 1198, 254, 2215 - 24}));
}

TEST_F(CodeEditPrintFrame, FramesAreALineABoxOrAShadedBox)
{
    footer.Add("x", nullptr, taLeftJustify, 1);
    const TCanvasCall line = Printed(footer, 1, TCanvasCall::Line).at(0);
    EXPECT_EQ(std::vector<int>({line.x, line.y, line.x2, line.y2}), std::vector<int>({230, 3280, 2239, 3280}));
    EXPECT_EQ(canvas.Texts().at(0).y, 3280 + 6 + 40);

    footer.SetFrameTypes(ftBox | ftShaded);
    footer.SetShadedColor(clAqua);
    const TCanvasCall box = Printed(footer, 1, TCanvasCall::Rectangle).at(0);
    EXPECT_EQ(std::tuple(box.rect, box.brush, box.pen.style),
              std::tuple(Rect(230, 3280, 2239, 3280 + 62), TBrush{clAqua, TBrushStyle::Solid}, TPenStyle::Solid));
    EXPECT_TRUE(canvas.Lines().empty());

    header.Add("x", nullptr, taLeftJustify, 1);
    header.SetFrameTypes(ftShaded);
    const TCanvasCall shaded = Printed(header, 1, TCanvasCall::Rectangle).at(0);
    EXPECT_EQ(std::pair(shaded.rect, shaded.pen.style), std::pair(Rect(230, 127 - 62, 2239, 127), TPenStyle::Clear));
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

TEST_F(CodeEditPrintFrame, ABlankItemPrintsItsFrameAndNoItemsPrintNothing)
{
    Printed(header, 1);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(header.FrameHeight(), -1);
    header.Add("  ", nullptr, taCenter, 1);
    EXPECT_TRUE(Printed(header, 1).empty());
    EXPECT_EQ(header.FrameHeight(), 50 + 2 * 6);
    EXPECT_EQ(canvas.Lines().size(), 1u);
}

TEST_F(CodeEditPrintFrame, DateAndTimeAreTheLocalesFormsOfTheClock)
{
    const char* oldTz = std::getenv("TZ");
    const std::string savedTz = oldTz ? oldTz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    const QLocale oldLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TFixedClock clock;
    clock.Now = 45356.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0; // 2024-03-05 14:07:09
    TClockSourceScope scope(&clock);
    footer.Add("$DATE$ $TIME$", nullptr, taLeftJustify, 1);
    const std::vector<TCanvasCall> texts = Printed(footer, 1);
    QLocale::setDefault(oldLocale);
    oldTz ? setenv("TZ", savedTz.c_str(), 1) : unsetenv("TZ");
    tzset();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Utf8Text(), "05.03.24 14:07:09 UTC");
}

} // namespace
