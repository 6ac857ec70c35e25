#include "platform/core/services/VirtualKeys.h"

#include "platform/core/text/StringUtils.h"

#include <array>
#include <string_view>

TShortCut ShortCut(TVirtualKey key, TShiftState shift)
{
    if (key > 0xFF) {
        return scNone;
    }
    TShortCut result = key;
    if (shift.Contains(TShiftState::ssShift)) {
        result |= scShift;
    }
    if (shift.Contains(TShiftState::ssCtrl)) {
        result |= scCtrl;
    }
    if (shift.Contains(TShiftState::ssAlt)) {
        result |= scAlt;
    }
    return result;
}

void ShortCutToKey(TShortCut shortCut, TVirtualKey& key, TShiftState& shift)
{
    key = static_cast<TVirtualKey>(shortCut & ~(scShift | scCtrl | scAlt));
    shift = ssNone;
    if (shortCut & scShift) {
        shift |= ssShift;
    }
    if (shortCut & scCtrl) {
        shift |= ssCtrl;
    }
    if (shortCut & scAlt) {
        shift |= ssAlt;
    }
}

namespace {

struct NamedKey {
    TVirtualKey key;
    std::string_view name;
};

constexpr std::array<NamedKey, 39> kNamedKeys{{
    {VK_BACK, "BkSp"},        {VK_TAB, "Tab"},          {VK_RETURN, "Enter"},
    {VK_ESCAPE, "Esc"},       {VK_SPACE, "Space"},      {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},        {VK_END, "End"},          {VK_HOME, "Home"},
    {VK_LEFT, "Left"},        {VK_UP, "Up"},            {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},        {VK_INSERT, "Ins"},       {VK_DELETE, "Del"},
    {VK_PAUSE, "Pause"},      {VK_SNAPSHOT, "PrtSc"},   {VK_APPS, "Menu"},
    {VK_MULTIPLY, "Num *"},   {VK_ADD, "Num +"},        {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},    {VK_DIVIDE, "Num /"},     {VK_NUMLOCK, "NumLock"},
    {VK_SCROLL, "ScrollLock"}, {VK_CAPITAL, "CapsLock"}, {VK_HELP, "Help"},
    {VK_OEM_1, ";"},          {VK_OEM_PLUS, "="},       {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},      {VK_OEM_PERIOD, "."},     {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},          {VK_OEM_4, "["},          {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},          {VK_OEM_7, "'"},          {VK_CLEAR, "Clear"},
}};

} // namespace

std::string KeyName(TVirtualKey key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return "Num " + std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
    }
    if (key >= VK_F1 && key <= VK_F24) {
        return "F" + std::to_string(key - VK_F1 + 1);
    }
    for (const NamedKey& k : kNamedKeys) {
        if (k.key == key) {
            return std::string(k.name);
        }
    }
    return {};
}

std::string ShortCutToText(TShortCut shortCut)
{
    TVirtualKey key = 0;
    TShiftState shift;
    ShortCutToKey(shortCut, key, shift);
    std::string name = KeyName(key);
    if (name.empty()) {
        return {};
    }
    std::string text;
    if (shift.Contains(TShiftState::ssShift)) {
        text += "Shift+";
    }
    if (shift.Contains(TShiftState::ssCtrl)) {
        text += "Ctrl+";
    }
    if (shift.Contains(TShiftState::ssAlt)) {
        text += "Alt+";
    }
    return text + name;
}

TShortCut TextToShortCut(const std::string& text)
{
    std::string_view rest(text);
    TShortCut modifiers = 0;
    // Modifier prefixes in any order; the key name itself may be "+" or contain blanks.
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] : {std::pair<std::string_view, TShortCut>{"Shift+", scShift},
                                   {"Ctrl+", scCtrl},
                                   {"Alt+", scAlt}}) {
            if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), prefix)) {
                modifiers |= bit;
                rest.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    for (unsigned key = 1; key <= 0xFF; ++key) {
        const std::string name = KeyName(static_cast<TVirtualKey>(key));
        if (!name.empty() && SameText(name, rest)) {
            return static_cast<TShortCut>(key | modifiers);
        }
    }
    return scNone;
}
