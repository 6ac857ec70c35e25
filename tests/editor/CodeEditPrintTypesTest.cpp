#include "editor/CodeEditPrintMargins.h"
#include "editor/CodeEditPrintTypes.h"
#include "editor/CodeEditPrinterInfo.h"
#include "QtPrinters.h"
#include "platform/core/Printer.h"

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

std::vector<int> RowEnds(const QString& line, QStringView breaks, int maxColumns, bool expectFound = true)
{
    std::vector<int> positions{-1}; // an entry of an earlier call stays
    EXPECT_EQ(FindWrapPositions(line, breaks, maxColumns, positions), expectFound) << line.toStdString();
    EXPECT_EQ(positions.front(), -1);
    positions.erase(positions.begin());
    return positions;
}

TEST(CodeEditPrintTypes, WrapPositionsEndRowsOnTheLastBreakCharacter)
{
    const QStringView breaks(PrintBreakChars);
    EXPECT_EQ(RowEnds(u"short"_qs, breaks, 10), std::vector<int>{});
    EXPECT_EQ(RowEnds(u"exactly 10"_qs, breaks, 10), std::vector<int>{});
    // The break character ends the upper row.
    EXPECT_EQ(RowEnds(u"aaa bbb ccc ddd"_qs, breaks, 8), (std::vector<int>{8}));
    EXPECT_EQ(RowEnds(u"aaa bbb ccc ddd eee"_qs, breaks, 8), (std::vector<int>{8, 16}));
    EXPECT_EQ(RowEnds(u"M3,1.5,2.25,-0.125"_qs, breaks, 7), (std::vector<int>{7, 13}));
    // A row without a break character fails the whole call.
    EXPECT_EQ(RowEnds(u"aaa bbbbbbbbbbbb"_qs, breaks, 6, false), std::vector<int>{});
    EXPECT_EQ(RowEnds(u"f(a).g(b);h"_qs, QStringView(PrintFallbackBreakChars), 5), (std::vector<int>{5, 10}));
}

TEST(CodeEditPrintTypes, RowEndsFallBackToTheSecondSetThenToCuts)
{
    std::vector<int> positions;
    FindRowEnds(u"aaaa.bbbb.cc", 5, positions);
    EXPECT_EQ(positions, (std::vector<int>{5, 10}));
    positions.clear();
    FindRowEnds(u"abcdefghijk", 4, positions);
    EXPECT_EQ(positions, (std::vector<int>{4, 8}));
    positions.clear();
    FindRowEnds(u"abc", 0, positions); // no room at all still makes rows of one
    EXPECT_EQ(positions, (std::vector<int>{1, 2}));
    positions.clear();
    // A cut never parts a surrogate pair.
    FindRowEnds(u"ab\U0001F600cd", 3, positions);
    EXPECT_EQ(positions, (std::vector<int>{2, 5}));
}

TEST(CodeEditPrintTypes, DateTimeNumbersBecomeLocalTimes)
{
    const QDateTime stamp = DateTimeFromNumber(45356.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0);
    EXPECT_EQ(stamp.toString(u"yyyy-MM-dd HH:mm:ss"), u"2024-03-05 14:07:09"_qs);
    EXPECT_EQ(DateTimeFromNumber(45356.99999999999).toString(u"yyyy-MM-dd HH:mm:ss"), u"2024-03-06 00:00:00"_qs);
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

    TCodeEditPrintMargins copy;
    copy.Assign(&margins);
    EXPECT_EQ(copy.UnitSystem(), muThousandthsOfInches);
    EXPECT_DOUBLE_EQ(copy.Millimetres(TPrintMargin::Top), 12.7);
}

// A printer object with fixed capabilities and nothing behind it.
class TCapsPrinter : public IPrinter {
public:
    explicit TCapsPrinter(TPrinterCaps caps) : caps_(caps) {}
    std::string PrinterName() const override { return "caps"; }
    TPrinterCaps Capabilities() const override { return caps_; }
    void SetTitle(const std::string&) override {}
    void BeginDoc() override {}
    void NewPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }
    bool Aborted() const override { return false; }
    TCanvas& Canvas() override { throw EPrinter("no canvas"); }

private:
    TPrinterCaps caps_;
};

TEST(CodeEditPrinterInfo, WithoutPrinterAnA4SheetAt300Dpi)
{
    TCodeEditPrinterInfo info;
    EXPECT_EQ(info.PixelsFromLeft(25), 230);
    EXPECT_EQ(info.PrintableWidth(), 2358);
    EXPECT_EQ(info.RightOffset(), 58);
    EXPECT_EQ(info.BottomOffset(), 50);
    EXPECT_EQ(info.PixelsFromRight(15), 119);
    EXPECT_EQ(info.PixelsFromTop(25), 245);
    EXPECT_EQ(info.PixelsFromBottom(0), -50);
    EXPECT_FLOAT_EQ(info.PixelsPerMmX(), static_cast<float>(300 / 25.4));
}

TEST(CodeEditPrinterInfo, ReadsThePrinterOnceAndDerivesRightAndBottom)
{
    // 254 dpi: ten pixels a millimetre, so the offsets decide the rounding.
    TCapsPrinter printer({2100, 2970, 2000, 2900, 30, 25, 254, 254});
    TPrinterScope scope(&printer);
    TCodeEditPrinterInfo info;
    EXPECT_EQ(info.RightOffset(), 70);
    EXPECT_EQ(info.BottomOffset(), 45);
    EXPECT_EQ(info.PixelsFromLeft(10), 70);
    EXPECT_EQ(info.PixelsFromRight(10.25), 32);  // 32.5 to even
    EXPECT_EQ(info.PixelsFromTop(10.25), 78);    // 77.5 to even
    EXPECT_EQ(info.PixelsFromBottom(10), 55);
    {
        TPrinterScope none(nullptr);
        EXPECT_EQ(info.DpiX(), 254); // kept until UpdatePrinter
        info.UpdatePrinter();
        EXPECT_EQ(info.DpiX(), 300);
    }
}

} // namespace
