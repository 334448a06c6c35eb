#include <gtest/gtest.h>

#include "ramp/ramp_resample.h"

namespace {

std::vector<uint16_t> Levels(int size, int step) {
  std::vector<uint16_t> channel(size);
  for (int i = 0; i < size; ++i) channel[i] = static_cast<uint16_t>(i * step);
  return channel;
}

TEST(ResampleChannel, StretchesAndShrinksByLinearInterpolation) {
  const std::vector<uint16_t> up = ResampleChannel({0, 1000, 65535}, 5);
  EXPECT_EQ(up, (std::vector<uint16_t>{0, 500, 1000, 33268, 65535}));
  const std::vector<uint16_t> down = ResampleChannel({0, 100, 200, 300, 400}, 3);
  EXPECT_EQ(down, (std::vector<uint16_t>{0, 200, 400}));
}

TEST(ResampleChannel, A1024EntryCardTakesAndGivesBackThe256EntryRamp) {
  const std::vector<uint16_t> ramp = Levels(256, 257);
  const std::vector<uint16_t> card = ResampleChannel(ramp, 1024);
  ASSERT_EQ(card.size(), 1024u);
  EXPECT_EQ(card[0], 0);
  EXPECT_EQ(card[1023], 65535);
  EXPECT_EQ(card[341], 21845);  // position 85 exactly: level 85
  EXPECT_EQ(ResampleChannel(card, 256), ramp);
}

TEST(ResampleChannel, TheSameSizeIsACopy) {
  const std::vector<uint16_t> ramp = Levels(256, 256);
  EXPECT_EQ(ResampleChannel(ramp, 256), ramp);
}

}  // namespace
