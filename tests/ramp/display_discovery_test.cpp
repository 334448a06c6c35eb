#include <gtest/gtest.h>

#include "ramp/display_discovery.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/ramp/sim_displays_fixture.h"

namespace {

TEST(DeviceModelCode, IsTheTextBetweenTheFirstTwoBackslashes) {
  EXPECT_EQ(DeviceModelCode("MONITOR\\ABC1234\\{4d36e96e-e325}\\0001"), "ABC1234");
  EXPECT_EQ(DeviceModelCode("MONITOR\\ABC1234\\x"), "ABC1234");
  EXPECT_EQ(DeviceModelCode("MONITOR\\ ABC1234 \\x"), "ABC1234");
}

TEST(DeviceModelCode, WithoutASecondBackslashIsTheWholeId) {
  EXPECT_EQ(DeviceModelCode("MONITOR\\ABC1234"), "MONITOR\\ABC1234");
  EXPECT_EQ(DeviceModelCode("ABC1234"), "ABC1234");
  // A backslash in last place does not count.
  EXPECT_EQ(DeviceModelCode("MONITOR\\ABC\\"), "MONITOR\\ABC\\");
  EXPECT_EQ(DeviceModelCode(""), "");
}

using DisplayDiscovery = SimDisplaysTest;

TEST_F(DisplayDiscovery, NumbersOnlyTheMonitorsWhoseHandleCouldBeCreated) {
  Discover("[Monitor1]\n[Monitor2]\nFail=dc\n[Monitor3]\nRect=1920,0,3840,1200\n");
  ASSERT_EQ(DisplayCount, 2);
  ASSERT_EQ(Displays.size(), 2u);
  ASSERT_EQ(Curves.size(), 2u);
  EXPECT_EQ(Displays[0].Name, "1: Generic PnP Monitor");
  EXPECT_EQ(Displays[1].Name, "2: Generic PnP Monitor");
  EXPECT_EQ(Displays[1].MonitorInfo.DeviceName, "\\\\.\\DISPLAY3");
  EXPECT_EQ(Displays[1].MonitorInfo.Monitor, (TRect{1920, 0, 3840, 1200}));
  EXPECT_EQ(Displays[0].MonitorInfo.Monitor, (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(Displays[0].MonitorInfo.Flags, 1u);
  EXPECT_EQ(Displays[1].MonitorInfo.Flags, 0u);
  EXPECT_EQ(messages_.str(), "");
}

TEST_F(DisplayDiscovery, NumberingStopsAtTheFirstMissingSectionAndKeysIgnoreCase) {
  Discover("[monitor1]\nDEVICESTRING=  Wide Screen \n[Monitor3]\n");
  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Description, "Wide Screen");
  EXPECT_EQ(Displays[0].Name, "1: Wide Screen");
}

TEST_F(DisplayDiscovery, AMonitorWithoutADeviceStringIsNamedByItsOutput) {
  Discover("[Monitor1]\nDeviceName=Virtual-0\nDeviceString= \n");
  EXPECT_EQ(Displays[0].Description, "Virtual-0");
  EXPECT_EQ(Displays[0].Name, "1: Virtual-0");
}

TEST_F(DisplayDiscovery, NoDisplaysWithoutADescription) {
  EnumerateDisplays();
  EXPECT_EQ(DisplayCount, 0);
  EXPECT_TRUE(Displays.empty());
  EXPECT_TRUE(Curves.empty());
}

TEST_F(DisplayDiscovery, AFailedMonitorQueryIsShownAndTheMonitorStillCounts) {
  Discover("[Monitor1]\nFail=info\n[Monitor2]\n");
  EXPECT_EQ(messages_.str(), "Error: Invalid monitor handle.\n");
  ASSERT_EQ(DisplayCount, 2);
  // Without its device name the monitor's device is unknown.
  EXPECT_EQ(Displays[0].Name, "1: ");
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "");
  EXPECT_EQ(Displays[0].MonitorInfo.Monitor, TRect{});
  EXPECT_EQ(Displays[1].Name, "2: Generic PnP Monitor");
}

TEST_F(DisplayDiscovery, TheEdidTextNamesTheMonitor) {
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  PutTextDescriptor(edid, 1, 0xFF, "12345\n");
  WriteFile("abc.edid", EdidBytes(edid));
  Discover("[Monitor1]\n[Monitor2]\nDeviceID=MONITOR\\ABC1234\\{4d36e96e}\\0001\nEdid=abc.edid\n");
  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[1].Description, "Model X 12345");
  EXPECT_EQ(Displays[1].Name, "2: Model X 12345");
  EXPECT_EQ(Displays[1].Edid, edid);
  EXPECT_EQ(Displays[0].Edid, TEdid{});
}

TEST_F(DisplayDiscovery, AnEdidWithoutTextLeavesTheModelCode) {
  TEdid edid{};
  PutModelAbc1234(edid);
  WriteFile("abc.edid", EdidBytes(edid));
  Discover("[Monitor1]\nDeviceID=MONITOR\\ABC1234\\0001\nEdid=abc.edid\n"
           "[Monitor2]\nDeviceID=MONITOR\\XYZ0001\\0001\nEdid=missing.edid\n");
  EXPECT_EQ(Displays[0].Name, "1: ABC1234");
  EXPECT_EQ(Displays[0].Edid, edid);
  EXPECT_EQ(Displays[1].Name, "2: XYZ0001");
  EXPECT_EQ(Displays[1].Edid, TEdid{});
}

TEST_F(DisplayDiscovery, TheFirstInstanceOfTheModelWithAReadableEdidWins) {
  TEdid edid{};
  PutTextDescriptor(edid, 0, 0xFC, "Second\n");
  // 256 bytes: only the base block is kept.
  WriteFile("second.edid", EdidBytes(edid) + std::string(128, '\x7F'));
  Discover("[Monitor1]\nDeviceID=MONITOR\\ABC1234\\0001\n"
           "[Monitor2]\nDeviceID=MONITOR\\ABC1234\\0002\nEdid=second.edid\n");
  EXPECT_EQ(Displays[0].Name, "1: Second");
  EXPECT_EQ(Displays[0].Edid, edid);
  EXPECT_EQ(Displays[1].Name, "2: Second");
}

TEST_F(DisplayDiscovery, ReleaseEmptiesEverything) {
  Discover("[Monitor1]\n[Monitor2]\n");
  SavedRamps.resize(2);
  ReleaseDisplays();
  EXPECT_EQ(DisplayCount, 0);
  EXPECT_TRUE(Displays.empty());
  EXPECT_TRUE(Curves.empty());
  EXPECT_TRUE(SavedRamps.empty());
}

TEST_F(DisplayDiscovery, EveryDisplayGetsAResetRecord) {
  Curves = {TRampCurve{}};
  Curves[0].Gamma = 40;
  Discover("[Monitor1]\n[Monitor2]\n");
  ASSERT_EQ(Curves.size(), 2u);
  EXPECT_EQ(Curves[0], TRampCurve{});
  EXPECT_EQ(Curves[1], TRampCurve{});
}

}  // namespace
