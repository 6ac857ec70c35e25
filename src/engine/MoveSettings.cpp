// TMove: the zero (Z), value (V), setting (S) and utility (U) families. Zeroing moves
// the zero offset, not the tool: the zeroed coordinate becomes its new value and the
// offset takes up the difference, so the tool stays where it is in the scene.

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"

#include <string_view>

namespace {
char SecondLetter(const std::string& word)
{
    return word.size() >= 2 ? word[1] : '\0';
}

bool IsOneOf(char letter, std::string_view letters)
{
    return letter != '\0' && letters.find(letter) != std::string_view::npos;
}

// Each of %(first) .. %(first + n - 1) from the argument of the same rank.
void SetFloats(TEngineData& data, const TArrayofCmds& cmds, int first, int firstArg,
               std::initializer_list<float> defaults)
{
    int k = 0;
    for (float d : defaults) {
        data.SetSysVarFloat(first + k, TEngineData::ParamToFloat(cmds, firstArg + k, d));
        ++k;
    }
}
} // namespace

void TMove::DoZCommands(const TArrayofCmds&)
{
    FNewPolyline = true;
    int axes = 0; // bit n for X, Y, Z, A, B
    switch (SecondLetter(FCmdWord)) {
    case '2': axes = 0x03; break;
    case '3': axes = 0x07; break;
    case '4': axes = 0x0F; break;
    case '5': axes = 0x1F; break;
    case 'X': axes = 0x01; break;
    case 'Y': axes = 0x02; break;
    case 'Z': axes = 0x04; break;
    case 'A': axes = 0x08; break;
    case 'B': axes = 0x10; break;
    case 'T': LogNotApplicable(FCmdWord); break;
    default: break;
    }
    if (axes != 0) {
        SaveZeroOffsets();
        for (int k = 0; k < 3; ++k) {
            if (axes & (1 << k)) {
                FZero[k] += FPos[k];
                FPos[k] = 0.0f;
            }
        }
        if (axes & 0x08) {
            FZeroA += FA;
            FA = 0.0f;
        }
        if (axes & 0x10) {
            FZeroB += FB;
            FB = 0.0f;
        }
    }
    FHandled = true;
}

void TMove::DoVCommands(const TArrayofCmds& cmds)
{
    FNewPolyline = true;
    switch (SecondLetter(FCmdWord)) {
    case 'A': {
        float values[5];
        for (int k = 0; k < 5; ++k) {
            values[k] = FData.GetMoveParam(cmds, k + 2);
        }
        SaveZeroOffsets();
        for (int k = 0; k < 3; ++k) {
            FZero[k] += FPos[k] - values[k];
            FPos[k] = values[k];
        }
        FZeroA += FA - values[3];
        FA = values[3];
        FZeroB += FB - values[4];
        FB = values[4];
        SetFloats(FData, cmds, 6, 6, {0, 0, 0, 0, 0});
        break;
    }
    case 'B':
        SetFloats(FData, cmds, 41, 1, {0.1f, 4.0f, 1.0f, 0.5f});
        FVB.V1 = FData.GetSysVarFloat(41);
        FVB.V2 = FData.GetSysVarFloat(42);
        FVB.V3 = FData.GetSysVarFloat(43);
        FVB.V4 = FData.GetSysVarFloat(44);
        FVB.V5 = TEngineData::ParamToInt(cmds, 5, 0);
        FVB.V6 = TEngineData::ParamToInt(cmds, 6, 0);
        FVB.V7 = TEngineData::ParamToFloat(cmds, 7, 0.0f);
        break;
    case 'C':
        FData.SetSysVarFloat(23, TEngineData::ParamToFloat(cmds, 1, 0.25f));
        FData.SetSysVarFloat(28, TEngineData::ParamToFloat(cmds, 4, 1.0f));
        FData.SetSysVarStr(-3, TEngineData::ParamToStr(cmds, 5, "-"));
        FData.SetSysVarFloat(-4, TEngineData::ParamToFloat(cmds, 6, 10.0f));
        FData.SetSysVarFloat(29, TEngineData::ParamToFloat(cmds, 7, 1.0f));
        break;
    case 'L':
        SetFloats(FData, cmds, 11, 1, {-0.5f, 96.5f, -0.5f, 48.5f, -2.0f, 8.0f, -3.0f, 8.0f});
        SetFloats(FData, cmds, 19, 10, {-500.0f, 500.0f});
        break;
    case 'S':
        SetFloats(FData, cmds, 71, 1, {3.0f});
        SetFloats(FData, cmds, 72, 1, {3.0f, 1.0f, 1.0f, 720.0f});
        SetFloats(FData, cmds, 76, 5, {12.0f});
        SetFloats(FData, cmds, 77, 5, {12.0f, 3.0f, 3.0f, 1440.0f});
        break;
    case 'U':
        SetFloats(FData, cmds, 31, 1, {1273.2395f, 1273.2395f, 1273.2395f, 1273.2395f});
        SetFloats(FData, cmds, 35, 9, {1273.2395f});
        SetFloats(FData, cmds, -1, 5, {0.05f});
        break;
    default:
        if (IsOneOf(SecondLetter(FCmdWord), "DHINPR")) {
            LogNotApplicable(FCmdWord);
        }
        break;
    }
    FHandled = true;
}

void TMove::DoSCommands(const TArrayofCmds& cmds)
{
    switch (SecondLetter(FCmdWord)) {
    case 'A': FData.SetSysVarInt(21, 0); break;
    case 'R': FData.SetSysVarInt(21, 1); break;
    case 'F': FData.SetSysVarInt(-2, TEngineData::ParamToInt(cmds, 1, 0)); break;
    case 'L':
        FCalcul.GetVariables().Clear();
        FShell.ShowVariables(FCalcul.GetVariables());
        break;
    default:
        if (IsOneOf(SecondLetter(FCmdWord), "KMOPTW")) {
            LogNotApplicable(FCmdWord);
        }
        break;
    }
    FHandled = true;
}

void TMove::DoUCommands(const TArrayofCmds&)
{
    const char letter = SecondLetter(FCmdWord);
    if (letter == 'Z') {
        SaveZeroOffsets();
        for (int k = 0; k < 3; ++k) {
            FZero[k] += FPos[k];
            FPos[k] = 0.0f;
        }
        FZeroA += FA;
        FA = 0.0f;
        FZeroB += FB;
        FB = 0.0f;
    } else if (IsOneOf(letter, "DILNRUV")) {
        LogNotApplicable(FCmdWord);
    }
    FHandled = true;
}
