// The one QApplication of the process, made when first needed, with Qt's own
// high-DPI scaling off, since the window scales its geometry itself and one
// window pixel must be one screen pixel. In a Wayland session it is a native
// Wayland client; elsewhere (and with TONEMARK_BACKEND=x11) an X11 one, since
// RandR and the window's X hints need X11.
#pragma once

class QApplication;

QApplication& QtApplication();

// True in a Wayland session, unless TONEMARK_BACKEND=x11 asks for Xwayland.
bool WaylandSession();
// True when the window system that QtApplication connects to can be reached;
// Qt would end the process otherwise.
bool WindowSystemReachable();
// True when the window is a native Wayland window; valid once QtApplication
// has been made.
bool OnWayland();
