#include "platform/gui/QtKeyTranslation.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

TEST(QtKeyTranslation, QtKeysToVirtualKeys)
{
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        TVirtualKey expected;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ControlModifier, 'Z'},
        {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD0 + 7},
        {Qt::Key_Asterisk, Qt::KeypadModifier, VK_MULTIPLY},
        {Qt::Key_Asterisk, Qt::ShiftModifier, '8'},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_F12, Qt::NoModifier, VK_F12},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_Backspace, Qt::AltModifier, VK_BACK},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_Insert, Qt::NoModifier, VK_INSERT},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Home, Qt::NoModifier, VK_HOME},
        {Qt::Key_Space, Qt::ControlModifier, VK_SPACE},
        {Qt::Key_Semicolon, Qt::NoModifier, VK_OEM_1},
        {Qt::Key_BraceLeft, Qt::ShiftModifier, VK_OEM_4},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFromQtKey(c.qtKey, c.modifiers), c.expected) << std::hex << c.qtKey;
    }
}

TEST(QtKeyTranslation, VirtualKeysBackToQt)
{
    for (TVirtualKey key : {TVirtualKey('A'), TVirtualKey('0'), VK_F5, VK_RETURN, VK_TAB, VK_SPACE, VK_HOME,
                            VK_NEXT, VK_OEM_2, VK_BACK}) {
        const int qt = QtKeyFromVirtualKey(key);
        EXPECT_NE(qt, Qt::Key_unknown) << key;
        EXPECT_EQ(VirtualKeyFromQtKey(qt), key) << key;
    }
    EXPECT_EQ(QtKeyFromVirtualKey(VK_NUMPAD0 + 3), Qt::Key_3);
    EXPECT_EQ(QtKeyFromVirtualKey(0xFF), Qt::Key_unknown);
}

TEST(QtKeyTranslation, ModifiersAndButtons)
{
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier), ssShift | ssCtrl);
    EXPECT_EQ(ShiftStateFromQt(Qt::AltModifier | Qt::KeypadModifier), ssAlt);
    EXPECT_EQ(ShiftStateFromQt(Qt::NoModifier, Qt::LeftButton, true),
              TShiftState::ssLeft | TShiftState::ssDouble);
    EXPECT_EQ(ShiftStateFromQt(Qt::NoModifier, Qt::RightButton | Qt::MiddleButton),
              TShiftState::ssRight | TShiftState::ssMiddle);
    EXPECT_EQ(QtModifiersFromShiftState(ssCtrl | ssAlt), Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(QtModifiersFromShiftState(TShiftState(TShiftState::ssLeft)), Qt::NoModifier);
}

TEST(QtKeyTranslation, KeyEventCarriesKeypadModifier)
{
    QKeyEvent event(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(VirtualKeyFromKeyEvent(event), VK_NUMPAD0 + 5);
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(VirtualKeyFromKeyEvent(plain), '5');
    EXPECT_EQ(ShiftStateFromQt(plain.modifiers()), ssCtrl);
}

} // namespace
