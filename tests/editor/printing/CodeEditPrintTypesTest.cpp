#include "editor/printing/CodeEditPrintMargins.h"
#include "editor/printing/CodeEditPrintTypes.h"
#include "editor/printing/CodeEditPrinterInfo.h"
#include "../QtPrinters.h"
#include "../RecordingPrinter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CodeEditPrintTypes, IntToRoman)
{
    const std::pair<int, const char*> cases[] = {{1994, "MCMXCIV"}, {4000, "MMMM"}, {0, ""},  {-5, ""},
                                                 {3, "III"},        {49, "XLIX"},   {444, "CDXLIV"}};
    for (const auto& [value, roman] : cases) {
        EXPECT_EQ(IntToRoman(value), QString::fromLatin1(roman)) << value;
    }
}

TEST(CodeEditPrintTypes, RowsEndOnTheLastBreakCharacterThenTheFallbackThenCuts)
{
    const struct {
        const char16_t* line;
        int maxColumns;
        std::vector<int> ends;
    } cases[] = {
        {u"exactly 10", 10, {}},
        {u"aaa bbb ccc ddd eee", 8, {8, 16}}, // the break character ends the upper row
        {u"M3,1.5,2.25,-0.125", 7, {7, 13}},
        {u"aaa bbbbbbbbbbbb", 6, {6, 12}},    // a row without a break: cuts
        {u"f(a).g(b);h", 5, {5, 10}},         // the fallback set
        {u"abc", 0, {1, 2}},                  // no room still makes rows of one
        {u"ab\U0001F600cd", 3, {2, 5}},       // a cut never parts a surrogate pair
    };
    for (const auto& c : cases) {
        std::vector<int> ends;
        FindRowEnds(c.line, c.maxColumns, ends);
        EXPECT_EQ(ends, c.ends) << QString::fromUtf16(c.line).toStdString();
    }
    std::vector<int> kept{-1};
    EXPECT_FALSE(FindWrapPositions(u"aaa bbbbbbbbbbbb", QStringView(PrintBreakChars), 6, kept));
    EXPECT_EQ(kept, std::vector<int>{-1}) << "a failed search takes back what it added";
}

TEST(CodeEditPrintMargins, UnitsConvertOnReadAndWrite)
{
    TCodeEditPrintMargins margins;
    margins.SetUnitSystem(usInch);
    margins.SetLeft(1);
    EXPECT_DOUBLE_EQ(margins.Millimetres(TPrintMargin::Left), 25.4);
    EXPECT_DOUBLE_EQ(margins.Left(), 1);
    margins.SetUnitSystem(usCM);
    EXPECT_DOUBLE_EQ(margins.Left(), 2.54);
    EXPECT_DOUBLE_EQ(margins.Right(), 1.5);
    margins.SetUnitSystem(muThousandthsOfInches);
    EXPECT_DOUBLE_EQ(margins.Left(), 1000);
    margins.SetTop(500);
    EXPECT_DOUBLE_EQ(margins.Millimetres(TPrintMargin::Top), 12.7);
}

TEST(CodeEditPrinterInfo, WithoutPrinterAnA4SheetAt300Dpi)
{
    TCodeEditPrinterInfo info;
    EXPECT_EQ(info.PixelsFromLeft(25), 230);
    EXPECT_EQ(std::vector<int>({info.RightOffset(), info.BottomOffset(), info.PixelsFromRight(15)}),
              std::vector<int>({58, 50, 119}));
}

TEST(CodeEditPrinterInfo, ReadsThePrinterOnceAndDerivesRightAndBottom)
{
    // 254 dpi: ten pixels a millimetre, so the offsets decide the rounding.
    TRecordingPrinter printer;
    printer.caps = {2100, 2970, 2000, 2900, 30, 25, 254, 254};
    TPrinterScope scope(&printer);
    TCodeEditPrinterInfo info;
    // Right and bottom offsets, then 32.5 and 77.5 rounded to even.
    EXPECT_EQ(std::vector<int>({info.RightOffset(), info.BottomOffset(), info.PixelsFromLeft(10),
                                info.PixelsFromRight(10.25), info.PixelsFromTop(10.25), info.PixelsFromBottom(10)}),
              std::vector<int>({70, 45, 70, 32, 78, 55}));
    TPrinterScope none(nullptr);
    EXPECT_EQ(info.DpiX(), 254) << "kept until UpdatePrinter";
    info.UpdatePrinter();
    EXPECT_EQ(info.DpiX(), 300);
}

} // namespace
