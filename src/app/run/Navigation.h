#pragma once
// Moving around the 3D preview: the camera stays in front of the pivot DummyCube1 and
// every navigation moves or turns the pivot, so the whole table moves. The arithmetic
// of the six buttons, mouse dragging, the wheel, zoom to fit, the follow-bit view and
// the focal length, without Qt; the main window feeds it the events.

#include "app/run/SceneViews.h"

#include "platform/core/services/VirtualKeys.h"
#include "scene/base/VectorTypes.h"

class TGLBaseSceneObject;
class TGLCamera;
class TMove;
class TPreviewScene;

// BitBtn1 .. BitBtn6 in order.
enum class TNavButton { Left, Up, Right, Down, Out, In };

// The button's direction (Left (1, 0, 0), Up (0, -1, 0), Right (-1, 0, 0), Down
// (0, 1, 0), Out (0, 0, 1), In (0, 0, -1)) times speed / 100: one step while held.
TAffineVector NavButtonStep(TNavButton button, int speed);
// Turning (pitch by -Y, turn by -X, roll by -Z degrees) or moving by (-X, -Y, -Z) of
// the table's units (times the pivot's scale, which a fit may have set).
void ApplyNavStep(TGLBaseSceneObject& pivot, const TAffineVector& step, bool rotation);

// Pixels to scene units: with the left button (panning) the camera's height above the
// pivot / 60 x 0.13, else 0.13; its magnitude, at least 0.01.
double MouseDragFactor(TShiftState shift, float cameraZ, float pivotZ);

struct TMouseDragStep {
    double Vertical = 0;
    double Horizontal = 0;
    double Roll = 0;
};
// The step of one mouse move from (lastX, lastY) to (x, y): turning (no left button)
// takes only the larger movement, a movement under 2 pixels counts as none, and Alt
// rolls instead.
TMouseDragStep MouseDragStep(TShiftState shift, int lastX, int lastY, int x, int y, double factor);
// Left button: the pivot moves by (-H, -V, R); right button: it pitches by -V x 1.25,
// turns by -H x 1.25 and rolls by -R x 1.25; neither: nothing.
void ApplyMouseDrag(TGLBaseSceneObject& pivot, TShiftState shift, const TMouseDragStep& step);

// Units of the table the pivot moves toward the viewer for a wheel delta (120 a
// notch): the delta divided by 100, toward zero.
constexpr int WheelStep(int wheelDelta)
{
    return wheelDelta / 100;
}
void ApplyWheel(TGLBaseSceneObject& pivot, int wheelDelta);

// A place in the table's units, in double: a fit's distance passes single precision's
// limit for the widest paths.
struct TFitPlace {
    double X = 0;
    double Y = 0;
    double Z = 0;
};
// Where zoom to fit puts the pivot for cut paths spanning the given extents, or for
// the table (width by depth, from the origin) when there are none: centred on the
// middle of the extents, far enough back for the width, or the depth at the aspect of
// the view the focal length is made for (700 x 406), to fill the view.
TFitPlace ZoomToFitPivot(bool havePaths, float maxX, float minX, float maxY, float minY, float tableWidth,
                         float tableDepth);
// How far the main camera must see after a fit whose farthest point (the deepest cut
// or the table's bottom) lies `farthest` units from it, which for a wide fit is beyond
// the 1,000 units the preview starts with: twice that, so that the view can still be
// moved back as far again, and never less than at the start.
double FitDepthOfView(double farthest);
// The view's scale for a fit whose largest value (its depth of view, a path's
// coordinate) is `reach`: 1, or the largest power of two below it that brings `reach`
// within TPreviewScene::MaxViewReach.
float FitViewScale(double reach);
// The camera to (0, 0, 75), the pivot facing it upright at ZoomToFitPivot of the cut
// paths (`move` may be nullptr: the table then), and the camera's depth of view to
// FitDepthOfView of what it shows; the whole view scaled around the camera by
// FitViewScale, so that every value it holds stays finite.
void ZoomToFit(TPreviewScene& scene, const TMove* move);

// The main camera's focal length for a view of that many pixels: the smaller of
// height x 50 / 406 and width x 50 / 700.
float FocalLengthFor(int width, int height);

// The follow-bit view: switched on, the pivot's vectors go into `lastView` (named
// "LastView"), it stands upright facing the camera and follows the bit, which stays
// at the world's origin (TPreviewScene::SetBitCentred); switched off, they come back.
// Both give the camera the viewer is to show.
TGLCamera* FollowBitOn(TPreviewScene& scene, TSceneView& lastView);
TGLCamera* FollowBitOff(TPreviewScene& scene, const TSceneView& lastView);
