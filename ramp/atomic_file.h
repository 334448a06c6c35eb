// Replacing a file so that a failed or interrupted write leaves the old one.
#pragma once

#include <string>

// Writes `bytes` to a temporary file beside `path`, then renames it over
// `path`. Throws TFileError("Unable to write to <path>") on any failure, and
// leaves whatever was at `path` before untouched.
void WriteFileAtomically(const std::string& path, const std::string& bytes);
