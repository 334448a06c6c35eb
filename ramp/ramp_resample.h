// Video cards whose ramps have another number of entries than 256: the
// 256-entry ramp is stretched to their size, and theirs back to 256.
#pragma once

#include <cstdint>
#include <vector>

// `source` resampled to `size` entries by linear interpolation, first and last
// entries kept; rounded to the nearest value.
std::vector<uint16_t> ResampleChannel(const std::vector<uint16_t>& source, int size);
