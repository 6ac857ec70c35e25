#include "platform/gui/QtShownText.h"

#include <gtest/gtest.h>

namespace {

TEST(ShownText, ALongTextShowsItsStartAndEndAndCountsWhatWasLeftOutInCharacters)
{
    const QString bound(MaxShownTextLength, QLatin1Char('a'));
    const qsizetype head = MaxShownTextLength - ShownTailLength;
    const QString tail(ShownTailLength, QLatin1Char('z'));
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString note = QStringLiteral(" ... (%1 not shown) ... ");
    EXPECT_EQ(ShownText(bound), bound);
    EXPECT_EQ(ShownText(bound.left(head) + "b" + tail), bound.left(head) + note.arg("1 character") + tail);
    // A pair across either cut goes whole with the part left out; each pair counts once.
    EXPECT_EQ(ShownText(bound.left(head - 1) + pair + pair + "c" + pair + tail.left(ShownTailLength - 1)),
              bound.left(head - 1) + note.arg("4 characters") + tail.left(ShownTailLength - 1));
}

} // namespace
