// Why a display of a Wayland back-end takes no ramp, or keeps no calibration.
// They fill the sentences that name the display ("Display 2 (…): <reason>."),
// so they come from the language files like those sentences, as every other
// message of the back-ends does.
#pragma once

#include <string>

#include "lang/multilang.h"
#include "lang/worded_text.h"

// wlroots
inline std::string ControlRefusedReason() { return Translate("MGammaControlRefused"); }
inline std::string ControlTakenReason() { return Translate("MGammaControlTaken"); }
inline std::string OutputGoneReason() { return Translate("MOutputGone"); }
inline std::string LoaderUnreachableReason() { return Translate("MLoaderUnreachable"); }
inline std::string EditingReason() { return Translate("MWindowAdjustsOutput"); }
// KDE Plasma
inline std::string KWinTakesNoProfileReason() { return Translate("MKWinTakesNoProfile"); }
inline std::string KWinDidNotKeepReason() { return Translate("MKWinDidNotKeep"); }
// GNOME. Kept with a display from its discovery, which comes before the
// language is loaded: the keys, translated when the reason is given.
inline const char* const GnomeNoRampKey = "MGnomeNoRamp";
inline const char* const GnomeGoneKey = "MGnomeGone";
inline const char* const GnomeRefusesKey = "MGnomeRefusesCalibration";
inline std::string NoColordReason() { return Translate("MNoColord"); }
// Any other desktop
inline std::string NoRampInterfaceReason() { return Translate("MNoRampInterface"); }
inline std::string NoProfileMakerReason() { return Translate("MNoProfileMaker"); }
