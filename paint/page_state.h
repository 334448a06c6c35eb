// What the calibration window shows, as the patterns read it. The window
// writes these; the painters and the background window only read them.
#pragma once

#include <cstdint>

// The pages in tab order; a page's number is its tab index.
enum TPageNumber : int32_t {
  WelcomePage, BlackPointPage, WhitePointPage, GammaPage, SharpPage, ColorBalancePage,
  CorrectionPointsPage, AllControlsPage, GraysPage, HighlightsPage, ShadowsPage, GradientPage,
  ReferenceImagePage
};
constexpr int32_t PageCount = ReferenceImagePage + 1;

// Ordinal 0..12 of the page shown, equal to its tab index.
extern int32_t CurrentPage;
// Index 0..13 of the target standard whose transfer functions the patterns
// use; any other value behaves as Gamma 2.2.
extern int32_t CurrentStandard;
