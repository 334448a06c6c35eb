// file_fault_tool KIND PATH VERSION [COUNT]: writes version VERSION (0 or 1)
// of a curve file (KIND "curve") or a settings file (KIND "settings") at PATH
// as the program does, COUNT times (0: until it is killed), alternating with
// the other version after the first. The fault tests kill it or limit the
// size of its files at random moments and look at what stays at PATH.
#include <cstdlib>
#include <iostream>
#include <string>

#include "ramp/curve_file.h"
#include "ramp/file_error.h"
#include "ramp/records.h"
#include "shell/shell_port.h"

namespace {

void WriteVersion(const std::string& kind, const std::string& path, int version) {
  if (kind == "curve") {
    TRampCurve curve;
    curve.Gamma = version == 0 ? 10 : -25;
    for (int level = 0; level < LevelCount; ++level) curve.Point[level] = version * level;
    WriteCurveFile(curve, 0, path);
    return;
  }
  const std::string value = version == 0 ? "English" : std::string(3000, 'S');
  if (!ShellPort::WriteIniStrings(path, "Settings", {{"Language", value}}))
    throw TFileError("Unable to write to " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: file_fault_tool curve|settings PATH VERSION [COUNT]\n";
    return 2;
  }
  Displays.assign(1, TDisplay{});
  Displays[0].MonitorInfo.DeviceName = "\\\\.\\DISPLAY1";
  DisplayCount = 1;
  const int first = std::atoi(argv[3]);
  const long count = argc > 4 ? std::atol(argv[4]) : 1;
  try {
    for (long i = 0; count == 0 || i < count; ++i) WriteVersion(argv[1], argv[2], (first + i) % 2);
  } catch (const TFileError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
