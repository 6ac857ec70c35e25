// One QApplication for the whole binary, on the offscreen platform unless the
// environment names another: the shell's tests create widgets and pixmaps, and Qt
// allows a single application object per process. The start-up calls the editor pages
// need come first.

#include "editor/CodeBookmarkGlyphs.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallCodeEditInternalImages();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
