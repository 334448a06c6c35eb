// The calibration window in the build's own toolkit. Each target's window
// implements it; main() calls it in normal mode unless TONEMARK_SCRIPT asks
// for the scripted view.
#pragma once

#include "paint/image_decoder.h"

// Creates the window at the first display's DPI, starts its session, runs the
// message loop and returns when the window has closed. Without a decoder no
// picture is loaded.
void RunNativeSession(TImageDecoder* decoder);
