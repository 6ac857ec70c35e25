#include "engine/EngineData.h"

#include "engine/ArgumentNumbers.h"
#include "engine/EngineErrors.h"
#include "engine/FastDecimal.h"
#include "engine/Keywords.h"
#include "engine/PathText.h"
#include "platform/core/text/NumberFormat.h"

#include <bit>
#include <charconv>
#include <cstdlib>

TEngineData::TEngineData() : FClampKeyword(::ClampKeyword)
{
    for (int i = 0; i < KeywordCount; ++i) {
        FKeywords[static_cast<std::size_t>(i)] = std::string(CommandKeywords[static_cast<std::size_t>(i)]);
    }
}

TVector TEngineData::GetPosition() const
{
    TVector pos{0.0f, 0.0f, 0.0f, 0.0f};
    if (FOnGetPosition) {
        FOnGetPosition(pos);
    } else if (FMotion) {
        FMotion->SlotPosition(pos);
    }
    return pos;
}

void TEngineData::GetAB(float& a, float& b) const
{
    a = 0.0f;
    b = 0.0f;
    if (FOnGetAB) {
        FOnGetAB(a, b);
    } else if (FMotion) {
        FMotion->SlotAB(a, b);
    }
}

double TEngineData::GetLastHeading() const
{
    if (FOnGetLastHeading) {
        return FOnGetLastHeading();
    }
    return FMotion ? FMotion->SlotLastHeading() : 0.0;
}

void TEngineData::AddMoveNode(bool setCurPos, bool newLine, float x, float y, float z) const
{
    if (FOnAddMoveNode) {
        FOnAddMoveNode(setCurPos, newLine, x, y, z);
    } else if (FMotion) {
        FMotion->SlotAddMoveNode(setCurPos, newLine, x, y, z);
    }
}

void TEngineData::AddJogNode(bool setCurPos, bool newLine, float x, float y, float z) const
{
    if (FOnAddJogNode) {
        FOnAddJogNode(setCurPos, newLine, x, y, z);
    } else if (FMotion) {
        FMotion->SlotAddJogNode(setCurPos, newLine, x, y, z);
    }
}

void TEngineData::RunFile(const std::string& fileName) const
{
    if (!FOnRunFile) {
        throw ERunError("Cannot run the file " + fileName + ": no part file runner is installed");
    }
    FOnRunFile(fileName);
}

void TEngineData::SetSysVarInt(int n, std::int32_t value)
{
    if (FSysVarChanges != nullptr && TSystemVarArray::InRange(n)) {
        const TSystemVar& entry = SysVars.Entry(n);
        if (!entry.IsSet || entry.IntValue != value) {
            FSysVarChanges->SysVarChanging(n, TSysVarField::Int, entry);
        }
    }
    SysVars.SetInt(n, value);
}

void TEngineData::SetSysVarFloat(int n, float value)
{
    if (FSysVarChanges != nullptr && TSystemVarArray::InRange(n)) {
        // Compared bit for bit: 0 and -0 differ, and a NaN written twice is no change.
        const TSystemVar& entry = SysVars.Entry(n);
        if (!entry.IsSet || std::bit_cast<std::uint32_t>(entry.FloatValue) != std::bit_cast<std::uint32_t>(value)) {
            FSysVarChanges->SysVarChanging(n, TSysVarField::Float, entry);
        }
    }
    SysVars.SetFloat(n, value);
}

void TEngineData::SetSysVarStr(int n, const std::string& value)
{
    if (FSysVarChanges != nullptr && TSystemVarArray::InRange(n)) {
        const TSystemVar& entry = SysVars.Entry(n);
        if (!entry.IsSet || entry.StrValue != value) {
            FSysVarChanges->SysVarChanging(n, TSysVarField::Str, entry);
        }
    }
    SysVars.SetStr(n, value);
}

float TEngineData::GetSysVarFloat(int n) const
{
    if (!SysVars.IsSet(n) && TSystemVarArray::IsLivePosition(n)) {
        if (n <= 3) {
            const TVector pos = GetPosition();
            return pos[n - 1];
        }
        float a = 0.0f;
        float b = 0.0f;
        GetAB(a, b);
        return n == 4 ? a : b;
    }
    return SysVars.GetFloat(n);
}

std::string TEngineData::SingleToStr(float value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    if (res.ec != std::errc()) {
        return FloatToStr(static_cast<double>(value));
    }
    // The shortest decimal that reads back as this single has at most 9 digits, so the
    // general 15-digit form writes exactly those digits in our own notation.
    double shortest = 0.0;
    std::from_chars(buf, res.ptr, shortest);
    return FloatToStr(shortest);
}

std::string TEngineData::GetSysVarText(int n) const
{
    switch (TSystemVarArray::TextType(n)) {
    case TSysVarTextType::String: return GetSysVarStr(n);
    case TSysVarTextType::Integer: return IntToStr(GetSysVarInt(n));
    case TSysVarTextType::Float: return SingleToStr(GetSysVarFloat(n));
    case TSysVarTextType::None: break;
    }
    return std::string();
}

int TEngineData::ParamToInt(std::string_view text, int fallback)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::string TEngineData::ParamToStr(std::string_view text, const std::string& fallback)
{
    for (char c : text) {
        if (c != ' ') {
            return std::string(text);
        }
    }
    return fallback;
}

void TEngineData::ThrowArgumentFailed(const TArrayofCmds& cmds, int i)
{
    throw EArgumentFailed(cmds[i], cmds.ErrorOf(i));
}

int TEngineData::ParamToInt(const TArrayofCmds& cmds, int i, int fallback)
{
    CheckEvaluated(cmds, i);
    return ParamToInt(cmds[i], fallback);
}

float TEngineData::ParamToFloat(const TArrayofCmds& cmds, int i, float fallback)
{
    CheckEvaluated(cmds, i);
    return ReadArgument(i, [&] {
        float value = 0.0f;
        return ReadSingleArgument(cmds[i], value) ? value : fallback;
    });
}

std::string TEngineData::ParamToStr(const TArrayofCmds& cmds, int i, const std::string& fallback)
{
    CheckEvaluated(cmds, i);
    return ParamToStr(cmds[i], fallback);
}

namespace {
// 0..4 for X, Y, Z, A, B; -1 when the argument has no axis.
int MoveAxis(const std::string& word, int i)
{
    if (word.size() < 2) {
        return -1;
    }
    const char family = word[0];
    const char letter = word[1];
    const bool byArgument = ((family == 'M' || family == 'J') && letter >= '2' && letter <= '5')
        || (family == 'V' && letter == 'A');
    if (byArgument) {
        const int axis = i - 2;
        return axis >= 0 && axis <= 4 ? axis : -1;
    }
    if (family == 'M' || family == 'J') {
        switch (letter) {
        case 'X': return 0;
        case 'Y': return 1;
        case 'Z': return 2;
        case 'A': return 3;
        case 'B': return 4;
        default: break;
        }
    }
    return -1;
}
} // namespace

float TEngineData::GetMoveParam(const TArrayofCmds& cmds, int i) const
{
    if (i < 1 || i >= TArrayofCmds::Count + 1) {
        return 0.0f;
    }
    CheckEvaluated(cmds, i - 1);
    const int axis = MoveAxis(cmds[0], i);
    float current = 0.0f;
    if (axis >= 0 && axis <= 2) {
        current = GetPosition()[axis];
    } else if (axis >= 3) {
        float a = 0.0f;
        float b = 0.0f;
        GetAB(a, b);
        current = axis == 3 ? a : b;
    }
    return ReadArgument(i - 1, [&] { return MoveParamValue(cmds[i - 1], current); });
}

float TEngineData::MoveParamValue(std::string_view text, float current) const
{
    double value = 0.0;
    if (!TryPlainDecimal(text, value)) {
        float single = 0.0f;
        if (!ReadSingleArgument(text, single)) {
            // An omitted coordinate leaves its axis where it is, in either mode.
            return current;
        }
        value = single;
    }
    if (GetSysVarInt(21) == 0) {
        return static_cast<float>(value);
    }
    return static_cast<float>(value) + current;
}

std::string TEngineData::PointToText(float x, float y, float z)
{
    std::string text;
    AppendPointText(text, x, y, z);
    return text;
}
