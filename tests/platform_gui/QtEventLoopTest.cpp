#include "platform/core/services/Clock.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/QtEventLoop.h"

#include "../support/SettledWindow.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The loop needs an application object; whichever the binary has, or a core one.
void EnsureApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_platform_gui";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

class TLogTarget : public TEventTarget {
public:
    void HandleEvent(const TLoopEvent& event) override
    {
        events.push_back(event);
        if (onEvent) {
            onEvent(event);
        }
    }
    std::vector<TLoopEvent> events;
    std::function<void(const TLoopEvent&)> onEvent;
};

class QtEventLoopGui : public ::testing::Test {
protected:
    QtEventLoopGui() { EnsureApplication(); }
};

TEST_F(QtEventLoopGui, RegisteredTypesAreQtUserTypesStableByName)
{
    TQtEventLoop loop;
    const TEventType tick = loop.RegisterEventType("TickGLCadencer");
    EXPECT_GE(tick, int(QEvent::User));
    EXPECT_LE(tick, int(QEvent::MaxUser));
    EXPECT_EQ(loop.RegisterEventType("TickGLCadencer"), tick);
    EXPECT_NE(loop.RegisterEventType("Other"), tick);
}

TEST_F(QtEventLoopGui, PostedEventsArriveThroughTheLoopNotInsideThePost)
{
    TQtEventLoop loop;
    TLogTarget target;
    const TEventType type = loop.RegisterEventType("PostedEventsArrive");
    loop.PostEvent(target, type);
    EXPECT_TRUE(target.events.empty());
    loop.ProcessPendingEvents();
    ASSERT_EQ(target.events.size(), 1u);
    EXPECT_EQ(target.events[0].type, type);
    EXPECT_LE(target.events[0].postedAtMs, TickCountMs());
}

TEST_F(QtEventLoopGui, EventsForAFreedTargetAreDropped)
{
    TQtEventLoop loop;
    auto target = std::make_unique<TLogTarget>();
    loop.PostEvent(*target, loop.RegisterEventType("Dropped"));
    target.reset();
    EXPECT_NO_THROW(loop.ProcessPendingEvents());
}

TEST_F(QtEventLoopGui, TimersFireUntilKilled)
{
    TQtEventLoop loop;
    TLogTarget target;
    const TTimerId id = loop.StartTimer(target, 1);
    ASSERT_NE(id, 0);
    ASSERT_TRUE(testsupport::WaitFor([&] { return target.events.size() >= 2; }));
    EXPECT_EQ(target.events[0].type, TimerEventType);
    EXPECT_EQ(target.events[0].timerId, id);
    loop.KillTimer(id);
    const std::size_t count = target.events.size();
    // A timer of 1 ms still running would fire many times before this one.
    testsupport::RunEventLoopPast(std::chrono::milliseconds(30));
    EXPECT_EQ(target.events.size(), count);
}

TEST_F(QtEventLoopGui, ExceptionsStopAtTheLoopAndAreReported)
{
    TQtEventLoop loop;
    std::vector<std::string> reports;
    loop.OnException = [&](const std::string& message) { reports.push_back(message); };
    TLogTarget target;
    target.onEvent = [](const TLoopEvent&) { throw std::runtime_error("handler broke"); };
    loop.PostEvent(target, loop.RegisterEventType("Throws"));
    EXPECT_NO_THROW(loop.ProcessPendingEvents());
    EXPECT_EQ(reports, std::vector<std::string>{"handler broke"});
}

TEST_F(QtEventLoopGui, IdleHandlerRunsWhenTheLoopWouldWaitAndAgainWhileNotDone)
{
    TQtEventLoop loop;
    // Loops that wait for events, each with a deadline that fails the test.
    QEventLoop nested;
    QTimer::singleShot(testsupport::StateTimeoutMs, &nested, &QEventLoop::quit);
    int calls = 0;
    loop.SetIdleHandler([&](bool& done) {
        ++calls;
        done = calls >= 3;
        if (done) {
            nested.quit();
        }
    });
    nested.exec();
    EXPECT_GE(calls, 3);
    const int afterDone = calls;
    loop.SetIdleHandler(nullptr);
    // Ends once the loop is about to wait: a handler still connected is called there.
    QEventLoop waiting;
    bool waited = false;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &waiting, [&] {
        waited = true;
        waiting.quit();
    });
    QTimer::singleShot(testsupport::StateTimeoutMs, &waiting, &QEventLoop::quit);
    waiting.exec();
    ASSERT_TRUE(waited);
    EXPECT_EQ(calls, afterDone) << "a removed handler is not called";
}

class TRecordingResponder : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override
    {
        boxes.push_back(text);
        EXPECT_EQ(type, TMsgDlgType::mtError);
        EXPECT_EQ(buttons, TMsgDlgButtons(mbOK));
        return TModalResult::mrOk;
    }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    std::vector<std::string> boxes;
};

TEST_F(QtEventLoopGui, ByDefaultAnExceptionBecomesAnErrorBoxOrALogLine)
{
    TQtEventLoop loop;
    TRecordingResponder responder;
    {
        TDialogResponderScope scope(&responder);
        loop.HandleException(std::make_exception_ptr(std::runtime_error("frame failed")));
    }
    EXPECT_EQ(responder.boxes, std::vector<std::string>{"frame failed"});
    std::vector<std::string> log;
    auto previous = SetDebugLogSink([&](std::string_view text) { log.emplace_back(text); });
    loop.HandleException(std::make_exception_ptr(std::runtime_error("no one to show it")));
    SetDebugLogSink(previous);
    EXPECT_EQ(log, std::vector<std::string>{"error: no one to show it"});
}

TEST_F(QtEventLoopGui, NotTerminatingWhileTheApplicationRuns)
{
    TQtEventLoop loop;
    EXPECT_FALSE(loop.Terminating());
}

} // namespace
