// The CRTC's gamma ramp as the model's 3 x 256 ramp, resampled when the
// CRTC's ramp has another size. Load mode runs at every log-on and resume,
// so each call makes as few round trips to the server as it can.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/linux/randr_displays.h"
#include "platform/linux/randr_errors.h"
#include "ramp/ramp_resample.h"

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
    std::vector<uint16_t> entries;
    for (const unsigned short* channel : {gamma->red, gamma->green, gamma->blue})
      entries.insert(entries.end(), channel, channel + gamma->size);
    ramp = RampFromCardEntries(entries, gamma->size);
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
  const std::vector<uint16_t> entries = RampToCardEntries(ramp, size);
  unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
  for (int c = 0; c < 3; ++c)
    std::copy(entries.begin() + c * size, entries.begin() + (c + 1) * size, channels[c]);
  const unsigned long errors = XErrorCount();
  XRRSetCrtcGamma(display_, output->Crtc, gamma);
  XRRFreeGamma(gamma);
  if (XSucceededSince(display_, errors)) return true;
  // The CRTC may have changed its ramp size; ask again next time.
  output->GammaSize = 0;
  return false;
}

int32_t TRandrDisplays::RampSize(TDisplayHandle handle) {
  TRandrOutput* output = OutputOf(handle);
  if (display_ == nullptr || output == nullptr || output->Crtc == None) return LevelCount;
  const int size = GammaSizeOf(*output);
  return size > 0 ? size : LevelCount;
}
