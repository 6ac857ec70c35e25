// A lit scene in the viewer control: the demo square turns by the cadencer (ASAP mode
// on the Qt event loop), dragging with the left button moves the camera around it and
// the wheel zooms with the focal length. --quit-after <ms> ends it by itself.

#include "../support/DemoScene.h"

#include "platform/gui/QtEventLoop.h"
#include "scene/graph/Cadencer.h"
#include "scene/viewer/WorldViewer.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TQtEventLoop loop;
    TEventLoopScope loopScope(&loop);

    testsupport::TDemoScene scene;
    QMainWindow window;
    window.setWindowTitle("Kerfpad viewer demo");
    TGLWorldViewer viewer(&window);
    window.setCentralWidget(viewer.Widget());
    viewer.Buffer().SetBackgroundColor(testsupport::DemoBackground);
    viewer.SetCamera(scene.camera);

    int lastX = 0;
    viewer.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int) { lastX = x; };
    viewer.OnMouseMove = [&](TObject*, TShiftState shift, int x, int) {
        if (shift.Contains(TShiftState::ssLeft)) {
            scene.camera->Position().SetX(scene.camera->Position().X() + float(x - lastX) * 0.02f);
            lastX = x;
        }
    };
    viewer.OnMouseWheel = [&](TObject*, TShiftState, int delta, int, int, bool& handled) {
        scene.camera->SetFocalLength(scene.camera->FocalLength() * (delta > 0 ? 1.1f : 1 / 1.1f));
        handled = true;
    };

    TGLCadencer cadencer;
    cadencer.OnProgress = [&](TObject*, double deltaTime, double) { scene.square->Roll(float(deltaTime) * 45); };
    cadencer.SetScene(&scene.world);

    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0) {
            QTimer::singleShot(std::atoi(argv[i + 1]), &app, &QCoreApplication::quit);
        }
    }
    window.resize(480, 360);
    window.show();
    const int result = app.exec();
    cadencer.SetEnabled(false);
    return result;
}
