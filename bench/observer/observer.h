// The observer: calibrates a display through the calibration window the way
// a careful person follows each page's help text. It sees only the light of
// the page's areas, averaged over their lines as the eye averages fine lines,
// and tells two areas apart when their CIEDE2000 difference reaches its
// threshold; it acts only through the window's controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/observer/display_model.h"

enum class TObserverKind {
  Ideal,   // sees 0.5 ΔE00, judges without noise
  Typical  // sees 1.0 ΔE00, each judgement with seeded noise
};

struct TObserverRun {
  std::vector<std::string> Script;  // every user action, in the scripted view's grammar
  TGammaRamp Ramp{};                // what the display shows through at the end
  std::vector<std::string> Notes;   // where a page stopped the observer short
};

TObserverRun Calibrate(const TDisplayModel& model, int32_t standard, TObserverKind kind, uint32_t seed);
