#include <gtest/gtest.h>

#include "paint/scaling.h"
#include "paint_setup.h"

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-0.5L), 0);
  EXPECT_EQ(RoundHalfEven(-1.5L), -2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(73.846L), 74);
  EXPECT_EQ(RoundHalfEven(-7733.34L), -7733);
}

TEST(Scale, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(Scale(53, 144), 80);    // 79.5
  EXPECT_EQ(Scale(255, 144), 383);  // 382.5
  EXPECT_EQ(Scale(-11, 144), -17);  // -16.5
  EXPECT_EQ(Scale(-11, 96), -11);
  EXPECT_EQ(Scale(64, 120), 80);
  EXPECT_EQ(Scale(1, 144), 2);      // 1.5
  EXPECT_EQ(MulDivRounded(197, 96, 74), 256);
  EXPECT_EQ(MulDivRounded(5, 1, -2), -3);
  EXPECT_EQ(MulDivRounded(5, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(2000000000, 3, 4), 1500000000);  // no 32-bit overflow
}

TEST_F(PaintTest, CentringUsesTheEditedMonitorAndTruncatesEachHalf) {
  Displays.push_back(Displays[0]);
  Displays[1].MonitorInfo.Monitor = TRect{1920, -200, 3285, 824};  // 1365 x 1024
  CurrentDisplay = 1;
  EXPECT_EQ(CenteredLeft(256), 554);  // 682 - 128
  EXPECT_EQ(CenteredLeft(5), 680);    // 682 - 2
  EXPECT_EQ(CenteredTop(0), 512);
  EXPECT_EQ(CenteredTop(385), 320);
  CurrentDisplay = 0;
  EXPECT_EQ(CenteredLeft(0), 960);
  EXPECT_EQ(CenteredTop(80), 500);
}

TEST_F(PaintTest, CentringWithoutAnEditedDisplayCentresOnNothing) {
  CurrentDisplay = 3;
  EXPECT_EQ(CenteredLeft(100), -50);
  Displays.clear();
  CurrentDisplay = 0;
  EXPECT_EQ(CenteredTop(7), -3);
}

}  // namespace
