#include "bench/observer/display_model.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

namespace {

using TMatrix = std::array<std::array<double, 3>, 3>;

TXyz FromXy(const std::array<double, 2>& xy) { return {xy[0] / xy[1], 1.0, (1 - xy[0] - xy[1]) / xy[1]}; }

double Determinant(const TMatrix& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// The primaries' XYZ as columns, each scaled so that all three at full light
// give the white point with Y = 1 (Cramer's rule).
TMatrix PrimaryMatrix(const TDisplayModel& model) {
  const TXyz p[3] = {FromXy(model.RedXy), FromXy(model.GreenXy), FromXy(model.BlueXy)};
  const TXyz w = FromXy(model.WhiteXy);
  TMatrix m{};
  for (int c = 0; c < 3; ++c) m[0][c] = p[c].X, m[1][c] = p[c].Y, m[2][c] = p[c].Z;
  const double det = Determinant(m);
  TMatrix scaled = m;
  for (int c = 0; c < 3; ++c) {
    TMatrix replaced = m;
    replaced[0][c] = w.X, replaced[1][c] = w.Y, replaced[2][c] = w.Z;
    const double share = Determinant(replaced) / det;
    for (int row = 0; row < 3; ++row) scaled[row][c] = m[row][c] * share;
  }
  return scaled;
}

double SrgbDecode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

bool ParseNumber(const std::string& text, double& value) {
  std::istringstream in(text);
  return static_cast<bool>(in >> value) && in.peek() == EOF;
}

}  // namespace

double ChannelLight(const TDisplayModel& model, int channel, double drive) {
  const TChannelModel& ch = model.Channels[channel];
  const double d = std::clamp((drive - model.CrushBlack) / (model.ClipWhite - model.CrushBlack), 0.0, 1.0);
  double light = 0;
  switch (ch.Response) {
    case TResponse::Power:
      light = std::pow(d, ch.Gamma);
      break;
    case TResponse::Srgb:
      light = SrgbDecode(d);
      break;
    case TResponse::Lcd: {
      // An S around the power curve: darker shadows, brighter highlights.
      const double a = std::pow(d, ch.LcdContrast), b = std::pow(1 - d, ch.LcdContrast);
      light = std::pow(a / (a + b), ch.Gamma);
      break;
    }
  }
  return ch.Gain * light;
}

double PanelDrive(const TDisplayModel& model, uint16_t entry) {
  const int code = entry >> (16 - model.Bits);
  return code / double((1 << model.Bits) - 1);
}

TXyz ChannelsLight(const TDisplayModel& model, const std::array<double, 3>& light) {
  const TMatrix m = PrimaryMatrix(model);
  const TXyz white = FromXy(model.WhiteXy);
  const double range = model.White - model.Black;
  double xyz[3];
  for (int row = 0; row < 3; ++row)
    xyz[row] = range * (m[row][0] * light[0] + m[row][1] * light[1] + m[row][2] * light[2]);
  return {xyz[0] + model.Black * white.X, xyz[1] + model.Black * white.Y, xyz[2] + model.Black * white.Z};
}

TXyz ShownLight(const TDisplayModel& model, const TGammaRamp& ramp, int r, int g, int b) {
  const int levels[3] = {r, g, b};
  std::array<double, 3> light{};
  for (int c = 0; c < 3; ++c) light[c] = ChannelLight(model, c, PanelDrive(model, ramp[c * LevelCount + levels[c]]));
  return ChannelsLight(model, light);
}

bool ParseDisplayModel(const std::string& text, TDisplayModel& model, std::string& error) {
  const char* const channelNames[3] = {"red", "green", "blue"};
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    if (item.empty()) continue;
    const size_t equals = item.find('=');
    const std::string key = item.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
    double number = 0;
    const bool numeric = ParseNumber(value, number);
    auto setResponse = [&](TChannelModel& ch) {
      if (value == "power") ch.Response = TResponse::Power;
      else if (value == "srgb") ch.Response = TResponse::Srgb;
      else if (value == "lcd") ch.Response = TResponse::Lcd;
      else return false;
      return true;
    };
    bool known = true, valid = numeric;
    if (key == "name") model.Name = value, valid = true;
    else if (key == "gamma") for (auto& ch : model.Channels) ch.Gamma = number;
    else if (key == "response") { valid = true; for (auto& ch : model.Channels) valid = valid && setResponse(ch); }
    else if (key == "lcd-contrast") for (auto& ch : model.Channels) ch.LcdContrast = number;
    else if (key == "black") model.Black = number;
    else if (key == "white") model.White = number;
    else if (key == "clip-white") model.ClipWhite = number;
    else if (key == "crush-black") model.CrushBlack = number;
    else if (key == "bits") {
      valid = numeric && (number == 8 || number == 10);
      if (valid) model.Bits = int(number);
    }
    else if (key == "white-x") model.WhiteXy[0] = number;
    else if (key == "white-y") model.WhiteXy[1] = number;
    else {
      known = false;
      for (int c = 0; c < 3; ++c) {
        const std::string prefix = std::string(channelNames[c]) + "-";
        if (key.rfind(prefix, 0) != 0) continue;
        const std::string rest = key.substr(prefix.size());
        std::array<double, 2>& xy = c == 0 ? model.RedXy : c == 1 ? model.GreenXy : model.BlueXy;
        known = true;
        if (rest == "gamma") model.Channels[c].Gamma = number;
        else if (rest == "gain") model.Channels[c].Gain = number;
        else if (rest == "response") valid = setResponse(model.Channels[c]);
        else if (rest == "x") xy[0] = number;
        else if (rest == "y") xy[1] = number;
        else known = false;
      }
    }
    if (!known) return error = "unknown display key \"" + key + "\"", false;
    if (!valid) return error = "bad value for " + key + ": \"" + value + "\"", false;
  }
  const bool sane = model.White > model.Black && model.Black >= 0 && model.ClipWhite > model.CrushBlack &&
                    model.ClipWhite <= 1 && model.CrushBlack >= 0;
  if (!sane) return error = "need 0 <= black < white and 0 <= crush-black < clip-white <= 1", false;
  return true;
}

std::string DisplayModelKeys() {
  return "  name=TEXT             label in the figures\n"
         "  gamma=G               exponent of every channel (2.2); red-gamma=, green-gamma=, blue-gamma= one channel\n"
         "  response=KIND         power (default), srgb (the piecewise sRGB curve) or lcd (S-shaped around the\n"
         "                        power curve); red-response= etc. for one channel\n"
         "  lcd-contrast=S        steepness of the lcd curve's middle (1.2; 1 is the plain power curve)\n"
         "  black=CD, white=CD    luminance at drive 0 and at full drive, cd/m² (0.2, 120)\n"
         "  red-gain=F, ...       a channel's share of its full light (1): a tint\n"
         "  clip-white=D          drive from which the panel shows full light (1: no clipping)\n"
         "  crush-black=D         drive up to which the panel shows black (0: no crushing)\n"
         "  bits=8|10             panel input precision: the top bits of each 16-bit ramp entry (8)\n"
         "  red-x=, red-y=, green-x=, ..., white-x=, white-y=   chromaticities (sRGB primaries, D65 white)\n";
}
