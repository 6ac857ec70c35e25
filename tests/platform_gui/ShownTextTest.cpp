#include "platform/gui/QtShownText.h"

#include <gtest/gtest.h>

namespace {

TEST(ShownText, ALongTextShowsItsStartAndCountsWhatWasLeftOutInCharacters)
{
    const QString bound(MaxShownTextLength, QLatin1Char('a'));
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString note = QStringLiteral(" ... (%1 not shown)");
    EXPECT_EQ(ShownText(bound), bound);
    EXPECT_EQ(ShownText(bound + "b"), bound + note.arg("1 more character"));
    // A pair across the bound goes whole with the part left out; each pair counts once.
    EXPECT_EQ(ShownText(bound.left(MaxShownTextLength - 1) + pair + pair + "c"),
              bound.left(MaxShownTextLength - 1) + note.arg("3 more characters"));
}

} // namespace
