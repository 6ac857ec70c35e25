#include "app/run/PreviewScene.h"

#include "scene/base/MatrixMath.h"
#include "scene/graph/Camera.h"
#include "scene/graph/LightSource.h"
#include "scene/materials/Material.h"
#include "scene/materials/Texture.h"
#include "scene/materials/TextureImage.h"
#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/objects/lines/XYZGrid.h"

#include "platform/core/Exceptions.h"
#include "platform/core/graphics/Font.h"

#include <algorithm>
#include <functional>

namespace {

template <class T>
T* Child(TGLBaseSceneObject* parent, const char* name)
{
    T* object = TGLBaseSceneObject::CreateAsChild<T>(parent);
    object->SetName(name);
    return object;
}

TGLLightSource* Light(TGLBaseSceneObject* parent, const char* name, float x, float y, float z)
{
    auto* light = Child<TGLLightSource>(parent, name);
    light->Position().SetPoint(x, y, z);
    light->SetSpotCutOff(180);
    return light;
}

void SetDiffuse(TGLBaseSceneObject* object, const TVector& color)
{
    if (auto* custom = dynamic_cast<TGLCustomSceneObject*>(object)) {
        custom->Material().FrontProperties()->Diffuse()->SetColor(color);
    }
}

// An axis arrow or label drawn in its own colour from every side. Lit, a face takes its
// colour only from the light along its normal, and the preview's lights stand above and
// below the table: every face at right angles to the table got none, so the whole Z
// shaft, the sides of the X and Y shafts that a view along the table shows, and the
// sides of the letters' extrusion were near black, and an arrow's outline, lit as the
// side facing the camera, with them.
void ShowOwnColour(TGLCustomSceneObject& object)
{
    object.Material().SetMaterialOptions(MaterialOption(moNoLighting));
}

// A cone of the bit or its marker. Drawn through its absolute matrix and the camera's
// view multiplied in double precision: OpenGL composes the matrices down the tree in
// single precision, the view's first, so a bit at 1E20 with the pivot opposite it (the
// follow-bit view) fell 1E13 away from where the two cancel out. It tells its moves.
class TBitCone : public TGLCone {
public:
    using TGLCone::TGLCone;
    void CoordinateChanged(TGLCoordinates* sender) override
    {
        TGLCone::CoordinateChanged(sender);
        if (OnMoved) {
            OnMoved();
        }
    }
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override
    {
        if (!rci.modelViewMatrix) {
            TGLCone::DoRender(rci, renderSelf, renderChildren);
            return;
        }
        const TMatrix modelView = MultiplyMatrices(AbsoluteMatrixRef(), *rci.modelViewMatrix);
        GL.glPushMatrix();
        GL.glLoadMatrixf(&modelView.V[0].X);
        try {
            TGLCone::DoRender(rci, renderSelf, renderChildren);
        } catch (...) {
            GL.glPopMatrix();
            throw;
        }
        GL.glPopMatrix();
    }
    std::function<void()> OnMoved;
};

// A cone of the bit: 6 by 6 facets, base radius 0.1, one unit high, its apex pointing
// down (local Y is world -Z).
void ShapeBitCone(TGLCone* cone, float sx, float sy, float sz)
{
    cone->SetBottomRadius(0.1f);
    cone->SetHeight(1);
    cone->SetSlices(6);
    cone->SetStacks(6);
    cone->Direction().SetVector(1, 0, 0);
    cone->Up().SetVector(0, 0, -1);
    cone->Scale().SetVector(sx, sy, sz);
}

} // namespace

TPreviewScene::TPreviewScene(const std::string& boardTexture)
{
    GLWorld1.SetName("GLWorld1");
    CollisionManager1.SetName("CollisionManager1");
    GLCadencer1.SetName("GLCadencer1");
    GLCadencer1.SetScene(&GLWorld1);
    GLCadencer1.SetMode(cmManual);
    GLCadencer1.SetEnabled(false);

    TGLBaseSceneObject* root = GLWorld1.ObjectRoot();
    DummyCube1 = Child<TGLDummyCube>(root, "DummyCube1");
    DummyCube1->Position().SetPoint(-48, -24, 20);
    DummyCube1->Direction().SetVector(0, 0, 1);
    DummyCube3 = Child<TGLDummyCube>(DummyCube1, "DummyCube3");
    GLLightSource2 = Light(DummyCube3, "GLLightSource2", 0, 0, -1048);
    GLLightSource2->SpotDirection().SetVector(0, 0, 1);
    BuildAxes();
    BuildTable(boardTexture);
    GLLightSource1 = Light(DummyCube3, "GLLightSource1", 0, 0, 1048);

    XArrow = Child<TGLArrowLine>(DummyCube3, "XArrow");
    YArrow = Child<TGLArrowLine>(DummyCube3, "YArrow");
    ZArrow = Child<TGLArrowLine>(DummyCube3, "ZArrow");
    const struct {
        TGLArrowLine* arrow;
        TAffineVector position;
        TAffineVector direction;
        TVector color;
    } arrows[] = {{XArrow, {4.5f, -1, 0}, {1, 0, 0}, {1, 0, 0, 1}},
                  {YArrow, {-1, 4.5f, 0}, {0, 1, 0}, {0, 1, 0, 1}},
                  {ZArrow, {-1, -1, 5.5f}, {0, 0, 1}, {0, 0, 1, 1}}};
    for (const auto& a : arrows) {
        a.arrow->Scale().SetVector(5, 5, 5);
        a.arrow->SetHeight(2.2f);
        a.arrow->SetBottomRadius(0.01f);
        a.arrow->SetTopRadius(0.01f);
        a.arrow->SetTopArrowHeadHeight(0.2f);
        a.arrow->SetTopArrowHeadRadius(0.05f);
        a.arrow->SetBottomArrowHeadHeight(0.5f);
        a.arrow->SetBottomArrowHeadRadius(0.05f);
        // A shaft 0.1 across is narrower than a pixel in most views: filled alone, it
        // showed or vanished with the view's size.
        a.arrow->SetOutlined(true);
        a.arrow->Position().SetPoint(a.position.X, a.position.Y, a.position.Z);
        a.arrow->Direction().SetVector(a.direction.X, a.direction.Y, a.direction.Z);
        SetDiffuse(a.arrow, a.color);
        ShowOwnColour(*a.arrow);
    }

    DummyClamps = Child<TGLDummyCube>(DummyCube3, "DummyClamps");
    DummyLines = Child<TGLLinesGroup>(DummyCube3, "DummyLines");
    BuildBit();

    GLCamera1 = Child<TGLCamera>(GLWorld1.CameraRoot(), "GLCamera1");
    GLCamera1->Position().SetPoint(0, 0, 75);
    GLCamera1->SetDepthOfView(MainDepthOfView);
    GLCamera1->SetFocalLength(50);
}

TPreviewScene::~TPreviewScene()
{
    GLCadencer1.SetEnabled(false);
    GLCadencer1.SetScene(nullptr);
}

float TPreviewScene::ViewScale() const
{
    return DummyCube1->Scale().X();
}

void TPreviewScene::SetViewScale(float scale)
{
    const double ratio = double(scale) / ViewScale();
    DummyCube1->Scale().SetVector(scale, scale, scale);
    GLCamera1->SetNearPlaneBias(scale);
    GLCamera2->SetNearPlaneBias(scale);
    GLCamera2->SetDepthOfView(FollowDepthOfView * scale);
    const double depth = double(GLCamera1->DepthOfView()) * ratio;
    GLCamera1->SetDepthOfView(float(std::clamp(depth, double(MainDepthOfView) * scale, double(MaxViewReach))));
}

void TPreviewScene::SetBitCentred(bool centred)
{
    FBitCentred = centred;
    CentreOnBit();
}

void TPreviewScene::CentreOnBit()
{
    if (!FBitCentred || FCentring) {
        return;
    }
    FCentring = true;
    // The bit's place with the pivot at the origin, computed as the matrices compute
    // it: the pivot at its opposite then gives the bit 0 exactly.
    TGLCoordinates& pivot = DummyCube1->Position();
    pivot.SetPoint(0, 0, 0);
    const TVector bit = Bit->AbsolutePosition();
    pivot.SetPoint(-bit.X, -bit.Y, -bit.Z);
    FCentring = false;
}

void TPreviewScene::BuildAxes()
{
    SpaceTextz = Child<TGLSpaceText>(DummyCube3, "SpaceTextz");
    SpaceTexty = Child<TGLSpaceText>(DummyCube3, "SpaceTexty");
    SpaceTextx = Child<TGLSpaceText>(DummyCube3, "SpaceTextx");
    TFont font;
    font.SetName("Arial");
    font.SetStyle(TFont::fsBold);
    const struct {
        TGLSpaceText* text;
        const char* caption;
        TVector color;
        TAffineVector position;
    } labels[] = {{SpaceTextz, "Z", {0, 0, 1, 1}, {-1.25f, -1.25f, 13}},
                  {SpaceTexty, "Y", {0, 1, 0, 1}, {-1.25f, 13, 0}},
                  {SpaceTextx, "X", {1, 0, 0, 1}, {13, -1.25f, 0}}};
    for (const auto& l : labels) {
        l.text->SetFont(font);
        l.text->SetText(l.caption);
        l.text->SetExtrusion(0.2f);
        SetDiffuse(l.text, l.color);
        ShowOwnColour(*l.text);
        l.text->Position().SetPoint(l.position.X, l.position.Y, l.position.Z);
    }

    XYZGrid1 = Child<TGLXYZGrid>(DummyCube3, "XYZGrid1");
    XYZGrid1->SetLineWidth(0.1f);
    // The grid lies on the table's top, drawn before the paths: writing depth, it hid
    // every cut below the top whose pixels fell on a grid line's.
    XYZGrid1->SetNoZWrite(true);
    XYZGrid1->XSamplingScale().SetMin(0);
    XYZGrid1->XSamplingScale().SetMax(96);
    XYZGrid1->XSamplingScale().SetStep(4);
    XYZGrid1->YSamplingScale().SetMin(0);
    XYZGrid1->YSamplingScale().SetMax(48);
    XYZGrid1->YSamplingScale().SetStep(4);
    XYZGrid1->ZSamplingScale().SetStep(0.1f);
}

void TPreviewScene::BuildTable(const std::string& boardTexture)
{
    Cube1 = Child<TGLCube>(DummyCube3, "Cube1");
    Cube1->SetCubeWidth(96);
    Cube1->SetCubeHeight(0.75f);
    Cube1->SetCubeDepth(48);
    Cube1->Position().SetPoint(48, 24, -0.375f);
    Cube1->Direction().SetVector(0, 1, 0);
    Cube1->Up().SetVector(0, 0, 1);
    TGLMaterial& material = Cube1->Material();
    material.FrontProperties()->Diffuse()->SetColor({1, 1, 0.435f, 0.5f});
    material.SetBlendingMode(bmTransparency);
    if (boardTexture.empty()) {
        return;
    }
    try {
        TGLTexture* texture = material.Texture();
        texture->Image()->LoadFromFile(boardTexture);
        texture->SetTextureMode(tmModulate);
        texture->SetDisabled(false);
    } catch (const std::exception& error) {
        TextureError = error.what();
        material.Texture()->SetDisabled(true);
    }
}

void TPreviewScene::BuildBit()
{
    DummyCube2 = Child<TGLDummyCube>(DummyCube3, "DummyCube2");
    DummyCube2->Position().SetPoint(0, 0, 1);

    WireframeBit = Child<TBitCone>(DummyCube2, "WireframeBit");
    ShapeBitCone(WireframeBit, 2.2f, 2.05f, 2.2f);
    TGLFaceProperties& wire = *WireframeBit->Material().FrontProperties();
    wire.SetPolygonMode(pmLines);
    const TVector blue{0, 0, 1, 1};
    wire.Ambient()->SetColor(blue);
    wire.Diffuse()->SetColor(blue);
    wire.Emission()->SetColor(blue);

    auto* bit = Child<TBitCone>(DummyCube2, "Bit");
    bit->OnMoved = [this] { CentreOnBit(); };
    Bit = bit;
    ShapeBitCone(Bit, 2, 2, 2);
    Bit->SetHint("The Bit");
    Bit->Material().FrontProperties()->Diffuse()->SetColor({0.8f, 0.8f, 0.8f, 0.5f});
    Bit->Material().SetBlendingMode(bmTransparency);
    auto* collision = CreateXCollectionItem<TGLBCollision>(&Bit->Behaviours());
    collision->BoundingMode = cbmCube;
    collision->SetManager(&CollisionManager1);

    GLCamera2 = Child<TGLCamera>(Bit, "GLCamera2");
    GLCamera2->SetTargetObject(Bit);
    GLCamera2->Position().SetPoint(3, -3, 0);
    GLCamera2->Direction().SetVector(0, 0, 1);
    GLCamera2->Up().SetVector(0, 1, 0);
    GLCamera2->SetDepthOfView(FollowDepthOfView);
    GLCamera2->SetFocalLength(50);
    GLLightSource3 = Light(Bit, "GLLightSource3", 5, 0, -2);
    // The bits move every frame while the paths stand still: frames redraw only them.
    GLWorld1.AddToDynamicLayer(DummyCube2);
}
