// The CRTC's gamma ramp as the model's 3 x 256 ramp, resampled when the
// CRTC's ramp has another size. Load mode runs at every log-on and resume,
// so each call makes as few round trips to the server as it can.
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

int TRandrDisplays::GammaSizeOf(TRandrOutput& output) {
  if (output.GammaSize <= 0) {
    const unsigned long errors = XErrorCount();
    const int size = XRRGetCrtcGammaSize(display_, output.Crtc);
    output.GammaSize = XErrorCount() == errors ? size : 0;
  }
  return output.GammaSize;
}

bool TRandrDisplays::GetRamp(TDisplayHandle handle, TGammaRamp& ramp) {
  TRandrOutput* output = OutputOf(handle);
  if (display_ == nullptr || output == nullptr || output->Crtc == None) return false;
  // An error reaches the trap before the reply would have, so no sync.
  const unsigned long errors = XErrorCount();
  XRRCrtcGamma* gamma = XRRGetCrtcGamma(display_, output->Crtc);
  const bool ok = gamma != nullptr && gamma->size > 0 && XErrorCount() == errors;
  if (ok) {
    output->GammaSize = gamma->size;
    const unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
    for (int c = 0; c < 3; ++c) {
      const std::vector<uint16_t> read(channels[c], channels[c] + gamma->size);
      const std::vector<uint16_t> levels =
          gamma->size == LevelCount ? read : ResampleChannel(read, LevelCount);
      std::copy(levels.begin(), levels.end(), ramp.begin() + c * LevelCount);
    }
  }
  if (gamma != nullptr) XRRFreeGamma(gamma);
  return ok;
}

bool TRandrDisplays::SetRamp(TDisplayHandle handle, const TGammaRamp& ramp) {
  TRandrOutput* output = OutputOf(handle);
  if (display_ == nullptr || output == nullptr || output->Crtc == None) return false;
  const int size = GammaSizeOf(*output);
  if (size <= 0) return false;
  XRRCrtcGamma* gamma = XRRAllocGamma(size);
  if (gamma == nullptr) return false;
  unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
  for (int c = 0; c < 3; ++c) {
    const std::vector<uint16_t> levels = Channel(ramp, c);
    const std::vector<uint16_t> written =
        size == LevelCount ? levels : ResampleChannel(levels, size);
    std::copy(written.begin(), written.end(), channels[c]);
  }
  const unsigned long errors = XErrorCount();
  XRRSetCrtcGamma(display_, output->Crtc, gamma);
  XRRFreeGamma(gamma);
  if (XSucceededSince(display_, errors)) return true;
  // The CRTC may have changed its ramp size; ask again next time.
  output->GammaSize = 0;
  return false;
}
