#pragma once
// Benchmarks of the shell with its main window: the window over a data module and an
// editor factory, in a folder of its own with the Qt event loop installed; and a main
// that makes the shell's application object (on xcb when there is a display, else
// offscreen) with its start-up registrations.

#include "app/shell/DataModule.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorInterfaces.h"
#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "scene/viewer/WorldViewer.h"
#include "platform/gui/QtEventLoop.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>
#include <memory>

struct TBenchShell {
    explicit TBenchShell(const TMainFormOptions& options)
    {
        qputenv("KERFPAD_APP_DIR", folder.path().toUtf8());
        dm = new Tdm;
        InstallEditorFactory();
        window = std::make_unique<TMainForm>(options);
    }
    ~TBenchShell()
    {
        window.reset();
        ReleaseEditorGlobals();
        delete dm;
        dm = nullptr;
    }
    TBenchShell(const TBenchShell&) = delete;
    TBenchShell& operator=(const TBenchShell&) = delete;

    // Lets a window just shown settle: its layout, the viewer's first frames.
    static void ProcessEventsFor(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QCoreApplication::processEvents();
        }
    }

    QTemporaryDir folder;
    TQtEventLoop loop;
    TEventLoopScope loopScope{&loop};
    std::unique_ptr<TMainForm> window;
};

// The main window of `shell` with its viewer at 800 x 600, made at the first call;
// nullptr (and the benchmark skipped) without an X server or OpenGL.
inline TMainForm* ShownPreview(std::unique_ptr<TBenchShell>& shell, benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X server");
        return nullptr;
    }
    if (!shell) {
        shell = std::make_unique<TBenchShell>(TMainFormOptions{true});
        TMainForm& window = *shell->window;
        if (window.GLWorldViewer1) {
            window.show();
            window.GLWorldViewer1->Widget()->setFixedSize(800, 600);
            TBenchShell::ProcessEventsFor(500);
        }
    }
    if (!shell->window->GLWorldViewer1) {
        state.SkipWithError("no OpenGL");
        return nullptr;
    }
    return shell->window.get();
}

// `beforeExit` frees the shells before the application object goes.
inline int RunShellBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit)
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    TKerfpadApplication app(argc, argv);
    RegisterKerfpadClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeExit();
    return 0;
}
