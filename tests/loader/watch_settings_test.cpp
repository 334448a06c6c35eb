#include "loader/watch_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TWatchSettings Read(const std::string& text) {
  TWatchSettings settings;
  ReadWatchSettings(text.data(), text.size(), "redshift,gammastep", settings);
  return settings;
}

TEST(WatchSettings, WithoutTheSectionTheWatchLooksEveryThreeSecondsAndLeavesTheDefaultsAlone) {
  const TWatchSettings settings = Read("[Settings]\r\nLanguage=English\r\nWatch=9\r\n");
  EXPECT_EQ(settings.WatchSeconds, 3);
  EXPECT_STREQ(settings.LeaveAlone, "redshift,gammastep");
}

TEST(WatchSettings, TheSectionSetsThePeriodAndAddsProgramsToTheDefaults) {
  TWatchSettings settings = Read("[Settings]\r\nLanguage=English\r\n[tonewatch]\r\n watch = 10\r\nLeaveAlone= game.exe , sct\r\n");
  EXPECT_EQ(settings.WatchSeconds, 10);
  EXPECT_STREQ(settings.LeaveAlone, "redshift,gammastep,game.exe , sct");
  EXPECT_EQ(Read("[Tonewatch]\nWatch=0\n").WatchSeconds, 0);
  EXPECT_EQ(Read("[Tonewatch]\nWatch=often\n").WatchSeconds, 3);
  EXPECT_EQ(Read("[Tonewatch]\nWatch=\n").WatchSeconds, 3);
}

TEST(WatchSettings, NamesMatchWholeWithoutCaseOrByTheKernelsCutName) {
  const char* list = "redshift, Flux.exe,a-very-long-program-name";
  EXPECT_TRUE(NameInList("redshift", 64, list));
  EXPECT_TRUE(NameInList("flux.EXE", 64, list));
  EXPECT_FALSE(NameInList("redshift-gtk", 64, list));
  EXPECT_FALSE(NameInList("red", 64, list));
  EXPECT_FALSE(NameInList("", 64, list));
  EXPECT_TRUE(NameInList("a-very-long-pro", 15, list));  // 15 bytes: cut by the kernel
  EXPECT_FALSE(NameInList("a-very-long", 15, list));
}

}  // namespace
