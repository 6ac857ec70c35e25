// One QApplication for the whole binary on the offscreen platform (unless a display is
// named), with the start-up calls the editor widget needs: the measuring canvas, the
// platform bitmap and the built-in bookmark glyphs.

#include "editor/painting/CodeBookmarkGlyphs.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallCodeEditInternalImages();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
