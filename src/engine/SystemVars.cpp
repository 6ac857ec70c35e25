#include "engine/SystemVars.h"

void TSystemVarArray::SetInt(int n, std::int32_t value)
{
    if (InRange(n)) {
        FVars[Slot(n)].IntValue = value;
        FVars[Slot(n)].IsSet = true;
    }
}

void TSystemVarArray::SetFloat(int n, float value)
{
    if (InRange(n)) {
        FVars[Slot(n)].FloatValue = value;
        FVars[Slot(n)].IsSet = true;
    }
}

void TSystemVarArray::SetStr(int n, const std::string& value)
{
    if (InRange(n)) {
        FVars[Slot(n)].StrValue = value;
        FVars[Slot(n)].IsSet = true;
    }
}

float TSystemVarArray::GetFloat(int n) const
{
    return IsSet(n) ? FVars[Slot(n)].FloatValue : DefaultFloat(n);
}

std::string TSystemVarArray::GetStr(int n) const
{
    return IsSet(n) ? FVars[Slot(n)].StrValue : DefaultStr(n);
}

std::int32_t TSystemVarArray::DefaultInt(int n)
{
    return n == 22 ? 1 : 0;
}

float TSystemVarArray::DefaultFloat(int n)
{
    switch (n) {
    case -4: return 10.0f;
    case -1: return 0.05f;
    case 11: return -0.5f;
    case 12: return 96.5f;
    case 13: return -0.5f;
    case 14: return 48.5f;
    case 15: return -2.0f;
    case 16: return 8.0f;
    case 17: return -3.0f;
    case 18: return 8.0f;
    case 19: return -500.0f;
    case 20: return 500.0f;
    case 23: return 0.25f;
    case 28: return 1.0f;
    case 29: return 1.0f;
    case 41: return 0.1f;
    case 42: return 4.0f;
    case 43: return 1.0f;
    case 44: return 0.5f;
    case 71: case 72: return 3.0f;
    case 73: case 74: return 1.0f;
    case 75: return 720.0f;
    case 76: case 77: return 12.0f;
    case 78: case 79: return 3.0f;
    case 80: return 1440.0f;
    default: break;
    }
    if (n >= 31 && n <= 35) {
        return 1273.2395f;
    }
    return 0.0f;
}

std::string TSystemVarArray::DefaultStr(int n)
{
    return n == -3 ? std::string("-") : std::string();
}

TSysVarTextType TSystemVarArray::TextType(int n)
{
    if (n == -3) {
        return TSysVarTextType::String;
    }
    if (n == -2 || (n >= 6 && n <= 10) || n == 21 || n == 22) {
        return TSysVarTextType::Integer;
    }
    if (n == -4 || n == -1 || (n >= 1 && n <= 5) || (n >= 11 && n <= 20) || n == 23 || n == 28 || n == 29
        || (n >= 31 && n <= 35) || (n >= 41 && n <= 44) || (n >= 71 && n <= 80)) {
        return TSysVarTextType::Float;
    }
    return TSysVarTextType::None;
}
