// The settings file "Tonemark.settings": the language and the reference image.
#pragma once

#include <string>

// The reference photograph's path; the current language lives in Multilang.
extern std::string ReferenceImagePath;

void ReadSettings();
// Throws FileError("Unable to write to <path>") when the write is refused.
void WriteSettings();
