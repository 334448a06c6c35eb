// Why a display of a Wayland back-end takes no ramp, or keeps no calibration.
// They fill the sentences that name the display ("Display 2 (…): <reason>."),
// so they come from the language files like those sentences, as every other
// message of the back-ends does.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "lang/multilang.h"

// The text of `key` with each field ("%r", "%p", …) replaced by its value.
inline std::string Worded(const std::string& key, const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string text = Translate(key);
  for (const auto& [field, value] : fields)
    for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size()))
      text.replace(at, field.size(), value);
  return text;
}

// A sentence found before the language is loaded (at discovery): its key and
// the system's own words for its "%r", worded when it is shown.
struct TKeyedText {
  TKeyedText() = default;
  TKeyedText(std::string key, std::string detail = "") : Key(std::move(key)), Detail(std::move(detail)) {}

  std::string Key;
  std::string Detail;  // empty: the system said nothing
  bool Empty() const { return Key.empty(); }
  std::string Text() const {
    return Empty() ? "" : Worded(Key, {{"%r", Detail.empty() ? Translate("MNoAnswer") : Detail}});
  }
};

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
