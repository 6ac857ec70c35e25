#include "platform/gui/QtKeyTranslation.h"

#include <QKeyEvent>

#include <array>

namespace {

struct KeyPair {
    int qt;
    TVirtualKey vk;
};

// Keys whose virtual key is not their Qt code. The first entry for a virtual key is the
// one QtKeyFromVirtualKey gives back.
constexpr std::array<KeyPair, 70> kKeys{{
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Cancel, VK_CANCEL},
    {Qt::Key_Printer, VK_PRINT},
    {Qt::Key_Direction_L, 0},
    {Qt::Key_Direction_R, 0},
}};

TVirtualKey KeypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<TVirtualKey>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
    }
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return VK_ADD;
    case Qt::Key_Minus:
        return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return VK_DECIMAL;
    case Qt::Key_Slash:
        return VK_DIVIDE;
    default:
        return 0;
    }
}

} // namespace

TVirtualKey VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (TVirtualKey pad = KeypadKey(qtKey)) {
            return pad;
        }
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return static_cast<TVirtualKey>(qtKey); // the same codes on both sides
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<TVirtualKey>(VK_F1 + (qtKey - Qt::Key_F1));
    }
    for (const KeyPair& pair : kKeys) {
        if (pair.qt == qtKey) {
            return pair.vk;
        }
    }
    return 0;
}

TVirtualKey VirtualKeyFromKeyEvent(const QKeyEvent& event)
{
    return VirtualKeyFromQtKey(event.key(), event.modifiers());
}

int QtKeyFromVirtualKey(TVirtualKey key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return key;
    }
    if (key >= VK_F1 && key <= VK_F24) {
        return Qt::Key_F1 + (key - VK_F1);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return Qt::Key_0 + (key - VK_NUMPAD0);
    }
    switch (key) {
    case VK_MULTIPLY:
        return Qt::Key_Asterisk;
    case VK_ADD:
        return Qt::Key_Plus;
    case VK_SUBTRACT:
        return Qt::Key_Minus;
    case VK_DECIMAL:
        return Qt::Key_Period;
    case VK_DIVIDE:
        return Qt::Key_Slash;
    default:
        break;
    }
    for (const KeyPair& pair : kKeys) {
        if (pair.vk == key && key != 0) {
            return pair.qt;
        }
    }
    return Qt::Key_unknown;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick)
{
    TShiftState shift;
    if (modifiers & Qt::ShiftModifier) {
        shift |= ssShift;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= ssAlt;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= ssCtrl;
    }
    if (buttons & Qt::LeftButton) {
        shift |= TShiftState(TShiftState::ssLeft);
    }
    if (buttons & Qt::RightButton) {
        shift |= TShiftState(TShiftState::ssRight);
    }
    if (buttons & Qt::MiddleButton) {
        shift |= TShiftState(TShiftState::ssMiddle);
    }
    if (doubleClick) {
        shift |= TShiftState(TShiftState::ssDouble);
    }
    return shift;
}

Qt::KeyboardModifiers QtModifiersFromShiftState(TShiftState shift)
{
    Qt::KeyboardModifiers modifiers;
    if (shift.Contains(TShiftState::ssShift)) {
        modifiers |= Qt::ShiftModifier;
    }
    if (shift.Contains(TShiftState::ssAlt)) {
        modifiers |= Qt::AltModifier;
    }
    if (shift.Contains(TShiftState::ssCtrl)) {
        modifiers |= Qt::ControlModifier;
    }
    return modifiers;
}
