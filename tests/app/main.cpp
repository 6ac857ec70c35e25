// One QApplication for the whole binary, on the offscreen platform unless the
// environment names another or the run asks for the Gl, Web or X11 suites only (they
// need the X server): the shell's tests create widgets and pixmaps, and Qt allows a single
// application object per process. The start-up calls the editor pages need come first;
// the plug-in window's web view needs shared OpenGL contexts before the application.

#include "app/shell/MainBlock.h"
#include "editor/painting/CodeBookmarkGlyphs.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv)
{
    bool needsDisplay = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        needsDisplay = needsDisplay || argument.starts_with("--gtest_filter=*Gl") ||
                       argument.starts_with("--gtest_filter=*Web") || argument.starts_with("--gtest_filter=*X11");
    }
    if (!needsDisplay) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TKerfpadApplication app(argc, argv);
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallCodeEditInternalImages();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
