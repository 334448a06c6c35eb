// Tonemark.shown, which every load run leaves in the data folder: per display
// its identity, how the back-end addresses it, its curve file, when it was
// loaded, the result, and the ramp read back after a verified load. Read
// without the C++ runtime, into fixed records.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "loader/watch_status.h"

constexpr char ShownFileName[] = "Tonemark.shown";
constexpr int RampEntries = 768;  // red 0..255, green, blue
constexpr int RampLevels = 256;

struct TShownDisplay {
  char Identity[sizeof(TDisplayStatus::Identity)];
  char Device[sizeof(TDisplayStatus::Device)];
  char Backend[16];
  char Curve[sizeof(TDisplayStatus::Curve)];
  int64_t Loaded;
  char Result[16];
  char Reason[sizeof(TDisplayStatus::Why)];
  bool HasRamp;  // exactly 768 values of 0..65535 were read
  uint16_t Ramp[RampEntries];
};

struct TShownFile {
  int32_t Count;
  TShownDisplay Displays[MostWatchedDisplays];
};

// Parses the file's text; sections past the sixteenth are left out, unknown
// keys ignored, and a value too long for its field cut at the field's size.
void ReadShownText(const char* text, size_t length, TShownFile& shown);
