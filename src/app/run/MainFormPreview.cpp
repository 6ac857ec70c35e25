// The main window's preview: the bit's animation on each cadencer tick, the collision
// question, the control panel's boxes and buttons, the path styles, the camera's focal
// length and the split between editor and preview. The views and navigation are in
// MainFormViews.cpp.
#include "app/run/BitAnimation.h"
#include "app/shell/DataModule.h"
#include "app/shell/MainForm.h"
#include "app/run/PanelSplit.h"
#include "app/run/PreviewPanel.h"

#include "platform/core/services/DialogService.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/WorldViewer.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>

void TMainForm::ConnectPreview()
{
    Scene->GLCadencer1.OnProgress = [this](TObject*, double deltaTime, double) { GLCadencer1Progress(deltaTime); };
    Scene->CollisionManager1.OnCollision = [this](TObject*, TGLBaseSceneObject* a, TGLBaseSceneObject* b) {
        CollisionManager1Collision(a, b);
    };
    connect(PanelGL->cbSim, &QCheckBox::toggled, this, [this] { cbSimClick(); });
    connect(PanelGL->cbWireframe, &QCheckBox::toggled, this, [this] { cbWireframeClick(); });
    connect(PanelGL->cboJogsVisible, &QCheckBox::clicked, this, [this] { RunGuarded([this] { cboJogsVisibleClick(); }); });
    connect(PanelGL->BitBtn11, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtn11Click(); }); });
    PanelGL->OnResized = [this] { UpdateCameraFocalLength(); };
    if (GLWorldViewer1 != nullptr) {
        // A click gives the viewer the focus (the navigation keys go to it then).
        GLWorldViewer1->OnClick = [this](TObject*) {
            if (!GLWorldViewer1->Widget()->hasFocus()) {
                GLWorldViewer1->Widget()->setFocus();
            }
        };
    }
    connect(PanelGL->ImageRight, &QToolButton::clicked, this, [this] { ImageRightClick(); });
    connect(PanelGL->ImageLeft, &QToolButton::clicked, this, [this] { ImageLeftClick(); });
    ConnectViews();
}

void TMainForm::GLCadencer1Progress(double deltaTime)
{
    if (Paused) {
        UpdateAllActions(true);
        return;
    }
    if (deltaTime == 0 || deltaTime > 0.5) {
        return;
    }
    MoveBitStep(deltaTime);
    ShowBitPosition();
    // Unchecked, the box means what it says: no collision questions.
    if (PanelGL->cbCollision->isEnabled() && PanelGL->cbCollision->isChecked()) {
        Scene->CollisionManager1.CheckCollisions();
    }
}

void TMainForm::ShowBitPosition()
{
    const TGLCoordinates& bit = Scene->Bit->Position();
    FPanels[3]->setText(Tdm::StatusPositionText(bit.X(), bit.Y(), bit.Z()));
}

void TMainForm::SettleBit()
{
    if (!FBitHeld) {
        TAffineVector target;
        Move->GetBitTarget(target);
        Scene->Bit->Position().SetPoint(target.X, target.Y, target.Z);
    }
    Move->Moving = false;
    FBitGliding = false;
    ShowBitPosition();
}

void TMainForm::MarkRunLine()
{
    TAffineVector place;
    if (FBitHeld) {
        place = Scene->Bit->Position().GetAsAffineVector();
    } else {
        Move->GetBitTarget(place);
    }
    Scene->WireframeBit->Position().SetPoint(place.X, place.Y, place.Z);
}

void TMainForm::PlaceMarker(const QString& lineText, const TAffineVector& from)
{
    TArrayofCmds cmds;
    ParseLine(lineText, cmds);
    const TAffineVector p = MarkerPosition(cmds, from);
    Scene->WireframeBit->Position().SetPoint(p.X, p.Y, p.Z);
}

void TMainForm::MoveBitStep(double deltaTime)
{
    TAffineVector position = Scene->Bit->Position().GetAsAffineVector();
    TAffineVector target;
    Move->GetBitTarget(target);
    Move->Moving = ::MoveBitStep(position, target, deltaTime, PanelGL->tbSpeed->value());
    FBitGliding = Move->Moving;
    Scene->Bit->Position().SetPoint(position.X, position.Y, position.Z);
}

void TMainForm::CollisionManager1Collision(TGLBaseSceneObject* object1, TGLBaseSceneObject* object2)
{
    // Pairs tested after a Cancel in the same pass ask nothing more.
    if ((RunOnStack() && !Running) || (object1->Name() != "Bit" && object2->Name() != "Bit")) {
        return;
    }
    const TGLCube* cube = dynamic_cast<TGLCube*>(object1);
    if (!cube) {
        cube = dynamic_cast<TGLCube*>(object2);
    }
    const std::string name = cube ? cube->Hint() : std::string();
    TClampRec* clamp = Move->Clamps().FindByHint(name);
    if (clamp && clamp->WarningSuppressed) {
        return;
    }
    const TModalResult answer = MessageDlg(CollisionQuestion(QString::fromStdString(name)).toStdString(),
                                           TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel);
    if (answer == TModalResult::mrNo) {
        // The box may have gone with its run while the question was open.
        if (TClampRec* again = Move->Clamps().FindByHint(name)) {
            again->WarningSuppressed = true;
        }
    } else if (answer == TModalResult::mrCancel) {
        actStop->Execute();
    }
}

void TMainForm::cbSimClick()
{
    PanelGL->cbCollision->setEnabled(PanelGL->cbSim->isChecked());
}

void TMainForm::cbWireframeClick()
{
    Scene->WireframeBit->SetVisible(PanelGL->cbWireframe->isChecked());
}

void TMainForm::cboJogsVisibleClick()
{
    Move->SetJogsVisible(PanelGL->cboJogsVisible->isChecked());
}

void TMainForm::BitBtn11Click()
{
    // The run's line may be in the middle of adding to the paths (a PAUSE waits inside
    // it): clearing waits until no run is on the stack.
    if (RunOnStack() || Running) {
        return;
    }
    Move->Reset();
}

void TMainForm::SetPathColors(const TVector& moveColor, const TVector& jogColor)
{
    Move->SetPathColors(moveColor, jogColor);
}

void TMainForm::SetPathDashed(bool moveDashed, bool jogDashed)
{
    Move->SetPathDashed(moveDashed, jogDashed);
}

void TMainForm::UpdateCameraFocalLength()
{
    // Without a viewer the note in its place stands for it, so the camera is ready for
    // the size the view would have.
    const QSize view = PanelGL->ViewSize();
    if (view.isEmpty()) {
        return;
    }
    Scene->GLCamera1->SetFocalLength(FocalLengthFor(view.width(), view.height()));
}

namespace {

TPanelWidths SplitterWidths(const QSplitter& splitter)
{
    const QList<int> sizes = splitter.sizes();
    return {sizes.value(0), sizes.value(1)};
}

} // namespace

void TMainForm::ImageRightClick()
{
    const TEditorSettings& settings = dm->EditorOptions.EditorSettings;
    const TPanelWidths w =
        EnlargePreview(SplitterWidths(*MainSplitter), settings.EdMinW, PanelGL->ImageLeft->width());
    MainSplitter->setSizes({w.Side, w.Panel});
}

void TMainForm::ImageLeftClick()
{
    const TEditorSettings& settings = dm->EditorOptions.EditorSettings;
    const TPanelWidths w = EnlargeEditor(SplitterWidths(*MainSplitter), settings.EdMinW, settings.PrevMinW,
                                         PanelGL->ImageLeft->width());
    MainSplitter->setSizes({w.Side, w.Panel});
}
