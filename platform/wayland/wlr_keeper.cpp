#include "platform/wayland/wlr_keeper.h"

#include "lang/multilang.h"

std::string TWlrKeeper::HandOverStoredCurves(const std::string&) {
  return displays_.LeaveToLoader() ? "" : Translate("MLoaderNotHolding");
}
