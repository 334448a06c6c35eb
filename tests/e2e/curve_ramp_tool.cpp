// curve_ramp FILE: prints the ramp that BuildRamp makes of a curve file, one
// channel a line, for end-to-end checks of what load mode leaves in a card.
#include <iostream>

#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: curve_ramp FILE\n";
    return 2;
  }
  TRampCurve curve;
  std::string deviceName;
  if (!ReadCurveFile(curve, deviceName, argv[1])) {
    std::cerr << "curve_ramp: no file " << argv[1] << "\n";
    return 2;
  }
  TGammaRamp ramp;
  BuildRamp(curve, ramp);
  for (size_t i = 0; i < ramp.size(); ++i)
    std::cout << ramp[i] << ((i + 1) % LevelCount == 0 ? '\n' : ' ');
  return 0;
}
