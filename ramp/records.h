// The calibration model's records and globals: one device record and one
// calibration record per display, addressed by the display's index.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int LevelCount = 256;
constexpr int InitialPoint = 127;

// 768 entries: red[0..255], green[0..255], blue[0..255]; 0 black, 65535 full scale.
using TGammaRamp = std::array<uint16_t, 3 * LevelCount>;

// A display's calibration record. Scalars are signed 32-bit and never clamped
// here: values from a curve file are used as they stand.
struct TRampCurve {
  int32_t Standard = 0;
  int32_t Gamma = 0, GammaR = 0, GammaG = 0, GammaB = 0;
  int32_t Black = 0, BlackR = 0, BlackG = 0, BlackB = 0;
  int32_t White = 0, WhiteR = 0, WhiteG = 0, WhiteB = 0;
  int32_t BalanceR = 0, BalanceG = 0, BalanceB = 0;
  std::array<bool, LevelCount> PointSet{};
  std::array<int32_t, LevelCount> Point{}, PointR{}, PointG{}, PointB{};

  bool operator==(const TRampCurve&) const = default;
};

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TRect&) const = default;
};

// What the system reports about a monitor (the monitor-information query).
struct TMonitorInfo {
  TRect Monitor;           // in desktop coordinates
  TRect Work;
  uint32_t Flags = 0;
  std::string DeviceName;  // the output's device name, at most 32 characters
};

// The monitor attached to an output, as the display-device query reports it.
struct TDisplayDevice {
  std::string DeviceString;  // the monitor's description, at most 128 characters
  std::string DeviceID;      // at most 128 characters
};

// Opaque handles that only the platform backends interpret.
using TMonitorHandle = void*;
using TDisplayHandle = void*;

struct TDisplay {
  TMonitorHandle Monitor = nullptr;
  TDisplayHandle DC = nullptr;
  TMonitorInfo MonitorInfo;
  TDisplayDevice Device;
  std::string Name;         // "<number>: <Description>" for the display list
  std::string Description;
  std::array<uint8_t, 128> Edid{};
  std::string Identity;     // the monitor's own, whatever its place in the list (monitor_identity.h)
};

// Globals of the model, owned here for the life of the process.
extern std::vector<TDisplay> Displays;
extern int32_t DisplayCount;
extern std::vector<TRampCurve> Curves;
extern std::vector<TGammaRamp> SavedRamps;
extern TGammaRamp WorkRamp;
extern int32_t CurrentDisplay;
extern int32_t CurrentPoint;

// Zeroes every adjustment and correction point; Standard keeps its value.
void ResetCurve(TRampCurve& curve);
// Clears every point flag and value; nothing else changes.
void ClearPoints(TRampCurve& curve);
// The next (previous) set correction level after (before) `level`, wrapping
// round; with no point set, level + 1 (level - 1) kept within 0..255.
int32_t NextPoint(const TRampCurve& curve, int32_t level);
int32_t PrevPoint(const TRampCurve& curve, int32_t level);
