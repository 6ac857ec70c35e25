#pragma once
// The right side of the main window: the bar with the two split buttons, the 3D viewer
// over the preview scene and the control panel below it. Without OpenGL (or when the
// window is made without a viewer, as in tests) a note takes the viewer's place and
// everything else works: runs, paths and their text do not need the picture.
//
// The panel only lays the controls out; the main window connects their handlers.

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;
class TGLWorldViewer;
class TPreviewScene;

class TPreviewPanel : public QWidget {
public:
    TPreviewPanel(TPreviewScene& scene, bool withViewer, QWidget* parent = nullptr);
    ~TPreviewPanel() override;

    // nullptr when there is no viewer.
    TGLWorldViewer* GLWorldViewer1 = nullptr;
    // Says why there is no picture; hidden while the viewer shows.
    QLabel* NoViewerNote;

    QToolButton* ImageLeft;
    QToolButton* ImageRight;

    QWidget* Panel1;
    QSlider* tbSpeed;
    QCheckBox* cbSim;
    QCheckBox* cboJogsVisible;
    QCheckBox* cbWireframe;
    QCheckBox* cbCollision;
    QPushButton* BitBtn11;

    // After every change of the panel's size (the camera's focal length follows it).
    std::function<void()> OnResized;

protected:
    // The viewer's resizes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateViewer(TPreviewScene& scene);
    void CreateControlPanel();
};
