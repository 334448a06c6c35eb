// The emblem of the welcome page, also made into the desktop icons: a tone
// curve per channel over a grid, with a grey step wedge below, on a dark tile.
#pragma once

#include "resources/generate/picture.h"

inline constexpr int HeroSize = 512;

// The emblem on black, HeroSize × HeroSize.
TPicture PaintHero();
// How much of the pixel whose centre is (x, y) the tile covers, 0..1. Outside
// the tile the emblem is black, so a pixel is the tile's colour times this.
float HeroTileCoverage(float x, float y);

// Where the wedge's steps lie, for checks: step i of HeroWedgeSteps spans
// x from HeroWedgeLeft + i × HeroWedgeStep, at height HeroWedgeMiddle.
inline constexpr int HeroWedgeSteps = 9;
inline constexpr int HeroWedgeLeft = 112;
inline constexpr int HeroWedgeStep = 32;
inline constexpr int HeroWedgeMiddle = 424;
int HeroWedgeLevel(int step);
