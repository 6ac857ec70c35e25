#pragma once
// Section "Scene" of the main settings file: the look of the 3D preview as the preview
// options dialog holds it (colours as platform colour values, the two opacities as
// track-bar positions in tenths, the four sizes as numbers in the chosen unit), read,
// written and applied to the scene without Qt.

#include "platform/core/graphics/ColorValue.h"

#include <functional>
#include <string>

class TGLWorldBuffer;
class TGLXYZGrid;
class TIniFile;
class TMove;
class TPreviewScene;

inline constexpr const char* SceneSection = "Scene";
inline constexpr int TransparencySteps = 10;
inline constexpr double MillimetresPerInch = 25.4;

struct TPreviewOptions {
    TColor BackgroundColor = 0xF0CAA6;
    TColor TableColor = 0x6FFFFF;
    int TableTransparency = 5;
    bool ShowAxis = true;
    TColor MainBitColor = 0x808080;
    int MainBitTransparency = 5;
    TColor WireBitColor = 0xFF0000;
    TColor GridColor = 0xFFFFFF;
    TColor MoveColor = 0x0000FF;
    TColor JogColor = 0xFF0000;
    bool MoveDashed = false;
    bool JogDashed = false;
    // Sizes in millimetres instead of inches ("Conversion" 2 instead of 1).
    bool Millimeters = false;
    double CubeWidth = 96;
    double CubeHeight = 48;
    double GridWidth = 4;
    double GridHeight = 4;
    bool ShowGrid = true;

    bool operator==(const TPreviewOptions&) const = default;

    // Missing keys keep the defaults; an opacity v gives the position trunc(v / 0.1)
    // with the quotient in single precision (0.3 gives 3, not 2), clamped to 0..10;
    // any "Conversion" but 1 means millimetres.
    void Read(const TIniFile& ini);
    // The 18 keys in order; opacities as position x 0.1, every float in the shortest
    // form with "." ("0.3", "96").
    void Write(TIniFile& ini) const;
    // Scene units are inches: 1 / 25.4 for millimetres, else 1.
    double UnitFactor() const { return Millimeters ? 1 / MillimetresPerInch : 1.0; }
};

// The track bar's position for an opacity read from the file.
int TransparencyPosition(double opacity);

// What the options apply to. The viewer's buffer (the background) is absent without a
// viewer, the simulator (the path styles) before it is made. GridNoted hears the grid's
// note (GridNote) after every apply, empty when the grid is drawn as asked.
struct TPreviewTargets {
    TPreviewScene* Scene = nullptr;
    TGLWorldBuffer* Viewer = nullptr;
    TMove* Move = nullptr;
    std::function<void(const std::string& note)> GridNoted;
};

// In order: background, table colour and opacity, axis arrows and labels, solid bit,
// wire-frame bit, path colours and dash styles (for polylines made afterwards), then
// the table's size (its top at Z = 0, from the origin) and the grid over it, whose
// note goes to GridNoted.
void ApplyPreviewOptions(const TPreviewOptions& options, const TPreviewTargets& targets);

// The debug log's line when the grid these options gave cannot be drawn at the steps
// asked: drawn coarser (a step too fine for the table, or a table too large for the
// step) or not at all (a size beyond single precision). Empty when it is drawn as asked
// or not shown.
std::string GridNote(const TPreviewOptions& options, const TGLXYZGrid& grid);
