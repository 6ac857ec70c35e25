#pragma once
// Keys as the platform names them: the Windows virtual-key codes, the shift state that
// travels with a key or a mouse event, and shortcut values (a key and its modifiers in
// one 16-bit number). Key bindings, macros and settings store these numbers, so they
// keep their Windows values; the Qt translation lives in platform/gui.

#include <cstdint>
#include <string>

using TVirtualKey = std::uint16_t;

constexpr TVirtualKey VK_LBUTTON = 0x01;
constexpr TVirtualKey VK_RBUTTON = 0x02;
constexpr TVirtualKey VK_CANCEL = 0x03;
constexpr TVirtualKey VK_MBUTTON = 0x04;
constexpr TVirtualKey VK_BACK = 0x08;
constexpr TVirtualKey VK_TAB = 0x09;
constexpr TVirtualKey VK_CLEAR = 0x0C;
constexpr TVirtualKey VK_RETURN = 0x0D;
constexpr TVirtualKey VK_SHIFT = 0x10;
constexpr TVirtualKey VK_CONTROL = 0x11;
constexpr TVirtualKey VK_MENU = 0x12;
constexpr TVirtualKey VK_PAUSE = 0x13;
constexpr TVirtualKey VK_CAPITAL = 0x14;
constexpr TVirtualKey VK_ESCAPE = 0x1B;
constexpr TVirtualKey VK_SPACE = 0x20;
constexpr TVirtualKey VK_PRIOR = 0x21;
constexpr TVirtualKey VK_NEXT = 0x22;
constexpr TVirtualKey VK_END = 0x23;
constexpr TVirtualKey VK_HOME = 0x24;
constexpr TVirtualKey VK_LEFT = 0x25;
constexpr TVirtualKey VK_UP = 0x26;
constexpr TVirtualKey VK_RIGHT = 0x27;
constexpr TVirtualKey VK_DOWN = 0x28;
constexpr TVirtualKey VK_SELECT = 0x29;
constexpr TVirtualKey VK_PRINT = 0x2A;
constexpr TVirtualKey VK_EXECUTE = 0x2B;
constexpr TVirtualKey VK_SNAPSHOT = 0x2C;
constexpr TVirtualKey VK_INSERT = 0x2D;
constexpr TVirtualKey VK_DELETE = 0x2E;
constexpr TVirtualKey VK_HELP = 0x2F;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A: the character codes themselves.
constexpr TVirtualKey VK_LWIN = 0x5B;
constexpr TVirtualKey VK_RWIN = 0x5C;
constexpr TVirtualKey VK_APPS = 0x5D;
constexpr TVirtualKey VK_NUMPAD0 = 0x60;
constexpr TVirtualKey VK_NUMPAD9 = 0x69;
constexpr TVirtualKey VK_MULTIPLY = 0x6A;
constexpr TVirtualKey VK_ADD = 0x6B;
constexpr TVirtualKey VK_SEPARATOR = 0x6C;
constexpr TVirtualKey VK_SUBTRACT = 0x6D;
constexpr TVirtualKey VK_DECIMAL = 0x6E;
constexpr TVirtualKey VK_DIVIDE = 0x6F;
constexpr TVirtualKey VK_F1 = 0x70;
constexpr TVirtualKey VK_F2 = 0x71;
constexpr TVirtualKey VK_F3 = 0x72;
constexpr TVirtualKey VK_F4 = 0x73;
constexpr TVirtualKey VK_F5 = 0x74;
constexpr TVirtualKey VK_F6 = 0x75;
constexpr TVirtualKey VK_F7 = 0x76;
constexpr TVirtualKey VK_F8 = 0x77;
constexpr TVirtualKey VK_F9 = 0x78;
constexpr TVirtualKey VK_F10 = 0x79;
constexpr TVirtualKey VK_F11 = 0x7A;
constexpr TVirtualKey VK_F12 = 0x7B;
constexpr TVirtualKey VK_F24 = 0x87;
constexpr TVirtualKey VK_NUMLOCK = 0x90;
constexpr TVirtualKey VK_SCROLL = 0x91;
constexpr TVirtualKey VK_OEM_1 = 0xBA;      // ;:
constexpr TVirtualKey VK_OEM_PLUS = 0xBB;   // =+
constexpr TVirtualKey VK_OEM_COMMA = 0xBC;  // ,<
constexpr TVirtualKey VK_OEM_MINUS = 0xBD;  // -_
constexpr TVirtualKey VK_OEM_PERIOD = 0xBE; // .>
constexpr TVirtualKey VK_OEM_2 = 0xBF;      // /?
constexpr TVirtualKey VK_OEM_3 = 0xC0;      // `~
constexpr TVirtualKey VK_OEM_4 = 0xDB;      // [{
constexpr TVirtualKey VK_OEM_5 = 0xDC;      // \|
constexpr TVirtualKey VK_OEM_6 = 0xDD;      // ]}
constexpr TVirtualKey VK_OEM_7 = 0xDE;      // '"
constexpr TVirtualKey VK_PACKET = 0xE7;     // a character that no key of its own made

// The modifier keys and mouse buttons held during an event, as a set of bits. The
// first three bits are the ones key bindings store: Shift, Alt, Ctrl.
class TShiftState {
public:
    enum Flag : std::uint8_t {
        ssShift = 0x01,
        ssAlt = 0x02,
        ssCtrl = 0x04,
        ssLeft = 0x08,
        ssRight = 0x10,
        ssMiddle = 0x20,
        ssDouble = 0x40,
    };
    static constexpr std::uint8_t KeyboardMask = ssShift | ssAlt | ssCtrl;

    constexpr TShiftState() = default;
    constexpr TShiftState(Flag flag) : bits_(flag) {}
    static constexpr TShiftState FromBits(std::uint8_t bits)
    {
        TShiftState s;
        s.bits_ = bits;
        return s;
    }

    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool Contains(Flag flag) const { return (bits_ & flag) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    // Shift, Alt and Ctrl only; mouse buttons and double-click dropped.
    constexpr TShiftState KeyboardOnly() const { return FromBits(bits_ & KeyboardMask); }

    constexpr TShiftState operator|(TShiftState other) const { return FromBits(bits_ | other.bits_); }
    constexpr TShiftState& operator|=(TShiftState other)
    {
        bits_ |= other.bits_;
        return *this;
    }
    constexpr TShiftState Without(Flag flag) const { return FromBits(bits_ & ~flag); }
    constexpr bool operator==(const TShiftState&) const = default;

private:
    std::uint8_t bits_ = 0;
};

constexpr TShiftState operator|(TShiftState::Flag a, TShiftState::Flag b)
{
    return TShiftState(a) | TShiftState(b);
}

constexpr TShiftState ssNone{};
constexpr TShiftState ssShift{TShiftState::ssShift};
constexpr TShiftState ssAlt{TShiftState::ssAlt};
constexpr TShiftState ssCtrl{TShiftState::ssCtrl};

// A shortcut: the virtual key in the low bits and the modifiers in the top three.
using TShortCut = std::uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// 0 when the key does not fit in one byte (it could not be told apart from a modifier).
TShortCut ShortCut(TVirtualKey key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, TVirtualKey& key, TShiftState& shift);

// The readable name of a key ("A", "F5", "PgDn", "Del"), empty for a key with no name.
std::string KeyName(TVirtualKey key);
// "Ctrl+Shift+Z" and the like; empty for 0 or a key with no name.
std::string ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText, case-insensitive; 0 when the text names no shortcut.
TShortCut TextToShortCut(const std::string& text);
