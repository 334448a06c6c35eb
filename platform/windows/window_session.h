// Normal mode in the native window.
#pragma once

#include "paint/image_decoder.h"

// The process asks to see monitors and DPI as they are, per monitor (version
// 2, else version 1), in case its manifest did not already: a program that
// Windows scales sees virtual monitor rectangles. Call it before the
// displays are discovered.
void DeclarePerMonitorDpiAwareness();

// The editing session: the calibration window over the first display, then
// the background window behind it, and the message loop until the
// calibration window has closed.
void RunWindowSession(ImageDecoder* decoder);
