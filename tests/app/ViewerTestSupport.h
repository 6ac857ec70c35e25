#pragma once
// The fixture of the shell's tests with real OpenGL under the X server: the main window
// with its 3D viewer, 1000 x 700 with a preview 600 wide, shown, settled and painted at
// its final size (SettledViewer.h); its runs do not sleep between frames. Skips without
// the xcb platform or without OpenGL.

#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "scene/viewer/WorldViewer.h"

#include "ShellTestSupport.h"
#include "../support/SettledViewer.h"

#include <QGuiApplication>

#include <memory>

class TViewerShellTest : public TShellTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        RegisterKerfpadClasses();
        // Without a settings file the preview would be 50 pixels wide.
        WriteSettings("[Main]\nPanelGLWidth=600\n");
        TMainFormOptions options;
        options.WithViewer = true;
        Window = std::make_unique<TMainForm>(options);
        if (!Window->GLWorldViewer1) {
            GTEST_SKIP() << "no OpenGL";
        }
        Window->WaitFrameMs = 0;
        Window->resize(1000, 700);
        Window->show();
        ASSERT_TRUE(testsupport::WaitForSettledViewer(*Window->GLWorldViewer1));
    }
    void TearDown() override { Window.reset(); }

    std::unique_ptr<TMainForm> Window;
};
