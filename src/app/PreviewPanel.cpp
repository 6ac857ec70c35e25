#include "app/PreviewPanel.h"

#include "app/PreviewScene.h"

#include "platform/core/ColorValue.h"
#include "scene/viewer/WorldViewer.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The viewer's background, the light blue of a clear sky.
constexpr TColor SkyBlue = RGB(0xA6, 0xCA, 0xF0);
constexpr float ViewerFieldOfView = 159.017f;

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

    NoViewerNote = new QLabel(this);
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
    }
    CreateControlPanel();
    layout->addWidget(Panel1);
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
    GLWorldViewer1->Widget()->setMinimumSize(50, 50);
    GLWorldViewer1->Buffer().SetBackgroundColor(SkyBlue);
    GLWorldViewer1->SetCamera(scene.GLCamera1);
    GLWorldViewer1->SetFieldOfView(ViewerFieldOfView);
}

void TPreviewPanel::CreateControlPanel()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(4, 2, 4, 2);

    auto* speedLabel = new QLabel(QStringLiteral("Simulation Speed"), Panel1);
    tbSpeed = new QSlider(Qt::Horizontal, Panel1);
    tbSpeed->setObjectName(QStringLiteral("tbSpeed"));
    tbSpeed->setRange(0, 200);
    tbSpeed->setValue(50);
    tbSpeed->setTickInterval(10);
    tbSpeed->setTickPosition(QSlider::TicksBelow);
    tbSpeed->setToolTip(QStringLiteral("Simulation Speed"));
    grid->addWidget(speedLabel, 0, 0);
    grid->addWidget(tbSpeed, 0, 1, 1, 3);

    cbSim = CheckBox(Panel1, "cbSim", "Simulate", true);
    cboJogsVisible = CheckBox(Panel1, "cboJogsVisible", "Show Jogs", true);
    cbWireframe = CheckBox(Panel1, "cbWireframe", "Show Wireframe Bit", true);
    cbCollision = CheckBox(Panel1, "cbCollision", "Collision Check", false);
    cbCollision->setEnabled(cbSim->isChecked());
    grid->addWidget(cbSim, 1, 0);
    grid->addWidget(cboJogsVisible, 1, 1);
    grid->addWidget(cbWireframe, 1, 2);
    grid->addWidget(cbCollision, 1, 3);

    BitBtn11 = new QPushButton(QStringLiteral("Clear"), Panel1);
    BitBtn11->setObjectName(QStringLiteral("BitBtn11"));
    BitBtn11->setToolTip(QStringLiteral("Remove the paths and the zero offsets"));
    grid->addWidget(BitBtn11, 2, 0);
    grid->setColumnStretch(3, 1);
}
