// TMove: the move (M) and jog (J) families and the positions the shell reads.

#include "engine/ArgumentNames.h"
#include "engine/ArgumentNumbers.h"
#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/Move.h"
#include "engine/MoveDirections.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <cmath>
#include <numbers>

namespace {
char SecondLetter(const std::string& word)
{
    return word.size() >= 2 ? word[1] : '\0';
}

// Speeds: `first` and `first` + 1 from argument 1, then the next three from 2, 3, 4,
// all read before any is written, so a line that fails changes none.
void SetSpeeds(TEngineData& data, const TArrayofCmds& cmds, int first, const float (&defaults)[4])
{
    float speeds[4];
    for (int k = 0; k < 4; ++k) {
        speeds[k] = TEngineData::ParamToFloat(cmds, k + 1, defaults[k]);
    }
    data.SetSysVarFloat(first, speeds[0]);
    for (int k = 0; k < 4; ++k) {
        data.SetSysVarFloat(first + 1 + k, speeds[k]);
    }
}
} // namespace

void TMove::SetPosition(const TVector& pos)
{
    FPos = pos;
    TVector scene;
    GetScenePosition(scene);
    FTool = {scene.X, scene.Y, scene.Z};
}

void TMove::GetScenePosition(TVector& p) const
{
    const TFP& level = FPartFiles.Current();
    for (int k = 0; k < 3; ++k) {
        p[k] = (level.Offset[k] + FZero[k] + FPos[k]) * level.Scale[k];
    }
    p.W = 0.0f;
}

float TMove::MoveTarget(const TArrayofCmds& cmds, int i, float current) const
{
    // What the data module's GetMoveParam gives, with the axis's current value read
    // here instead of through the position slot this simulator serves.
    if (!FData.PositionFrom(this)) {
        return FData.GetMoveParam(cmds, i);
    }
    TEngineData::CheckEvaluated(cmds, i - 1);
    return FData.MoveParamValue(cmds[i - 1], current);
}

void TMove::ThrowOutOfRange() const
{
    // An infinite position would stay for every later run and line: the line stops
    // the run instead, as a bad argument does.
    throw ECoordinateRange("The target of \"" + FCmdWord + "\" is beyond the coordinate range (line: "
                           + IntToStr(FLineNumber) + ")");
}

void TMove::ThrowValueRange(int argument) const
{
    const std::string_view name = ArgumentName(FCmdWord, argument);
    if (name.empty()) {
        ThrowOutOfRange();
    }
    throw EValueRange("The " + std::string(name) + " of \"" + FCmdWord + "\" (argument " + IntToStr(argument)
                      + ") is beyond its range (line: " + IntToStr(FLineNumber) + ")");
}

// One body for both families: they differ only in their speed command and in the
// polyline kind the node goes to.
void TMove::DoMCommands(const TArrayofCmds& cmds)
{
    const bool jog = FCmdWord[0] == 'J';
    // A line that fails is taken back by the dispatcher: the position, A, B and the path.
    if (jog) {
        FNewPolyline = true;
    }
    const char letter = SecondLetter(FCmdWord);
    switch (letter) {
    case '2': case '3': case '4': case '5':
        // X first, then Y, Z, A, B: an argument that fails leaves the later axes alone.
        FPos.X = MoveTarget(cmds, 2, FPos.X);
        FPos.Y = MoveTarget(cmds, 3, FPos.Y);
        if (letter >= '3') {
            FPos.Z = MoveTarget(cmds, 4, FPos.Z);
        }
        if (letter >= '4') {
            FA = MoveTarget(cmds, 5, FA);
        }
        if (letter == '5') {
            FB = MoveTarget(cmds, 6, FB);
        }
        break;
    case 'X': FPos.X = MoveTarget(cmds, 2, FPos.X); break;
    case 'Y': FPos.Y = MoveTarget(cmds, 2, FPos.Y); break;
    case 'Z': FPos.Z = MoveTarget(cmds, 2, FPos.Z); break;
    case 'A': FA = MoveTarget(cmds, 2, FA); break;
    case 'B': FB = MoveTarget(cmds, 2, FB); break;
    case 'H':
        FPos.X = 0.0f;
        FPos.Y = 0.0f;
        FPos.Z = FData.GetSysVarFloat(28);
        break;
    case 'S':
        if (jog) {
            SetSpeeds(FData, cmds, 76, {12.0f, 3.0f, 3.0f, 1440.0f});
        } else {
            SetSpeeds(FData, cmds, 71, {3.0f, 1.0f, 1.0f, 720.0f});
        }
        break;
    case 'D':
        if (!jog) {
            DoMoveDistance(cmds);
        }
        break;
    case 'O':
        if (!jog) {
            LogNotApplicable(FCmdWord);
        }
        break;
    default: break;
    }
    // Every target, those MH and MD compute included, before anything is drawn.
    CheckInRange(FPos.X, FPos.Y, FPos.Z, FA, FB);
    FHandled = true;
    AddPathNode(jog ? 'J' : 'M');
}

void TMove::DoJCommands(const TArrayofCmds& cmds)
{
    DoMCommands(cmds);
}

void TMove::DoMoveDistance(const TArrayofCmds& cmds)
{
    const float d = FData.GetMoveParam(cmds, 2);
    // Arguments that failed to evaluate stop here.
    TEngineData::ParamToStr(cmds, 2, "");
    TEngineData::ParamToStr(cmds, 3, "");
    const std::string dir = UpperCase(Trim(cmds[2]));
    double turn = 0.0;
    double a = ReadArgument(2, [&] {
        if (!dir.empty() && (dir.back() == 'R' || dir.back() == 'L')) {
            turn = dir.back() == 'R' ? 1.0 : -1.0;
            return StrictDoubleArgument(Trim(std::string_view(dir).substr(0, dir.size() - 1)));
        }
        if (dir.find(':') != std::string::npos) {
            return ClockToDegrees(dir);
        }
        if (dir.find_first_of("NSEW") != std::string::npos) {
            return CompassToDegrees(dir);
        }
        return StrictDoubleArgument(dir);
    });
    if (turn != 0.0) {
        a = (GetLastHeading() - turn * a) / 2.0;
    }
    const float z = ReadArgument(3, [&] { return DepthToZ(cmds[3], FPos.Z); });
    const double rad = a * std::numbers::pi / 180.0;
    FPos.X = static_cast<float>(FPos.X + std::sin(rad) * d);
    FPos.Y = static_cast<float>(FPos.Y + std::cos(rad) * d);
    FPos.Z = z;
}
