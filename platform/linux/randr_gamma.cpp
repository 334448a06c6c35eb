// The CRTC's gamma ramp as the model's 3 x 256 ramp, resampled when the
// CRTC's ramp has another size.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/linux/randr_displays.h"
#include "platform/linux/randr_errors.h"
#include "ramp/ramp_resample.h"

namespace {

std::vector<uint16_t> Channel(const TGammaRamp& ramp, int channel) {
  return {ramp.begin() + channel * LevelCount, ramp.begin() + (channel + 1) * LevelCount};
}

}  // namespace

bool TRandrDisplays::GetRamp(TDisplayHandle handle, TGammaRamp& ramp) {
  const TRandrOutput* output = OutputOf(handle);
  if (display_ == nullptr || output == nullptr || output->Crtc == None) return false;
  const unsigned long errors = XErrorCount();
  const int size = XRRGetCrtcGammaSize(display_, output->Crtc);
  if (size <= 0 || !XSucceededSince(display_, errors)) return false;
  XRRCrtcGamma* gamma = XRRGetCrtcGamma(display_, output->Crtc);
  if (gamma == nullptr || !XSucceededSince(display_, errors) || gamma->size != size) {
    if (gamma != nullptr) XRRFreeGamma(gamma);
    return false;
  }
  const unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
  for (int c = 0; c < 3; ++c) {
    const std::vector<uint16_t> read =
        ResampleChannel(std::vector<uint16_t>(channels[c], channels[c] + size), LevelCount);
    std::copy(read.begin(), read.end(), ramp.begin() + c * LevelCount);
  }
  XRRFreeGamma(gamma);
  return true;
}

bool TRandrDisplays::SetRamp(TDisplayHandle handle, const TGammaRamp& ramp) {
  const TRandrOutput* output = OutputOf(handle);
  if (display_ == nullptr || output == nullptr || output->Crtc == None) return false;
  const unsigned long errors = XErrorCount();
  const int size = XRRGetCrtcGammaSize(display_, output->Crtc);
  if (size <= 0 || !XSucceededSince(display_, errors)) return false;
  XRRCrtcGamma* gamma = XRRAllocGamma(size);
  if (gamma == nullptr) return false;
  unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
  for (int c = 0; c < 3; ++c) {
    const std::vector<uint16_t> written = ResampleChannel(Channel(ramp, c), size);
    std::copy(written.begin(), written.end(), channels[c]);
  }
  XRRSetCrtcGamma(display_, output->Crtc, gamma);
  XRRFreeGamma(gamma);
  return XSucceededSince(display_, errors);
}
