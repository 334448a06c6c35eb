// Makes the code under test run as a program whose executable lies in a fresh
// temporary folder: a portable program, whose data folders are that folder.
#pragma once

#include <string>
#include <vector>

#include "shell/command_line.h"
#include "tests/temp_folder.h"

class ProgramInTempFolder {
 public:
  explicit ProgramInTempFolder(const std::string& executable = "Tonemark.exe")
      : savedArgs_(CommandLineArgs) {
    CommandLineArgs = {folder.File(executable)};
  }
  ~ProgramInTempFolder() { CommandLineArgs = savedArgs_; }
  ProgramInTempFolder(const ProgramInTempFolder&) = delete;
  ProgramInTempFolder& operator=(const ProgramInTempFolder&) = delete;

  TempFolder folder;

 private:
  std::vector<std::string> savedArgs_;
};
