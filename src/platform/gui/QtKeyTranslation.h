#pragma once
// Translation between Qt's keys and modifiers and the platform's virtual keys and shift
// states, done once at the widget edge so everything behind it sees Windows key codes.

#include "platform/core/services/VirtualKeys.h"

#include <Qt>

class QKeyEvent;

// 0 for a key that has no virtual key. Shifted symbols map to the key that carries
// them on a US keyboard ("!" is the 1 key); with the keypad modifier, digits and
// operators map to the numeric pad's keys.
TVirtualKey VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
TVirtualKey VirtualKeyFromKeyEvent(const QKeyEvent& event);
// The Qt key for a virtual key (keypad keys give the plain key); Qt::Key_unknown if none.
int QtKeyFromVirtualKey(TVirtualKey key);

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton,
                             bool doubleClick = false);
Qt::KeyboardModifiers QtModifiersFromShiftState(TShiftState shift);
