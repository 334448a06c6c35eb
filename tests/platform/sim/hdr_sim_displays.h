// Simulated displays whose Fail=live monitors say why as a Windows display in
// HDR mode does: the longest reason any back-end gives for taking no ramp, in
// the present language. The window tests lay out the bar's notice with it.
#pragma once

#include <string>

#include "lang/multilang.h"
#include "platform/sim/sim_displays.h"

class THdrSimDisplays : public TSimDisplays {
 public:
  using TSimDisplays::TSimDisplays;
  std::string RampRefusal(TDisplayHandle display) override {
    return TSimDisplays::RampRefusal(display).empty() ? "" : Translate("MHdrMode");
  }
};
