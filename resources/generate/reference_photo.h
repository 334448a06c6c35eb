// The reference photograph: a studio scene of what a display's tone response
// shows in real pictures. Skin in shaded spheres and ramps, a neutral grey
// ramp and wedge, near-black and near-white steps, saturated and pastel
// patches, and fine detail at full and at low contrast.
#pragma once

#include <string>
#include <vector>

#include "resources/generate/picture.h"

// 3:2 like a camera's picture; it fits a 1920 × 1080 display above the
// window's bottom bar without being cut.
inline constexpr int PhotoWidth = 1560;
inline constexpr int PhotoHeight = 1040;
inline constexpr int PhotoQuality = 92;

// A flat patch: its rectangle and its colour.
struct TPatch {
  std::string Name;
  int Left, Top, Right, Bottom;
  TRgb Colour;
};

// Every flat patch of the photograph, in the order painted.
std::vector<TPatch> PhotoPatches();

TPicture PaintReferencePhoto();
