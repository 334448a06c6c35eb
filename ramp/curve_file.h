// Curve files: one display's calibration record as text, one value per line,
// CR LF line ends. Version 2 is written; versions 1 and 2 are read.
#pragma once

#include <string>

#include "ramp/records.h"

inline const char* const CurveFileHeader = "RampCurve v.2";

// Writes `curve` in the version 2 layout with the device name of
// Displays[index], replacing any file at `path` atomically. False, touching
// nothing, for an index that is not a display; throws FileError when the file
// cannot be written.
bool WriteCurveFile(const TRampCurve& curve, int32_t index, const std::string& path);

// Reads the file at `path` into `curve` and its line 2 into `deviceName`.
// False, with the record untouched, when there is no file. Missing values at
// the end read as 0 / false; a token that is not a 32-bit integer throws
// FileError("Invalid numeric input"), keeping the fields read before it. A
// file that cannot be read throws FileError("Unable to read <path>").
bool ReadCurveFile(TRampCurve& curve, std::string& deviceName, const std::string& path);
// The same reading of a file's bytes.
void ReadCurveText(TRampCurve& curve, std::string& deviceName, const std::string& text);

// The version 2 text of a record, as WriteCurveFile stores it.
std::string CurveFileText(const TRampCurve& curve, const std::string& deviceName);
