#pragma once
// TC_Commands expands the cutting shapes of the C family (CA arcs from chord and
// height, CC circles through the current point, CP circles about an offset centre,
// CG arcs to an end point, CR rectangles), with repetitions, plunges, tool sides and
// pockets, into series of points reported through the data module's add-move-node
// slot. Shapes are computed in program coordinates and drawn through the same scene
// mapping as moves (zero offsets, sub-file offset and scale), so a shape lands where
// the moves around it do.

#include "engine/ParsedLine.h"
#include "scene/base/VectorTypes.h"

#include <cstdint>

class TEngineData;
class IShellServices;

// What a shape reads and writes of the simulator.
struct TShapeContext {
    // Program coordinates; follows every reported point (W 0).
    TVector Position{0.0f, 0.0f, 0.0f, 0.0f};
    // scene = (Offset + program) * Scale on each axis.
    TAffineVector Offset{0.0f, 0.0f, 0.0f};
    TAffineVector Scale{1.0f, 1.0f, 1.0f};
};

class TC_Commands {
public:
    // Both must outlive this object.
    TC_Commands(TEngineData& data, IShellServices& shell);

    // Runs the shape named by the second letter of cmds[0]; false for any other letter.
    // Errors that leave the run going are logged and shown in the messages window;
    // an impossible shape raises ERunError.
    bool Execute(const TArrayofCmds& cmds, TShapeContext& context);

    // No single shape reports more points than this.
    static constexpr std::int64_t MaxShapeNodes = 10000000;

private:
    enum class TConvention { Compass, Mathematical };

    // One arc command's geometry and options, filled by the command and run by CutArc.
    struct TArc {
        TConvention Convention = TConvention::Compass;
        double CentreX = 0, CentreY = 0;
        double Radius = 0;
        double Start = 0, End = 0;
        double Px = 1, Py = 1;
        float Plunge = 0;
        int Repetitions = 1;
        int Option = 0;
        bool ReturnToEndPoint = false; // the pocket of CP closes on the circle
    };

    void DoCA(const TArrayofCmds& cmds);
    void DoCC(const TArrayofCmds& cmds);
    void DoCG(const TArrayofCmds& cmds);
    void DoCP(const TArrayofCmds& cmds);
    void DoCR(const TArrayofCmds& cmds);

    // CC and CP: the angles in radians, wrapped as the direction asks.
    void SetCircleAngles(TArc& arc, int direction, double startDegrees, double endDegrees) const;
    void CutArc(TArc& arc);
    void ArcSteps(const TArc& arc, double radius, bool newLine);
    void ArcPocket(const TArc& arc, bool newLine);
    // The point at `angle` in the arc's angle convention.
    void ArcPoint(const TArc& arc, double radius, double angle, double& x, double& y) const;

    void RectOutline(int row, double xLength, double yLength, bool newLine);
    void RectPocket(int corner, int row, double xLength, double yLength, int option, bool newLine);

    // Reports (x, y, z) in program coordinates: the position follows, the node goes
    // to the scene through the mapping.
    void Report(bool newLine, double x, double y, double z);
    void CheckNodeBudget(double nodes) const;
    // The arc step %(-1), or 0.05 (logged) when it is not above 0.
    double ArcStep();
    // The pocket stepover from %(23) and %(-4); logged when it is not above 0.
    double Stepover();
    void ReportError(const std::string& text);
    double ToolRadiusFor(const TArrayofCmds& cmds, int sideIndex) const;

    TEngineData& FData;
    IShellServices& FShell;
    TShapeContext* FContext = nullptr;
    std::int64_t FNodes = 0;
    double FStep = 0.05;
    // The pocket stepover of the command being run.
    double FStepover = 0;
    bool FFlatPass = false;
};
