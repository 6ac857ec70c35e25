#pragma once
// Where the X server's keyboard focus is at the moment of asking, and giving it to a
// window. Qt learns of a change by events that come later, and keeps a pop-up (a
// completion list) as its focus window while the pop-up only grabs the keyboard; code
// that must know whether the keyboard was left with no window asks the server. Nothing
// off X11.

#include <cstdint>
#include <optional>

class QWindow;

struct TX11InputFocus {
    // With no window: none, the pointer's root, or the root window itself, where the
    // server puts it when the window that had it is unmapped and no window manager
    // gives it on. Keys then reach no window of the application.
    bool Nowhere = false;
    // The window that has it, else 0.
    std::uint32_t Window = 0;
};

// Asks the server; every request sent before is handled by then.
std::optional<TX11InputFocus> ReadX11InputFocus();

// Gives `window` the X server's keyboard focus, as a window manager does when it
// activates a window; false off X11 or before the window is made.
bool GiveX11InputFocus(const QWindow& window);
