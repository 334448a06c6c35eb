// The settings file "Tonemark.settings": the language and the reference image.
#pragma once

#include <string>

inline const char* const SettingsFileName = "Tonemark.settings";
inline const char* const DefaultReferenceImage = "Tonemark.reference.jpg";

// The reference photograph's path; the current language lives in Multilang.
extern std::string ReferenceImagePath;

// The file in the data folder: CommonDataFolder(ProductSubFolder) and its name.
std::string SettingsPath();
// Sets the defaults, then takes the stored values when the file exists. A key
// that is absent keeps its default; one with an empty value gives "".
void ReadSettings();
// Throws TFileError("Unable to write to <path>") when the write is refused.
// The file is replaced atomically, so a failed write leaves the previous one.
void WriteSettings();
