#include "platform/gui/X11WindowState.h"

#include "platform/gui/X11Connection.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

template <class R>
using TReply = std::unique_ptr<R, decltype(&std::free)>;

template <class R>
TReply<R> Reply(R* reply)
{
    return TReply<R>(reply, &std::free);
}

struct TAtoms {
    xcb_atom_t SupportingWmCheck, Supported, FrameExtents, State, MaximizedVert, MaximizedHorz, Fullscreen, Hidden,
        WmState, WorkArea;
};

// Interned once: the application keeps one connection.
const TAtoms& Atoms(xcb_connection_t* c)
{
    static const TAtoms atoms = [c] {
        const char* names[] = {"_NET_SUPPORTING_WM_CHECK",     "_NET_SUPPORTED",
                               "_NET_FRAME_EXTENTS",           "_NET_WM_STATE",
                               "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                               "_NET_WM_STATE_FULLSCREEN",     "_NET_WM_STATE_HIDDEN",
                               "WM_STATE",                     "_NET_WORKAREA"};
        xcb_intern_atom_cookie_t cookies[std::size(names)];
        for (std::size_t i = 0; i < std::size(names); ++i) {
            cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
        }
        xcb_atom_t found[std::size(names)] = {};
        for (std::size_t i = 0; i < std::size(names); ++i) {
            if (auto reply = Reply(xcb_intern_atom_reply(c, cookies[i], nullptr))) {
                found[i] = reply->atom;
            }
        }
        return TAtoms{found[0], found[1], found[2], found[3], found[4], found[5], found[6], found[7], found[8], found[9]};
    }();
    return atoms;
}

// The 32-bit values of a property (the first `most`), none where it is missing or of
// another type.
std::vector<std::uint32_t> Values(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                  std::uint32_t most = 64)
{
    auto reply = Reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, most), nullptr));
    if (!reply || reply->format != 32 || reply->type != type) {
        return {};
    }
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

// A window manager keeps the property on the root and on a window of its own, which
// names itself: one that has gone leaves the root's naming a window that is gone. The
// window it names, none where no window manager runs.
std::optional<xcb_window_t> WindowManagerCheck(xcb_connection_t* c, xcb_window_t root, const TAtoms& atoms)
{
    const auto check = Values(c, root, atoms.SupportingWmCheck, XCB_ATOM_WINDOW);
    if (check.empty()) {
        return std::nullopt;
    }
    const auto own = Values(c, check.front(), atoms.SupportingWmCheck, XCB_ATOM_WINDOW);
    if (own.empty() || own.front() != check.front()) {
        return std::nullopt;
    }
    return check.front();
}

bool WindowManagerRuns(xcb_connection_t* c, xcb_window_t root, const TAtoms& atoms)
{
    return WindowManagerCheck(c, root, atoms).has_value();
}

// What the window manager says it supports (_NET_SUPPORTED); window managers list a few
// hundred atoms at most.
std::vector<std::uint32_t> Supported(xcb_connection_t* c, xcb_window_t root, const TAtoms& atoms)
{
    return Values(c, root, atoms.Supported, XCB_ATOM_ATOM, 1024);
}

// Holds every live watch and calls it, from the event loop, when its window's frame or
// state changes.
class TStateFilter final : public QAbstractNativeEventFilter {
public:
    struct TEntry {
        unsigned Window;
        std::function<void()> Changed;
        std::function<void()> Configured;
        std::unique_ptr<QObject> Context; // cancels a pending call with the watch
        // The number of the last request of ours the X server had taken when the window
        // was last told where it stands.
        bool WasConfigured = false;
        std::uint32_t ConfiguredAfter = 0;
    };

    static TStateFilter& Instance()
    {
        static TStateFilter* filter = [] {
            auto* f = new TStateFilter;
            QCoreApplication::instance()->installNativeEventFilter(f);
            return f;
        }();
        return *filter;
    }

    std::vector<std::unique_ptr<TEntry>> Entries;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            for (const auto& entry : Entries) {
                if (entry->Window == configure->window) {
                    entry->WasConfigured = true;
                    entry->ConfiguredAfter = event->full_sequence;
                    if (entry->Configured) {
                        QTimer::singleShot(0, entry->Context.get(), [configured = entry->Configured] { configured(); });
                    }
                }
            }
            return false;
        }
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
            return false;
        }
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        xcb_connection_t* c = QtX11Connection();
        if (c == nullptr) {
            return false;
        }
        const TAtoms& atoms = Atoms(c);
        if (property->atom != atoms.FrameExtents && property->atom != atoms.State && property->atom != atoms.WmState) {
            return false;
        }
        for (const auto& entry : Entries) {
            if (entry->Window == property->window) {
                QTimer::singleShot(0, entry->Context.get(), [changed = entry->Changed] { changed(); });
            }
        }
        return false;
    }
};

} // namespace

std::optional<TX11WindowState> ReadX11WindowState(const QWindow& window)
{
    xcb_connection_t* c = QtX11Connection();
    if (c == nullptr || window.handle() == nullptr) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    auto geometry = Reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    auto corner = Reply(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, geometry->root, 0, 0), nullptr));
    if (!corner) {
        return std::nullopt;
    }
    const TAtoms& atoms = Atoms(c);
    TX11WindowState state;
    state.Inner = QRect(corner->dst_x, corner->dst_y, geometry->width, geometry->height);
    state.Managed = WindowManagerRuns(c, geometry->root, atoms);
    state.Border = geometry->border_width;
    const auto supported = state.Managed ? Supported(c, geometry->root, atoms) : std::vector<std::uint32_t>();
    const auto supports = [&supported](xcb_atom_t atom) {
        return std::find(supported.begin(), supported.end(), atom) != supported.end();
    };
    state.ReportsFrames = supports(atoms.FrameExtents);
    // _NET_FRAME_EXTENTS is left, right, top, bottom.
    if (const auto extents = Values(c, id, atoms.FrameExtents, XCB_ATOM_CARDINAL); extents.size() >= 4) {
        state.Framed = true;
        state.Frame = QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
    }
    // A state the window manager does not support is what Qt wrote for one to read (dwm
    // maximises no window).
    int maximized = 0;
    for (const std::uint32_t atom : Values(c, id, atoms.State, XCB_ATOM_ATOM)) {
        if (!supports(atom)) {
            continue;
        }
        maximized += atom == atoms.MaximizedVert || atom == atoms.MaximizedHorz ? 1 : 0;
        if (atom == atoms.MaximizedVert || atom == atoms.MaximizedHorz || atom == atoms.Fullscreen ||
            atom == atoms.Hidden) {
            state.Normal = false;
        }
    }
    state.Maximized = maximized == 2;
    // WM_STATE is of its own type; its first value 1 is normal, 3 iconic, 0 withdrawn.
    if (const auto wmState = Values(c, id, atoms.WmState, atoms.WmState); !wmState.empty()) {
        state.Held = wmState.front() == 1 || wmState.front() == 3;
    }
    return state;
}

std::vector<QRect> ReadX11WindowManagerBars()
{
    xcb_connection_t* c = QtX11Connection();
    if (c == nullptr) {
        return {};
    }
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const TAtoms& atoms = Atoms(c);
    const std::optional<xcb_window_t> check = WindowManagerCheck(c, root, atoms);
    if (!check) {
        return {};
    }
    const auto supported = Supported(c, root, atoms);
    if (std::find(supported.begin(), supported.end(), atoms.WorkArea) != supported.end()) {
        return {};
    }
    // Every client's windows share the bits outside the resource mask, which the server
    // gives each client alike.
    const std::uint32_t client = *check & ~setup->resource_id_mask;
    auto tree = Reply(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_window_t> own;
    for (int i = 0; i < count; ++i) {
        if ((children[i] & ~setup->resource_id_mask) == client && children[i] != *check) {
            own.push_back(children[i]);
        }
    }
    // All requests first, then all replies: one round trip.
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_geometry_cookie_t> geometries;
    for (const xcb_window_t window : own) {
        attributes.push_back(xcb_get_window_attributes(c, window));
        geometries.push_back(xcb_get_geometry(c, window));
    }
    std::vector<QRect> bars;
    for (std::size_t i = 0; i < own.size(); ++i) {
        auto attribute = Reply(xcb_get_window_attributes_reply(c, attributes[i], nullptr));
        auto geometry = Reply(xcb_get_geometry_reply(c, geometries[i], nullptr));
        if (attribute && geometry && attribute->override_redirect != 0 &&
            attribute->map_state == XCB_MAP_STATE_VIEWABLE) {
            const int border = geometry->border_width;
            bars.emplace_back(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
        }
    }
    return bars;
}

std::optional<std::uint32_t> ConfigureX11Window(const QWindow& window, const QRect& inner, const QMargins& frame)
{
    xcb_connection_t* c = QtX11Connection();
    if (c == nullptr || window.handle() == nullptr) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    // WM_NORMAL_HINTS: flags, then win_gravity as its eighteenth value (PWinGravity);
    // without it a position is the frame's corner (NorthWest), with Static the corner of
    // the window's own border (which dwm draws, and a reparenting window manager takes).
    const auto hints = Values(c, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    const bool ownCorner = hints.size() > 17 && (hints[0] & (1u << 9)) != 0 && hints[17] == XCB_GRAVITY_STATIC;
    auto geometry = Reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    const int border = geometry ? geometry->border_width : 0;
    const QPoint corner = ownCorner ? inner.topLeft() - QPoint(border, border)
                                    : inner.topLeft() - QPoint(frame.left(), frame.top());
    const std::uint32_t values[] = {static_cast<std::uint32_t>(corner.x()), static_cast<std::uint32_t>(corner.y()),
                                    static_cast<std::uint32_t>(inner.width()),
                                    static_cast<std::uint32_t>(inner.height())};
    const xcb_void_cookie_t request = xcb_configure_window(
        c, id, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(c);
    return std::uint32_t(request.sequence);
}

TX11StateWatch::TX11StateWatch(const QWindow& window, std::function<void()> changed,
                               std::function<void()> configured)
{
    if (QtX11Connection() == nullptr) {
        return;
    }
    FWindow = static_cast<unsigned>(window.winId());
    TStateFilter::Instance().Entries.push_back(std::make_unique<TStateFilter::TEntry>(
        TStateFilter::TEntry{FWindow, std::move(changed), std::move(configured), std::make_unique<QObject>()}));
    // Remembered by address: two watches on one window are two entries.
    FEntry = TStateFilter::Instance().Entries.back().get();
}

bool TX11StateWatch::AnsweredSince(std::uint32_t request) const
{
    const auto* entry = static_cast<const TStateFilter::TEntry*>(FEntry);
    // Numbers wrap; an answer comes within half their range.
    return entry != nullptr && entry->WasConfigured && std::int32_t(entry->ConfiguredAfter - request) >= 0;
}

TX11StateWatch::~TX11StateWatch()
{
    if (FEntry == nullptr) {
        return;
    }
    auto& entries = TStateFilter::Instance().Entries;
    std::erase_if(entries, [this](const auto& entry) { return entry.get() == FEntry; });
}
