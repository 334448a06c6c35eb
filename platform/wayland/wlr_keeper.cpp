#include "platform/wayland/wlr_keeper.h"

#include "lang/multilang.h"

std::string TWlrKeeper::HandOverStoredCurves(const std::string&) {
  return displays_.LeaveToLoader() ? "" : Translate("MLoaderNotHolding");
}

std::unique_ptr<TCalibrationKeeper> TWlrDisplays::CalibrationKeeper(const TProfileMaker&) {
  return std::make_unique<TWlrKeeper>(*this);
}
