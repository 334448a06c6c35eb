#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "platform/sim/sim_displays.h"
#include "ramp/messages_port.h"
#include "tests/temp_folder.h"

namespace {

class SimDisplays : public ::testing::Test {
 protected:
  // The monitors' handles, in enumeration order.
  std::vector<TMonitorHandle> Enumerate(const std::string& ini) {
    WriteBytes(folder_.File("displays.ini"), ini);
    std::vector<TMonitorHandle> handles;
    sim_.EnumMonitors([&](TMonitorHandle h) {
      handles.push_back(h);
      return true;
    });
    return handles;
  }
  std::string Log() const { return ReadBytes(folder_.File("log.txt")); }

  TempFolder folder_;
  std::ostringstream messages_;
  TSimDisplays sim_{folder_.Path(), false};
};

TGammaRamp Ramp(uint16_t first, uint16_t step) {
  TGammaRamp ramp{};
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint16_t>(first + i * step);
  return ramp;
}

TEST_F(SimDisplays, MonitorsTakeTheirDefaultsFromTheContract) {
  const auto handles = Enumerate("[Monitor1]\n[Monitor2]\n");
  ASSERT_EQ(handles.size(), 2u);
  TMonitorInfo info;
  ASSERT_TRUE(sim_.QueryMonitorInfo(handles[1], info));
  EXPECT_EQ(info.Monitor, (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(info.DeviceName, "\\\\.\\DISPLAY2");
  EXPECT_EQ(sim_.MonitorDpi(handles[1]), 96);
  TDisplayDevice device;
  ASSERT_TRUE(sim_.QueryDisplayDevice("\\\\.\\DISPLAY2", device));
  EXPECT_EQ(device.DeviceString, "Generic PnP Monitor");
  EXPECT_EQ(device.DeviceID, "");
  EXPECT_FALSE(sim_.QueryDisplayDevice("\\\\.\\DISPLAY3", device));
}

TEST_F(SimDisplays, KeysAreReadWithoutRegardToCase) {
  const auto handles = Enumerate(
      "; two monitors side by side\n"
      "[Monitor1]\r\n"
      "RECT = -1280, 0, 0, 1024\r\n"
      "dpi=144\r\n"
      "DeviceName=\\\\.\\DISPLAY7\r\n"
      "devicestring=Studio Display\r\n"
      "DEVICEID=MONITOR\\ABC1234\\0001\r\n"
      "dpi=200\r\n");
  ASSERT_EQ(handles.size(), 1u);
  TMonitorInfo info;
  ASSERT_TRUE(sim_.QueryMonitorInfo(handles[0], info));
  EXPECT_EQ(info.Monitor, (TRect{-1280, 0, 0, 1024}));
  EXPECT_EQ(info.DeviceName, "\\\\.\\DISPLAY7");
  EXPECT_EQ(sim_.MonitorDpi(handles[0]), 144);
  TDisplayDevice device;
  ASSERT_TRUE(sim_.QueryDisplayDevice("\\\\.\\DISPLAY7", device));
  EXPECT_EQ(device.DeviceString, "Studio Display");
  EXPECT_EQ(device.DeviceID, "MONITOR\\ABC1234\\0001");
}

TEST_F(SimDisplays, MalformedNumbersKeepTheDefaults) {
  const auto handles = Enumerate("[Monitor1]\nRect=1,2,3\nDpi=many\n");
  TMonitorInfo info;
  ASSERT_TRUE(sim_.QueryMonitorInfo(handles[0], info));
  EXPECT_EQ(info.Monitor, (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(sim_.MonitorDpi(handles[0]), 96);
}

TEST_F(SimDisplays, AnAbsentRampFileIsTheIdentityRamp) {
  const auto handles = Enumerate("[Monitor1]\n");
  TDisplayHandle display = sim_.CreateDisplayHandle(handles[0], "\\\\.\\DISPLAY1");
  TGammaRamp ramp{};
  ASSERT_TRUE(sim_.GetRamp(display, ramp));
  EXPECT_EQ(ramp[0], 0);
  EXPECT_EQ(ramp[1], 257);
  EXPECT_EQ(ramp[256 + 255], 65535);
  EXPECT_EQ(Log(), "get 1 ok\n");
}

TEST_F(SimDisplays, AnAcceptedLoadRewritesTheRampFileAndIsLogged) {
  const auto handles = Enumerate("[Monitor1]\n");
  TDisplayHandle display = sim_.CreateDisplayHandle(handles[0], "");
  const TGammaRamp ramp = Ramp(10, 3);
  ASSERT_TRUE(sim_.SetRamp(display, ramp));
  TGammaRamp read{};
  ASSERT_TRUE(sim_.GetRamp(display, read));
  EXPECT_EQ(read, ramp);

  std::istringstream file(ReadBytes(folder_.File("ramp1.txt")));
  std::vector<long> values;
  for (long value; file >> value;) values.push_back(value);
  ASSERT_EQ(values.size(), 768u);
  EXPECT_EQ(values[0], 10);
  EXPECT_EQ(values[767], 10 + 767 * 3);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("ramp1.txt.tmp")));

  const std::string log = Log();
  EXPECT_EQ(log.substr(0, 24), "set 1 ok 10 13 16 19 22 ");
  EXPECT_EQ(log.substr(log.size() - 20), " 2308 2311\nget 1 ok\n");
}

TEST_F(SimDisplays, InjectedFailuresAreLoggedAndChangeNothing) {
  const auto handles = Enumerate("[Monitor1]\nFail=info, DC\n[Monitor2]\nFail=get,set\n");
  TMonitorInfo info;
  EXPECT_FALSE(sim_.QueryMonitorInfo(handles[0], info));
  EXPECT_EQ(sim_.LastErrorMessage(), "Invalid monitor handle.");
  EXPECT_EQ(sim_.CreateDisplayHandle(handles[0], ""), nullptr);

  TDisplayHandle display = sim_.CreateDisplayHandle(handles[1], "\\\\.\\DISPLAY2");
  ASSERT_NE(display, nullptr);
  TGammaRamp ramp = Ramp(7, 0);
  EXPECT_FALSE(sim_.GetRamp(display, ramp));
  EXPECT_EQ(ramp, Ramp(7, 0));
  EXPECT_FALSE(sim_.SetRamp(display, Ramp(1, 0)));
  EXPECT_EQ(Log(), "get 2 fail\nset 2 refused " + std::string("1") + [] {
    std::string rest;
    for (int i = 1; i < 768; ++i) rest += " 1";
    return rest;
  }() + "\n");
}

TEST_F(SimDisplays, AnIgnoredLoadIsLoggedAsAcceptedAndTheRampStaysAsItWas) {
  const auto handles = Enumerate("[Monitor1]\nFail=ignore\n");
  std::string fives;
  for (int i = 0; i < 768; ++i) fives += "5 ";
  WriteBytes(folder_.File("ramp1.txt"), fives);
  TDisplayHandle display = sim_.CreateDisplayHandle(handles[0], "");
  EXPECT_TRUE(sim_.SetRamp(display, Ramp(1, 0)));
  TGammaRamp read{};
  ASSERT_TRUE(sim_.GetRamp(display, read));
  EXPECT_EQ(read, Ramp(5, 0));
  EXPECT_EQ(Log().substr(0, 13), "set 1 ok 1 1 ");
}

// As a card whose table holds 8 or 10 bits gives the ramp back; the log says
// what was loaded.
TEST_F(SimDisplays, ACardOfFewerBitsKeepsTheRampRoundedToThem) {
  const auto handles = Enumerate("[Monitor1]\nBits=8\n[Monitor2]\nbits=10\n[Monitor3]\nBits=0\n");
  const TGammaRamp loaded = Ramp(256, 64);  // 256, 320, 384, 448, ... 49344
  for (TMonitorHandle handle : handles) ASSERT_TRUE(sim_.SetRamp(sim_.CreateDisplayHandle(handle, ""), loaded));
  auto held = [&](int monitor) {
    TGammaRamp read{};
    EXPECT_TRUE(sim_.GetRamp(sim_.CreateDisplayHandle(handles[monitor], ""), read));
    return std::vector<int>{read[0], read[1], read[2], read[3], read[6], read[767]};
  };
  EXPECT_EQ(held(0), (std::vector<int>{257, 257, 257, 257, 514, 49344}));  // top 8 bits × 257
  EXPECT_EQ(held(1), (std::vector<int>{256, 320, 384, 448, 641, 49391}));  // top 10 bits × 64.06
  EXPECT_EQ(held(2), (std::vector<int>{256, 320, 384, 448, 640, 49344}));  // Bits=0 keeps 16
  EXPECT_EQ(Log().substr(0, 21), "set 1 ok 256 320 384 ");
}

TEST_F(SimDisplays, ADisplayWithoutLiveRampsRefusesLoadsAndSaysWhy) {
  const auto handles = Enumerate("[Monitor1]\nFail=live\n[Monitor2]\nFail=set\n");
  TDisplayHandle live = sim_.CreateDisplayHandle(handles[0], "");
  TDisplayHandle refusing = sim_.CreateDisplayHandle(handles[1], "");
  EXPECT_FALSE(sim_.SetRamp(live, Ramp(1, 0)));
  EXPECT_EQ(sim_.RampRefusal(live), "this display takes no live gamma ramp");
  EXPECT_EQ(sim_.RampRefusal(refusing), "");
  TGammaRamp read{};
  EXPECT_TRUE(sim_.GetRamp(live, read));
  EXPECT_EQ(read[255], 65535);  // the identity ramp, read as any other
  EXPECT_EQ(Log().substr(0, 23), "set 1 refused 1 1 1 1 1");
  EXPECT_FALSE(std::filesystem::exists(folder_.File("ramp1.txt")));
}

TEST_F(SimDisplays, AMalformedRampFileCannotBeRead) {
  const auto handles = Enumerate("[Monitor1]\n[Monitor2]\n[Monitor3]\n");
  WriteBytes(folder_.File("ramp1.txt"), "1 2 3");
  std::string tooHigh;
  for (int i = 0; i < 768; ++i) tooHigh += i == 5 ? "65536 " : "0 ";
  WriteBytes(folder_.File("ramp2.txt"), tooHigh);
  WriteBytes(folder_.File("ramp3.txt"), tooHigh.replace(tooHigh.find("65536"), 5, "65535") + "9");
  TGammaRamp ramp{};
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(sim_.GetRamp(sim_.CreateDisplayHandle(handles[i], ""), ramp)) << "monitor " << i + 1;
  EXPECT_EQ(Log(), "get 1 fail\nget 2 fail\nget 3 fail\n");
}

TEST_F(SimDisplays, WaitsAreLoggedAndNotSlept) {
  const auto start = std::chrono::steady_clock::now();
  sim_.Wait(10000);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(Log(), "wait 10000\n");
}

TEST_F(SimDisplays, InRealTimeWaitsAreSlept) {
  TSimDisplays realtime(folder_.Path(), true);
  const auto start = std::chrono::steady_clock::now();
  realtime.Wait(50);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(Log(), "wait 50\n");
}

// The messages port of every run on simulated displays.
TEST_F(SimDisplays, MessageBoxesAreWrittenAsCaptionAndText) {
  TStreamMessages(messages_).ShowMessage("Error", "Invalid numeric input");
  EXPECT_EQ(messages_.str(), "Error: Invalid numeric input\n");
}

TEST_F(SimDisplays, TheEdidOfAModelComesFromTheFirstReadableInstance) {
  WriteBytes(folder_.File("b.edid"), std::string(256, 'b'));
  Enumerate("[Monitor1]\nDeviceID=MONITOR\\ABC1234\\1\nEdid=missing.edid\n"
            "[Monitor2]\nDeviceID=MONITOR\\XYZ0001\\1\nEdid=b.edid\n"
            "[Monitor3]\nDeviceID=MONITOR\\ABC1234\\2\nEdid=b.edid\n");
  const auto edid = sim_.ReadEdidOfModel("ABC1234");
  ASSERT_TRUE(edid.has_value());
  EXPECT_EQ(edid->size(), 256u);
  EXPECT_FALSE(sim_.ReadEdidOfModel("DEL40B5").has_value());
}

}  // namespace
