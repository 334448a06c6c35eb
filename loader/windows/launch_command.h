// The command line by which Tonewatch starts Tonemark in load mode.
#pragma once

#include <string>

// The folder of a program path: everything up to and including its last "\" or "/"
// (empty when there is neither).
std::string FolderOfPath(const std::string& programPath);

// "<folder>Tonemark.exe" /load, the path in double quotes so that a folder with
// blanks (C:\Program Files\...) cannot be read as a shorter program name.
std::string LoadModeCommandLine(const std::string& loaderFolder);
