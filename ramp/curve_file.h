// Curve files: one display's calibration record as text, one value per line,
// CR LF line ends. Version 2 is written; versions 1 and 2 are read.
#pragma once

#include <string>

#include "ramp/records.h"

inline const char* const CurveFileHeader = "RampCurve v.2";

// "Tonemark<number>.lut" in `folder` (which ends with a delimiter), the
// number being the display's index + 1.
std::string CurveFilePath(const std::string& folder, int32_t index);

// A read error's message with the file named once: as it is, when the
// message names the file already, else "<path>: <message>".
std::string CurveFileErrorText(const std::string& path, const std::string& message);

// Writes `curve` in the version 2 layout with the device name of
// Displays[index], replacing any file at `path` atomically. False, touching
// nothing, for an index that is not a display; throws TFileError when the file
// cannot be written.
bool WriteCurveFile(const TRampCurve& curve, int32_t index, const std::string& path);

// Reads the file at `path` into `curve` and its line 2 into `deviceName`.
// False, with the record untouched, when there is no file. Missing values at
// the end read as 0 / false; a token that is not a 32-bit integer throws
// TFileError("Invalid numeric input"), keeping the fields read before it. A
// file that cannot be read throws TFileError("Unable to read <path>").
bool ReadCurveFile(TRampCurve& curve, std::string& deviceName, const std::string& path);
// The same reading of a file's bytes.
void ReadCurveText(TRampCurve& curve, std::string& deviceName, const std::string& text);

// The version 2 text of a record, as WriteCurveFile stores it.
std::string CurveFileText(const TRampCurve& curve, const std::string& deviceName);
