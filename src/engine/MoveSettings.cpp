// TMove: the zero (Z), value (V), setting (S) and utility (U) families. Zeroing moves
// the zero offset, not the tool: the zeroed coordinate becomes its new value and the
// offset takes up the difference, so the tool stays where it is in the scene.

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {
char SecondLetter(const std::string& word)
{
    return word.size() >= 2 ? word[1] : '\0';
}

bool IsOneOf(char letter, std::string_view letters)
{
    return letter != '\0' && letters.find(letter) != std::string_view::npos;
}

// The system variables a line sets, all read before any is written: a line with an
// argument that fails or is out of range changes none of them.
class TFloatSettings {
public:
    // Each of %(first) .. %(first + n - 1) from the argument of the same rank.
    void Read(const TArrayofCmds& cmds, int first, int firstArg, std::initializer_list<float> defaults)
    {
        for (float d : defaults) {
            FItems.emplace_back(first++, TEngineData::ParamToFloat(cmds, firstArg++, d));
        }
    }
    // The k-th value read.
    float Value(std::size_t k) const { return FItems[k].second; }
    void Write(TEngineData& data) const
    {
        for (const auto& [n, value] : FItems) {
            data.SetSysVarFloat(n, value);
        }
    }

private:
    std::vector<std::pair<int, float>> FItems;
};
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
    case 'A': DoVA(cmds); break;
    case 'B': DoVB(cmds); break;
    case 'C': DoVC(cmds); break;
    case 'L': DoVL(cmds); break;
    case 'S': DoVS(cmds); break;
    case 'U': DoVU(cmds); break;
    default:
        if (IsOneOf(SecondLetter(FCmdWord), "DHINPR")) {
            LogNotApplicable(FCmdWord);
        }
        break;
    }
    FHandled = true;
}

void TMove::DoVA(const TArrayofCmds& cmds)
{
    float values[5];
    for (int k = 0; k < 5; ++k) {
        values[k] = FData.GetMoveParam(cmds, k + 2);
    }
    TFloatSettings settings;
    settings.Read(cmds, 6, 6, {0, 0, 0, 0, 0});
    // The tool stays where it is: the offsets take up the difference, and they too
    // must stay within the range.
    const float position[5] = {FPos.X, FPos.Y, FPos.Z, FA, FB};
    const float zero[5] = {FZero.X, FZero.Y, FZero.Z, FZeroA, FZeroB};
    float newZero[5];
    for (int k = 0; k < 5; ++k) {
        newZero[k] = zero[k] + (position[k] - values[k]);
        if (!std::isfinite(values[k]) || !std::isfinite(newZero[k])) {
            ThrowValueRange(k + 1);
        }
    }
    SaveZeroOffsets();
    FZero.X = newZero[0];
    FZero.Y = newZero[1];
    FZero.Z = newZero[2];
    FZeroA = newZero[3];
    FZeroB = newZero[4];
    FPos.X = values[0];
    FPos.Y = values[1];
    FPos.Z = values[2];
    FA = values[3];
    FB = values[4];
    settings.Write(FData);
}

void TMove::DoVB(const TArrayofCmds& cmds)
{
    TFloatSettings settings;
    settings.Read(cmds, 41, 1, {0.1f, 4.0f, 1.0f, 0.5f});
    const int v5 = TEngineData::ParamToInt(cmds, 5, 0);
    const int v6 = TEngineData::ParamToInt(cmds, 6, 0);
    const float v7 = TEngineData::ParamToFloat(cmds, 7, 0.0f);
    const TVBValues values{settings.Value(0), settings.Value(1), settings.Value(2), settings.Value(3), v5, v6, v7};
    if (std::memcmp(&values, &FVB, sizeof values) != 0) {
        KeepVBUndo();
        FVB = values;
    }
    settings.Write(FData);
}

void TMove::DoVC(const TArrayofCmds& cmds)
{
    TFloatSettings settings;
    settings.Read(cmds, 23, 1, {0.25f});
    settings.Read(cmds, 28, 4, {1.0f});
    const std::string cutter = TEngineData::ParamToStr(cmds, 5, "-");
    settings.Read(cmds, -4, 6, {10.0f});
    settings.Read(cmds, 29, 7, {1.0f});
    FData.SetSysVarStr(-3, cutter);
    settings.Write(FData);
}

void TMove::DoVL(const TArrayofCmds& cmds)
{
    TFloatSettings settings;
    settings.Read(cmds, 11, 1, {-0.5f, 96.5f, -0.5f, 48.5f, -2.0f, 8.0f, -3.0f, 8.0f});
    settings.Read(cmds, 19, 10, {-500.0f, 500.0f});
    settings.Write(FData);
}

void TMove::DoVS(const TArrayofCmds& cmds)
{
    TFloatSettings settings;
    settings.Read(cmds, 71, 1, {3.0f});
    settings.Read(cmds, 72, 1, {3.0f, 1.0f, 1.0f, 720.0f});
    settings.Read(cmds, 76, 5, {12.0f});
    settings.Read(cmds, 77, 5, {12.0f, 3.0f, 3.0f, 1440.0f});
    settings.Write(FData);
}

void TMove::DoVU(const TArrayofCmds& cmds)
{
    TFloatSettings settings;
    settings.Read(cmds, 31, 1, {1273.2395f, 1273.2395f, 1273.2395f, 1273.2395f});
    settings.Read(cmds, 35, 9, {1273.2395f});
    settings.Read(cmds, -1, 5, {0.05f});
    settings.Write(FData);
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
