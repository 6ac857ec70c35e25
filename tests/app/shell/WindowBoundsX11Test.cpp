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
#include "platform/gui/X11InputFocus.h"
#include "platform/gui/X11WindowState.h"

#include "../RunTestSupport.h"
#include "../X11KeysSupport.h"
#include "../../support/QtTestApp.h"
#include "../../support/SettledWindow.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <csignal>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string WindowManager()
{
    const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
    return manager != nullptr ? manager : "none";
}

bool UnderWindowManager()
{
    return WindowManager() != "none";
}

// Failures show rectangles, not their bytes.
std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// The outer bounds as the X server holds them; none before the window is framed.
QRect Outer(const QWidget& window)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    return seen ? seen->Outer() : QRect();
}

xcb_connection_t* Connection()
{
    return qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// dwm's bar where it shows on the screen: a mapped window on the root of class "dwm".
std::optional<QRect> DwmBar()
{
    xcb_connection_t* c = Connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    std::optional<QRect> bar;
    const QRect screen = QApplication::primaryScreen()->geometry();
    for (int i = 0; tree != nullptr && i < xcb_query_tree_children_length(tree); ++i) {
        const xcb_window_t child = xcb_query_tree_children(tree)[i];
        xcb_get_property_reply_t* name = xcb_get_property_reply(
            c, xcb_get_property(c, 0, child, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64), nullptr);
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, child), nullptr);
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, child), nullptr);
        if (name != nullptr && attributes != nullptr && geometry != nullptr &&
            attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            std::string(static_cast<const char*>(xcb_get_property_value(name)),
                        std::size_t(xcb_get_property_value_length(name))) == std::string("dwm\0dwm\0", 8)) {
            const QRect shown = QRect(geometry->x, geometry->y, geometry->width, geometry->height) & screen;
            if (!shown.isEmpty()) {
                bar = shown;
            }
        }
        std::free(name);
        std::free(attributes);
        std::free(geometry);
    }
    std::free(tree);
    return bar;
}

// The area windows are given: the work area, and under dwm, which keeps none, the
// screen without its bar.
QRect Area()
{
    QRect area = QApplication::primaryScreen()->availableGeometry();
    if (WindowManager() == "dwm") {
        if (const std::optional<QRect> bar = DwmBar(); bar && bar->top() <= area.top()) {
            area.setTop(bar->bottom() + 1);
        } else if (bar) {
            area.setBottom(bar->top() - 1);
        }
    }
    return area;
}

xcb_atom_t Atom(const char* name)
{
    xcb_connection_t* c = Connection();
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return found;
}

xcb_window_t Root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

// Whether the window manager says it supports `name` (_NET_SUPPORTED).
bool WindowManagerSupports(const char* name)
{
    xcb_connection_t* c = Connection();
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, Root(), Atom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 1024), nullptr);
    bool found = false;
    if (reply != nullptr && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const xcb_atom_t wanted = Atom(name);
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i) {
            found = found || atoms[i] == wanted;
        }
    }
    std::free(reply);
    return found;
}

// Sends `window` a message for the window manager, as a pager, taskbar or xdotool does.
void SendToWindowManager(const QWidget& window, const char* type, std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.winId());
    message.type = Atom(type);
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(Connection(), 0, Root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(Connection());
}

// Asks the window manager to maximise or restore `window`, as its title bar's button
// does (a message to the root window): Qt then learns of the new state from the window
// manager, as it does when the user clicks.
void AskWindowManager(const QWidget& window, bool maximise)
{
    // Add or remove, both ways, from a pager as the user's.
    SendToWindowManager(window, "_NET_WM_STATE",
                        {maximise ? 1u : 0u, Atom("_NET_WM_STATE_MAXIMIZED_VERT"), Atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2});
}

// Whether a window manager maximises windows: dwm does not.
bool WindowManagerMaximises()
{
    return UnderWindowManager() && WindowManagerSupports("_NET_WM_STATE_MAXIMIZED_VERT");
}

// Maximised by the window manager, which has given it the screen's width; where none
// maximises windows, as far as the window itself knows.
bool Maximised(const QWidget& window)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    return seen && !seen->Normal && (!WindowManagerMaximises() || seen->Inner.width() == Area().width());
}

// The window's own area in root coordinates and the border the X server draws round it.
struct TOwnArea {
    QRect Inner;
    int Border = 0;
};

TOwnArea OwnArea(const QWidget& window)
{
    xcb_connection_t* c = Connection();
    const auto id = xcb_window_t(window.winId());
    TOwnArea area;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    xcb_translate_coordinates_reply_t* corner =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, Root(), 0, 0), nullptr);
    if (geometry != nullptr && corner != nullptr) {
        area = {QRect(corner->dst_x, corner->dst_y, geometry->width, geometry->height), geometry->border_width};
    }
    std::free(geometry);
    std::free(corner);
    return area;
}

// Asks the window manager to move `window` to the outer bounds `outer`, as xdotool or a
// user's drag does, with the frame the window has (its border while none is said).
void MoveAsUser(const QWidget& window, const QRect& outer)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    const int border = OwnArea(window).Border;
    const QMargins frame = seen ? seen->Frame : QMargins(border, border, border, border);
    ConfigureX11Window(*window.windowHandle(), outer.marginsRemoved(frame), frame);
}

// Gives `window` the place (the corner of its border) and own size of `r` directly, as
// without a window manager, or as a stand-in for one that takes each step itself.
void PlaceDirectly(const QWidget& window, const QRect& r)
{
    const std::uint32_t values[] = {std::uint32_t(r.x()), std::uint32_t(r.y()), std::uint32_t(r.width()),
                                    std::uint32_t(r.height())};
    xcb_configure_window(Connection(), xcb_window_t(window.winId()),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(Connection());
}

// The window's normal bounds as last recorded.
QRect Recorded(const QWidget& window)
{
    const TFramedBounds* framed = FindFramedBounds(window);
    return framed != nullptr ? framed->Normal.value_or(QRect()) : QRect();
}

class MainWindowX11 : public TShellTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
    }
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
    // Starts the window on `settings` and waits only until it shows: a user may move it
    // before the window manager has answered or said its frame.
    void Show(const std::string& settings)
    {
        std::filesystem::remove(SettingsPath());
        WriteSettings(settings);
        Window = std::make_unique<TMainForm>();
        Window->WaitFrameMs = 0;
        Window->show();
        EXPECT_TRUE(testsupport::WaitFor([&] { return Window->windowHandle()->isExposed(); }));
    }
    // Closes the window, which writes its settings.
    void Stop() { Window.reset(); }

    // Maximises or restores the window as its title bar's button would, and waits until
    // the window manager has; where none maximises windows, as the program would.
    void SetMaximised(bool maximised)
    {
        if (WindowManagerMaximises()) {
            AskWindowManager(*Window, maximised);
        } else if (maximised) {
            Window->showMaximized();
        } else {
            Window->showNormal();
        }
        testsupport::WaitFor(
            [&] {
                // Restored, a window started maximised is then given its normal bounds.
                // Maximised, once Qt has learnt it too: the events of the change have all
                // come in (under fluxbox and load a window closed just before was written
                // back as not maximised).
                const std::optional<TSeenFrame> seen = SeenFrame(*Window);
                const TFramedBounds* framed = FindFramedBounds(*Window);
                return seen && (maximised ? Maximised(*Window) && Window->isMaximized()
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
        {"wider than the screen", BoundsSettings({area.left(), area.top(), area.width() + 400, 700}),
         {area.left(), area.top(), area.width(), 700}},
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

// Started maximised and restored, the window comes back to its normal bounds and is the
// user's, also after a dialog of a fixed size (the Tip of the Day, the About box) showed
// while it was maximised: openbox and fluxbox put back the normal frame before they say
// a window is no longer maximised, that frame was taken for the maximised one once the
// dialog's frame (no grip) stood for the normal one, and every sight of the restored
// window for a step between the states, so it kept its own size (2 x 25 larger under
// openbox) and a move the user then made was not written back.
TEST_F(MainWindowX11, RestoredAfterAMaximisedStartTheWindowIsTheUsers)
{
    const QRect normal(100, 80, 1200, 760);
    const QRect moved(300, 200, 1200, 760);
    for (const bool dialogFirst : {false, true}) {
        SCOPED_TRACE(dialogFirst ? "after a dialog of a fixed size" : "at once");
        Start(BoundsSettings(normal, "Maximized=1\n"));
        ASSERT_TRUE(Maximised(*Window));
        if (dialogFirst) {
            QDialog dialog(Window.get());
            dialog.setFixedSize(340, 230);
            dialog.show();
            ASSERT_TRUE(testsupport::WaitForSettledWindow(dialog, [&] { return Recorded(dialog).isValid(); }));
        }
        SetMaximised(false);
        EXPECT_TRUE(testsupport::WaitFor([&] { return Outer(*Window) == normal; })) << Text(Outer(*Window));
        MoveAsUser(*Window, moved);
        EXPECT_TRUE(testsupport::WaitFor([&] { return Outer(*Window) == moved && Recorded(*Window) == moved; }))
            << Text(Outer(*Window)) << " recorded " << Text(Recorded(*Window));
        // Closed as Alt+F4 closes it.
        Window->close();
        Stop();
        EXPECT_EQ(Stored(), moved) << Text(Stored());
        EXPECT_EQ(StoredMaximized(), 0);
    }
}

// Minimised and brought back, as a taskbar or xdotool does, the window returns where it
// was and writes back the bounds it had: openbox maps a window it brings back where it
// kept it hidden, off the screen, before it puts it back, and the window was taken for
// one the screen does not show and centred.
TEST_F(MainWindowX11, AMinimisedWindowComesBackInPlace)
{
    if (!UnderWindowManager() || !WindowManagerSupports("_NET_WM_STATE_HIDDEN")) {
        GTEST_SKIP() << "no window manager minimises windows";
    }
    const QRect normal(100, 80, 1200, 760);
    // As stored, or where the user moved it, partly off the screen, as the screen shows
    // it still: refitted as it came back, it went wholly inside.
    const QRect offScreen(Area().right() + 1 - 400, Area().top() + 100, 1200, 760);
    const struct {
        const char* What;
        std::function<void(const QWidget&)> BringBack;
    } ways[] = {
        {"activated", [](const QWidget& w) { SendToWindowManager(w, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME}); }},
        {"mapped",
         [](const QWidget& w) {
             xcb_map_window(Connection(), xcb_window_t(w.winId()));
             xcb_flush(Connection());
         }},
    };
    for (const QRect& place : {normal, offScreen}) {
        for (const auto& way : ways) {
            SCOPED_TRACE(way.What);
            SCOPED_TRACE(Text(place));
            Start(BoundsSettings(normal));
            ASSERT_EQ(Outer(*Window), normal);
            QRect placed = normal;
            if (place != normal) {
                // Where the window manager lets it go: icewm keeps it on the screen.
                MoveAsUser(*Window, place);
                ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window, [&] { return Outer(*Window) != normal; }))
                    << Text(Outer(*Window));
                placed = Outer(*Window);
            }
            SendToWindowManager(*Window, "WM_CHANGE_STATE", {3}); // iconic
            ASSERT_TRUE(testsupport::WaitFor([&] { return Window->isMinimized() && !SeenFrame(*Window); }));
            way.BringBack(*Window);
            // openbox slides the window back from below the screen.
            EXPECT_TRUE(testsupport::WaitForSettledWindow(*Window, [&] {
                const std::optional<TSeenFrame> seen = SeenFrame(*Window);
                return !Window->isMinimized() && seen && seen->Normal && seen->Outer() == placed;
            })) << Text(Outer(*Window));
            Stop();
            EXPECT_EQ(Stored(), placed) << Text(Stored());
        }
    }
}

// A stand-in for a window manager that names itself on the root window, as every one
// does (_NET_SUPPORTING_WM_CHECK), and says it supports what `supported` names, and does
// nothing else: windows map, move and resize as they ask.
class TStandInWindowManager {
public:
    explicit TStandInWindowManager(const std::vector<const char*>& supported)
    {
        xcb_connection_t* c = Connection();
        FWindow = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, FWindow, Root(), -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        for (const xcb_window_t on : {FWindow, Root()}) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, on, Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 32, 1,
                                &FWindow);
        }
        std::vector<xcb_atom_t> atoms{Atom("_NET_SUPPORTING_WM_CHECK")};
        for (const char* name : supported) {
            atoms.push_back(Atom(name));
        }
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, Root(), Atom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 32,
                            std::uint32_t(atoms.size()), atoms.data());
        xcb_flush(c);
    }
    ~TStandInWindowManager()
    {
        xcb_connection_t* c = Connection();
        xcb_delete_property(c, Root(), Atom("_NET_SUPPORTING_WM_CHECK"));
        xcb_delete_property(c, Root(), Atom("_NET_SUPPORTED"));
        xcb_destroy_window(c, FWindow);
        xcb_flush(c);
    }
    TStandInWindowManager(const TStandInWindowManager&) = delete;
    TStandInWindowManager& operator=(const TStandInWindowManager&) = delete;

private:
    xcb_window_t FWindow = 0;
};

// The number of the last request of ours the X server had taken when each window was
// last told where it stands (ConfigureNotify, a window manager's notice that it leaves a
// window as it was included).
class TConfigureNotices final : public QAbstractNativeEventFilter {
public:
    TConfigureNotices() { qApp->installNativeEventFilter(this); }
    ~TConfigureNotices() override { qApp->removeNativeEventFilter(this); }

    // Whether `window` was told where it stands after the X server took `request`.
    bool Since(const QWidget& window, std::uint32_t request) const
    {
        const auto found = FLast.find(std::uint32_t(window.winId()));
        return found != FLast.end() && std::int32_t(found->second - request) >= 0;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY) {
            FLast[reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window] = event->full_sequence;
        }
        return false;
    }

private:
    std::map<std::uint32_t, std::uint32_t> FLast;
};

// A window manager that reports no frame (dwm, and stand-ins that only name themselves
// or say they report frames and never do): the window is its own area and border, and a
// window moved and resized, as xdotool does it, writes back where it is, not where it
// started. The bare display runs the stand-ins, dwm's runs dwm.
TEST_F(MainWindowX11, WithoutAFrameReportAMovedWindowWritesBackWhereItIs)
{
    const struct {
        const char* What;
        bool StandIn; // else the display's own
        std::vector<const char*> Supported;
    } cases[] = {
        {"a window manager that only names itself", true, {}},
        {"one that says it reports frames and never does", true, {"_NET_FRAME_EXTENTS"}},
        {"dwm", false, {}},
    };
    bool ran = false;
    for (const auto& c : cases) {
        if (c.StandIn ? WindowManager() != "none" : WindowManager() != c.What) {
            continue;
        }
        SCOPED_TRACE(c.What);
        ran = true;
        std::optional<TStandInWindowManager> standIn;
        if (c.StandIn) {
            standIn.emplace(c.Supported);
        }
        const QRect started(100, 80, 1200, 760);
        Start(BoundsSettings(started));
        const TOwnArea own = OwnArea(*Window);
        const QMargins border(own.Border, own.Border, own.Border, own.Border);
        EXPECT_EQ(own.Inner.marginsAdded(border), started);
        const QRect moved(300, 200, 900, 600);
        const QRect movedInner = moved.marginsRemoved(border);
        // A position is the corner of the window's border.
        PlaceDirectly(*Window, QRect(moved.topLeft(), movedInner.size()));
        EXPECT_TRUE(testsupport::WaitForSettledWindow(*Window, [&] { return OwnArea(*Window).Inner == movedInner; }))
            << Text(OwnArea(*Window).Inner);
        Stop();
        EXPECT_EQ(Stored(), moved) << Text(Stored());
    }
    if (!ran) {
        GTEST_SKIP() << "the window manager reports frames";
    }
}

// A window manager that exits hands the window back at its frame's corner before it goes,
// and icewm leaves the frame it said on the window: a sight of the window recorded in
// between is a frame off (icewm's exit wrote back 95, 56). Closed once the window manager
// has gone, the window writes back where it stands with the frame it had. A stand-in on
// the bare display takes each of those steps in turn.
TEST_F(MainWindowX11, ClosedAfterItsWindowManagerWentItWritesBackTheBoundsItHad)
{
    if (UnderWindowManager()) {
        GTEST_SKIP() << "the stand-in runs on the bare display";
    }
    const QRect normal(100, 80, 1200, 760);
    const QMargins frame(5, 24, 5, 5);
    // Placed while the stand-in draws no frame, then framed, as a window manager that
    // reparents it does, where it stands.
    std::optional<TStandInWindowManager> standIn(std::in_place, std::vector<const char*>{});
    Start(BoundsSettings(normal));
    ASSERT_EQ(Outer(*Window), normal);
    standIn.emplace(std::vector<const char*>{"_NET_FRAME_EXTENTS"});
    const std::uint32_t extents[] = {std::uint32_t(frame.left()), std::uint32_t(frame.right()),
                                     std::uint32_t(frame.top()), std::uint32_t(frame.bottom())};
    xcb_change_property(Connection(), XCB_PROP_MODE_REPLACE, xcb_window_t(Window->winId()), Atom("_NET_FRAME_EXTENTS"),
                        XCB_ATOM_CARDINAL, 32, 4, extents);
    const QRect inner = normal.marginsRemoved(frame);
    PlaceDirectly(*Window, inner);
    ASSERT_TRUE(testsupport::WaitFor([&] { return Recorded(*Window) == normal; })) << Text(Recorded(*Window));
    // Handed back at the frame's corner, the frame it said still on the window, and
    // recorded so.
    PlaceDirectly(*Window, QRect(normal.topLeft(), inner.size()));
    const QRect aFrameOff(normal.topLeft() - QPoint(frame.left(), frame.top()), normal.size());
    ASSERT_TRUE(testsupport::WaitFor([&] { return Recorded(*Window) == aFrameOff; })) << Text(Recorded(*Window));
    standIn.reset();
    Window->close();
    Stop();
    EXPECT_EQ(Stored(), normal) << Text(Stored());
}

// A window manager moves and resizes a window it maximises before it says so, fluxbox
// one way and then the other: closed maximised, the window writes back the bounds it had
// before, not a sight caught on the way (under fluxbox and load it was written back
// moved to the screen's top). A stand-in on the bare display takes fluxbox's steps, each
// seen by the program before the next.
TEST_F(MainWindowX11, ClosedMaximisedItWritesBackTheBoundsItHadBeforeTheWindowManagerBegan)
{
    if (UnderWindowManager()) {
        GTEST_SKIP() << "the stand-in runs on the bare display";
    }
    const QRect normal(100, 80, 1200, 760);
    const QRect screen = QApplication::primaryScreen()->geometry();
    TStandInWindowManager standIn({"_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"});
    Start(BoundsSettings(normal));
    ASSERT_EQ(Outer(*Window), normal);
    for (const QRect& step : {QRect(normal.x(), screen.y(), normal.width(), normal.height()),
                              QRect(normal.x(), screen.y(), normal.width(), screen.height()), screen}) {
        PlaceDirectly(*Window, step);
        ASSERT_TRUE(testsupport::WaitFor([&] { return Recorded(*Window) == step; })) << Text(Recorded(*Window));
    }
    const xcb_atom_t maximised[] = {Atom("_NET_WM_STATE_MAXIMIZED_VERT"), Atom("_NET_WM_STATE_MAXIMIZED_HORZ")};
    xcb_change_property(Connection(), XCB_PROP_MODE_REPLACE, xcb_window_t(Window->winId()), Atom("_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 2, maximised);
    xcb_flush(Connection());
    ASSERT_TRUE(testsupport::WaitFor([&] { return Maximised(*Window) && Recorded(*Window) == normal; }))
        << Text(Recorded(*Window));
    Stop();
    EXPECT_EQ(Stored(), normal) << Text(Stored());
    EXPECT_EQ(StoredMaximized(), 1);
}

// While the program waits on a window manager that reports no frame (a stand-in that
// says it reports frames and never does: five seconds for the frame; tiling dwm, which
// leaves a window it tiles where it is when asked for other bounds), the user's move is
// kept, also once the wait is over, and what is written back is where the window stands,
// also when it closes at once: the window went back to its stored place five seconds
// after it showed, and one closed at once wrote back a place it never stood at.
TEST_F(MainWindowX11, WhileTheWindowManagerIsWaitedOnTheUsersMoveIsKept)
{
    const bool standIn = WindowManager() == "none";
    if (!standIn && WindowManager() != "dwm") {
        GTEST_SKIP() << "the window manager says every window's frame and answers its requests";
    }
    // dwm tiles until its floating layout is chosen again, which the suite runs in.
    struct TFloatingAgain {
        bool Tiling = false;
        ~TFloatingAgain()
        {
            if (Tiling) {
                EXPECT_TRUE(testsupport::PressKeys("alt+f"));
            }
        }
    } floatingAgain;
    const QRect stored(200, 150, 1000, 700);
    const QRect moved(300, 200, 900, 600);
    for (const bool waitOver : {false, true}) {
        SCOPED_TRACE(waitOver ? "closed once the wait is over" : "closed at once");
        // Left tiled by dwm, else moved by the user.
        const bool moveIt = standIn || waitOver;
        std::optional<TStandInWindowManager> manager;
        TConfigureNotices notices;
        if (standIn) {
            manager.emplace(std::vector<const char*>{"_NET_FRAME_EXTENTS"});
        } else if (!floatingAgain.Tiling) {
            ASSERT_TRUE(testsupport::PressKeys("alt+t"));
            floatingAgain.Tiling = true;
        }
        Show(BoundsSettings(stored));
        if (!standIn) {
            // Tiled over the whole area, and left there every time the program asked for
            // its stored bounds: the answers have come and the program has stopped asking,
            // on them and not because the time allowed ran out (the window went back to
            // its stored place when the user moved it meanwhile).
            ASSERT_TRUE(testsupport::WaitFor([&] {
                const TFramedBounds* framed = FindFramedBounds(*Window);
                return framed != nullptr && framed->Ask.Request && notices.Since(*Window, *framed->Ask.Request) &&
                       !framed->Wanted && Outer(*Window) == Area();
            })) << Text(Outer(*Window));
            EXPECT_FALSE(FindFramedBounds(*Window)->Ask.Overdue);
            QCoreApplication::processEvents();
        }
        const auto standing = [&] {
            const TOwnArea own = OwnArea(*Window);
            return own.Inner.marginsAdded(QMargins(own.Border, own.Border, own.Border, own.Border));
        };
        if (moveIt) {
            if (!standIn) {
                // The user floats the windows again, then moves it.
                ASSERT_TRUE(testsupport::PressKeys("alt+f"));
                floatingAgain.Tiling = false;
            }
            MoveAsUser(*Window, moved);
            EXPECT_TRUE(testsupport::WaitFor([&] { return standing() == moved; })) << Text(standing());
        }
        if (waitOver) {
            testsupport::RunEventLoopPast(std::chrono::milliseconds(WindowManagerWaitMs + 1000));
        }
        EXPECT_EQ(standing(), moveIt ? moved : Area()) << Text(standing());
        const QRect stood = standing();
        Stop();
        EXPECT_EQ(Stored(), stood) << Text(Stored());
    }
}

TEST_F(MainWindowX11, AFirstStartGivesThePreviewTheShippedShare)
{
    Start("");
    EXPECT_EQ(Outer(*Window).size(), QSize(DefaultMainWidth, DefaultMainHeight));
    EXPECT_EQ(Window->PanelGL->width(), ShippedPanelGLWidth);
    Stop();
    EXPECT_EQ(StoredPanelWidth(), ShippedPanelGLWidth);
    EXPECT_EQ(Stored().size(), QSize(DefaultMainWidth, DefaultMainHeight));
    // What ships says the same.
    const TIniFile shipped(std::string(KERFPAD_DATA_DIR) + "/kerfpad.ini");
    EXPECT_EQ(shipped.ReadInteger("Main", "PanelGLWidth", -1), ShippedPanelGLWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Width", -1), DefaultMainWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Height", -1), DefaultMainHeight);
}

// A first start, without settings or with stored bounds, on any screen (ctest runs it
// on 1,024 x 768 and 800 x 600 too): where the window manager puts the window, or
// where the bounds say, its frame lies on the screen and outside the panels (and dwm's
// bar, which dwm announces in no work area: with the bar hidden, Alt+B, the whole
// screen is free), as large as its own size where the screen holds it, and the same
// bounds come back at every start. A window that runs off the screen moves inside it at once,
// by as much as it must (fluxbox answered a second request after the window had been
// taken as placed).
using FirstStartX11 = MainWindowX11;

TEST_F(FirstStartX11, TheFrameOpensOnTheScreenOutsideThePanels)
{
    // Five starts from `settings` on `area`: the first shows the window at `shown` where
    // that is known, as large as its own size or as the area where `ownSize` says so.
    const auto fiveStarts = [&](const QRect& area, std::string settings, std::optional<QRect> first, bool ownSize) {
        for (int start = 0; start < 5; ++start) {
            Start(settings);
            const QRect frame = Outer(*Window);
            first = first.value_or(frame);
            EXPECT_TRUE(area.contains(frame)) << "start " << start << ": " << Text(frame) << " in " << Text(area);
            if (ownSize) {
                EXPECT_EQ(frame.size(), QSize(DefaultMainWidth, DefaultMainHeight).boundedTo(area.size()))
                    << "start " << start << ": " << Text(frame);
            }
            EXPECT_EQ(frame, *first) << "start " << start << ": " << Text(frame);
            Stop();
            EXPECT_EQ(Stored(), *first) << "start " << start << ": " << Text(Stored());
            settings = ReadSettings();
        }
    };
    const QRect a = Area();
    const int screenTop = QApplication::primaryScreen()->geometry().top();
    const struct {
        const char* What;
        std::string Settings;
        bool OwnSize;
        std::optional<QRect> Shown;
    } cases[] = {
        // First: the first window of a process is sized before its frame is known, and
        // then under dwm, on the screen's whole width, it grew by its border and moved
        // by it (Qt's stale size, Qt's position with the border taken for a frame).
        {"wider than the screen", BoundsSettings({a.left(), a.top(), a.width() + 300, a.height() / 2}), false,
         QRect(a.left(), a.top(), a.width(), a.height() / 2)},
        {"no settings", "", true, std::nullopt},
        {"the shipped settings", "[Main]\nWidth=1200\nHeight=760\nPanelGLWidth=560\n", true, std::nullopt},
        {"running off the bottom",
         BoundsSettings({a.left() + 40, a.bottom() + 1 - a.height() / 3, a.width() / 2, a.height() * 2 / 3}), false,
         QRect(a.left() + 40, a.bottom() + 1 - a.height() * 2 / 3, a.width() / 2, a.height() * 2 / 3)},
        {"its top edge a few pixels below the screen's", BoundsSettings({a.left() + 40, screenTop + 5, 500, 400}),
         false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        fiveStarts(a, c.Settings, c.Shown, c.OwnSize);
    }
    if (WindowManager() == "dwm") {
        SCOPED_TRACE("dwm's bar hidden");
        ASSERT_TRUE(testsupport::PressKeys("alt+b"));
        ASSERT_TRUE(testsupport::WaitFor([] { return !DwmBar(); }));
        fiveStarts(Area(), "", std::nullopt, true);
        EXPECT_TRUE(testsupport::PressKeys("alt+b"));
        EXPECT_TRUE(testsupport::WaitFor([] { return DwmBar().has_value(); }));
    }
}

// A window manager that exits while the window is up hands the window back unframed where
// its frame stood; Alt+F4, which the application then takes itself, writes back the
// bounds the window had under it, so that it comes back as it was (openbox's exit wrote
// back 1,198 x 735, icewm's 95, 56). ctest runs it on a display of its own, under openbox
// and icewm.
using WindowManagerGoneX11 = MainWindowX11;

TEST_F(WindowManagerGoneX11, AltF4WritesBackTheBoundsTheWindowHad)
{
    const char* pid = std::getenv("KERFPAD_TEST_WINDOW_MANAGER_PID");
    if (!UnderWindowManager() || pid == nullptr || *pid == '\0' || !testsupport::HaveXdotool()) {
        GTEST_SKIP() << "no window manager to end, or no xdotool";
    }
    const QRect normal(100, 80, 1200, 760);
    Start(BoundsSettings(normal));
    ASSERT_EQ(Outer(*Window), normal);
    const QSize own = OwnArea(*Window).Inner.size();
    ASSERT_EQ(::kill(std::atoi(pid), SIGTERM), 0);
    ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window, [&] {
        const std::optional<TX11WindowState> state = ReadX11WindowState(*Window->windowHandle());
        return state && !state->Managed && OwnArea(*Window).Inner == QRect(normal.topLeft(), own);
    })) << Text(OwnArea(*Window).Inner);
    // Nobody gives the window the keyboard now: the user does, as xdotool's windowfocus
    // does (Qt still asks the window manager that has gone).
    xcb_set_input_focus(Connection(), XCB_INPUT_FOCUS_POINTER_ROOT, xcb_window_t(Window->winId()),
                        XCB_CURRENT_TIME);
    xcb_flush(Connection());
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
        return focus && focus->Window == Window->winId() &&
               QGuiApplication::focusWindow() == Window->windowHandle();
    }));
    ASSERT_TRUE(testsupport::PressKeys("alt+F4"));
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Window->isVisible(); }));
    Stop();
    EXPECT_EQ(Stored(), normal) << Text(Stored());
}

class MessagesX11 : public TRunTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
    }
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
