#pragma once
// The main of a benchmark binary that needs a QApplication: the offscreen platform
// unless one is named, the start-up calls the editor widget needs, then the benchmarks;
// `beforeExit` frees what must go before the QApplication does.

#include "editor/painting/CodeBookmarkGlyphs.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <functional>

inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {})
{
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallCodeEditInternalImages();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit) {
        beforeExit();
    }
    return 0;
}
