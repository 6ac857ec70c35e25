#include "app/run/PreviewPanel.h"

#include "app/run/PreviewScene.h"

#include "platform/core/graphics/ColorValue.h"
#include "platform/gui/FittedScrollArea.h"
#include "platform/gui/FlowLayout.h"
#include "scene/viewer/WorldViewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The viewer's background, the light blue of a clear sky.
constexpr TColor SkyBlue = RGB(0xA6, 0xCA, 0xF0);
constexpr float ViewerFieldOfView = 159.017f;
// On a short screen the controls below scroll before the view gets smaller than this.
constexpr int ViewerLeastHeight = 120;

QToolButton* SplitButton(QWidget* parent, const char* name, const char* hint, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QLatin1String(hint));
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    return button;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption, bool checked)
{
    auto* box = new QCheckBox(QLatin1String(caption), parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

} // namespace

TPreviewPanel::TPreviewPanel(TPreviewScene& scene, bool withViewer, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelGL"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* bar = new QHBoxLayout;
    ImageLeft = SplitButton(this, "ImageLeft", "Enlarge Editor", Qt::RightArrow);
    ImageRight = SplitButton(this, "ImageRight", "Enlarge Preview", Qt::LeftArrow);
    bar->addWidget(ImageRight);
    bar->addStretch(1);
    bar->addWidget(ImageLeft);
    layout->addLayout(bar);
    // As narrow as Enlarge Editor folds it: the user's choice, the controls below clipped
    // meanwhile. A width read from the settings starts at LeastWidth.
    setMinimumWidth(ImageLeft->sizeHint().width());

    NoViewerNote = new QLabel(this);
    NoViewerNote->setMinimumHeight(ViewerLeastHeight);
    NoViewerNote->setObjectName(QStringLiteral("NoViewerNote"));
    NoViewerNote->setAlignment(Qt::AlignCenter);
    NoViewerNote->setWordWrap(true);
    layout->addWidget(NoViewerNote, 1);
    if (withViewer) {
        CreateViewer(scene);
    } else {
        NoViewerNote->setText(QStringLiteral("The 3D preview is switched off."));
    }
    if (GLWorldViewer1) {
        NoViewerNote->hide();
        layout->insertWidget(1, GLWorldViewer1->Widget(), 1);
        GLWorldViewer1->Widget()->installEventFilter(this);
    } else {
        NoViewerNote->installEventFilter(this);
    }
    CreateControlPanel();
    layout->addWidget(ControlScroller);
}

TPreviewPanel::~TPreviewPanel()
{
    delete GLWorldViewer1;
}

bool TPreviewPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && OnResized) {
        OnResized();
    }
    return QWidget::eventFilter(watched, event);
}

void TPreviewPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResized) {
        OnResized();
    }
}

QSize TPreviewPanel::ViewSize() const
{
    if (GLWorldViewer1 != nullptr) {
        return {GLWorldViewer1->Width(), GLWorldViewer1->Height()};
    }
    return NoViewerNote->size();
}

int TPreviewPanel::LeastWidth() const
{
    // The layout's minimum, not the widget's: that one is the fold.
    return minimumSizeHint().width();
}

void TPreviewPanel::CreateViewer(TPreviewScene& scene)
{
    auto viewer = std::make_unique<TGLWorldViewer>(this);
    if (!viewer->OpenGLAvailable()) {
        NoViewerNote->setText(QStringLiteral("OpenGL could not be loaded: the 3D preview cannot be shown. "
                                             "Programs still run; their paths are kept."));
        return;
    }
    GLWorldViewer1 = viewer.release();
    GLWorldViewer1->Widget()->setObjectName(QStringLiteral("GLWorldViewer1"));
    GLWorldViewer1->Widget()->setMinimumSize(50, ViewerLeastHeight);
    GLWorldViewer1->Buffer().SetBackgroundColor(SkyBlue);
    GLWorldViewer1->SetCamera(scene.GLCamera1);
    GLWorldViewer1->SetFieldOfView(ViewerFieldOfView);
}

void TPreviewPanel::CreateControlPanel()
{
    // Rows that wrap on a narrow panel, in a scroll area on a short one: every control
    // stays in reach on a small screen, and the editor beside keeps its room.
    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* rows = new QVBoxLayout(Panel1);
    rows->setContentsMargins(4, 2, 4, 2);

    auto* speed = new QHBoxLayout;
    auto* speedLabel = new QLabel(QStringLiteral("Simulation Speed"), Panel1);
    tbSpeed = new QSlider(Qt::Horizontal, Panel1);
    tbSpeed->setObjectName(QStringLiteral("tbSpeed"));
    tbSpeed->setRange(0, 200);
    tbSpeed->setValue(50);
    tbSpeed->setTickInterval(10);
    tbSpeed->setTickPosition(QSlider::TicksBelow);
    tbSpeed->setToolTip(QStringLiteral("Simulation Speed"));
    speed->addWidget(speedLabel);
    speed->addWidget(tbSpeed, 1);
    rows->addLayout(speed);

    auto* boxes = new TFlowLayout;
    cbSim = CheckBox(Panel1, "cbSim", "Simulate", true);
    cboJogsVisible = CheckBox(Panel1, "cboJogsVisible", "Show Jogs", true);
    cbFollowBit = CheckBox(Panel1, "cbFollowBit", "Follow Bit View", false);
    cbWireframe = CheckBox(Panel1, "cbWireframe", "Show Wireframe Bit", true);
    cbCollision = CheckBox(Panel1, "cbCollision", "Collision Check", false);
    cbCollision->setEnabled(cbSim->isChecked());
    for (QWidget* box : {cbSim, cboJogsVisible, cbFollowBit, cbWireframe, cbCollision}) {
        boxes->addWidget(box);
    }
    rows->addLayout(boxes);

    auto* buttons = new QHBoxLayout;
    ButtonZoomExt = new QToolButton(Panel1);
    ButtonZoomExt->setObjectName(QStringLiteral("ButtonZoomExt"));
    ButtonZoomExt->setText(QStringLiteral("Zoom"));
    ButtonZoomExt->setToolTip(QStringLiteral("Zoom to Fit"));
    BitBtn11 = new QPushButton(QStringLiteral("Clear"), Panel1);
    BitBtn11->setObjectName(QStringLiteral("BitBtn11"));
    BitBtn11->setToolTip(QStringLiteral("Remove the paths and the zero offsets"));
    BitBtn7 = new QPushButton(QStringLiteral("Print"), Panel1);
    BitBtn7->setObjectName(QStringLiteral("BitBtn7"));
    BitBtn7->setToolTip(QStringLiteral("Print the 3D view"));
    buttons->addWidget(ButtonZoomExt);
    buttons->addWidget(BitBtn11);
    buttons->addWidget(BitBtn7);
    buttons->addStretch(1);
    rows->addLayout(buttons);

    auto* groups = new TFlowLayout;
    groups->addWidget(CreateViewsGroup());
    groups->addWidget(CreateNavigationGroup());
    rows->addLayout(groups);
    ControlScroller = new TFittedScrollArea(Panel1, this);
    ControlScroller->setObjectName(QStringLiteral("ControlScroller"));
}

QWidget* TPreviewPanel::CreateViewsGroup()
{
    GroupBoxViews = new QGroupBox(QStringLiteral("Views"), Panel1);
    GroupBoxViews->setObjectName(QStringLiteral("GroupBoxViews"));
    // Takes what its row has over: the list of views widens.
    GroupBoxViews->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(GroupBoxViews);
    cboView = new QComboBox(GroupBoxViews);
    cboView->setObjectName(QStringLiteral("cboView"));
    // As wide as its row gives it, whatever the names: sized to a long one, it pushed
    // Save and Delete off the window at every start.
    cboView->setMinimumContentsLength(12);
    cboView->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    layout->addWidget(cboView);
    auto* row = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QLatin1String(caption), GroupBoxViews);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QLatin1String(hint));
        row->addWidget(b);
        return b;
    };
    BitBtn9 = button("BitBtn9", "New", "Keep the current view under a new name");
    BitBtn8 = button("BitBtn8", "Save", "Overwrite the chosen view with the current view");
    BitBtn10 = button("BitBtn10", "Delete", "Delete the chosen view");
    layout->addLayout(row);
    layout->addStretch(1);
    return GroupBoxViews;
}

QWidget* TPreviewPanel::CreateNavigationGroup()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Navigation"), Panel1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(GroupBox1);
    layout->setSpacing(2);
    cbPosition = new QRadioButton(QStringLiteral("Position"), GroupBox1);
    cbPosition->setObjectName(QStringLiteral("cbPosition"));
    cbPosition->setChecked(true);
    cbRotation = new QRadioButton(QStringLiteral("Rotation"), GroupBox1);
    cbRotation->setObjectName(QStringLiteral("cbRotation"));
    auto* speedLabel = new QLabel(QStringLiteral("Speed"), GroupBox1);
    UpDownSpeed = new QSpinBox(GroupBox1);
    UpDownSpeed->setObjectName(QStringLiteral("UpDownSpeed"));
    UpDownSpeed->setRange(1, 500);
    UpDownSpeed->setValue(25);
    UpDownSpeed->setToolTip(QStringLiteral("Navigation speed in percent"));
    speedLabel->setBuddy(UpDownSpeed);
    layout->addWidget(cbPosition, 0, 0, 1, 2);
    layout->addWidget(cbRotation, 1, 0, 1, 2);
    layout->addWidget(speedLabel, 2, 0);
    layout->addWidget(UpDownSpeed, 2, 1);

    // Left, Up, Right, Down as a cross of arrows; Out and In beside it.
    const struct {
        const char* name;
        const char* hint;
        Qt::ArrowType arrow;
        int row, column;
    } specs[] = {{"BitBtn1", "Left", Qt::LeftArrow, 1, 2},  {"BitBtn2", "Up", Qt::UpArrow, 0, 3},
                 {"BitBtn3", "Right", Qt::RightArrow, 1, 4}, {"BitBtn4", "Down", Qt::DownArrow, 2, 3},
                 {"BitBtn5", "Out", Qt::NoArrow, 0, 5},      {"BitBtn6", "In", Qt::NoArrow, 2, 5}};
    for (std::size_t i = 0; i < NavButtons.size(); ++i) {
        auto* b = new QToolButton(GroupBox1);
        b->setObjectName(QLatin1String(specs[i].name));
        b->setToolTip(QLatin1String(specs[i].hint));
        if (specs[i].arrow == Qt::NoArrow) {
            b->setText(QLatin1String(specs[i].hint));
        } else {
            b->setArrowType(specs[i].arrow);
        }
        layout->addWidget(b, specs[i].row, specs[i].column);
        NavButtons[i] = b;
    }
    NavRepeat = new QTimer(this);
    NavRepeat->setObjectName(QStringLiteral("NavRepeat"));
    NavRepeat->setInterval(NavRepeatMs);
    return GroupBox1;
}
