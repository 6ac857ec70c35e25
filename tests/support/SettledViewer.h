#pragma once
// Waits until a 3D viewer's picture can be taken: its window settled (SettledWindow.h),
// the viewer's native window and its buffer at the size its widget has, and a frame drawn
// at that size since, with nothing moved in between. The picture then shows the scene as
// it now is, at the size it keeps (a window whose layout had not settled gave the preview
// 600 x 403 before a run and 600 x 463 after it).

#include "SettledWindow.h"

#include "scene/viewer/WorldViewer.h"

#include <QWidget>
#include <QWindow>

#include <cmath>

namespace testsupport {

inline ::testing::AssertionResult WaitForSettledViewer(TGLWorldViewer& viewer, int timeoutMs = StateTimeoutMs)
{
    QWidget& widget = *viewer.Widget();
    const auto sized = [&] {
        const qreal ratio = viewer.Window()->devicePixelRatio();
        const int width = int(std::lround(widget.width() * ratio));
        const int height = int(std::lround(widget.height() * ratio));
        return widget.isVisible() && viewer.Window()->isExposed() && viewer.Width() == width &&
               viewer.Height() == height && viewer.Buffer().Width() == width && viewer.Buffer().Height() == height;
    };
    // The paint count when a frame was asked at the settled size; -1 until then, and again
    // whenever a pass moved something.
    int askedAt = -1;
    QElapsedTimer clock;
    clock.start();
    while (true) {
        if (!QuietPass(*widget.window(), timeoutMs) || !sized()) {
            askedAt = -1;
        } else if (askedAt < 0) {
            askedAt = viewer.PaintCount();
            viewer.Invalidate();
        } else if (viewer.PaintCount() > askedAt) {
            return ::testing::AssertionSuccess();
        }
        if (clock.elapsed() > timeoutMs) {
            return ::testing::AssertionFailure()
                   << "the viewer did not settle in " << timeoutMs << " ms: widget " << widget.width() << " x "
                   << widget.height() << ", window " << viewer.Width() << " x " << viewer.Height() << ", buffer "
                   << viewer.Buffer().Width() << " x " << viewer.Buffer().Height()
                   << (viewer.Window()->isExposed() ? "" : ", not exposed") << ", frames " << viewer.PaintCount();
        }
    }
}

} // namespace testsupport
