#include "loader/watch_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint16_t> Linear() {
  std::vector<uint16_t> ramp(768);
  for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 257);
  return ramp;
}

TEST(WatchRules, ARampWithin255OfEveryStoredEntryShowsTheCalibration) {
  const std::vector<uint16_t> stored = Linear();
  std::vector<uint16_t> present = stored;
  EXPECT_TRUE(RampShows(present.data(), stored.data()));
  present[0] = 255;           // an 8-bit card keeps the top byte only
  present[767] = 65535 - 255;
  present[300] = static_cast<uint16_t>(stored[300] & 0xFFC0);  // 10 bits
  EXPECT_TRUE(RampShows(present.data(), stored.data()));
  present[400] = static_cast<uint16_t>(stored[400] + 256);
  EXPECT_FALSE(RampShows(present.data(), stored.data()));
  present = stored;
  present[767] = 65535 - 256;
  EXPECT_FALSE(RampShows(present.data(), stored.data()));
}

TEST(WatchRules, ChannelsOfOtherSizesAreBroughtTo256ByTheNearestEntry) {
  std::vector<uint16_t> channel(1024);
  for (int i = 0; i < 1024; ++i) channel[i] = static_cast<uint16_t>(i * 64);
  uint16_t levels[256];
  ResampleChannel(channel.data(), 1024, levels);
  EXPECT_EQ(levels[0], 0);
  EXPECT_EQ(levels[1], 4 * 64);    // 1023 / 255 = 4.01
  EXPECT_EQ(levels[128], 514 * 64);  // 128 * 1023 / 255 = 513.5
  EXPECT_EQ(levels[255], 1023 * 64);
  const uint16_t same[4] = {0, 100, 200, 300};
  uint16_t fromFour[256];
  ResampleChannel(same, 4, fromFour);
  EXPECT_EQ(fromFour[0], 0);
  EXPECT_EQ(fromFour[42], 0);
  EXPECT_EQ(fromFour[43], 100);
  EXPECT_EQ(fromFour[255], 300);
}

TEST(WatchRules, ReplacedSoonAfterEachOfThreeReloadsGivesTheDisplayUp) {
  TWatchedDisplay display;
  EXPECT_EQ(OnReplaced(display, 1000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 4000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 14000), ReloadIt);  // 10 s after the last re-load still counts
  EXPECT_EQ(OnReplaced(display, 17000), GiveItUp);
  EXPECT_EQ(OnReplaced(display, 20000), AlreadyGivenUp);
  WatchAgain(display);
  EXPECT_EQ(OnReplaced(display, 21000), ReloadIt);
}

TEST(WatchRules, AReplacementLongAfterTheLastReloadStartsTheCountAgain) {
  TWatchedDisplay display;
  EXPECT_EQ(OnReplaced(display, 1000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 4000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 7000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 17001), ReloadIt);  // 10.001 s later: another program's one-off
  EXPECT_EQ(OnReplaced(display, 20000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 23000), ReloadIt);
  EXPECT_EQ(OnReplaced(display, 26000), GiveItUp);
}

}  // namespace
