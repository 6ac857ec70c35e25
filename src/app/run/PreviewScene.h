#pragma once
// The 3D preview's scene, built in code: a pivot (DummyCube1) that views and navigation
// move, holding the table with its grid, axis arrows and labels, the parents of the
// clamp boxes and tool paths, and the two bit cones; the main and follow-bit cameras,
// the collision manager and the manually stepped cadencer. No window: the viewer that
// shows it belongs to the preview panel, so the scene also lives where OpenGL does not.
//
// Objects are owned by the scene tree; the pointers stay valid while the scene lives.

#include "scene/graph/Cadencer.h"
#include "scene/graph/World.h"
#include "scene/objects/collision/Collision.h"

#include <string>

class TGLArrowLine;
class TGLCamera;
class TGLCone;
class TGLCube;
class TGLDummyCube;
class TGLLightSource;
class TGLLinesGroup;
class TGLSpaceText;
class TGLXYZGrid;

class TPreviewScene {
public:
    // `boardTexture`: the JPEG of the table's top; a missing or unreadable picture
    // leaves the table plain and is told through `textureError`.
    explicit TPreviewScene(const std::string& boardTexture = {});
    ~TPreviewScene();
    TPreviewScene(const TPreviewScene&) = delete;
    TPreviewScene& operator=(const TPreviewScene&) = delete;

    // How far GLCamera1 sees: what the preview starts with, and what zoom to fit keeps
    // at least.
    static constexpr float MainDepthOfView = 1000;
    // How far GLCamera2, riding on the bit, sees at scale 1.
    static constexpr float FollowDepthOfView = 10000;
    // The largest value the main view may hold (a distance, its depth of view, a path's
    // coordinate): far enough below single precision's limit that what the projection
    // multiplies and adds stays finite. A fit that reaches further scales the view.
    static constexpr float MaxViewReach = 0x1p120f;

    // The view's scale: the pivot's (uniform) scale, with both cameras' near planes
    // and depths of view scaled alike, so that each camera sees the scene as at scale
    // 1 (exactly, for a power of two). GLCamera1 keeps how far it sees in the table's
    // units, at least MainDepthOfView of them and at most MaxViewReach.
    float ViewScale() const;
    void SetViewScale(float scale);

    // While the bit is centred (the follow-bit view), the pivot moves with every move of
    // the bit so that the bit stands exactly at the world's origin, whatever its place
    // on the table: drawn through matrices of single precision, a bit at 1E20 and the
    // camera riding on it fell onto the same point, and the view showed only the sky.
    // Centring moves the whole table, the camera on the bit with it, so the picture is
    // the same.
    bool BitCentred() const { return FBitCentred; }
    void SetBitCentred(bool centred);

    TGLWorld GLWorld1;
    TCollisionManager CollisionManager1;
    TGLCadencer GLCadencer1;

    TGLDummyCube* DummyCube1;
    TGLDummyCube* DummyCube3;
    TGLLightSource* GLLightSource2;
    TGLSpaceText* SpaceTextz;
    TGLSpaceText* SpaceTexty;
    TGLSpaceText* SpaceTextx;
    TGLXYZGrid* XYZGrid1;
    TGLCube* Cube1;
    TGLLightSource* GLLightSource1;
    TGLArrowLine* XArrow;
    TGLArrowLine* YArrow;
    TGLArrowLine* ZArrow;
    TGLDummyCube* DummyClamps;
    TGLLinesGroup* DummyLines;
    TGLDummyCube* DummyCube2;
    TGLCone* WireframeBit;
    TGLCone* Bit;
    TGLCamera* GLCamera2;
    TGLLightSource* GLLightSource3;
    TGLCamera* GLCamera1;

    // Empty when the board's picture loaded (or none was asked for).
    std::string TextureError;

private:
    void CentreOnBit();
    void BuildTable(const std::string& boardTexture);
    void BuildAxes();
    void BuildBit();

    bool FBitCentred = false;
    bool FCentring = false;
};
