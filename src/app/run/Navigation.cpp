#include "app/run/Navigation.h"

#include "app/run/PreviewScene.h"

#include "engine/Move.h"
#include "scene/graph/Camera.h"
#include "scene/objects/lines/Lines.h"
#include "scene/objects/shapes/Cubes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A mouse movement shorter than this is a shaking hand, not a drag.
constexpr int DeadZonePixels = 2;
constexpr double PixelFactor = 0.13;
constexpr double TurnPerUnit = 1.25;
// Where zoom to fit puts the main camera.
constexpr float FitCameraZ = 75;
// The view the focal length is made for: every view sees at least what one of this
// size would at the same distance.
constexpr double ReferenceWidth = 700;
constexpr double ReferenceHeight = 406;

// The lowest Z of the cut paths; 0 without any.
float LowestCutZ(const TMove& move)
{
    float lowest = 0;
    bool any = false;
    for (const TGLLines* line : move.CutLines()) {
        for (int i = 0, count = line->NodeCount(); i < count; ++i) {
            const float z = line->NodePoint(i).Z;
            lowest = any ? std::min(lowest, z) : z;
            any = true;
        }
    }
    return lowest;
}

} // namespace

TAffineVector NavButtonStep(TNavButton button, int speed)
{
    static constexpr TAffineVector Directions[] = {{1, 0, 0}, {0, -1, 0}, {-1, 0, 0},
                                                   {0, 1, 0}, {0, 0, 1},  {0, 0, -1}};
    const TAffineVector d = Directions[static_cast<int>(button)];
    const double f = speed / 100.0;
    return {static_cast<float>(d.X * f), static_cast<float>(d.Y * f), static_cast<float>(d.Z * f)};
}

void ApplyNavStep(TGLBaseSceneObject& pivot, const TAffineVector& step, bool rotation)
{
    if (rotation) {
        pivot.Pitch(-step.Y);
        pivot.Turn(-step.X);
        pivot.Roll(-step.Z);
    } else {
        const float scale = pivot.Scale().X();
        pivot.Translate(-step.X * scale, -step.Y * scale, -step.Z * scale);
    }
}

double MouseDragFactor(TShiftState shift, float cameraZ, float pivotZ)
{
    double f = PixelFactor;
    if (shift.Contains(TShiftState::ssLeft)) {
        f = (double(cameraZ) - pivotZ) / 60 * PixelFactor;
    }
    return std::max(std::abs(f), 0.01);
}

TMouseDragStep MouseDragStep(TShiftState shift, int lastX, int lastY, int x, int y, double factor)
{
    TMouseDragStep step;
    const int dy = lastY - y;
    const int dx = lastX - x;
    const bool left = shift.Contains(TShiftState::ssLeft);
    if (left || shift.Contains(TShiftState::ssRight)) {
        step.Vertical = dy * -factor;
        step.Horizontal = dx * factor;
        if (!left) {
            if (std::abs(dy) > std::abs(dx)) {
                step.Horizontal = 0;
            } else {
                step.Vertical = 0;
            }
        }
        if (std::abs(dy) < DeadZonePixels) {
            step.Vertical = 0;
        }
        if (std::abs(dx) < DeadZonePixels) {
            step.Horizontal = 0;
        }
    }
    if (shift.Contains(TShiftState::ssAlt)) {
        step.Roll = dx * factor;
        step.Horizontal = 0;
        step.Vertical = 0;
    }
    return step;
}

void ApplyMouseDrag(TGLBaseSceneObject& pivot, TShiftState shift, const TMouseDragStep& step)
{
    if (shift.Contains(TShiftState::ssLeft)) {
        pivot.Translate(static_cast<float>(-step.Horizontal), static_cast<float>(-step.Vertical),
                        static_cast<float>(step.Roll));
    } else if (shift.Contains(TShiftState::ssRight)) {
        pivot.Pitch(static_cast<float>(-step.Vertical * TurnPerUnit));
        pivot.Turn(static_cast<float>(-step.Horizontal * TurnPerUnit));
        pivot.Roll(static_cast<float>(-step.Roll * TurnPerUnit));
    }
}

void ApplyWheel(TGLBaseSceneObject& pivot, int wheelDelta)
{
    const int step = WheelStep(wheelDelta);
    if (step != 0) {
        pivot.Translate(0, 0, static_cast<float>(-step) * pivot.Scale().Z());
    }
}

TFitPlace ZoomToFitPivot(bool havePaths, float maxX, float minX, float maxY, float minY, float tableWidth,
                         float tableDepth)
{
    if (!havePaths) {
        maxX = tableWidth;
        minX = 0;
        maxY = tableDepth;
        minY = 0;
    }
    // The middle of the extents (half the difference of their magnitudes would centre
    // paths from 10 to 20 on 5).
    const double cx = (double(maxX) + minX) / 2;
    const double cy = (double(maxY) + minY) / 2;
    // The larger side of the extents, a depth taken as the width it fills in the
    // reference view (taken as it is, a square's top and bottom lay outside the view).
    const double size = std::max((double(maxY) - minY) * ReferenceWidth / ReferenceHeight, double(maxX) - minX);
    const double d = 35.0 / 2 * (size / 96) + 35;
    const double z = (1 - size / d) * d + d;
    return {-cx, -cy, z};
}

double FitDepthOfView(double farthest)
{
    return std::max(2 * farthest, double(TPreviewScene::MainDepthOfView));
}

float FitViewScale(double reach)
{
    double scale = 1;
    while (reach * scale > TPreviewScene::MaxViewReach) {
        scale /= 2;
    }
    return static_cast<float>(scale);
}

void ZoomToFit(TPreviewScene& scene, const TMove* move)
{
    float maxX = 0, minX = 0, maxY = 0, minY = 0;
    const bool havePaths = move != nullptr && move->GetExtents(maxX, minX, maxY, minY);
    scene.GLCamera1->Position().SetPoint(0, 0, FitCameraZ);
    scene.DummyCube1->Direction().SetVector(0, 0, 1);
    scene.DummyCube1->Up().SetVector(0, 1, 0);
    const TFitPlace pivot =
        ZoomToFitPivot(havePaths, maxX, minX, maxY, minY, scene.Cube1->CubeWidth(), scene.Cube1->CubeDepth());
    const double lowest = std::min(-double(scene.Cube1->CubeHeight()), havePaths ? double(LowestCutZ(*move)) : 0.0);
    const double distance = FitCameraZ - pivot.Z;
    const double depth = FitDepthOfView(distance - lowest);
    // A path reaching 3E38 needs a distance and a depth beyond single precision, and
    // its coordinates times the projection's factors overflow too: the view shrinks
    // around the camera, where it stays.
    const double extent = havePaths ? std::max({std::abs(maxX), std::abs(minX), std::abs(maxY), std::abs(minY)}) : 0.0;
    const double scale = FitViewScale(std::max(depth, extent));
    scene.SetViewScale(static_cast<float>(scale));
    scene.DummyCube1->Position().SetPoint(static_cast<float>(pivot.X * scale), static_cast<float>(pivot.Y * scale),
                                          static_cast<float>(FitCameraZ - distance * scale));
    scene.GLCamera1->SetDepthOfView(static_cast<float>(depth * scale));
}

float FocalLengthFor(int width, int height)
{
    return std::min(static_cast<float>(height) * 50 / float(ReferenceHeight),
                    static_cast<float>(width) * 50 / float(ReferenceWidth));
}

TGLCamera* FollowBitOn(TPreviewScene& scene, TSceneView& lastView)
{
    TGLDummyCube& pivot = *scene.DummyCube1;
    lastView.Name = "LastView";
    lastView.DummyCubeUp = pivot.Up().AsVector();
    lastView.DummyCubeDir = pivot.Direction().AsVector();
    lastView.DummyCubePos = pivot.Position().AsVector();
    pivot.Up().SetVector(0, 1, 0);
    pivot.Direction().SetVector(0, 0, 1);
    scene.SetBitCentred(true);
    return scene.GLCamera2;
}

TGLCamera* FollowBitOff(TPreviewScene& scene, const TSceneView& lastView)
{
    scene.SetBitCentred(false);
    TGLDummyCube& pivot = *scene.DummyCube1;
    pivot.Up().SetVector(lastView.DummyCubeUp.X, lastView.DummyCubeUp.Y, lastView.DummyCubeUp.Z);
    pivot.Direction().SetVector(lastView.DummyCubeDir.X, lastView.DummyCubeDir.Y, lastView.DummyCubeDir.Z);
    pivot.Position().SetPoint(lastView.DummyCubePos.X, lastView.DummyCubePos.Y, lastView.DummyCubePos.Z);
    return scene.GLCamera1;
}
