#pragma once
// The right side of the main window: the bar with the two split buttons, the 3D viewer
// over the preview scene and the control panel below it. Without OpenGL (or when the
// window is made without a viewer, as in tests) a note takes the viewer's place and
// everything else works: runs, paths and their text do not need the picture.
//
// The panel only lays the controls out; the main window connects their handlers.

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTimer;
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

    // The controls below the viewer, in a scroll area that scrolls only when the window
    // is too short for them.
    QWidget* Panel1;
    QScrollArea* ControlScroller;
    QSlider* tbSpeed;
    QCheckBox* cbSim;
    QCheckBox* cboJogsVisible;
    QCheckBox* cbWireframe;
    QCheckBox* cbCollision;
    QCheckBox* cbFollowBit;
    QPushButton* BitBtn11;
    // Zoom to Fit and Print.
    QToolButton* ButtonZoomExt;
    QPushButton* BitBtn7;

    // The named views: the list, New, Save, Delete.
    QGroupBox* GroupBoxViews;
    QComboBox* cboView;
    QPushButton* BitBtn9;
    QPushButton* BitBtn8;
    QPushButton* BitBtn10;

    // Navigation: what the buttons move, their speed in percent, and Left, Up, Right,
    // Down, Out, In (BitBtn1 .. BitBtn6).
    QGroupBox* GroupBox1;
    QRadioButton* cbPosition;
    QRadioButton* cbRotation;
    QSpinBox* UpDownSpeed;
    std::array<QToolButton*, 6> NavButtons{};
    // Steps a held navigation button.
    QTimer* NavRepeat;
    static constexpr int NavRepeatMs = 15;

    // The size of the 3D view (of the note in its place when there is no viewer).
    QSize ViewSize() const;
    // The narrowest the panel shows its button bar and its controls whole, as its layout
    // measures them: no width read from the settings goes below it, while Enlarge Editor
    // may still fold the panel down to the bar (its minimum width).
    int LeastWidth() const;

    // After every change of the panel's or the viewer's size (the camera's focal length
    // follows it).
    std::function<void()> OnResized;

protected:
    // The viewer's resizes.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateViewer(TPreviewScene& scene);
    void CreateControlPanel();
    QWidget* CreateViewsGroup();
    QWidget* CreateNavigationGroup();
};
