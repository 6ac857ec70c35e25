#include "engine/CCommands.h"

#include "engine/ArgumentNumbers.h"
#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/ShellServices.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * std::numbers::pi;

// x factor, y factor, next row (1-based rows; 0 for the inward rows).
struct TRectDirection {
    float X, Y;
    int Next;
};
constexpr TRectDirection RectDirections[13] = {
    {0, 0, 0}, // rows count from 1
    {1, 0, 2},   {0, -1, 3}, {-1, 0, 4}, {0, 1, 1},  // clockwise
    {0, -1, 8},  {-1, 0, 5}, {0, 1, 6},  {1, 0, 7},  // counter-clockwise
    {1, -1, 0},  {-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, // inward step from corners 1 to 4
};

double DegToRad(double degrees) { return degrees * Pi / 180.0; }

// The number of a strictly converted argument: a failed expression, a text that is no
// number or a number beyond a double ends the run.
double StrictFloat(const TArrayofCmds& cmds, int i)
{
    if (cmds.Failed(i)) {
        throw EArgumentFailed(cmds[i], cmds.ErrorOf(i));
    }
    return ReadArgument(i, [&] { return StrictDoubleArgument(cmds[i]); });
}

// Pocket rings from the outer ring until the next would pass the middle; none without
// a positive stepover.
double RingCount(double halfSize, double stepover)
{
    return stepover > 0 ? std::trunc(halfSize / stepover + 1) : 0;
}

double RectRingCount(double xLength, double yLength, double stepover)
{
    return std::min(RingCount(xLength / 2, stepover), RingCount(yLength / 2, stepover));
}

// Toward zero; 0 for what no int can hold (the callers treat 0 as invalid or default).
int TruncToInt(double value)
{
    return std::fabs(value) < 1e9 ? static_cast<int>(value) : 0;
}

} // namespace

TC_Commands::TC_Commands(TEngineData& data, IShellServices& shell) : FData(data), FShell(shell) {}

bool TC_Commands::Execute(const TArrayofCmds& cmds, TShapeContext& context)
{
    const std::string& word = cmds[0];
    if (word.size() < 2) {
        return false;
    }
    FContext = &context;
    FNodes = 0;
    switch (word[1]) {
    case 'A':
        DoCA(cmds);
        return true;
    case 'C':
        DoCC(cmds);
        return true;
    case 'G':
        DoCG(cmds);
        return true;
    case 'P':
        DoCP(cmds);
        return true;
    case 'R':
        DoCR(cmds);
        return true;
    default:
        return false;
    }
}

// ---- Arcs ----

double TC_Commands::ToolRadiusFor(const TArrayofCmds& cmds, int sideIndex) const
{
    const std::string side = UpperCase(Trim(cmds[sideIndex]));
    const int sign = side == "O" ? 1 : side == "I" ? -1 : 0;
    return sign * double(FData.GetSysVarFloat(23)) / 2;
}

void TC_Commands::SetCircleAngles(TArc& arc, int direction, double startDegrees, double endDegrees) const
{
    arc.Start = DegToRad(startDegrees);
    arc.End = DegToRad(endDegrees);
    if (direction == -1) {
        if (arc.End > arc.Start) {
            // A whole turn (the default 0 to 360) would otherwise wrap to nothing.
            if (std::fabs(arc.End - arc.Start - TwoPi) < 1e-9) {
                arc.End = arc.Start - TwoPi;
            } else {
                arc.Start += TwoPi;
            }
        }
    } else if (arc.End < arc.Start) {
        arc.End += TwoPi;
    }
}

void TC_Commands::DoCC(const TArrayofCmds& cmds)
{
    TArc arc;
    arc.Radius = StrictFloat(cmds, 1) / 2 + ToolRadiusFor(cmds, 2);
    const int direction = TEngineData::ParamToInt(cmds, 3, 1);
    const float start = TEngineData::ParamToFloat(cmds, 4, 0.0f);
    const float end = TEngineData::ParamToFloat(cmds, 5, 360.0f);
    arc.Plunge = TEngineData::ParamToFloat(cmds, 6, 0.0f);
    arc.Repetitions = TEngineData::ParamToInt(cmds, 7, 1);
    arc.Px = TEngineData::ParamToFloat(cmds, 8, 1.0f);
    arc.Py = TEngineData::ParamToFloat(cmds, 9, 1.0f);
    arc.Option = TEngineData::ParamToInt(cmds, 10, 0);
    SetCircleAngles(arc, direction, start, end);
    const TVector& p = FContext->Position;
    arc.CentreX = p.X - std::sin(arc.Start) * arc.Radius * arc.Px;
    arc.CentreY = p.Y - std::cos(arc.Start) * arc.Radius * arc.Py;
    CutArc(arc);
}

void TC_Commands::DoCP(const TArrayofCmds& cmds)
{
    TArc arc;
    arc.Radius = StrictFloat(cmds, 1) / 2 + ToolRadiusFor(cmds, 4);
    const TVector& p = FContext->Position;
    arc.CentreX = p.X + double(TEngineData::ParamToFloat(cmds, 2, 0.0f));
    arc.CentreY = p.Y + double(TEngineData::ParamToFloat(cmds, 3, 0.0f));
    const int direction = TEngineData::ParamToInt(cmds, 5, 1);
    const float start = TEngineData::ParamToFloat(cmds, 6, 0.0f);
    const float end = TEngineData::ParamToFloat(cmds, 7, 360.0f);
    arc.Plunge = TEngineData::ParamToFloat(cmds, 8, 0.0f);
    arc.Repetitions = TEngineData::ParamToInt(cmds, 9, 1);
    arc.Px = TEngineData::ParamToFloat(cmds, 10, 1.0f);
    arc.Py = TEngineData::ParamToFloat(cmds, 11, 1.0f);
    arc.Option = TEngineData::ParamToInt(cmds, 12, 0);
    arc.ReturnToEndPoint = true;
    SetCircleAngles(arc, direction, start, end);
    CutArc(arc);
}

void TC_Commands::DoCA(const TArrayofCmds& cmds)
{
    const double width = StrictFloat(cmds, 1);
    const double height = StrictFloat(cmds, 2);
    if (height == 0) {
        throw ERunError("Invalid height specified for CA command: " + cmds[2]);
    }
    TArc arc;
    arc.Radius = width * width / (8 * height) + height / 2 + ToolRadiusFor(cmds, 3);
    const double sine = (width / 2) / arc.Radius;
    if (!(std::fabs(sine) <= 1)) {
        ReportError("Radius of arc is too small for distance between points.");
        return;
    }
    double half = std::asin(sine);
    if (height > arc.Radius) {
        half = Pi - half;
    }
    if (TEngineData::ParamToInt(cmds, 4, 1) == 1) {
        arc.Start = -half;
        arc.End = arc.Start + 2 * half;
    } else {
        arc.Start = half;
        arc.End = arc.Start - 2 * half;
    }
    arc.Plunge = TEngineData::ParamToFloat(cmds, 6, 0.0f);
    arc.Repetitions = TEngineData::ParamToInt(cmds, 7, 1);
    arc.Px = TEngineData::ParamToFloat(cmds, 8, 1.0f);
    arc.Py = TEngineData::ParamToFloat(cmds, 9, 1.0f);
    const TVector& p = FContext->Position;
    arc.CentreX = p.X - std::sin(arc.Start) * arc.Radius * arc.Px;
    arc.CentreY = p.Y - std::cos(arc.Start) * arc.Radius * arc.Py;
    CutArc(arc);
}

void TC_Commands::DoCG(const TArrayofCmds& cmds)
{
    TArc arc;
    arc.Convention = TConvention::Mathematical;
    const float diameter = TEngineData::ParamToFloat(cmds, 1, -1.0f);
    const double endX = TEngineData::ParamToFloat(cmds, 2, 0.0f);
    const double endY = TEngineData::ParamToFloat(cmds, 3, 0.0f);
    const double offsetX = TEngineData::ParamToFloat(cmds, 4, 0.0f);
    const double offsetY = TEngineData::ParamToFloat(cmds, 5, 0.0f);
    const double side = ToolRadiusFor(cmds, 6);
    const int direction = TEngineData::ParamToInt(cmds, 7, 1);
    arc.Plunge = TEngineData::ParamToFloat(cmds, 8, 0.0f);
    arc.Repetitions = TEngineData::ParamToInt(cmds, 9, 1);
    arc.Px = TEngineData::ParamToFloat(cmds, 10, 1.0f);
    arc.Py = TEngineData::ParamToFloat(cmds, 11, 1.0f);
    arc.Option = TEngineData::ParamToInt(cmds, 12, 0);

    const double x = FContext->Position.X;
    const double y = FContext->Position.Y;
    if (diameter == -1.0f) {
        arc.CentreX = x + offsetX;
        arc.CentreY = y + offsetY;
        arc.Radius = std::hypot(x - arc.CentreX, y - arc.CentreY) + side;
    } else {
        arc.Radius = diameter / 2.0 + side;
        const double halfChord = std::hypot(endX - x, endY - y) / 2;
        if (halfChord > arc.Radius) {
            ReportError("Radius of arc is too small for distance between points.");
            return;
        }
        const double apart = std::sqrt(arc.Radius * arc.Radius - halfChord * halfChord);
        const double toCentre = std::atan2(endY - y, endX - x) - Pi / 2;
        arc.CentreX = (x + endX) / 2 + apart * std::cos(toCentre);
        arc.CentreY = (y + endY) / 2 + apart * std::sin(toCentre);
    }
    arc.Start = std::atan2(y - arc.CentreY, x - arc.CentreX);
    arc.End = std::atan2(endY - arc.CentreY, endX - arc.CentreX);
    if (direction == 1) {
        if (arc.End >= arc.Start) {
            arc.Start += TwoPi;
        }
    } else if (arc.End <= arc.Start) {
        arc.End += TwoPi;
    }
    CutArc(arc);
}

void TC_Commands::ArcPoint(const TArc& arc, double radius, double angle, double& x, double& y) const
{
    if (arc.Convention == TConvention::Compass) {
        x = arc.CentreX + std::sin(angle) * radius * arc.Px;
        y = arc.CentreY + std::cos(angle) * radius * arc.Py;
    } else {
        x = arc.CentreX + std::cos(angle) * radius * arc.Px;
        y = arc.CentreY + std::sin(angle) * radius * arc.Py;
    }
}

void TC_Commands::CutArc(TArc& arc)
{
    FStep = ArcStep();
    FFlatPass = false;
    double rings = 1;
    if (arc.Option == 2) {
        FStepover = Stepover();
        rings = std::max(RingCount(arc.Radius, FStepover), 0.0);
    }
    const double perRing = (std::fabs(arc.End - arc.Start) / FStep + 4) * (arc.Option == 4 ? 2 : 1);
    CheckNodeBudget(double(std::max(arc.Repetitions, 0)) * (rings * perRing + 1));

    for (int pass = 1; pass <= arc.Repetitions; ++pass) {
        if (pass >= 2) {
            FContext->Position.Z = static_cast<float>(FContext->Position.Z + double(arc.Plunge));
        }
        if (arc.Option == 2) {
            ArcPocket(arc, pass == 1);
        } else {
            ArcSteps(arc, arc.Radius, pass == 1);
        }
    }
}

void TC_Commands::ArcSteps(const TArc& arc, double radius, bool newLine)
{
    const TVector& p = FContext->Position;
    Report(newLine, p.X, p.Y, p.Z);
    const bool helical = (arc.Option == 3 || arc.Option == 4) && !FFlatPass;
    const double sweep = std::fabs(arc.End - arc.Start);
    const double dz = helical && sweep > 0 ? arc.Plunge * FStep / sweep : 0.0;

    // Without a step point (a sweep of one step or less) the pass keeps the current
    // point as its first one.
    double firstX = p.X, firstY = p.Y, firstZ = p.Z;
    bool haveFirst = false;
    double angle = arc.Start;
    while (std::fabs(angle - arc.End) > FStep) {
        double x = 0, y = 0;
        ArcPoint(arc, radius, angle, x, y);
        const float z = static_cast<float>(p.Z + dz);
        Report(false, x, y, z);
        if (!haveFirst) {
            haveFirst = true;
            firstX = FContext->Position.X;
            firstY = FContext->Position.Y;
            firstZ = z;
        }
        angle = angle <= arc.End ? angle + FStep : angle - FStep;
    }
    double endX = 0, endY = 0;
    ArcPoint(arc, radius, arc.End, endX, endY);
    Report(false, endX, endY, helical ? static_cast<float>(firstZ + double(arc.Plunge)) : firstZ);

    if (arc.Option == 4 && !FFlatPass) {
        FFlatPass = true;
        ArcSteps(arc, radius, false);
    }
    if (arc.Option == 3 || arc.Option == 4) {
        Report(false, firstX, firstY, firstZ);
    }
}

void TC_Commands::ArcPocket(const TArc& arc, bool newLine)
{
    const TVector& p = FContext->Position;
    double returnX = p.X, returnY = p.Y;
    const double returnZ = p.Z;
    if (arc.ReturnToEndPoint) {
        ArcPoint(arc, arc.Radius, arc.End, returnX, returnY);
    }
    const double rings = RingCount(arc.Radius, FStepover);
    double radius = arc.Radius;
    for (double ring = 0; ring < rings; ++ring) {
        ArcSteps(arc, radius, newLine);
        radius -= FStepover;
    }
    Report(false, returnX, returnY, returnZ);
}

// ---- Rectangles ----

void TC_Commands::DoCR(const TArrayofCmds& cmds)
{
    const float x = TEngineData::ParamToFloat(cmds, 1, NAN);
    if (std::isnan(x)) {
        ReportError("Invalid x specified for CR command: " + cmds[1]);
        return;
    }
    const double side = ToolRadiusFor(cmds, 3);
    const double xLength = x + side;
    const double yLength = TEngineData::ParamToFloat(cmds, 2, x) + side;
    const int direction = TruncToInt(TEngineData::ParamToFloat(cmds, 4, 1.0f));
    const int corner = TruncToInt(TEngineData::ParamToFloat(cmds, 5, 4.0f));
    if (corner < 1 || corner > 4) {
        throw ERunError("Invalid start corner specified for CR command: " + cmds[5]);
    }
    const int row = direction == -1 ? corner + 4 : corner;
    const float plunge = TEngineData::ParamToFloat(cmds, 6, 0.0f);
    const int repetitions = TEngineData::ParamToInt(cmds, 7, 1);
    const int option = TEngineData::ParamToInt(cmds, 8, 0);

    const bool pocket = option == 2 || option == 3;
    double rings = 1;
    if (pocket) {
        FStepover = Stepover();
        rings = RectRingCount(xLength, yLength, FStepover);
    }
    CheckNodeBudget(double(std::max(repetitions, 0)) * (std::max(rings, 0.0) * 5 + 3));

    for (int pass = 1; pass <= repetitions; ++pass) {
        if (pass >= 2) {
            FContext->Position.Z = static_cast<float>(FContext->Position.Z + double(plunge));
        }
        if (option == 1) {
            RectOutline(row, xLength, yLength, pass == 1);
        } else if (pocket) {
            RectPocket(corner, row, xLength, yLength, option, pass == 1);
        } else {
            RectOutline(row, xLength, yLength, true);
        }
    }
}

void TC_Commands::RectOutline(int row, double xLength, double yLength, bool newLine)
{
    TVector& p = FContext->Position;
    Report(newLine, p.X, p.Y, p.Z);
    for (int side = 0; side < 4; ++side) {
        const TRectDirection& d = RectDirections[row];
        Report(false, static_cast<float>(p.X + xLength * d.X), static_cast<float>(p.Y + yLength * d.Y), p.Z);
        row = d.Next;
    }
}

void TC_Commands::RectPocket(int corner, int row, double xLength, double yLength, int option, bool newLine)
{
    TVector& p = FContext->Position;
    const TVector start = p;
    const double rings = RectRingCount(xLength, yLength, FStepover);
    const TRectDirection& inward = RectDirections[8 + corner];
    for (double ring = 0; ring < rings; ++ring) {
        RectOutline(row, xLength, yLength, newLine);
        p.X = static_cast<float>(p.X + FStepover * inward.X);
        p.Y = static_cast<float>(p.Y + FStepover * inward.Y);
        xLength -= 2 * FStepover;
        yLength -= 2 * FStepover;
    }
    if (option == 2) {
        const double safeZ = FData.GetSysVarFloat(28);
        Report(false, p.X, p.Y, safeZ);
        Report(false, start.X, start.Y, safeZ);
    }
    Report(false, start.X, start.Y, start.Z);
}

// ---- Shared ----

void TC_Commands::Report(bool newLine, double x, double y, double z)
{
    if (++FNodes > MaxShapeNodes) {
        CheckNodeBudget(double(FNodes));
    }
    TVector& p = FContext->Position;
    p = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 0.0f};
    const TAffineVector& o = FContext->Offset;
    const TAffineVector& s = FContext->Scale;
    FData.AddMoveNode(false, newLine, (o.X + p.X) * s.X, (o.Y + p.Y) * s.Y, (o.Z + p.Z) * s.Z);
}

void TC_Commands::CheckNodeBudget(double nodes) const
{
    if (nodes > double(MaxShapeNodes)) {
        throw ERunError("The shape needs more than " + std::to_string(MaxShapeNodes) + " points.");
    }
}

double TC_Commands::ArcStep()
{
    const float step = FData.GetSysVarFloat(-1);
    if (!(step > 0) || std::isinf(step)) {
        ReportError("The arc step %(-1) must be above 0; 0.05 is used.");
        return 0.05f;
    }
    return step;
}

double TC_Commands::Stepover()
{
    const double stepover = (100 - double(FData.GetSysVarFloat(-4))) / 100 * FData.GetSysVarFloat(23);
    if (!(stepover > 0)) {
        ReportError("The pocket stepover from %(23) and %(-4) is not above 0; no rings are cut.");
    }
    return stepover;
}

void TC_Commands::ReportError(const std::string& text)
{
    FShell.Log("error", text);
    FShell.AddMessage(text);
}
