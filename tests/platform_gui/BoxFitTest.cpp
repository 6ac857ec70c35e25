#include "platform/gui/BoxFit.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Ten pixels a code unit, but a 'W' twenty.
int Measure(QStringView text)
{
    int width = 0;
    for (const QChar c : text) {
        width += c == QLatin1Char('W') ? 20 : 10;
    }
    return width;
}

const QChar NoBreakSpace(0x00A0);

QString Repeat(qsizetype count, char c) { return QString(count, QLatin1Char(c)); }

TEST(BoxFit, ABoxLeavesRoomForTheWindowFrameOnTheAvailableArea)
{
    EXPECT_EQ(MaxBoxSize({1600, 1000}), QSize(1600 - BoxFrameWidth, 1000 - BoxFrameHeight));
    EXPECT_EQ(MaxBoxSize({10, 20}), QSize(1, 1));
}

TEST(BoxFit, TextWrapsAtAReadableWidthWithinTheScreen)
{
    struct TCase {
        const char* Name;
        TTextExtent Extent;
        int MaxWidth;
        int Wrap;
    };
    // Line height 17: a readable column is 510 pixels.
    const TCase cases[] = {
        {"a short prompt keeps its width", {200, 200, 60}, 1550, 200},
        {"300 characters on a 1600-pixel screen", {2045, 2045, 80}, 1550, 510},
        {"20,000 pixels of text, three times as wide as high", {20000, 20000, 80}, 1550, 1009},
        {"a word of 5,000 wide characters on 1600 pixels", {55000, 55000, 55000}, 1550, 1550},
        {"the same on 1024 pixels", {55000, 55000, 55000}, 974, 974},
        {"a screen narrower than the readable column", {2045, 2045, 80}, 300, 300},
        {"many short lines keep the widest", {180, 54000, 40}, 1550, 180},
        {"one long line among short ones", {9000, 12000, 80}, 1550, 782},
        {"an error naming a path of 140 characters", {1030, 1030, 910}, 1550, 910},
        {"the same path on 1024 pixels", {1030, 1030, 910}, 974, 910},
        {"the same path on 800 pixels", {1030, 1030, 910}, 750, 750},
        {"a path in a long text wider than its balance", {9000, 12000, 900}, 1550, 900},
        {"a path on a line of its own", {900, 1500, 900}, 1550, 900},
        {"no text", {0, 0, 0}, 1550, 1},
        {"no room", {2045, 2045, 80}, -40, 1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WrapWidth(c.Extent, 17, c.MaxWidth), c.Wrap) << c.Name;
    }
}

TEST(BoxFit, ATextIsMeasuredByItsLinesAndItsWidestWord)
{
    struct TCase {
        QString Text;
        int Widest;
        qint64 Total;
        int WidestWord;
    };
    const TCase cases[] = {
        {"ab\n\nabcd\nWW", 40, 100, 40},
        {"Cannot find file: /home/" + Repeat(20, 'p'), 440, 440, 260},
        {"a  b\tcc\r\nddd", 80, 110, 30},
        {Repeat(6, 'a') + NoBreakSpace + Repeat(6, 'b') + " c", 150, 150, 130},
        {"x" + QString(QChar(0x200B)) + "yy", 40, 40, 20},
        {"", 0, 0, 0},
        {"\n \n", 10, 10, 0},
    };
    for (const TCase& c : cases) {
        const TTextExtent extent = MeasureText(c.Text, Measure);
        EXPECT_EQ(extent.Widest, c.Widest) << c.Text.toStdString();
        EXPECT_EQ(extent.Total, c.Total) << c.Text.toStdString();
        EXPECT_EQ(extent.WidestWord, c.WidestWord) << c.Text.toStdString();
    }
}

// Where the line breaker could break a word (after a '/' or a '-', between ideographs),
// a word that fits the box is joined; a word wider than the box is left to break.
TEST(BoxFit, AWordThatFitsIsKeptWholeWhereTheLineBreakerWouldBreakIt)
{
    struct TCase {
        const char* Name;
        QString Text;
        int Width;
        std::vector<qsizetype> Joins;
    };
    const TCase cases[] = {
        {"a path", "file: /home/a.sbp", 200, {7, 12}},
        {"a path wider than the box", "file: /home/a.sbp", 100, {}},
        {"a hyphen, and words without a break", "a well-known part", 200, {7}},
        {"ideographs", QString::fromUtf16(u"\u65e5\u672c\u8a9e"), 200, {1, 2}},
        {"lines of their own", "a/b\nc-d", 200, {2, 6}},
        {"a no-break space joins two words into one", "a/b" + QString(NoBreakSpace) + "c/d", 40, {}},
        {"no text", "", 200, {}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WordJoins(c.Text, c.Width, Measure), c.Joins) << c.Name;
    }
}

TEST(BoxFit, ATextTallerThanItsRoomScrollsShowingAtLeastOneLine)
{
    EXPECT_EQ(ShownTextHeight(300, 500, 17), 300);
    EXPECT_EQ(ShownTextHeight(5000, 800, 17), 800);
    EXPECT_EQ(ShownTextHeight(5000, -20, 17), 17);
    EXPECT_EQ(ShownTextHeight(10, -5, 17), 10);
}

TEST(BoxFit, ABoxIsCentredAndKeptInsideTheArea)
{
    const QRect screen(0, 0, 1600, 1000);
    const QRect second(1600, 0, 1280, 1024);
    EXPECT_EQ(BoxTopLeft(screen, {500, 200}, {800, 500}), QPoint(550, 400));
    EXPECT_EQ(BoxTopLeft(screen, {500, 200}, {1590, 990}), QPoint(1100, 800));
    EXPECT_EQ(BoxTopLeft(screen, {500, 200}, {-300, 20}), QPoint(0, 0));
    EXPECT_EQ(BoxTopLeft(screen, {2000, 1200}, {800, 500}), QPoint(0, 0));
    EXPECT_EQ(BoxTopLeft(second, {500, 200}, {100, 100}), QPoint(1600, 0));
    EXPECT_EQ(BoxTopLeft(second, {500, 200}, {2240, 512}), QPoint(1990, 412));
}

} // namespace
