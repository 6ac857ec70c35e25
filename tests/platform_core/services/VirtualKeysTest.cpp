#include "platform/core/services/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeys, ShortCutPacksKeyAndModifiers)
{
    struct Case {
        TVirtualKey key;
        TShiftState shift;
        TShortCut expected;
    } cases[] = {
        {'C', ssCtrl, 0x4043},
        {VK_HOME, ssCtrl | ssShift, 0x6024},
        {VK_BACK, ssShift | ssAlt, 0xA008},
        {VK_F1, ssNone, 0x0070},
        {0x100, ssCtrl, scNone}, // does not fit in the key byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCut(c.key, c.shift), c.expected) << c.key;
    }
}

TEST(VirtualKeys, ShortCutToKeySplitsAndDropsMouseBits)
{
    TVirtualKey key = 0;
    TShiftState shift;
    ShortCutToKey(ShortCut('Z', ssCtrl | ssShift | TShiftState::ssLeft), key, shift);
    EXPECT_EQ(key, 'Z');
    EXPECT_EQ(shift, ssCtrl | ssShift);
}

TEST(VirtualKeys, ShortCutTextRoundTrips)
{
    struct Case {
        TShortCut shortCut;
        const char* text;
    } cases[] = {
        {ShortCut('Z', ssCtrl | ssShift), "Shift+Ctrl+Z"},
        {ShortCut(VK_NEXT, ssNone), "PgDn"},
        {ShortCut(VK_BACK, ssAlt), "Alt+BkSp"},
        {ShortCut(VK_F12, ssCtrl), "Ctrl+F12"},
        {ShortCut(VK_NUMPAD0 + 3, ssNone), "Num 3"},
        {ShortCut(VK_OEM_PLUS, ssCtrl), "Ctrl+="},
        {ShortCut('7', ssCtrl | ssShift), "Shift+Ctrl+7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
    }
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(TextToShortCut("ctrl+shift+z"), ShortCut('Z', ssCtrl | ssShift));
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
    EXPECT_EQ(TextToShortCut(""), scNone);
}

} // namespace
