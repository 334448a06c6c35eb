// The CRTC's gamma ramp as the model's 3 x 256 ramp, resampled when the
// CRTC's ramp has another size. Load mode runs at every log-on and resume,
// so each call makes as few round trips to the server as it can.
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <xcb/randr.h>

#include <cstdlib>

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
  const std::vector<uint16_t> entries = RampToCardEntries(ramp, size);
  // A checked request hands its error to this call alone. Xlib's error
  // handler belongs to the whole process, and a toolkit that opens its own
  // connection later (Qt does) takes it over and swallows every error.
  xcb_connection_t* connection = XGetXCBConnection(display_);
  const xcb_void_cookie_t cookie = xcb_randr_set_crtc_gamma_checked(
      connection, static_cast<xcb_randr_crtc_t>(output->Crtc), static_cast<uint16_t>(size), entries.data(),
      entries.data() + size, entries.data() + 2 * size);
  xcb_generic_error_t* error = xcb_request_check(connection, cookie);
  if (error == nullptr) return true;
  std::free(error);
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
