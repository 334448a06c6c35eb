// Errors of reading and writing the user's files, carrying the message shown.
#pragma once

#include <stdexcept>
#include <string>

struct TFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline const char* const InvalidNumericInput = "Invalid numeric input";

// "Unable to write to <path>"
std::string UnableToWriteMessage(const std::string& path);
