// The Wayland desktops without a ramp interface that Tonemark knows (COSMIC,
// Mir, an unknown compositor): nothing there loads a calibration for
// Tonemark, so OK writes each display's profile beside its curve file
// (TonemarkN.icc, as tonemark-profile writes it), and the user hands it to
// the desktop's own display settings. Load mode says where they are.
#pragma once

#include <string>

#include "platform/wayland/profile_files.h"
#include "shell/calibration_keeper.h"

class TNoneKeeper : public TCalibrationKeeper {
 public:
  // `makeProfile` is empty in a program built without the profile module.
  explicit TNoneKeeper(TProfileMaker makeProfile) : makeProfile_(std::move(makeProfile)) {}

  // The profiles written, where they are, and what went wrong.
  std::string HandOverStoredCurves(const std::string& folder) override;
  // Reports every display as refused, naming its profile, written first
  // where it is missing; false, for the loader's report, unless every
  // display has its curve.
  bool EnsureStoredCurves(const std::string& folder, TLoadReport& report) override;
  // The profiles are the user's to load or not: nothing to take back.
  std::string TakeBackStoredCurves() override { return ""; }

 private:
  // Writes the display's profile from its stored curve; false without a
  // curve file. Throws TFileError (or what the maker throws) on failure.
  bool WriteProfile(const std::string& folder, int32_t index);

  TProfileMaker makeProfile_;
};
