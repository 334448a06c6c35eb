#include "paint/target_standard.h"

#include <cmath>

#include "paint/page_state.h"
#include "paint/scaling.h"

const char* const TargetStandardNames[StandardCount] = {
    "sRGB IEC 61966-2-1", "Gamma 2.2",         "BT.1886 0.50 nits", "BT.1886 0.20 nits",
    "BT.1886 0.15 nits",  "BT.1886 0.05 nits", "BT.1886 0.01 nits", "BT.1886 0 nits / G 2.4",
    "Gamma 2.6",          "Gamma 2.35",        "Gamma 2.0",         "Gamma 1.96",
    "Gamma 1.8",          "ITU-R BT.709-6 Scene",
};

namespace {

constexpr TTransfer Transfers[StandardCount] = {
    {TTransferCurve::Srgb, 0},      {TTransferCurve::Power, 2.2L},   {TTransferCurve::Bt1886, 0.50L}, {TTransferCurve::Bt1886, 0.20L},
    {TTransferCurve::Bt1886, 0.15L}, {TTransferCurve::Bt1886, 0.05L}, {TTransferCurve::Bt1886, 0.01L}, {TTransferCurve::Power, 2.4L},
    {TTransferCurve::Power, 2.6L},  {TTransferCurve::Power, 2.35L},  {TTransferCurve::Power, 2.0L},   {TTransferCurve::Power, 1.96L},
    {TTransferCurve::Power, 1.8L},  {TTransferCurve::Bt709, 0},
};

constexpr int32_t FallbackStandard = 1;  // Gamma 2.2

const TTransfer& CurrentTransfer() { return StandardTransfer(CurrentStandard); }

struct TBt1886 {
  long double Gain;    // a
  long double Offset;  // beta
};

TBt1886 Bt1886Parameters(long double blackNits) {
  const long double black = blackNits / 100.0L;
  const long double root = std::pow(black, 1.0L / 2.4L);
  return {std::pow(1.0L - root, 2.4L), root / (1.0L - root)};
}

}  // namespace

const TTransfer& StandardTransfer(int32_t index) {
  const bool known = index >= 0 && index < StandardCount;
  return Transfers[known ? index : FallbackStandard];
}

long double Bt1886Encode(long double light, long double blackNits) {
  if (light < 0) return 0;
  const TBt1886 bt = Bt1886Parameters(blackNits);
  return std::pow(light / bt.Gain, 1.0L / 2.4L) - bt.Offset;
}

long double Bt1886Decode(long double signal, long double blackNits) {
  const TBt1886 bt = Bt1886Parameters(blackNits);
  if (signal + bt.Offset < 0) return 0;
  return bt.Gain * std::pow(signal + bt.Offset, 2.4L);
}

long double StandardEncode(long double light) {
  const TTransfer& transfer = CurrentTransfer();
  switch (transfer.Kind) {
    case TTransferCurve::Srgb:
      return light <= 0.0031308L ? 12.92L * light
                                 : 1.055L * std::pow(light, 1.0L / 2.4L) - 0.055L;
    case TTransferCurve::Bt709:
      return light <= 0.018L ? 4.5L * light : 1.099L * std::pow(light, 0.45L) - 0.099L;
    case TTransferCurve::Bt1886:
      return Bt1886Encode(light, transfer.Parameter);
    case TTransferCurve::Power:
      break;
  }
  return std::pow(light, 1.0L / transfer.Parameter);
}

long double StandardDecode(long double signal) {
  const TTransfer& transfer = CurrentTransfer();
  switch (transfer.Kind) {
    case TTransferCurve::Srgb:
      return signal <= 0.04045L ? signal / 12.92L
                                : std::pow((signal + 0.055L) / 1.055L, 2.4L);
    case TTransferCurve::Bt709:
      return signal <= 0.081L ? signal / 4.5L
                              : std::pow((signal + 0.099L) / 1.099L, 1.0L / 0.45L);
    case TTransferCurve::Bt1886:
      return Bt1886Decode(signal, transfer.Parameter);
    case TTransferCurve::Power:
      break;
  }
  return std::pow(signal, transfer.Parameter);
}

TDitherPair DitherPair(int32_t level) {
  // The high line's light lies as far above black as twice the grey's: with
  // the low line at black the pair then averages the grey's light, also where
  // a standard has a linear toe or a black above zero (under a pure power law
  // this is level / Encode(0.5)). Encode may see light a little above white
  // here; that only says the pair needs the second step.
  const long double light = StandardDecode(level / 255.0L);
  const long double black = StandardDecode(0);
  const long double white = StandardDecode(1);
  TDitherPair pair{0, int32_t(RoundHalfEven(255 * StandardEncode(2 * light - black)))};
  if (pair.High > 255) {
    // Black cannot carry enough light next to full white: lift the low line
    // so that both lines together still average the level's light.
    pair.High = 255;
    pair.Low = int32_t(RoundHalfEven(255 * StandardEncode(2 * light - white)));
  }
  return pair;
}
