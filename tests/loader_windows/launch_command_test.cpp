#include "loader/windows/launch_command.h"

#include <gtest/gtest.h>

namespace {
TEST(LaunchCommand, FolderEndsAtTheLastDelimiterOfEitherKind) {
  EXPECT_EQ(FolderOfPath("C:\\Program Files\\Orvana\\Tonewatch.exe"), "C:\\Program Files\\Orvana\\");
  EXPECT_EQ(FolderOfPath("C:\\Tools/Orvana\\bin/Tonewatch.exe"), "C:\\Tools/Orvana\\bin/");
  EXPECT_EQ(FolderOfPath("Tonewatch.exe"), "");
}

TEST(LaunchCommand, QuotesTheCalibrationProgramAndAsksForLoadMode) {
  EXPECT_EQ(LoadModeCommandLine("C:\\Program Files\\Orvana\\"),
            "\"C:\\Program Files\\Orvana\\Tonemark.exe\" /load");
  EXPECT_EQ(LoadModeCommandLine(""), "\"Tonemark.exe\" /load");
}
}  // namespace
