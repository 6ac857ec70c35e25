#include "app/settings/PreviewOptions.h"

#include "app/run/PreviewScene.h"
#include "app/settings/SettingsFields.h"

#include "engine/Move.h"
#include "platform/core/text/NumberFormat.h"
#include "scene/materials/Color.h"
#include "scene/materials/Material.h"
#include "scene/graph/WorldBuffer.h"
#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/objects/lines/XYZGrid.h"

#include <cmath>

namespace {

// The keys stored as the record holds them, in write order around the two opacities
// and the unit, which convert.
const TSettingField<TPreviewOptions> ColourFields[] = {
    {"BackgroundColor", &TPreviewOptions::BackgroundColor},
    {"TableColor", &TPreviewOptions::TableColor},
};
const TSettingField<TPreviewOptions> AxisAndBitFields[] = {
    {"ShowAxis", &TPreviewOptions::ShowAxis},
    {"MainBitColor", &TPreviewOptions::MainBitColor},
};
const TSettingField<TPreviewOptions> PathFields[] = {
    {"WireBitColor", &TPreviewOptions::WireBitColor}, {"GridColor", &TPreviewOptions::GridColor},
    {"MoveColor", &TPreviewOptions::MoveColor},       {"JogColor", &TPreviewOptions::JogColor},
    {"MoveDashed", &TPreviewOptions::MoveDashed},     {"JogDashed", &TPreviewOptions::JogDashed},
};
const TSettingField<TPreviewOptions> SizeFields[] = {
    {"CubeWidth", &TPreviewOptions::CubeWidth}, {"CubeHeight", &TPreviewOptions::CubeHeight},
    {"GridWidth", &TPreviewOptions::GridWidth}, {"GridHeight", &TPreviewOptions::GridHeight},
    {"ShowGrid", &TPreviewOptions::ShowGrid},
};

const char* const TableTranspKey = "TableTransp";
const char* const MainBitTranspKey = "MainBitTransp";
const char* const ConversionKey = "Conversion";

float Opacity(int position)
{
    return static_cast<float>(position * 0.1);
}

void SetDiffuse(TGLCustomSceneObject& object, TColor color, float alpha)
{
    TGLColor& diffuse = *object.Material().FrontProperties()->Diffuse();
    diffuse.SetColor(ColorToVector(color, 1));
    diffuse.SetAlpha(alpha);
}

} // namespace

int TransparencyPosition(double opacity)
{
    // In double, 0.3 / 0.1 is 2.9999999999999996; in single precision it is 3.
    const float steps = static_cast<float>(opacity / 0.1);
    if (!(steps >= 0)) {
        return 0;
    }
    return steps >= TransparencySteps ? TransparencySteps : static_cast<int>(std::trunc(steps));
}

void TPreviewOptions::Read(const TIniFile& ini)
{
    *this = TPreviewOptions{};
    ReadSettingFields(ini, SceneSection, ColourFields, *this);
    TableTransparency = TransparencyPosition(ini.ReadFloat(SceneSection, TableTranspKey, 0.5));
    ReadSettingFields(ini, SceneSection, AxisAndBitFields, *this);
    MainBitTransparency = TransparencyPosition(ini.ReadFloat(SceneSection, MainBitTranspKey, 0.5));
    ReadSettingFields(ini, SceneSection, PathFields, *this);
    Millimeters = ini.ReadInteger(SceneSection, ConversionKey, 1) != 1;
    ReadSettingFields(ini, SceneSection, SizeFields, *this);
}

void TPreviewOptions::Write(TIniFile& ini) const
{
    WriteSettingFields(ini, SceneSection, ColourFields, *this);
    ini.WriteFloat(SceneSection, TableTranspKey, TableTransparency * 0.1);
    WriteSettingFields(ini, SceneSection, AxisAndBitFields, *this);
    ini.WriteFloat(SceneSection, MainBitTranspKey, MainBitTransparency * 0.1);
    WriteSettingFields(ini, SceneSection, PathFields, *this);
    ini.WriteInteger(SceneSection, ConversionKey, Millimeters ? 2 : 1);
    WriteSettingFields(ini, SceneSection, SizeFields, *this);
}

void ApplyPreviewOptions(const TPreviewOptions& options, const TPreviewTargets& targets)
{
    TPreviewScene& scene = *targets.Scene;
    if (targets.Viewer != nullptr) {
        targets.Viewer->SetBackgroundColor(options.BackgroundColor);
    }
    SetDiffuse(*scene.Cube1, options.TableColor, Opacity(options.TableTransparency));
    for (TGLBaseSceneObject* axis : std::initializer_list<TGLBaseSceneObject*>{
             scene.YArrow, scene.XArrow, scene.ZArrow, scene.SpaceTexty, scene.SpaceTextx, scene.SpaceTextz}) {
        axis->SetVisible(options.ShowAxis);
    }
    SetDiffuse(*scene.Bit, options.MainBitColor, Opacity(options.MainBitTransparency));
    scene.WireframeBit->Material().FrontProperties()->Diffuse()->SetColor(ColorToVector(options.WireBitColor, 1));
    if (targets.Move != nullptr) {
        targets.Move->SetPathColors(ColorToVector(options.MoveColor, 1), ColorToVector(options.JogColor, 1));
        targets.Move->SetPathDashed(options.MoveDashed, options.JogDashed);
    }

    const double f = options.UnitFactor();
    TGLCube& table = *scene.Cube1;
    table.SetCubeWidth(static_cast<float>(options.CubeWidth * f));
    table.SetCubeDepth(static_cast<float>(options.CubeHeight * f));
    table.Position().SetPoint(table.CubeWidth() / 2, table.CubeDepth() / 2, -table.CubeHeight() / 2);

    TGLXYZGrid& grid = *scene.XYZGrid1;
    grid.XSamplingScale().SetMax(table.CubeWidth());
    grid.YSamplingScale().SetMax(table.CubeDepth());
    grid.SetLineColor(ColorToVector(options.GridColor, 1));
    grid.XSamplingScale().SetStep(static_cast<float>(options.GridWidth * f));
    grid.YSamplingScale().SetStep(static_cast<float>(options.GridHeight * f));
    grid.SetVisible(options.ShowGrid);
    if (targets.GridNoted) {
        targets.GridNoted(GridNote(options, grid));
    }
}

std::string GridNote(const TPreviewOptions& options, const TGLXYZGrid& grid)
{
    if (!options.ShowGrid) {
        return {};
    }
    const TXYZGridSampling sampling = grid.Sampling();
    if (sampling.Drawable && !sampling.Coarsened) {
        return {};
    }
    const std::string unit = options.Millimeters ? " mm" : " in";
    const auto pair = [&](double x, double y) { return FloatToStr(x) + " x " + FloatToStr(y) + unit; };
    const std::string asked = "Grid steps of " + pair(options.GridWidth, options.GridHeight) + " over a table of " +
                              pair(options.CubeWidth, options.CubeHeight);
    if (!sampling.Drawable) {
        return asked + " cannot be drawn; the grid is left out.";
    }
    return asked + " give more lines than the view can show; the grid is drawn with steps of " +
           pair(options.GridWidth * sampling.X.Factor, options.GridHeight * sampling.Y.Factor) + ".";
}
