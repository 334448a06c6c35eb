#include "platform/wayland/kde_displays.h"

#include <algorithm>

#include "lang/multilang.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/kde_output_management.h"

TKdeDisplays::TKdeDisplays(std::string drmFolder) : TNoRampDisplays(KdeBackendLabel, std::move(drmFolder)) {}

TKeyedText TKdeDisplays::ReadOutputs() {
  const TKeyedText problem = TNoRampDisplays::ReadOutputs();
  const TKdeOutputManagement kwin;
  withoutProfiles_.clear();
  for (const TWaylandOutput& output : Outputs)
    if (!kwin.TakesProfile(output.Name)) withoutProfiles_.push_back(output.Name);
  return problem;
}

std::string TKdeDisplays::RampRefusal(TDisplayHandle display) {
  const TWaylandOutput* output = OutputOf(display);
  if (output == nullptr) return "";
  const bool takesNoProfile =
      std::find(withoutProfiles_.begin(), withoutProfiles_.end(), output->Name) != withoutProfiles_.end();
  return takesNoProfile ? KWinTakesNoProfileReason() : Translate("MKWinLoadsProfile");
}
