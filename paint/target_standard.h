// The fourteen target standards' transfer functions, and the pair of line
// levels that carries a solid grey's linear light under the current standard.
// All arithmetic is in extended precision.
#pragma once

#include <cstdint>

constexpr int32_t StandardCount = 14;

// The selector texts, by standard index.
extern const char* const TargetStandardNames[StandardCount];

enum class TTransferCurve { Srgb, Power, Bt1886, Bt709 };

struct TTransfer {
  TTransferCurve Kind;
  long double Parameter;  // the exponent of a power curve, the black in nits of BT.1886
};

// The transfer function of standard `index`; Gamma 2.2's for an index outside
// the list, as curve files may hold any number.
const TTransfer& StandardTransfer(int32_t index);

// Linear light 0..1 to signal 0..1 (and back) under CurrentStandard.
long double StandardEncode(long double light);
long double StandardDecode(long double signal);

// BT.1886 with a display black of `blackNits` against a 100-nit white.
long double Bt1886Encode(long double light, long double blackNits);
long double Bt1886Decode(long double signal, long double blackNits);

struct TDitherPair {
  int32_t Low = 0;
  int32_t High = 0;
  bool operator==(const TDitherPair&) const = default;
};

// Two levels whose alternating lines carry, under CurrentStandard, the mean
// linear light of a solid area at `level` (0..255).
TDitherPair DitherPair(int32_t level);
