// Desktop icons made from the emblem.
#pragma once

#include "resources/generate/image_files.h"

// The emblem scaled to size × size by area averaging, with the black around
// its tile made transparent: RGBA pixels. The emblem is its tile's colour
// times the tile's coverage, so dividing by the coverage gives the colour back.
TPixels MakeIcon(const TPixels& hero, int size);
