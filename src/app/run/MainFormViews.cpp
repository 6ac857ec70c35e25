// The main window's named views and navigation: the Views group, the six navigation
// buttons, dragging in the viewer, the wheel over the whole window, zoom to fit, the
// follow-bit view, printing the 3D view and the preview options.
#include "app/shell/DataModule.h"
#include "app/shell/MainForm.h"
#include "app/settings/MainSettingsFile.h"
#include "app/settings/PreviewOptionsForm.h"
#include "app/run/MainFormEvents.h"
#include "app/run/PanelSplit.h"
#include "app/run/PreviewPanel.h"
#include "app/run/SceneSnapshotPrint.h"
#include "app/run/SceneViews.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/text/StringUtils.h"
#include "platform/gui/QtModalForm.h"
#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/WorldViewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace {

const QString Debug = QStringLiteral("debug");


} // namespace

TPreviewTargets TMainForm::PreviewTargets(bool withViewer)
{
    TGLWorldBuffer* viewer = withViewer && GLWorldViewer1 != nullptr ? &GLWorldViewer1->Buffer() : nullptr;
    return {Scene.get(), viewer, Move.get(), [this](const std::string& note) { NoteGrid(note); }};
}

void TMainForm::NoteGrid(const std::string& note)
{
    if (note == FGridNote) {
        return;
    }
    if (!note.empty()) {
        dm->Log(QStringLiteral("info"), QString::fromStdString(note));
    }
    FGridNote = note;
}

void TMainForm::CreateViewActions()
{
    actPreviewOptions = actlStandard.Add("actPreviewOptions", "Preview Options", {}, QKeySequence(Qt::Key_F7), 43);
    actPreviewOptions->OnExecute = [this](TAction&) { actPreviewOptionsExecute(); };
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(actPreviewOptions);
}

void TMainForm::ConnectViews()
{
    TPreviewPanel& p = *PanelGL;
    const auto guarded = [this](void (TMainForm::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    // Only the user's choice applies a view: selecting an item in code (start-up,
    // New, Delete) does not.
    connect(p.cboView, &QComboBox::activated, this, guarded(&TMainForm::cboViewChange));
    connect(p.BitBtn9, &QPushButton::clicked, this, guarded(&TMainForm::BitBtn9Click));
    connect(p.BitBtn8, &QPushButton::clicked, this, guarded(&TMainForm::BitBtn8Click));
    connect(p.BitBtn10, &QPushButton::clicked, this, guarded(&TMainForm::BitBtn10Click));
    for (std::size_t i = 0; i < p.NavButtons.size(); ++i) {
        const auto button = static_cast<TNavButton>(i);
        connect(p.NavButtons[i], &QToolButton::pressed, this, [this, button] {
            RunGuarded([this, button] { NavButtonDown(button); });
        });
        connect(p.NavButtons[i], &QToolButton::released, this, [this] { NavButtonUp(); });
    }
    connect(p.NavRepeat, &QTimer::timeout, this, [this] {
        if (!NavButtonHeld) {
            PanelGL->NavRepeat->stop();
            return;
        }
        ApplyNavStep(*Scene->DummyCube1, FNavStep, PanelGL->cbRotation->isChecked());
    });
    connect(p.ButtonZoomExt, &QToolButton::clicked, this, guarded(&TMainForm::ButtonZoomExtClick));
    connect(p.cbFollowBit, &QCheckBox::toggled, this, guarded(&TMainForm::cbFollowBitClick));
    connect(p.BitBtn7, &QPushButton::clicked, this, guarded(&TMainForm::BitBtn7Click));
    // Without a viewer there is no picture to print.
    p.BitBtn7->setEnabled(GLWorldViewer1 != nullptr);

    if (GLWorldViewer1 != nullptr) {
        GLWorldViewer1->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
            GLWorldViewer1MouseDown(button, shift, x, y);
        };
        GLWorldViewer1->OnMouseMove = [this](TObject*, TShiftState shift, int x, int y) {
            GLWorldViewer1MouseMove(shift, x, y);
        };
        GLWorldViewer1->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            // A right click that did not turn the view opens the context menu.
            if (button == mbRight && FRightClickPending) {
                FRightClickPending = false;
                PopupMenu1->popup(GLWorldViewer1->Widget()->mapToGlobal(QPoint(x, y)));
            }
        };
        GLWorldViewer1->OnMouseWheel = [this](TObject*, TShiftState, int delta, int, int, bool& handled) {
            FormMouseWheel(delta);
            handled = true;
        };
    }
    qApp->installEventFilter(new TMainFormEvents(*this));
}

void TMainForm::StartViews()
{
    if (PanelGL->cboView->count() > 0) {
        PanelGL->cboView->setCurrentIndex(0);
        cboViewChange();
    }
    dm->Log(Debug, QStringLiteral("TFPreviewOptions.Create"));
    TFPreviewOptions options(PreviewTargets(), this);
    options.LoadAndApply();
}

void TMainForm::FormShow()
{
    if (FLaidOut) {
        return;
    }
    FLaidOut = true;
    const QList<int> sizes = MainSplitter->sizes();
    // The least widths come before the stored width: the preview shows its bar and its
    // controls whole, and the editor, with its page tabs, keeps its own least width.
    const TPanelWidths w = FitPanel(sizes.value(0) + sizes.value(1), FWantedPanelGLWidth, PanelGL->LeastWidth(),
                                    EditorSplitter->minimumSizeHint().width());
    if (w != TPanelWidths{sizes.value(0), sizes.value(1)}) {
        MainSplitter->setSizes({w.Side, w.Panel});
    }
}

void TMainForm::ReadGLSettings()
{
    dm->Log(Debug, QStringLiteral("ReadGLSettings"));
    Views = ReadSceneViews(OpenMainSettings(), [](const std::string& tag, const std::string& text) {
        dm->Log(QString::fromStdString(tag), QString::fromStdString(text));
    });
    QComboBox& combo = *PanelGL->cboView;
    combo.clear();
    for (const TSceneView& view : Views) {
        combo.addItem(QString::fromStdString(ListedViewName(view.Name)));
    }
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
}

void TMainForm::WriteGLSettings()
{
    dm->Log(Debug, QStringLiteral("WriteGLSettings"));
    UpdateMainSettings([this](TIniFile& ini) { WriteSceneViews(ini, Views); });
}

void TMainForm::cboViewChange()
{
    const int i = PanelGL->cboView->currentIndex();
    if (i < 0 || i >= static_cast<int>(Views.size())) {
        return;
    }
    ApplyView(*Scene, Views[static_cast<std::size_t>(i)]);
}

void TMainForm::BitBtn9Click()
{
    std::string answer;
    InputQuery("Enter a Name", "View Name:", answer);
    const std::string name = Trim(answer);
    if (name.empty()) {
        ShowErrorBox("Invalid Name.");
        return;
    }
    QComboBox& combo = *PanelGL->cboView;
    combo.addItem(QString::fromStdString(ListedViewName(name)));
    combo.setCurrentIndex(combo.count() - 1);
    Views.resize(static_cast<std::size_t>(combo.count()));
    Views[static_cast<std::size_t>(combo.currentIndex())] = CaptureView(*Scene, name);
    WriteGLSettings();
}

void TMainForm::BitBtn8Click()
{
    QComboBox& combo = *PanelGL->cboView;
    const int i = combo.currentIndex();
    if (i < 0 || i >= static_cast<int>(Views.size())) {
        return;
    }
    const std::string text = "Overwrite view \"" + combo.itemText(i).toStdString() + "\" with current view?";
    if (MessageDlg(text, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    Views[static_cast<std::size_t>(i)] = CaptureView(*Scene, Views[static_cast<std::size_t>(i)].Name);
    WriteGLSettings();
}

void TMainForm::BitBtn10Click()
{
    QComboBox& combo = *PanelGL->cboView;
    const int i = combo.currentIndex();
    if (i < 0 || i >= static_cast<int>(Views.size())) {
        return;
    }
    const std::string text = "Are you sure you want to delete the view \"" + combo.itemText(i).toStdString() + "\"?";
    if (MessageDlg(text, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    combo.removeItem(i);
    Views.erase(Views.begin() + i);
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
    WriteGLSettings();
}

void TMainForm::NavButtonDown(TNavButton button)
{
    FNavStep = NavButtonStep(button, PanelGL->UpDownSpeed->value());
    NavButtonHeld = true;
    ApplyNavStep(*Scene->DummyCube1, FNavStep, PanelGL->cbRotation->isChecked());
    PanelGL->NavRepeat->start();
}

void TMainForm::NavButtonUp()
{
    NavButtonHeld = false;
    PanelGL->NavRepeat->stop();
}

void TMainForm::GLWorldViewer1MouseDown(TMouseButton button, TShiftState, int x, int y)
{
    LastMouseX = x;
    LastMouseY = y;
    FRightClickPending = button == mbRight;
}

void TMainForm::GLWorldViewer1MouseMove(TShiftState shift, int x, int y)
{
    const double f = MouseDragFactor(shift, Scene->GLCamera1->Position().Z(), Scene->DummyCube1->Position().Z());
    const TMouseDragStep step = MouseDragStep(shift, LastMouseX, LastMouseY, x, y, f);
    LastMouseX = x;
    LastMouseY = y;
    if (step.Vertical != 0 || step.Horizontal != 0 || step.Roll != 0) {
        FRightClickPending = false;
    }
    ApplyMouseDrag(*Scene->DummyCube1, shift, step);
}

void TMainForm::FormMouseWheel(int wheelDelta)
{
    ApplyWheel(*Scene->DummyCube1, wheelDelta);
}

void TMainForm::ButtonZoomExtClick()
{
    ZoomToFit(*Scene, Move.get());
}

void TMainForm::cbFollowBitClick()
{
    const bool follow = PanelGL->cbFollowBit->isChecked();
    TGLCamera* camera = follow ? FollowBitOn(*Scene, LastView) : FollowBitOff(*Scene, LastView);
    if (GLWorldViewer1 != nullptr) {
        GLWorldViewer1->SetCamera(camera);
    }
    PanelGL->GroupBox1->setEnabled(!follow);
    PanelGL->ButtonZoomExt->setEnabled(!follow);
}

void TMainForm::BitBtn7Click()
{
    if (GLWorldViewer1 == nullptr) {
        return;
    }
    const TWaitCursor wait;
    PrintSceneSnapshot(GLWorldViewer1->Buffer(), dm->Printer(), 1.0);
}

void TMainForm::actPreviewOptionsExecute()
{
    TFPreviewOptions dialog(PreviewTargets(), this);
    ShowModalDialog(dialog, TFPreviewOptions::FormName());
}
