// A simulated display as an instrument would see it: what light (CIE XYZ, in
// cd/m²) a pixel gives once the video card's ramp and the panel have done
// their work. Each channel has its own response, the panel takes only the
// top bits of each 16-bit ramp entry, and the primaries with the white point
// decide the colour of a grey.
#pragma once

#include <array>
#include <string>

#include "ramp/records.h"

struct TXyz {
  double X = 0, Y = 0, Z = 0;
};

enum class TResponse { Power, Srgb, Lcd };

struct TChannelModel {
  TResponse Response = TResponse::Power;
  double Gamma = 2.2;
  double Gain = 1.0;       // the channel's share of full light
  double LcdContrast = 1.2;  // steepness of the S-shaped curve's middle
};

struct TDisplayModel {
  std::string Name = "display";
  std::array<TChannelModel, 3> Channels;
  double Black = 0.2;   // cd/m² at drive 0
  double White = 120;   // cd/m² at full drive of all channels
  double ClipWhite = 1.0;   // drive from which the panel shows full light
  double CrushBlack = 0.0;  // drive up to which the panel shows black
  int Bits = 8;             // panel input precision
  // Chromaticities x, y of the primaries and of the native white.
  std::array<double, 2> RedXy{0.64, 0.33}, GreenXy{0.30, 0.60}, BlueXy{0.15, 0.06}, WhiteXy{0.3127, 0.3290};
};

// Parses "gamma=2.6,black=0.4,white=180,blue-gain=0.93,…" over the defaults;
// false with `error` set for an unknown key or a value out of range.
bool ParseDisplayModel(const std::string& text, TDisplayModel& model, std::string& error);

// The keys ParseDisplayModel takes, one per line with their meaning.
std::string DisplayModelKeys();

// Relative light 0..1 of one channel for a drive 0..1.
double ChannelLight(const TDisplayModel& model, int channel, double drive);

// The drive the panel makes of a 16-bit ramp entry: its top `Bits` bits.
double PanelDrive(const TDisplayModel& model, uint16_t entry);

// The light of a pixel of colour (r, g, b) shown through `ramp`.
TXyz ShownLight(const TDisplayModel& model, const TGammaRamp& ramp, int r, int g, int b);

// The light of the three channels driven at relative lights `light`.
TXyz ChannelsLight(const TDisplayModel& model, const std::array<double, 3>& light);
