#include "platform/gui/QtShownText.h"

#include <gtest/gtest.h>

namespace {

QString Repeat(qsizetype count, char c) { return QString(count, QLatin1Char(c)); }

const QString Pair = QString::fromUtf16(u"\U0001F600");

QString Note(const char* what) { return QStringLiteral(" ... (%1 not shown) ... ").arg(QLatin1String(what)); }

struct TShownCase {
    const char* Name;
    QString Text;
    QString Shown;
};

// Both forms of the cut, the core one on UTF-16 and the Qt one, show the same.
TEST(ShownText, ALongTextShowsItsStartAndEndAndCountsWhatWasLeftOutInCharacters)
{
    const qsizetype head = MaxShownTextLength - ShownTailLength;
    const QString tail = Repeat(ShownTailLength, 'z');
    const std::vector<TShownCase> cases = {
        {"at the bound", Repeat(MaxShownTextLength, 'C'), Repeat(MaxShownTextLength, 'C')},
        // Just past the bound the note would be longer than what it leaves out.
        {"one past the bound", Repeat(MaxShownTextLength + 1, 'C'), Repeat(MaxShownTextLength + 1, 'C')},
        {"32 past", Repeat(MaxShownTextLength + 32, 'C'), Repeat(MaxShownTextLength + 32, 'C')},
        {"33 past", Repeat(MaxShownTextLength + 33, 'C'), Repeat(MaxShownTextLength + 33, 'C')},
        // 35 left out take a note of 35: the cut would be no shorter.
        {"as long as its cut", Repeat(head, 'a') + Repeat(35, 'b') + tail, Repeat(head, 'a') + Repeat(35, 'b') + tail},
        {"one longer than its cut", Repeat(head, 'a') + Repeat(36, 'b') + tail,
         Repeat(head, 'a') + Note("36 characters") + tail},
        // A pair across either cut goes whole with the part left out and counts once, so
        // a text as long as the one above is cut.
        {"a pair across the start's cut", Repeat(head - 1, 'a') + Pair + Repeat(34, 'b') + tail,
         Repeat(head - 1, 'a') + Note("35 characters") + tail},
        {"a pair across the end's cut", Repeat(head, 'a') + Repeat(34, 'b') + Pair + tail.left(ShownTailLength - 1),
         Repeat(head, 'a') + Note("35 characters") + tail.left(ShownTailLength - 1)},
        {"pairs only between the cuts", Repeat(head - 1, 'a') + Pair.repeated(42) + tail.left(ShownTailLength - 1),
         Repeat(head - 1, 'a') + Note("42 characters") + tail.left(ShownTailLength - 1)},
        {"far past the bound", Repeat(head, 'a') + Repeat(100'000, 'b') + tail,
         Repeat(head, 'a') + Note("100000 characters") + tail},
    };
    for (const TShownCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString shown = ShownText(c.Text);
        EXPECT_EQ(shown.size(), c.Shown.size());
        EXPECT_EQ(shown, c.Shown);
        EXPECT_LE(shown.size(), c.Text.size());
        const std::u16string units = ShownText(c.Text.toStdU16String());
        EXPECT_EQ(QString::fromStdU16String(units), c.Shown);
    }
}

} // namespace
