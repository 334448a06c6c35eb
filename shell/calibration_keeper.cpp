#include "shell/calibration_keeper.h"

namespace {
TCalibrationKeeper* CurrentKeeper = nullptr;
}  // namespace

void SetCalibrationKeeper(TCalibrationKeeper* keeper) { CurrentKeeper = keeper; }

TCalibrationKeeper* CalibrationKeeper() { return CurrentKeeper; }
