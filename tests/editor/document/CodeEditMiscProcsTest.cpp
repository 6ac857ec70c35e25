#include "editor/document/CodeEditMiscProcs.h"
#include "../../support/RecordingCanvas.h"
#include "../QtPrinters.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString Tabs(int n) { return QString(n, QLatin1Char('\t')); }

TEST(CodeEditMiscProcs, ClampKeepsBothBounds)
{
    struct Case {
        int x, lo, hi, expected;
    } cases[] = {{5, 1, 9, 5}, {0, 1, 9, 1}, {10, 1, 9, 9}, {1, 1, 9, 1}, {9, 1, 9, 9}};
    for (const Case& c : cases) {
        EXPECT_EQ(Clamp(c.x, c.lo, c.hi), c.expected) << c.x;
    }
}

TEST(CodeEditMiscProcs, LaterAndEarlierPointCompareLineFirst)
{
    struct Case {
        TTextPoint a, b, later, earlier;
    } cases[] = {
        {{5, 2}, {1, 3}, {1, 3}, {5, 2}},
        {{1, 3}, {5, 2}, {1, 3}, {5, 2}},
        {{2, 4}, {7, 4}, {7, 4}, {2, 4}},
        {{3, 3}, {3, 3}, {3, 3}, {3, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LaterPoint(c.a, c.b), c.later);
        EXPECT_EQ(EarlierPoint(c.a, c.b), c.earlier);
    }
}

TEST(CodeEditMiscProcs, FindFirstTabCountsCharactersBeforeIt)
{
    int count = -1;
    EXPECT_TRUE(FindFirstTab(u"ab\tc\t", count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(FindFirstTab(u"abc", count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(FindFirstTab(QStringView(), count));
    EXPECT_EQ(count, 0);
}

TEST(CodeEditMiscProcs, TabExpansionForEachWidth)
{
    struct Case {
        int width;
        QString text;
        QString expected;
    } cases[] = {
        {1, "a\tb", "a b"},
        {1, "\t\t", "  "},
        {2, "a\tb", "a" + Tabs(1) + "b"},
        {2, "ab\tc", "ab" + Tabs(2) + "c"},
        {4, "a\tb", "a" + Tabs(3) + "b"},
        {4, "abcd\t", "abcd" + Tabs(4)},
        {4, "\t\tx", Tabs(8) + "x"},
        {3, "\tx", Tabs(3) + "x"},
        {5, "ab\tc\td", "ab" + Tabs(3) + "c" + Tabs(4) + "d"},
        {5, "abcde\t", "abcde" + Tabs(5)},
        {8, "a\tb", "a" + Tabs(7) + "b"},
        {8, "12345678\t9", "12345678" + Tabs(8) + "9"},
    };
    for (const Case& c : cases) {
        bool hasTabs = false;
        EXPECT_EQ(SelectTabExpanderWithFlag(c.width)(c.text, c.width, hasTabs), c.expected) << c.width;
        EXPECT_TRUE(hasTabs);
        EXPECT_EQ(SelectTabExpander(c.width)(c.text, c.width), c.expected) << c.width;
    }
}

TEST(CodeEditMiscProcs, TextWithoutTabsComesBackSharedAndFlagFalse)
{
    const QString text = "no tabs here";
    for (int width : {1, 2, 4, 5, 8}) {
        bool hasTabs = true;
        const QString out = SelectTabExpanderWithFlag(width)(text, width, hasTabs);
        EXPECT_FALSE(hasTabs);
        EXPECT_EQ(out, text);
        EXPECT_TRUE(out.isSharedWith(text)) << "no copy for a line without tabs";
    }
}

TEST(CodeEditMiscProcs, HugeExpansionIsRefusedNotOverflowed)
{
    const QString tabs(40000, QLatin1Char('\t'));
    EXPECT_THROW(TabExpandPow2(tabs, 65536), Exception);
    EXPECT_THROW(TabExpandGeneral(tabs, 65535), Exception);
    EXPECT_EQ(TabExpandPow2(QString(3, QLatin1Char('\t')), 65536).size(), 3 * 65536);
}

TEST(CodeEditMiscProcs, PowerOfTwoAndExpanderChoice)
{
    for (int v : {2, 4, 8, 1024, 65536}) {
        EXPECT_TRUE(IsPowerOfTwo(v)) << v;
    }
    for (int v : {0, 1, 3, 6, -2, 131072}) {
        EXPECT_FALSE(IsPowerOfTwo(v)) << v;
    }
    EXPECT_EQ(SelectTabExpander(0), &TabExpand1);
    EXPECT_EQ(SelectTabExpander(1), &TabExpand1);
    EXPECT_EQ(SelectTabExpander(4), &TabExpandPow2);
    EXPECT_EQ(SelectTabExpander(6), &TabExpandGeneral);
    EXPECT_EQ(SelectTabExpanderWithFlag(8), &TabExpandPow2WithFlag);
    EXPECT_EQ(SelectTabExpanderWithFlag(3), &TabExpandGeneralWithFlag);
}

bool IsComma(QChar c) { return c == QLatin1Char(','); }
// A predicate that would wrongly accept the low half of a pair.
bool IsLowSurrogateOrComma(QChar c) { return c.isLowSurrogate() || c == QLatin1Char(','); }

TEST(CodeEditMiscProcs, ScansNeverStopInsideASurrogatePair)
{
    // "a" U+1F600 (two units) "," "b": positions 1, 2-3, 4, 5.
    const QString text = QString("a") + QString::fromUcs4(U"\U0001F600") + ",b";
    ASSERT_EQ(text.size(), 5);
    struct Case {
        int start;
        int forward;
        int backward;
    } cases[] = {
        {1, 4, 0}, {2, 4, 0}, {3, 4, 0}, {4, 4, 4}, {5, 0, 4}, {0, 0, 0}, {6, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanForCharInSet(text, c.start, IsLowSurrogateOrComma), c.forward) << c.start;
        EXPECT_EQ(ReverseScanForCharInSet(text, c.start, IsLowSurrogateOrComma), c.backward) << c.start;
    }
    EXPECT_EQ(ScanForCharInSet(text, 1, IsComma), 4);
    EXPECT_EQ(ScanForLeadByte(text, 1), 2);
    EXPECT_EQ(ScanForLeadByte(text, 3), 0); // a start on the low half moves on
    EXPECT_EQ(ReverseScanForLeadByte(text, 5), 2);
    EXPECT_EQ(ReverseScanForLeadByte(text, 1), 0);
    EXPECT_TRUE(IsTrailPosition(text, 3));
    EXPECT_FALSE(IsTrailPosition(text, 2));
}

TEST(CodeEditMiscProcs, FindLineEndStopsAtNulLfOrCr)
{
    EXPECT_EQ(FindLineEnd(u"abc\ndef"), 3);
    EXPECT_EQ(FindLineEnd(u"ab\rc"), 2);
    EXPECT_EQ(FindLineEnd(QStringView(u"a\0b", 3)), 1);
    EXPECT_EQ(FindLineEnd(u"abc"), 3);
}

TEST(CodeEditMiscProcs, FillRectOpaqueUsesTheBackgroundColour)
{
    testsupport::TRecordingCanvas canvas;
    canvas.SetBackgroundColor(RGB(1, 2, 3));
    FillRectOpaque(canvas, TRect{1, 2, 30, 40});
    canvas.SetBackgroundColor(clWindow);
    FillRectOpaque(canvas, TRect{0, 0, 5, 5});
    const auto fills = canvas.Fills();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect, (TRect{1, 2, 30, 40}));
    EXPECT_EQ(fills[0].color, RGB(1, 2, 3));
    EXPECT_EQ(fills[1].color, clWindow);
}

} // namespace
