#pragma once
// Named views of the 3D preview: where the main camera stands and how the pivot
// (DummyCube1) is placed, with the view's scale and how far the camera sees when a fit
// changed them, kept in section "Views" of the main settings file, one section
// "View<n>" per view. No Qt: the main window lists the names and applies them.
//
// Vectors are "x,y,z" with five decimals, "." as the decimal separator and no grouping
// in any locale, so a component of 1000 or more reads back as written. The scale and
// the depth of view are written only where they differ from the preview's start, to
// nine significant digits (each reads back as the single it was); a file without them
// reads as the start's scale 1 and depth of view.

#include "scene/base/VectorTypes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;
class TPreviewScene;

struct TSceneView {
    std::string Name;
    TVector CameraPos{50, 25, 75, 0};
    TVector DummyCubeDir{0, 0, 1, 0};
    TVector DummyCubeUp{0, 1, 0, 0};
    TVector DummyCubePos{0, 0, 0, 0};
    // The pivot's scale (TPreviewScene::ViewScale) and the main camera's depth of view
    // as it held it; 0 for the depth: the start's at that scale.
    float ViewScale = 1;
    float DepthOfView = 0;
};

// Tag and text of a log line ("error" for values that did not read).
using TSettingsLog = std::function<void(const std::string& tag, const std::string& text)>;

inline constexpr const char* ViewsSection = "Views";
// More views than this in "NumViews" is a damaged file, not a list to read or erase.
inline constexpr int MaxSceneViews = 1000;
std::string ViewSectionName(int index);

// The longest name the Views list shows whole, in characters (code points).
inline constexpr std::size_t MaxListedViewName = 40;
// The name as the Views list shows it: whole up to MaxListedViewName characters, else
// its start and its end around "…", that long in all, so that names that differ at the
// end ("... 1", "... 2") stay apart. The view keeps its whole name.
std::string ListedViewName(std::string_view name);

// "1234.50000,0.00000,-2.00000"; the fourth component is not written.
std::string ViewVectorToStr(const TVector& v);
// Split at the first and the second ","; each part a number with "." (blanks around
// allowed). False, and `v` unchanged, when the text is not three numbers. W becomes 0.
bool StrToViewVector(std::string_view text, TVector& v);

// "NumViews" (0 below 0, MaxSceneViews above it, each with an "error" line), then each
// view; a missing section gives its own name and the default vectors, a vector that
// does not read its default and an "error" line, as does a scale or a depth of view
// that is not a normal single above 0 and at most 1, or TPreviewScene::MaxViewReach.
std::vector<TSceneView> ReadSceneViews(const TIniFile& ini, const TSettingsLog& log);
// Erases "View0" up to the old "NumViews" inclusive, writes "NumViews", then each
// view's keys in order: Name, CameraPos, DummyCubeDir, DummyCubeUp, DummyCubePos, and
// ViewScale and DepthOfView where the view keeps them.
void WriteSceneViews(TIniFile& ini, const std::vector<TSceneView>& views);

// The camera's position and the pivot's direction, up and position, under `name`, with
// the view's scale and the camera's depth of view (kept only where it differs from the
// preview's start at that scale).
TSceneView CaptureView(const TPreviewScene& scene, std::string name);
// Puts the camera and the pivot where the view says, at the view's scale, and the
// camera's depth of view back to the view's (within the bounds the scale gives it),
// so that the view shows what it showed when it was kept.
void ApplyView(TPreviewScene& scene, const TSceneView& view);
