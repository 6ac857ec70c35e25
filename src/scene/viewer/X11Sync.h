#pragma once
// Makes the X server see every request Qt has queued (a freshly created window, say)
// before a second connection, the GLX context's own, refers to it. Does nothing on a
// platform other than X11.

void SyncQtX11Connection();
