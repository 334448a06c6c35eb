// The one QApplication of the process, made when first needed: on X11, with
// Qt's own high-DPI scaling off, since the window scales its geometry itself
// and one window pixel must be one screen pixel.
#pragma once

class QApplication;

QApplication& QtApplication();

// True when an X display can be reached; Qt would end the process otherwise.
bool XDisplayReachable();
