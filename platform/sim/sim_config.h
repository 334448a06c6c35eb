// displays.ini of the simulated displays: one section per monitor,
// [Monitor1], [Monitor2], ... in enumeration order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "ramp/records.h"

struct TSimMonitor {
  int32_t Number = 0;  // the n of [Monitor<n>], ramp<n>.txt and the log
  TRect Rect{0, 0, 1920, 1080};
  int32_t Dpi = 96;
  std::string DeviceName;  // \\.\DISPLAY<n> unless given
  std::string DeviceString = "Generic PnP Monitor";
  std::string DeviceID;
  std::string Edid;  // file name in the simulation folder, or empty
  bool FailInfo = false, FailDisplayHandle = false, FailGet = false, FailSet = false;
  // Loads are reported as accepted, yet the ramp stays as it was.
  bool IgnoreSet = false;
  // The display takes no live ramp and says so (a desktop without a ramp
  // interface, an HDR display on Windows): loads are refused with the reason.
  bool NoLiveRamp = false;
  // The precision of the card's table: accepted loads are kept rounded to it,
  // as a card of 8, 10 or 12 bits gives its ramp back.
  int32_t Bits = 16;
};

// The monitors described in `iniFile`, numbering stopping at the first
// missing section; none when the file is absent. Keys are matched without
// regard to case; a key given twice counts the first time.
std::vector<TSimMonitor> ReadSimMonitors(const std::filesystem::path& iniFile);
// The same reading of the file's text.
std::vector<TSimMonitor> SimMonitorsFrom(std::istream& in);
