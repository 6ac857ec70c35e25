#pragma once
// Qt's own connection to the X server, for the few requests Qt makes no call for: every
// request goes out in order with Qt's. nullptr off X11.

#include <xcb/xcb.h>

xcb_connection_t* QtX11Connection();
