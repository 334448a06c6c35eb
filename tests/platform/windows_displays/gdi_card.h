// The GDI displays backend on Wine's display, as the tests find it (every
// ramp call fails there), and with a video card of the tests' own behind the
// two GDI ramp calls, which Windows-like may refuse ramps far from the
// identity, or take them and keep the old one.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/windows/display_gdi.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "tests/temp_folder.h"

// The real GDI backend, with every ramp call and wait written down as it passes.
class RecordingGdiDisplays : public TGdiDisplays {
 public:
  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override {
    const bool read = TGdiDisplays::GetRamp(display, ramp);
    Calls.push_back(read ? "get ok" : "get fail");
    return read;
  }
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override {
    const bool loaded = TGdiDisplays::SetRamp(display, ramp);
    Calls.push_back(std::string(loaded ? "set ok " : "set refused ") + std::to_string(ramp[1]) +
                    " " + std::to_string(ramp[255]) + " " + std::to_string(ramp[767]));
    return loaded;
  }
  void Wait(int32_t milliseconds) override {
    TGdiDisplays::Wait(milliseconds);
    Calls.push_back("wait " + std::to_string(milliseconds));
  }
  std::vector<std::string> Calls;
};

class GdiRamps : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDisplaysPort(gdi_);
    EnumerateDisplays();
    ASSERT_EQ(DisplayCount, 1);
  }
  void TearDown() override {
    ReleaseDisplays();
    static TNoDisplays none;
    SetDisplaysPort(none);
  }
  RecordingGdiDisplays gdi_;
};

// A video card behind the two GDI calls, holding its ramp word for word.
// Like Windows, it may refuse ramps far from the identity ramp.
inline TGammaRamp Card;
inline bool RefusesFarRamps = false;
// Takes a far ramp, says so, and keeps the old one, as Windows may.
inline bool IgnoresFarRamps = false;

inline int CardGet(void*, void* ramp) {
  std::memcpy(ramp, Card.data(), sizeof Card);
  return TRUE;
}

inline int CardSet(void*, void* ramp) {
  TGammaRamp loaded;
  std::memcpy(loaded.data(), ramp, sizeof loaded);
  for (size_t i = 0; (RefusesFarRamps || IgnoresFarRamps) && i < loaded.size(); ++i)
    if (std::abs(loaded[i] - static_cast<int>(i % 256) * 257) > 16384) return IgnoresFarRamps ? TRUE : FALSE;
  Card = loaded;
  return TRUE;
}

class GdiRampsOnACard : public GdiRamps {
 protected:
  void SetUp() override {
    GdiRamps::SetUp();
    for (size_t i = 0; i < Card.size(); ++i) Card[i] = static_cast<uint16_t>(i % 256 * 200);
    RefusesFarRamps = false;
    IgnoresFarRamps = false;
    gdi_.GetGammaRamp = CardGet;
    gdi_.SetGammaRamp = CardSet;
  }
  // Tonemark1.lut of a record in the data folder; its ramp.
  TGammaRamp StoreCurve(TRampCurve curve) {
    WriteBytes(data_.File("Tonemark1.lut"), CurveFileText(curve, "\\\\.\\DISPLAY1"));
    TGammaRamp ramp;
    BuildRamp(curve, ramp);
    return ramp;
  }
  TempFolder data_;
};
