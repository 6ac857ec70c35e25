#include "app/run/SceneViews.h"

#include "app/run/PreviewScene.h"

#include "platform/core/files/IniFile.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/Utf8.h"
#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cubes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char* const NumViewsKey = "NumViews";

bool ReadComponent(std::string_view text, float& value)
{
    double number = 0;
    if (!TryStrToFloat(text, number) || !std::isfinite(number)) {
        return false;
    }
    value = static_cast<float>(number);
    return std::isfinite(value);
}

void ReadVector(const TIniFile& ini, const std::string& section, const char* key, TVector& v,
                const TSettingsLog& log)
{
    const std::string text = ini.ReadString(section, key, ViewVectorToStr(v));
    if (!StrToViewVector(text, v) && log) {
        log("error", section + ": " + key + " \"" + text + "\" is not a vector; the default is used");
    }
}

// A number at least single precision's least normal number and at most `most`, when
// the key is there; else `value` stays, with an "error" line for a text that is not such
// a number.
void ReadPositive(const TIniFile& ini, const std::string& section, const char* key, float most, float& value,
                  const TSettingsLog& log)
{
    if (!ini.ValueExists(section, key)) {
        return;
    }
    const std::string text = ini.ReadString(section, key, "");
    float read = 0;
    if (ReadComponent(text, read) && read >= std::numeric_limits<float>::min() && read <= most) {
        value = read;
    } else if (log) {
        log("error", section + ": " + key + " \"" + text + "\" is out of range; the default is used");
    }
}

// Nine significant digits: any single reads back as itself.
std::string SingleToStr(float value)
{
    return FloatToStrGeneral(value, 9);
}

} // namespace

std::string ListedViewName(std::string_view name)
{
    const std::u32string chars = Utf8ToUtf32(name);
    if (chars.size() <= MaxListedViewName) {
        return std::string(name);
    }
    // The end is what tells numbered views apart; the start says what the view is.
    constexpr std::size_t tail = MaxListedViewName / 3;
    constexpr std::size_t head = MaxListedViewName - tail - 1;
    std::u32string listed = chars.substr(0, head);
    listed += U'\u2026';
    listed += chars.substr(chars.size() - tail);
    return Utf32ToUtf8(listed);
}

std::string ViewSectionName(int index)
{
    return "View" + std::to_string(index);
}

std::string ViewVectorToStr(const TVector& v)
{
    return FloatToStrFixed(v.X, 5) + "," + FloatToStrFixed(v.Y, 5) + "," + FloatToStrFixed(v.Z, 5);
}

bool StrToViewVector(std::string_view text, TVector& v)
{
    const std::size_t first = text.find(',');
    if (first == std::string_view::npos) {
        return false;
    }
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    TVector read{0, 0, 0, 0};
    if (!ReadComponent(text.substr(0, first), read.X) ||
        !ReadComponent(text.substr(first + 1, second - first - 1), read.Y) ||
        !ReadComponent(text.substr(second + 1), read.Z)) {
        return false;
    }
    v = read;
    return true;
}

std::vector<TSceneView> ReadSceneViews(const TIniFile& ini, const TSettingsLog& log)
{
    int count = ini.ReadInteger(ViewsSection, NumViewsKey, 0);
    if (count < 0 || count > MaxSceneViews) {
        const int bounded = std::clamp(count, 0, MaxSceneViews);
        if (log) {
            log("error", std::string(NumViewsKey) + " " + std::to_string(count) + " is out of range; " +
                             std::to_string(bounded) + " is used");
        }
        count = bounded;
    }
    std::vector<TSceneView> views(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TSceneView& view = views[static_cast<std::size_t>(i)];
        const std::string section = ViewSectionName(i);
        view.Name = ini.ReadString(section, "Name", section);
        ReadVector(ini, section, "CameraPos", view.CameraPos, log);
        ReadVector(ini, section, "DummyCubeDir", view.DummyCubeDir, log);
        ReadVector(ini, section, "DummyCubeUp", view.DummyCubeUp, log);
        ReadVector(ini, section, "DummyCubePos", view.DummyCubePos, log);
        ReadPositive(ini, section, "ViewScale", 1, view.ViewScale, log);
        ReadPositive(ini, section, "DepthOfView", TPreviewScene::MaxViewReach, view.DepthOfView, log);
    }
    return views;
}

void WriteSceneViews(TIniFile& ini, const std::vector<TSceneView>& views)
{
    const int old = std::clamp(ini.ReadInteger(ViewsSection, NumViewsKey, 0), 0, MaxSceneViews);
    for (int i = 0; i <= old; ++i) {
        ini.EraseSection(ViewSectionName(i));
    }
    ini.WriteInteger(ViewsSection, NumViewsKey, static_cast<int>(views.size()));
    for (std::size_t i = 0; i < views.size(); ++i) {
        const TSceneView& view = views[i];
        const std::string section = ViewSectionName(static_cast<int>(i));
        ini.WriteString(section, "Name", view.Name);
        ini.WriteString(section, "CameraPos", ViewVectorToStr(view.CameraPos));
        ini.WriteString(section, "DummyCubeDir", ViewVectorToStr(view.DummyCubeDir));
        ini.WriteString(section, "DummyCubeUp", ViewVectorToStr(view.DummyCubeUp));
        ini.WriteString(section, "DummyCubePos", ViewVectorToStr(view.DummyCubePos));
        if (view.ViewScale != 1) {
            ini.WriteString(section, "ViewScale", SingleToStr(view.ViewScale));
        }
        if (view.DepthOfView > 0) {
            ini.WriteString(section, "DepthOfView", SingleToStr(view.DepthOfView));
        }
    }
}

TSceneView CaptureView(const TPreviewScene& scene, std::string name)
{
    TSceneView view;
    view.Name = std::move(name);
    view.CameraPos = scene.GLCamera1->Position().AsVector();
    view.DummyCubeDir = scene.DummyCube1->Direction().AsVector();
    view.DummyCubeUp = scene.DummyCube1->Up().AsVector();
    view.DummyCubePos = scene.DummyCube1->Position().AsVector();
    view.ViewScale = scene.ViewScale();
    const float depth = scene.GLCamera1->DepthOfView();
    view.DepthOfView = depth == TPreviewScene::MainDepthOfView * view.ViewScale ? 0 : depth;
    return view;
}

void ApplyView(TPreviewScene& scene, const TSceneView& view)
{
    // The positions were taken at the view's scale (a fit's of paths beyond
    // MaxViewReach): at another, the view came back larger and mostly outside.
    const float scale = view.ViewScale > 0 && view.ViewScale <= 1 ? view.ViewScale : 1.0f;
    scene.SetViewScale(scale);
    // Positions are points and directions vectors whatever W the file gave them.
    scene.GLCamera1->Position().SetPoint(view.CameraPos.X, view.CameraPos.Y, view.CameraPos.Z);
    scene.DummyCube1->Direction().SetVector(view.DummyCubeDir.X, view.DummyCubeDir.Y, view.DummyCubeDir.Z);
    scene.DummyCube1->Up().SetVector(view.DummyCubeUp.X, view.DummyCubeUp.Y, view.DummyCubeUp.Z);
    scene.DummyCube1->Position().SetPoint(view.DummyCubePos.X, view.DummyCubePos.Y, view.DummyCubePos.Z);
    // A view without a depth of view of its own was kept at the start's: left as the
    // camera had it, a view kept before a Zoom came back with the Zoom's larger one.
    const float start = TPreviewScene::MainDepthOfView * scale;
    scene.GLCamera1->SetDepthOfView(view.DepthOfView > 0
                                        ? std::clamp(view.DepthOfView, start, TPreviewScene::MaxViewReach)
                                        : start);
}
