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

// The cut is where the shown text leaves the whole: its start, the note, its end. An
// offset of the shown text maps back into the whole; one inside the note stands for the
// part left out, from its start for a selection's start, to its end for its end.
TEST(ShownText, TheCutMapsShownOffsetsToTheWholeText)
{
    const qsizetype head = MaxShownTextLength - ShownTailLength;
    const QString text = Repeat(head - 1, 'a') + Pair + Repeat(10'000, 'b') + Repeat(ShownTailLength, 'z');
    const TShownTextCut cut = ShownTextCut(text);
    ASSERT_EQ(cut.Head, static_cast<std::size_t>(head - 1)) << "the pair goes with the part left out";
    const std::size_t tail = static_cast<std::size_t>(text.size() - ShownTailLength);
    ASSERT_EQ(cut.Tail, tail);
    EXPECT_EQ(text.left(head - 1) + QString::fromStdU16String(cut.Note) + text.mid(static_cast<qsizetype>(tail)),
              ShownText(text));
    const std::size_t noteEnd = cut.Head + cut.Note.size();
    struct TOffsetCase {
        const char* Name;
        std::size_t Shown;
        std::size_t Start, End; // in the whole, as a selection's start and as its end
    };
    const std::vector<TOffsetCase> cases = {
        {"the first", 0, 0, 0},
        {"within the start", 17, 17, 17},
        {"where the note begins", cut.Head, cut.Head, cut.Head},
        {"inside the note", cut.Head + 1, cut.Head, tail},
        {"the note's last", noteEnd - 1, cut.Head, tail},
        {"where the note ends", noteEnd, tail, tail},
        {"within the end", noteEnd + 5, tail + 5, tail + 5},
        {"the end", noteEnd + ShownTailLength, static_cast<std::size_t>(text.size()),
         static_cast<std::size_t>(text.size())},
    };
    for (const TOffsetCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(WholeTextOffset(cut, c.Shown, false), c.Start);
        EXPECT_EQ(WholeTextOffset(cut, c.Shown, true), c.End);
    }
    // A text shown whole is its own map.
    const TShownTextCut whole = ShownTextCut(Repeat(MaxShownTextLength + 35, 'w'));
    EXPECT_TRUE(whole.Note.empty());
    EXPECT_EQ(whole.Head, static_cast<std::size_t>(MaxShownTextLength + 35));
    EXPECT_EQ(WholeTextOffset(whole, 4999, true), 4999u);
}

} // namespace
