// Video cards whose ramps have another number of entries than 256: the
// 256-entry ramp is stretched to their size, and theirs back to 256.
#pragma once

#include <cstdint>
#include <vector>

#include "ramp/records.h"

// `source` resampled to `size` entries by linear interpolation, first and last
// entries kept; rounded to the nearest value.
std::vector<uint16_t> ResampleChannel(const std::vector<uint16_t>& source, int size);

// The ramp as a card of `size` entries per channel holds it: red, green, blue,
// `size` entries each.
std::vector<uint16_t> RampToCardEntries(const TGammaRamp& ramp, int size);
// A card's 3 x `size` entries as the 256-entry ramp.
TGammaRamp RampFromCardEntries(const std::vector<uint16_t>& entries, int size);

// What a card of `size` entries per channel gives back when it kept `ramp`:
// the ramp itself at 256 entries, else its round trip through the card's size,
// which differs from it by the error of resampling twice.
TGammaRamp ReadBackOf(const TGammaRamp& ramp, int size);
// True when a ramp read back is the one loaded, as a card keeps it at its own
// precision (8, 10 or 12 bits); a ramp the card replaced, or left as it was,
// is further from it.
bool HeldAsLoaded(const TGammaRamp& held, const TGammaRamp& loaded);
