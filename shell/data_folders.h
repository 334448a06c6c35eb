// Where Tonemark keeps its data, and the loader's start-at-log-on entry.
// Folder paths end with a delimiter.
#pragma once

#include <string>

// The relative folder of the product's data, passed by every caller.
inline const char* const ProductSubFolder = "Orvana\\Tonemark\\";

std::string ProgramFolder();
bool IsPortable();
std::string CommonDataFolder(const std::string& sub);
std::string UserDataFolder(const std::string& sub);
bool ForceFolder(const std::string& folder);
bool CreateStartupShortcut(const std::string& target);
bool DeleteStartupShortcut(const std::string& target);
