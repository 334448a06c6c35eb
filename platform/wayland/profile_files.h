// The colour profiles that a desktop's keeper hands over: each display's
// stored curve as TonemarkN.icc beside the curve files, as tonemark-profile
// writes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ramp/records.h"

// A display's calibration as the bytes of its profile file.
using TProfileMaker = std::function<std::string(const TRampCurve& curve, const TDisplay& display)>;

// "Tonemark<n>.icc" in `folder`, n counting from 1.
std::string ProfileFilePath(const std::string& folder, int32_t index);

// The display's stored curve in `folder`; false without a curve file.
// Throws TFileError when the file cannot be read.
bool StoredCurve(const std::string& folder, int32_t index, TRampCurve& curve);

// Writes display `index`'s profile from `curve` to `path` (atomically); what
// went wrong, empty when nothing did. `makeProfile` is empty in a program
// built without the profile module: it writes none.
std::string WriteProfileFile(const TProfileMaker& makeProfile, const std::string& path, const TRampCurve& curve,
                             int32_t index);

// "Display <n> (<description>): <problem>." for a keeper's report.
std::string DisplayProblemLine(int32_t index, const std::string& problem);
