// Pictures built into the program, found by their resource name.
#pragma once

#include <string>
#include <vector>

#include "paint/canvas.h"

// Decodes the picture stored under `name` ("heropng"); false for a name that
// the program does not hold.
bool LoadEmbeddedPicture(const std::string& name, TBitmap& bitmap);
// The names of the pictures that the program holds.
std::vector<std::string> EmbeddedPictureNames();
