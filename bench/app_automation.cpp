// The automation object on the D-Bus session bus: 10,000 AddMoveNode calls sent at once
// from a second connection (pipelined: each is sent before any reply comes) and served
// by the shell's event loop, with the preview's repaints counted against the frames the
// batch took. Run under dbus-run-session; under an X server with OpenGL the viewer
// repaints, elsewhere only the calls are timed. A binary of its own: it needs a
// QApplication.

#include "ShellBench.h"

#include "app/plugins/PlugInServices.h"
#include "engine/RunResults.h"
#include "platform/gui/automation/KerfpadBus.h"
#include "scene/viewer/WorldViewer.h"

#include <benchmark/benchmark.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int Calls = 10000;
constexpr double FrameMs = 1000.0 / 60.0;

// The main window, with its viewer where there is one, on the bus.
struct TShell : TBenchShell {
    TShell() : TBenchShell(TMainFormOptions{QGuiApplication::platformName() == QLatin1String("xcb")})
    {
        services = std::make_unique<TPlugInServices>(*window, true);
        window->show();
        ProcessEventsFor(500);
    }

    // Goes before the window.
    std::unique_ptr<TPlugInServices> services;
};

std::unique_ptr<TShell> gShell;

void BM_PipelinedAddMoveNodeOverTheBus(benchmark::State& state)
{
    if (SessionBusAddress().isEmpty()) {
        state.SkipWithError("no D-Bus session bus: run under dbus-run-session");
        return;
    }
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    const QString service = AutomationBusName();
    if (service.isEmpty()) {
        state.SkipWithError("the shell is not on the bus");
        return;
    }
    QDBusConnection client = QDBusConnection::connectToBus(SessionBusAddress(), QStringLiteral("bench-client"));
    TGLWorldViewer* viewer = gShell->window->GLWorldViewer1;
    double repaints = 0;
    double frames = 0;
    int failed = 0;
    std::vector<QDBusPendingCall> replies;
    replies.reserve(Calls);
    for (auto _ : state) {
        state.PauseTiming();
        ResetForResults(*gShell->window->Move, gShell->window->Calcul, std::string());
        replies.clear();
        QCoreApplication::processEvents();
        const int paintsBefore = viewer != nullptr ? viewer->PaintCount() : 0;
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Calls; ++i) {
            QDBusMessage call = QDBusMessage::createMethodCall(service, KerfpadBusObjectPath, KerfpadBusInterface,
                                                               QStringLiteral("AddMoveNode"));
            const double t = i * 0.01;
            call.setArguments({t, 10 * std::sin(t), -0.25, 1, i == 0 ? 1 : 0});
            replies.push_back(client.asyncCall(call));
        }
        while (!std::all_of(replies.begin(), replies.end(), [](const QDBusPendingCall& r) { return r.isFinished(); })) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        state.PauseTiming();
        failed += static_cast<int>(
            std::count_if(replies.begin(), replies.end(), [](const QDBusPendingCall& r) { return r.isError(); }));
        // The repaints the batch asked for, the last ones after it, against the display
        // frames of the same time.
        const qint64 settled = clock.elapsed() + 50;
        while (clock.elapsed() < settled) {
            QCoreApplication::processEvents();
        }
        repaints += viewer != nullptr ? viewer->PaintCount() - paintsBefore : 0;
        frames += std::ceil(static_cast<double>(clock.nsecsElapsed()) / 1e6 / FrameMs);
        state.ResumeTiming();
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("bench-client"));
    state.SetItemsProcessed(state.iterations() * Calls);
    state.counters["failed_calls"] = failed;
    state.counters["nodes"] = static_cast<double>(gShell->window->Move->PathNodeCount());
    state.counters["viewer"] = viewer != nullptr ? 1 : 0;
    state.counters["repaints"] = repaints / static_cast<double>(state.iterations());
    state.counters["repaints_per_frame"] = frames > 0 ? repaints / frames : 0;
}
BENCHMARK(BM_PipelinedAddMoveNodeOverTheBus)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
