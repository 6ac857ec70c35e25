#include "platform/gui/BoxFit.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Ten pixels a code unit, but a 'W' twenty, half a surrogate pair fifteen and a combining
// acute accent five.
int Measure(QStringView text)
{
    int width = 0;
    for (const QChar c : text) {
        width += c == QLatin1Char('W') ? 20 : c.isSurrogate() ? 15 : c.unicode() == 0x0301 ? 5 : 10;
    }
    return width;
}

const QString Pair = QString::fromUtf16(u"\U0001F600");
const QString Acute = QString::fromUtf16(u"e\u0301");
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
        {"a short prompt keeps its width", {200, 200}, 1550, 200},
        {"300 characters on a 1600-pixel screen", {2045, 2045}, 1550, 510},
        {"20,000 pixels of text, three times as wide as high", {20000, 20000}, 1550, 1009},
        {"a word of 5,000 wide characters on 1600 pixels", {55000, 55000}, 1550, 1550},
        {"the same on 1024 pixels", {55000, 55000}, 974, 974},
        {"a screen narrower than the readable column", {2045, 2045}, 300, 300},
        {"many short lines keep the widest", {180, 54000}, 1550, 180},
        {"one long line among short ones", {9000, 12000}, 1550, 782},
        {"no text", {0, 0}, 1550, 1},
        {"no room", {2045, 2045}, -40, 1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WrapWidth(c.Extent, 17, c.MaxWidth), c.Wrap) << c.Name;
    }
    const TTextExtent lines = MeasureLines("ab\n\nabcd\nWW", Measure);
    EXPECT_EQ(lines.Widest, 40);
    EXPECT_EQ(lines.Total, 100);
}

TEST(BoxFit, AWordWiderThanTheBoxBreaksWhereItsNextPieceWouldNotFit)
{
    struct TCase {
        const char* Name;
        QString Text;
        int Width;
        QString Broken;
    };
    const TCase cases[] = {
        {"words that fit stay", "short words stay whole", 100, "short words stay whole"},
        {"a word as wide as the box", Repeat(10, 'a'), 100, Repeat(10, 'a')},
        {"a long word", Repeat(25, 'a'), 100, Repeat(10, 'a') + "\n" + Repeat(10, 'a') + "\n" + Repeat(5, 'a')},
        {"between other words", "see " + Repeat(12, 'a') + " end", 100, "see " + Repeat(10, 'a') + "\naa end"},
        {"after a tab", Repeat(12, 'a') + "\tb", 100, Repeat(10, 'a') + "\naa\tb"},
        {"wide characters", Repeat(7, 'W'), 100, Repeat(5, 'W') + "\n" + Repeat(2, 'W')},
        {"a surrogate pair stays whole", Repeat(8, 'a') + Pair + "bb", 100, Repeat(8, 'a') + "\n" + Pair + "bb"},
        {"an accent stays on its letter", Repeat(9, 'a') + Acute + "b", 100, Repeat(9, 'a') + "\n" + Acute + "b"},
        {"a no-break space joins", Repeat(6, 'a') + NoBreakSpace + Repeat(6, 'b'), 100,
         Repeat(6, 'a') + NoBreakSpace + "bbb\nbbb"},
        {"a character wider than the box goes alone", "WWW", 15, "W\nW\nW"},
        {"lines of their own stay", "one\n" + Repeat(11, 'a') + "\ntwo", 100, "one\n" + Repeat(10, 'a') + "\na\ntwo"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(BreakLongWords(c.Text, c.Width, Measure), c.Broken) << c.Name;
    }
}

// A prompt of one word of 5,000 characters: every line fits, nothing is lost, and each
// line costs a few measurements rather than one per character.
TEST(BoxFit, AWordOfThousandsOfCharactersBreaksIntoFullLines)
{
    QString word;
    for (int i = 0; i < 1000; ++i) {
        word += "abcd" + Pair;
    }
    int measured = 0;
    const TTextMeasure counting = [&](QStringView text) {
        ++measured;
        return Measure(text);
    };
    const QString broken = BreakLongWords(word, 1000, counting);
    const QStringList lines = broken.split('\n');
    EXPECT_EQ(QString(broken).remove('\n'), word);
    ASSERT_EQ(lines.size(), 72);
    for (const QString& line : lines.first(71)) {
        EXPECT_GE(Measure(line), 1000 - 30);
        EXPECT_LE(Measure(line), 1000);
        EXPECT_FALSE(line.back().isHighSurrogate());
    }
    EXPECT_LT(measured, 72 * 20);
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
