// The judge: measures a display's 256 grey levels as an instrument would and
// compares them with the target's tone curve drawn between the display's own
// black and white, in D65 grey.
#pragma once

#include <array>
#include <string>

#include "bench/observer/display_model.h"

enum class TTarget { Srgb, Gamma22, Bt1886 };

// "srgb", "gamma2.2" or "bt1886"; false for anything else.
bool ParseTarget(const std::string& text, TTarget& target);
const char* TargetName(TTarget target);

// The target standard a user picks in the window for `target` on this
// display: for BT.1886 the entry whose black level is nearest the display's
// own contrast, as its data sheet gives it.
int StandardIndexFor(TTarget target, const TDisplayModel& model);

struct TJudgement {
  double Mean = 0, P95 = 0, Max = 0;
  // Exponents of a power law fitted to the relative light of levels 26..230.
  double Gamma = 0, TargetGamma = 0;
  std::array<double, LevelCount> ShownY{}, TargetY{};  // cd/m²
  std::array<double, LevelCount> Difference{};         // ΔE00 by level
};

TJudgement Judge(const TDisplayModel& model, const TGammaRamp& ramp, TTarget target);
