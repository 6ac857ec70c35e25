// The main window and the messages window on a real X display, under each window
// manager and without one (ctest runs the suite every way, on a screen of 1,600 x 1,000,
// and the first start on smaller ones too): bounds are outer rectangles, frame included,
// so stored bounds that fit the screen come back and are written back as they were,
// with the title bar on the screen, maximised or not, and a window closed maximised
// keeps its normal bounds; a first start opens on the screen, outside its panels; the
// preview keeps its width from start to start; a first start without settings gives the
// preview the share the shipped settings give it; and a PRINT brings the messages window
// to the front without taking the keyboard.

#include "app/run/MessagesForm.h"
#include "app/settings/MainSettings.h"
#include "app/shell/MainForm.h"
#include "app/shell/WindowFrame.h"

#include "../RunTestSupport.h"
#include "../../support/QtTestApp.h"
#include "../../support/SettledWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

namespace {

bool UnderWindowManager()
{
    const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
    return manager != nullptr && std::string(manager) != "none";
}

// Failures show rectangles, not their bytes.
std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

QRect Area()
{
    return QApplication::primaryScreen()->availableGeometry();
}

// The outer bounds as the X server holds them; none before the window is framed.
QRect Outer(const QWidget& window)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    return seen ? seen->Outer() : QRect();
}

// Asks the window manager to maximise or restore `window`, as its title bar's button
// does (a message to the root window): Qt then learns of the new state from the window
// manager, as it does when the user clicks.
void AskWindowManager(const QWidget& window, bool maximise)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t found = reply != nullptr ? reply->atom : XCB_NONE;
        std::free(reply);
        return found;
    };
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.winId());
    message.type = atom("_NET_WM_STATE");
    message.data.data32[0] = maximise ? 1 : 0; // add, remove
    message.data.data32[1] = atom("_NET_WM_STATE_MAXIMIZED_VERT");
    message.data.data32[2] = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    message.data.data32[3] = 2; // from a pager, as the user's
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

// Maximised by the window manager, which has given it the screen's width; without one,
// as far as the window itself knows.
bool Maximised(const QWidget& window)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    return seen && !seen->Normal && (!UnderWindowManager() || seen->Inner.width() == Area().width());
}

class MainWindowX11 : public TShellTest {
protected:
    ~MainWindowX11() override { Window.reset(); }

    // Starts the window on `settings` ("" for no file) and waits until it is framed
    // where it was placed (under a window manager, maximised where it asks to be).
    void Start(const std::string& settings)
    {
        std::filesystem::remove(SettingsPath());
        if (!settings.empty()) {
            WriteSettings(settings);
        }
        Window = std::make_unique<TMainForm>();
        Window->WaitFrameMs = 0;
        Window->show();
        // Settled: the splitter and the window manager done with it. Without a window
        // manager nobody maximises it.
        EXPECT_TRUE(testsupport::WaitForSettledWindow(*Window, [&] {
            const TFramedBounds* framed = FindFramedBounds(*Window);
            if (!SeenFrame(*Window) || framed == nullptr) {
                return false;
            }
            return Window->isMaximized() ? Maximised(*Window) : !framed->Wanted.has_value();
        }));
    }
    // Closes the window, which writes its settings.
    void Stop() { Window.reset(); }

    // Maximises or restores the window as its title bar's button would, and waits until
    // the window manager has; without one, as the program would.
    void SetMaximised(bool maximised)
    {
        if (UnderWindowManager()) {
            AskWindowManager(*Window, maximised);
        } else if (maximised) {
            Window->showMaximized();
        } else {
            Window->showNormal();
        }
        testsupport::WaitFor(
            [&] {
                // Restored, a window started maximised is then given its normal bounds.
                const std::optional<TSeenFrame> seen = SeenFrame(*Window);
                const TFramedBounds* framed = FindFramedBounds(*Window);
                return seen && (maximised ? Maximised(*Window)
                                          : seen->Normal && !Window->isMaximized() && !framed->Wanted.has_value());
            });
    }

    QRect Stored() const
    {
        const TIniFile ini = Settings();
        return {ini.ReadInteger("Main", "Left", -1), ini.ReadInteger("Main", "Top", -1),
                ini.ReadInteger("Main", "Width", -1), ini.ReadInteger("Main", "Height", -1)};
    }
    int StoredPanelWidth() const { return Settings().ReadInteger("Main", "PanelGLWidth", -1); }
    int StoredMaximized() const { return Settings().ReadInteger("Main", "Maximized", -1); }

    std::unique_ptr<TMainForm> Window;
};

std::string BoundsSettings(const QRect& r, const std::string& more = "")
{
    return "[Main]\nShowTipsOnStartup=0\nLeft=" + std::to_string(r.left()) + "\nTop=" + std::to_string(r.top()) +
           "\nWidth=" + std::to_string(r.width()) + "\nHeight=" + std::to_string(r.height()) + "\n" + more;
}

TEST_F(MainWindowX11, StoredBoundsComeBackAndAreWrittenBackAsTheyWere)
{
    const QRect area = Area();
    const struct {
        const char* What;
        std::string Settings;
        QRect Shown; // the frame, and what is written back; without a place, the size
    } cases[] = {
        // Placed by the window manager; then where it was.
        {"the shipped settings", "[Main]\nWidth=1200\nHeight=760\nPanelGLWidth=560\n", {0, 0, 1200, 760}},
        {"the whole screen", BoundsSettings(area), area},
        {"moved down and right", BoundsSettings({200, 150, 1000, 700}), {200, 150, 1000, 700}},
        {"stored off the screen", BoundsSettings({5000, -3000, 1000, 700}),
         {area.left() + (area.width() - 1000) / 2, area.top() + (area.height() - 700) / 2, 1000, 700}},
        {"wider than the screen", BoundsSettings({0, 0, area.width() + 400, 700}), {0, 0, area.width(), 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::string settings = c.Settings;
        std::optional<QRect> shown;
        if (c.Settings.find("Left=") != std::string::npos) {
            shown = c.Shown;
        }
        for (int start = 0; start < 3; ++start) {
            Start(settings);
            const QRect frame = Outer(*Window);
            if (!shown) {
                shown = frame;
            }
            EXPECT_EQ(frame, *shown) << "start " << start;
            EXPECT_EQ(frame.size(), c.Shown.size()) << "start " << start;
            EXPECT_TRUE(area.contains(frame)) << "start " << start;
            // The title bar, where a window manager draws one, lies on the screen.
            EXPECT_GE(Window->geometry().top(), area.top()) << "start " << start;
            Stop();
            EXPECT_EQ(Stored(), *shown) << "start " << start;
            settings = ReadSettings();
        }
    }
}

TEST_F(MainWindowX11, ThePreviewKeepsItsWidthFromStartToStart)
{
    for (const int maximized : {1, 0}) {
        SCOPED_TRACE(maximized);
        std::string settings = "[Main]\nWidth=1200\nHeight=760\nPanelGLWidth=398\nMaximized=" +
                               std::to_string(maximized) + "\n";
        for (int start = 0; start < 5; ++start) {
            Start(settings);
            EXPECT_EQ(Window->PanelGL->width(), 398) << "start " << start;
            Stop();
            EXPECT_EQ(StoredPanelWidth(), 398) << "start " << start;
            EXPECT_EQ(Stored().size(), QSize(1200, 760)) << "start " << start;
            settings = ReadSettings();
        }
    }
}

// Closed maximised, the window keeps the normal bounds it had, through maximised starts
// and a restore: window managers resize the window before they say it is maximised, or
// change its frame first.
TEST_F(MainWindowX11, ClosingWhileMaximisedKeepsTheNormalBounds)
{
    const QRect normal(100, 80, 1200, 760);
    Start(BoundsSettings(normal));
    ASSERT_EQ(Outer(*Window), normal);
    SetMaximised(true);
    ASSERT_TRUE(Maximised(*Window));
    Stop();
    EXPECT_EQ(Stored(), normal);
    EXPECT_EQ(StoredMaximized(), 1);
    for (int start = 0; start < 5; ++start) {
        Start(ReadSettings());
        EXPECT_TRUE(Maximised(*Window)) << "start " << start;
        Stop();
        EXPECT_EQ(Stored(), normal) << "start " << start;
    }
    Start(ReadSettings());
    SetMaximised(false);
    // The window manager may say the frame of the restored window after its state.
    EXPECT_TRUE(testsupport::WaitFor([&] { return Outer(*Window) == normal; })) << Text(Outer(*Window));
    Stop();
    EXPECT_EQ(Stored(), normal);
    EXPECT_EQ(StoredMaximized(), 0);
}

TEST_F(MainWindowX11, AFirstStartGivesThePreviewTheShippedShare)
{
    Start("");
    EXPECT_EQ(Outer(*Window).size(), QSize(DesignedMainWidth, DesignedMainHeight));
    EXPECT_EQ(Window->PanelGL->width(), ShippedPanelGLWidth);
    Stop();
    EXPECT_EQ(StoredPanelWidth(), ShippedPanelGLWidth);
    EXPECT_EQ(Stored().size(), QSize(DesignedMainWidth, DesignedMainHeight));
    // What ships says the same.
    const TIniFile shipped(std::string(KERFPAD_DATA_DIR) + "/kerfpad.ini");
    EXPECT_EQ(shipped.ReadInteger("Main", "PanelGLWidth", -1), ShippedPanelGLWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Width", -1), DesignedMainWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Height", -1), DesignedMainHeight);
}

// A first start without settings, on any screen (ctest runs it on 1,024 x 768 and 800 x
// 600 too): where the window manager puts the window, its frame lies on the screen and
// outside the panels, as large as designed where the screen holds it, and the same
// bounds come back at every start.
using FirstStartX11 = MainWindowX11;

TEST_F(FirstStartX11, TheFrameOpensOnTheScreenOutsideThePanels)
{
    const QRect area = Area();
    const QSize designed(DesignedMainWidth, DesignedMainHeight);
    const bool holds = area.width() >= designed.width() && area.height() >= designed.height();
    std::string settings;
    std::optional<QRect> first;
    for (int start = 0; start < 5; ++start) {
        Start(settings);
        const QRect frame = Outer(*Window);
        first = first.value_or(frame);
        EXPECT_TRUE(area.contains(frame)) << "start " << start << ": " << Text(frame);
        if (holds) {
            EXPECT_EQ(frame.size(), designed) << "start " << start << ": " << Text(frame);
        }
        EXPECT_EQ(frame, *first) << "start " << start << ": " << Text(frame);
        Stop();
        EXPECT_EQ(Stored(), *first) << "start " << start << ": " << Text(Stored());
        settings = ReadSettings();
    }
}

class MessagesX11 : public TRunTest {
protected:
    MessagesX11() { FMessages = &Messages; }
    ~MessagesX11() override { FMessages = nullptr; }
    TFMessages Messages;
};

// A PRINT shows the window, and again after Close, while the keyboard stays in the main
// window: the run's keys (Stop, Step) must still reach it.
TEST_F(MessagesX11, APrintLeavesTheKeyboardWithTheMainWindow)
{
    OpenProgram("print.sbp", "PRINT \"one\"\r\nM2, 1, 1\r\nPRINT \"two\"\r\n");
    SetSimulate(false);
    Window->show();
    testsupport::WaitFor([&] { return Window->windowHandle()->isExposed(); });
    Window->activateWindow();
    testsupport::WaitFor([&] { return QApplication::activeWindow() == Window.get(); });
    ASSERT_EQ(QApplication::activeWindow(), Window.get());
    for (int pass = 0; pass < 2; ++pass) {
        Run();
        // Shown and framed; a window manager that gave it the keyboard then would have
        // by the end of the time allowed, which is longer than Qt's own wait for the
        // keyboard to come back to a window (100 ms).
        ASSERT_TRUE(testsupport::WaitForSettledWindow(Messages, [&] { return SeenFrame(Messages).has_value(); }))
            << pass;
        testsupport::RunEventLoopPast(std::chrono::milliseconds(500));
        EXPECT_TRUE(Messages.isVisible()) << pass;
        EXPECT_EQ(QApplication::activeWindow(), Window.get()) << pass;
        Messages.ButtonClose->click();
    }
}

} // namespace
