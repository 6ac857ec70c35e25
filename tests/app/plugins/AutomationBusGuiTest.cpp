// The automation object on the D-Bus session bus (run under dbus-run-session): the
// introspection document, every method called from another process and from a second
// connection, the error reply, the sample program plug-in started by the plug-in
// window, and a start-up without a bus.
//
// The bus object is served by this thread's event loop, so every call here is made
// without blocking: a blocking call to one's own object would wait for ever.

#include "app/pages/EditorFactory.h"
#include "app/plugins/KerfpadInterface.h"
#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "app/plugins/PlugInServices.h"
#include "app/plugins/PlugInsForm.h"

#include "../ModalSteps.h"
#include "../PlugInTestSupport.h"
#include "../RunTestSupport.h"

#include "platform/gui/automation/KerfpadBus.h"

#include "../../support/QtTestApp.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

class AutomationBusGui : public TRunTest {
protected:
    void SetUp() override
    {
        if (SessionBusAddress().isEmpty()) {
            GTEST_SKIP() << "no D-Bus session bus: run under dbus-run-session";
        }
        Dm.OpenLog();
        Services.emplace(*Window, true);
        Service = AutomationBusName();
        ASSERT_FALSE(Service.isEmpty()) << ReadText("log.txt");
    }
    void TearDown() override
    {
        Services.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("kerfpad-test-client"));
    }

    struct TProcessResult {
        int ExitCode = -1;
        QString Out;
        QString Err;
    };
    // Runs a program to its end while this thread serves the bus.
    static TProcessResult RunProcess(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        EXPECT_TRUE(testsupport::WaitFor([&] { return process.state() == QProcess::NotRunning; }))
            << program.toStdString() << " ended";
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    // dbus-send --print-reply of a method of the interface; its reply's values.
    TProcessResult Send(const QString& method, const QStringList& arguments = {}) const
    {
        return RunProcess(QStringLiteral("dbus-send"), QStringList{"--session", "--print-reply", "--dest=" + Service,
                                                                   KerfpadBusObjectPath, KerfpadBusInterface + '.' + method} +
                                                           arguments);
    }
    // The values dbus-send printed, one per line ("string \"x\"", "double 45").
    static QStringList Values(const TProcessResult& result)
    {
        QStringList values = result.Out.split('\n', Qt::SkipEmptyParts);
        if (!values.isEmpty()) {
            values.removeFirst(); // "method return time=..."
        }
        for (QString& value : values) {
            value = value.trimmed();
        }
        return values;
    }
    // A second connection of this process, calling asynchronously.
    QDBusPendingCall Call(const QString& method, const QVariantList& arguments = {}) const
    {
        QDBusConnection client =
            QDBusConnection::connectToBus(SessionBusAddress(), QStringLiteral("kerfpad-test-client"));
        QDBusMessage message = QDBusMessage::createMethodCall(Service, KerfpadBusObjectPath, KerfpadBusInterface, method);
        message.setArguments(arguments);
        QDBusPendingCall call = client.asyncCall(message);
        EXPECT_TRUE(testsupport::WaitFor([&] { return call.isFinished(); })) << method.toStdString() << " answered";
        return call;
    }

    std::optional<TPlugInServices> Services;
    QString Service;
};

TEST_F(AutomationBusGui, TheServiceNamesTheProcessAndIntrospectionKeepsOrderAndNames)
{
    EXPECT_EQ(Service, QStringLiteral("org.kerfpad.Kerfpad.Instance%1").arg(QCoreApplication::applicationPid()));
    QDBusConnection client = QDBusConnection::connectToBus(SessionBusAddress(), QStringLiteral("kerfpad-test-client"));
    QDBusPendingReply<QString> reply = client.asyncCall(QDBusMessage::createMethodCall(
        Service, KerfpadBusObjectPath, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
    ASSERT_TRUE(testsupport::WaitFor([&] { return reply.isFinished(); }));
    ASSERT_TRUE(reply.isValid()) << reply.error().message().toStdString();
    const QString xml = reply.value();
    EXPECT_TRUE(xml.contains(KerfpadBusIntrospection())) << xml.toStdString();
    // The methods in their order, each with its arguments in order, out arguments named.
    const QString expected = "SendData(in s ResultData, in i ToPlugins) GetData(in i Selection, out s Data) "
                             "GetCurrentLine(out s Data) GetCurPos(out s curpos) GetLastMoveSegmentAngle(out d angle) "
                             "AddMoveNode(in d x, in d y, in d z, in i setcurpos, in i newlines) "
                             "AddJogNode(in d x, in d y, in d z, in i setcurpos, in i newlines)";
    const qsizetype start = xml.indexOf("<interface name=\"org.kerfpad.IKerfpad\">");
    const QString block = xml.mid(start, xml.indexOf("</interface>", start) - start);
    QStringList methods;
    const QRegularExpression method("<method name=\"(\\w+)\">(.*?)</method>",
                                    QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression argument("<arg name=\"(\\w+)\" type=\"(\\w)\" direction=\"(\\w+)\"/>");
    for (const QRegularExpressionMatch& m : method.globalMatch(block)) {
        QStringList arguments;
        for (const QRegularExpressionMatch& a : argument.globalMatch(m.captured(2))) {
            arguments << a.captured(3) + ' ' + a.captured(2) + ' ' + a.captured(1);
        }
        methods << m.captured(1) + '(' + arguments.join(", ") + ')';
    }
    EXPECT_EQ(methods.join(' '), expected);
}

TEST_F(AutomationBusGui, EveryMethodAnswersAnotherProcess)
{
    const auto page = OpenProgram("a.sbp", "MS,1,2\r\nJ2,1,1\r\n");
    Code(page).SetCaretXY({1, 2});
    TFPlugIns window;
    FPlugIns = &window;
    window.SetBufferText("buffer");

    ASSERT_EQ(Send("AddMoveNode", {"double:0.1", "double:2", "double:-1.5", "int32:1", "int32:1"}).ExitCode, 0);
    EXPECT_EQ(Values(Send("GetCurPos")), QStringList{"string \"0.100000001490116,2,-1.5\""});
    Send("AddMoveNode", {"double:1.1", "double:3", "double:-1.5", "int32:0", "int32:0"});
    EXPECT_EQ(Values(Send("GetLastMoveSegmentAngle")), QStringList{"double -135"});
    Send("AddJogNode", {"double:5", "double:5", "double:0", "int32:1", "int32:1"});
    EXPECT_EQ(Values(Send("GetCurPos")), QStringList{"string \"5,5,0\""});
    EXPECT_EQ(JogText(), "5.00000,5.00000,0.00000\r\n");
    EXPECT_EQ(Values(Send("GetCurrentLine")), QStringList{"string \"J2,1,1\""});
    EXPECT_EQ(Values(Send("GetData", {"int32:0"})), QStringList{"string \"buffer\""});
    EXPECT_EQ(Values(Send("GetData", {"int32:1"})), QStringList{"string \"\""});
    // Into the buffer; then, with 0, into the page (the window closes).
    Send("SendData", {"string:\xC3\x98 6mm", "int32:1"});
    EXPECT_EQ(window.BufferText(), QString::fromUtf8("\u00D8 6mm"));
    Send("SendData", {"string:' from the bus", "int32:0"});
    EXPECT_EQ(page->GetLines()->ToStringList(), (QStringList{"MS,1,2", "' from the busJ2,1,1"}));
    FPlugIns = nullptr;
}

TEST_F(AutomationBusGui, AFailingMethodAnswersWithTheErrorReply)
{
    // A quick view is going: its compared paths must not change.
    Window->QuietRun = true;
    const TProcessResult result = Send("AddMoveNode", {"double:1", "double:1", "double:1", "int32:1", "int32:1"});
    EXPECT_NE(result.ExitCode, 0);
    EXPECT_TRUE(result.Err.contains("Error org.kerfpad.IKerfpad.Error.Unexpected: No path nodes can be added while a "
                                    "results run or a quick view goes."))
        << result.Err.toStdString();
    QDBusPendingCall call = Call("AddJogNode", {1.0, 1.0, 1.0, 1, 1});
    EXPECT_TRUE(call.isError());
    EXPECT_EQ(call.error().name(), KerfpadBusUnexpectedError);
    Window->QuietRun = false;
    EXPECT_EQ(Window->Move->PathNodeCount(), 0u);
}

TEST_F(AutomationBusGui, ANodeThatIsNotFiniteGetsTheErrorReplyAndNothingIsAdded)
{
    const struct {
        const char* Method;
        QStringList Arguments;
        const char* Error;
    } cases[] = {
        {"AddMoveNode", {"double:nan", "double:1", "double:1", "int32:1", "int32:1"},
         "AddMoveNode: x = NAN is not a finite single-precision number; no node was added."},
        {"AddJogNode", {"double:1", "double:1", "double:inf", "int32:1", "int32:1"},
         "AddJogNode: z = INF is not a finite single-precision number; no node was added."},
        {"AddJogNode", {"double:1", "double:-1e39", "double:0", "int32:0", "int32:0"},
         "AddJogNode: y = -1E39 is not a finite single-precision number; no node was added."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Error);
        const TProcessResult result = Send(c.Method, c.Arguments);
        EXPECT_NE(result.ExitCode, 0);
        EXPECT_TRUE(result.Err.contains(QStringLiteral("Error org.kerfpad.IKerfpad.Error.Unexpected: ") + c.Error))
            << result.Err.toStdString();
    }
    EXPECT_EQ(Window->Move->PathNodeCount(), 0u);
    EXPECT_EQ(Values(Send("GetCurPos")), QStringList{"string \"0,0,0\""});
}

TEST_F(AutomationBusGui, SendDataDuringARunClosesThePlugInWindowAndTheRunGoesOnToItsEnd)
{
    const auto page = OpenProgram("run.sbp", "M2,1,0\r\nM2,1,1\r\nM2,0,1\r\n");
    SetSimulate(true);
    // The window is held unshown: this test has no web view.
    TModalSteps dialogs;
    TDialogResponderScope scope(&dialogs);
    TProcessResult reply;
    bool closedInside = false;
    dialogs.ExpectHeldSteps("FPlugIns", [&](QDialog& window) {
        QObject::connect(&window, &QDialog::finished, [&] { closedInside = true; });
        reply = Send("SendData", {"string:' from the bus", "int32:0"});
    });
    bool opened = false;
    std::size_t nodesWhenOpened = 0;
    // F8 while the bit is on its way.
    AtPass = [&] {
        if (!opened && Window->Move->Moving) {
            opened = true;
            nodesWhenOpened = Window->Move->PathNodeCount();
            ExecutePlugInsWindow();
        }
    };
    Run();
    ASSERT_TRUE(opened);
    EXPECT_EQ(dialogs.FormsShown, std::vector<std::string>{"FPlugIns"});
    EXPECT_TRUE(closedInside) << "the call closed the window";
    EXPECT_NE(reply.ExitCode, 0);
    EXPECT_TRUE(reply.Err.contains("Error org.kerfpad.IKerfpad.Error.Unexpected: The page is read-only while a program "
                                   "runs; the text was not inserted."))
        << reply.Err.toStdString();
    // The run went on to its end.
    EXPECT_LT(nodesWhenOpened, 4u);
    EXPECT_FALSE(Window->Running);
    EXPECT_EQ(CutText(), "0.00000,0.00000,0.00000\r\n1.00000,0.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n"
                         "0.00000,1.00000,0.00000\r\n");
    EXPECT_EQ(Values(Send("GetCurPos")), QStringList{"string \"0,1,0\""});
    EXPECT_EQ(page->GetLines()->ToStringList(), (QStringList{"M2,1,0", "M2,1,1", "M2,0,1"}));
    EXPECT_EQ(FPlugIns, nullptr);
}

// During a run a plug-in's node draws; the animated bit goes to it only when the node
// is also the new position.
TEST_F(AutomationBusGui, APlugInsNodeDuringARunMovesTheBitOnlyWithThePosition)
{
    const struct {
        const char* SetCurPos;
        float FarthestX;
        const char* Cut;
    } cases[] = {
        {"int32:0", 1.0f, "0.00000,0.00000,0.00000\r\n1.00000,0.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n"},
        // The program's next move starts from where the plug-in put the tool.
        {"int32:1", 5.0f,
         "0.00000,0.00000,0.00000\r\n1.00000,0.00000,0.00000\r\n5.00000,0.00000,0.00000\r\n"
         "1.00000,1.00000,0.00000\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.SetCurPos);
        // A fresh start: no paths, the tool and the bit at 0.
        Window->BitBtn11Click();
        Window->Move->SetPosition({0, 0, 0, 0});
        Window->Scene->Bit->Position().SetPoint(0, 0, 0);
        OpenProgram("bit.sbp", "M2,1,0\r\nM2,1,1\r\n");
        SetSimulate(true);
        float farthest = 0;
        bool sent = false;
        AtPass = [&] {
            farthest = std::max(farthest, BitPosition().X);
            if (!sent && Window->Move->Moving) {
                sent = true;
                EXPECT_EQ(Send("AddJogNode", {"double:5", "double:0", "double:0", c.SetCurPos, "int32:1"}).ExitCode, 0);
            }
        };
        Run();
        ASSERT_TRUE(sent);
        EXPECT_NEAR(farthest, c.FarthestX, 1e-4);
        EXPECT_EQ(CutText(), c.Cut);
        EXPECT_EQ(JogText(), "5.00000,0.00000,0.00000\r\n");
        const TAffineVector bit = BitPosition();
        EXPECT_EQ((std::vector<float>{bit.X, bit.Y, bit.Z}), (std::vector<float>{1, 1, 0}));
        EXPECT_EQ(Values(Send("GetCurPos")), QStringList{"string \"1,1,0\""});
        AtPass = nullptr;
    }
}

TEST_F(AutomationBusGui, TheSamplePlugInStartedByTheWindowAddsANode)
{
    std::filesystem::create_directories(folder / "plugins");
    std::filesystem::copy_file(std::filesystem::path(KERFPAD_DATA_DIR) / "plugins" / "add-node.sh",
                               folder / "plugins" / "add-node.sh");
    TFPlugIns window;
    FPlugIns = &window;
    window.OpenPlugIn(FilePath("plugins/add-node.sh"));
    EXPECT_TRUE(testsupport::WaitFor([&] { return window.BufferText().contains("the tool is at"); }))
        << ReadText("log.txt");
    EXPECT_EQ(window.BufferText(), "add-node.sh: the tool is at 1,2,0.5");
    EXPECT_EQ(CutText(), "0.00000,0.00000,0.00000\r\n1.00000,2.00000,0.50000\r\n");
    FPlugIns = nullptr;
}

// Start-up through the main block with the bus asked for but none to be had.
class AutomationBusStartGui : public TAppTest {
protected:
    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
};

TEST_F(AutomationBusStartGui, AMissingBusIsLoggedWithoutABoxAndStartUpGoesOn)
{
    const QByteArray previous = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    options.WithAutomationBus = true;
    bool started = false;
    options.Loop = [&](TMainForm& window) {
        started = window.Move != nullptr && AutomationBusName().isEmpty();
        window.close();
        return 0;
    };
    KerfpadMainBlock({}, options);
    if (previous.isNull()) {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    } else {
        qputenv("DBUS_SESSION_BUS_ADDRESS", previous);
    }
    EXPECT_TRUE(started);
    const std::string line = FirstStartingWith(LogTextsOf(ReadText("log.txt")), "error: automation bus: ");
    EXPECT_TRUE(line.starts_with("error: automation bus: cannot connect to the D-Bus session bus at "
                                 "unix:path=/nonexistent: "))
        << line;
}

} // namespace
